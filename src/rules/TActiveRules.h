#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/TRule.h"

namespace norvale {

// The active rules: copies of the checked rules with their bare keywords, which is all
// the matcher reads. Rebuilt by BuildActiveRules from the rule list.
class TActiveRules {
public:
    void BuildActiveRules(const TRuleList& LV);
    void Clear();

    // True when some active rule accepts the domain (name without extension, and the
    // extension, both as stored). Raises "'%s' is not a valid integer value" when it
    // reaches a rule whose length cell holds no valid number.
    bool MatchesRules(std::string_view name, std::string_view extension) const;

    const TRuleList& Rows() const;                          // LVChecked's rows
    const std::vector<std::string>& ActiveKeywords() const;  // the patterns without "*"
};

}  // namespace norvale
