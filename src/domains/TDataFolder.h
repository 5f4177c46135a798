#pragma once

#include <string>

namespace norvale {

// The folder that holds every file of the program: the three list files, the rules
// file, the sets folder and the downloaded archive.
class TDataFolder {
public:
    // folder: with or without a trailing separator.
    explicit TDataFolder(std::string folder);

    // With a trailing separator.
    const std::string& DataFolder() const { return folder_; }
    std::string FilePath(const std::string& fileName) const { return folder_ + fileName; }
    std::string SetsFolder() const { return folder_ + "sets/"; }

    // Creates the data folder with its missing parents. Failure is not reported here;
    // it shows up as the first failing write in the folder.
    void EnsureDataFolder() const;
    // Creates the sets folder (one level); raises EFileError when it cannot.
    void EnsureSetsFolder() const;

private:
    std::string folder_;
};

// One running copy per data folder: an exclusive lock on a file in it, held for the
// life of this object.
class TDataFolderLock {
public:
    // Throws ENorvaleError("Norvale is already running.") when another process holds it.
    explicit TDataFolderLock(const TDataFolder& folder);
    ~TDataFolderLock();
    TDataFolderLock(const TDataFolderLock&) = delete;
    TDataFolderLock& operator=(const TDataFolderLock&) = delete;

    static constexpr const char* kAlreadyRunning = "Norvale is already running.";

private:
    int fd_ = -1;
};

}  // namespace norvale
