#include "rules/TActiveRules.h"

#include <array>
#include <cstring>

#include "util/ENorvaleError.h"

namespace norvale {

namespace {
// Short texts compared as one number: every extension of the list fits in eight bytes,
// and the walk looks one up per domain.
std::uint64_t Packed(std::string_view text) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < text.size(); ++i) v |= std::uint64_t(static_cast<unsigned char>(text[i])) << (8 * i);
    return v;
}

struct TPackedExtensions {
    std::array<std::uint64_t, 10> value{};
    std::array<std::uint8_t, 10> length{};
    TPackedExtensions() {
        for (std::size_t i = 0; i < kExtensionList.size(); ++i) {
            const std::string_view e = kExtensionList[i];
            value[i] = Packed(e);
            length[i] = static_cast<std::uint8_t>(e.size());
        }
    }
};
const TPackedExtensions kPacked;

bool SameBytes(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// Names are short, so a plain scan beats the library's setup for long texts.
bool Contains(std::string_view text, const std::string& key) {
    const std::size_t m = key.size();
    if (m > text.size()) return false;
    const char first = key[0];
    const char* p = text.data();
    const char* last = p + (text.size() - m);
    for (; p <= last; ++p)
        if (*p == first && SameBytes(p + 1, key.data() + 1, m - 1)) return true;
    return false;
}
}  // namespace

int ExtensionIndex(std::string_view extension) {
    if (extension.size() > 8) return -1;
    const std::uint64_t v = Packed(extension);
    for (std::size_t i = 0; i < kExtensionList.size(); ++i)
        if (kPacked.value[i] == v && kPacked.length[i] == extension.size()) return static_cast<int>(i);
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
    candidateStart_.clear();
    candidates_.clear();
}

void TActiveRules::BuildCandidates() {
    candidateStart_.assign(1, 0);
    for (std::size_t ext = 0; ext <= 10; ++ext) {
        for (std::size_t length = 0; length <= kLongNames; ++length) {
            const auto n = static_cast<std::int64_t>(length);
            const bool longNames = length == kLongNames;
            for (std::uint32_t i = 0; i < compiled_.size(); ++i) {
                const TCompiled& rule = compiled_[i];
                bool reachable = rule.lengthTest == TLengthTest::Invalid;
                if (!reachable && ext < 10 && (rule.extensions & (1u << ext))) {
                    switch (rule.lengthTest) {
                        case TLengthTest::Any:
                            reachable = true;
                            break;
                        case TLengthTest::Exactly:
                            reachable = longNames ? rule.length >= n : rule.length == n;
                            break;
                        case TLengthTest::AtMost:
                            reachable = rule.length >= n;
                            break;
                        case TLengthTest::Invalid:
                            break;
                    }
                }
                if (reachable) candidates_.push_back(i);
            }
            candidateStart_.push_back(static_cast<std::uint32_t>(candidates_.size()));
        }
    }
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
    const TNameFacts keywordBytes = TNameFacts::Of(c.keyword);
    c.keywordLow = keywordBytes.low;
    c.keywordHigh = keywordBytes.high;
    const TNameFacts excludeBytes = TNameFacts::Of(c.exclude);
    c.excludeLow = excludeBytes.low;
    c.excludeHigh = excludeBytes.high;
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
    BuildCandidates();
}

bool TActiveRules::Accepts(const TCompiled& rule, std::string_view name, int extension, const TNameFacts& facts) {
    const std::size_t n = name.size();
    const std::string& k = rule.keyword;
    if (rule.lengthTest != TLengthTest::Invalid) {
        // Every test is a plain condition here, so the cheap ones go first.
        if (extension < 0 || !(rule.extensions & (1u << extension))) return false;
        if (rule.lengthTest == TLengthTest::Exactly && static_cast<std::int64_t>(n) != rule.length) return false;
        if (rule.lengthTest == TLengthTest::AtMost && static_cast<std::int64_t>(n) > rule.length) return false;
        if (rule.noDashes && facts.dash) return false;
        if (rule.noDigits && facts.digit) return false;
    }
    switch (rule.keywordTest) {
        case TKeywordTest::None:
            break;
        case TKeywordTest::Anywhere:
            if (!facts.MayContain(rule.keywordLow, rule.keywordHigh) || !Contains(name, k)) return false;
            break;
        case TKeywordTest::AtStart:
            if (n < k.size() || !SameBytes(name.data(), k.data(), k.size())) return false;
            break;
        case TKeywordTest::AtEnd:
            if (n < k.size() || !SameBytes(name.data() + n - k.size(), k.data(), k.size())) return false;
            break;
    }
    if (!rule.exclude.empty() && facts.MayContain(rule.excludeLow, rule.excludeHigh) && Contains(name, rule.exclude))
        return false;
    if (rule.lengthTest != TLengthTest::Invalid) return true;
    // The first rule in order whose tests before the length hold raises, whatever the
    // extension: the conversion ends the caller's run there.
    if (rule.noDashes && facts.dash) return false;
    if (rule.noDigits && facts.digit) return false;
    throw ENorvaleError("'" + rule.lengthText + "' is not a valid integer value");
}

bool TActiveRules::MatchesRules(std::string_view name, std::string_view extension) const {
    if (compiled_.empty()) return false;
    const int ext = ExtensionIndex(extension);
    const std::size_t bucket = static_cast<std::size_t>(ext < 0 ? 10 : ext) * (kLongNames + 1) +
                               (name.size() < kLongNames ? name.size() : kLongNames);
    const std::uint32_t from = candidateStart_[bucket];
    const std::uint32_t to = candidateStart_[bucket + 1];
    if (from == to) return false;
    const TNameFacts facts = TNameFacts::Of(name);
    for (std::uint32_t c = from; c < to; ++c)
        if (Accepts(compiled_[candidates_[c]], name, ext, facts)) return true;
    return false;
}

const TRuleList& TActiveRules::Rows() const { return rows_; }
const std::vector<std::string>& TActiveRules::ActiveKeywords() const { return keywords_; }

}  // namespace norvale
