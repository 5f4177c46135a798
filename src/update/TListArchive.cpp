#include "update/TListArchive.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <memory>
#include <new>

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
    if (bytes % (std::uint64_t(1) << 30) == 0)
        return std::to_string(bytes >> 30) + " GiB";
    if (bytes % (std::uint64_t(1) << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

std::string TooLarge(const std::string& path, std::uint64_t maxBytes) {
    return std::string(kListMemberName) + " in \"" + path + "\" is larger than " +
           SizeText(maxBytes) + "; the list was not imported.";
}
}  // namespace

TListText::~TListText() {
    if (data_)
        ::munmap(data_, capacity_);
}

TListText::TListText(TListText&& other) noexcept
    : data_(other.data_), size_(other.size_), capacity_(other.capacity_) {
    other.data_ = nullptr;
    other.size_ = other.capacity_ = 0;
}

TListText& TListText::operator=(TListText&& other) noexcept {
    if (this != &other) {
        if (data_)
            ::munmap(data_, capacity_);
        data_ = other.data_;
        size_ = other.size_;
        capacity_ = other.capacity_;
        other.data_ = nullptr;
        other.size_ = other.capacity_ = 0;
    }
    return *this;
}

char* TListText::Grow(std::size_t capacity) {
    if (capacity <= capacity_)
        return data_;
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    const std::size_t rounded = (capacity + kHugePage - 1) / kHugePage * kHugePage;
    void* p = data_ ? ::mremap(data_, capacity_, rounded, MREMAP_MAYMOVE)
                    : ::mmap(nullptr, rounded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                             -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    ::madvise(p, rounded, MADV_HUGEPAGE);  // fewer page faults; a hint only
    data_ = static_cast<char*>(p);
    capacity_ = rounded;
    return data_;
}

TListText ReadListMember(const std::string& archivePath, std::uint64_t maxBytes) {
    int openError = 0;
    std::unique_ptr<zip_t, TZipCloser> archive(
        zip_open(archivePath.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &openError));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, openError);
        const std::string reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw EListArchiveError("\"" + archivePath + "\" is not a readable zip archive: " + reason +
                                ".");
    }
    const zip_int64_t index = zip_name_locate(archive.get(), kListMemberName, 0);
    if (index < 0)
        throw EListArchiveError("The archive \"" + archivePath + "\" holds no " + kListMemberName +
                                ".");

    zip_stat_t st;
    zip_stat_init(&st);
    std::uint64_t declared = 0;
    if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), 0, &st) == 0 &&
        (st.valid & ZIP_STAT_SIZE)) {
        declared = st.size;
        if (declared > maxBytes)
            throw EListArchiveError(TooLarge(archivePath, maxBytes));
    }
    std::unique_ptr<zip_file_t, TZipFileCloser> member(
        zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0));
    if (!member)
        throw EListArchiveError("\"" + archivePath +
                                "\" is damaged: " + zip_strerror(archive.get()) + ".");

    // The declared size is only a hint for the first allocation; the cap holds whatever
    // the archive says.
    TListText text;
    text.Grow(static_cast<std::size_t>(declared) + 1);
    std::size_t got = 0;
    while (true) {
        if (text.Capacity() - got < 65536)
            text.Grow(text.Capacity() * 2);
        char* data = text.Grow(0);
        const zip_int64_t n = zip_fread(member.get(), data + got, text.Capacity() - got);
        if (n < 0)
            throw EListArchiveError("\"" + archivePath +
                                    "\" is damaged: " + zip_file_strerror(member.get()) + ".");
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
        if (got > maxBytes)
            throw EListArchiveError(TooLarge(archivePath, maxBytes));
    }
    text.SetSize(got);
    return text;
}

bool LooksLikeZip(const std::string& bytes) {
    return bytes.size() >= 4 && bytes[0] == 'P' && bytes[1] == 'K' &&
           ((bytes[2] == '\x03' && bytes[3] == '\x04') ||
            (bytes[2] == '\x05' && bytes[3] == '\x06'));
}

TListText ReadListFile(const std::string& path, std::uint64_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFileError(CannotOpenFileMessage(path, errno));
    struct TCloser {
        int fd;
        ~TCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw EFileError(CannotOpenFileMessage(path, errno));
    if (S_ISDIR(st.st_mode))
        throw EFileError(CannotOpenFileMessage(path, EISDIR));
    char head[4];
    const ssize_t headSize = ::pread(fd, head, sizeof head, 0);
    // Only the signature decides; the archive itself is read by libzip.
    if (headSize > 0 && LooksLikeZip(std::string(head, static_cast<std::size_t>(headSize))))
        return ReadListMember(path, maxBytes);
    const auto tooLarge = [&] {
        return EFileError("The file \"" + path + "\" is larger than " + SizeText(maxBytes) +
                          "; the list was not imported.");
    };
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        throw tooLarge();
    TListText text;
    text.Grow(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t got = 0;
    while (true) {
        if (text.Capacity() - got < 65536)
            text.Grow(text.Capacity() * 2);
        const ssize_t n = ::read(fd, text.Grow(0) + got, text.Capacity() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EFileError(CannotOpenFileMessage(path, errno));
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
        if (got > maxBytes)
            throw tooLarge();
    }
    text.SetSize(got);
    return text;
}

}  // namespace norvale
