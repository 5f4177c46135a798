// norvale-cli export: the export lines of a list, to a file or to stdout.
#include <ostream>
#include <string>
#include <vector>

#include "cli/TCli.h"
#include "domains/TDomainListFile.h"
#include "domains/TDomainLists.h"
#include "output/TExportLines.h"
#include "util/TFileIO.h"

namespace norvale {

namespace {

struct TExportArgs {
    const char* listFile = TDomainLists::kMatchListFile;
    TExportOptions options;
    std::string output;  // empty: stdout
};

TExportArgs ParseExportArgs(const std::vector<std::string>& args) {
    TExportArgs result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name == "--no-date") {
            result.options.ExpDate = false;
            continue;
        }
        if (name == "--no-size") {
            result.options.Size = false;
            continue;
        }
        std::string value;
        bool hasValue = false;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        if (name != "--list" && name != "--delimiter" && name != "--output")
            throw EUsageError("export: unknown argument " + args[i]);
        if (!hasValue) {
            if (i + 1 >= args.size())
                throw EUsageError("export: " + name + " needs a value");
            value = args[++i];
        }
        if (name == "--list") {
            result.listFile = TCliContext::ListFileForOption("export", value);
        } else if (name == "--delimiter") {
            // The desktop's delimiter box holds one character that is never a blank.
            if (value.size() != 1 || static_cast<unsigned char>(value[0]) <= ' ')
                throw EUsageError("export: --delimiter must be one character that is not a blank");
            result.options.Delimiter = value[0];
        } else {
            if (value.empty())
                throw EUsageError("export: --output needs a file name");
            result.output = value;
        }
    }
    return result;
}

// Only reads the list, so it takes no lock; a damaged list file is reported, not
// moved aside.
int ExportCommand(TCliContext& context) {
    const TExportArgs args = ParseExportArgs(context.Args());
    TDomainTable table = context.LoadListForReading(args.listFile);
    if (!args.output.empty()) {
        ExportToFile(table, args.options, args.output);
        return kExitOk;
    }
    std::ostream& out = context.Out();
    WriteExportLines(table, args.options, [&out](std::string_view chunk) {
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    });
    out.flush();
    if (!out)
        throw ENorvaleError("Cannot write the export to the standard output.");
    return kExitOk;
}

const TCliCommand kExport(
    "export",
    {"export [--list match|full|drafts] [--delimiter C] [--no-date] [--no-size] [--output FILE]",
     "                       the export lines of the list (default: match)"},
    ExportCommand);

}  // namespace

}  // namespace norvale
