// Apply Rules over a generated full list in memory, with the bench rule set (twelve
// rules covering every kind of test). The list is read from the text the generator
// wrote, cut at the name's first dot as the mawk baseline cuts it.
//
//   bench_apply_rules LIST.txt [benchmark options]
//
// Prints "apply_seconds S records N matches M" (median of five timed runs) for
// bench/cases/20-apply.sh, then the Google Benchmark table.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "domains/TDomainTable.h"
#include "rules/TActiveRules.h"
#include "rules/TApplyRun.h"
#include "rules/TRuleBuilder.h"
#include "util/TFileIO.h"

namespace {

using namespace norvale;

// ext: a set of extensions by their positions in the extension list; empty for all.
TRuleEditorValues V(std::string keyword, TKeyPosition position, std::vector<int> ext = {}) {
    TRuleEditorValues v;
    v.keyword = std::move(keyword);
    v.position = position;
    if (!ext.empty()) {
        v.extensions.fill(false);
        for (const int e : ext) v.extensions[static_cast<std::size_t>(e)] = true;
    }
    return v;
}

// Keep in step with MAWK_RULES in bench/cases/20-apply.sh.
TRuleList BenchRules() {
    enum { com, net, org, info, biz, ca, us, couk, orguk, meuk };
    std::vector<TRuleEditorValues> rules;
    rules.push_back(V("shop", TKeyPosition::Anywhere, {com, net}));
    {
        auto v = V("web", TKeyPosition::AtStart);
        v.noDigits = true;
        v.length = TLengthChoice::NoMoreThan;
        v.lengthText = "10";
        rules.push_back(v);
    }
    {
        auto v = V("app", TKeyPosition::AtEnd, {com, org, info});
        v.noDashes = true;
        rules.push_back(v);
    }
    {
        auto v = V("", TKeyPosition::Anywhere, {com});
        v.noDashes = v.noDigits = true;
        v.length = TLengthChoice::Exactly;
        v.lengthText = "5";
        rules.push_back(v);
    }
    {
        auto v = V("cloud", TKeyPosition::Anywhere);
        v.excludeKeyword = "x";
        rules.push_back(v);
    }
    {
        auto v = V("my", TKeyPosition::AtStart, {com, net, org});
        v.noDashes = true;
        v.length = TLengthChoice::Exactly;
        v.lengthText = "8";
        rules.push_back(v);
    }
    {
        auto v = V("ly", TKeyPosition::AtEnd, {couk, orguk, meuk, us, ca});
        v.length = TLengthChoice::NoMoreThan;
        v.lengthText = "6";
        rules.push_back(v);
    }
    {
        auto v = V("best", TKeyPosition::Anywhere, {biz, info});
        v.noDigits = true;
        rules.push_back(v);
    }
    {
        auto v = V("", TKeyPosition::Anywhere, {net});
        v.excludeKeyword = "a";
        v.noDigits = v.noDashes = true;
        v.length = TLengthChoice::Exactly;
        v.lengthText = "4";
        rules.push_back(v);
    }
    {
        auto v = V("get", TKeyPosition::AtStart, {com});
        v.excludeKeyword = "-";
        rules.push_back(v);
    }
    {
        auto v = V("24", TKeyPosition::Anywhere);
        v.noDashes = true;
        v.length = TLengthChoice::NoMoreThan;
        v.lengthText = "12";
        rules.push_back(v);
    }
    {
        auto v = V("hub", TKeyPosition::AtEnd, {com, net, org, info, biz});
        v.noDigits = true;
        rules.push_back(v);
    }
    TRuleList list;
    for (const auto& v : rules) list.push_back(BuildRule(v));
    return list;
}

TDomainTable LoadList(const std::string& path) {
    const std::string text = ReadWholeFile(path);
    TDomainTable table;
    table.Open();
    table.Reserve(text.size() / 24);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos = end + 1;
        const auto comma = line.find(',');
        const std::string_view domain = line.substr(0, comma);
        const std::string_view date = comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
        const auto dot = domain.find('.');
        const std::string_view name = domain.substr(0, dot);
        const std::string_view ext = dot == std::string_view::npos ? std::string_view() : domain.substr(dot + 1);
        table.AppendRecord(name, ext, date, static_cast<std::int32_t>(name.size()));
    }
    return table;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_apply_rules LIST.txt [benchmark options]\n");
        return 2;
    }
    const TDomainTable full = LoadList(argv[1]);
    TActiveRules rules;
    rules.BuildActiveRules(BenchRules());

    std::vector<double> seconds;
    std::size_t matches = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const TDomainTable built = ApplyRules(full, rules, [](std::size_t) {});
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        matches = built.RecordCount();
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("apply_seconds %.4f records %zu matches %zu\n", seconds[2], full.RecordCount(), matches);
    std::fflush(stdout);

    benchmark::RegisterBenchmark("ApplyRules", [&](benchmark::State& state) {
        for (auto _ : state) {
            TDomainTable built = ApplyRules(full, rules, [](std::size_t) {});
            benchmark::DoNotOptimize(built.RecordCount());
        }
        state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(full.RecordCount()));
    })->Unit(benchmark::kMillisecond);
    char* rest[64];
    int restCount = 0;
    rest[restCount++] = argv[0];
    for (int i = 2; i < argc && restCount < 63; ++i) rest[restCount++] = argv[i];
    benchmark::Initialize(&restCount, rest);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
