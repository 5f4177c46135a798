#pragma once

#include <string>

#include "rules/TRule.h"

namespace norvale {

// The rule list as copied to the clipboard: a line of the fifteen column captions,
// each followed by a tab, then per rule its caption and, for each sub-item, a tab and
// the cell. Every line ends with CR LF.
std::string RuleListText(const TRuleList& rules);

}  // namespace norvale
