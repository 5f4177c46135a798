// norvale-cli sets: list, save and delete configuration sets.
#include <ostream>
#include <string>
#include <vector>

#include "cli/TCli.h"
#include "rules/TRuleListFile.h"
#include "sets/TSetFiles.h"
#include "sets/TSetNames.h"
#include "util/TFileIO.h"

namespace norvale {

namespace {

int SetsList(TCliContext& context, const std::vector<std::string>& args) {
    if (!args.empty())
        throw EUsageError("sets list: takes no arguments");
    for (const std::string& name : ListSetNames(context.Folder())) context.Out() << name << "\n";
    return kExitOk;
}

int SetsSave(TCliContext& context, const std::vector<std::string>& args) {
    std::vector<std::string> names;
    bool overwrite = false;
    for (const std::string& a : args) {
        if (a == "--overwrite")
            overwrite = true;
        else if (a.rfind("--", 0) == 0)
            throw EUsageError("sets save: unknown option " + a);
        else
            names.push_back(a);
    }
    if (names.size() != 1)
        throw EUsageError("sets save: give exactly one NAME");
    const std::string path = SetFilePath(context.Folder(), names.front());
    const std::string source = context.RuleListPath();
    context.LockForWriting();
    if (FileExists(path) && !overwrite)
        throw ENorvaleError("Configuration set " + names.front() +
                            " already exists; --overwrite replaces it.");
    TRuleList rules;
    if (FileExists(source))
        rules = LoadRuleList(source, true).rules;
    context.Folder().EnsureSetsFolder();
    SaveRuleList(rules, path);
    return kExitOk;
}

int SetsDelete(TCliContext& context, const std::vector<std::string>& args) {
    if (args.empty())
        throw EUsageError("sets delete: give at least one NAME");
    // Every name is checked before anything goes, so a typo deletes nothing.
    std::vector<std::string> paths;
    for (const std::string& name : args) {
        if (name.rfind("--", 0) == 0)
            throw EUsageError("sets delete: unknown option " + name);
        paths.push_back(SetFilePath(context.Folder(), name));
        if (!FileExists(paths.back()))
            throw ENorvaleError("No configuration set " + name);
    }
    context.LockForWriting();
    std::vector<std::string> failures;
    for (const std::string& path : paths) {
        try {
            DeleteFileOrThrow(path);
        } catch (const std::exception& e) {
            failures.emplace_back(e.what());
        }
    }
    for (const std::string& failure : failures) context.Err() << failure << "\n";
    return failures.empty() ? kExitOk : kExitFailure;
}

int SetsCommand(TCliContext& context) {
    const std::vector<std::string>& args = context.Args();
    if (args.empty())
        throw EUsageError("sets: list, save or delete?");
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args.front() == "list")
        return SetsList(context, rest);
    if (args.front() == "save")
        return SetsSave(context, rest);
    if (args.front() == "delete")
        return SetsDelete(context, rest);
    throw EUsageError("sets: unknown sub-command " + args.front());
}

const TCliCommand kSets("sets",
                        {"sets list              the names of the configuration sets",
                         "sets save NAME [--overwrite]",
                         "                       save the rule list as set NAME",
                         "sets delete NAME...    delete those sets"},
                        SetsCommand);

}  // namespace

}  // namespace norvale
