// norvale-cli sets, run as the program itself.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QProcess>

#include "domains/TDataFolder.h"
#include "rules/TRuleListFile.h"
#include "support/TTempDir.h"
#include "util/TFileIO.h"

namespace norvale {
namespace {

using test::TIsolatedHome;
using ::testing::HasSubstr;

struct TRun {
    int exitCode = -1;
    std::string out, err;
};

TRule Rule(const std::string& keyword, bool checked) {
    TRule r;
    r.Caption = keyword + "*";
    r.SubItems = {"x",  "Yes", "No", "<=9", "Yes", "No",  "Yes",
                  "No", "Yes", "No", "Yes", "No",  "Yes", "No"};
    r.Checked = checked;
    return r;
}

class TSetsCliTest : public ::testing::Test {
protected:
    TIsolatedHome home;
    TDataFolder folder{home.DataFolder()};
    const TRuleList defaults{Rule("def", true), Rule("ault", false)};
    const TRuleList other{Rule("other", false)};

    void SetUp() override {
        folder.EnsureDataFolder();
        folder.EnsureSetsFolder();
        SaveRuleList(defaults, folder.FilePath("rules.dat"));
    }

    TRun Cli(const QStringList& args) {
        QProcess process;
        process.start(QStringLiteral(NORVALE_CLI_PATH),
                      QStringList{"--data-dir", QString::fromStdString(home.DataFolder())} + args);
        if (!process.waitForFinished(30000))
            return {};
        return TRun{process.exitCode(), process.readAllStandardOutput().toStdString(),
                    process.readAllStandardError().toStdString()};
    }
    std::string SetFile(const std::string& name) const {
        return folder.SetsFolder() + name + ".set";
    }
    static TRuleList Stored(const std::string& path) { return LoadRuleList(path, false).rules; }
};

TEST_F(TSetsCliTest, SavesListsAndDeletesSets) {
    EXPECT_EQ(Cli({"sets", "list"}).out, "");
    ASSERT_EQ(Cli({"sets", "save", "b set"}).exitCode, 0);
    EXPECT_EQ(Stored(SetFile("b set")), defaults);

    SaveRuleList(other, SetFile("A"));
    ASSERT_EQ(Cli({"--set", "A", "sets", "save", "copy of A"}).exitCode, 0);
    EXPECT_EQ(Stored(SetFile("copy of A")), other);
    EXPECT_EQ(Cli({"sets", "list"}).out, "A\nb set\ncopy of A\n");

    const TRun removed = Cli({"sets", "delete", "A", "b set"});
    EXPECT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_EQ(Cli({"sets", "list"}).out, "copy of A\n");
}

TEST_F(TSetsCliTest, ReplacesAnExistingSetOnlyWhenAskedTo) {
    SaveRuleList(other, SetFile("kept"));
    const TRun refused = Cli({"sets", "save", "kept"});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_THAT(refused.err, HasSubstr("kept"));
    EXPECT_EQ(Stored(SetFile("kept")), other);

    EXPECT_EQ(Cli({"sets", "save", "kept", "--overwrite"}).exitCode, 0);
    EXPECT_EQ(Stored(SetFile("kept")), defaults);
}

TEST_F(TSetsCliTest, BadNamesAndMissingSetsChangeNothing) {
    SaveRuleList(other, SetFile("there"));
    const std::string before = ReadWholeFile(SetFile("there"));
    for (const QStringList& args :
         {QStringList{"sets", "save", "../rules"}, QStringList{"sets", "save", ".."},
          QStringList{"sets", "save", "a:b"}, QStringList{"sets", "delete", "there", "gone"},
          QStringList{"sets", "delete", "there", "x/y"}}) {
        const TRun run = Cli(args);
        EXPECT_EQ(run.exitCode, 3) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(ReadWholeFile(SetFile("there")), before)
        << "no name deletes anything when one is wrong";
    EXPECT_EQ(Cli({"sets", "list"}).out, "there\n");
    for (const QStringList& args :
         {QStringList{"sets"}, QStringList{"sets", "save"}, QStringList{"sets", "delete"},
          QStringList{"sets", "rename", "x"}, QStringList{"sets", "save", "a", "b"}})
        EXPECT_EQ(Cli(args).exitCode, 2) << args.join(' ').toStdString();
}

}  // namespace
}  // namespace norvale
