#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "domains/TDomainListFile.h"
#include "support/TFileSizeLimit.h"
#include "support/TTempDir.h"
#include "update/TImportCommit.h"

namespace norvale {
namespace {

using test::TTempDir;

// A data folder with lists already in memory and on disk.
class ImportCommit : public ::testing::Test {
protected:
    void SetUp() override {
        lists.kbmMemTable1.Open();
        lists.kbmMain.Open();
        lists.kbmDraft.Open();
        for (const char* name : {"old1", "old2", "old3"})
            lists.kbmMemTable1.AppendRecord(name, "com", "d", 4);
        lists.kbmMain.AppendRecord("old1", "com", "d", 4);
        lists.kbmDraft.AppendRecord("draft", "net", "", 5);
        lists.SaveDomainLists();
        lists.SaveDraftList();
        fullBefore = dir.Read("dlist.dat");
        matchBefore = dir.Read("mlist.dat");
    }

    TImportResult NewLists(std::size_t fullCount, std::size_t matchCount) {
        TImportResult r;
        r.full.Open();
        r.match.Open();
        for (std::size_t i = 0; i < fullCount; ++i)
            r.full.AppendRecord("new" + std::to_string(i), "net", "x", 4);
        for (std::size_t i = 0; i < matchCount; ++i)
            r.match.AppendRecord("m" + std::to_string(i), "org", "x", 2);
        return r;
    }

    void ExpectUnchanged() {
        EXPECT_EQ(dir.Read("dlist.dat"), fullBefore);
        EXPECT_EQ(dir.Read("mlist.dat"), matchBefore);
        EXPECT_EQ(lists.kbmMemTable1.TotalRecordCount(), 3u);
        EXPECT_EQ(lists.kbmMain.TotalRecordCount(), 1u);
        ExpectNoSideFiles();
    }

    void ExpectNoSideFiles() {
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name == "dlist.dat" || name == "mlist.dat" || name == "draft.dat") << name;
        }
    }

    TTempDir dir;
    TDomainLists lists{TDataFolder(dir.Path())};
    std::string fullBefore, matchBefore;
};

TEST_F(ImportCommit, ReplacesFilesThenMemoryKeepingSortAndDrafts) {
    lists.kbmMemTable1.SortOn(TDomainField::Domain);
    lists.kbmMemTable1.SetFilter([](const TDomainTable& t, TDomainTable::TRecordId id) {
        return t.TextOf(id, TDomainField::Domain) != "new1";
    });
    ReplaceDomainLists(lists, NewLists(3, 1));
    EXPECT_EQ(lists.kbmMemTable1.SortField(), TDomainField::Domain);
    EXPECT_EQ(lists.kbmMemTable1.RecordCount(), 2u);  // the filter still holds
    EXPECT_EQ(lists.kbmMemTable1.RecNo(), 0u);
    EXPECT_EQ(lists.kbmMain.TotalRecordCount(), 1u);
    EXPECT_EQ(lists.kbmMain.Text(TDomainField::Domain), "m0");
    EXPECT_EQ(lists.kbmDraft.TotalRecordCount(), 1u);

    TDomainTable full, match;
    TDomainListFile::Load(full, dir.File("dlist.dat"));
    TDomainListFile::Load(match, dir.File("mlist.dat"));
    EXPECT_EQ(full.TotalRecordCount(), 3u);  // every record, whatever the filter
    EXPECT_EQ(full.TextOf(0, TDomainField::Domain), "new0");
    EXPECT_EQ(match.TextOf(0, TDomainField::Domain), "m0");
    ExpectNoSideFiles();
}

TEST_F(ImportCommit, CancelledResultChangesNothing) {
    TImportResult r = NewLists(5, 5);
    r.cancelled = true;
    ReplaceDomainLists(lists, std::move(r));
    ExpectUnchanged();
}

TEST_F(ImportCommit, FailureWritingEitherNewFileLeavesBothAsTheyWere) {
    // A full disk: the first file fails, then (with a small full list) the second.
    for (const auto& [fullCount, matchCount] : {std::pair{5000u, 1u}, std::pair{1u, 5000u}}) {
        TImportResult r = NewLists(fullCount, matchCount);
        test::TFileSizeLimit limit(8000);
        EXPECT_THROW(ReplaceDomainLists(lists, std::move(r)), EFileError);
        ExpectUnchanged();
    }
}

TEST_F(ImportCommit, MatchListFailingAfterTheFullListWasPlacedRestoresIt) {
    std::filesystem::remove(dir.File("mlist.dat"));
    std::filesystem::create_directories(dir.File("mlist.dat/x"));  // cannot be replaced by a file
    try {
        ReplaceDomainLists(lists, NewLists(2, 2));
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(
                      "Cannot create file \"" + dir.File("mlist.dat") + "\". ", 0),
                  0u)
            << e.what();
    }
    EXPECT_EQ(dir.Read("dlist.dat"), fullBefore);
    EXPECT_EQ(lists.kbmMemTable1.TotalRecordCount(), 3u);
    EXPECT_EQ(lists.kbmMain.TotalRecordCount(), 1u);
    EXPECT_FALSE(dir.Exists(".dlist.dat.previous"));
    EXPECT_FALSE(dir.Exists(".dlist.dat.import"));
    EXPECT_FALSE(dir.Exists(".mlist.dat.import"));
}

TEST(ImportCommitFirstRun, NoPreviousFilesAndAFailureLeavesNoFullList) {
    TTempDir dir;
    std::filesystem::create_directories(dir.File("mlist.dat/x"));
    TImportResult r;
    r.full.Open();
    r.match.Open();
    r.full.AppendRecord("a", "com", "", 1);
    EXPECT_THROW(CommitListFiles(TDataFolder(dir.Path()), r.full, r.match), EFileError);
    EXPECT_FALSE(dir.Exists("dlist.dat"));
}

}  // namespace
}  // namespace norvale
