#pragma once

#include <QtGlobal>
#include <functional>
#include <string>
#include <string_view>

#include "domains/TDataFolder.h"
#include "update/TListImport.h"
#include "update/TWebAddresses.h"
#include "util/TSettingsStore.h"

namespace norvale {

class TDownloader;

// What each download may bring at most.
constexpr qint64 kMaxListAddressBytes = qint64(4) << 10;
constexpr qint64 kMaxResourcesBytes = qint64(256) << 10;
constexpr qint64 kMaxListZipBytes = qint64(512) << 20;
// The downloaded archive's name in the data folder while its member is read.
constexpr const char* kDownloadedArchiveName = "_domains.zip";

// What the update run tells and asks of whoever shows it (the update dialog or
// norvale-cli). Every hook may be empty.
struct TUpdateHooks {
    std::function<void(const std::string&)> status;  // "Checking for connection...", "Loading..."
    std::function<void(bool)> quiet;                 // the two small texts are being fetched
    std::function<void()> resourcesChanged;          // a new resource list was stored
    std::function<void()> processEvents;             // let waiting events run
    TImportMatcher matcher;
    TImportProgress progress;
    const bool* cancel = nullptr;  // the Cancel flag, read at each check and per line
};

// Blanks and control characters off both ends.
std::string_view TrimBlanks(std::string_view text);

// The download and import of one update: the list address, the resources text (stored
// when not blank), the zipped list into memory, saved to the data folder, its member
// read and the archive deleted, then the import. Returns the new lists, built aside;
// the caller replaces its lists with them (result.cancelled: it must not). Errors are
// raised with their message; the stored lists are never touched here.
TImportResult RunUpdate(TDownloader& http, const TDataFolder& folder, TSettingsStore& store,
                        const TWebAddresses& addresses, const TUpdateHooks& hooks);

// The list address that the list-address text gives: the default list address when the
// text is blank, else the text trimmed; refused unless it is an http(s) address.
std::string ListAddressFrom(std::string_view listAddressText, const TWebAddresses& addresses);

}  // namespace norvale
