#include "sets/TSetFiles.h"

#include <dirent.h>
#include <sys/stat.h>
#include <algorithm>
#include <cstring>

#include "sets/TSetNames.h"
#include "util/ENorvaleError.h"
#include "util/TFileIO.h"

namespace norvale {

namespace {
char Folded(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsAcceptableName(const std::string& name) {
    try {
        ValidateSetName(name);
        return true;
    } catch (const ENorvaleError&) {
        return false;
    }
}
}  // namespace

bool SetNameLess(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(Folded(a[i]));
        const auto y = static_cast<unsigned char>(Folded(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;  // "A" and "a" are two sets; keep their order fixed
}

std::vector<std::string> ListSetNames(const TDataFolder& folder) {
    std::vector<std::string> names;
    const std::string dir = folder.SetsFolder();
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return names;
    const std::size_t extLength = std::strlen(kSetFileExtension);
    while (const dirent* entry = ::readdir(d)) {
        const std::string file = entry->d_name;
        if (file.size() <= extLength ||
            file.compare(file.size() - extLength, extLength, kSetFileExtension) != 0)
            continue;
        // Files only; a link to a file counts, as the file it names.
        struct stat st {};
        if (::stat((dir + file).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        std::string name = file.substr(0, file.size() - extLength);
        if (IsAcceptableName(name))
            names.push_back(std::move(name));
    }
    ::closedir(d);
    std::sort(names.begin(), names.end(), SetNameLess);
    return names;
}

bool SetExists(const TDataFolder& folder, const std::string& name) {
    return FileExists(SetFilePath(folder, name));
}

}  // namespace norvale
