// The PDF report of 100 000 records (over two thousand pages): the layout of every
// page, then the painting of those pages into a PDF. Target: both together within 5 s.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "domains/TDomainTable.h"
#include "output/TReportLayout.h"
#include "output/qt/TReportPainter.h"

namespace {

using norvale::TDomainTable;
using norvale::TReportLayout;
using norvale::TReportPage;
using norvale::TReportPainter;

constexpr std::size_t kRecords = 100000;
const char* const kExtensions[] = {"com", "com",  "com", "com", "com", "net",
                                   "org", "info", "biz", "ca",  "us",  "co.uk"};

// Names of 3 to 20 letters, some with digits or dashes, as in the daily lists.
std::unique_ptr<TDomainTable> MakeTable(std::size_t count) {
    auto table = std::make_unique<TDomainTable>();
    table->Open();
    table->Reserve(count);
    std::uint64_t seed = 1;
    auto next = [&seed] {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(seed >> 33);
    };
    std::string name;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t length = 3 + next() % 18;
        name.clear();
        for (std::size_t k = 0; k < length; ++k) {
            const std::uint32_t r = next() % 100;
            name += r < 4 && k > 0 && k + 1 < length ? '-'
                    : r < 10                         ? char('0' + r)
                                                     : char('a' + r % 26);
        }
        const std::string date =
            std::to_string(1 + next() % 12) + "/" + std::to_string(1 + next() % 28) + "/2026";
        table->AppendRecord(name, kExtensions[next() % std::size(kExtensions)], date,
                            static_cast<std::int32_t>(length));
    }
    return table;
}

TDomainTable& Table() {
    static const std::unique_ptr<TDomainTable> table = MakeTable(kRecords);
    return *table;
}

void SetUpWriter(QPdfWriter& writer) {
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

struct TFigures {
    double layoutSeconds = 0;
    double paintSeconds = 0;
    double layoutCpu = 0;
    double paintCpu = 0;
    std::size_t pages = 0;
    qint64 pdfBytes = 0;
};
TFigures figures;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}
// Processor time too: on a shared machine the wall clock also counts the neighbours.
double CpuSeconds(std::clock_t since) {
    return static_cast<double>(std::clock() - since) / CLOCKS_PER_SEC;
}

std::vector<TReportPage> LayOut(const TReportPainter& measure) {
    const TReportLayout layout(Table(), "12/11/26 14:05", measure);
    std::vector<TReportPage> pages;
    pages.reserve(layout.PageCount());
    for (std::size_t i = 0; i < layout.PageCount(); ++i) pages.push_back(layout.Page(i));
    return pages;
}

void BM_ReportLayout(benchmark::State& state) {
    Table();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        SetUpWriter(writer);
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpu = std::clock();
        const TReportPainter measure(&writer);
        std::vector<TReportPage> pages = LayOut(measure);
        figures.layoutSeconds = Seconds(start);
        figures.layoutCpu = CpuSeconds(cpu);
        figures.pages = pages.size();
        benchmark::DoNotOptimize(pages.data());
    }
    state.counters["pages"] = static_cast<double>(figures.pages);
}

void BM_ReportPaint(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        auto writer = std::make_unique<QPdfWriter>(&buffer);
        SetUpWriter(*writer);
        const TReportPainter measure(writer.get());
        const std::vector<TReportPage> pages = LayOut(measure);
        state.ResumeTiming();

        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpu = std::clock();
        {
            QPainter painter(writer.get());
            for (std::size_t i = 0; i < pages.size(); ++i) {
                if (i > 0)
                    writer->newPage();
                measure.PaintPage(painter, pages[i]);
            }
        }
        writer.reset();  // finishes the file
        figures.paintSeconds = Seconds(start);
        figures.paintCpu = CpuSeconds(cpu);
        figures.pdfBytes = buffer.size();
    }
    state.counters["pdf_MiB"] = static_cast<double>(figures.pdfBytes) / (1024.0 * 1024.0);
}

// The whole path norvale-cli takes: layout page by page while painting.
void BM_ReportPdfWhole(benchmark::State& state) {
    Table();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            SetUpWriter(writer);
            TReportPainter::PaintReport(writer, Table(), "12/11/26 14:05");
        }
        benchmark::DoNotOptimize(buffer.size());
    }
}

BENCHMARK(BM_ReportLayout)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ReportPaint)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ReportPdfWhole)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (figures.pages > 0 && figures.paintSeconds > 0) {
        const double total = figures.layoutSeconds + figures.paintSeconds;
        std::printf(
            "report of %zu records, %zu pages, %.1f MiB of PDF: layout %.3f s + painting %.3f s = "
            "%.3f s wall "
            "(target <= 5 s: %s); processor time %.3f s + %.3f s = %.3f s\n",
            kRecords, figures.pages, static_cast<double>(figures.pdfBytes) / (1024.0 * 1024.0),
            figures.layoutSeconds, figures.paintSeconds, total, total <= 5.0 ? "met" : "NOT met",
            figures.layoutCpu, figures.paintCpu, figures.layoutCpu + figures.paintCpu);
    }
    return 0;
}
