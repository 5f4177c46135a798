#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace norvale {

// "Cannot create file "%s". %s" / "Cannot open file "%s". %s", with the system's
// reason for errno.
std::string CannotCreateFileMessage(const std::string& path, int errorNumber);
std::string CannotOpenFileMessage(const std::string& path, int errorNumber);
std::string SystemErrorText(int errorNumber);

// Writes a file so that readers see either the old or the new content, never a mix:
// the data goes to a temporary file in the same folder, is flushed and synced, then
// renamed over the target. Until Commit() nothing visible changes; a writer that is
// destroyed without Commit() removes its temporary file.
class TAtomicFileWriter {
public:
    explicit TAtomicFileWriter(std::string path, unsigned mode = 0644);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    void Write(std::string_view bytes);
    void Commit();
    const std::string& Path() const { return path_; }

private:
    void FlushBuffer();
    void WriteAll(const char* data, std::size_t size);
    [[noreturn]] void Fail(int errorNumber);

    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    std::string buffer_;
    bool committed_ = false;
};

// One-shot form of TAtomicFileWriter.
void WriteFileAtomically(const std::string& path, std::string_view bytes, unsigned mode = 0644);

// Reads a whole file; refuses files larger than maxBytes with an error naming the file.
std::string ReadWholeFile(const std::string& path, std::size_t maxBytes = std::size_t(1) << 31);

bool FileExists(const std::string& path);       // a regular file (a folder does not count)
bool DirectoryExists(const std::string& path);
// Removes a file; a missing file is not an error. Raises EFileError with the reason.
void DeleteFileOrThrow(const std::string& path);

// Moves a damaged file out of the way so that the next save cannot destroy what it
// still holds. Returns the new name, or an empty text when the rename failed.
std::string KeepAside(const std::string& path);

}  // namespace norvale
