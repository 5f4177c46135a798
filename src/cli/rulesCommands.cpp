// norvale-cli rules, match and apply: the rule list, one domain against the checked
// rules, and Apply Rules over the full list.
#include <ostream>
#include <string>
#include <vector>

#include "cli/TCli.h"
#include "domains/TDomainLists.h"
#include "rules/TActiveRules.h"
#include "rules/TApplyRun.h"
#include "rules/TRuleBuilder.h"
#include "rules/TRuleListFile.h"
#include "rules/TRuleListText.h"
#include "util/TFileIO.h"

namespace norvale {

namespace {

// A missing rules file is an empty list, as at the desktop program's start.
TRuleList ReadRules(const std::string& path, bool mayWrite) {
    if (!FileExists(path)) return {};
    return LoadRuleList(path, mayWrite).rules;
}

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// A 1-based rule number within the list.
std::size_t RuleIndex(const std::string& text, const TRuleList& rules, const std::string& command) {
    if (!AllDigits(text)) throw EUsageError(command + ": N must be a rule number, not " + text);
    std::size_t n = 0;
    for (const char c : text) {
        n = n * 10 + static_cast<std::size_t>(c - '0');
        if (n > rules.size()) break;
    }
    if (n < 1 || n > rules.size()) throw ENorvaleError("No rule " + text);
    return n - 1;
}

std::vector<std::string> SplitOnComma(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (true) {
        const auto comma = text.find(',', from);
        parts.push_back(text.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    return parts;
}

TRuleEditorValues ParseAddArgs(const std::vector<std::string>& args) {
    TRuleEditorValues values;
    bool lengthGiven = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        const bool takesValue = name == "--keyword" || name == "--position" || name == "--exclude" ||
                                name == "--exactly" || name == "--at-most" || name == "--ext";
        if (takesValue && !hasValue) {
            if (i + 1 >= args.size()) throw EUsageError("rules add: " + name + " needs a value");
            value = args[++i];
        } else if (!takesValue && hasValue) {
            throw EUsageError("rules add: " + name + " takes no value");
        }
        if (name == "--keyword") {
            values.keyword = value;
        } else if (name == "--position") {
            if (value == "anywhere")
                values.position = TKeyPosition::Anywhere;
            else if (value == "start")
                values.position = TKeyPosition::AtStart;
            else if (value == "end")
                values.position = TKeyPosition::AtEnd;
            else
                throw EUsageError("rules add: --position must be anywhere, start or end, not " + value);
        } else if (name == "--exclude") {
            values.excludeKeyword = value;
        } else if (name == "--no-dashes") {
            values.noDashes = true;
        } else if (name == "--no-digits") {
            values.noDigits = true;
        } else if (name == "--exactly" || name == "--at-most") {
            // The editor's length box takes digits only.
            if (lengthGiven) throw EUsageError("rules add: give --exactly or --at-most, not both");
            if (!AllDigits(value)) throw EUsageError("rules add: " + name + " takes digits only, not " + value);
            lengthGiven = true;
            values.lengthText = value;
            values.length = name == "--exactly" ? TLengthChoice::Exactly : TLengthChoice::NoMoreThan;
        } else if (name == "--ext") {
            values.extensions.fill(false);
            if (!value.empty()) {
                for (const std::string& ext : SplitOnComma(value)) {
                    const int index = ExtensionIndex(ext);
                    if (index < 0) throw EUsageError("rules add: unknown extension " + ext);
                    values.extensions[static_cast<std::size_t>(index)] = true;
                }
            }
        } else {
            throw EUsageError("rules add: unknown argument " + args[i]);
        }
    }
    if (values.keyword.size() > kMaxKeywordLength || values.excludeKeyword.size() > kMaxKeywordLength)
        throw EUsageError("rules add: a keyword holds at most " + std::to_string(kMaxKeywordLength) + " characters");
    return values;
}

int RulesCommand(TCliContext& context) {
    const std::vector<std::string>& args = context.Args();
    if (args.empty()) throw EUsageError("rules: which of list, add, delete, check, uncheck, clear?");
    const std::string& sub = args[0];

    if (sub == "list") {
        bool checkedOnly = false;
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i] != "--checked") throw EUsageError("rules list: unknown argument " + args[i]);
            checkedOnly = true;
        }
        TRuleList rules = ReadRules(context.RuleListPath(), false);
        if (checkedOnly) std::erase_if(rules, [](const TRule& r) { return !r.Checked; });
        context.Out() << RuleListText(rules);
        return kExitOk;
    }

    // Every other sub-command changes the list and saves it.
    TRuleList rules;
    std::string path;
    const auto load = [&] {
        path = context.RuleListPath();
        context.LockForWriting();
        rules = ReadRules(path, true);
    };
    if (sub == "add") {
        const TRuleEditorValues values = ParseAddArgs(args);
        load();
        rules.push_back(BuildRule(values));
    } else if (sub == "delete") {
        if (args.size() != 2) throw EUsageError("rules delete: give one rule number");
        load();
        rules.erase(rules.begin() + static_cast<std::ptrdiff_t>(RuleIndex(args[1], rules, "rules delete")));
    } else if (sub == "check" || sub == "uncheck") {
        if (args.size() != 2) throw EUsageError("rules " + sub + ": give a rule number or all");
        const bool on = sub == "check";
        load();
        if (args[1] == "all") {
            for (TRule& rule : rules) rule.Checked = on;
        } else {
            rules[RuleIndex(args[1], rules, "rules " + sub)].Checked = on;
        }
    } else if (sub == "clear") {
        if (args.size() != 1) throw EUsageError("rules clear: takes no arguments");
        load();
        rules.clear();
    } else {
        throw EUsageError("rules: unknown sub-command " + sub);
    }
    SaveRuleList(rules, path);
    return kExitOk;
}

int MatchCommand(TCliContext& context) {
    const std::vector<std::string>& args = context.Args();
    if (args.size() != 2) throw EUsageError("match: give NAME and EXTENSION");
    TActiveRules active;
    active.BuildActiveRules(ReadRules(context.RuleListPath(), false));
    const bool yes = active.MatchesRules(args[0], args[1]);
    context.Out() << (yes ? "yes" : "no") << "\n";
    return yes ? kExitOk : kExitNo;
}

int ApplyCommand(TCliContext& context) {
    if (!context.Args().empty()) throw EUsageError("apply: takes no arguments");
    const std::string rulesPath = context.RuleListPath();
    context.LockForWriting();
    TActiveRules active;
    active.BuildActiveRules(ReadRules(rulesPath, true));
    TDomainLists lists(context.Folder());
    // A list that did not load would be saved back empty; stop before that.
    const std::vector<std::string> problems = lists.LoadDomainLists();
    if (!problems.empty()) throw ENorvaleError(problems.front());
    TDomainTable built = ApplyRules(lists.kbmMemTable1, active);
    lists.kbmMain.ReplaceContent(std::move(built));
    lists.SaveDomainLists();
    context.Out() << TDomainLists::FoundDomainsText(lists.kbmMain.RecordCount()) << "\n";
    return kExitOk;
}

const TCliCommand kRules("rules",
                         {"rules list [--checked]",
                          "rules add [--keyword K] [--position anywhere|start|end] [--exclude X] [--no-dashes]",
                          "          [--no-digits] [--exactly N | --at-most N] [--ext LIST]",
                          "rules delete N | check N|all | uncheck N|all | clear"},
                         RulesCommand);
const TCliCommand kMatch("match", {"match NAME EXTENSION   yes (exit 0) or no (exit 1)"}, MatchCommand);
const TCliCommand kApply("apply", {"apply                  rebuild the match list with the checked rules"},
                         ApplyCommand);

}  // namespace

}  // namespace norvale
