#include "util/TFileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>

#include "util/ENorvaleError.h"

namespace norvale {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;

std::string RandomSuffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string s(8, 'x');
    for (char& c : s) c = digits[generator() % 36];
    return s;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}
}  // namespace

std::string SystemErrorText(int errorNumber) { return std::strerror(errorNumber); }

std::string CannotCreateFileMessage(const std::string& path, int errorNumber) {
    return "Cannot create file \"" + path + "\". " + SystemErrorText(errorNumber);
}

std::string CannotOpenFileMessage(const std::string& path, int errorNumber) {
    return "Cannot open file \"" + path + "\". " + SystemErrorText(errorNumber);
}

TAtomicFileWriter::TAtomicFileWriter(std::string path, unsigned mode) : path_(std::move(path)) {
    const auto slash = path_.find_last_of('/');
    const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? std::string() : path_.substr(0, slash + 1);
    tempPath_ = folder + "." + name + ".tmp-" + RandomSuffix();
    fd_ = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd_ < 0) {
        // The name may belong to another writer's temporary file: never remove it.
        const int e = errno;
        tempPath_.clear();
        Fail(e);
    }
    ::fchmod(fd_, mode);  // the umask must not loosen or tighten what the caller asked for
    buffer_.reserve(kBufferSize);
}

TAtomicFileWriter::~TAtomicFileWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !tempPath_.empty()) ::unlink(tempPath_.c_str());
}

void TAtomicFileWriter::Fail(int errorNumber) {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
    tempPath_.clear();
    throw EFileError(CannotCreateFileMessage(path_, errorNumber));
}

void TAtomicFileWriter::FlushBuffer() {
    WriteAll(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void TAtomicFileWriter::WriteAll(const char* p, std::size_t left) {
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

void TAtomicFileWriter::Write(std::string_view bytes) {
    if (fd_ < 0) throw EFileError(CannotCreateFileMessage(path_, EBADF));
    if (buffer_.size() + bytes.size() > kBufferSize) {
        FlushBuffer();
        if (bytes.size() >= kBufferSize) {
            WriteAll(bytes.data(), bytes.size());  // large pieces go straight out, uncopied
            return;
        }
    }
    buffer_.append(bytes);
}

void TAtomicFileWriter::Commit() {
    if (fd_ < 0) throw EFileError(CannotCreateFileMessage(path_, EBADF));
    FlushBuffer();
    if (::fsync(fd_) != 0) Fail(errno);
    if (::close(fd_) != 0) {
        fd_ = -1;
        Fail(errno);
    }
    fd_ = -1;
    if (::rename(tempPath_.c_str(), path_.c_str()) != 0) Fail(errno);
    committed_ = true;
    // Make the rename itself durable.
    const int dir = ::open(FolderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, unsigned mode) {
    TAtomicFileWriter writer(path, mode);
    writer.Write(bytes);
    writer.Commit();
}

std::string ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw EFileError(CannotOpenFileMessage(path, errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int e = errno;
        ::close(fd);
        throw EFileError(CannotOpenFileMessage(path, e));
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw EFileError(CannotOpenFileMessage(path, EISDIR));
    }
    if (static_cast<std::size_t>(st.st_size) > maxBytes) {
        ::close(fd);
        throw EFileError("The file \"" + path + "\" is too large to read (" +
                         std::to_string(st.st_size) + " bytes).");
    }
    std::string data;
    data.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    // The size fstat gave first, into the string; anything the file grew by since
    // comes through a small buffer, so that the common case never reallocates.
    char extra[4096];
    while (true) {
        const bool inPlace = got < data.size();
        const std::size_t room = inPlace ? data.size() - got : std::min(sizeof extra, maxBytes - got);
        if (room == 0) break;
        const ssize_t n = ::read(fd, inPlace ? data.data() + got : extra, room);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd);
            throw EFileError(CannotOpenFileMessage(path, e));
        }
        if (n == 0) break;
        if (!inPlace) data.append(extra, static_cast<std::size_t>(n));
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    data.resize(got);
    return data;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void DeleteFileOrThrow(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        throw EFileError("Cannot delete file \"" + path + "\". " + SystemErrorText(errno));
    }
}

std::string KeepAside(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string target = path + ".damaged-" + stamp;
    for (int i = 1; FileExists(target); ++i) target = path + ".damaged-" + stamp + "-" + std::to_string(i);
    if (::rename(path.c_str(), target.c_str()) != 0) return {};
    return target;
}

}  // namespace norvale
