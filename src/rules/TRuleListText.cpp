#include "rules/TRuleListText.h"

namespace norvale {

std::string RuleListText(const TRuleList& rules) {
    std::string text;
    for (const char* caption : kRuleColumnCaptions) {
        text += caption;
        text += '\t';
    }
    text += "\r\n";
    for (const TRule& rule : rules) {
        text += rule.Caption;
        for (const std::string& cell : rule.SubItems) {
            text += '\t';
            text += cell;
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace norvale
