// norvale-gen-list COUNT [--seed N] [--out FILE]
// Writes COUNT lines of a synthetic deleting-domains list, "name.ext,MM/DD/YYYY" with
// CR LF line ends. The same seed always gives the same bytes, on every machine: the
// generator is our own, not std's distributions (whose output varies by library).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

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
constexpr TExtension kExtensions[] = {
    {"com", 480}, {"net", 90}, {"org", 70}, {"info", 60}, {"biz", 30},
    {"ca", 30},   {"us", 30},  {"co.uk", 50}, {"org.uk", 30}, {"me.uk", 30},
    {"de", 25},   {"io", 15},  {"eu", 15},  {"fr", 10},    {"nl", 10},
    {"it", 8},    {"es", 7},   {"tv", 5},   {"cc", 5},     {"ws", 5},
    {"mobi", 5},  {"name", 5}, {"pro", 5},  {"asia", 5},   {"co", 5},
};

const char* PickExtension(TRandom& random) {
    unsigned total = 0;
    for (const auto& e : kExtensions) total += e.weight;
    unsigned pick = random.Below(total);
    for (const auto& e : kExtensions) {
        if (pick < e.weight) return e.text;
        pick -= e.weight;
    }
    return "com";
}

void AppendName(TRandom& random, std::string& out) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz";
    static constexpr char kDigits[] = "0123456789";
    // Lengths 3-20, most of them short, as in real lists.
    unsigned length = 3 + random.Below(6) + random.Below(6) + random.Below(7);
    if (length > 20) length = 20;
    const unsigned style = random.Below(100);  // 0-69 letters, 70-84 digits, 85-99 dashes
    for (unsigned i = 0; i < length; ++i) {
        char c = kLetters[random.Below(26)];
        if (style >= 70 && style < 85 && random.Below(4) == 0) c = kDigits[random.Below(10)];
        // A dash never starts or ends a name, and two never meet.
        if (style >= 85 && i > 0 && i + 1 < length && out.back() != '-' && random.Below(5) == 0) c = '-';
        out.push_back(c);
    }
}

int Usage() {
    std::fputs("usage: norvale-gen-list COUNT [--seed N] [--out FILE]\n", stderr);
    return 2;
}

bool ParseNumber(const char* text, std::uint64_t& value) {
    char* end = nullptr;
    if (*text < '0' || *text > '9') return false;
    value = std::strtoull(text, &end, 10);
    return *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t count = 0;
    std::uint64_t seed = 1;
    const char* outPath = nullptr;
    bool haveCount = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            if (!ParseNumber(argv[++i], seed)) return Usage();
        } else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            outPath = argv[++i];
        } else if (!haveCount && ParseNumber(argv[i], count)) {
            haveCount = true;
        } else {
            return Usage();
        }
    }
    if (!haveCount) return Usage();

    std::FILE* out = outPath ? std::fopen(outPath, "wb") : stdout;
    if (!out) {
        std::perror(outPath);
        return 3;
    }
    TRandom random{seed};
    std::string buffer;
    buffer.reserve(1 << 20);
    for (std::uint64_t n = 0; n < count; ++n) {
        AppendName(random, buffer);
        buffer.push_back('.');
        buffer += PickExtension(random);
        // A list published daily holds the deletions of the next few days only.
        static constexpr const char* kDates[] = {",12/27/2026\r\n", ",12/28/2026\r\n", ",12/29/2026\r\n",
                                                 ",12/30/2026\r\n", ",12/31/2026\r\n", ",01/01/2027\r\n",
                                                 ",01/02/2027\r\n", ",01/03/2027\r\n"};
        buffer += kDates[random.Below(8)];
        if (buffer.size() >= (1 << 20) - 64) {
            if (std::fwrite(buffer.data(), 1, buffer.size(), out) != buffer.size()) break;
            buffer.clear();
        }
    }
    const bool ok = std::fwrite(buffer.data(), 1, buffer.size(), out) == buffer.size() &&
                    std::fflush(out) == 0 && (out == stdout || std::fclose(out) == 0);
    if (!ok) {
        std::perror(outPath ? outPath : "stdout");
        return 3;
    }
    return 0;
}
