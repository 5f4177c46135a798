// The import's own work on a list already in memory: cutting lines, the tail test, the
// field cuts and appending to the two tables, with a cheap matcher so that the figure
// is the import's and not the rules'.
#include <benchmark/benchmark.h>

#include <string>

#include "update/TListImport.h"

namespace {

std::string MakeList(std::size_t lines) {
    static const char* kExtensions[] = {"com", "net", "org",   "info", "co.uk",
                                        "de",  "com", "me.uk", "us",   "io"};
    std::string text;
    text.reserve(lines * 26);
    std::uint64_t x = 1;
    for (std::size_t i = 0; i < lines; ++i) {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        const std::size_t length = 4 + (x >> 60);
        for (std::size_t k = 0; k < length; ++k)
            text += static_cast<char>('a' + ((x >> (k * 3)) % 26));
        text += '.';
        text += kExtensions[(x >> 40) % 10];
        text += ",05/31/2008\r\n";
    }
    return text;
}

void BM_ImportListText(benchmark::State& state) {
    const std::string text = MakeList(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        norvale::TImportResult result = norvale::ImportListText(
            text, [](std::string_view name, std::string_view) { return name.size() == 5; });
        benchmark::DoNotOptimize(result.full.TotalRecordCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ImportListText)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
