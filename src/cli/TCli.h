#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "domains/TDataFolder.h"
#include "domains/TDomainTable.h"
#include "util/ENorvaleError.h"
#include "util/TSettingsStore.h"

namespace norvale {

// Exit codes of norvale-cli.
enum TCliExit : int { kExitOk = 0, kExitNo = 1, kExitUsage = 2, kExitFailure = 3 };

// A wrong command line: exit 2 with the message and the usage on stderr.
class EUsageError : public ENorvaleError {
public:
    using ENorvaleError::ENorvaleError;
};

// What a command gets: the global options, its own arguments and the streams.
class TCliContext {
public:
    TCliContext(std::string dataFolder, std::optional<std::string> setName,
                std::vector<std::string> args, std::ostream& out, std::ostream& err);

    const std::vector<std::string>& Args() const { return args_; }
    std::ostream& Out() { return out_; }
    std::ostream& Err() { return err_; }
    const std::optional<std::string>& SetName() const { return setName_; }

    // The data folder, created if missing.
    const TDataFolder& Folder() const { return folder_; }
    // The data folder's lock, for commands that write; throws "Norvale is already
    // running." while the desktop program holds it.
    void LockForWriting();
    TSettingsStore& Settings();

    // The rule list's file: rules.dat, or the file of the --set NAME (which must
    // exist: "No configuration set NAME").
    std::string RuleListPath() const;

    // The list file named by a --list value ("match", "full", "drafts"); any other
    // value is a usage error of command.
    static const char* ListFileForOption(const std::string& command, const std::string& value);
    // A list loaded for reading only: a missing file is an empty list, and a damaged
    // one is reported but not moved aside, since that would be a write behind the
    // desktop program's back.
    TDomainTable LoadListForReading(const std::string& fileName) const;

private:
    TDataFolder folder_;
    std::optional<std::string> setName_;
    std::vector<std::string> args_;
    std::ostream& out_;
    std::ostream& err_;
    std::unique_ptr<TDataFolderLock> lock_;
    std::unique_ptr<TSettingsStore> settings_;
};

using TCliHandler = std::function<int(TCliContext&)>;

// Each command file registers its commands with a static TCliCommand, so that the
// program's entry need not know them.
class TCliCommand {
public:
    TCliCommand(std::string name, std::vector<std::string> usageLines, TCliHandler handler);

    struct TEntry {
        std::string name;
        std::vector<std::string> usageLines;
        TCliHandler handler;
    };
    static const std::vector<TEntry>& All();
    static const TEntry* Find(const std::string& name);
};

std::string CliUsage();
// The whole program, for main() and for tests that run it in-process.
int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace norvale
