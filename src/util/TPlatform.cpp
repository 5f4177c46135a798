#include "util/TPlatform.h"

#include <unistd.h>

#include <cstdlib>

#include "norvale_version.h"

namespace norvale {

namespace {
std::string EnvOr(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string StripTrailingSlash(std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

// XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
std::string XdgFolder(const char* variable, const char* fallback) {
    std::string v = EnvOr(variable);
    if (!v.empty() && v.front() == '/') return StripTrailingSlash(v);
    const std::string home = EnvOr("HOME");
    if (home.empty()) return {};
    return StripTrailingSlash(home) + fallback;
}
}  // namespace

bool UseAppDataFolderFor(TPlatformId platform, int majorVersion) {
    return platform == TPlatformId::WindowsNT && majorVersion == 6;
}

std::string UserAppDataFolder() { return XdgFolder("XDG_DATA_HOME", "/.local/share"); }

std::string PlatformDataFolder() {
    const std::string base = UserAppDataFolder();
    if (base.empty()) return ExecutableFolder();
    return base + "/Norvale/";
}

std::string SettingsFilePath() {
    const std::string base = XdgFolder("XDG_CONFIG_HOME", "/.config");
    return (base.empty() ? std::string(".") : base) + "/Norvale/registry.reg";
}

std::string ExecutableFolder() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "./";
    std::string path(buffer, static_cast<std::size_t>(n));
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string ProgramVersion() { return NORVALE_VERSION_TEXT; }

}  // namespace norvale
