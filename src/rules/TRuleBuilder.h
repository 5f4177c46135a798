#pragma once

#include <array>
#include <string>

#include "rules/TRule.h"

namespace norvale {

// Choices of the editor's drop-down lists, in their item order.
enum class TKeyPosition : int { Anywhere = 0, AtStart = 1, AtEnd = 2 };
enum class TLengthChoice : int { NoMatter = 0, Exactly = 1, NoMoreThan = 2 };

// What the rule editor's controls hold ("rules add" fills the same values).
struct TRuleEditorValues {
    std::string keyword;
    TKeyPosition position = TKeyPosition::Anywhere;
    std::string excludeKeyword;
    bool noDashes = false;
    bool noDigits = false;
    std::string lengthText = "12";
    TLengthChoice length = TLengthChoice::NoMatter;
    std::array<bool, 10> extensions{true, true, true, true, true, true, true, true, true, true};
};

// The cells of the rule that "Insert Rule" appends, checked. No validation beyond the
// keyword boxes' limit: a keyword or excluded keyword longer than kMaxKeywordLength
// is refused.
TRule BuildRule(const TRuleEditorValues& values);

// Lower-cases ASCII letters and trims blanks and control characters at both ends.
std::string LowerTrimmed(const std::string& text);

}  // namespace norvale
