// The rule list, the rule editor and Apply Rules on the main window.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QLabel>
#include <algorithm>

#include "app/mainU.h"
#include "rules/TApplyRun.h"
#include "rules/TExtensionChecks.h"
#include "rules/TRuleBuilder.h"
#include "rules/TRuleListFile.h"
#include "rules/ui/TRuleEditor.h"
#include "rules/ui/TRuleListView.h"
#include "util/ENorvaleError.h"
#include "util/TFileIO.h"
#include "util/TRegistry.h"
#include "util/qt/TQtText.h"
#include "util/ui/TPrompts.h"

namespace norvale {

namespace {
// Runs its action when the scope ends, on every path.
template <typename F>
class TFinally {
public:
    explicit TFinally(F f) : f_(std::move(f)) {}
    ~TFinally() { f_(); }
    TFinally(const TFinally&) = delete;
    TFinally& operator=(const TFinally&) = delete;

private:
    F f_;
};
}  // namespace

void TfrmMain::WireRules() {
    RuleEditor = new TRuleEditor(pLeft);
    pLeft->layout()->addWidget(RuleEditor);

    LV = new TRuleListView(pRight);
    static_cast<QVBoxLayout*>(pRight->layout())->addWidget(LV, 1);

    PopupMenu1 = new QMenu(LV);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    SelectAll1 = PopupMenu1->addAction(QStringLiteral("Select All"));
    SelectAll1->setObjectName(QStringLiteral("SelectAll1"));
    Deselectall1 = PopupMenu1->addAction(QStringLiteral("Deselect all"));
    Deselectall1->setObjectName(QStringLiteral("Deselectall1"));
    PopupMenu1->addSeparator();
    Deleteselected1 = PopupMenu1->addAction(QStringLiteral("Delete selected"));
    Deleteselected1->setObjectName(QStringLiteral("Deleteselected1"));
    ClearAll1 = PopupMenu1->addAction(QStringLiteral("Clear All"));
    ClearAll1->setObjectName(QStringLiteral("ClearAll1"));
    LV->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(LV, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(LV->viewport()->mapToGlobal(pos)); });

    const auto insert = [this] { RunCommand(this, [this] { BtnInsertRecordClick(); }); };
    const auto remove = [this] { RunCommand(this, [this] { BtnDeleteRecordClick(); }); };
    const auto apply = [this] { RunCommand(this, [this] { BtnApplyClick(); }); };
    for (QToolButton* button : {BtnInsertRecord, RzToolButton1}) connect(button, &QToolButton::clicked, this, insert);
    connect(Update1, &QAction::triggered, this, insert);
    connect(RuleEditor->bInsRule, &QPushButton::clicked, this, insert);
    for (QToolButton* button : {BtnDeleteRecord, RzToolButton2}) connect(button, &QToolButton::clicked, this, remove);
    for (QAction* action : {DeleteRule1, Deleteselected1}) connect(action, &QAction::triggered, this, remove);
    connect(LV, &TRuleListView::DeleteRequested, this, remove);
    connect(BtnApply, &QToolButton::clicked, this, apply);
    connect(EditRule1, &QAction::triggered, this, apply);
    connect(ClearAll1, &QAction::triggered, this, [this] { RunCommand(this, [this] { ClearAll1Click(); }); });
    connect(SelectAll1, &QAction::triggered, this, [this] { RunCommand(this, [this] { SelectAll1Click(); }); });
    connect(Deselectall1, &QAction::triggered, this, [this] { RunCommand(this, [this] { Deselectall1Click(); }); });

    for (QObject* command : std::initializer_list<QObject*>{
             BtnInsertRecord, RzToolButton1, Update1, RuleEditor->bInsRule, BtnDeleteRecord, RzToolButton2, DeleteRule1,
             Deleteselected1, ClearAll1, SelectAll1, Deselectall1, BtnApply, EditRule1}) {
        if (auto* action = qobject_cast<QAction*>(command)) action->setEnabled(true);
        if (auto* widget = qobject_cast<QWidget*>(command)) widget->setEnabled(true);
        RegisterListCommand(command);
    }
}

void TfrmMain::StartupRules() {
    // 6. ActiveKeywords starts empty.
    LVChecked.Clear();
    // 7. The extension check marks.
    RunStartupStep([this] { LoadExtensionChecks(); });
    // 8. The rules file, when there is one.
    RunStartupStep([this] {
        const std::string path = RulesFilePath();
        if (!FileExists(path)) return;
        try {
            LoadRuleListInto(path);
        } catch (const std::exception&) {
            // An unreadable rules file would be overwritten by the empty list at the
            // next save; move it out of the way first.
            KeepAside(path);
            throw;
        }
    });
    // 9, 10. The default set is current; the active rules follow the list.
    DefaultSetActive = true;
    RunStartupStep([this] { BuildActiveRules(); });
}

void TfrmMain::CloseRules() {
    LVChecked.Clear();
    // Both run: a failed store of the check marks must not lose the rule list.
    std::string problem;
    try {
        SaveExtensionChecks();
    } catch (const std::exception& e) {
        problem = e.what();
    }
    // Whichever set is current: check changes in an open set must not vanish at close.
    SaveRules();
    if (!problem.empty()) throw ENorvaleError(problem);
}

// ---- the rule list and its file ----

TRuleList TfrmMain::RuleListRows() const { return LV->Rows(); }

void TfrmMain::SetRuleListRows(const TRuleList& rows) { LV->SetRows(rows); }

void TfrmMain::LoadRuleListInto(const std::string& path) {
    // A damaged file loads what it can, silently; LoadRuleList has kept its original.
    TRuleListLoad load = LoadRuleList(path);
    SetRuleListRows(load.rules);
}

std::string TfrmMain::RulesFilePath() const { return Folder.FilePath("rules.dat"); }

std::string TfrmMain::CurrentRuleListPath() const {
    return DefaultSetActive ? RulesFilePath() : Folder.SetsFolder() + CurrentSetFile;
}

void TfrmMain::SaveRules() { SaveRuleList(RuleListRows(), CurrentRuleListPath()); }

void TfrmMain::BuildActiveRules() { LVChecked.BuildActiveRules(RuleListRows()); }

// ---- commands ----

void TfrmMain::BtnInsertRecordClick() {
    if (InLongRun()) return;  // the active rules are in use by the run
    LV->AppendRule(BuildRule(RuleEditor->Values()));
    BuildActiveRules();
    SaveRules();
}

void TfrmMain::BtnDeleteRecordClick() {
    if (InLongRun()) return;
    const int k = LV->SelectedRow();
    if (k < 0) {
        TPrompts::Information(this, QStringLiteral("      Please select rule to delete.      "));
        return;
    }
    LV->RemoveRow(k);
    BuildActiveRules();
    SaveRules();
    LV->setFocus();
    const int count = LV->topLevelItemCount();
    if (k - 1 >= 0 && k - 1 < count)
        LV->SelectRow(k - 1);
    else if (k < count)
        LV->SelectRow(k);
}

void TfrmMain::ClearAll1Click() {
    if (InLongRun()) return;
    if (!TPrompts::Confirm(this, QStringLiteral("Delete all rules?"))) return;
    LV->SetRows({});
    SaveRules();
}

void TfrmMain::SelectAll1Click() { LV->SetAllChecked(true); }

void TfrmMain::Deselectall1Click() { LV->SetAllChecked(false); }

void TfrmMain::LoadExtensionChecks() {
    TRegistry registry(*Store);
    RuleEditor->ApplyExtensionChecks(norvale::LoadExtensionChecks(registry));
}

void TfrmMain::SaveExtensionChecks() {
    TRegistry registry(*Store);
    norvale::SaveExtensionChecks(registry, RuleEditor->ExtensionChecks());
}

void TfrmMain::BtnApplyClick() {
    if (InLongRun()) return;
    TDomainTable& full = kbmMemTable1();
    TDomainTable& match = kbmMain();
    TDomainTable built;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        BeginLongRun();
        PageControl1->setCurrentIndex(kTabMatch);
        PageControl1->setEnabled(false);
        match.DisableControls();
        full.DisableControls();
        const TFinally restore([&] {
            match.EnableControls();
            full.EnableControls();
            PageControl1->setEnabled(true);
            QApplication::restoreOverrideCursor();
            EndLongRun();
        });

        ClearGridFilter(kTabFull);
        const std::size_t total = full.RecordCount();
        RzProgressBar1->setRange(0, static_cast<int>(std::max<std::size_t>(total, 1)));
        RzProgressBar1->setValue(0);
        BuildActiveRules();
        // The match list and mlist.dat keep their content until the run has ended well.
        built = ApplyRules(full, LVChecked, [this](std::size_t recordNumber) {
            RzStatusPane2->setText(ToQ(ProcessingRulesText(recordNumber)));
            RzProgressBar1->setValue(static_cast<int>(recordNumber));
            RzProgressBar1->repaint();
            QCoreApplication::processEvents();
        });
    }
    RzProgressBar1->setValue(RzProgressBar1->maximum());
    match.ReplaceContent(std::move(built));
    Lists->SaveDomainLists();
    RzStatusPane2->clear();
    match.First();
    full.First();
    ShowDomainCount();
    RzProgressBar1->setValue(0);
}

}  // namespace norvale
