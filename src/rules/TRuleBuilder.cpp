#include "rules/TRuleBuilder.h"

#include "util/ENorvaleError.h"

namespace norvale {

std::string LowerTrimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    std::string out = text.substr(begin, end - begin);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

TRule BuildRule(const TRuleEditorValues& values) {
    if (values.keyword.size() > kMaxKeywordLength || values.excludeKeyword.size() > kMaxKeywordLength)
        throw ENorvaleError("A keyword holds at most " + std::to_string(kMaxKeywordLength) + " characters.");
    std::string pattern;
    switch (values.position) {
        case TKeyPosition::Anywhere:
            pattern = "*" + values.keyword + "*";
            break;
        case TKeyPosition::AtStart:
            pattern = values.keyword + "*";
            break;
        case TKeyPosition::AtEnd:
            pattern = "*" + values.keyword;
            break;
    }
    std::string lengthCell;
    switch (values.length) {
        case TLengthChoice::NoMatter:
            lengthCell = "*";
            break;
        case TLengthChoice::Exactly:
            lengthCell = "=" + values.lengthText;
            break;
        case TLengthChoice::NoMoreThan:
            lengthCell = "<=" + values.lengthText;
            break;
    }
    TRule rule;
    rule.Checked = true;
    // Trimmed as a whole, so a blank typed next to a "*" stays.
    rule.Caption = LowerTrimmed(pattern);
    rule.SubItems.push_back(LowerTrimmed(values.excludeKeyword));
    rule.SubItems.push_back(values.noDashes ? "Yes" : "No");
    rule.SubItems.push_back(values.noDigits ? "Yes" : "No");
    rule.SubItems.push_back(lengthCell);
    for (const bool on : values.extensions) rule.SubItems.push_back(on ? "Yes" : "No");
    return rule;
}

}  // namespace norvale
