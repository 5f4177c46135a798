// Rule-list files as exact bytes: what the writer produces and what the reader makes
// of good, old and damaged files.
#include <gtest/gtest.h>

#include <string>

#include "support/TTempDir.h"
#include "rules/TRuleListFile.h"
#include "util/ENorvaleError.h"
#include "util/TFileIO.h"

namespace norvale {
namespace {

using test::TTempDir;
using namespace std::string_literals;

// A 16-bit little-endian number.
std::string W(unsigned n) { return std::string{static_cast<char>(n & 0xff), static_cast<char>(n >> 8)}; }
std::string T(const std::string& text) { return W(static_cast<unsigned>(text.size())) + text; }

const std::string kHeader = "LISTVIEW01\x80"s;

TRule Rule(std::string caption, std::vector<std::string> cells, bool checked) {
    return TRule{std::move(caption), std::move(cells), checked};
}

std::vector<std::string> Cells14(const std::string& exclude) {
    return {exclude, "No", "Yes", "<=6", "Yes", "No", "Yes", "Yes", "Yes", "Yes", "Yes", "Yes", "Yes", "No"};
}

std::string Record(const TRule& rule) {
    std::string out = W(static_cast<unsigned>(rule.SubItems.size() + 1));
    out.push_back(static_cast<char>(rule.Checked ? 0x81 : 0x80));
    out += T(rule.Caption);
    for (const auto& cell : rule.SubItems) out += T(cell);
    return out;
}

TEST(RuleListFile, EmptyListIsTheElevenByteHeader) {
    TTempDir dir;
    SaveRuleList({}, dir.File("rules.dat"));
    EXPECT_EQ(dir.Read("rules.dat"), kHeader);
}

TEST(RuleListFile, WritesExactBytesAndReadsThemBack) {
    TTempDir dir;
    const TRule shop = Rule("*shop*", Cells14(""), true);
    const TRule bad = Rule("sh*", Cells14("bad"), false);
    const TRuleList rules{shop, bad, shop};  // duplicates stay two rows
    SaveRuleList(rules, dir.File("rules.dat"));

    const std::string expected = kHeader + W(15) + "\x81"s + T("*shop*") + T("") + T("No") + T("Yes") + T("<=6") +
                                 T("Yes") + T("No") + T("Yes") + T("Yes") + T("Yes") + T("Yes") + T("Yes") + T("Yes") +
                                 T("Yes") + T("No") + Record(bad) + Record(shop);
    EXPECT_EQ(dir.Read("rules.dat"), expected);

    const TRuleListLoad load = LoadRuleList(dir.File("rules.dat"));
    EXPECT_EQ(load.rules, rules);
    EXPECT_FALSE(load.damaged);
}

TEST(RuleListFile, RefusesATextLongerThanTheReaderKeeps) {
    TTempDir dir;
    dir.Write("rules.dat", "before");
    const TRuleList rules{Rule(std::string(kMaxRuleTextLength + 1, 'a'), Cells14(""), true)};
    try {
        SaveRuleList(rules, dir.File("rules.dat"));
        FAIL() << "saved a text that would wrap its length";
    } catch (const ENorvaleError& e) {
        EXPECT_NE(std::string(e.what()).find("2049"), std::string::npos) << e.what();
    }
    EXPECT_EQ(dir.Read("rules.dat"), "before");
    // The longest text that fits goes through.
    const TRuleList longest{Rule(std::string(kMaxRuleTextLength, 'a'), Cells14(""), true)};
    SaveRuleList(longest, dir.File("rules.dat"));
    EXPECT_EQ(LoadRuleList(dir.File("rules.dat")).rules, longest);
}

TEST(RuleListFile, FileErrorsNameTheFileAndTheReason) {
    TTempDir dir;
    const std::string missingFolder = dir.File("no/such/rules.dat");
    try {
        SaveRuleList({}, missingFolder);
        FAIL();
    } catch (const EFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + missingFolder + "\". No such file or directory");
    }
    try {
        LoadRuleList(dir.File("absent.dat"));
        FAIL();
    } catch (const EFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + dir.File("absent.dat") + "\". No such file or directory");
    }
}

struct TLoadCase {
    const char* what;
    std::string bytes;
    TRuleList expected;
    bool damaged;
};

TEST(RuleListFile, ReadsEveryLayoutAndEdge) {
    const std::string caption2049 = std::string(2049, 'k');
    const std::vector<TLoadCase> cases = {
        {"empty file", "", {}, false},
        {"header only", kHeader, {}, false},
        {"signature without options byte", "LISTVIEW01", {}, true},
        {"options without the check-box bit load every rule unchecked",
         "LISTVIEW01\x00"s + W(2) + "\x81"s + T("a*") + T("x"), {Rule("a*", {"x"}, false)}, false},
        {"count 0 is an empty row that takes only its two bytes",
         kHeader + W(0) + W(1) + "\x81"s + T("b*"), {Rule("", {}, false), Rule("b*", {}, true)}, false},
        {"a negative count reads like 0", kHeader + W(0xffff) + W(1) + "\x80"s + T("c"),
         {Rule("", {}, false), Rule("c", {}, false)}, false},
        {"a text ends at its first zero byte", kHeader + W(2) + "\x81"s + T("ab\0cd"s) + T("x\0"s),
         {Rule("ab", {"x"}, true)}, false},
        {"a stored text past 2049 bytes keeps 2049 and the next field stays aligned",
         kHeader + W(2) + "\x81"s + T(caption2049 + "zzz") + T("next") + W(1) + "\x80"s + T("2nd"),
         {Rule(caption2049, {"next"}, true), Rule("2nd", {}, false)}, false},
        {"cut inside a text keeps the rows so far and what was there",
         kHeader + W(1) + "\x81"s + T("one") + W(3) + "\x81"s + T("two") + W(9) + "ab",
         {Rule("one", {}, true), Rule("two", {"ab"}, true)}, true},
        {"cut inside a count", kHeader + W(1) + "\x81"s + T("one") + "\x02", {Rule("one", {}, true)}, true},
        {"cut before the flags byte", kHeader + W(2), {Rule("", {}, false)}, true},
        {"older layout", "Tshop*\0bad\0No\1Fab\1"s, {Rule("shop*", {"bad", "No"}, true), Rule("ab", {}, false)}, false},
        {"older layout, empty first text is an unchecked empty rule", "\0x\1Tz\1"s,
         {Rule("", {"x"}, false), Rule("z", {}, true)}, false},
        {"older layout cut inside a rule", "Ta\1Tb\0c"s, {Rule("a", {}, true), Rule("b", {}, true)}, true},
        {"older layout with texts across 100-byte blocks", "T" + std::string(150, 'q') + "\0"s + std::string(120, 'r') + "\1",
         {Rule(std::string(150, 'q'), {std::string(120, 'r')}, true)}, false},
    };
    for (const TLoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        TTempDir dir;
        dir.Write("rules.dat", c.bytes);
        const TRuleListLoad load = LoadRuleList(dir.File("rules.dat"));
        EXPECT_EQ(load.rules, c.expected);
        EXPECT_EQ(load.damaged, c.damaged);
        if (c.damaged) {
            // The original is kept aside, so that saving what loaded cannot destroy the rest.
            ASSERT_FALSE(load.keptAside.empty());
            EXPECT_FALSE(dir.Exists("rules.dat"));
            EXPECT_EQ(ReadWholeFile(load.keptAside), c.bytes);
        } else {
            EXPECT_TRUE(load.keptAside.empty());
            EXPECT_EQ(dir.Read("rules.dat"), c.bytes);
        }
    }
}

}  // namespace
}  // namespace norvale
