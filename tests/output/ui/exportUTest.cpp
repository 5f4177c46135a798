// The export dialog, alone and as "Export..." of the main window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/mainU.h"
#include "output/ui/exportU.h"
#include "support/TTempDir.h"
#include "support/qt/TModalDriver.h"
#include "support/qt/TScriptedPrompts.h"

namespace norvale {
namespace {

using test::TIsolatedHome;
using test::TScriptedPromptsScope;
using test::TTempDir;
using test::WhenModal;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

void Fill(TDomainTable& table) {
    if (!table.Active())
        table.Open();
    table.AppendRecord("zulu", "com", "12/24/2026", 4);
    table.AppendRecord("alpha", "co.uk", "12/25/2026", 5);
    table.AppendRecord("mike", "net", "12/26/2026", 4);
}

void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class TExportDialogTest : public ::testing::Test {
protected:
    TScriptedPromptsScope prompts;
    TTempDir dir;
    TDomainTable table;
    QPointer<TfrmExport> dialog;

    void SetUp() override {
        Fill(table);
        dialog = new TfrmExport(table);
        dialog->show();
    }
    void TearDown() override { delete dialog.data(); }
    // After bExportClick: the controls are back and the dialog has closed itself.
    void ExpectClosedWithControlsBack() {
        ASSERT_TRUE(dialog);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(dialog->CheckBox2->isEnabled());
        EXPECT_TRUE(dialog->CheckBox3->isEnabled());
        EXPECT_TRUE(dialog->edDelim->isEnabled());
        FlushDeletes();
        EXPECT_FALSE(dialog) << "the dialog destroys itself on closing";
    }
};

TEST_F(TExportDialogTest, StartsWithTheSettingsOfTheForm) {
    EXPECT_EQ(dialog->windowTitle(), "Export");
    EXPECT_TRUE(dialog->CheckBox1->isChecked());
    EXPECT_FALSE(dialog->CheckBox1->isEnabled());
    EXPECT_EQ(dialog->CheckBox1->text(), "Domain name && Ext.");
    EXPECT_TRUE(dialog->CheckBox2->isChecked());
    EXPECT_TRUE(dialog->CheckBox3->isChecked());
    EXPECT_EQ(dialog->edDelim->text(), ",");
    EXPECT_EQ(dialog->edDelim->maxLength(), 1);
}

TEST_F(TExportDialogTest, TheDelimiterIsNeverEmptyOrABlank) {
    QLineEdit* delim = dialog->edDelim;
    delim->setFocus();
    QTest::keyClick(delim, Qt::Key_End);
    QTest::keyClick(delim, Qt::Key_Backspace);
    EXPECT_EQ(delim->text(), ",");
    EXPECT_EQ(delim->selectedText(), ",") << "selected, so the next key replaces it";
    QTest::keyClicks(delim, ";");
    EXPECT_EQ(delim->text(), ";");
    delim->selectAll();
    QTest::keyClicks(delim, " ");
    EXPECT_EQ(delim->text(), ",");
}

TEST_F(TExportDialogTest, WritesTheChosenColumnsAndReplacesAFileWithoutAsking) {
    dir.Write("out.txt", "an older and longer export\r\n");
    dialog->CheckBox2->setChecked(false);
    dialog->edDelim->setText(";");
    prompts->fileAnswers = {QString::fromStdString(dir.File("out.txt"))};
    dialog->bExport->click();
    EXPECT_EQ(dir.Read("out.txt"), "zulu.com;4\r\nalpha.co.uk;5\r\nmike.net;4\r\n");
    EXPECT_THAT(prompts->shown, ElementsAre("save: Export"));
    EXPECT_EQ(prompts->lastFilter, "Text File (*.txt);;All Files (*)");
    EXPECT_EQ(prompts->lastSuffix, "txt");
    ExpectClosedWithControlsBack();
}

TEST_F(TExportDialogTest, CancelWritesNothing) {
    dialog->bExport->click();
    EXPECT_THAT(prompts->shown, ElementsAre("save: Export"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    ExpectClosedWithControlsBack();
}

TEST_F(TExportDialogTest, AnUnwritablePathIsReportedAndTheDialogStillCloses) {
    prompts->fileAnswers = {QString::fromStdString(dir.File("missing/out.txt"))};
    dialog->bExport->click();
    ASSERT_EQ(prompts->shown.size(), 2);
    EXPECT_THAT(prompts->shown.at(1).toStdString(),
                HasSubstr("error: Cannot create file \"" + dir.File("missing/out.txt")));
    ExpectClosedWithControlsBack();
}

TEST_F(TExportDialogTest, EscClosesFromAnyControlWithoutExporting) {
    for (const char* name : {"edDelim", "CheckBox2", "bExport"}) {
        if (!dialog) {
            dialog = new TfrmExport(table);
            dialog->show();
        }
        QWidget* control = dialog->findChild<QWidget*>(name);
        ASSERT_TRUE(control) << name;
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible()) << name;
        FlushDeletes();
        EXPECT_FALSE(dialog) << name;
    }
    EXPECT_TRUE(prompts->shown.isEmpty());
}

class TExportCommandTest : public ::testing::Test {
protected:
    TIsolatedHome home;
    TScriptedPromptsScope prompts;
    TTempDir out;
    std::unique_ptr<TfrmMain> main;

    void SetUp() override {
        main = std::make_unique<TfrmMain>(TMainOptions{home.DataFolder(), home.SettingsFile()});
    }
};

TEST_F(TExportCommandTest, ExportsTheActiveTabsListAsTheGridShowsIt) {
    TDomainTable& full = main->kbmMemTable1();
    Fill(full);
    full.AppendRecord("bravo", "org", "12/27/2026", 5);
    Fill(main->kbmMain());  // another list, which must not come out
    full.SortOn(TDomainField::Domain);
    full.SetFilter([](const TDomainTable& t, TDomainTable::TRecordId id) {
        return t.TextOf(id, TDomainField::Dom) != "net";
    });
    full.MoveTo(2);
    main->PageControl1->setCurrentIndex(1);

    prompts->fileAnswers = {QString::fromStdString(out.File("full.txt"))};
    WhenModal<TfrmExport>([](TfrmExport* dialog) { dialog->bExport->click(); });
    main->SaveAs1->trigger();
    EXPECT_EQ(out.Read("full.txt"),
              "alpha.co.uk,12/25/2026,5\r\nbravo.org,12/27/2026,5\r\nzulu.com,12/24/2026,4\r\n");
    EXPECT_EQ(full.RecNo(), 2u) << "the cursor is where it was";
    EXPECT_FALSE(main->frmExport);
}

TEST_F(TExportCommandTest, EveryExportStartsWithTheDefaultSettings) {
    WhenModal<TfrmExport>([](TfrmExport* dialog) {
        dialog->CheckBox2->setChecked(false);
        dialog->CheckBox3->setChecked(false);
        dialog->edDelim->setText(";");
        dialog->bCancel->click();
    });
    main->SaveAs1->trigger();
    WhenModal<TfrmExport>([](TfrmExport* dialog) {
        EXPECT_TRUE(dialog->CheckBox2->isChecked());
        EXPECT_TRUE(dialog->CheckBox3->isChecked());
        EXPECT_EQ(dialog->edDelim->text(), ",");
        dialog->bCancel->click();
    });
    main->SaveAs1->trigger();
    EXPECT_TRUE(prompts->shown.isEmpty());
}

}  // namespace
}  // namespace norvale
