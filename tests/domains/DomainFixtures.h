#pragma once

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "domains/TDomainTable.h"

namespace norvale {
// Readable records in failure messages.
inline void PrintTo(const TDomainRecord& r, std::ostream* os) {
    *os << "{" << r.Domain << ", " << r.Dom << ", " << r.ExDate << ", " << r.Size << "}";
}
}  // namespace norvale

namespace norvale::test {

// Every record the table yields, walked with its cursor.
inline std::vector<TDomainRecord> Walk(TDomainTable& table) {
    std::vector<TDomainRecord> out;
    for (table.First(); !table.Eof(); table.Next()) out.push_back(table.CurrentRecord());
    return out;
}

inline std::vector<std::string> WalkDomains(TDomainTable& table) {
    std::vector<std::string> out;
    for (table.First(); !table.Eof(); table.Next())
        out.emplace_back(table.Text(TDomainField::Domain));
    return out;
}

inline TDomainTable TableOf(const std::vector<TDomainRecord>& records) {
    TDomainTable table;
    table.Open();
    for (const auto& r : records) table.AppendRecord(r);
    return table;
}

// Records whose texts collide often: a small alphabet of letters in both cases,
// a digit, a dash and a byte above 0x7f, lengths 0 to 20, so that long common prefixes,
// ties and case-only differences all occur.
inline std::vector<TDomainRecord> CollidingRecords(std::size_t count, std::uint64_t seed) {
    static constexpr char kAlphabet[] = {'a', 'A', 'b', 'B', '1', '-', '\xe9'};
    std::uint64_t state = seed;
    const auto next = [&state] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>(state >> 33);
    };
    const auto text = [&](unsigned maxLength) {
        std::string s;
        const unsigned length = next() % (maxLength + 1);
        // Most texts share a long prefix, so the comparison must look past eight bytes.
        if (next() % 2)
            s = "abababab";
        for (unsigned i = 0; i < length; ++i) s.push_back(kAlphabet[next() % sizeof kAlphabet]);
        return s;
    };
    std::vector<TDomainRecord> records;
    for (std::size_t i = 0; i < count; ++i) {
        TDomainRecord r;
        r.Domain = text(12);
        r.Dom = text(2).substr(0, 10);
        r.ExDate = text(4).substr(0, 12);
        r.Size = static_cast<std::int32_t>(next() % 21) - 3;
        records.push_back(r);
    }
    return records;
}

// The order the table must yield: stable, ASCII letters folded, bytes unsigned,
// Size as a number.
inline std::vector<TDomainRecord> ReferenceSort(std::vector<TDomainRecord> records,
                                                TDomainField field) {
    const auto fold = [](const std::string& s) {
        std::string f = s;
        for (char& c : f)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
        return f;
    };
    const auto text = [&](const TDomainRecord& r) -> const std::string& {
        return field == TDomainField::Domain ? r.Domain
               : field == TDomainField::Dom  ? r.Dom
                                             : r.ExDate;
    };
    std::stable_sort(
        records.begin(), records.end(), [&](const TDomainRecord& a, const TDomainRecord& b) {
            if (field == TDomainField::Size)
                return a.Size < b.Size;
            const std::string x = fold(text(a)), y = fold(text(b));
            return std::lexicographical_compare(
                x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
                    return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
                });
        });
    return records;
}

}  // namespace norvale::test
