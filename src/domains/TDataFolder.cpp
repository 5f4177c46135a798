#include "domains/TDataFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "util/ENorvaleError.h"
#include "util/TFileIO.h"

namespace norvale {

TDataFolder::TDataFolder(std::string folder) : folder_(std::move(folder)) {
    if (folder_.empty()) folder_ = "./";
    if (folder_.back() != '/') folder_.push_back('/');
}

void TDataFolder::EnsureDataFolder() const {
    for (std::size_t p = 1; p < folder_.size(); ++p) {
        if (folder_[p] == '/') ::mkdir(folder_.substr(0, p).c_str(), 0755);
    }
}

void TDataFolder::EnsureSetsFolder() const {
    const std::string sets = SetsFolder();
    const std::string path = sets.substr(0, sets.size() - 1);
    if (DirectoryExists(path)) return;
    if (::mkdir(path.c_str(), 0755) != 0 && !DirectoryExists(path)) {
        throw EFileError("Unable to create directory \"" + path + "\". " + SystemErrorText(errno));
    }
}

TDataFolderLock::TDataFolderLock(const TDataFolder& folder) {
    const std::string path = folder.FilePath("norvale.lock");
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) throw EFileError(CannotCreateFileMessage(path, errno));
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        ::close(fd_);
        fd_ = -1;
        if (e == EWOULDBLOCK) throw ENorvaleError(kAlreadyRunning);
        throw EFileError("Cannot lock file \"" + path + "\". " + SystemErrorText(e));
    }
}

TDataFolderLock::~TDataFolderLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace norvale
