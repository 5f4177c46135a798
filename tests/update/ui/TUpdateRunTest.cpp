// The whole update run and "Import List..." on the main window, against a local HTTP
// server: what the lists, their files, the menus and the window's controls are after.
#include <gtest/gtest.h>

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "app/mainU.h"
#include "domains/TDomainListFile.h"
#include "rules/TRuleListFile.h"
#include "support/TTempDir.h"
#include "support/TZipBuilder.h"
#include "support/qt/THttpServer.h"
#include "support/qt/TScriptedPrompts.h"
#include "update/TListArchive.h"
#include "update/TResources.h"
#include "update/ui/downloaddom_u.h"
#include "util/qt/TQtText.h"
#include "util/ui/TUrlOpener.h"

namespace norvale {
namespace {

using test::THttpServer;
using test::TIsolatedHome;
using test::TScriptedPromptsScope;
using test::TZipBuilder;

const char kNewList[] =
    "myshop.com,05/31/2008\r\nexample.de,05/31/2008\r\nshopnow.net,06/01/2008\r\n";

TRule ShopRule(const std::string& length = "*") {
    TRule rule;
    rule.Caption = "*shop*";
    rule.SubItems = {"", "No", "No", length};
    for (int i = 0; i < 10; ++i) rule.SubItems.push_back("Yes");
    rule.Checked = true;
    return rule;
}

// A data folder with old lists, a rule for "shop" and the web hosts pointing at the
// local server; the window is made on demand so that each test can arrange first.
class UpdateRun : public ::testing::Test {
protected:
    void SetUp() override {
        TDataFolder folder(home.DataFolder());
        folder.EnsureDataFolder();
        TDomainLists old(folder);
        old.LoadDomainLists();
        old.kbmMemTable1.AppendRecord("oldshop", "com", "d", 7);
        old.kbmMemTable1.AppendRecord("old", "org", "d", 3);
        old.kbmMain.AppendRecord("oldshop", "com", "d", 7);
        old.SaveDomainLists();
        fullBefore = home.Dir().Read("data/Norvale/dlist.dat");
        matchBefore = home.Dir().Read("data/Norvale/mlist.dat");
        SaveRuleList({ShopRule()}, folder.FilePath("rules.dat"));
        PointAt(server);
        server.Route("/norvale/url.txt", QByteArray(" \r\n"));
        server.Route("/files/resource.dat", QByteArray(""));
        server.Route(
            "/Downloads/PoolDeletingDomainsList.zip",
            QByteArray::fromStdString(TZipBuilder().Add(kListMemberName, kNewList).Bytes()));
        TUrlOpener::SetOpener([this](const QString& url) { opened << url; });
    }
    void TearDown() override { TUrlOpener::SetOpener({}); }

    void PointAt(const THttpServer& target) {
        TSettingsStore store(home.SettingsFile());
        for (const char* name : {"Site", "ListAddressHost", "ListProvider"})
            store.SetValue(TWebAddresses::kKey, name, TRegDataType::String, FromQ(target.Url()));
    }

    TfrmMain& Window() {
        if (!window)
            window =
                std::make_unique<TfrmMain>(TMainOptions{home.DataFolder(), home.SettingsFile()});
        return *window;
    }

    void Update() { Window().BtnInternetClick(); }

    std::vector<std::string> Names(TDomainTable& table) {
        std::vector<std::string> out;
        for (std::size_t row = 0; row < table.RecordCount(); ++row)
            out.emplace_back(table.TextOf(table.RecordAtRow(row), TDomainField::Domain));
        return out;
    }

    void ExpectControlsBack() {
        TfrmMain& w = Window();
        EXPECT_TRUE(w.TB->isEnabled());
        EXPECT_TRUE(w.BtnInternet->isEnabled());
        EXPECT_TRUE(w.PageControl1->isEnabled());
        EXPECT_TRUE(w.New1->isEnabled());
        EXPECT_TRUE(w.ImportList1->isEnabled());
        EXPECT_FALSE(w.InLongRun());
        EXPECT_FALSE(w.frmUpdateB->isVisible());
        EXPECT_FALSE(w.frmUpdateB->CancelFlag);
    }

    void ExpectListsUnchanged() {
        EXPECT_EQ(Names(Window().kbmMemTable1()), (std::vector<std::string>{"oldshop", "old"}));
        EXPECT_EQ(Names(Window().kbmMain()), (std::vector<std::string>{"oldshop"}));
        EXPECT_EQ(home.Dir().Read("data/Norvale/dlist.dat"), fullBefore);
        EXPECT_EQ(home.Dir().Read("data/Norvale/mlist.dat"), matchBefore);
    }

    void ExpectNewLists() {
        EXPECT_EQ(Names(Window().kbmMemTable1()),
                  (std::vector<std::string>{"myshop", "example", "shopnow"}));
        EXPECT_EQ(Names(Window().kbmMain()), (std::vector<std::string>{"myshop", "shopnow"}));
        TDomainTable saved;
        TDomainListFile::Load(saved, home.DataFolder() + "dlist.dat");
        EXPECT_EQ(saved.TotalRecordCount(), 3u);
        EXPECT_EQ(saved.TextOf(1, TDomainField::Dom), "de");
        EXPECT_EQ(Window().RzStatusPane1->text(), "Found 2 domains");
        EXPECT_FALSE(home.Dir().Exists("data/Norvale/_domains.zip"));
    }

    // The group captions of a resources menu and the number of links in each.
    static std::vector<std::pair<QString, int>> Groups(QMenu* menu) {
        std::vector<std::pair<QString, int>> out;
        for (QAction* a : menu->actions())
            out.emplace_back(a->text(),
                             a->menu() ? static_cast<int>(a->menu()->actions().size()) : -1);
        return out;
    }

    TIsolatedHome home;
    THttpServer server;
    TScriptedPromptsScope prompts;
    QStringList opened;
    std::string fullBefore, matchBefore;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(UpdateRun, BlankTextsDownloadTheDefaultListAndKeepTheMenus) {
    Window();
    const auto menusBefore = Groups(Window().Resources1);
    Update();
    EXPECT_TRUE(prompts->shown.isEmpty()) << prompts->shown.join("\n").toStdString();
    EXPECT_EQ(server.requests, (QStringList{"/norvale/url.txt", "/files/resource.dat",
                                            "/Downloads/PoolDeletingDomainsList.zip"}));
    ASSERT_FALSE(server.requestHeads.isEmpty());
    const QByteArray head = server.requestHeads.last().toLower();
    EXPECT_TRUE(head.contains("accept: text/html, */*")) << head.toStdString();
    EXPECT_TRUE(head.contains("user-agent: mozilla/3.0 (compatible; indy library)"));
    ExpectNewLists();
    EXPECT_EQ(Groups(Window().Resources1), menusBefore);
    EXPECT_EQ(Window().frmUpdateB->Label1->text(), "Loading...");
    ExpectControlsBack();

    // A second update runs again from the start.
    server.requests.clear();
    Update();
    EXPECT_EQ(server.requests.size(), 3);
}

TEST_F(UpdateRun, ListAddressIsTrimmedRedirectsAreFollowedAndResourcesReplaced) {
    server.Route("/norvale/url.txt", (" " + server.Url("/moved.zip") + "\r\n").toLatin1());
    server.Route("/moved.zip",
                 THttpServer::TRoute{302, {}, server.Url("/final.zip").toLatin1(), -1, true});
    server.Route("/final.zip",
                 QByteArray::fromStdString(TZipBuilder().Add(kListMemberName, kNewList).Bytes()));
    server.Route(
        "/files/resource.dat",
        QByteArray("Early|http://early.example/\r\n#News\r\n#News\r\n1&1|" +
                   server.Url("/links/1&1").toLatin1() + "\r\n\r\nLocal|file:///etc/passwd\r\n"));
    Update();
    EXPECT_TRUE(prompts->shown.isEmpty()) << prompts->shown.join("\n").toStdString();
    EXPECT_EQ(server.requests.mid(2), (QStringList{"/moved.zip", "/final.zip"}));
    ExpectNewLists();
    ExpectControlsBack();
    for (QMenu* menu : {Window().Resources1, Window().PopResource})
        EXPECT_EQ(Groups(menu), (std::vector<std::pair<QString, int>>{{"News", 0}, {"News", 2}}));
    // The link after the empty line survived; a file address opens the home page.
    QMenu* group = Window().PopResource->actions().at(1)->menu();
    group->actions().at(0)->trigger();
    group->actions().at(1)->trigger();
    EXPECT_EQ(opened, (QStringList{server.Url("/links/1&1"), server.Url()}));
}

TEST_F(UpdateRun, FailuresLeaveListsAndFilesAsTheyWere) {
    struct TCase {
        const char* name;
        std::function<void(THttpServer&)> arrange;
        std::string message;  // the start of the error box's text
    };
    const QString zipUrl = server.Url("/Downloads/PoolDeletingDomainsList.zip");
    const TCase cases[] = {
        {"error status",
         [](THttpServer& s) {
             s.Route("/Downloads/PoolDeletingDomainsList.zip",
                     THttpServer::TRoute{404, "gone", {}, -1, true});
         },
         "Cannot download \"" + FromQ(zipUrl) + "\": 404 Not Found."},
        {"not an archive",
         [](THttpServer& s) {
             s.Route("/Downloads/PoolDeletingDomainsList.zip", QByteArray("<html>"));
         },
         "\"" + home.DataFolder() + "_domains.zip\" is not a readable zip archive"},
        {"no member",
         [](THttpServer& s) {
             s.Route("/Downloads/PoolDeletingDomainsList.zip",
                     QByteArray::fromStdString(TZipBuilder().Add("other.txt", kNewList).Bytes()));
         },
         "The archive \"" + home.DataFolder() +
             "_domains.zip\" holds no PoolDeletingDomainsList.txt."},
        {"local list address",
         [](THttpServer& s) { s.Route("/norvale/url.txt", QByteArray("file:///etc/passwd")); },
         "The list address \"file:///etc/passwd\""},
        {"list address too long",
         [](THttpServer& s) { s.Route("/norvale/url.txt", QByteArray(5000, 'a')); },
         "The list address text at"},
    };
    Window();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        prompts->shown.clear();
        c.arrange(server);
        Update();
        ASSERT_EQ(prompts->shown.size(), 1);
        EXPECT_EQ(prompts->shown[0].toStdString().rfind("error: " + c.message, 0), 0u)
            << prompts->shown[0].toStdString();
        ExpectListsUnchanged();
        ExpectControlsBack();
        SetUp();  // the routes and files afresh
    }
}

TEST_F(UpdateRun, NoServerReportsTheConnectionAndChangesNothing) {
    THttpServer gone;
    PointAt(gone);
    gone.Close();
    Update();
    ASSERT_EQ(prompts->shown.size(), 1);
    EXPECT_TRUE(prompts->shown[0].contains("Connection refused"))
        << prompts->shown[0].toStdString();
    ExpectListsUnchanged();
    ExpectControlsBack();
}

TEST_F(UpdateRun, CancelDuringAStalledDownloadEndsAtOnceAndQuietly) {
    std::string list(200000, 'x');
    server.Route("/Downloads/PoolDeletingDomainsList.zip",
                 THttpServer::TRoute{200, QByteArray::fromStdString(list), {}, 1000, true});
    QObject::connect(&server, &THttpServer::Stalled, &server,
                     [this] { Window().frmUpdateB->btnCancel->click(); });
    Update();
    EXPECT_TRUE(prompts->shown.isEmpty()) << prompts->shown.join("\n").toStdString();
    ExpectListsUnchanged();
    ExpectControlsBack();
    EXPECT_FALSE(home.Dir().Exists("data/Norvale/_domains.zip"));
}

TEST_F(UpdateRun, FailingMatcherStillEndsWithTheFinalBlock) {
    SaveRuleList({ShopRule("=x")}, home.DataFolder() + "rules.dat");
    Update();
    ASSERT_EQ(prompts->shown.size(), 1);
    EXPECT_EQ(prompts->shown[0], "error: 'x' is not a valid integer value");
    ExpectListsUnchanged();
    ExpectControlsBack();
}

TEST_F(UpdateRun, ImportListReadsATextFileAndCancelKeepsTheLists) {
    test::TTempDir files;
    files.Write("list.txt", kNewList);
    prompts->fileAnswers = {QString::fromStdString(files.File("list.txt"))};
    Window().ImportList1->trigger();
    EXPECT_EQ(prompts->shown, QStringList{"open: Import List"});
    ExpectNewLists();
    ExpectControlsBack();
    EXPECT_TRUE(server.requests.isEmpty());

    // Cancel pressed when the first progress shows: nothing after it, lists kept.
    std::string big;
    for (int i = 0; i < 9000; ++i) big += "d" + std::to_string(i) + ".com,1\n";
    files.Write("big.txt", big);
    const auto before = Names(Window().kbmMemTable1());
    QStringList labels;
    struct TFilter : QObject {
        std::function<void()> onPaint;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                onPaint();
            return false;
        }
    } filter;
    TfrmUpdateB* dialog = Window().frmUpdateB;
    filter.onPaint = [&] {
        const QString text = dialog->Label1->text();
        if (labels.isEmpty() || labels.last() != text)
            labels << text;
        if (text == "Loading...2999")
            dialog->btnCancel->click();
    };
    dialog->Label1->installEventFilter(&filter);
    Window().ImportListFile(files.File("big.txt"));
    dialog->Label1->removeEventFilter(&filter);
    EXPECT_TRUE(labels.contains("Loading...2999"));
    EXPECT_FALSE(labels.contains("Loading...5999"));
    EXPECT_EQ(Names(Window().kbmMemTable1()), before);
    EXPECT_EQ(prompts->shown.size(), 1);  // only the file dialog of the first import
    ExpectControlsBack();
}

TEST(ResourceMenusOnWindow, FirstStartBuildsThreeGroupsInBothMenusAndLinksOpen) {
    TIsolatedHome home;
    TScriptedPromptsScope prompts;
    QStringList opened;
    TUrlOpener::SetOpener([&](const QString& url) { opened << url; });
    {
        TfrmMain window(TMainOptions{home.DataFolder(), home.SettingsFile()});
        const TWebAddresses web = window.WebAddresses();
        for (QMenu* menu : {window.Resources1, window.PopResource}) {
            std::vector<std::pair<QString, int>> groups;
            for (QAction* a : menu->actions())
                groups.emplace_back(a->text(), a->menu() ? a->menu()->actions().size() : -1);
            EXPECT_EQ(groups,
                      (std::vector<std::pair<QString, int>>{{"Domain Registrars", 7},
                                                            {"Web Hosting Services", 13},
                                                            {"Commercial Domain Software", 4}}));
        }
        EXPECT_EQ(window.OnlineHelp1, nullptr);
        EXPECT_EQ(window.ResourceLinks.size(), 24u);
        QMenu* registrars = window.Resources1->actions().at(0)->menu();
        EXPECT_EQ(registrars->actions().at(3)->text(), "1&&1");  // shown as 1&1
        registrars->actions().at(3)->trigger();
        window.PopResource->actions().at(1)->menu()->actions().at(3)->trigger();  // the second
                                                                                  // Godaddy
        EXPECT_EQ(opened,
                  (QStringList{ToQ(web.Site) + "/links/1&1", ToQ(web.Site) + "/links/Godaddy"}));
        EXPECT_TRUE(window.StartupProblems().empty());
    }
    TUrlOpener::SetOpener({});

    // A value of another type: the start reports it and the pop-up keeps its first items.
    TSettingsStore(home.SettingsFile())
        .SetValue(kResourcesKey, kResourcesValue, TRegDataType::String, "x");
    TfrmMain window(TMainOptions{home.DataFolder(), home.SettingsFile()});
    ASSERT_EQ(window.StartupProblems().size(), 1u);
    EXPECT_EQ(window.StartupProblems()[0], "String list expected");
    EXPECT_NE(window.OnlineHelp1, nullptr);
    EXPECT_TRUE(window.Resources1->actions().isEmpty());
}

}  // namespace
}  // namespace norvale
