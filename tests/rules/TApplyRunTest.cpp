// Apply Rules as a core run: what it builds, in which order, and when it reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/TApplyRun.h"
#include "util/ENorvaleError.h"

namespace norvale {
namespace {

TRule AnyLength(std::string pattern, std::string length = "*") {
    TRule rule{std::move(pattern), {"", "No", "No", std::move(length)}, true};
    for (int i = 0; i < 10; ++i) rule.SubItems.push_back("Yes");
    return rule;
}

TDomainTable Full(std::size_t count) {
    TDomainTable t;
    t.Open();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = (i % 2 ? "shop" : "x") + std::to_string(i);
        t.AppendRecord(name, i % 3 ? "com" : "net", "12/31/2026", static_cast<std::int32_t>(name.size()));
    }
    return t;
}

std::vector<std::size_t> Progress(const TDomainTable& full, const TActiveRules& rules) {
    std::vector<std::size_t> seen;
    ApplyRules(full, rules, [&](std::size_t n) { seen.push_back(n); });
    return seen;
}

TEST(ApplyRun, BuildsTheMatchesInTheListsOrderWithEveryField) {
    TDomainTable full;
    full.Open();
    full.AppendRecord("zshop", "com", "01/02/2026", 5);
    full.AppendRecord("other", "com", "01/03/2026", 5);
    full.AppendRecord("ashop", "org", "01/04/2026", 99);  // the size is copied, not recomputed
    full.SortOn(TDomainField::Domain);
    full.MoveTo(1);
    TActiveRules rules;
    rules.BuildActiveRules({AnyLength("*shop")});

    TDomainTable built = ApplyRules(full, rules);
    ASSERT_EQ(built.RecordCount(), 2u);
    EXPECT_EQ(built.RecordOf(built.RecordAtRow(0)), (TDomainRecord{"ashop", "org", "01/04/2026", 99}));
    EXPECT_EQ(built.RecordOf(built.RecordAtRow(1)), (TDomainRecord{"zshop", "com", "01/02/2026", 5}));
    EXPECT_EQ(full.RecNo(), 1u) << "the walk must not move the list's cursor";
}

TEST(ApplyRun, EmptyListsAndNoRulesBuildNothing) {
    TActiveRules none;
    TActiveRules any;
    any.BuildActiveRules({AnyLength("**")});
    EXPECT_EQ(ApplyRules(Full(0), any).RecordCount(), 0u);
    EXPECT_EQ(ApplyRules(Full(10), none).RecordCount(), 0u);
    EXPECT_EQ(ApplyRules(Full(10), any).RecordCount(), 10u);
}

TEST(ApplyRun, ReportsAfterEveryThreeThousandRecords) {
    TActiveRules any;
    any.BuildActiveRules({AnyLength("**")});
    EXPECT_TRUE(Progress(Full(2999), any).empty());
    EXPECT_EQ(Progress(Full(3000), any), (std::vector<std::size_t>{3000}));
    EXPECT_EQ(Progress(Full(9001), any), (std::vector<std::size_t>{3000, 6000, 9000}));
    EXPECT_EQ(ProcessingRulesText(3000), "Processing rules...3000");
}

TEST(ApplyRun, WalksOnlyWhatTheFilterYields) {
    TDomainTable full = Full(10);
    full.SetFilter([](const TDomainTable& t, TDomainTable::TRecordId id) {
        return t.TextOf(id, TDomainField::Dom) == "net";
    });
    TActiveRules any;
    any.BuildActiveRules({AnyLength("**")});
    EXPECT_EQ(ApplyRules(full, any).RecordCount(), 4u);
}

TEST(ApplyRun, AMalformedLengthEndsTheRunWhenAMatchingNameReachesIt) {
    TDomainTable full = Full(100);
    TActiveRules rules;
    // Only the odd rows (shop...) get past the keyword to the bad length cell.
    rules.BuildActiveRules({AnyLength("x*"), AnyLength("shop*", "=ten")});
    std::size_t reports = 0;
    EXPECT_THROW(ApplyRules(full, rules, [&](std::size_t) { ++reports; }), ENorvaleError);
    EXPECT_EQ(reports, 0u);
}

}  // namespace
}  // namespace norvale
