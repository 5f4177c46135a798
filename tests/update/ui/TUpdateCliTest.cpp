// norvale-cli import and update, run as the program itself; update against the local
// HTTP server, which answers from this test's event loop while the program waits.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QProcess>

#include "domains/TDataFolder.h"
#include "domains/TDomainListFile.h"
#include "rules/TRuleListFile.h"
#include "support/TTempDir.h"
#include "support/TZipBuilder.h"
#include "support/qt/THttpServer.h"
#include "update/TListArchive.h"
#include "update/TResources.h"
#include "update/TWebAddresses.h"
#include "util/qt/TQtText.h"

namespace norvale {
namespace {

using test::THttpServer;
using test::TIsolatedHome;
using test::TZipBuilder;

const char kList[] = "myshop.com,05/31/2008\r\nexample.de,05/31/2008\r\nshopnow.net,06/01/2008\r\n";

struct TRun {
    int exitCode = -1;
    std::string out, err;
};

class UpdateCli : public ::testing::Test {
protected:
    void SetUp() override {
        TRule rule;
        rule.Caption = "*shop*";
        rule.SubItems = {"", "No", "No", "*"};
        for (int i = 0; i < 10; ++i) rule.SubItems.push_back("Yes");
        rule.Checked = true;
        TDataFolder(home.DataFolder()).EnsureDataFolder();
        SaveRuleList({rule}, home.DataFolder() + "rules.dat");
    }

    TRun Cli(const QStringList& args) {
        QProcess process;
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        process.start(QStringLiteral(NORVALE_CLI_PATH),
                      QStringList{"--data-dir", QString::fromStdString(home.DataFolder())} + args);
        if (!process.waitForStarted())
            return {};
        if (process.state() != QProcess::NotRunning)
            loop.exec();
        return TRun{process.exitCode(), process.readAllStandardOutput().toStdString(),
                    process.readAllStandardError().toStdString()};
    }

    std::size_t SavedCount(const char* file) {
        TDomainTable table;
        TDomainListFile::Load(table, home.DataFolder() + file);
        return table.TotalRecordCount();
    }

    TIsolatedHome home;
};

TEST_F(UpdateCli, ImportTakesAZipOrTheTextAndRefusesAnArchiveWithoutTheList) {
    test::TTempDir files;
    TZipBuilder().Add(kListMemberName, kList).WriteTo(files.File("list.zip"));
    files.Write("list.txt", std::string(kList) + "more.org,1\r\n");

    TRun run = Cli({"import", QString::fromStdString(files.File("list.zip"))});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Imported 3 domains, 2 match your rules\n");
    EXPECT_EQ(SavedCount("dlist.dat"), 3u);
    EXPECT_EQ(SavedCount("mlist.dat"), 2u);

    run = Cli({"import", QString::fromStdString(files.File("list.txt"))});
    EXPECT_EQ(run.out, "Imported 4 domains, 2 match your rules\n");

    TZipBuilder().Add("other.txt", kList).WriteTo(files.File("empty.zip"));
    run = Cli({"import", QString::fromStdString(files.File("empty.zip"))});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("holds no PoolDeletingDomainsList.txt."), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(SavedCount("dlist.dat"), 4u);

    EXPECT_EQ(Cli({"import"}).exitCode, 2);
}

TEST_F(UpdateCli, UpdateDownloadsImportsAndStoresTheResources) {
    THttpServer server;
    {
        TSettingsStore store(home.SettingsFile());
        for (const char* name : {"Site", "ListAddressHost", "ListProvider"})
            store.SetValue(TWebAddresses::kKey, name, TRegDataType::String, FromQ(server.Url()));
    }
    server.Route("/norvale/url.txt", (server.Url("/list.zip") + "\n").toLatin1());
    server.Route("/files/resource.dat", QByteArray("#Tools\r\nA|http://a.example/\r\n"));
    server.Route("/list.zip",
                 QByteArray::fromStdString(TZipBuilder().Add(kListMemberName, kList).Bytes()));

    TRun run = Cli({"update"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Imported 3 domains, 2 match your rules\n");
    EXPECT_NE(run.err.find("Download completed."), std::string::npos) << run.err;
    EXPECT_EQ(server.requests,
              (QStringList{"/norvale/url.txt", "/files/resource.dat", "/list.zip"}));
    TSettingsStore store(home.SettingsFile());
    EXPECT_EQ(ReadResources(store), (std::vector<std::string>{"#Tools", "A|http://a.example/"}));

    server.Route("/list.zip", THttpServer::TRoute{500, "broken", {}, -1, true});
    run = Cli({"update"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(
        run.err.substr(run.err.find("Cannot download")),
        "Cannot download \"" + FromQ(server.Url("/list.zip")) + "\": 500 Internal Server Error.\n");
    EXPECT_EQ(SavedCount("dlist.dat"), 3u);
}

}  // namespace
}  // namespace norvale
