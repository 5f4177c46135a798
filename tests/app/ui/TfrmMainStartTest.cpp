#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>
#include <filesystem>

#include "app/mainU.h"
#include "domains/TDomainListFile.h"
#include "support/TTempDir.h"
#include "support/qt/TScriptedPrompts.h"
#include "util/TFileIO.h"

namespace norvale {
namespace {

using test::TIsolatedHome;
using test::TScriptedPromptsScope;
using ::testing::HasSubstr;

// Lets queued calls (the start-up reports) run.
void Settle(
    const std::function<bool()>& done = [] { return false; }, int ms = 200) {
    QElapsedTimer timer;
    timer.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    } while (!done() && timer.elapsed() < ms);
}

TEST(TfrmMainStartTest, FirstStartCreatesTheFoldersAndOpensEmpty) {
    TIsolatedHome home;
    TScriptedPromptsScope prompts;
    ASSERT_FALSE(std::filesystem::exists(home.DataFolder()));
    TfrmMain window;
    EXPECT_TRUE(DirectoryExists(home.DataFolder()));
    EXPECT_TRUE(DirectoryExists(home.DataFolder() + "sets"));
    EXPECT_EQ(window.DataFolder(), home.DataFolder());
    EXPECT_EQ(window.RzStatusPane1->text().toStdString(), "Found");

    window.show();
    Settle();
    EXPECT_EQ(window.windowTitle().toStdString(), "Norvale v1.0");
    EXPECT_EQ(window.size(), QSize(850, 640));
    EXPECT_EQ(window.minimumSize(), QSize(800, 600));
    EXPECT_EQ(window.PageControl1->currentIndex(), 0);
    EXPECT_EQ(window.RzStatusPane1->text().toStdString(), "Found 0 domains");
    for (int tab = 0; tab < 3; ++tab) EXPECT_TRUE(window.Lists->ForTab(tab).Active()) << tab;
    EXPECT_TRUE(prompts->shown.isEmpty()) << prompts->shown.join("\n").toStdString();
    window.close();
}

TEST(TfrmMainStartTest, CloseRequestsWaitForTheHourglass) {
    TIsolatedHome home;
    TScriptedPromptsScope prompts;
    TfrmMain window;
    window.show();
    Settle();

    QApplication::setOverrideCursor(Qt::WaitCursor);
    EXPECT_FALSE(window.close());  // the close box
    window.Exit1->trigger();
    window.btnExit->click();
    Settle();
    EXPECT_TRUE(window.isVisible());
    QApplication::restoreOverrideCursor();

    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(prompts->shown.isEmpty())
        << prompts->shown.join("\n").toStdString();  // refused silently
}

TEST(TfrmMainStartTest, ExitAndTheToolbarButtonCloseLikeTheCloseBox) {
    for (int way = 0; way < 2; ++way) {
        TIsolatedHome home;
        TScriptedPromptsScope prompts;
        TfrmMain window;
        window.show();
        Settle();
        if (way == 0) {
            window.Exit1->trigger();
        } else {
            window.btnExit->click();
        }
        Settle();
        EXPECT_FALSE(window.isVisible()) << way;
    }
}

TEST(TfrmMainStartTest, DamagedListAtStartIsReportedAndTheOtherListsLoad) {
    TIsolatedHome home;
    const TDataFolder folder(home.DataFolder());
    folder.EnsureDataFolder();
    TDomainTable match;
    match.Open();
    match.AppendRecord("alpha", "com", "05/31/2008", 5);
    match.AppendRecord("bravo", "net", "05/31/2008", 5);
    TDomainListFile::Save(match, folder.FilePath("mlist.dat"));
    TDomainTable drafts;
    drafts.Open();
    drafts.AppendRecord("alpha", "com", "05/31/2008", 5);
    TDomainListFile::Save(drafts, folder.FilePath("draft.dat"));
    WriteFileAtomically(folder.FilePath("dlist.dat"), "NVLIST\r\n this is no list");

    TScriptedPromptsScope prompts;
    TfrmMain window;
    window.show();
    Settle([&] { return !prompts->shown.isEmpty(); }, 2000);
    ASSERT_EQ(prompts->shown.size(), 1) << prompts->shown.join("\n").toStdString();
    EXPECT_THAT(prompts->shown[0].toStdString(), HasSubstr("error: "));
    EXPECT_THAT(prompts->shown[0].toStdString(), HasSubstr(folder.FilePath("dlist.dat")));

    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.kbmMemTable1().Active());
    EXPECT_EQ(window.kbmMemTable1().TotalRecordCount(), 0u);
    EXPECT_EQ(window.kbmMain().TotalRecordCount(), 2u);
    EXPECT_EQ(window.kbmDraft().TotalRecordCount(), 1u);
    EXPECT_EQ(window.RzStatusPane1->text().toStdString(), "Found 2 domains");
    EXPECT_FALSE(FileExists(folder.FilePath("dlist.dat")));  // kept aside, not lost
    window.close();
}

}  // namespace
}  // namespace norvale
