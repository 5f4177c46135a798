#pragma once

// The synthetic deleting-domains list of norvale-gen-list, shared with the benchmarks
// that need records without reading a file. The same seed always gives the same bytes
// on every machine: the generator is our own, not std's distributions (whose output
// varies by library).
#include <cstdint>
#include <string>

namespace norvale::bench {

struct TRandom {
    std::uint64_t state;
    std::uint64_t Next() {  // splitmix64
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    unsigned Below(unsigned n) { return static_cast<unsigned>(Next() % n); }
};

struct TExtension {
    const char* text;
    unsigned weight;  // per thousand
};

// Roughly the shape of the real lists: com dominates, the other nine of the rule
// editor's extensions follow, about 10% are extensions no rule can choose.
inline constexpr TExtension kExtensions[] = {
    {"com", 480}, {"net", 90}, {"org", 70},   {"info", 60},   {"biz", 30},
    {"ca", 30},   {"us", 30},  {"co.uk", 50}, {"org.uk", 30}, {"me.uk", 30},
    {"de", 25},   {"io", 15},  {"eu", 15},    {"fr", 10},     {"nl", 10},
    {"it", 8},    {"es", 7},   {"tv", 5},     {"cc", 5},      {"ws", 5},
    {"mobi", 5},  {"name", 5}, {"pro", 5},    {"asia", 5},    {"co", 5},
};

inline const char* PickExtension(TRandom& random) {
    unsigned total = 0;
    for (const auto& e : kExtensions) total += e.weight;
    unsigned pick = random.Below(total);
    for (const auto& e : kExtensions) {
        if (pick < e.weight)
            return e.text;
        pick -= e.weight;
    }
    return "com";
}

// A list published daily holds the deletions of the next few days only.
inline const char* PickDate(TRandom& random) {
    static constexpr const char* kDates[] = {"12/27/2026", "12/28/2026", "12/29/2026",
                                             "12/30/2026", "12/31/2026", "01/01/2027",
                                             "01/02/2027", "01/03/2027"};
    return kDates[random.Below(8)];
}

// Appends a name of 3-20 characters, most of them short as in real lists; some hold
// digits, some dashes (never first, last or two in a row).
inline void AppendName(TRandom& random, std::string& out) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz";
    static constexpr char kDigits[] = "0123456789";
    unsigned length = 3 + random.Below(6) + random.Below(6) + random.Below(7);
    if (length > 20)
        length = 20;
    const unsigned style = random.Below(100);  // 0-69 letters, 70-84 digits, 85-99 dashes
    char previous = 0;
    for (unsigned i = 0; i < length; ++i) {
        char c = kLetters[random.Below(26)];
        if (style >= 70 && style < 85 && random.Below(4) == 0)
            c = kDigits[random.Below(10)];
        if (style >= 85 && i > 0 && i + 1 < length && previous != '-' && random.Below(5) == 0)
            c = '-';
        out.push_back(c);
        previous = c;
    }
}

// One line without its line end: "name.ext,MM/DD/YYYY".
inline void AppendLine(TRandom& random, std::string& out) {
    AppendName(random, out);
    out.push_back('.');
    out += PickExtension(random);
    out.push_back(',');
    out += PickDate(random);
}

}  // namespace norvale::bench
