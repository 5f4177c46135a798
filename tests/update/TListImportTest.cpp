#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "update/TListImport.h"

namespace norvale {
namespace {

std::vector<TDomainRecord> Records(const TDomainTable& table) {
    std::vector<TDomainRecord> out;
    for (std::size_t row = 0; row < table.RecordCount(); ++row)
        out.push_back(table.RecordOf(table.RecordAtRow(row)));
    return out;
}

struct TLineCase {
    const char* line;
    TDomainRecord expected;
};

class LineToRecord : public ::testing::TestWithParam<TLineCase> {};

TEST_P(LineToRecord, GivesTheStoredRecord) {
    const TLineCase& c = GetParam();
    EXPECT_EQ(RecordOfLine(c.line), c.expected) << c.line;
    // The import itself stores the same record.
    const TImportResult result = ImportListText(c.line, nullptr);
    ASSERT_EQ(result.full.TotalRecordCount(), 1u);
    EXPECT_EQ(Records(result.full)[0], c.expected);
}

const std::string kLongName(300, 'n');

INSTANTIATE_TEST_SUITE_P(
    Lines, LineToRecord,
    ::testing::Values(
        // The worked examples.
        TLineCase{"example.com,05/31/2008", {"example", "com", "05/31/2008", 7}},
        TLineCase{"example.info,05/31/2008", {"example", "info", "05/31/2008", 7}},
        TLineCase{"example.ca,05/31/2008", {"example", "ca", "05/31/2008", 7}},
        TLineCase{"example.co.uk,05/31/2008", {"example", "co.uk", "05/31/2008", 7}},
        TLineCase{"example.org.uk,05/31/2008", {"example", "org.uk", "05/31/2008", 7}},
        TLineCase{"example.me.uk,1", {"example", "me.uk", "1", 7}},
        TLineCase{"EXAMPLE.COM,05/31/2008", {"EXAMPLE", "COM", "05/31/2008", 7}},
        TLineCase{"example.com,05/31/2008,x,y", {"example", "com", "05/31/2008", 7}},
        TLineCase{" example.com,05/31/2008", {" example", "com", "05/31/2008", 8}},
        TLineCase{"examplecom,05/31/2008", {"examplecom", "com", "05/31/2008", 10}},
        TLineCase{"us,05/31/2008", {"us", "us", "05/31/2008", 2}},
        TLineCase{"a.us,d", {"a", "us", "d", 1}},
        // Mended: a found tail needs the dot right before it ...
        TLineCase{"example.plus,d", {"example", "plus", "d", 7}},
        TLineCase{"example.africa,d", {"example", "africa", "d", 7}},
        TLineCase{"example.bus,d", {"example", "bus", "d", 7}},
        // ... and the fallback is what follows the name, not the last six characters.
        TLineCase{"example.de,05/31/2008", {"example", "de", "05/31/2008", 7}},
        TLineCase{"example.com.au,d", {"example", "com.au", "d", 7}},
        TLineCase{"examplede,d", {"examplede", "", "d", 9}},
        // The cuts of the record's fields; Size counts the name before its cut.
        TLineCase{"example.abcdefghijklm,d", {"example", "abcdefghij", "d", 7}},
        TLineCase{"example.com,05/31/2008 23:59", {"example", "com", "05/31/2008 2", 7}},
        TLineCase{"example.com", {"example", "com", "", 7}},
        TLineCase{",05/31/2008", {"", "", "05/31/2008", 0}}));

TEST(ListImport, LongNameIsCutButSizeIsTheWholeLength) {
    const TDomainRecord r = RecordOfLine(kLongName + ".com,d");
    EXPECT_EQ(r.Domain, std::string(255, 'n'));
    EXPECT_EQ(r.Size, 300);
    EXPECT_EQ(r.Dom, "com");
}

TEST(ListImport, CutsLinesAtCrLfAndCrLfSkipsEmptyLinesAndStopsAtNul) {
    const std::string text =
        std::string("a.com,1\r\nb.net,2\rc.org,3\n\n\r\nd.biz,4\r\n") + '\0' + "e.com,5\n";
    const TImportResult result = ImportListText(text, nullptr);
    const std::vector<TDomainRecord> expected = {
        {"a", "com", "1", 1}, {"b", "net", "2", 1}, {"c", "org", "3", 1}, {"d", "biz", "4", 1}};
    EXPECT_EQ(Records(result.full), expected);
    EXPECT_EQ(result.lines, 6u);  // the two empty lines count as lines, not records
    EXPECT_FALSE(result.cancelled);
}

TEST(ListImport, EmptyTextGivesEmptyLists) {
    const TImportResult result = ImportListText("", [](auto, auto) { return true; });
    EXPECT_EQ(result.full.TotalRecordCount(), 0u);
    EXPECT_EQ(result.match.TotalRecordCount(), 0u);
    EXPECT_TRUE(result.full.Active());
}

TEST(ListImport, MatcherSeesStoredValuesAndDuplicatesStay) {
    std::vector<std::pair<std::string, std::string>> asked;
    const auto matcher = [&](std::string_view name, std::string_view ext) {
        asked.emplace_back(name, ext);
        return ext == "com";
    };
    const std::string text =
        kLongName + ".com,d\nshop.net,d\nshop.com,d\nshop.com,d\nx.abcdefghijklm,d\n";
    const TImportResult result = ImportListText(text, matcher);
    ASSERT_EQ(asked.size(), 5u);
    EXPECT_EQ(asked[0].first, std::string(255, 'n'));  // cut, as stored
    EXPECT_EQ(asked[4].second, "abcdefghij");
    EXPECT_EQ(result.full.TotalRecordCount(), 5u);
    const std::vector<TDomainRecord> matches = {
        {std::string(255, 'n'), "com", "d", 300}, {"shop", "com", "d", 4}, {"shop", "com", "d", 4}};
    EXPECT_EQ(Records(result.match), matches);
}

std::string Lines(std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i) text += "d" + std::to_string(i) + ".com,05/31/2008\r\n";
    return text;
}

TEST(ListImport, ProgressEvery3000Lines) {
    struct TCase {
        std::size_t lines;
        std::vector<std::size_t> progress;
    };
    for (const TCase& c : {TCase{2999, {}}, TCase{3000, {2999}}, TCase{6001, {2999, 5999}}}) {
        std::vector<std::size_t> seen;
        const TImportResult result =
            ImportListText(Lines(c.lines), nullptr, [&](std::size_t i) { seen.push_back(i); });
        EXPECT_EQ(seen, c.progress) << c.lines << " lines";
        EXPECT_EQ(result.full.TotalRecordCount(), c.lines);
    }
    EXPECT_EQ(LoadingText(2999), "Loading...2999");
}

TEST(ListImport, CancelStopsAtTheNextLineAndSaysSo) {
    bool cancel = false;
    std::vector<std::size_t> seen;
    const TImportResult result = ImportListText(
        Lines(9000), [](auto, auto) { return true; },
        [&](std::size_t i) {
            seen.push_back(i);
            cancel = true;  // as a press of Cancel while events are handled
        },
        &cancel);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(seen, std::vector<std::size_t>{2999});
    EXPECT_EQ(result.full.TotalRecordCount(), 3000u);

    cancel = true;
    EXPECT_EQ(ImportListText(Lines(5), nullptr, {}, &cancel).full.TotalRecordCount(), 0u);
}

TEST(ListImport, MatcherErrorTravelsOn) {
    const auto failing = [](std::string_view, std::string_view) -> bool {
        throw std::runtime_error("'x' is not a valid integer value");
    };
    EXPECT_THROW(ImportListText("a.com,1\n", failing), std::runtime_error);
}

}  // namespace
}  // namespace norvale
