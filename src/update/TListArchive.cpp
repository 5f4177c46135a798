#include "update/TListArchive.h"

#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "util/TFileIO.h"

namespace norvale {

namespace {
struct TZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct TZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

std::string SizeText(std::uint64_t bytes) {
    if (bytes % (std::uint64_t(1) << 30) == 0) return std::to_string(bytes >> 30) + " GiB";
    if (bytes % (std::uint64_t(1) << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

std::string TooLarge(const std::string& path, std::uint64_t maxBytes) {
    return std::string(kListMemberName) + " in \"" + path + "\" is larger than " + SizeText(maxBytes) +
           "; the list was not imported.";
}
}  // namespace

std::string ReadListMember(const std::string& archivePath, std::uint64_t maxBytes) {
    int openError = 0;
    std::unique_ptr<zip_t, TZipCloser> archive(zip_open(archivePath.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &openError));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, openError);
        const std::string reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw EListArchiveError("\"" + archivePath + "\" is not a readable zip archive: " + reason + ".");
    }
    const zip_int64_t index = zip_name_locate(archive.get(), kListMemberName, 0);
    if (index < 0)
        throw EListArchiveError("The archive \"" + archivePath + "\" holds no " + kListMemberName + ".");

    zip_stat_t st;
    zip_stat_init(&st);
    std::uint64_t declared = 0;
    if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE)) {
        declared = st.size;
        if (declared > maxBytes) throw EListArchiveError(TooLarge(archivePath, maxBytes));
    }
    std::unique_ptr<zip_file_t, TZipFileCloser> member(
        zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0));
    if (!member)
        throw EListArchiveError("\"" + archivePath + "\" is damaged: " + zip_strerror(archive.get()) + ".");

    // The declared size is only a hint for the first allocation; the cap holds whatever
    // the archive says.
    std::string text;
    text.reserve(static_cast<std::size_t>(declared));
    constexpr std::size_t kChunk = std::size_t(1) << 20;
    std::size_t got = 0;
    while (true) {
        if (text.size() < got + kChunk) text.resize(got + kChunk);
        const zip_int64_t n = zip_fread(member.get(), text.data() + got, kChunk);
        if (n < 0)
            throw EListArchiveError("\"" + archivePath + "\" is damaged: " + zip_file_strerror(member.get()) + ".");
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
        if (got > maxBytes) throw EListArchiveError(TooLarge(archivePath, maxBytes));
    }
    text.resize(got);
    return text;
}

bool LooksLikeZip(const std::string& bytes) {
    return bytes.size() >= 4 && bytes[0] == 'P' && bytes[1] == 'K' &&
           ((bytes[2] == '\x03' && bytes[3] == '\x04') || (bytes[2] == '\x05' && bytes[3] == '\x06'));
}

std::string ReadListFile(const std::string& path, std::uint64_t maxBytes) {
    std::string head;
    {
        // Only the signature decides; the archive itself is read by libzip.
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) throw EFileError(CannotOpenFileMessage(path, errno));
        char buffer[4];
        head.assign(buffer, std::fread(buffer, 1, sizeof buffer, f));
        std::fclose(f);
    }
    if (LooksLikeZip(head)) return ReadListMember(path, maxBytes);
    return ReadWholeFile(path, static_cast<std::size_t>(maxBytes));
}

}  // namespace norvale
