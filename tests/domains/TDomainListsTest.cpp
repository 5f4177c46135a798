#include "domains/TDomainLists.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "domains/DomainFixtures.h"
#include "domains/TDataFolder.h"
#include "domains/TDomainListFile.h"
#include "support/TTempDir.h"
#include "util/ENorvaleError.h"

namespace norvale {
namespace {

using test::TableOf;
using test::TTempDir;
using test::Walk;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::vector<TDomainRecord> kFull = {
    {"a", "com", "05/31/2008", 1}, {"bb", "net", "05/31/2008", 2}, {"ccc", "com", "06/01/2008", 3}};
const std::vector<TDomainRecord> kMatch = {{"bb", "net", "05/31/2008", 2}};
const std::vector<TDomainRecord> kDrafts = {{"ccc", "com", "06/01/2008", 3},
                                            {"ccc", "com", "06/01/2008", 3}};

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void WriteAllThree(const TTempDir& dir) {
    TDomainListFile::Save(TableOf(kFull), dir.File("dlist.dat"));
    TDomainListFile::Save(TableOf(kMatch), dir.File("mlist.dat"));
    TDomainListFile::Save(TableOf(kDrafts), dir.File("draft.dat"));
}

TEST(TDomainListsTest, FirstStartOpensThreeEmptyLists) {
    TTempDir dir;
    TDomainLists lists{TDataFolder(dir.Path())};
    EXPECT_TRUE(lists.LoadDomainLists().empty());
    for (int tab : {kTabMatch, kTabFull, kTabDrafts}) {
        EXPECT_TRUE(lists.ForTab(tab).Active());
        EXPECT_EQ(lists.DomainCountText(tab), "Found 0 domains");
    }
    EXPECT_EQ(&lists.ForTab(kTabMatch), &lists.kbmMain);
    EXPECT_EQ(&lists.ForTab(kTabFull), &lists.kbmMemTable1);
    EXPECT_EQ(&lists.ForTab(kTabDrafts), &lists.kbmDraft);
    EXPECT_TRUE(FilesIn(dir.Path()).empty());  // loading writes nothing
}

TEST(TDomainListsTest, LoadsEachListFromItsFile) {
    TTempDir dir;
    WriteAllThree(dir);
    TDomainLists lists{TDataFolder(dir.Path())};
    EXPECT_TRUE(lists.LoadDomainLists().empty());
    EXPECT_EQ(Walk(lists.kbmMemTable1), kFull);
    EXPECT_EQ(Walk(lists.kbmMain), kMatch);
    EXPECT_EQ(Walk(lists.kbmDraft), kDrafts);
    lists.kbmMemTable1.SetFilter([](const TDomainTable& t, TDomainTable::TRecordId id) {
        return t.TextOf(id, TDomainField::Dom) == "com";
    });
    EXPECT_EQ(lists.DomainCountText(kTabFull), "Found 2 domains");
    EXPECT_EQ(TDomainLists::FoundDomainsText(1250), "Found 1250 domains");
}

TEST(TDomainListsTest, ADamagedFileIsReportedAndKeptAsideWhileTheOtherListsLoad) {
    for (const char* damagedFile : {"dlist.dat", "mlist.dat", "draft.dat"}) {
        TTempDir dir;
        WriteAllThree(dir);
        std::string bytes = dir.Read(damagedFile);
        bytes.resize(bytes.size() - 3);
        dir.Write(damagedFile, bytes);

        TDomainLists lists{TDataFolder(dir.Path())};
        const auto problems = lists.LoadDomainLists();
        ASSERT_EQ(problems.size(), 1u) << damagedFile;
        EXPECT_THAT(problems[0], HasSubstr("\"" + dir.File(damagedFile) + "\"")) << damagedFile;

        const std::string name = damagedFile;
        EXPECT_EQ(Walk(lists.kbmMemTable1),
                  name == "dlist.dat" ? std::vector<TDomainRecord>{} : kFull);
        EXPECT_EQ(Walk(lists.kbmMain), name == "mlist.dat" ? std::vector<TDomainRecord>{} : kMatch);
        EXPECT_EQ(Walk(lists.kbmDraft),
                  name == "draft.dat" ? std::vector<TDomainRecord>{} : kDrafts);
        for (int tab : {kTabMatch, kTabFull, kTabDrafts}) EXPECT_TRUE(lists.ForTab(tab).Active());

        // The damaged bytes moved aside, under the name the message gives, so the next
        // save of the empty list cannot destroy them.
        EXPECT_FALSE(std::filesystem::exists(dir.File(damagedFile)));
        std::string aside;
        for (const auto& f : FilesIn(dir.Path()))
            if (f.rfind(name + ".", 0) == 0)
                aside = f;
        ASSERT_FALSE(aside.empty()) << damagedFile;
        EXPECT_EQ(dir.Read(aside), bytes);
        EXPECT_THAT(problems[0], HasSubstr(aside));
        if (name == "draft.dat") {
            lists.SaveDraftList();
        } else {
            lists.SaveDomainLists();
        }
        EXPECT_EQ(dir.Read(aside), bytes);
    }
}

TEST(TDomainListsTest, SaveDomainListsWritesBothListsAndCompactsThem) {
    TTempDir dir;
    TDomainLists lists{TDataFolder(dir.Path())};
    lists.LoadDomainLists();
    for (const auto& r : kFull) lists.kbmMemTable1.AppendRecord(r);
    for (const auto& r : kFull) lists.kbmMain.AppendRecord(r);
    lists.kbmMain.MoveTo(0);
    lists.kbmMain.Delete();
    lists.kbmMain.MoveTo(1);
    lists.SaveDomainLists();
    EXPECT_EQ(lists.kbmMain.RecNo(), 0u);  // compacting moves to the first record

    TDomainLists reread{TDataFolder(dir.Path())};
    EXPECT_TRUE(reread.LoadDomainLists().empty());
    EXPECT_EQ(Walk(reread.kbmMemTable1), kFull);
    EXPECT_EQ(Walk(reread.kbmMain), (std::vector<TDomainRecord>{kFull[1], kFull[2]}));
    EXPECT_THAT(FilesIn(dir.Path()), ElementsAre("dlist.dat", "mlist.dat"));

    lists.kbmDraft.AppendRecord(kDrafts[0]);
    lists.SaveDraftList();
    EXPECT_TRUE(reread.LoadDomainLists().empty());
    EXPECT_EQ(Walk(reread.kbmDraft), (std::vector<TDomainRecord>{kDrafts[0]}));
}

TEST(TDomainListsTest, SaveDomainListsStopsAtTheFirstFailure) {
    struct TCase {
        const char* blocked;  // made a folder, so that the save cannot replace it
        bool fullWritten;
    };
    for (const TCase& c : {TCase{"dlist.dat", false}, TCase{"mlist.dat", true}}) {
        TTempDir dir;
        TDomainListFile::Save(TableOf(kMatch), dir.File("dlist.dat"));
        TDomainListFile::Save(TableOf(kMatch), dir.File("mlist.dat"));
        std::filesystem::remove(dir.File(c.blocked));
        ::mkdir(dir.File(c.blocked).c_str(), 0755);
        const std::string fullBefore = c.fullWritten ? dir.Read("dlist.dat") : "";
        const std::string matchBefore = c.fullWritten ? "" : dir.Read("mlist.dat");

        TDomainLists lists{TDataFolder(dir.Path())};
        lists.kbmMemTable1.Open();
        lists.kbmMain.Open();
        for (const auto& r : kFull) lists.kbmMemTable1.AppendRecord(r);
        for (const auto& r : kFull) lists.kbmMain.AppendRecord(r);
        lists.kbmMemTable1.MoveTo(2);
        try {
            lists.SaveDomainLists();
            ADD_FAILURE() << "no error for " << c.blocked;
        } catch (const EFileError& e) {
            EXPECT_THAT(e.what(),
                        StartsWith("Cannot create file \"" + dir.File(c.blocked) + "\". "));
        }
        EXPECT_EQ(lists.kbmMemTable1.RecNo(), 2u) << "compacted after a failed save";
        if (c.fullWritten) {
            EXPECT_NE(dir.Read("dlist.dat"), fullBefore);
            TDomainTable full;
            full.Open();
            TDomainListFile::Load(full, dir.File("dlist.dat"));
            EXPECT_EQ(Walk(full), kFull);
        } else {
            EXPECT_EQ(dir.Read("mlist.dat"), matchBefore);  // never reached
        }
        EXPECT_TRUE(std::filesystem::is_directory(dir.File(c.blocked)));
    }
}

TEST(TDataFolderTest, PathsAndFolders) {
    TTempDir dir;
    const TDataFolder folder(dir.Path() + "a/b/Norvale");
    EXPECT_EQ(folder.DataFolder(), dir.Path() + "a/b/Norvale/");
    EXPECT_EQ(folder.FilePath("dlist.dat"), dir.Path() + "a/b/Norvale/dlist.dat");
    EXPECT_EQ(folder.SetsFolder(), dir.Path() + "a/b/Norvale/sets/");

    EXPECT_THROW(folder.EnsureSetsFolder(), EFileError);  // one level only: no data folder yet
    folder.EnsureDataFolder();
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() + "a/b/Norvale"));
    folder.EnsureSetsFolder();
    folder.EnsureSetsFolder();  // again: already there
    EXPECT_TRUE(std::filesystem::is_directory(folder.SetsFolder()));

    const TDataFolder blocked(dir.Path() + "blocked");
    blocked.EnsureDataFolder();
    dir.Write("blocked/sets", "a file where the folder belongs");
    try {
        blocked.EnsureSetsFolder();
        ADD_FAILURE() << "no error";
    } catch (const EFileError& e) {
        EXPECT_THAT(e.what(), HasSubstr(dir.Path() + "blocked/sets"));
    }
}

TEST(TDataFolderTest, OneLockPerDataFolder) {
    TTempDir dir;
    const TDataFolder folder(dir.Path());
    const TDataFolder other(dir.Path() + "other");
    other.EnsureDataFolder();
    {
        TDataFolderLock first(folder);
        try {
            TDataFolderLock second(folder);
            ADD_FAILURE() << "second lock taken";
        } catch (const ENorvaleError& e) {
            EXPECT_STREQ(e.what(), "Norvale is already running.");
        }
        EXPECT_NO_THROW(TDataFolderLock{other});
    }
    EXPECT_NO_THROW(TDataFolderLock{folder});  // released with its holder
}

}  // namespace
}  // namespace norvale
