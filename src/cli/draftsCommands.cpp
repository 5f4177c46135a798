// norvale-cli drafts: add, list and delete drafts by hand.
#include <charconv>
#include <ostream>
#include <string>
#include <vector>

#include "cli/TCli.h"
#include "domains/TDomainListFile.h"
#include "domains/TDomainLists.h"
#include "output/TExportLines.h"
#include "update/TListImport.h"
#include "util/TFileIO.h"

namespace norvale {

namespace {

std::string DraftPath(const TCliContext& context) {
    return context.Folder().FilePath(TDomainLists::kDraftListFile);
}

// Only the draft list: the other two may be millions of records that a draft never needs.
void LoadDrafts(const TCliContext& context, TDomainTable& drafts) {
    drafts.Open();
    const std::string path = DraftPath(context);
    if (FileExists(path))
        TDomainListFile::Load(drafts, path);
}

int DraftsAdd(TCliContext& context, const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2)
        throw EUsageError("drafts add: give NAME.EXTENSION and, if you like, a DATE");
    const std::string& domain = args[0];
    if (domain.empty() || domain.rfind("--", 0) == 0)
        throw EUsageError("drafts add: give NAME.EXTENSION");
    // A "," would split the domain as a list line and take part of it for the date.
    if (domain.find(',') != std::string::npos)
        throw EUsageError("drafts add: NAME.EXTENSION cannot hold \",\"");
    TDomainRecord record = RecordOfLine(domain);
    if (args.size() == 2)
        record.ExDate = std::string(StoredText(TDomainField::ExDate, args[1]));
    context.LockForWriting();
    TDomainTable drafts;
    LoadDrafts(context, drafts);
    drafts.AppendRecord(record);
    TDomainListFile::Save(drafts, DraftPath(context));
    return kExitOk;
}

int DraftsList(TCliContext& context, const std::vector<std::string>& args) {
    if (!args.empty())
        throw EUsageError("drafts list: takes no arguments");
    TDomainTable drafts;
    LoadDrafts(context, drafts);
    context.Out() << ExportText(drafts, TExportOptions{});
    return kExitOk;
}

int DraftsDelete(TCliContext& context, const std::vector<std::string>& args) {
    if (args.size() != 1)
        throw EUsageError("drafts delete: give the number N of one draft");
    const std::string& text = args[0];
    std::size_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || n == 0)
        throw EUsageError("drafts delete: N must be a number from 1, not " + text);
    context.LockForWriting();
    TDomainTable drafts;
    LoadDrafts(context, drafts);
    if (n > drafts.RecordCount())
        throw ENorvaleError("No draft " + text + ": the draft list holds " +
                            std::to_string(drafts.RecordCount()));
    drafts.MoveTo(n - 1);
    drafts.Delete();
    TDomainListFile::Save(drafts, DraftPath(context));
    return kExitOk;
}

int DraftsCommand(TCliContext& context) {
    const std::vector<std::string>& args = context.Args();
    if (args.empty())
        throw EUsageError("drafts: add, list or delete?");
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args.front() == "add")
        return DraftsAdd(context, rest);
    if (args.front() == "list")
        return DraftsList(context, rest);
    if (args.front() == "delete")
        return DraftsDelete(context, rest);
    throw EUsageError("drafts: unknown sub-command " + args.front());
}

const TCliCommand kDrafts(
    "drafts",
    {"drafts add NAME.EXTENSION [DATE]",
     "                         append a draft (an empty date when none is given)",
     "drafts list            the drafts, as export --list drafts prints them",
     "drafts delete N        remove draft N (counted from 1)"},
    DraftsCommand);

}  // namespace

}  // namespace norvale
