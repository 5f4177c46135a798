#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>

#include "domains/TDomainListFile.h"
#include "support/TTempDir.h"

namespace norvale {
namespace {

struct TRun {
    int exitCode;
    std::string out;
    std::string err;
};

class TDraftsCommands : public ::testing::Test {
protected:
    TRun Cli(const QStringList& args) {
        QProcess p;
        p.setProgram(QStringLiteral(NORVALE_CLI_PATH));
        p.setArguments(QStringList{"--data-dir", QString::fromStdString(home.DataFolder())} + args);
        p.start();
        EXPECT_TRUE(p.waitForFinished(30000));
        return {p.exitCode(), p.readAllStandardOutput().toStdString(),
                p.readAllStandardError().toStdString()};
    }
    std::vector<TDomainRecord> DraftFile() {
        TDomainTable t;
        t.Open();
        TDomainListFile::Load(t, home.DataFolder() + "draft.dat");
        std::vector<TDomainRecord> out;
        for (std::size_t row = 0; row < t.RecordCount(); ++row)
            out.push_back(t.RecordOf(t.RecordAtRow(row)));
        return out;
    }
    test::TIsolatedHome home;
};

TEST_F(TDraftsCommands, AddListAndDeleteThroughDraftDat) {
    EXPECT_EQ(Cli({"drafts", "add", "example.co.uk", "12/01/2024"}).exitCode, 0);
    EXPECT_EQ(Cli({"drafts", "add", "My-Shop.com"}).exitCode, 0);
    EXPECT_EQ(Cli({"drafts", "add", "My-Shop.com"}).exitCode,
              0);  // no duplicate test, as in the window
    EXPECT_EQ(DraftFile(), (std::vector<TDomainRecord>{{"example", "co.uk", "12/01/2024", 7},
                                                       {"My-Shop", "com", "", 7},
                                                       {"My-Shop", "com", "", 7}}));
    const TRun list = Cli({"drafts", "list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "example.co.uk,12/01/2024,7\r\nMy-Shop.com,,7\r\nMy-Shop.com,,7\r\n");
    EXPECT_EQ(Cli({"export", "--list", "drafts"}).out, list.out);
    EXPECT_EQ(Cli({"drafts", "delete", "1"}).exitCode, 0);
    EXPECT_EQ(Cli({"drafts", "list"}).out, "My-Shop.com,,7\r\nMy-Shop.com,,7\r\n");
}

TEST_F(TDraftsCommands, RefusesBadArgumentsAndWritesNothing) {
    struct TCase {
        QStringList args;
        int exitCode;
    };
    const TCase cases[] = {
        {{"drafts"}, 2},
        {{"drafts", "add"}, 2},
        {{"drafts", "add", "a,b.com"}, 2},
        {{"drafts", "add", "a.com", "1/1/2024", "extra"}, 2},
        {{"drafts", "delete", "0"}, 2},
        {{"drafts", "delete", "x"}, 2},
        {{"drafts", "delete", "1"}, 3},  // the list is empty
        {{"drafts", "list", "more"}, 2},
        {{"drafts", "purge"}, 2},
    };
    for (const TCase& c : cases) {
        const TRun r = Cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << "\n" << r.err;
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(home.DataFolder() + "draft.dat"));
}

}  // namespace
}  // namespace norvale
