#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "domains/TDomainRecord.h"
#include "domains/TDomainTable.h"
#include "util/ENorvaleError.h"

namespace norvale {

// A filter text that cannot be read as a condition (for example "<x" on Size).
class EFilterError : public ENorvaleError {
public:
    using ENorvaleError::ENorvaleError;
};

// "*" stands for any run of characters; the pattern must match the whole value, and
// ASCII letters match either case.
bool MatchesPattern(std::string_view pattern, std::string_view value);

// One column's condition, compiled from what the user typed in its filter editor.
class TColumnCondition {
public:
    // Text fields take a pattern. Size takes "<", "<=", ">", ">=", "=" followed by a
    // number, a bare number, a range "a..b" (both ends included), or a pattern
    // containing "*" that is matched against the number's decimal text.
    // Leading and trailing blanks are ignored. An empty text is no condition (nullopt).
    static std::optional<TColumnCondition> Parse(TDomainField field, std::string_view text);

    bool Matches(const TDomainTable& table, TDomainTable::TRecordId id) const;
    bool MatchesText(std::string_view value) const;
    bool MatchesSize(std::int32_t value) const;

    TDomainField Field() const { return field_; }
    // The condition in words, with the column's caption: Extension equals "com".
    std::string Describe(std::string_view caption) const;

private:
    enum class TKind : std::uint8_t {
        Pattern,
        Less,
        LessEqual,
        Greater,
        GreaterEqual,
        Equal,
        Range
    };
    TDomainField field_ = TDomainField::Domain;
    TKind kind_ = TKind::Pattern;
    std::string pattern_;
    std::int64_t low_ = 0;
    std::int64_t high_ = 0;
};

// The conditions of a grid's filter row, one per column at most; a record passes when
// it meets every condition.
class TColumnFilter {
public:
    // Sets or (with an empty text) removes the condition on field. Throws EFilterError
    // for a text that is no condition; the filter then keeps its earlier condition.
    void Set(TDomainField field, std::string_view text);
    void Remove(TDomainField field) { conditions_[Index(field)].reset(); }
    void Clear();
    bool Empty() const;
    const std::optional<TColumnCondition>& ConditionOn(TDomainField field) const {
        return conditions_[Index(field)];
    }

    bool Matches(const TDomainTable& table, TDomainTable::TRecordId id) const;
    // Like Matches, leaving out the condition on one field (for a column's pick list).
    bool MatchesExcept(const TDomainTable& table, TDomainTable::TRecordId id,
                       TDomainField skipped) const;

    // The active filter in words, conditions joined by " and ", in column order;
    // captions[i] names field i. Empty when there is no condition.
    std::string Describe(const std::array<std::string, kDomainFieldCount>& captions) const;

    // Applies the filter to the table (clears the table's filter when empty).
    void ApplyTo(TDomainTable& table) const;

private:
    static std::size_t Index(TDomainField field) { return static_cast<std::size_t>(field); }
    std::array<std::optional<TColumnCondition>, kDomainFieldCount> conditions_;
};

// The distinct values of one column with their counts, over every record that passes
// filter without its condition on that column, sorted as the table sorts the column.
// nullopt once more than limit values turn up, so long lists (names) cost little.
using TDistinctValues = std::vector<std::pair<std::string, std::size_t>>;
std::optional<TDistinctValues> DistinctValues(const TDomainTable& table, TDomainField field,
                                              const TColumnFilter& filter, std::size_t limit);

// A value as a filter editor text that selects exactly that value ("*" in it cannot
// be escaped, so such a value stays a pattern).
std::string EqualsFilterText(TDomainField field, std::string_view value);

}  // namespace norvale
