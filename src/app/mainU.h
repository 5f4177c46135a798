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
#include "update/TWebAddresses.h"
#include "util/TSettingsStore.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPrintDialog;
class QProgressBar;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;

namespace norvale {

class TDomainGrid;

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
    // The three grids: match list (view grid1DBTableView1), full list
    // (cxGridDBTableView1), drafts (cxGridDBTableView2).
    TDomainGrid* grid1 = nullptr;
    TDomainGrid* cxGrid1 = nullptr;
    TDomainGrid* cxGrid2 = nullptr;
    TDomainGrid* GridForTab(int tab) const;
    // Removes every filter condition of the grid on that tab (its editors too).
    void ClearGridFilter(int tab);
    QMenu* PopupMenu2 = nullptr;
    QAction* Addtodrafts1 = nullptr;
    void grid1DBTableView1ColumnHeaderClick(int column);
    void cxGridDBTableView1ColumnHeaderClick(int column);
    void cxGridDBTableView2ColumnHeaderClick(int column);
    void grid1DBTableView1DataControllerFilterChanged();
    void cxGridDBTableView1DataControllerFilterChanged();
    void Addtodrafts1Click();
    void AddCurrentToDrafts(int tab);
    void kbmDraftAfterPost();
    // Deletes the focused draft and rewrites draft.dat; ask: confirm first.
    void DeleteCurrentDraft(bool ask);
    // Skins.
    void ChangeSk(QAction* item);
    void None1Click(QAction* item);
    void StoreSkinChoice();
    void ApplyStoredSkin();
    QString TBThemeStyleSheet;  // the toolbar's own look, used while no skin draws it
    // The grids observe the lists, which go before the window's children do: this
    // member, declared after the lists, takes the grids down first.
    struct TGridsTeardown {
        TfrmMain* owner;
        ~TGridsTeardown();
    } GridsTeardown{this};
    // ===== end Grids =====

    // ===== Update: mainU_update.cpp, src/update =====
    // The update dialog, created with the window and kept for the whole run.
    class TfrmUpdateB* frmUpdateB = nullptr;
    // The resource link list: the link lines of the current resources menus, in order.
    std::vector<std::string> ResourceLinks;
    void BtnInternetClick();   // the update run
    void New1Click();          // "&Update Domains"
    void ImportList1Click();   // "Import List...": the same import from a local file
    void ImportListFile(const std::string& path);  // the import of ImportList1Click
    void EnsureDefaultResources();
    void BuildResourceMenus();
    void StoreResources(const std::string& text);
    void ResourceItemClick(QAction* item);
    std::string LinkForCaption(const std::string& caption) const;
    // The web hosts, read from the settings store each time (Software\Norvale\Web).
    TWebAddresses WebAddresses() const;
    // ===== end Update =====

    // ===== Sets, export, help: mainU_sets.cpp, src/sets, src/output =====
    // The two set dialogs live for the whole run.
    class TfrmSave* frmSave = nullptr;
    class TfrmDelete* frmDelete = nullptr;
    // The set items of PopupMenu1 (the File menu has OpenSet1, SaveSet1, DeleteSet1).
    QAction* OpenSet2 = nullptr;
    QAction* SaveSet2 = nullptr;
    QAction* DeleteSet2 = nullptr;
    QAction* BacktoDefaultSet1 = nullptr;
    void OpenSet1Click();
    void SaveSet1Click();
    void DeleteSet1Click();
    void BacktoDefaultSet1Click();
    void PopupMenu1Popup();
    // Makes the set of that name current; the set that was current is saved first.
    void OpenSetNamed(const std::string& name);
    // The export dialog while it is shown.
    QPointer<class TfrmExport> frmExport;
    void SaveAs1Click();
    // Help, web site, update check and about.
    void BtnHelpClick();
    void btnWebClick();
    void bCheckUpdatesClick();
    void About1Click();
    // Where the update check gets the program's version ("" when it has none).
    std::function<std::string()> VersionSource;
    // ===== end Sets =====

    // ===== Output: mainU_output.cpp, src/output =====
    // The report forms, one per list, created hidden on first use and kept.
    class TfrmReport* frmReport = nullptr;          // match list
    class TfrmReportFull* frmReportFull = nullptr;  // full list
    class TfrmRepDrafts* frmRepDrafts = nullptr;    // draft list
    // The printer-setup dialog; its printer is the choice the next Print starts from.
    QPrintDialog* PrinterSetupDialog1 = nullptr;
    // The report form of the tab's list, created on first use.
    TfrmReport& ReportForm(int tab);
    void BtnPrintPreviewClick();
    void BtnPrintClick();
    void ProntPreview1Click() { BtnPrintPreviewClick(); }
    void Print1Click() { BtnPrintClick(); }
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
