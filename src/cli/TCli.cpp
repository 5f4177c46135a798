#include "cli/TCli.h"

#include <algorithm>
#include <ostream>

#include "domains/TDomainListFile.h"
#include "domains/TDomainLists.h"
#include "sets/TSetNames.h"
#include "util/TFileIO.h"
#include "util/TPlatform.h"

namespace norvale {

namespace {
std::vector<TCliCommand::TEntry>& Registry() {
    static std::vector<TCliCommand::TEntry> entries;
    return entries;
}
}  // namespace

TCliContext::TCliContext(std::string dataFolder, std::optional<std::string> setName,
                         std::vector<std::string> args, std::ostream& out, std::ostream& err)
    : folder_(std::move(dataFolder)),
      setName_(std::move(setName)),
      args_(std::move(args)),
      out_(out),
      err_(err) {
    folder_.EnsureDataFolder();
    if (!DirectoryExists(folder_.DataFolder()))
        throw EFileError("Cannot create the data folder \"" + folder_.DataFolder() + "\".");
}

void TCliContext::LockForWriting() {
    if (!lock_)
        lock_ = std::make_unique<TDataFolderLock>(folder_);
}

TSettingsStore& TCliContext::Settings() {
    if (!settings_)
        settings_ = std::make_unique<TSettingsStore>(SettingsFilePath());
    return *settings_;
}

std::string TCliContext::RuleListPath() const {
    if (!setName_)
        return folder_.FilePath("rules.dat");
    const std::string path = SetFilePath(folder_, *setName_);
    if (!FileExists(path))
        throw ENorvaleError("No configuration set " + *setName_);
    return path;
}

const char* TCliContext::ListFileForOption(const std::string& command, const std::string& value) {
    if (value == "match")
        return TDomainLists::kMatchListFile;
    if (value == "full")
        return TDomainLists::kFullListFile;
    if (value == "drafts")
        return TDomainLists::kDraftListFile;
    throw EUsageError(command + ": --list must be match, full or drafts, not " + value);
}

TDomainTable TCliContext::LoadListForReading(const std::string& fileName) const {
    TDomainTable table;
    table.Open();
    const std::string path = folder_.FilePath(fileName);
    if (FileExists(path))
        TDomainListFile::Load(table, path);
    return table;
}

TCliCommand::TCliCommand(std::string name, std::vector<std::string> usageLines,
                         TCliHandler handler) {
    Registry().push_back(TEntry{std::move(name), std::move(usageLines), std::move(handler)});
}

const std::vector<TCliCommand::TEntry>& TCliCommand::All() {
    return Registry();
}

const TCliCommand::TEntry* TCliCommand::Find(const std::string& name) {
    for (const auto& e : Registry())
        if (e.name == name)
            return &e;
    return nullptr;
}

std::string CliUsage() {
    std::string text =
        "Usage: norvale-cli [--data-dir DIR] [--set NAME] COMMAND [ARGS...]\n"
        "\n"
        "  --data-dir DIR  use DIR as the data folder (created if missing)\n"
        "  --set NAME      work on the configuration set NAME instead of rules.dat\n"
        "  --help          show this text\n"
        "\n"
        "Commands:\n";
    std::vector<const TCliCommand::TEntry*> entries;
    for (const auto& e : TCliCommand::All()) entries.push_back(&e);
    std::sort(entries.begin(), entries.end(), [](auto* a, auto* b) { return a->name < b->name; });
    for (const auto* e : entries)
        for (const auto& line : e->usageLines) text += "  " + line + "\n";
    if (entries.empty())
        text += "  (none)\n";
    text +=
        "\n"
        "Exit codes: 0 success, 1 a match that says no, 2 a usage error, 3 any other failure.\n";
    return text;
}

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err) {
    std::string dataDir;
    std::optional<std::string> setName;
    int i = 1;
    try {
        for (; i < argc; ++i) {
            const std::string a = argv[i];
            if (a == "--help" || a == "-h") {
                out << CliUsage();
                return kExitOk;
            }
            if (a == "--data-dir" || a == "--set") {
                if (i + 1 >= argc)
                    throw EUsageError(a + " needs a value");
                (a == "--data-dir" ? dataDir : setName.emplace()) = argv[++i];
                continue;
            }
            if (a.rfind("--data-dir=", 0) == 0) {
                dataDir = a.substr(11);
                continue;
            }
            if (a.rfind("--set=", 0) == 0) {
                setName = a.substr(6);
                continue;
            }
            if (a.rfind("-", 0) == 0)
                throw EUsageError("Unknown option " + a);
            break;
        }
        if (i >= argc)
            throw EUsageError("No command given");
        const std::string command = argv[i++];
        const TCliCommand::TEntry* entry = TCliCommand::Find(command);
        if (!entry)
            throw EUsageError("Unknown command " + command);
        if (dataDir.empty())
            dataDir = PlatformDataFolder();
        TCliContext context(dataDir, setName, std::vector<std::string>(argv + i, argv + argc), out,
                            err);
        return entry->handler(context);
    } catch (const EUsageError& e) {
        err << "norvale-cli: " << e.what() << "\n\n" << CliUsage();
        return kExitUsage;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return kExitFailure;
    }
}

}  // namespace norvale
