#include "util/TSettingsStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/TTempDir.h"
#include "util/ENorvaleError.h"
#include "util/TRegistry.h"

namespace norvale {
namespace {

using test::TTempDir;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;
using namespace std::string_literals;

constexpr const char* kKey = "Software\\Norvale";

std::string DWordBytes(std::uint32_t v) {
    return std::string{static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
                       static_cast<char>((v >> 16) & 0xff), static_cast<char>(v >> 24)};
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    return names;
}

TEST(TSettingsStoreTest, EveryTypeAndByteSurvivesTheFile) {
    struct TCase {
        const char* name;
        TRegDataType type;
        std::string data;
    };
    const std::vector<TCase> cases = {
        {"zero", TRegDataType::DWord, DWordBytes(0)},
        {"one", TRegDataType::DWord, DWordBytes(1)},
        {"all bits", TRegDataType::DWord, DWordBytes(0xffffffffu)},
        {"empty", TRegDataType::String, ""},
        {"plain", TRegDataType::String, "Office 2003"},
        {"quotes", TRegDataType::String, "say \"hi\" C:\\dir\\"},
        {"high", TRegDataType::String, "caf\xe9 \x80\xff"},
        {"control", TRegDataType::String, "tab\there\r\nnext\x01\x1f"s},
        {"zero inside", TRegDataType::String, "a\0b"s},
        {"multi", TRegDataType::MultiString, "#Group\0Link|http://x/\0\xe9t\xe9\0\0"s},
        {"binary", TRegDataType::Binary, "\0\x01\xfe\xff"s},
        {"", TRegDataType::String, "the default value"},
    };
    TTempDir dir;
    {
        TSettingsStore store(dir.File("config/registry.reg"));
        for (const auto& c : cases) store.SetValue(kKey, c.name, c.type, c.data);
    }
    TSettingsStore reread(dir.File("config/registry.reg"));
    EXPECT_EQ(reread.LoadProblem(), "");
    for (const auto& c : cases) {
        TRegValue v;
        ASSERT_TRUE(reread.FindValue(kKey, c.name, v)) << c.name;
        EXPECT_EQ(v.type, c.type) << c.name;
        EXPECT_EQ(v.data, c.data) << c.name;
    }
}

TEST(TSettingsStoreTest, ValueNamesKeepTheirCreationOrder) {
    TTempDir dir;
    const std::string path = dir.File("registry.reg");
    {
        TSettingsStore store(path);
        for (const char* name : {"9", "Skin", "0", "res", "a"})
            store.SetValue(kKey, name, TRegDataType::String, "x");
        store.SetValue(kKey, "SKIN", TRegDataType::String, "changed");  // same value, any case
        ASSERT_TRUE(store.DeleteValue(kKey, "0"));
        store.SetValue(kKey, "0", TRegDataType::String, "back");  // deleted and created again: last
        EXPECT_THAT(store.ValueNames(kKey), ElementsAre("9", "Skin", "res", "a", "0"));
    }
    TSettingsStore reread(path);
    EXPECT_THAT(reread.ValueNames("software\\NORVALE"), ElementsAre("9", "Skin", "res", "a", "0"));
    TRegValue v;
    ASSERT_TRUE(reread.FindValue(kKey, "skin", v));
    EXPECT_EQ(v.data, "changed");
}

TEST(TSettingsStoreTest, SubKeysAreCreatedListedAndDeletedWithEverythingBelow) {
    TTempDir dir;
    TSettingsStore store(dir.File("registry.reg"));
    EXPECT_FALSE(store.KeyExists(kKey));
    store.CreateKey("Software\\Norvale\\Skins");
    store.SetValue("Software\\Norvale\\Res\\Deep", "v", TRegDataType::DWord, DWordBytes(7));
    EXPECT_TRUE(store.KeyExists(kKey));  // parents come with their children
    EXPECT_TRUE(store.KeyExists("SOFTWARE\\norvale\\skins"));
    EXPECT_THAT(store.SubKeyNames(kKey), UnorderedElementsAre("Skins", "Res"));
    EXPECT_THAT(store.SubKeyNames("Software\\Norvale\\Res"), ElementsAre("Deep"));

    EXPECT_TRUE(store.DeleteKey("Software\\Norvale\\Res"));
    EXPECT_FALSE(store.KeyExists("Software\\Norvale\\Res\\Deep"));
    EXPECT_THAT(store.SubKeyNames(kKey), ElementsAre("Skins"));
    EXPECT_FALSE(store.DeleteKey("Software\\Norvale\\Res"));

    TSettingsStore reread(store.FilePath());
    EXPECT_THAT(reread.SubKeyNames(kKey), ElementsAre("Skins"));
}

TEST(TSettingsStoreTest, ReadsAHandEditedFile) {
    TTempDir dir;
    dir.Write("registry.reg",
              "\xEF\xBB\xBFREGEDIT4\r\n"  // saved by an editor that marks UTF-8
              "; edited by hand\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Norvale]\r\n"
              "\"0\"=dword:00000001\r\n"
              "\"Big\"=dword:FFFFFFFE\r\n"
              "  \"Spaced\" = \"a b\"  \r\n"
              "@=\"default\"\r\n"
              "\r\n"
              "[hkey_current_user\\Software\\Norvale\\Res]\r\n"
              "\"res\"=hex(7):41,00,\\\r\n"
              "  42,00,00\r\n"
              "\"res\"=hex(7):43,00,00\r\n");  // a later line wins
    TSettingsStore store(dir.File("registry.reg"));
    ASSERT_EQ(store.LoadProblem(), "");
    TRegistry reg(store);
    ASSERT_TRUE(reg.OpenKey(kKey, false));
    EXPECT_EQ(reg.ReadInteger("0"), 1);
    EXPECT_EQ(reg.ReadInteger("big"), -2);
    EXPECT_EQ(reg.ReadString("Spaced"), "a b");
    EXPECT_EQ(reg.ReadString(""), "default");
    TRegValue v;
    ASSERT_TRUE(store.FindValue("Software\\Norvale\\Res", "res", v));
    EXPECT_EQ(v.type, TRegDataType::MultiString);
    EXPECT_EQ(v.data, "C\0\0"s);
}

TEST(TSettingsStoreTest, DamagedFileIsKeptAsideReportedOnceAndTheStoreGoesOnEmpty) {
    const std::vector<std::string> damaged = {
        "not a registry file",
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Norvale]\n\"unterminated=dword:1\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Norvale]\n\"v\"=dword:123456789\n",
        "REGEDIT4\n\"v\"=\"value outside a key\"\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software]\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Norvale]\n\"v\"=hex:4\n",
    };
    for (const std::string& bytes : damaged) {
        TTempDir dir;
        dir.Write("registry.reg", bytes);
        TSettingsStore store(dir.File("registry.reg"));
        EXPECT_THAT(store.LoadProblem(), HasSubstr(dir.File("registry.reg"))) << bytes;
        EXPECT_TRUE(store.ValueNames(kKey).empty());

        // The damaged bytes are still there under another name.
        const auto names = FilesIn(dir.Path());
        ASSERT_EQ(names.size(), 1u) << bytes;
        EXPECT_NE(names[0], "registry.reg");
        EXPECT_EQ(dir.Read(names[0]), bytes);
        EXPECT_THAT(store.LoadProblem(), HasSubstr(names[0]));

        // Once shown, it is not reported again, and the store works on.
        store.ClearLoadProblem();
        store.SetValue(kKey, "Skin", TRegDataType::String, "Mac");
        EXPECT_EQ(store.LoadProblem(), "");
        TSettingsStore reread(dir.File("registry.reg"));
        EXPECT_EQ(reread.LoadProblem(), "");
        EXPECT_THAT(reread.ValueNames(kKey), ElementsAre("Skin"));
        EXPECT_EQ(dir.Read(names[0]), bytes);
    }
}

TEST(TSettingsStoreTest, FileIsPrivateToItsOwner) {
    TTempDir dir;
    const mode_t old = ::umask(0);  // the widest umask must not open it up
    TSettingsStore store(dir.File("Norvale/registry.reg"));
    store.SetValue(kKey, "Skin", TRegDataType::String, "Mac");
    ::umask(old);
    struct stat st {};
    ASSERT_EQ(::stat(dir.File("Norvale/registry.reg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(dir.File("Norvale").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0077, 0u);
    // Only the store file is left: no temporary file stays behind.
    EXPECT_THAT(FilesIn(dir.File("Norvale")), ElementsAre("registry.reg"));
}

TEST(TSettingsStoreTest, AChangeByAnotherStoreOnTheSameFileIsNotUndone) {
    TTempDir dir;
    const std::string path = dir.File("registry.reg");
    TSettingsStore desktop(path);
    TSettingsStore cli(path);
    desktop.SetValue(kKey, "Skin", TRegDataType::String, "Mac");
    cli.SetValue(kKey, "0", TRegDataType::DWord, DWordBytes(1));
    TRegValue v;
    ASSERT_TRUE(desktop.FindValue(kKey, "0", v));
    ASSERT_TRUE(cli.FindValue(kKey, "Skin", v));

    // Changes of the same size in quick succession: a file's time stamp alone cannot
    // tell them apart.
    for (std::uint32_t round = 2; round < 12; ++round) {
        cli.SetValue(kKey, "0", TRegDataType::DWord, DWordBytes(round));
        desktop.SetValue(kKey, "1", TRegDataType::DWord, DWordBytes(round));
    }
    TSettingsStore reread(path);
    ASSERT_TRUE(reread.FindValue(kKey, "0", v));
    EXPECT_EQ(v.data, DWordBytes(11));
    ASSERT_TRUE(reread.FindValue(kKey, "1", v));
    EXPECT_EQ(v.data, DWordBytes(11));
    EXPECT_THAT(reread.ValueNames(kKey), ElementsAre("Skin", "0", "1"));
}

TEST(TSettingsStoreTest, FailedWriteKeepsNeitherTheValueNorTheOldFileChanged) {
    TTempDir dir;
    const std::string before =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Norvale]\n\"Skin\"=\"Mac\"\n";
    dir.Write("sub/registry.reg", before);
    TSettingsStore store(dir.File("sub/registry.reg"));
    TRegistry reg(store);
    ASSERT_TRUE(reg.OpenKey(kKey, false));
    // The folder turns into a regular file: neither a temporary file nor the rename
    // can succeed now.
    std::filesystem::rename(dir.File("sub"), dir.File("moved"));
    dir.Write("sub", "not a folder");
    EXPECT_THROW(store.SetValue(kKey, "v", TRegDataType::String, "x"), EFileError);
    EXPECT_EQ(reg.SetValue("v", TRegDataType::String, "x"), kRegWriteFault);
    TRegValue v;
    EXPECT_FALSE(store.FindValue(kKey, "v", v));
    EXPECT_EQ(dir.Read("moved/registry.reg"), before);
    EXPECT_THAT(FilesIn(dir.File("moved")), ElementsAre("registry.reg"));
}

TEST(TRegistryTest, TypedAccessAndResultCodes) {
    TTempDir dir;
    TSettingsStore store(dir.File("registry.reg"));
    TRegistry reg(store);

    TRegDataType type{};
    std::string data;
    EXPECT_EQ(reg.QueryValue("x", type, data), kRegInvalidHandle);
    EXPECT_THROW(reg.ReadInteger("x"), ERegistryException);
    EXPECT_FALSE(reg.OpenKey("Software\\Norvale\\Skins", false));
    EXPECT_FALSE(store.KeyExists("Software\\Norvale\\Skins"));
    ASSERT_TRUE(reg.OpenKey("Software\\Norvale\\Skins", true));
    EXPECT_TRUE(store.KeyExists("Software\\Norvale\\Skins"));

    reg.WriteInteger("n", -5);
    reg.WriteString("Skin", "Silver");
    EXPECT_EQ(reg.ReadInteger("N"), -5);
    EXPECT_EQ(reg.ReadString("skin"), "Silver");
    EXPECT_EQ(reg.ReadString("missing"), "");
    EXPECT_TRUE(reg.ValueExists("SKIN"));
    EXPECT_FALSE(reg.ValueExists("missing"));
    EXPECT_THROW(reg.ReadInteger("Skin"), ERegistryException);  // wrong type
    EXPECT_THROW(reg.ReadString("n"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("missing"), ERegistryException);
    EXPECT_THAT(reg.GetValueNames(), ElementsAre("n", "Skin"));

    EXPECT_EQ(reg.QueryValue("missing", type, data), kRegFileNotFound);
    EXPECT_EQ(reg.SetValue("m", TRegDataType::MultiString, "a\0\0"s), kRegOk);
    ASSERT_EQ(reg.QueryValue("M", type, data), kRegOk);
    EXPECT_EQ(type, TRegDataType::MultiString);
    EXPECT_EQ(data, "a\0\0"s);
    EXPECT_TRUE(reg.DeleteValue("n"));
    EXPECT_FALSE(reg.ValueExists("n"));

    EXPECT_EQ(RegistryErrorText(kRegFileNotFound),
              "The system cannot find the file specified.\r\n");
    EXPECT_EQ(RegistryErrorText(12345), "");
}

}  // namespace
}  // namespace norvale
