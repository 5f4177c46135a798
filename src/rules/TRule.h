#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace norvale {

// A rule is a row of fifteen text cells and a check box: the keyword pattern
// (caption) and fourteen sub-items: excluded keyword, "Yes"/"No" no dashes,
// "Yes"/"No" no digits, the length cell ("*", "=N", "<=N"), then "Yes"/"No" for each
// of the ten extensions.
constexpr int kRuleSubItemCount = 14;
constexpr int kRuleColumnCount = 15;
// The longest text a rule-list file holds.
constexpr std::size_t kMaxRuleTextLength = 2049;
// The longest keyword the editor and "rules add" take.
constexpr std::size_t kMaxKeywordLength = 255;

// Column captions of the rule list and of the active rules, in column order.
extern const std::array<const char*, kRuleColumnCount> kRuleColumnCaptions;
// The extension list of the whole program, in its order (columns 5 to 14).
extern const std::array<const char*, 10> kExtensionList;

struct TRule {
    std::string Caption;                // the keyword pattern
    std::vector<std::string> SubItems;  // fourteen for every rule the program writes
    bool Checked = false;

    bool operator==(const TRule&) const = default;
};

// The rows of the rule list in order; duplicates are kept.
using TRuleList = std::vector<TRule>;

}  // namespace norvale
