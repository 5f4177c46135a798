// norvale-cli import and update: a deleting-domains list from a local file or from the
// web, into the full list and the match list.
#include <QCoreApplication>
#include <ostream>
#include <string>

#include "cli/TCli.h"
#include "rules/TActiveRules.h"
#include "rules/TRuleListFile.h"
#include "update/TImportCommit.h"
#include "update/TListArchive.h"
#include "update/TListImport.h"
#include "update/qt/TDownloader.h"
#include "update/qt/TUpdateRun.h"
#include "util/TFileIO.h"

namespace norvale {

namespace {

TActiveRules CheckedRules(TCliContext& context) {
    const std::string path = context.RuleListPath();
    TActiveRules active;
    active.BuildActiveRules(FileExists(path) ? LoadRuleList(path).rules : TRuleList{});
    return active;
}

// Both files first; the command prints only what was saved.
int Finish(TCliContext& context, TImportResult& result) {
    CommitListFiles(context.Folder(), result.full, result.match);
    context.Out() << "Imported " << result.full.TotalRecordCount() << " domains, "
                  << result.match.TotalRecordCount() << " match your rules\n";
    return kExitOk;
}

int ImportCommand(TCliContext& context) {
    if (context.Args().size() != 1)
        throw EUsageError("import needs one FILE");
    context.LockForWriting();
    const TActiveRules rules = CheckedRules(context);
    TImportResult result;
    {
        const TListText text = ReadListFile(context.Args()[0]);
        result = ImportListText(text.View(), [&](std::string_view name, std::string_view ext) {
            return rules.MatchesRules(name, ext);
        });
    }
    return Finish(context, result);
}

int UpdateCommand(TCliContext& context) {
    if (!context.Args().empty())
        throw EUsageError("update takes no arguments");
    if (!QCoreApplication::instance())
        throw ENorvaleError("update needs the program's application object.");
    context.LockForWriting();
    const TActiveRules rules = CheckedRules(context);
    TDownloader http;
    bool quiet = false;
    QObject::connect(&http, &TDownloader::WorkEnd, [&] {
        if (!quiet)
            context.Err() << "Download completed.\n";
    });
    TUpdateHooks hooks;
    hooks.status = [&](const std::string& text) { context.Err() << text << "\n"; };
    hooks.quiet = [&](bool on) { quiet = on; };
    hooks.matcher = [&](std::string_view name, std::string_view ext) {
        return rules.MatchesRules(name, ext);
    };
    hooks.progress = [&](std::size_t i) { context.Err() << LoadingText(i) << "\n"; };
    TImportResult result = RunUpdate(http, context.Folder(), context.Settings(),
                                     TWebAddresses::Load(context.Settings()), hooks);
    return Finish(context, result);
}

const TCliCommand kImport(
    "import",
    {"import FILE            import a list from a zip holding PoolDeletingDomainsList.txt,",
     "                       or from that text file itself"},
    ImportCommand);
const TCliCommand kUpdate(
    "update", {"update                 download the list and import it (progress on stderr)"},
    UpdateCommand);

}  // namespace

}  // namespace norvale
