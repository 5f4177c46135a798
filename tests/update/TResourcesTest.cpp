#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/TTempDir.h"
#include "update/TExRegistry.h"
#include "update/TResources.h"

namespace norvale {
namespace {

using test::TTempDir;
using Lines = std::vector<std::string>;

class Resources : public ::testing::Test {
protected:
    std::string RawValue() {
        TRegValue v;
        EXPECT_TRUE(store.FindValue(kResourcesKey, kResourcesValue, v));
        return v.data;
    }
    void SetRaw(TRegDataType type, const std::string& data) {
        store.SetValue(kResourcesKey, kResourcesValue, type, data);
    }
    Lines ReadBack() {
        TExRegistry registry(store);
        registry.OpenKey(kResourcesKey, false);
        Lines out{"stale"};
        registry.ReadMultiSz(kResourcesValue, out);
        return out;
    }

    TTempDir dir;
    TSettingsStore store{dir.File("registry.reg")};
    TWebAddresses web;
};

TEST_F(Resources, WriteMultiSzBytes) {
    TExRegistry registry(store);
    registry.OpenKey(kResourcesKey, true);
    registry.WriteMultiSz(kResourcesValue, {"a", "b"});
    EXPECT_EQ(RawValue(), std::string("a\0b\0\0", 5));
    registry.WriteMultiSz(kResourcesValue, {});
    EXPECT_EQ(RawValue(), std::string(1, '\0'));
}

TEST_F(Resources, ReadMultiSzStopsAtTheFirstEmptyStringAndNeverReadsPastTheData) {
    struct TCase {
        std::string data;
        Lines expected;
    };
    const TCase cases[] = {
        {std::string("a\0b\0\0", 5), {"a", "b"}},
        {std::string("a\0\0b\0\0", 6), {"a"}},
        {std::string("\0a\0\0", 4), {}},
        {"", {}},
        {"abc", {"abc"}},                        // unterminated
        {std::string("a\0bc", 4), {"a", "bc"}},  // last string unterminated
    };
    for (const TCase& c : cases) {
        SetRaw(TRegDataType::MultiString, c.data);
        EXPECT_EQ(ReadBack(), c.expected) << testing::PrintToString(c.data);
    }
}

TEST_F(Resources, ReadMultiSzErrors) {
    SetRaw(TRegDataType::String, "a");
    try {
        ReadBack();
        FAIL();
    } catch (const EExRegistryException&) {
        FAIL() << "wrong class";
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "String list expected");
    }
    store.DeleteValue(kResourcesKey, kResourcesValue);
    try {
        ReadBack();
        FAIL();
    } catch (const EExRegistryException& e) {
        EXPECT_EQ(e.Code(), 2);
        EXPECT_STREQ(
            e.what(),
            "Error 2 : The system cannot find the file specified.\r\n:Unable read MULTI_SZ value");
    }
    EXPECT_EQ(EExRegistryException(77, "x").what(), std::string("Error 77:x"));
}

TEST_F(Resources, FirstStartStoresTheBuiltInListAndItsThreeGroups) {
    EnsureDefaultResources(store, web);
    const auto lines = ReadResources(store);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 27u);
    EXPECT_EQ((*lines)[4], "1&1|" + web.Site + "/links/1&1");
    const TResourceMenus menus = ResourceMenusOf(*lines);
    ASSERT_EQ(menus.groups.size(), 3u);
    EXPECT_EQ(menus.groups[0].caption, "Domain Registrars");
    EXPECT_EQ(menus.groups[0].links.size(), 7u);
    EXPECT_EQ(menus.groups[1].caption, "Web Hosting Services");
    EXPECT_EQ(menus.groups[1].links.size(), 13u);
    EXPECT_EQ(menus.groups[2].caption, "Commercial Domain Software");
    EXPECT_EQ(menus.groups[2].links.size(), 4u);
    EXPECT_EQ(menus.linkLines.size(), 24u);
    for (const std::string& line : menus.linkLines)
        EXPECT_TRUE(IsWebAddress(LinkAddress(line))) << line;

    // A stored list, even a different one, is never overwritten.
    StoreResources(store, "#G\nx|http://a.example/\n");
    EnsureDefaultResources(store, web);
    EXPECT_EQ(ReadResources(store), (Lines{"#G", "x|http://a.example/"}));
}

TEST_F(Resources, NoStoredListReadsAsNothing) {
    EXPECT_FALSE(ReadResources(store));
}

TEST_F(Resources, StoreResourcesDropsEmptyLinesSoNothingAfterThemIsLost) {
    StoreResources(store, "#One\r\na|http://a.example/\r\n\r\n#Two\rb|http://b.example/\n\nc\r\n");
    EXPECT_EQ(ReadResources(store),
              (Lines{"#One", "a|http://a.example/", "#Two", "b|http://b.example/", "c"}));
}

TEST(ResourceMenus, LinksBeforeAnyGroupHaveNoItemButResolve) {
    const TResourceMenus menus = ResourceMenusOf({"early|http://e.example/", "#", "plain", "x|"});
    ASSERT_EQ(menus.groups.size(), 1u);
    EXPECT_EQ(menus.groups[0].caption, "");
    EXPECT_EQ(menus.groups[0].links, (Lines{"plain", "x"}));
    EXPECT_EQ(menus.linkLines, (Lines{"early|http://e.example/", "plain", "x|"}));
    EXPECT_EQ(LinkForCaption(menus.linkLines, "early"), "http://e.example/");
}

TEST(ResourceMenus, LinkForCaptionIgnoresAccelMarksAndCaseAndTakesTheFirst) {
    const Lines links = {"1&1|http://s.example/links/1&1", "Godaddy|http://first.example/",
                         "Godaddy|http://second.example/", "plain",
                         "Local|file:///etc/passwd",       "Run|javascript:alert(1)"};
    EXPECT_EQ(LinkForCaption(links, "1&&1"), "http://s.example/links/1&1");
    EXPECT_EQ(LinkForCaption(links, "&1&1"), "http://s.example/links/1&1");
    EXPECT_EQ(LinkForCaption(links, "&GODADDY"), "http://first.example/");
    EXPECT_EQ(LinkForCaption(links, "plain"), "");
    EXPECT_EQ(LinkForCaption(links, "missing"), "");

    TWebAddresses web;
    web.Site = "http://home.example";
    EXPECT_EQ(ResourceAddressFor(links, "Godaddy", web), "http://first.example/");
    for (const char* caption : {"plain", "missing", "Local", "Run"})
        EXPECT_EQ(ResourceAddressFor(links, caption, web), "http://home.example") << caption;
}

TEST_F(Resources, GrantAccessTreeListsKeysDepthFirstAndKeepsTheStoreTheOwnersOnly) {
    store.CreateKey("Software\\Norvale\\Res\\A\\Deep");
    store.CreateKey("Software\\Norvale\\Res\\B");
    ::chmod(store.FilePath().c_str(), 0666);
    TExRegistry registry(store);
    Lines below;
    registry.GrantAccessTree(TRegRoot::CurrentUser, kResourcesKey, below);
    EXPECT_EQ(below, (Lines{"Software\\Norvale\\Res\\A", "Software\\Norvale\\Res\\A\\Deep",
                            "Software\\Norvale\\Res\\B"}));
    struct stat st {};
    ASSERT_EQ(::stat(store.FilePath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace norvale
