#include "domains/TDomainTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "domains/DomainFixtures.h"
#include "util/ENorvaleError.h"

namespace norvale {
namespace {

using test::CollidingRecords;
using test::ReferenceSort;
using test::TableOf;
using test::Walk;
using test::WalkDomains;
using ::testing::ElementsAre;

constexpr TDomainField kAllFields[] = {TDomainField::Domain, TDomainField::Dom,
                                       TDomainField::ExDate, TDomainField::Size};

bool IsCom(const TDomainTable& t, TDomainTable::TRecordId id) {
    return t.TextOf(id, TDomainField::Dom) == "com";
}

// Ten records, added in this order; three of them .com.
std::vector<TDomainRecord> TenRecords() {
    return {
        {"delta", "net", "05/31/2008", 5},   {"Alpha", "com", "06/01/2008", 5},
        {"charlie", "org", "05/30/2008", 7}, {"bravo", "COM", "05/31/2008", 5},
        {"alpha", "info", "06/02/2008", 5},  {"echo", "com", "06/01/2008", 4},
        {"BRAVO", "biz", "05/29/2008", 5},   {"foxtrot", "ca", "05/31/2008", 7},
        {"golf", "com", "05/28/2008", 4},    {"hotel-1", "us", "06/03/2008", 7},
    };
}

TEST(TDomainTableTest, SortsByEachFieldStablyWithLettersFolded) {
    TDomainTable table = TableOf(TenRecords());
    table.SortOn(TDomainField::Domain);
    EXPECT_THAT(WalkDomains(table), ElementsAre("Alpha", "alpha", "bravo", "BRAVO", "charlie",
                                                "delta", "echo", "foxtrot", "golf", "hotel-1"));
    table.SortOn(TDomainField::Dom);
    EXPECT_THAT(WalkDomains(table), ElementsAre("BRAVO", "foxtrot", "Alpha", "bravo", "echo",
                                                "golf", "alpha", "delta", "charlie", "hotel-1"));
    table.SortOn(TDomainField::Size);
    EXPECT_THAT(WalkDomains(table), ElementsAre("echo", "golf", "delta", "Alpha", "bravo", "alpha",
                                                "BRAVO", "charlie", "foxtrot", "hotel-1"));
    table.ClearSort();
    EXPECT_EQ(Walk(table), TenRecords());
}

TEST(TDomainTableTest, SizeSortsAsANumber) {
    TDomainTable table = TableOf({{"ten", "", "", 10},
                                  {"two", "", "", 2},
                                  {"minus", "", "", -1},
                                  {"two again", "", "", 2},
                                  {"max", "", "", INT32_MAX},
                                  {"min", "", "", INT32_MIN}});
    table.SortOn(TDomainField::Size);
    EXPECT_THAT(WalkDomains(table), ElementsAre("min", "minus", "two", "two again", "ten", "max"));
}

TEST(TDomainTableTest, EverySortAgreesWithTheReferenceOrder) {
    const auto records = CollidingRecords(3000, 7);
    TDomainTable table = TableOf(records);
    for (TDomainField field : kAllFields) {
        table.SortOn(field);
        EXPECT_EQ(Walk(table), ReferenceSort(records, field)) << DomainFieldName(field);
    }
}

TEST(TDomainTableTest, RecordsAppendedWhileSortedAndFilteredLandInTheirPlace) {
    const auto first = CollidingRecords(400, 1);
    const auto later = CollidingRecords(400, 2);
    auto all = first;
    all.insert(all.end(), later.begin(), later.end());
    const auto wanted = [](const TDomainRecord& r) { return r.Size % 2 == 0; };
    for (TDomainField field : kAllFields) {
        TDomainTable table = TableOf(first);
        table.SortOn(field);
        table.SetFilter([](const TDomainTable& t, TDomainTable::TRecordId id) {
            return t.SizeOf(id) % 2 == 0;
        });
        for (const auto& r : later) {
            table.AppendRecord(r);
            // The cursor goes to the posted record when the filter lets it through.
            if (wanted(r)) {
                EXPECT_EQ(table.CurrentRecord(), r);
            }
        }
        std::vector<TDomainRecord> expected;
        for (const auto& r : ReferenceSort(all, field))
            if (wanted(r))
                expected.push_back(r);
        EXPECT_EQ(Walk(table), expected) << DomainFieldName(field);
        EXPECT_EQ(table.RecordCount(), expected.size());
        EXPECT_EQ(table.TotalRecordCount(), all.size());
        table.ClearFilter();
        EXPECT_EQ(Walk(table), ReferenceSort(all, field)) << DomainFieldName(field);
    }
}

TEST(TDomainTableTest, FilterLimitsCountWalkAndRows) {
    TDomainTable table = TableOf(TenRecords());
    table.SetFilter(IsCom);
    EXPECT_TRUE(table.Filtered());
    EXPECT_EQ(table.RecordCount(), 3u);  // "COM" is another text
    EXPECT_EQ(table.TotalRecordCount(), 10u);
    EXPECT_THAT(WalkDomains(table), ElementsAre("Alpha", "echo", "golf"));
    EXPECT_EQ(table.RowOfRecord(5), 1u);
    EXPECT_EQ(table.RowOfRecord(0), TDomainTable::npos);
    EXPECT_EQ(table.RecordAtRow(2), 8u);

    table.SortOn(TDomainField::Size);  // a sort keeps the filter
    EXPECT_THAT(WalkDomains(table), ElementsAre("echo", "golf", "Alpha"));
    EXPECT_EQ(table.RowOfRecord(1), 2u);

    table.SetFilter([](const TDomainTable&, TDomainTable::TRecordId) { return false; });
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.RecNo(), TDomainTable::npos);
    EXPECT_THROW(table.Text(TDomainField::Domain), ENorvaleError);
    table.ClearFilter();
    EXPECT_EQ(table.RecordCount(), 10u);
}

TEST(TDomainTableTest, CursorWalksAndStopsAtBothEnds) {
    TDomainTable table = TableOf({{"a", "", "", 1}, {"b", "", "", 1}, {"c", "", "", 1}});
    table.First();
    EXPECT_TRUE(table.Bof());
    EXPECT_FALSE(table.Eof());
    table.Prior();
    EXPECT_TRUE(table.Bof());
    EXPECT_EQ(table.RecNo(), 0u);
    table.Last();
    EXPECT_EQ(table.Text(TDomainField::Domain), "c");
    table.Next();
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.Text(TDomainField::Domain), "c");  // Next on the last row stays there
    table.Prior();
    EXPECT_EQ(table.Text(TDomainField::Domain), "b");
    table.MoveTo(99);
    EXPECT_EQ(table.RecNo(), 2u);

    TDomainTable empty;
    empty.Open();
    empty.First();
    EXPECT_TRUE(empty.Eof());
    EXPECT_EQ(empty.RecNo(), TDomainTable::npos);
}

TEST(TDomainTableTest, AppendPostCancelAndClosedTable) {
    TDomainTable table;
    EXPECT_FALSE(table.Active());
    EXPECT_THROW(table.AppendRecord("a", "com", "", 1), ENorvaleError);
    table.Open();
    EXPECT_THROW(table.SetText(TDomainField::Domain, "x"), ENorvaleError);  // no pending record
    EXPECT_THROW(table.Post(), ENorvaleError);

    int posts = 0;
    table.AfterPost = [&posts](TDomainTable&) { ++posts; };
    table.Append();
    table.SetText(TDomainField::Domain, "dropped");
    table.Cancel();
    EXPECT_EQ(table.RecordCount(), 0u);
    table.Append();
    table.SetText(TDomainField::Domain, "kept");
    table.SetSize(4);
    EXPECT_TRUE(table.Editing());
    table.Post();
    table.AppendRecord("second", "com", "", 6);
    EXPECT_EQ(posts, 2);
    EXPECT_THAT(WalkDomains(table), ElementsAre("kept", "second"));

    table.Close();
    EXPECT_EQ(table.RecordCount(), 0u);
    table.Open();
    EXPECT_EQ(table.RecordCount(), 0u);
}

TEST(TDomainTableTest, BookmarksFindTheirRecordUntilItIsDeletedOrCompacted) {
    TDomainTable table = TableOf(TenRecords());
    table.MoveTo(3);  // bravo
    const auto bravo = table.GetBookmark();
    table.MoveTo(7);
    const auto foxtrot = table.GetBookmark();
    table.SortOn(TDomainField::Domain);
    table.SetFilter(
        [](const TDomainTable& t, TDomainTable::TRecordId id) { return t.SizeOf(id) == 5; });
    ASSERT_TRUE(table.BookmarkValid(bravo));
    table.GotoBookmark(bravo);
    EXPECT_EQ(table.Text(TDomainField::Domain), "bravo");
    EXPECT_FALSE(table.BookmarkValid(foxtrot));  // filtered out
    EXPECT_THROW(table.GotoBookmark(foxtrot), ENorvaleError);
    table.ClearFilter();
    EXPECT_TRUE(table.BookmarkValid(foxtrot));

    table.GotoBookmark(bravo);
    table.Delete();
    EXPECT_FALSE(table.BookmarkValid(bravo));
    EXPECT_TRUE(table.BookmarkValid(foxtrot));
    table.Compact();
    EXPECT_FALSE(table.BookmarkValid(foxtrot));
    EXPECT_FALSE(table.BookmarkValid(TDomainTable::TBookmark{}));
}

TEST(TDomainTableTest, DeleteThenCompactKeepsTheOtherRecordsInOrder) {
    TDomainTable table = TableOf(TenRecords());
    table.SortOn(TDomainField::Domain);
    table.First();  // Alpha
    table.Delete();
    EXPECT_EQ(table.Text(TDomainField::Domain), "alpha");  // the cursor stays on its row
    table.ClearSort();
    table.MoveTo(8);  // hotel-1, the last row
    table.Delete();
    EXPECT_EQ(table.Text(TDomainField::Domain), "golf");
    EXPECT_EQ(table.RecordCount(), 8u);
    EXPECT_EQ(table.TotalRecordCount(), 8u);

    auto expected = TenRecords();
    expected.erase(expected.begin() + 9);
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(Walk(table), expected);
    table.MoveTo(4);
    table.Append();  // compacting cancels a pending record
    table.Compact();
    EXPECT_FALSE(table.Editing());
    EXPECT_EQ(table.RecNo(), 0u);
    EXPECT_EQ(Walk(table), expected);
    EXPECT_EQ(table.RecordOf(1), expected[1]);  // ids count the remaining records only

    TDomainTable empty;
    empty.Open();
    EXPECT_THROW(empty.Delete(), ENorvaleError);
}

TEST(TDomainTableTest, ReplaceContentKeepsSortAndFilter) {
    TDomainTable table = TableOf(TenRecords());
    table.SortOn(TDomainField::Domain);
    table.SetFilter(IsCom);
    TDomainTable built =
        TableOf({{"zulu", "com", "", 4}, {"yankee", "com", "", 6}, {"xray", "net", "", 4}});
    table.ReplaceContent(std::move(built));
    EXPECT_EQ(table.SortField(), TDomainField::Domain);
    EXPECT_TRUE(table.Filtered());
    EXPECT_THAT(WalkDomains(table), ElementsAre("yankee", "zulu"));
    EXPECT_EQ(table.TotalRecordCount(), 3u);
    EXPECT_EQ(built.TotalRecordCount(), 0u);
}

class TCountingObserver : public ITableObserver {
public:
    int data = 0;
    int cursor = 0;
    void TableDataChanged(TDomainTable&) override { ++data; }
    void TableCursorMoved(TDomainTable&) override { ++cursor; }
};

TEST(TDomainTableTest, DisabledControlsHearOnceWhenEnabledAgain) {
    TDomainTable table = TableOf(TenRecords());
    TCountingObserver observer;
    table.AddObserver(&observer);
    table.AppendRecord("india", "com", "", 5);
    EXPECT_GE(observer.data, 1);

    observer = {};
    table.DisableControls();
    table.DisableControls();  // nested: only the outermost enable counts
    for (int i = 0; i < 100; ++i) table.AppendRecord("juliet", "com", "", 6);
    table.SortOn(TDomainField::Dom);
    table.SetFilter(IsCom);
    for (table.First(); !table.Eof(); table.Next()) {
    }
    EXPECT_TRUE(table.ControlsDisabled());
    table.EnableControls();
    EXPECT_EQ(observer.data, 0);
    EXPECT_EQ(observer.cursor, 0);
    table.EnableControls();
    EXPECT_FALSE(table.ControlsDisabled());
    EXPECT_EQ(observer.data, 1);
    EXPECT_EQ(observer.cursor, 1);
    table.EnableControls();  // one too many changes nothing
    EXPECT_EQ(observer.data, 1);

    // Only moving the cursor while disabled reports only the move.
    observer = {};
    table.DisableControls();
    table.First();
    table.EnableControls();
    EXPECT_EQ(observer.data, 0);
    EXPECT_EQ(observer.cursor, 1);

    table.RemoveObserver(&observer);
    table.AppendRecord("kilo", "com", "", 4);
    EXPECT_EQ(observer.data, 0);
}

TEST(TDomainTableTest, MemoryCountsRecordsTextsAndIndexes) {
    TDomainTable table;
    table.Open();
    const std::size_t empty = table.MemoryBytes();
    table.Reserve(1000);
    for (int i = 0; i < 1000; ++i)
        table.AppendRecord(std::string(200, 'x'), "com", "05/31/2008", 200);
    const std::size_t filled = table.MemoryBytes();
    EXPECT_GE(filled - empty, 1000u * (200 + 3 + 10 + 16));
    table.SortOn(TDomainField::Domain);
    EXPECT_GE(table.MemoryBytes(), filled + 1000 * sizeof(TDomainTable::TRecordId));
}

}  // namespace
}  // namespace norvale
