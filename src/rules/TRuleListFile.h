#pragma once

#include <string>

#include "rules/TRule.h"

namespace norvale {

// What a load found. A damaged file (cut short, a length past its end) loads what
// it can; its original is then kept aside under another name (keptAsAside) before
// any later save can overwrite the rest.
struct TRuleListLoad {
    TRuleList rules;
    bool damaged = false;
    std::string keptAside;  // the new name of the damaged original, if it was moved
};

// The rule-list file layout shared by rules.dat and every ".set" file ("LISTVIEW01").
// Writes atomically; refuses a text longer than kMaxRuleTextLength. Errors:
// "Cannot create file "%s". %s".
void SaveRuleList(const TRuleList& rules, const std::string& path);
// Reads both layouts (LISTVIEW01 and the older one). Errors: "Cannot open file "%s". %s".
// keepDamagedAside false: a reader that must not write (a read-only command while the
// desktop program may hold the folder) leaves a damaged file where it is.
TRuleListLoad LoadRuleList(const std::string& path, bool keepDamagedAside = true);

}  // namespace norvale
