#pragma once

#include <string>

namespace norvale {

// The platform families a system version query can report.
enum class TPlatformId { Win32s, Windows9x, WindowsNT, Other };

// Whether the data folder is the per-user application-data folder: the NT platform
// with major version 6, whatever the minor version. Everything else keeps its data
// next to the executable.
bool UseAppDataFolderFor(TPlatformId platform, int majorVersion);

// Where the data folder is on this system. On Windows it follows UseAppDataFolderFor;
// elsewhere the executable's folder is not writable, so it is always the per-user
// data folder $XDG_DATA_HOME/Norvale/ (default ~/.local/share/Norvale/).
// Always ends with a separator.
std::string PlatformDataFolder();

// $XDG_DATA_HOME (or ~/.local/share) with no trailing separator; empty when neither
// XDG_DATA_HOME nor HOME is set.
std::string UserAppDataFolder();

// The settings file standing in for the registry key Software\Norvale:
// $XDG_CONFIG_HOME/Norvale/registry.reg (default ~/.config/Norvale/registry.reg).
std::string SettingsFilePath();

// The folder of the running executable, with a trailing separator.
std::string ExecutableFolder();

// The program's file version as "major.minor.release.build" ("1.0.1.17"), or an empty
// text when it cannot be read.
std::string ProgramVersion();

}  // namespace norvale
