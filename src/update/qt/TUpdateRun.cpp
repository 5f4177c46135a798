#include "update/qt/TUpdateRun.h"

#include "update/TListArchive.h"
#include "update/TResources.h"
#include "update/qt/TDownloader.h"
#include "util/TFileIO.h"

namespace norvale {

std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string ListAddressFrom(std::string_view listAddressText, const TWebAddresses& addresses) {
    const std::string_view trimmed = TrimBlanks(listAddressText);
    if (trimmed.empty())
        return addresses.DefaultListUrl();
    // Untrimmed, a line break would go into the request and the download fail.
    const std::string address(trimmed);
    if (!IsWebAddress(address))
        throw EDownloadError("The list address \"" + address + "\" given by \"" +
                             addresses.ListAddressTextUrl() +
                             "\" is not an http:// or https:// address.");
    return address;
}

TImportResult RunUpdate(TDownloader& http, const TDataFolder& folder, TSettingsStore& store,
                        const TWebAddresses& addresses, const TUpdateHooks& hooks) {
    const auto status = [&](const std::string& text) {
        if (hooks.status)
            hooks.status(text);
    };
    const auto quiet = [&](bool on) {
        if (hooks.quiet)
            hooks.quiet(on);
    };
    const auto cancelled = [&] { return hooks.cancel && *hooks.cancel; };
    const auto processEvents = [&] {
        if (hooks.processEvents)
            hooks.processEvents();
    };
    TImportResult stopped;
    stopped.cancelled = true;

    status("Checking for connection...");
    quiet(true);
    struct TQuietEnd {
        const decltype(quiet)& set;
        ~TQuietEnd() { set(false); }
    } quietEnd{quiet};

    const TDownloader::TResult addressText =
        http.Get(addresses.ListAddressTextUrl(), kMaxListAddressBytes, "list address text");
    if (addressText.cancelled || cancelled())
        return stopped;
    const std::string listAddress = ListAddressFrom(addressText.body.toStdString(), addresses);

    const TDownloader::TResult resources =
        http.Get(addresses.ResourcesTextUrl(), kMaxResourcesBytes, "resources text");
    if (resources.cancelled || cancelled())
        return stopped;
    const std::string resourcesText = resources.body.toStdString();
    if (!TrimBlanks(resourcesText).empty()) {
        StoreResources(store, resourcesText);
        if (hooks.resourcesChanged)
            hooks.resourcesChanged();
    }

    quiet(false);
    if (cancelled()) {
        processEvents();
        return stopped;
    }

    TDownloader::TResult zip = http.Get(listAddress, kMaxListZipBytes, "list archive");
    if (zip.cancelled || cancelled())
        return stopped;

    status("Loading...");
    const std::string archivePath = folder.FilePath(kDownloadedArchiveName);
    WriteFileAtomically(archivePath, std::string_view(zip.body.constData(),
                                                      static_cast<std::size_t>(zip.body.size())));
    zip.body = QByteArray();  // the import needs the memory more
    if (cancelled())
        return stopped;

    TListText text = ReadListMember(archivePath);
    DeleteFileOrThrow(archivePath);

    TImportResult result = ImportListText(text.View(), hooks.matcher, hooks.progress, hooks.cancel);
    processEvents();
    return result;
}

}  // namespace norvale
