// bench_domain_table [--records N]... [--work DIR] [--repeat R] [--keep]
// bench_domain_table --load FILE
//
// The domain table on generated records: append, sort by each field, filter, save,
// load, and the memory the table holds. One-shot timings (the best of R runs where
// R > 1), because a 10 000 000-record step is far too long for repeated sampling.
// --keep leaves the saved list files (bench-table-N.dat) in the work folder; --load
// only loads such a file, so that the process's peak RSS shows what loading costs on
// its own.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "domains/TDomainListFile.h"
#include "domains/TDomainTable.h"
#include "tools/ListGenerator.h"

namespace {

using norvale::TDomainField;
using norvale::TDomainListFile;
using norvale::TDomainTable;

double Seconds(const std::function<void()>& step, int repeat) {
    double best = 1e300;
    for (int i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        step();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

long PeakRssKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The generated records, packed: name, extension and date of each record side by
// side in one text, so that the records themselves weigh little beside the table.
struct TRecords {
    std::string text;
    std::vector<std::uint32_t> ends;  // per record: end of name, of extension, of date

    std::size_t Count() const { return ends.size() / 3; }
};

TRecords Generate(std::size_t count) {
    TRecords r;
    r.text.reserve(count * 24);
    r.ends.reserve(count * 3);
    norvale::bench::TRandom random{1};
    for (std::size_t i = 0; i < count; ++i) {
        norvale::bench::AppendName(random, r.text);
        r.ends.push_back(static_cast<std::uint32_t>(r.text.size()));
        r.text += norvale::bench::PickExtension(random);
        r.ends.push_back(static_cast<std::uint32_t>(r.text.size()));
        r.text += norvale::bench::PickDate(random);
        r.ends.push_back(static_cast<std::uint32_t>(r.text.size()));
    }
    return r;
}

void AppendAll(const TRecords& r, TDomainTable& table) {
    std::uint32_t begin = 0;
    for (std::size_t i = 0; i < r.Count(); ++i) {
        const std::uint32_t nameEnd = r.ends[3 * i], extEnd = r.ends[3 * i + 1],
                            dateEnd = r.ends[3 * i + 2];
        const std::string_view text(r.text);
        table.AppendRecord(
            text.substr(begin, nameEnd - begin), text.substr(nameEnd, extEnd - nameEnd),
            text.substr(extEnd, dateEnd - extEnd), static_cast<std::int32_t>(nameEnd - begin));
        begin = dateEnd;
    }
}

int errors = 0;

void Report(const char* what, std::size_t n, double value, const char* unit) {
    std::printf("%-34s %10zu records %12.3f %s\n", what, n, value, unit);
}

void Target(const char* what, double value, double limit, const char* unit) {
    const bool met = value <= limit;
    std::printf("TARGET %-27s %10.3f %s (at most %.3f): %s\n", what, value, unit, limit,
                met ? "met" : "MISSED");
}

void Run(std::size_t n, const std::string& work, int repeat, bool keep) {
    const int rep = n > 2000000 ? 1 : repeat;
    const TRecords records = Generate(n);

    TDomainTable table;
    Report("append", n,
           Seconds(
               [&] {
                   table.Open();
                   AppendAll(records, table);
               },
               rep),
           "s");
    Report("  bytes per record after append", n, double(table.MemoryBytes()) / double(n), "B");

    double sortDomain = 0;
    for (TDomainField field :
         {TDomainField::Domain, TDomainField::Dom, TDomainField::ExDate, TDomainField::Size}) {
        const double s = Seconds([&] { table.SortOn(field); }, rep);
        if (field == TDomainField::Domain)
            sortDomain = s;
        const std::string label = std::string("sort by ") + norvale::DomainFieldName(field);
        Report(label.c_str(), n, s, "s");
    }
    Report("  bytes per record while sorted", n, double(table.MemoryBytes()) / double(n), "B");
    const auto isCom = [](const TDomainTable& t, TDomainTable::TRecordId id) {
        return t.TextOf(id, TDomainField::Dom) == "com";
    };
    Report("filter Dom = com, sorted by Size", n, Seconds([&] { table.SetFilter(isCom); }, rep),
           "s");
    std::printf("  (the filter yields %zu records)\n", table.RecordCount());
    table.ClearSort();
    Report("filter Dom = com, unsorted", n, Seconds([&] { table.SetFilter(isCom); }, rep), "s");
    table.ClearFilter();

    const std::string path = work + "/bench-table-" + std::to_string(n) + ".dat";
    const double save = Seconds([&] { TDomainListFile::Save(table, path); }, rep);
    Report("save (synced to disk)", n, save, "s");

    TDomainTable loaded;
    loaded.Open();
    const double load = Seconds([&] { TDomainListFile::Load(loaded, path); }, rep);
    Report("load", n, load, "s");
    const double bytesLoaded = double(loaded.MemoryBytes()) / double(n);
    Report("  bytes per record after load", n, bytesLoaded, "B");

    // A benchmark that measures a broken table measures nothing: check what came back.
    bool same = loaded.TotalRecordCount() == n;
    for (std::size_t i = 0; same && i < n; i += 9973)
        same = loaded.RecordOf(TDomainTable::TRecordId(i)) ==
               table.RecordOf(TDomainTable::TRecordId(i));
    if (!same) {
        std::printf("ERROR: the loaded table differs from the saved one\n");
        ++errors;
    }
    if (!keep)
        std::remove(path.c_str());

    if (n == 1000000) {
        Target("save, 1 000 000 records", save, 0.15, "s");
        Target("load, 1 000 000 records", load, 0.15, "s");
        Target("sort by Domain, 1 000 000", sortDomain, 0.5, "s");
    }
    if (n == 10000000)
        Target("bytes per record, 10 000 000", bytesLoaded, 64, "B");
    std::printf("peak RSS so far: %ld KiB\n\n", PeakRssKiB());
}

int Usage() {
    std::fputs(
        "usage: bench_domain_table [--records N]... [--work DIR] [--repeat R] [--keep]\n"
        "       bench_domain_table --load FILE\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::size_t> sizes;
    std::string work = ".";
    int repeat = 3;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--records" && i + 1 < argc) {
            sizes.push_back(std::strtoull(argv[++i], nullptr, 10));
        } else if (a == "--work" && i + 1 < argc) {
            work = argv[++i];
        } else if (a == "--keep") {
            keep = true;
        } else if (a == "--repeat" && i + 1 < argc) {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--load" && i + 1 < argc) {
            TDomainTable table;
            table.Open();
            const double s = Seconds([&] { TDomainListFile::Load(table, argv[i + 1]); }, 1);
            const std::size_t n = table.TotalRecordCount();
            Report("load only", n, s, "s");
            Report("  bytes per record (MemoryBytes)", n,
                   n ? double(table.MemoryBytes()) / double(n) : 0.0, "B");
            std::printf("peak RSS: %ld KiB, %.1f bytes per record\n", PeakRssKiB(),
                        n ? PeakRssKiB() * 1024.0 / double(n) : 0.0);
            return 0;
        } else {
            return Usage();
        }
    }
    if (sizes.empty())
        sizes = {1000000, 10000000};
    for (std::size_t n : sizes) {
        if (n == 0)
            return Usage();
        Run(n, work, repeat, keep);
    }
    // A missed time target is reported, not failed: on a shared machine it may be noise.
    return errors == 0 ? 0 : 1;
}
