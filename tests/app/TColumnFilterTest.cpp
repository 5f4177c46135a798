#include "domains/TColumnFilter.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(MatchesPattern, StarsAnchorsAndCase) {
    struct TCase {
        const char* pattern;
        const char* value;
        bool matches;
    };
    const TCase cases[] = {
        {"shop", "shop", true},      {"shop", "SHOP", true},      {"shop", "shops", false},
        {"shop*", "shopping", true}, {"shop*", "eshop", false},   {"*shop", "eshop", true},
        {"*shop", "shops", false},   {"*shop*", "myshops", true}, {"*shop*", "shpo", false},
        {"s*p", "sp", true},         {"s*p", "shop", true},       {"s*p", "shops", false},
        {"a*b*c", "aXbYc", true},    {"a*b*c", "acb", false},     {"*", "", true},
        {"**", "x", true},           {"ab*ab", "ab", false},      {"ab*ab", "abab", true},
        {"*a*a*", "banana", true},   {"*aa*", "banana", false},   {"", "", true},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(MatchesPattern(c.pattern, c.value), c.matches) << c.pattern << " / " << c.value;
}

TEST(TColumnCondition, SizeComparisons) {
    struct TCase {
        const char* text;
        std::int32_t value;
        bool matches;
    };
    const TCase cases[] = {
        {"<5", 4, true},   {"<5", 5, false},   {"<=5", 5, true},  {"<=5", 6, false},
        {">5", 6, true},   {">5", 5, false},   {">=5", 5, true},  {">=5", 4, false},
        {"=5", 5, true},   {"5", 5, true},     {"5", 15, false},  {"3..8", 3, true},
        {"3..8", 8, true}, {"3..8", 9, false}, {"8..3", 5, true}, {" >= 10 ", 10, true},
        {"1*", 12, true},  {"1*", 21, false},  {"-1", -1, true},
    };
    for (const TCase& c : cases) {
        const auto condition = TColumnCondition::Parse(TDomainField::Size, c.text);
        ASSERT_TRUE(condition) << c.text;
        EXPECT_EQ(condition->MatchesSize(c.value), c.matches) << c.text << " / " << c.value;
    }
}

TEST(TColumnCondition, BadSizeTextsAreRefusedAndBlankIsNoCondition) {
    for (const char* text : {"<", "abc", "5..", "..5", "<=x", "5 6", "=<5"})
        EXPECT_THROW(TColumnCondition::Parse(TDomainField::Size, text), EFilterError) << text;
    EXPECT_FALSE(TColumnCondition::Parse(TDomainField::Size, "   "));
    EXPECT_FALSE(TColumnCondition::Parse(TDomainField::Domain, ""));
    // On a text column every text is a pattern, comparison signs included.
    const auto lt = TColumnCondition::Parse(TDomainField::Domain, "<5");
    ASSERT_TRUE(lt);
    EXPECT_TRUE(lt->MatchesText("<5"));
}

TEST(TColumnFilter, DescribesEveryConditionInColumnOrder) {
    TColumnFilter filter;
    const std::array<std::string, kDomainFieldCount> captions = {"Domain name", "Extension",
                                                                 "Exp.Date", "Size"};
    EXPECT_EQ(filter.Describe(captions), "");
    filter.Set(TDomainField::Size, "3..8");
    filter.Set(TDomainField::Domain, "*shop*");
    filter.Set(TDomainField::Dom, "com");
    EXPECT_EQ(filter.Describe(captions),
              "Domain name contains \"shop\" and Extension equals \"com\" and Size is from 3 to 8");
    struct TCase {
        TDomainField field;
        const char* text;
        const char* words;
    };
    const TCase cases[] = {{TDomainField::Domain, "shop*", "Domain name starts with \"shop\""},
                           {TDomainField::Domain, "*shop", "Domain name ends with \"shop\""},
                           {TDomainField::Domain, "s*p", "Domain name is like \"s*p\""},
                           {TDomainField::Size, "<=4", "Size is at most 4"},
                           {TDomainField::Size, ">4", "Size is more than 4"}};
    for (const TCase& c : cases) {
        TColumnFilter one;
        one.Set(c.field, c.text);
        EXPECT_EQ(one.Describe(captions), c.words);
    }
}

TEST(TColumnFilter, BadTextKeepsTheEarlierCondition) {
    TColumnFilter filter;
    filter.Set(TDomainField::Size, ">3");
    EXPECT_THROW(filter.Set(TDomainField::Size, ">x"), EFilterError);
    ASSERT_TRUE(filter.ConditionOn(TDomainField::Size));
    EXPECT_TRUE(filter.ConditionOn(TDomainField::Size)->MatchesSize(4));
    filter.Set(TDomainField::Size, "");
    EXPECT_TRUE(filter.Empty());
}

class TFilterTable : public ::testing::Test {
protected:
    void SetUp() override {
        table.Open();
        table.AppendRecord("shopnow", "com", "1/2/2024", 7);
        table.AppendRecord("myshop", "NET", "1/3/2024", 6);
        table.AppendRecord("cars", "com", "1/2/2024", 4);
        table.AppendRecord("ShopLand", "net", "1/5/2024", 8);
        table.AppendRecord("x", "org", "1/9/2024", 1);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (std::size_t row = 0; row < table.RecordCount(); ++row)
            out.emplace_back(table.TextOf(table.RecordAtRow(row), TDomainField::Domain));
        return out;
    }
    TDomainTable table;
};

TEST_F(TFilterTable, AppliedToTheTableItselfAndCleared) {
    TColumnFilter filter;
    filter.Set(TDomainField::Domain, "*shop*");
    filter.Set(TDomainField::Dom, "net");
    filter.ApplyTo(table);
    EXPECT_EQ(Names(), (std::vector<std::string>{"myshop", "ShopLand"}));
    // The table holds its own copy: changing the filter object changes nothing until applied.
    filter.Set(TDomainField::Dom, "com");
    EXPECT_EQ(table.RecordCount(), 2u);
    filter.ApplyTo(table);
    EXPECT_EQ(Names(), (std::vector<std::string>{"shopnow"}));
    filter.Clear();
    filter.ApplyTo(table);
    EXPECT_FALSE(table.Filtered());
    EXPECT_EQ(table.RecordCount(), 5u);
}

TEST_F(TFilterTable, DistinctValuesIgnoreTheirOwnColumnAndCase) {
    TColumnFilter filter;
    filter.Set(TDomainField::Dom, "com");  // its own column's condition does not narrow its list
    filter.Set(TDomainField::Size, ">=4");
    filter.ApplyTo(table);
    const auto doms = DistinctValues(table, TDomainField::Dom, filter, 10);
    ASSERT_TRUE(doms);
    EXPECT_EQ(*doms, (TDistinctValues{{"com", 2}, {"NET", 2}}));
    const auto sizes = DistinctValues(table, TDomainField::Size, filter, 10);
    ASSERT_TRUE(sizes);
    EXPECT_EQ(*sizes, (TDistinctValues{{"4", 1}, {"7", 1}}));
    EXPECT_FALSE(DistinctValues(table, TDomainField::Domain, TColumnFilter{}, 4));
    ASSERT_TRUE(DistinctValues(table, TDomainField::Domain, TColumnFilter{}, 5));
}

TEST_F(TFilterTable, DistinctValuesSkipDeletedRecords) {
    table.MoveTo(4);  // "x", the only "org"
    table.Delete();
    const auto doms = DistinctValues(table, TDomainField::Dom, TColumnFilter{}, 10);
    ASSERT_TRUE(doms);
    EXPECT_EQ(doms->size(), 2u);
}

}  // namespace
}  // namespace norvale
