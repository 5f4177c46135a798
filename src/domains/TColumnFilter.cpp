#include "domains/TColumnFilter.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>
#include <unordered_map>

namespace norvale {

namespace {
inline unsigned char Fold(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

bool EqualFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(static_cast<unsigned char>(a[i])) != Fold(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Where needle first occurs in hay at or after from, letters folded; npos when nowhere.
std::size_t FindFolded(std::string_view hay, std::string_view needle, std::size_t from) {
    if (needle.empty())
        return from;
    if (hay.size() < needle.size())
        return std::string_view::npos;
    const unsigned char first = Fold(static_cast<unsigned char>(needle[0]));
    for (std::size_t i = from; i + needle.size() <= hay.size(); ++i) {
        if (Fold(static_cast<unsigned char>(hay[i])) != first)
            continue;
        if (EqualFolded(hay.substr(i, needle.size()), needle))
            return i;
    }
    return std::string_view::npos;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::optional<std::int64_t> ParseNumber(std::string_view s) {
    s = Trim(s);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty())
        return std::nullopt;
    std::int64_t v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    // Far beyond any 32-bit size; keeps the comparisons free of overflow.
    if (v < -(std::int64_t(1) << 40) || v > (std::int64_t(1) << 40))
        return std::nullopt;
    return v;
}

int CompareFolded(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = Fold(static_cast<unsigned char>(a[i]));
        const unsigned char y = Fold(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
}  // namespace

bool MatchesPattern(std::string_view pattern, std::string_view value) {
    const std::size_t star = pattern.find('*');
    if (star == std::string_view::npos)
        return EqualFolded(pattern, value);
    // The piece before the first "*" anchors the start, the piece after the last the
    // end; the pieces between must follow each other. Taking each middle piece at its
    // earliest place is enough: a later place never leaves more room for the rest.
    const std::size_t lastStar = pattern.rfind('*');
    const std::string_view head = pattern.substr(0, star);
    const std::string_view tail = pattern.substr(lastStar + 1);
    if (head.size() + tail.size() > value.size())
        return false;
    if (!EqualFolded(head, value.substr(0, head.size())))
        return false;
    if (!EqualFolded(tail, value.substr(value.size() - tail.size())))
        return false;
    std::size_t at = head.size();
    const std::size_t end = value.size() - tail.size();
    std::string_view middle = pattern.substr(star + 1, lastStar > star ? lastStar - star - 1 : 0);
    while (!middle.empty()) {
        const std::size_t next = middle.find('*');
        const std::string_view piece = middle.substr(0, next);
        if (!piece.empty()) {
            const std::size_t found = FindFolded(value.substr(0, end), piece, at);
            if (found == std::string_view::npos)
                return false;
            at = found + piece.size();
        }
        if (next == std::string_view::npos)
            break;
        middle.remove_prefix(next + 1);
    }
    return true;
}

std::optional<TColumnCondition> TColumnCondition::Parse(TDomainField field, std::string_view text) {
    text = Trim(text);
    if (text.empty())
        return std::nullopt;
    TColumnCondition c;
    c.field_ = field;
    if (field != TDomainField::Size || text.find('*') != std::string_view::npos) {
        c.kind_ = TKind::Pattern;
        c.pattern_ = std::string(text);
        return c;
    }
    const auto bad = [&] {
        std::string message;
        message += '"';
        message += text;
        message += "\" is not a size condition";
        return EFilterError(message);
    };
    if (const std::size_t dots = text.find(".."); dots != std::string_view::npos) {
        const auto low = ParseNumber(text.substr(0, dots));
        const auto high = ParseNumber(text.substr(dots + 2));
        if (!low || !high)
            throw bad();
        c.kind_ = TKind::Range;
        c.low_ = std::min(*low, *high);
        c.high_ = std::max(*low, *high);
        return c;
    }
    struct TOp {
        std::string_view text;
        TKind kind;
    };
    // Two-character operators first, so "<=" is not read as "<" and "=...".
    static constexpr TOp ops[] = {{"<=", TKind::LessEqual},
                                  {">=", TKind::GreaterEqual},
                                  {"<", TKind::Less},
                                  {">", TKind::Greater},
                                  {"=", TKind::Equal}};
    c.kind_ = TKind::Equal;
    std::string_view number = text;
    for (const TOp& op : ops) {
        if (text.substr(0, op.text.size()) == op.text) {
            c.kind_ = op.kind;
            number = text.substr(op.text.size());
            break;
        }
    }
    const auto v = ParseNumber(number);
    if (!v)
        throw bad();
    c.low_ = c.high_ = *v;
    return c;
}

bool TColumnCondition::MatchesText(std::string_view value) const {
    return MatchesPattern(pattern_, value);
}

bool TColumnCondition::MatchesSize(std::int32_t value) const {
    const std::int64_t v = value;
    switch (kind_) {
        case TKind::Pattern:
            return MatchesPattern(pattern_, std::to_string(value));
        case TKind::Less:
            return v < low_;
        case TKind::LessEqual:
            return v <= low_;
        case TKind::Greater:
            return v > low_;
        case TKind::GreaterEqual:
            return v >= low_;
        case TKind::Equal:
            return v == low_;
        case TKind::Range:
            return v >= low_ && v <= high_;
    }
    return false;
}

bool TColumnCondition::Matches(const TDomainTable& table, TDomainTable::TRecordId id) const {
    if (field_ == TDomainField::Size)
        return MatchesSize(table.SizeOf(id));
    return MatchesText(table.TextOf(id, field_));
}

std::string TColumnCondition::Describe(std::string_view caption) const {
    std::string out(caption);
    const auto quoted = [](std::string_view s) {
        std::string q;
        q.reserve(s.size() + 2);
        q += '"';
        q += s;
        q += '"';
        return q;
    };
    switch (kind_) {
        case TKind::Pattern: {
            const std::string_view p = pattern_;
            const std::size_t stars = static_cast<std::size_t>(std::count(p.begin(), p.end(), '*'));
            if (stars == 0)
                return out + " equals " + quoted(p);
            if (p.size() == 1)
                return out + " is anything";
            if (stars == 1 && p.back() == '*')
                return out + " starts with " + quoted(p.substr(0, p.size() - 1));
            if (stars == 1 && p.front() == '*')
                return out + " ends with " + quoted(p.substr(1));
            if (stars == 2 && p.size() > 2 && p.front() == '*' && p.back() == '*')
                return out + " contains " + quoted(p.substr(1, p.size() - 2));
            return out + " is like " + quoted(p);
        }
        case TKind::Less:
            return out + " is less than " + std::to_string(low_);
        case TKind::LessEqual:
            return out + " is at most " + std::to_string(low_);
        case TKind::Greater:
            return out + " is more than " + std::to_string(low_);
        case TKind::GreaterEqual:
            return out + " is at least " + std::to_string(low_);
        case TKind::Equal:
            return out + " is " + std::to_string(low_);
        case TKind::Range:
            return out + " is from " + std::to_string(low_) + " to " + std::to_string(high_);
    }
    return out;
}

void TColumnFilter::Set(TDomainField field, std::string_view text) {
    conditions_[Index(field)] = TColumnCondition::Parse(field, text);
}

void TColumnFilter::Clear() {
    for (auto& c : conditions_) c.reset();
}

bool TColumnFilter::Empty() const {
    return std::none_of(conditions_.begin(), conditions_.end(),
                        [](const auto& c) { return c.has_value(); });
}

bool TColumnFilter::Matches(const TDomainTable& table, TDomainTable::TRecordId id) const {
    for (const auto& c : conditions_)
        if (c && !c->Matches(table, id))
            return false;
    return true;
}

bool TColumnFilter::MatchesExcept(const TDomainTable& table, TDomainTable::TRecordId id,
                                  TDomainField skipped) const {
    for (const auto& c : conditions_)
        if (c && c->Field() != skipped && !c->Matches(table, id))
            return false;
    return true;
}

std::string TColumnFilter::Describe(
    const std::array<std::string, kDomainFieldCount>& captions) const {
    std::string out;
    for (std::size_t i = 0; i < conditions_.size(); ++i) {
        if (!conditions_[i])
            continue;
        if (!out.empty())
            out += " and ";
        out += conditions_[i]->Describe(captions[i]);
    }
    return out;
}

void TColumnFilter::ApplyTo(TDomainTable& table) const {
    if (Empty()) {
        table.ClearFilter();
        return;
    }
    // The table keeps its own copy: later edits of this filter do not leak into it.
    table.SetFilter([copy = *this](const TDomainTable& t, TDomainTable::TRecordId id) {
        return copy.Matches(t, id);
    });
}

std::optional<TDistinctValues> DistinctValues(const TDomainTable& table, TDomainField field,
                                              const TColumnFilter& filter, std::size_t limit) {
    const std::size_t slots = table.SlotCount();
    TDistinctValues out;
    if (field == TDomainField::Size) {
        std::map<std::int32_t, std::size_t> counts;
        for (TDomainTable::TRecordId id = 0; id < slots; ++id) {
            if (!table.IsLive(id) || !filter.MatchesExcept(table, id, field))
                continue;
            ++counts[table.SizeOf(id)];
            if (counts.size() > limit)
                return std::nullopt;
        }
        for (const auto& [v, n] : counts) out.emplace_back(std::to_string(v), n);
        return out;
    }
    // Values that differ only in letter case are one value to the filter, so they are
    // one entry here, shown as first met.
    std::unordered_map<std::string, std::size_t> index;
    for (TDomainTable::TRecordId id = 0; id < slots; ++id) {
        if (!table.IsLive(id) || !filter.MatchesExcept(table, id, field))
            continue;
        const std::string_view value = table.TextOf(id, field);
        std::string key(value);
        for (char& ch : key) ch = static_cast<char>(Fold(static_cast<unsigned char>(ch)));
        const auto [it, added] = index.try_emplace(std::move(key), out.size());
        if (added) {
            if (out.size() >= limit)
                return std::nullopt;
            out.emplace_back(std::string(value), 0);
        }
        ++out[it->second].second;
    }
    std::sort(out.begin(), out.end(),
              [](const auto& a, const auto& b) { return CompareFolded(a.first, b.first) < 0; });
    return out;
}

std::string EqualsFilterText(TDomainField field, std::string_view value) {
    std::string text;
    if (field == TDomainField::Size)
        text += '=';
    text += value;
    return text;
}

}  // namespace norvale
