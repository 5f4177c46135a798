#include "update/TImportCommit.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "domains/TDomainListFile.h"
#include "util/TFileIO.h"
#include "util/TSplStr.h"

namespace norvale {

namespace {
void RemoveQuietly(const std::string& path) {
    ::unlink(path.c_str());
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Saves under a side name; an error still names the list file the user knows.
void SaveAside(const TDomainTable& table, const std::string& sidePath,
               const std::string& realPath) {
    try {
        TDomainListFile::Save(table, sidePath);
    } catch (const EFileError& e) {
        throw EFileError(TSplStr::ReplaceAll(e.what(), sidePath, realPath));
    }
}
}  // namespace

void CommitListFiles(const TDataFolder& folder, const TDomainTable& full,
                     const TDomainTable& match) {
    const std::string fullPath = folder.FilePath(TDomainLists::kFullListFile);
    const std::string matchPath = folder.FilePath(TDomainLists::kMatchListFile);
    const std::string fullNew =
        folder.FilePath(std::string(".") + TDomainLists::kFullListFile + ".import");
    const std::string matchNew =
        folder.FilePath(std::string(".") + TDomainLists::kMatchListFile + ".import");
    const std::string fullOld =
        folder.FilePath(std::string(".") + TDomainLists::kFullListFile + ".previous");

    // Phase one: both new files complete on disk; nothing visible has changed.
    try {
        SaveAside(full, fullNew, fullPath);
        SaveAside(match, matchNew, matchPath);
    } catch (...) {
        RemoveQuietly(fullNew);
        RemoveQuietly(matchNew);
        throw;
    }

    // Phase two: a second name keeps the old full list until the match list is in place.
    const auto fail = [&](const std::string& path, int error) {
        RemoveQuietly(fullNew);
        RemoveQuietly(matchNew);
        throw EFileError(CannotCreateFileMessage(path, error));
    };
    RemoveQuietly(fullOld);
    const bool hadFull = FileExists(fullPath);
    if (hadFull && ::link(fullPath.c_str(), fullOld.c_str()) != 0) {
        // A folder without hard links keeps the old list as a copy instead.
        try {
            WriteFileAtomically(fullOld, ReadWholeFile(fullPath));
        } catch (const EFileError&) {
            RemoveQuietly(fullOld);
            fail(fullPath, errno);
        }
    }
    if (::rename(fullNew.c_str(), fullPath.c_str()) != 0) {
        const int error = errno;
        RemoveQuietly(fullOld);
        fail(fullPath, error);
    }
    if (::rename(matchNew.c_str(), matchPath.c_str()) != 0) {
        const int error = errno;
        if (hadFull) {
            ::rename(fullOld.c_str(), fullPath.c_str());
        } else {
            RemoveQuietly(fullPath);
        }
        fail(matchPath, error);
    }
    RemoveQuietly(fullOld);
    SyncFolder(folder.DataFolder());
}

void ReplaceDomainLists(TDomainLists& lists, TImportResult&& result) {
    if (result.cancelled)
        return;
    CommitListFiles(lists.Folder(), result.full, result.match);
    lists.kbmMemTable1.ReplaceContent(std::move(result.full));
    lists.kbmMain.ReplaceContent(std::move(result.match));
    lists.kbmMemTable1.Compact();
    lists.kbmMain.Compact();
}

}  // namespace norvale
