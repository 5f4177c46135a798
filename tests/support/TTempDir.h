#pragma once

#include <string>
#include <string_view>

namespace norvale::test {

// A fresh folder under the system's temporary folder, removed with everything in it
// when the object goes.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    // With a trailing separator.
    const std::string& Path() const { return path_; }
    std::string File(std::string_view name) const { return path_ + std::string(name); }

    void Write(std::string_view name, std::string_view bytes) const;
    std::string Read(std::string_view name) const;
    bool Exists(std::string_view name) const;

private:
    std::string path_;
};

// Points HOME, XDG_DATA_HOME and XDG_CONFIG_HOME into a temporary folder for the life
// of the object, so that nothing touches the user's real data or settings.
class TIsolatedHome {
public:
    TIsolatedHome();
    ~TIsolatedHome();
    const TTempDir& Dir() const { return dir_; }
    std::string DataFolder() const { return dir_.Path() + "data/Norvale/"; }
    std::string SettingsFile() const { return dir_.Path() + "config/Norvale/registry.reg"; }

private:
    TTempDir dir_;
    std::string saved_[3];
    bool had_[3] = {false, false, false};
};

}  // namespace norvale::test
