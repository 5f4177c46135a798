#include "util/TPlatform.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TTempDir.h"
#include "util/TFileIO.h"

namespace norvale {
namespace {

TEST(TPlatformTest, DataFolderDecision) {
    struct TCase {
        TPlatformId platform;
        int major;
        const char* system;
        bool appData;
    };
    const TCase cases[] = {
        {TPlatformId::WindowsNT, 6, "Vista (6.0), 7 (6.1), 8.1 (6.3)", true},
        {TPlatformId::WindowsNT, 5, "2000 (5.0), XP (5.1)", false},
        {TPlatformId::WindowsNT, 10, "10 (10.0)", false},
        {TPlatformId::WindowsNT, 4, "NT 4.0", false},
        {TPlatformId::WindowsNT, 7, "a later major version", false},
        {TPlatformId::Windows9x, 4, "95, 98, Me", false},
        {TPlatformId::Windows9x, 6, "the 9x line never counts", false},
        {TPlatformId::Win32s, 6, "Win32s", false},
        {TPlatformId::Other, 6, "anything else", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UseAppDataFolderFor(c.platform, c.major), c.appData) << c.system;
}

TEST(TPlatformTest, FoldersFollowTheUsersEnvironment) {
    test::TIsolatedHome home;
    const std::string base = home.Dir().Path();
    EXPECT_EQ(PlatformDataFolder(), base + "data/Norvale/");
    EXPECT_EQ(PlatformDataFolder(), home.DataFolder());
    EXPECT_EQ(SettingsFilePath(), home.SettingsFile());

    // A relative XDG path is not a base folder; the HOME defaults apply then.
    ::setenv("XDG_DATA_HOME", "relative", 1);
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(PlatformDataFolder(), base + "home/.local/share/Norvale/");
    EXPECT_EQ(SettingsFilePath(), base + "home/.config/Norvale/registry.reg");
    ::setenv("XDG_DATA_HOME", (base + "trailing//").c_str(), 1);
    EXPECT_EQ(PlatformDataFolder(), base + "trailing/Norvale/");
}

TEST(TPlatformTest, ExecutableFolderAndVersion) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(FileExists(folder + "test_util"));
    EXPECT_EQ(ProgramVersion(), "1.0.1.17");
}

}  // namespace
}  // namespace norvale
