#include "sets/TSetFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "sets/TSetNames.h"
#include "support/TTempDir.h"
#include "util/ENorvaleError.h"

namespace norvale {
namespace {

using test::TTempDir;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

struct TListingCase {
    const char* what;
    std::vector<std::string> files;
    std::vector<std::string> listed;
};

class TSetListingTest : public ::testing::TestWithParam<TListingCase> {};

TEST_P(TSetListingTest, ListsSetFilesByTheirNames) {
    TTempDir dir;
    TDataFolder folder(dir.Path());
    folder.EnsureSetsFolder();
    for (const std::string& f : GetParam().files) dir.Write("sets/" + f, "LISTVIEW01\x80");
    EXPECT_THAT(ListSetNames(folder), ElementsAreArray(GetParam().listed)) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TSetListingTest,
    ::testing::Values(
        TListingCase{"no sets", {}, {}},
        TListingCase{"extension in capitals", {"upper.SET", "mixed.Set", "kept.set"}, {"kept"}},
        TListingCase{"another extension after .set", {"a.set.bak", "b.settings", "c.set~"}, {}},
        TListingCase{"the last full stop decides", {"a.b.set", "x..set"}, {"a.b", "x."}},
        TListingCase{"names sorted for the user",
                     {"beta.set", "Alpha.set", "alpha.set", "10.set", "Gamma.set"},
                     {"10", "Alpha", "alpha", "beta", "Gamma"}},
        TListingCase{"names kept exactly, blanks included",
                     {" lead.set", "trail .set", "in side.set"},
                     {" lead", "in side", "trail "}},
        TListingCase{"hidden files are sets too", {".hidden.set"}, {".hidden"}},
        TListingCase{"nothing that is no name", {".set", "..set", "   .set"}, {}}));

TEST(TSetFilesTest, ListsFilesOnlyAndNoSubFolders) {
    TTempDir dir;
    TDataFolder folder(dir.Path());
    folder.EnsureSetsFolder();
    ASSERT_EQ(::mkdir(dir.File("sets/folder.set").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(dir.File("sets/sub").c_str(), 0755), 0);
    dir.Write("sets/sub/deep.set", "");
    dir.Write("sets/top.set", "");
    ASSERT_EQ(::chmod(dir.File("sets/top.set").c_str(), 0444), 0);
    EXPECT_THAT(ListSetNames(folder), ElementsAre("top"));
}

TEST(TSetFilesTest, AMissingSetsFolderHoldsNoSets) {
    TTempDir dir;
    EXPECT_THAT(ListSetNames(TDataFolder(dir.Path())), IsEmpty());
}

TEST(TSetFilesTest, SetFileIsTheNameExactlyAsTypedInTheSetsFolder) {
    TTempDir dir;
    TDataFolder folder(dir.Path());
    EXPECT_EQ(SetFilePath(folder, " my set "), dir.Path() + "sets/ my set .set");
    folder.EnsureSetsFolder();
    EXPECT_FALSE(SetExists(folder, "mine"));
    dir.Write("sets/mine.set", "");
    EXPECT_TRUE(SetExists(folder, "mine"));
    EXPECT_FALSE(SetExists(folder, "Mine"));
}

TEST(TSetFilesTest, RefusesNamesThatWouldLeaveTheSetsFolder) {
    TTempDir dir;
    TDataFolder folder(dir.Path());
    for (const char* name :
         {"../rules", "a/b", "a\\b", "c:", "x*", "q?", "<", ">", "|", "\"", ".", "..", "", "   "})
        EXPECT_THROW(SetFilePath(folder, name), ENorvaleError) << name;
}

}  // namespace
}  // namespace norvale
