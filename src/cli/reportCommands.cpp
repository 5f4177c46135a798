// norvale-cli report: the printed report of a list, written as a PDF file.
#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <string>

#include "cli/TCli.h"
#include "domains/TDomainListFile.h"
#include "domains/TDomainLists.h"
#include "output/qt/TReportPainter.h"
#include "util/TFileIO.h"

namespace norvale {

namespace {

struct TReportArgs {
    const char* listFile = TDomainLists::kMatchListFile;
    std::string pdf;
};

TReportArgs ParseReportArgs(const std::vector<std::string>& args) {
    TReportArgs result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        if (name != "--list" && name != "--pdf")
            throw EUsageError("report: unknown argument " + args[i]);
        if (!hasValue) {
            if (i + 1 >= args.size())
                throw EUsageError("report: " + name + " needs a value");
            value = args[++i];
        }
        if (name == "--pdf") {
            if (value.empty())
                throw EUsageError("report: --pdf needs a file name");
            result.pdf = value;
        } else {
            result.listFile = TCliContext::ListFileForOption("report", value);
        }
    }
    if (result.pdf.empty())
        throw EUsageError("report: --pdf FILE is required");
    return result;
}

// Only reads the list, so it takes no lock; a damaged list file is reported, not
// moved aside, since moving it would be a write behind the desktop program's back.
int ReportCommand(TCliContext& context) {
    const TReportArgs args = ParseReportArgs(context.Args());
    TDomainTable table = context.LoadListForReading(args.listFile);

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setCreator(QStringLiteral("Norvale"));
        writer.setTitle(QStringLiteral("List of Domains"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        TReportPainter::PaintReport(writer, table, TReportPainter::CurrentDateText());
    }
    // Whole or not at all: a reader never sees half a report.
    WriteFileAtomically(
        args.pdf, std::string_view(pdf.data().constData(), static_cast<std::size_t>(pdf.size())));
    return kExitOk;
}

const TCliCommand kReportCommand(
    "report",
    {"report [--list match|full|drafts] --pdf FILE",
     "                       the printed report of the list (default: match) as a PDF file"},
    ReportCommand);

}  // namespace

}  // namespace norvale
