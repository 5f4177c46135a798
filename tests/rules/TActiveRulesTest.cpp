// The matcher as one table: every test of a rule, the order in which they run (which
// decides when a bad length cell raises) and rules as alternatives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/TActiveRules.h"
#include "util/ENorvaleError.h"

namespace norvale {
namespace {

// A checked rule; extensions: one letter per column, "Y" for "Yes", "N" for "No",
// anything else is written as given (single characters only).
TRule R(std::string pattern, std::string exclude = "", std::string dashes = "No", std::string digits = "No",
        std::string length = "*", std::string extensions = "YYYYYYYYYY") {
    TRule rule{std::move(pattern), {std::move(exclude), std::move(dashes), std::move(digits), std::move(length)}, true};
    for (const char e : extensions)
        rule.SubItems.push_back(e == 'Y' ? "Yes" : e == 'N' ? "No" : std::string(1, e));
    return rule;
}

struct TMatchCase {
    const char* what;
    TRuleList rules;
    std::string name;
    std::string extension;
    std::string expected;  // "yes", "no", or the error's text
};

TEST(Matcher, EveryTestInOrder) {
    const std::string com = "com";
    const std::vector<TMatchCase> cases = {
        {"no active rules", {}, "shop", com, "no"},
        {"no keyword, all extensions", {R("**")}, "anything-9", com, "yes"},
        {"an extension outside the ten", {R("**")}, "shop", "xyz", "no"},
        {"the extension compares exactly", {R("**")}, "shop", "COM", "no"},
        {"last extension column", {R("**", "", "No", "No", "*", "NNNNNNNNNY")}, "shop", "me.uk", "yes"},
        {"a cell other than exactly No accepts", {R("**", "", "No", "No", "*", "nNNNNNNNNN")}, "shop", com, "yes"},
        {"the extension's cell is No", {R("**", "", "No", "No", "*", "NYYYYYYYYY")}, "shop", com, "no"},

        {"anywhere: inside", {R("*shop*")}, "myshopping", com, "yes"},
        {"anywhere: at start", {R("*shop*")}, "shopping", com, "yes"},
        {"anywhere: case counts", {R("*shop*")}, "myShop", com, "no"},
        {"anywhere: the keyword itself", {R("*shop*")}, "shop", com, "yes"},
        {"at start: holds", {R("shop*")}, "shopnow", com, "yes"},
        {"at start: not at start", {R("shop*")}, "myshop", com, "no"},
        {"at start: name shorter than keyword", {R("shop*")}, "sho", com, "no"},
        {"at start: the keyword itself", {R("shop*")}, "shop", com, "yes"},
        {"at end: holds", {R("*shop")}, "myshop", com, "yes"},
        {"at end: not at end", {R("*shop")}, "shopnow", com, "no"},
        {"at end: name shorter than keyword", {R("*shop")}, "hop", com, "no"},
        {"at end: the keyword itself", {R("*shop")}, "shop", com, "yes"},
        {"a lone star is no keyword", {R("*")}, "x", com, "yes"},
        {"inner stars are dropped from the keyword", {R("*a*b*")}, "xaby", com, "yes"},
        {"inner stars are not wildcards", {R("*a*b*")}, "axb", com, "no"},
        {"first and last character decide: *a*b is at end", {R("*a*b")}, "xxab", com, "yes"},
        {"*a*b is not anywhere", {R("*a*b")}, "abxx", com, "no"},
        {"a pattern without stars has no keyword test", {R("shop")}, "zzz", com, "yes"},

        {"excluded keyword found", {R("**", "bad")}, "badger", com, "no"},
        {"excluded keyword absent", {R("**", "bad")}, "goodone", com, "yes"},
        {"excluded keyword is case-sensitive", {R("**", "bad")}, "Badger", com, "yes"},
        {"a star in the exclusion is literal", {R("**", "b*d")}, "bad", com, "yes"},

        {"no dashes: a dash fails", {R("**", "", "Yes")}, "a-b", com, "no"},
        {"no dashes: without a dash", {R("**", "", "Yes")}, "ab", com, "yes"},
        {"no dashes only for exactly Yes", {R("**", "", "yes")}, "a-b", com, "yes"},
        {"no digits: a digit fails", {R("**", "", "No", "Yes")}, "ab7", com, "no"},
        {"no digits: without digits", {R("**", "", "No", "Yes")}, "ab", com, "yes"},

        {"exactly 6: six", {R("**", "", "No", "No", "=6")}, "abcdef", com, "yes"},
        {"exactly 6: five", {R("**", "", "No", "No", "=6")}, "abcde", com, "no"},
        {"exactly 6: seven", {R("**", "", "No", "No", "=6")}, "abcdefg", com, "no"},
        {"exactly: the first character is skipped whatever it is", {R("**", "", "No", "No", "x6")}, "abcdef", com, "yes"},
        {"exactly with a sign", {R("**", "", "No", "No", "=+3")}, "abc", com, "yes"},
        {"at most 6: three", {R("**", "", "No", "No", "<=6")}, "abc", com, "yes"},
        {"at most 6: six", {R("**", "", "No", "No", "<=6")}, "abcdef", com, "yes"},
        {"at most 6: seven", {R("**", "", "No", "No", "<=6")}, "abcdefg", com, "no"},
        {"at most a negative number", {R("**", "", "No", "No", "<=-1")}, "a", com, "no"},
        {"largest 32-bit length", {R("**", "", "No", "No", "<=2147483647")}, "a", com, "yes"},

        {"not a number", {R("**", "", "No", "No", "=abc")}, "a", com, "'abc' is not a valid integer value"},
        {"no number after =", {R("**", "", "No", "No", "=")}, "a", com, "'' is not a valid integer value"},
        {"no number after <=", {R("**", "", "No", "No", "<=")}, "a", com, "'' is not a valid integer value"},
        {"an empty length cell", {R("**", "", "No", "No", "")}, "a", com, "'' is not a valid integer value"},
        {"beyond 32 bits", {R("**", "", "No", "No", "=2147483648")}, "a", com,
         "'2147483648' is not a valid integer value"},
        {"a blank is no digit", {R("**", "", "No", "No", "<= 5")}, "a", com, "' 5' is not a valid integer value"},
        {"a sign alone", {R("**", "", "No", "No", "=-")}, "a", com, "'-' is not a valid integer value"},
        {"bad length after a failing keyword test is never read", {R("x*", "", "No", "No", "=abc")}, "a", com, "no"},
        {"bad length after a failing exclusion is never read", {R("**", "a", "No", "No", "=abc")}, "a", com, "no"},
        {"bad length after failing digits is never read", {R("**", "", "No", "Yes", "=q")}, "a1", com, "no"},
        {"bad length raises before the extension is looked at",
         {R("**", "", "No", "No", "=abc", "NNNNNNNNNN")}, "a", "xyz", "'abc' is not a valid integer value"},

        {"rules are alternatives: the second accepts", {R("x*"), R("*b")}, "ab", com, "yes"},
        {"one rule's No, another's Yes", {R("**", "", "No", "No", "*", "NYYYYYYYYY"), R("*a*")}, "a", com, "yes"},
        {"both rules fail", {R("x*"), R("y*")}, "ab", com, "no"},
        {"an accepting rule ends the walk before a bad one", {R("**"), R("**", "", "No", "No", "=z")}, "a", com, "yes"},
        {"a failing rule passes the walk on to a bad one", {R("x*"), R("**", "", "No", "No", "=z")}, "a", com,
         "'z' is not a valid integer value"},
    };
    for (const TMatchCase& c : cases) {
        SCOPED_TRACE(c.what);
        TActiveRules active;
        active.BuildActiveRules(c.rules);
        std::string got;
        try {
            got = active.MatchesRules(c.name, c.extension) ? "yes" : "no";
        } catch (const ENorvaleError& e) {
            got = e.what();
        }
        EXPECT_EQ(got, c.expected);
    }
}

TEST(ActiveRules, CopiesTheCheckedRulesWithTheirBareKeywords) {
    TRule off = R("*off*");
    off.Checked = false;
    TRule extra = R("a*b*");
    extra.SubItems.push_back("surplus");
    TRule shortRow{"*", {"", "No", "No", "*", "Yes"}, true};  // a file written elsewhere
    TActiveRules active;
    active.BuildActiveRules({off, R("*x*y*"), shortRow, extra, R("**")});

    EXPECT_EQ(active.ActiveKeywords(), (std::vector<std::string>{"xy", "ab", ""}));
    ASSERT_EQ(active.Rows().size(), 3u);
    EXPECT_EQ(active.Rows()[1].Caption, "a*b*");
    EXPECT_EQ(active.Rows()[1].SubItems.size(), 14u);  // sub-items 0 to 13 only
    EXPECT_EQ(active.SkippedRows(), (std::vector<std::size_t>{2}));
    // A rebuild starts afresh.
    active.BuildActiveRules({});
    EXPECT_TRUE(active.Rows().empty());
    EXPECT_TRUE(active.ActiveKeywords().empty());
}

TEST(ActiveRules, AShortRowNeitherAcceptsNorFails) {
    TActiveRules active;
    active.BuildActiveRules({TRule{"**", {}, true}, TRule{"**", {"", "No", "No", "=bad"}, true}});
    EXPECT_FALSE(active.MatchesRules("anything", "com"));
    active.BuildActiveRules({TRule{"**", {}, true}, R("*a*")});
    EXPECT_TRUE(active.MatchesRules("a", "com"));
}

}  // namespace
}  // namespace norvale
