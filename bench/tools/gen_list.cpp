// norvale-gen-list COUNT [--seed N] [--out FILE]
// Writes COUNT lines of a synthetic deleting-domains list, "name.ext,MM/DD/YYYY" with
// CR LF line ends (see ListGenerator.h).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ListGenerator.h"

namespace {

using norvale::bench::TRandom;

int Usage() {
    std::fputs("usage: norvale-gen-list COUNT [--seed N] [--out FILE]\n", stderr);
    return 2;
}

bool ParseNumber(const char* text, std::uint64_t& value) {
    char* end = nullptr;
    if (*text < '0' || *text > '9')
        return false;
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
            if (!ParseNumber(argv[++i], seed))
                return Usage();
        } else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            outPath = argv[++i];
        } else if (!haveCount && ParseNumber(argv[i], count)) {
            haveCount = true;
        } else {
            return Usage();
        }
    }
    if (!haveCount)
        return Usage();

    std::FILE* out = outPath ? std::fopen(outPath, "wb") : stdout;
    if (!out) {
        std::perror(outPath);
        return 3;
    }
    TRandom random{seed};
    std::string buffer;
    buffer.reserve(1 << 20);
    for (std::uint64_t n = 0; n < count; ++n) {
        norvale::bench::AppendLine(random, buffer);
        buffer += "\r\n";
        if (buffer.size() >= (1 << 20) - 64) {
            if (std::fwrite(buffer.data(), 1, buffer.size(), out) != buffer.size())
                break;
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
