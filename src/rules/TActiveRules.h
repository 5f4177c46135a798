#pragma once

#include <array>
#include <cstdint>
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

    // Checked rules left out because they lack some of their fourteen cells (only
    // files written elsewhere hold such rows): their 0-based rows in the rule list.
    const std::vector<std::size_t>& SkippedRows() const { return skipped_; }

private:
    enum class TKeywordTest : std::uint8_t { None, Anywhere, AtStart, AtEnd };
    enum class TLengthTest : std::uint8_t { Any, Exactly, AtMost, Invalid };

    // One active rule, decoded once per build so that the walk over a few million
    // names does not parse cells.
    struct TCompiled {
        TKeywordTest keywordTest = TKeywordTest::None;
        std::string keyword;
        std::string exclude;
        std::uint64_t keywordLow = 0, keywordHigh = 0;  // the keyword's bytes, as in TNameFacts
        std::uint64_t excludeLow = 0, excludeHigh = 0;
        bool noDashes = false;
        bool noDigits = false;
        TLengthTest lengthTest = TLengthTest::Any;
        std::int64_t length = 0;
        std::string lengthText;  // the number part, for the error message
        std::uint16_t extensions = 0;  // bit i: the rule accepts kExtensionList[i]
    };
    // What the tests need to know of a name, found in one pass: the exact dash and
    // digit flags, and which byte values (folded to 7 bits) occur, so that a keyword
    // with a byte the name lacks is passed over without a search.
    struct TNameFacts {
        std::uint64_t low = 0;
        std::uint64_t high = 0;
        bool dash = false;
        bool digit = false;
        static TNameFacts Of(std::string_view name) {
            TNameFacts f;
            for (const char ch : name) {
                const auto c = static_cast<unsigned char>(ch);
                f.dash |= c == '-';
                f.digit |= c >= '0' && c <= '9';
                const std::uint64_t bit = std::uint64_t(1) << (c & 63);
                const std::uint64_t upper = (c >> 6) & 1;  // no branch: the bytes are random
                f.high |= bit & (0 - upper);
                f.low |= bit & (upper - 1);
            }
            return f;
        }
        bool MayContain(std::uint64_t l, std::uint64_t h) const { return (low & l) == l && (high & h) == h; }
    };
    static TCompiled Compile(const TRule& rule, const std::string& keyword);
    static bool Accepts(const TCompiled& rule, std::string_view name, int extension, const TNameFacts& facts);

    // The rules a domain can reach, by extension (10: none of the list) and name length
    // (kLongNames: that long or longer), in their order. A rule whose length cell is not
    // a number is in every list, since it raises whatever the extension and length.
    static constexpr std::size_t kLongNames = 64;
    static constexpr std::size_t kBucketCount = 11 * (kLongNames + 1);
    void BuildCandidates();

    TRuleList rows_;
    std::vector<std::string> keywords_;
    std::vector<TCompiled> compiled_;
    std::vector<std::uint32_t> candidateStart_;  // kBucketCount + 1 offsets into candidates_
    std::vector<std::uint32_t> candidates_;
    std::vector<std::size_t> skipped_;
};

// Position of extension in the extension list (the captions of columns 5 to 14),
// compared exactly; -1 when it is none of them.
int ExtensionIndex(std::string_view extension);

// The runtime's integer conversion as the matcher needs it: an optional sign and ASCII
// digits within 32 bits. False for anything else.
bool ParseRuleInteger(std::string_view text, std::int32_t& value);

}  // namespace norvale
