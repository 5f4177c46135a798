#include "output/TExportLines.h"

#include <gtest/gtest.h>

#include "support/TFileSizeLimit.h"
#include "support/TTempDir.h"
#include "util/ENorvaleError.h"

namespace norvale {
namespace {

using test::TTempDir;

void Fill(TDomainTable& table) {
    table.Open();
    table.AppendRecord("delta", "co.uk", "12/24/2026", 5);
    table.AppendRecord("alpha-1", "com", "12/25/2026", 7);
    table.AppendRecord("Charlie", "net", "", 7);
    table.AppendRecord("bravo", "org", "12/26/2026", 5);
}

struct TLineCase {
    const char* what;
    TExportOptions options;
    const char* text;
};

class TExportLineTest : public ::testing::TestWithParam<TLineCase> {};

TEST_P(TExportLineTest, BuildsTheLinesOfTheChosenColumns) {
    TDomainTable table;
    Fill(table);
    EXPECT_EQ(ExportText(table, GetParam().options), GetParam().text) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TExportLineTest,
    ::testing::Values(TLineCase{"both columns",
                                {true, true, ','},
                                "delta.co.uk,12/24/2026,5\r\nalpha-1.com,12/25/"
                                "2026,7\r\nCharlie.net,,7\r\nbravo.org,12/26/2026,5\r\n"},
                      TLineCase{"semicolon",
                                {true, true, ';'},
                                "delta.co.uk;12/24/2026;5\r\nalpha-1.com;12/25/"
                                "2026;7\r\nCharlie.net;;7\r\nbravo.org;12/26/2026;5\r\n"},
                      TLineCase{"name only",
                                {false, false, ';'},
                                "delta.co.uk\r\nalpha-1.com\r\nCharlie.net\r\nbravo.org\r\n"},
                      TLineCase{"date only",
                                {true, false, '\t'},
                                "delta.co.uk\t12/24/2026\r\nalpha-1.com\t12/25/"
                                "2026\r\nCharlie.net\t\r\nbravo.org\t12/26/2026\r\n"},
                      TLineCase{
                          "size only",
                          {false, true, '|'},
                          "delta.co.uk|5\r\nalpha-1.com|7\r\nCharlie.net|7\r\nbravo.org|5\r\n"}));

TEST(TExportLinesTest, AnEmptyListGivesNoBytes) {
    TDomainTable table;
    table.Open();
    EXPECT_EQ(ExportText(table, {}), "");
    TTempDir dir;
    ExportToFile(table, {}, dir.File("empty.txt"));
    ASSERT_TRUE(dir.Exists("empty.txt"));
    EXPECT_EQ(dir.Read("empty.txt"), "");
}

TEST(TExportLinesTest, KeepsEveryByteAndTheSizeAsStored) {
    TDomainTable table;
    table.Open();
    table.AppendRecord("caf\xe9", "ca", "1.1.2027",
                       -3);  // 8-bit text and the stored size, not a new count
    EXPECT_EQ(ExportText(table, {}), "caf\xe9.ca,1.1.2027,-3\r\n");
}

TEST(TExportLinesTest, ExportsWhatTheTableYieldsInItsOrderAndLeavesTheCursor) {
    TDomainTable table;
    Fill(table);
    table.SortOn(TDomainField::Domain);
    table.SetFilter([](const TDomainTable& t, TDomainTable::TRecordId id) {
        return t.SizeOf(id) == 7 || t.TextOf(id, TDomainField::Dom) == "org";
    });
    table.MoveTo(1);
    const std::string cursorDomain(table.Text(TDomainField::Domain));
    EXPECT_EQ(ExportText(table, {false, true, ','}),
              "alpha-1.com,7\r\nbravo.org,5\r\nCharlie.net,7\r\n");
    EXPECT_EQ(table.RecNo(), 1u);
    EXPECT_EQ(table.Text(TDomainField::Domain), cursorDomain);
}

TEST(TExportLinesTest, AListLargerThanOneChunkComesOutWholeAndInOrder) {
    TDomainTable table;
    table.Open();
    const int count = 120000;  // past the 1 MiB chunk
    for (int i = 0; i < count; ++i)
        table.AppendRecord("n" + std::to_string(i), "com", "01/01/2027", i);
    TTempDir dir;
    ExportToFile(table, {}, dir.File("big.txt"));
    const std::string text = dir.Read("big.txt");
    EXPECT_EQ(text, ExportText(table, {}));
    EXPECT_EQ(text.substr(0, 22), "n0.com,01/01/2027,0\r\nn");
    const std::string last = "\nn119999.com,01/01/2027,119999\r\n";
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

TEST(TExportLinesTest, AFailedExportLeavesTheExistingFileAsItWas) {
    TDomainTable table;
    Fill(table);
    TTempDir dir;
    dir.Write("out.txt", "previous export\r\n");
    {
        test::TFileSizeLimit limit(16);  // the new content cannot be written whole
        EXPECT_THROW(ExportToFile(table, {}, dir.File("out.txt")), EFileError);
    }
    EXPECT_EQ(dir.Read("out.txt"), "previous export\r\n");
    try {
        ExportToFile(table, {}, dir.File("no such folder/out.txt"));
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find("no such folder/out.txt"), std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace norvale
