// The rule editor, the rule list and their commands on the real main window, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/mainU.h"
#include "rules/TRuleListFile.h"
#include "rules/ui/TRuleEditor.h"
#include "rules/ui/TRuleListView.h"
#include "support/TTempDir.h"
#include "support/qt/TScriptedPrompts.h"
#include "util/TFileIO.h"
#include "util/TRegistry.h"
#include "util/TSettingsStore.h"

namespace norvale {
namespace {

using test::TIsolatedHome;
using test::TScriptedPromptsScope;

std::vector<std::string> Cells(std::string exclude, std::string dashes, std::string digits, std::string length,
                               const std::string& extensions = "YYYYYYYYYY") {
    std::vector<std::string> cells{std::move(exclude), std::move(dashes), std::move(digits), std::move(length)};
    for (const char e : extensions) cells.push_back(e == 'Y' ? "Yes" : "No");
    return cells;
}

class RulesWindow : public ::testing::Test {
protected:
    TIsolatedHome home;
    TScriptedPromptsScope prompts;
    std::unique_ptr<TfrmMain> window;

    RulesWindow() { std::filesystem::create_directories(home.DataFolder()); }

    TfrmMain& Open() {
        window = std::make_unique<TfrmMain>(TMainOptions{home.DataFolder(), home.SettingsFile()});
        return *window;
    }
    TRuleEditor& Editor() { return *window->RuleEditor; }
    std::string RulesFile() const { return home.DataFolder() + "rules.dat"; }
    TRuleList Saved(const std::string& path) { return LoadRuleList(path, false).rules; }
    void Insert() { window->RzToolButton1->click(); }
};

struct TInsertCase {
    const char* what;
    std::function<void(TRuleEditor&)> set;
    std::string caption;
    std::vector<std::string> cells;
};

TEST_F(RulesWindow, InsertTurnsTheEditorsControlsIntoCells) {
    const std::vector<TInsertCase> cases = {
        {"defaults", [](TRuleEditor&) {}, "**", Cells("", "No", "No", "*")},
        {"capital and trailing blank, at start: the blank stays before the star",
         [](TRuleEditor& e) {
             QTest::keyClicks(e.edKeyword, "Shop ");
             e.cboKey->setCurrentIndex(1);
         },
         "shop *", Cells("", "No", "No", "*")},
        {"the same at end: the blank ends the pattern and is trimmed",
         [](TRuleEditor& e) {
             QTest::keyClicks(e.edKeyword, "Shop ");
             e.cboKey->setCurrentIndex(2);
         },
         "*shop", Cells("", "No", "No", "*")},
        {"a leading star typed at start makes it anywhere",
         [](TRuleEditor& e) {
             QTest::keyClicks(e.edKeyword, "*ab");
             e.cboKey->setCurrentIndex(1);
         },
         "*ab*", Cells("", "No", "No", "*")},
        {"exclusion lower-cased and trimmed, dashes and digits",
         [](TRuleEditor& e) {
             QTest::keyClicks(e.edNoKeyword, " BaD ");
             QTest::mouseClick(e.chkDashes, Qt::LeftButton);
             e.chkDigits->setChecked(true);
         },
         "**", Cells("bad", "Yes", "Yes", "*")},
        {"exactly 7",
         [](TRuleEditor& e) {
             e.edChars->setText("7");
             e.cboChars->setCurrentIndex(1);
         },
         "**", Cells("", "No", "No", "=7")},
        {"no more than 7",
         [](TRuleEditor& e) {
             e.edChars->setText("7");
             e.cboChars->setCurrentIndex(2);
         },
         "**", Cells("", "No", "No", "<=7")},
        {"no matter whatever the box holds", [](TRuleEditor& e) { e.edChars->setText("99"); }, "**",
         Cells("", "No", "No", "*")},
        {"pasted text in the length box is stored as it is",
         [](TRuleEditor& e) {
             e.edChars->setText("1x");
             e.cboChars->setCurrentIndex(1);
         },
         "**", Cells("", "No", "No", "=1x")},
        {"Check All off, then one extension by hand",
         [](TRuleEditor& e) {
             e.chkAll->click();
             e.lbDomains->item(2)->setCheckState(Qt::Checked);
         },
         "**", Cells("", "No", "No", "*", "NNYNNNNNNN")},
    };
    for (const TInsertCase& c : cases) {
        SCOPED_TRACE(c.what);
        TIsolatedHome fresh;
        TfrmMain w(TMainOptions{fresh.DataFolder(), fresh.SettingsFile()});
        c.set(*w.RuleEditor);
        w.RzToolButton1->click();
        const TRule expected{c.caption, c.cells, true};
        EXPECT_EQ(w.RuleListRows(), TRuleList{expected});
        EXPECT_EQ(LoadRuleList(fresh.DataFolder() + "rules.dat").rules, TRuleList{expected});
        EXPECT_TRUE(prompts->shown.isEmpty()) << prompts->shown.join("; ").toStdString();
    }
}

TEST_F(RulesWindow, EveryInsertEntryAppendsACheckedRuleAndSaves) {
    Open();
    for (QAction* action : {window->Update1}) action->trigger();
    window->BtnInsertRecord->click();
    Editor().bInsRule->click();
    QTest::keyClicks(Editor().edKeyword, "z");
    Insert();
    const TRuleList rows = window->RuleListRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows.back().Caption, "*z*");
    for (const TRule& r : rows) EXPECT_TRUE(r.Checked);
    EXPECT_EQ(Saved(RulesFile()), rows);
    EXPECT_EQ(window->LVChecked.ActiveKeywords(), (std::vector<std::string>{"", "", "", "z"}));
    // Values stay after an insert.
    EXPECT_EQ(Editor().edKeyword->text(), "z");
}

TEST_F(RulesWindow, KeywordBoxesTakeAtMost255Characters) {
    Open();
    QTest::keyClicks(Editor().edKeyword, QString(300, 'a'));
    Editor().edNoKeyword->setText(QString(300, 'b'));
    EXPECT_EQ(Editor().edKeyword->text().size(), 255);
    EXPECT_EQ(Editor().edNoKeyword->text().size(), 255);
}

TEST_F(RulesWindow, LengthBoxTakesDigitsAndFallsBackToOne) {
    Open();
    QLineEdit* box = Editor().edChars;
    EXPECT_EQ(box->text(), "12");
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "1");
    EXPECT_EQ(box->selectedText(), "1");
    QTest::keyClicks(box, "4");
    EXPECT_EQ(box->text(), "4");
    QTest::keyClicks(box, "a -");
    QApplication::clipboard()->setText("55");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "4");
    QTest::keyClicks(box, "2");
    EXPECT_EQ(box->text(), "42");
}

TEST_F(RulesWindow, CheckAllFollowsItsBoxAndMarksSurviveARestart) {
    Open();
    // First run: no stored marks, so everything is checked and so is Check All.
    EXPECT_TRUE(Editor().chkAll->isChecked());
    EXPECT_EQ(Editor().ExtensionChecks(), (std::array<bool, 10>{true, true, true, true, true, true, true, true, true, true}));
    Editor().chkAll->click();
    EXPECT_EQ(Editor().ExtensionChecks(), (std::array<bool, 10>{}));
    Editor().chkAll->click();
    Editor().lbDomains->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(Editor().chkAll->isChecked()) << "a mark set by hand leaves Check All alone";
    window->close();

    Open();
    EXPECT_EQ(Editor().ExtensionChecks(), (std::array<bool, 10>{true, false, true, true, true, true, true, true, true, true}));
    EXPECT_FALSE(Editor().chkAll->isChecked());
}

TEST_F(RulesWindow, DeleteSelectsTheRowBeforeOrTheOneThatFollowed) {
    const auto rule = [](std::string caption, bool checked) {
        return TRule{std::move(caption), Cells("", "No", "No", "*"), checked};
    };
    SaveRuleList({rule("a", true), rule("b", false), rule("c", true), rule("d", true)}, RulesFile());
    Open();
    const auto captions = [&] {
        std::string s;
        for (const TRule& r : window->RuleListRows()) s += r.Caption;
        return s;
    };
    window->RzToolButton2->click();
    EXPECT_EQ(prompts->shown, QStringList{"information:       Please select rule to delete.      "});
    EXPECT_EQ(captions(), "abcd");

    window->LV->SelectRow(2);
    window->DeleteRule1->trigger();
    EXPECT_EQ(captions(), "abd");
    EXPECT_EQ(window->LV->SelectedRow(), 1);
    EXPECT_EQ(Saved(RulesFile()).size(), 3u);
    EXPECT_EQ(window->LVChecked.ActiveKeywords(), (std::vector<std::string>{"a", "d"}));

    window->LV->SelectRow(0);
    window->LV->setFocus();
    QTest::keyClick(window->LV, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(captions(), "bd");
    EXPECT_EQ(window->LV->SelectedRow(), 0) << "the row that is now first";
    QTest::keyClick(window->LV, Qt::Key_Delete);  // without Ctrl nothing happens
    EXPECT_EQ(captions(), "bd");

    window->LV->SelectRow(0);
    window->Deleteselected1->trigger();
    window->LV->SelectRow(0);
    window->BtnDeleteRecord->click();
    EXPECT_EQ(captions(), "");
    EXPECT_EQ(window->LV->SelectedRow(), -1);
    EXPECT_EQ(ReadWholeFile(RulesFile()), std::string("LISTVIEW01\x80"));
}

TEST_F(RulesWindow, ClearAllAsksAndCheckAllSavesNothing) {
    Open();
    Insert();
    Insert();
    const std::string before = ReadWholeFile(RulesFile());
    window->Deselectall1->trigger();
    for (const TRule& r : window->RuleListRows()) EXPECT_FALSE(r.Checked);
    EXPECT_EQ(ReadWholeFile(RulesFile()), before);
    EXPECT_EQ(window->LVChecked.Rows().size(), 2u) << "the active rules wait for their next rebuild";
    window->SelectAll1->trigger();
    for (const TRule& r : window->RuleListRows()) EXPECT_TRUE(r.Checked);

    window->ClearAll1->trigger();  // answered No
    EXPECT_EQ(prompts->shown, QStringList{"confirm: Delete all rules?"});
    EXPECT_EQ(window->RuleListRows().size(), 2u);
    EXPECT_EQ(ReadWholeFile(RulesFile()), before);
    prompts->confirmAnswers.push_back(true);
    window->ClearAll1->trigger();
    EXPECT_TRUE(window->RuleListRows().empty());
    EXPECT_EQ(ReadWholeFile(RulesFile()), std::string("LISTVIEW01\x80"));
}

TEST_F(RulesWindow, AFailedSaveIsReportedAndTheRuleStays) {
    std::filesystem::create_directories(RulesFile());  // a folder where the file should go
    Open();
    Insert();
    ASSERT_EQ(prompts->shown.size(), 1);
    EXPECT_TRUE(prompts->shown[0].startsWith("error: Cannot create file \"" + QString::fromStdString(RulesFile()) + "\". "))
        << prompts->shown[0].toStdString();
    EXPECT_EQ(window->RuleListRows().size(), 1u);
    std::filesystem::remove(RulesFile());
    Insert();
    EXPECT_EQ(Saved(RulesFile()).size(), 2u) << "the next save takes the earlier change along";
}

TEST_F(RulesWindow, WhileASetIsOpenChangesGoToItsFileAlsoAtClose) {
    Open();
    Insert();
    const std::string defaultSet = ReadWholeFile(RulesFile());
    window->DefaultSetActive = false;
    window->CurrentSetFile = "mine.set";
    const std::string setFile = home.DataFolder() + "sets/mine.set";
    Insert();
    EXPECT_EQ(Saved(setFile).size(), 2u);
    window->LV->SelectRow(0);
    window->RzToolButton2->click();
    EXPECT_EQ(Saved(setFile).size(), 1u);
    window->Deselectall1->trigger();
    window->close();
    EXPECT_EQ(Saved(setFile), (TRuleList{TRule{"**", Cells("", "No", "No", "*"), false}}));
    EXPECT_EQ(ReadWholeFile(RulesFile()), defaultSet);
}

TEST_F(RulesWindow, StartUpLoadsRulesAndCheckMarksAndCloseStoresThem) {
    {
        TSettingsStore store(home.SettingsFile());
        TRegistry registry(store);
        registry.OpenKey("Software\\Norvale", true);
        for (int i = 0; i < 10; ++i) registry.WriteInteger(std::to_string(i), i % 2);
    }
    const TRuleList stored{TRule{"*a*", Cells("", "No", "No", "*"), true}, TRule{"b*", Cells("", "No", "No", "*"), false}};
    SaveRuleList(stored, RulesFile());
    Open();
    EXPECT_TRUE(window->StartupProblems().empty());
    EXPECT_EQ(window->RuleListRows(), stored);
    EXPECT_TRUE(window->DefaultSetActive);
    EXPECT_EQ(window->LVChecked.ActiveKeywords(), std::vector<std::string>{"a"});
    EXPECT_EQ(Editor().ExtensionChecks(),
              (std::array<bool, 10>{false, true, false, true, false, true, false, true, false, true}));
    // A check-box change has no handler; closing saves it.
    window->LV->topLevelItem(1)->setCheckState(0, Qt::Checked);
    window->close();
    EXPECT_TRUE(Saved(RulesFile())[1].Checked);
}

TEST_F(RulesWindow, ADamagedRulesFileLoadsWhatItCanSilentlyAndIsKeptAside) {
    using namespace std::string_literals;
    // The second rule is cut short inside its caption.
    const std::string bytes = "LISTVIEW01\x80"s + "\x01\x00\x81\x02\x00"s + "a*" + "\x02\x00\x81\x05\x00"s + "b";
    WriteFileAtomically(RulesFile(), bytes);
    Open();
    EXPECT_TRUE(window->StartupProblems().empty());
    EXPECT_EQ(window->RuleListRows(), (TRuleList{TRule{"a*", {}, true}, TRule{"b", {}, true}}));
    EXPECT_FALSE(FileExists(RulesFile())) << "the damaged original is out of the way";
    window->close();
    EXPECT_EQ(Saved(RulesFile()).size(), 2u);
}

TEST_F(RulesWindow, HeaderClicksSortAndReverseAndCtrlCCopies) {
    SaveRuleList({TRule{"b", {"2"}, true}, TRule{"C", {"1"}, false}, TRule{"a", {"3"}, true}}, RulesFile());
    Open();
    const auto captions = [&] {
        std::string s;
        for (const TRule& r : window->RuleListRows()) s += r.Caption;
        return s;
    };
    QHeaderView* header = window->LV->header();
    emit header->sectionClicked(0);
    EXPECT_EQ(captions(), "abC");
    emit header->sectionClicked(0);
    EXPECT_EQ(captions(), "Cba");
    emit header->sectionClicked(1);
    EXPECT_EQ(captions(), "Cba");
    emit header->sectionClicked(1);
    EXPECT_EQ(captions(), "abC");

    window->LV->setFocus();
    QTest::keyClick(window->LV, Qt::Key_C, Qt::ControlModifier);
    const QString captionsLine =
        "contains\texclude\tno dashes\tno digits\tlength\tcom\tnet\torg\tinfo\tbiz\tca\tus\tco.uk\torg.uk\tme.uk\t\r\n";
    EXPECT_EQ(QApplication::clipboard()->text(), captionsLine + "a\t3\r\nb\t2\r\nC\t1\r\n");
    window->LV->SelectRow(1);
    QTest::keyClick(window->LV, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), captionsLine + "b\t2\r\n");
}

TEST_F(RulesWindow, ListViewLayout) {
    Open();
    TRuleListView& lv = *window->LV;
    ASSERT_EQ(lv.columnCount(), 15);
    EXPECT_EQ(lv.headerItem()->text(4), "length");
    EXPECT_EQ(lv.headerItem()->text(14), "me.uk");
    EXPECT_EQ(lv.columnWidth(0), 120);
    EXPECT_EQ(lv.columnWidth(3), 70);
    EXPECT_EQ(lv.columnWidth(9), 50);
    EXPECT_EQ(lv.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(lv.editTriggers(), QAbstractItemView::NoEditTriggers);
    QStringList items;
    for (QAction* a : window->PopupMenu1->actions()) items << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(items.mid(0, 5), (QStringList{"Select All", "Deselect all", "-", "Delete selected", "Clear All"}));
}

}  // namespace
}  // namespace norvale
