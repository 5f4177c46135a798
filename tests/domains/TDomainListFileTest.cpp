#include "domains/TDomainListFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "domains/DomainFixtures.h"
#include "support/TFileSizeLimit.h"
#include "support/TTempDir.h"
#include "util/TCrc32.h"

namespace norvale {
namespace {

using test::TableOf;
using test::TTempDir;
using test::Walk;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::vector<TDomainRecord> MixedRecords() {
    return {
        {"delta", "net", "05/31/2008", 5},
        {std::string(255, 'L'), "co.uk", "123456789012", 255},
        {"caf\xe9-\xff", "org.uk", "06/01/2008", 6},
        {"", "", "", 0},
        {"alpha", "com", "05/30/2008", INT32_MIN},
        {"bravo", "com", "05/31/2008", INT32_MAX},
        {"dup", "com", "05/31/2008", 3},
        {"dup", "com", "05/31/2008", 3},
        {"echo", "me.uk", "", -1},
        {"Zed", "info", "06/02/2008", 3},
    };
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Rewrites the checksum after an edit, so that only the decoder's other checks can
// catch the edit.
std::string Resealed(std::string bytes) {
    const std::uint32_t crc = Crc32Update(0, bytes.data(), bytes.size() - 4);
    for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = static_cast<char>(crc >> (8 * i));
    return bytes;
}

TEST(TDomainListFileTest, SaveWritesEveryRecordInOrderOfAdditionWhateverTheSortAndFilter) {
    TTempDir dir;
    TDomainTable table = TableOf(MixedRecords());
    table.SortOn(TDomainField::Dom);
    table.SetFilter([](const TDomainTable& t, TDomainTable::TRecordId id) {
        return t.TextOf(id, TDomainField::Dom) == "com";
    });
    ASSERT_EQ(table.RecordCount(), 4u);
    table.MoveTo(2);
    TDomainListFile::Save(table, dir.File("dlist.dat"));
    // The save changed nothing of what the table yields.
    EXPECT_EQ(table.RecordCount(), 4u);
    EXPECT_EQ(table.RecNo(), 2u);
    EXPECT_EQ(table.SortField(), TDomainField::Dom);

    TDomainTable loaded;
    loaded.Open();
    TDomainListFile::Load(loaded, dir.File("dlist.dat"));
    EXPECT_EQ(Walk(loaded), MixedRecords());
    EXPECT_THAT(FilesIn(dir.Path()), ElementsAre("dlist.dat"));
}

TEST(TDomainListFileTest, DeletedRecordsAreNotSavedAndAnEmptyListRoundTrips) {
    TTempDir dir;
    TDomainTable table = TableOf(MixedRecords());
    table.MoveTo(1);
    table.Delete();
    TDomainListFile::Save(table, dir.File("mlist.dat"));
    auto expected = MixedRecords();
    expected.erase(expected.begin() + 1);
    TDomainTable loaded;
    loaded.Open();
    TDomainListFile::Load(loaded, dir.File("mlist.dat"));
    EXPECT_EQ(Walk(loaded), expected);

    TDomainTable empty;
    empty.Open();
    TDomainListFile::Save(empty, dir.File("draft.dat"));
    TDomainListFile::Load(loaded, dir.File("draft.dat"));
    EXPECT_EQ(loaded.TotalRecordCount(), 0u);
}

// Extensions and dates are stored through a dictionary of at most 255 texts; a list
// with more distinct values than that must still come back whole.
TEST(TDomainListFileTest, MoreDistinctExtensionsAndDatesThanTheDictionaryHolds) {
    TTempDir dir;
    std::vector<TDomainRecord> records;
    for (int i = 0; i < 700; ++i) {
        const std::string n = std::to_string(i);
        records.push_back({"name" + n, "x" + n, "d" + n + "/2026", static_cast<std::int32_t>(i)});
        records.push_back({"again" + n, "com", "12/11/2026", 5});  // a repeating value between
    }
    TDomainListFile::Save(TableOf(records), dir.File("dlist.dat"));
    TDomainTable loaded;
    loaded.Open();
    TDomainListFile::Load(loaded, dir.File("dlist.dat"));
    EXPECT_EQ(Walk(loaded), records);
}

TEST(TDomainListFileTest, LoadKeepsTheTablesSortAndFilter) {
    TTempDir dir;
    TDomainListFile::Save(TableOf(MixedRecords()), dir.File("dlist.dat"));
    TDomainTable table = TableOf({{"old", "com", "", 3}});
    table.SortOn(TDomainField::Size);
    table.SetFilter(
        [](const TDomainTable& t, TDomainTable::TRecordId id) { return t.SizeOf(id) == 3; });
    TDomainListFile::Load(table, dir.File("dlist.dat"));
    EXPECT_EQ(Walk(table), (std::vector<TDomainRecord>{{"dup", "com", "05/31/2008", 3},
                                                       {"dup", "com", "05/31/2008", 3},
                                                       {"Zed", "info", "06/02/2008", 3}}));
    EXPECT_EQ(table.TotalRecordCount(), 10u);
}

TEST(TDomainListFileTest, EveryCutAndEveryFlippedByteIsDetected) {
    TTempDir dir;
    TDomainListFile::Save(TableOf({{"ab", "com", "05/31/2008", 2}, {"xyz", "net", "", 3}}),
                          dir.File("good.dat"));
    const std::string good = dir.Read("good.dat");
    const std::vector<TDomainRecord> before = {{"kept", "org", "", 4}};

    std::vector<std::pair<std::string, std::string>> damaged;  // what, bytes
    for (std::size_t n = 0; n < good.size(); ++n)
        damaged.emplace_back("cut to " + std::to_string(n), good.substr(0, n));
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (unsigned char mask : {0x01, 0x80}) {
            std::string bytes = good;
            bytes[i] = static_cast<char>(bytes[i] ^ mask);
            damaged.emplace_back("byte " + std::to_string(i) + " flipped", bytes);
        }
    }
    damaged.emplace_back("a byte added", good + "x");

    // In memory and through the file (which is read in pieces, its checksum last).
    for (const auto& [what, bytes] : damaged) {
        TDomainTable table = TableOf(before);
        EXPECT_THROW(TDomainListFile::Decode(bytes, table), EDamagedListFile) << what;
        EXPECT_EQ(Walk(table), before) << what;
        dir.Write("bad.dat", bytes);
        try {
            TDomainListFile::Load(table, dir.File("bad.dat"));
            ADD_FAILURE() << what << " was not detected";
        } catch (const EDamagedListFile& e) {
            EXPECT_THAT(e.what(),
                        StartsWith("The list file \"" + dir.File("bad.dat") + "\" is damaged ("))
                << what;
        }
        EXPECT_EQ(Walk(table), before) << what;
    }
}

TEST(TDomainListFileTest, SoundChecksumOverWrongContentIsStillRefused) {
    TTempDir dir;
    TDomainListFile::Save(TableOf({{"ab", "com", "05/31/2008", 2}}), dir.File("good.dat"));
    const std::string good = dir.Read("good.dat");
    // Offsets in the layout: magic 0-7, version 8-9, field count 10-11, then the fields
    // ("Domain" at 12: length, name, type, width, kind = 11 bytes; "Dom" 8; "ExDate"
    // 11; "Size" 9), the record count at 51, the dictionaries at 59 (Domain: none;
    // Dom at 61: "com"; ExDate at 67), the record at 80: "ab", the codes of its Dom and
    // ExDate at 83 and 84, its Size at 85.
    struct TCase {
        const char* what;
        std::size_t offset;
        char value;
        const char* reason;
    };
    const TCase cases[] = {
        {"version 1", 8, 1, "unknown version 1"},
        {"no fields", 10, 0, "bad field definitions"},
        {"Domain as a number", 19, 2, "wrong type"},
        {"Size as a text", 47, 1, "wrong type"},
        {"unknown field type", 19, 9, "bad field type"},
        {"more records than the file holds", 51, 2, "cut short"},
        {"a record count past any file", 58, 1, "bad record count"},
        {"fewer records than the file holds", 51, 0, "data after the last record"},
        {"a dictionary past 255 texts", 62, 1, "bad dictionary"},
        {"a code past the dictionary", 83, 5, "bad dictionary code"},
        {"a number running past the last record", 85, '\xff', "cut short"},
    };
    ASSERT_EQ(good.size(), 90u);
    ASSERT_EQ(good.substr(81, 2), "ab");
    ASSERT_EQ(good[51], 1);
    for (const auto& c : cases) {
        std::string bytes = good;
        bytes[c.offset] = c.value;
        dir.Write("bad.dat", Resealed(bytes));
        TDomainTable table;
        table.Open();
        try {
            TDomainListFile::Load(table, dir.File("bad.dat"));
            ADD_FAILURE() << c.what << " was not detected";
        } catch (const EDamagedListFile& e) {
            EXPECT_THAT(e.what(), HasSubstr(c.reason)) << c.what;
        }
    }
}

TEST(TDomainListFileTest, FailedSaveNamesTheFileAndKeepsThePreviousOne) {
    TTempDir dir;
    TDomainListFile::Save(TableOf(MixedRecords()), dir.File("dlist.dat"));
    const std::string previous = dir.Read("dlist.dat");
    TDomainTable bigger = TableOf(test::CollidingRecords(5000, 3));
    {
        test::TFileSizeLimit diskFull(4096);
        try {
            TDomainListFile::Save(bigger, dir.File("dlist.dat"));
            ADD_FAILURE() << "no error";
        } catch (const EFileError& e) {
            EXPECT_THAT(e.what(),
                        StartsWith("Cannot create file \"" + dir.File("dlist.dat") + "\". "));
        }
    }
    EXPECT_EQ(dir.Read("dlist.dat"), previous);
    EXPECT_THAT(FilesIn(dir.Path()), ElementsAre("dlist.dat"));
    EXPECT_THROW(TDomainListFile::Save(bigger, dir.File("missing/dlist.dat")), EFileError);

    TDomainTable table;
    table.Open();
    try {
        TDomainListFile::Load(table, dir.File("none.dat"));
        ADD_FAILURE() << "no error";
    } catch (const EFileError& e) {
        EXPECT_THAT(e.what(), StartsWith("Cannot open file \"" + dir.File("none.dat") + "\". "));
    }
}

}  // namespace
}  // namespace norvale
