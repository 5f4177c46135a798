// norvale-cli export, run as the program itself.
#include <gtest/gtest.h>
#include <QProcess>

#include "domains/TDataFolder.h"
#include "domains/TDomainListFile.h"
#include "domains/TDomainLists.h"
#include "support/TTempDir.h"

namespace norvale {
namespace {

using test::TIsolatedHome;

struct TRun {
    int exitCode = -1;
    std::string out, err;
};

class TExportCliTest : public ::testing::Test {
protected:
    TIsolatedHome home;

    void SetUp() override {
        TDataFolder folder(home.DataFolder());
        folder.EnsureDataFolder();
        const auto save = [&folder](const char* file,
                                    std::initializer_list<TDomainRecord> records) {
            TDomainTable table;
            table.Open();
            for (const TDomainRecord& r : records) table.AppendRecord(r);
            TDomainListFile::Save(table, folder.FilePath(file));
        };
        save(TDomainLists::kMatchListFile,
             {{"shop", "com", "05/31/2008", 4}, {"myshop", "co.uk", "06/01/2008", 6}});
        save(TDomainLists::kFullListFile, {{"full", "net", "05/30/2008", 4}});
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
};

TEST_F(TExportCliTest, WritesTheLinesOfTheChosenList) {
    const struct {
        QStringList args;
        const char* out;
    } cases[] = {
        {{"export"}, "shop.com,05/31/2008,4\r\nmyshop.co.uk,06/01/2008,6\r\n"},
        {{"export", "--delimiter", ";", "--no-date"}, "shop.com;4\r\nmyshop.co.uk;6\r\n"},
        {{"export", "--list=full", "--no-size"}, "full.net,05/30/2008\r\n"},
        {{"export", "--list", "drafts"}, ""},
    };
    for (const auto& c : cases) {
        const TRun run = Cli(c.args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, c.out) << c.args.join(' ').toStdString();
    }
}

TEST_F(TExportCliTest, WritesToAFileAndRefusesBadArguments) {
    const std::string file = home.Dir().File("out.txt");
    EXPECT_EQ(Cli({"export", "--no-date", "--no-size", "--output", QString::fromStdString(file)})
                  .exitCode,
              0);
    EXPECT_EQ(home.Dir().Read("out.txt"), "shop.com\r\nmyshop.co.uk\r\n");
    for (const QStringList& args :
         {QStringList{"export", "--delimiter", ""}, QStringList{"export", "--delimiter", " "},
          QStringList{"export", "--delimiter", ";;"}, QStringList{"export", "--list", "all"},
          QStringList{"export", "--output"}, QStringList{"export", "extra"}})
        EXPECT_EQ(Cli(args).exitCode, 2) << args.join(' ').toStdString();
    const TRun failed =
        Cli({"export", "--output", QString::fromStdString(home.Dir().File("no/such/out.txt"))});
    EXPECT_EQ(failed.exitCode, 3);
    EXPECT_NE(failed.err.find("no/such/out.txt"), std::string::npos) << failed.err;
}

}  // namespace
}  // namespace norvale
