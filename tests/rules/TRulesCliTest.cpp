// norvale-cli rules, match and apply, run as the program they are.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "domains/TDomainListFile.h"
#include "rules/TRuleListFile.h"
#include "support/TTempDir.h"
#include "util/TFileIO.h"

namespace norvale {
namespace {

struct TRun {
    int code = -1;
    std::string out;
};

class RulesCli : public ::testing::Test {
protected:
    test::TIsolatedHome home;
    test::TTempDir data;

    TRun Cli(const std::vector<std::string>& args) {
        std::string command = std::string("'") + NORVALE_CLI_PATH + "' --data-dir '" + data.Path() + "'";
        for (const std::string& a : args) {
            std::string quoted = "'";
            for (const char c : a) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
            command += " " + quoted + "'";
        }
        command += " 2>&1";
        TRun run;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return run;
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
        const int status = ::pclose(pipe);
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        // Qt's own start-up notes are not the program's output.
        std::string kept;
        std::size_t from = 0;
        while (from < run.out.size()) {
            std::size_t end = run.out.find('\n', from);
            end = end == std::string::npos ? run.out.size() : end + 1;
            const std::string line = run.out.substr(from, end - from);
            if (line.rfind("QStandardPaths:", 0) != 0) kept += line;
            from = end;
        }
        run.out = kept;
        return run;
    }
    std::string Rules() const { return data.File("rules.dat"); }
};

const std::string kCaptions =
    "contains\texclude\tno dashes\tno digits\tlength\tcom\tnet\torg\tinfo\tbiz\tca\tus\tco.uk\torg.uk\tme.uk\t\r\n";

TEST_F(RulesCli, AddBuildsTheEditorsCellsAndTheOtherCommandsEditTheList) {
    ASSERT_EQ(Cli({"rules", "add", "--keyword", "Shop ", "--position", "start", "--exclude", " BAD", "--no-digits",
                   "--exactly", "7", "--ext", "com,me.uk"})
                  .code,
              0);
    ASSERT_EQ(Cli({"rules", "add"}).code, 0);
    const std::string first = "shop *\tbad\tNo\tYes\t=7\tYes\tNo\tNo\tNo\tNo\tNo\tNo\tNo\tNo\tYes\r\n";
    const std::string second = "**\t\tNo\tNo\t*\tYes\tYes\tYes\tYes\tYes\tYes\tYes\tYes\tYes\tYes\r\n";
    TRun list = Cli({"rules", "list"});
    EXPECT_EQ(list.code, 0);
    EXPECT_EQ(list.out, kCaptions + first + second);

    EXPECT_EQ(Cli({"rules", "uncheck", "2"}).code, 0);
    EXPECT_EQ(Cli({"rules", "list", "--checked"}).out, kCaptions + first);
    EXPECT_EQ(Cli({"match", "shop now", "me.uk"}).code, 1) << "the blank is part of the keyword";
    TRun yes = Cli({"match", "shop xy", "me.uk"});
    EXPECT_EQ(yes.code, 0);
    EXPECT_EQ(yes.out, "yes\n");
    EXPECT_EQ(Cli({"rules", "check", "all"}).code, 0);
    EXPECT_EQ(Cli({"match", "anything", "net"}).code, 0);

    const std::string before = ReadWholeFile(Rules());
    const std::vector<std::pair<std::vector<std::string>, int>> refused = {
        {{"rules", "add", "--exactly", "7a"}, 2},
        {{"rules", "add", "--at-most", "-1"}, 2},
        {{"rules", "add", "--exactly", "3", "--at-most", "4"}, 2},
        {{"rules", "add", "--ext", "com,de"}, 2},
        {{"rules", "add", "--keyword", std::string(256, 'k')}, 2},
        {{"rules", "delete", "3"}, 3},
        {{"rules", "check", "0"}, 3},
        {{"rules", "delete", "x"}, 2},
        {{"--set", "none", "rules", "add"}, 3},
    };
    for (const auto& [args, code] : refused) {
        SCOPED_TRACE(args.back());
        EXPECT_EQ(Cli(args).code, code);
    }
    EXPECT_EQ(ReadWholeFile(Rules()), before) << "a refused command writes nothing";

    EXPECT_EQ(Cli({"rules", "delete", "1"}).code, 0);
    EXPECT_EQ(Cli({"rules", "list"}).out, kCaptions + second);
    EXPECT_EQ(Cli({"rules", "clear"}).code, 0);
    EXPECT_EQ(ReadWholeFile(Rules()), std::string("LISTVIEW01\x80"));
}

TEST_F(RulesCli, ApplyRebuildsTheMatchListOrLeavesItOnFailure) {
    TDomainTable full;
    full.Open();
    full.AppendRecord("myshop", "com", "01/01/2027", 6);
    full.AppendRecord("other", "com", "01/01/2027", 5);
    full.AppendRecord("shopper", "net", "01/02/2027", 7);
    TDomainListFile::Save(full, data.File("dlist.dat"));
    ASSERT_EQ(Cli({"rules", "add", "--keyword", "shop"}).code, 0);

    TRun run = Cli({"apply"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "Found 2 domains\n");
    TDomainTable match;
    match.Open();
    TDomainListFile::Load(match, data.File("mlist.dat"));
    ASSERT_EQ(match.RecordCount(), 2u);
    EXPECT_EQ(match.RecordOf(match.RecordAtRow(1)), (TDomainRecord{"shopper", "net", "01/02/2027", 7}));

    // A rule whose length cell is no number, written by another program.
    TRuleList rules = LoadRuleList(Rules()).rules;
    rules.insert(rules.begin(), rules.front());
    rules.front().SubItems[3] = "=seven";
    SaveRuleList(rules, Rules());
    const std::string matchBytes = ReadWholeFile(data.File("mlist.dat"));
    run = Cli({"apply"});
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(run.out, "'seven' is not a valid integer value\n");
    EXPECT_EQ(ReadWholeFile(data.File("mlist.dat")), matchBytes);
}

}  // namespace
}  // namespace norvale
