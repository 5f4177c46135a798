#include "rules/TActiveRules.h"

#include <cstring>

#include "util/ENorvaleError.h"

namespace norvale {

int ExtensionIndex(std::string_view extension) {
    for (std::size_t i = 0; i < kExtensionList.size(); ++i)
        if (extension == kExtensionList[i]) return static_cast<int>(i);
    return -1;
}

bool ParseRuleInteger(std::string_view text, std::int32_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    std::int64_t n = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
        if (n > std::int64_t(1) << 31) return false;
    }
    if (negative) n = -n;
    if (n < INT32_MIN || n > INT32_MAX) return false;
    value = static_cast<std::int32_t>(n);
    return true;
}

void TActiveRules::Clear() {
    keywords_.clear();
    rows_.clear();
    compiled_.clear();
    skipped_.clear();
}

TActiveRules::TCompiled TActiveRules::Compile(const TRule& rule, const std::string& keyword) {
    TCompiled c;
    const std::string& pattern = rule.Caption;
    if (pattern != "**" && !keyword.empty()) {
        // A non-empty keyword implies a non-empty pattern.
        const bool first = pattern.front() == '*';
        const bool last = pattern.back() == '*';
        if (first && last)
            c.keywordTest = TKeywordTest::Anywhere;
        else if (first)
            c.keywordTest = TKeywordTest::AtEnd;
        else if (last)
            c.keywordTest = TKeywordTest::AtStart;
        c.keyword = keyword;
    }
    c.exclude = rule.SubItems[0];
    c.noDashes = rule.SubItems[1] == "Yes";
    c.noDigits = rule.SubItems[2] == "Yes";

    const std::string& length = rule.SubItems[3];
    if (length == "*") {
        c.lengthTest = TLengthTest::Any;
    } else {
        const bool atMost = length.rfind("<=", 0) == 0;
        const std::size_t from = atMost ? 2 : 1;
        c.lengthText = length.size() > from ? length.substr(from) : std::string();
        std::int32_t n = 0;
        if (ParseRuleInteger(c.lengthText, n)) {
            c.lengthTest = atMost ? TLengthTest::AtMost : TLengthTest::Exactly;
            c.length = n;
        } else {
            c.lengthTest = TLengthTest::Invalid;
        }
    }
    for (std::size_t i = 0; i < kExtensionList.size(); ++i)
        if (rule.SubItems[4 + i] != "No") c.extensions |= static_cast<std::uint16_t>(1u << i);
    return c;
}

void TActiveRules::BuildActiveRules(const TRuleList& LV) {
    Clear();
    for (std::size_t r = 0; r < LV.size(); ++r) {
        const TRule& rule = LV[r];
        if (!rule.Checked) continue;
        // A short row would read cells it does not have; it takes no part in
        // matching, so it can neither fail every run nor accept everything.
        if (rule.SubItems.size() < static_cast<std::size_t>(kRuleSubItemCount)) {
            skipped_.push_back(r);
            continue;
        }
        TRule copy;
        copy.Caption = rule.Caption;
        copy.Checked = true;
        copy.SubItems.assign(rule.SubItems.begin(), rule.SubItems.begin() + kRuleSubItemCount);
        std::string keyword;
        for (const char ch : rule.Caption)
            if (ch != '*') keyword.push_back(ch);
        compiled_.push_back(Compile(copy, keyword));
        rows_.push_back(std::move(copy));
        keywords_.push_back(std::move(keyword));
    }
}

bool TActiveRules::Accepts(const TCompiled& rule, std::string_view name, int extension) {
    const std::size_t n = name.size();
    if (rule.lengthTest != TLengthTest::Invalid) {
        // Every test is a plain condition here, so the cheap ones go first.
        if (extension < 0 || !(rule.extensions & (1u << extension))) return false;
        if (rule.lengthTest == TLengthTest::Exactly && static_cast<std::int64_t>(n) != rule.length) return false;
        if (rule.lengthTest == TLengthTest::AtMost && static_cast<std::int64_t>(n) > rule.length) return false;
    }
    const std::string& k = rule.keyword;
    switch (rule.keywordTest) {
        case TKeywordTest::None:
            break;
        case TKeywordTest::Anywhere:
            if (n < k.size() || !::memmem(name.data(), n, k.data(), k.size())) return false;
            break;
        case TKeywordTest::AtStart:
            if (n < k.size() || std::memcmp(name.data(), k.data(), k.size()) != 0) return false;
            break;
        case TKeywordTest::AtEnd:
            if (n < k.size() || std::memcmp(name.data() + n - k.size(), k.data(), k.size()) != 0) return false;
            break;
    }
    if (!rule.exclude.empty() && n >= rule.exclude.size() &&
        ::memmem(name.data(), n, rule.exclude.data(), rule.exclude.size()))
        return false;
    if (rule.noDashes && std::memchr(name.data(), '-', n)) return false;
    if (rule.noDigits) {
        for (const char c : name)
            if (c >= '0' && c <= '9') return false;
    }
    // The conversion fails only once the tests before it have held, and then it ends
    // the caller's run, whatever the extension.
    if (rule.lengthTest == TLengthTest::Invalid)
        throw ENorvaleError("'" + rule.lengthText + "' is not a valid integer value");
    return true;
}

bool TActiveRules::MatchesRules(std::string_view name, std::string_view extension) const {
    if (compiled_.empty()) return false;
    const int ext = ExtensionIndex(extension);
    for (const TCompiled& rule : compiled_)
        if (Accepts(rule, name, ext)) return true;
    return false;
}

const TRuleList& TActiveRules::Rows() const { return rows_; }
const std::vector<std::string>& TActiveRules::ActiveKeywords() const { return keywords_; }

}  // namespace norvale
