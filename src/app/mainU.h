#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "domains/TDataFolder.h"
#include "domains/TDomainLists.h"
#include "rules/TActiveRules.h"
#include "rules/TRule.h"
#include "util/TSettingsStore.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QProgressBar;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;

namespace norvale {

// Where the window keeps its state; the defaults are the user's own folders.
struct TMainOptions {
    std::string dataFolder;    // empty: the platform's data folder
    std::string settingsFile;  // empty: the platform's settings file
};

// The main window: owns the three lists, the rules, the settings store and every
// command. Its handlers keep the names of the commands they stand for. Each
// subsystem wires its commands in its own file (mainU_<subsystem>.cpp); a command
// whose subsystem has not wired it stays disabled.
class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmMain(const TMainOptions& options = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // ---- state shared by the whole run ----
    bool UseAppDataFolder = false;
    TDataFolder Folder;
    std::unique_ptr<TSettingsStore> Store;
    std::unique_ptr<TDomainLists> Lists;
    TDomainTable& kbmMain() { return Lists->kbmMain; }
    TDomainTable& kbmMemTable1() { return Lists->kbmMemTable1; }
    TDomainTable& kbmDraft() { return Lists->kbmDraft; }
    std::string DataFolder() const { return Folder.DataFolder(); }

    // ---- layout ----
    QToolBar* TB = nullptr;
    QWidget* pLeft = nullptr;   // the rule editor
    QWidget* pRight = nullptr;  // the rule strip and the rule list
    QWidget* RuleStrip = nullptr;
    QSplitter* UpperSplitter = nullptr;
    QSplitter* MainSplitter = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QLabel* RzStatusPane1 = nullptr;
    QLabel* RzStatusPane2 = nullptr;
    QProgressBar* RzProgressBar1 = nullptr;
    QLabel* RzClockStatus1 = nullptr;

    // ---- toolbar ----
    QToolButton* BtnInternet = nullptr;
    QToolButton* BtnInsertRecord = nullptr;
    QToolButton* BtnDeleteRecord = nullptr;
    QToolButton* BtnApply = nullptr;
    QToolButton* BtnPrintPreview = nullptr;
    QToolButton* BtnPrint = nullptr;
    QToolButton* bCheckUpdates = nullptr;
    QToolButton* btnWeb = nullptr;
    QToolButton* BtnHelp = nullptr;
    QToolButton* btnRes = nullptr;
    QToolButton* btnExit = nullptr;
    QToolButton* RzToolButton1 = nullptr;  // "Insert Rule" on the rule strip
    QToolButton* RzToolButton2 = nullptr;  // "Delete Rule" on the rule strip

    // ---- menus ----
    QMenu* File1 = nullptr;
    QAction* New1 = nullptr;         // "&Update Domains"
    QAction* ImportList1 = nullptr;  // "Import List..."
    QAction* EditRule1 = nullptr;    // "&Apply Rule"
    QAction* OpenSet1 = nullptr;
    QAction* SaveSet1 = nullptr;
    QAction* DeleteSet1 = nullptr;
    QAction* SaveAs1 = nullptr;  // "&Export..."
    QAction* ProntPreview1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Edit1 = nullptr;
    QAction* Update1 = nullptr;      // "&Insert Rule"
    QAction* DeleteRule1 = nullptr;  // "&Delete Rule"
    QMenu* Skins1 = nullptr;
    QActionGroup* SkinGroup = nullptr;
    QAction* None1 = nullptr;
    QAction* SK1 = nullptr;
    QAction* SK2 = nullptr;
    QAction* SK3 = nullptr;
    QAction* SK4 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* Help2 = nullptr;  // "&Online Help"
    QAction* NorvaleOnWeb1 = nullptr;
    QAction* Checkforupdates1 = nullptr;
    QAction* About1 = nullptr;
    QMenu* Resources1 = nullptr;
    QMenu* PopResource = nullptr;
    QAction* OnlineHelp1 = nullptr;  // first item of PopResource until the resources are built
    QAction* Domains1 = nullptr;

    // ---- lifecycle ----
    void FormShow();
    bool FormCloseQuery() const;
    void FormClose();
    void ShowDomainCount();
    // Messages of start-up steps that failed, in order (also shown to the user).
    const std::vector<std::string>& StartupProblems() const { return startupProblems_; }

    // While a long run (update, import, Apply Rules) works on the lists, every
    // command that reads or changes the lists or the rules is disabled; subsystems
    // register such commands when they wire them. Runs nest.
    void RegisterListCommand(QObject* actionOrWidget);
    void BeginLongRun();
    void EndLongRun();
    bool InLongRun() const { return longRuns_ > 0; }

    // The index of the active tab: 0 match list, 1 full list, 2 drafts.
    int ActiveTab() const;

    // ===== Rules: mainU_rules.cpp, src/rules =====
    // Shared with the other subsystems (sets, update): the rule list, the active rules
    // and the current-set state.
    TActiveRules LVChecked;
    bool DefaultSetActive = true;
    std::string CurrentSetFile;  // "NAME.set" of the set last opened
    TRuleList RuleListRows() const;               // LV's rows as the core sees them
    void SetRuleListRows(const TRuleList& rows);  // replaces LV's rows
    void LoadRuleListInto(const std::string& path);  // LoadRuleList into LV
    std::string RulesFilePath() const;            // DataFolder() + "rules.dat"
    std::string CurrentRuleListPath() const;      // rules.dat or the open set's file
    void SaveRules();                             // to CurrentRuleListPath()
    void BuildActiveRules();
    // The rule list's pop-up: the rules subsystem creates it with its own items; the
    // sets subsystem appends the set items.
    QMenu* PopupMenu1 = nullptr;
    class TRuleListView* LV = nullptr;  // declared here, defined in rules/ui
    class TRuleEditor* RuleEditor = nullptr;  // lbDomains, chkAll, edKeyword, ... bInsRule
    QAction* SelectAll1 = nullptr;
    QAction* Deselectall1 = nullptr;
    QAction* Deleteselected1 = nullptr;
    QAction* ClearAll1 = nullptr;
    void BtnInsertRecordClick();
    void BtnDeleteRecordClick();
    void ClearAll1Click();
    void SelectAll1Click();
    void Deselectall1Click();
    void BtnApplyClick();
    void LoadExtensionChecks();
    void SaveExtensionChecks();
    // ===== end Rules =====

    // ===== Grids: mainU_grids.cpp, src/app =====
    // Removes every filter condition of the grid on that tab (its editors too).
    void ClearGridFilter(int tab);
    // ===== end Grids =====

    // ===== Update: mainU_update.cpp, src/update =====
    // ===== end Update =====

    // ===== Sets, export, help: mainU_sets.cpp, src/sets, src/output =====
    // ===== end Sets =====

    // ===== Output: mainU_output.cpp, src/output =====
    // ===== end Output =====

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildLayout();
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    void FormCreate();
    void RunStartupStep(const std::function<void()>& step);

    // Subsystem hooks, each defined in its own mainU_<subsystem>.cpp.
    void WireRules();      // rule list, editor, Apply Rules; start-up steps 6 to 10
    void WireGrids();      // grids, drafts, skins
    void WireUpdate();     // update, import, resources; start-up steps 2 and 3
    void WireSets();       // configuration sets, export, help and about
    void WireOutput();     // print and preview
    void StartupResources();  // steps 2 and 3
    void StartupRules();      // steps 6 to 10
    void StartupSkins();      // step 12
    void CloseRules();        // the closing steps that store check marks and rules

    std::vector<std::string> startupProblems_;
    std::vector<QPointer<QObject>> listCommands_;
    std::vector<bool> enabledBeforeRun_;
    int longRuns_ = 0;
    bool shownOnce_ = false;
    bool closed_ = false;
    QTimer* clockTimer_ = nullptr;
};

}  // namespace norvale
