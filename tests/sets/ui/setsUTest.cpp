// The configuration-set commands on the main window and the two set dialogs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/mainU.h"
#include "rules/TRuleListFile.h"
#include "sets/ui/deleteU.h"
#include "sets/ui/saveU.h"
#include "support/TTempDir.h"
#include "support/qt/TModalDriver.h"
#include "support/qt/TScriptedPrompts.h"
#include "util/ENorvaleError.h"
#include "util/TFileIO.h"

namespace norvale {

void PrintTo(const TRule& rule, std::ostream* os) {
    *os << (rule.Checked ? "[x] " : "[ ] ") << rule.Caption;
    for (const std::string& cell : rule.SubItems) *os << "|" << cell;
}

namespace {

using test::TIsolatedHome;
using test::TScriptedPromptsScope;
using test::WhenModal;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TRule Rule(const std::string& keyword, bool checked) {
    TRule r;
    r.Caption = "*" + keyword + "*";
    r.SubItems = {"",    "No",  "No",  "*",   "Yes", "Yes", "Yes",
                  "Yes", "Yes", "Yes", "Yes", "Yes", "Yes", "Yes"};
    r.Checked = checked;
    return r;
}

std::vector<std::string> Items(const QListWidget* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text().toStdString());
    return items;
}

class TSetsWindowTest : public ::testing::Test {
protected:
    TIsolatedHome home;
    TScriptedPromptsScope prompts;
    TDataFolder folder{home.DataFolder()};
    std::unique_ptr<TfrmMain> main;

    const TRuleList defaults{Rule("alpha", true), Rule("beta", false)};
    const TRuleList first{Rule("first", true)};
    const TRuleList second{Rule("second", false), Rule("second", true)};

    void SetUp() override {
        folder.EnsureDataFolder();
        folder.EnsureSetsFolder();
        SaveRuleList(defaults, RulesFile());
        SaveRuleList(first, SetFile("first"));
        SaveRuleList(second, SetFile("second"));
        main = std::make_unique<TfrmMain>(TMainOptions{home.DataFolder(), home.SettingsFile()});
        ASSERT_EQ(main->RuleListRows(), defaults);
    }

    std::string RulesFile() const { return folder.FilePath("rules.dat"); }
    std::string SetFile(const std::string& name) const {
        return folder.SetsFolder() + name + ".set";
    }
    static TRuleList Stored(const std::string& path) { return LoadRuleList(path, false).rules; }

    void OpenThroughDialog(const std::string& name) {
        WhenModal<TfrmDelete>([name](TfrmDelete* dialog) {
            const auto found =
                dialog->LBopen->findItems(QString::fromStdString(name), Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            dialog->LBopen->setCurrentItem(found.front());
            dialog->bOpen->click();
        });
        main->OpenSet1->trigger();
    }

    void SaveThroughDialog(const QString& name) {
        WhenModal<TfrmSave>([name](TfrmSave* dialog) {
            EXPECT_TRUE(dialog->edName->text().isEmpty()) << "the name box starts empty";
            QTest::keyClicks(dialog->edName, name);
            dialog->bSave->click();
        });
        main->SaveSet1->trigger();
    }

    // As the user reaches it: the pop-up opens, then the item is chosen.
    void BackToDefault() {
        ASSERT_TRUE(BackToDefaultEnabled());
        main->BacktoDefaultSet1->trigger();
    }

    bool BackToDefaultEnabled() {
        emit main->PopupMenu1->aboutToShow();
        return main->BacktoDefaultSet1->isEnabled();
    }
};

TEST_F(TSetsWindowTest, PopupMenuCarriesTheSetItemsAfterTheRuleItems) {
    QStringList captions;
    for (const QAction* a : main->PopupMenu1->actions())
        captions << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(captions.mid(captions.size() - 6),
              QStringList({"-", "Open Set", "Save Set", "Delete Set", "-", "Back to Default Set"}));
}

TEST_F(TSetsWindowTest, SaveWritesACopyAndKeepsTheCurrentSet) {
    SaveThroughDialog("mine");
    EXPECT_EQ(Stored(SetFile("mine")), defaults);
    EXPECT_TRUE(main->DefaultSetActive);
    EXPECT_TRUE(prompts->shown.isEmpty()) << prompts->shown.join("|").toStdString();

    // Edits after the save still go to the rules file, not to the copy.
    main->SetRuleListRows(first);
    main->SaveRules();
    EXPECT_EQ(Stored(RulesFile()), first);
    EXPECT_EQ(Stored(SetFile("mine")), defaults);
}

TEST_F(TSetsWindowTest, SavingUnderAnExistingNameAsksFirst) {
    main->SetRuleListRows(second);
    prompts->confirmAnswers = {false};
    SaveThroughDialog("first");
    EXPECT_THAT(prompts->shown,
                ElementsAre("confirm: That name already exist. Do you want to overwrite?"));
    EXPECT_EQ(Stored(SetFile("first")), first) << "No leaves the old file";

    prompts->confirmAnswers = {true};
    SaveThroughDialog("first");
    EXPECT_EQ(Stored(SetFile("first")), second);
}

TEST_F(TSetsWindowTest, ANameTheFileSystemRefusesIsReportedWithTheFile) {
    const std::string tooLong(300, 'n');
    SaveThroughDialog(QString::fromStdString(tooLong));
    ASSERT_EQ(prompts->shown.size(), 1);
    EXPECT_THAT(prompts->shown.front().toStdString(),
                HasSubstr("error: Cannot create file \"" + SetFile(tooLong) + "\""));
    EXPECT_TRUE(main->DefaultSetActive);
    EXPECT_EQ(Stored(RulesFile()), defaults);
}

TEST_F(TSetsWindowTest, SaveDialogFiltersKeysAndRefusesBadNames) {
    TfrmSave& dialog = *main->frmSave;
    dialog.show();
    QTest::keyClicks(dialog.edName, "a\"b*c/d:e<f>g?h\\i|j k");
    EXPECT_EQ(dialog.edName->text(), "abcdefghij k");

    // Enter only moves to Save.
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    QTest::keyClick(dialog.edName, Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), dialog.bSave);
    EXPECT_EQ(accepted.count(), 0);

    const struct {
        QString text;
        const char* message;
    } refused[] = {{"   ", "Enter name!"},
                   {"", "Enter name!"},
                   {"pasted/../x", "cannot contain"},
                   {"..", "cannot be"}};
    for (const auto& c : refused) {
        prompts->shown.clear();
        dialog.edName->setText(c.text);  // pasted: no key filter saw it
        dialog.bSaveClick();
        ASSERT_EQ(prompts->shown.size(), 1) << c.text.toStdString();
        EXPECT_THAT(prompts->shown.front().toStdString(), HasSubstr(c.message));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(accepted.count(), 0);
    }
    dialog.edName->setText(" blanks kept ");
    dialog.bSaveClick();
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(dialog.Name(), " blanks kept ");
}

TEST_F(TSetsWindowTest, OpeningWhileTheDefaultSetIsCurrentWritesTheRulesFileFirst) {
    TRuleList changed = defaults;
    changed[1].Checked = true;  // a check-mark change, not yet saved anywhere
    main->SetRuleListRows(changed);

    OpenThroughDialog("first");
    EXPECT_EQ(Stored(RulesFile()), changed);
    EXPECT_EQ(main->RuleListRows(), first);
    EXPECT_FALSE(main->DefaultSetActive);
    EXPECT_EQ(main->CurrentSetFile, "first.set");
    EXPECT_EQ(main->CurrentRuleListPath(), SetFile("first"));

    BackToDefault();
    EXPECT_EQ(main->RuleListRows(), changed) << "exactly the rules that were saved";
    EXPECT_TRUE(main->DefaultSetActive);
    EXPECT_EQ(main->CurrentSetFile, "first.set") << "kept";
}

TEST_F(TSetsWindowTest, TheSetThatGivesWayKeepsItsCheckMarkChanges) {
    OpenThroughDialog("first");
    const std::string rulesBefore = ReadWholeFile(RulesFile());
    TRuleList changed = first;
    changed[0].Checked = false;
    main->SetRuleListRows(changed);

    OpenThroughDialog("second");
    EXPECT_EQ(Stored(SetFile("first")), changed);
    EXPECT_EQ(ReadWholeFile(RulesFile()), rulesBefore) << "the default set is not touched";
    EXPECT_EQ(main->RuleListRows(), second);
    EXPECT_EQ(main->CurrentSetFile, "second.set");

    TRuleList changedSecond = second;
    changedSecond[0].Checked = true;
    main->SetRuleListRows(changedSecond);
    BackToDefault();
    EXPECT_EQ(Stored(SetFile("second")), changedSecond);
    EXPECT_EQ(main->RuleListRows(), defaults);
}

TEST_F(TSetsWindowTest, DoubleClickingAnEntryOpensIt) {
    WhenModal<TfrmDelete>([](TfrmDelete* dialog) {
        QListWidgetItem* item = dialog->LBopen->item(1);  // "second"
        const QPoint at = dialog->LBopen->visualItemRect(item).center();
        QTest::mouseClick(dialog->LBopen->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(dialog->LBopen->viewport(), Qt::LeftButton, {}, at);
    });
    main->OpenSet1->trigger();
    EXPECT_EQ(main->CurrentSetFile, "second.set");
    EXPECT_EQ(main->RuleListRows(), second);
}

TEST_F(TSetsWindowTest, OpeningASetThatHasGoneChangesNothing) {
    WhenModal<TfrmDelete>([this](TfrmDelete* dialog) {
        dialog->LBopen->setCurrentRow(0);  // "first"
        ASSERT_EQ(::unlink(SetFile("first").c_str()), 0);
        dialog->bOpen->click();
    });
    main->OpenSet1->trigger();
    EXPECT_FALSE(main->frmDelete->isVisible());
    EXPECT_TRUE(main->DefaultSetActive);
    EXPECT_EQ(main->RuleListRows(), defaults);
}

TEST_F(TSetsWindowTest, OpenAndDeleteAskForAChoice) {
    WhenModal<TfrmDelete>([this](TfrmDelete* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Open Saved Sets");
        EXPECT_EQ(dialog->Label1->text(),
                  "Select configuration sets to open and press Open button");
        EXPECT_TRUE(dialog->LBopen->isVisible());
        EXPECT_FALSE(dialog->LB->isVisible());
        EXPECT_THAT(Items(dialog->LBopen), ElementsAre("first", "second"));
        dialog->bOpen->click();
        EXPECT_THAT(prompts->shown, ElementsAre("information: Select configuration set to open!"));
        EXPECT_TRUE(dialog->isVisible());
        dialog->bCancel->click();
    });
    main->OpenSet1->trigger();
    EXPECT_TRUE(main->DefaultSetActive);

    prompts->shown.clear();
    WhenModal<TfrmDelete>([this](TfrmDelete* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Delete Sets");
        EXPECT_EQ(dialog->Label1->text(),
                  "Select configuration sets to delete and press Delete button");
        EXPECT_TRUE(dialog->LB->isVisible());
        EXPECT_FALSE(dialog->LBopen->isVisible());
        dialog->LB->item(0)->setCheckState(Qt::Checked);
        dialog->bDelete->click();  // checked, but no current entry
        EXPECT_THAT(prompts->shown,
                    ElementsAre("information: Select configuration set to delete!"));
        dialog->bCancel->click();
    });
    main->DeleteSet1->trigger();
    EXPECT_TRUE(FileExists(SetFile("first")));
}

TEST_F(TSetsWindowTest, DeletesEveryCheckedSetAtOnceAndStaysOpen) {
    for (const char* name : {"a", "b", "c"}) SaveRuleList(first, SetFile(name));
    WhenModal<TfrmDelete>([this](TfrmDelete* dialog) {
        ASSERT_THAT(Items(dialog->LB), ElementsAre("a", "b", "c", "first", "second"));
        for (int row : {0, 2, 4}) dialog->LB->item(row)->setCheckState(Qt::Checked);
        dialog->LB->setCurrentRow(1);  // the current entry does not decide what goes
        dialog->bDelete->click();
        EXPECT_THAT(Items(dialog->LB), ElementsAre("b", "first"));
        EXPECT_TRUE(dialog->isVisible());
        dialog->bCancel->click();
    });
    main->DeleteSet1->trigger();
    EXPECT_TRUE(prompts->shown.isEmpty()) << prompts->shown.join("|").toStdString();
    for (const char* gone : {"a", "c", "second"}) EXPECT_FALSE(FileExists(SetFile(gone))) << gone;
    for (const char* kept : {"b", "first"}) EXPECT_TRUE(FileExists(SetFile(kept))) << kept;
}

TEST_F(TSetsWindowTest, ASetThatCannotBeDeletedIsReportedAndKeepsItsEntry) {
    main->frmDelete->RemoveFile = [this](const std::string& path) {
        if (path == SetFile("first"))
            throw EFileError("Cannot delete file \"" + path + "\". Operation not permitted");
        DeleteFileOrThrow(path);
    };
    WhenModal<TfrmDelete>([](TfrmDelete* dialog) {
        for (int row = 0; row < dialog->LB->count(); ++row)
            dialog->LB->item(row)->setCheckState(Qt::Checked);
        dialog->LB->setCurrentRow(0);
        dialog->bDelete->click();
        EXPECT_THAT(Items(dialog->LB), ElementsAre("first"));
        dialog->bCancel->click();
    });
    main->DeleteSet1->trigger();
    ASSERT_EQ(prompts->shown.size(), 1);
    EXPECT_THAT(prompts->shown.front().toStdString(),
                HasSubstr("error: Cannot delete file \"" + SetFile("first") +
                          "\". Operation not permitted"));
    EXPECT_TRUE(FileExists(SetFile("first")));
    EXPECT_FALSE(FileExists(SetFile("second")));
}

TEST_F(TSetsWindowTest, BackToDefaultIsOfferedExactlyWhileASetIsOpen) {
    EXPECT_FALSE(BackToDefaultEnabled());
    OpenThroughDialog("second");
    EXPECT_TRUE(BackToDefaultEnabled());
    main->BeginLongRun();
    EXPECT_FALSE(BackToDefaultEnabled()) << "not while a long run works on the rules";
    main->EndLongRun();
    BackToDefault();
    EXPECT_FALSE(BackToDefaultEnabled());
}

TEST_F(TSetsWindowTest, DeletingTheOpenSetLeavesItCurrentAndTheNextSaveWritesItAgain) {
    OpenThroughDialog("first");
    ASSERT_EQ(::unlink(SetFile("first").c_str()), 0);
    main->SetRuleListRows(second);
    main->SaveRules();
    EXPECT_EQ(Stored(SetFile("first")), second);
    EXPECT_EQ(Stored(RulesFile()), defaults);
}

}  // namespace
}  // namespace norvale
