// The list grids, the drafts and the skins on the main window.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/TDomainGrid.h"
#include "app/TGridNavigator.h"
#include "app/TSkins.h"
#include "app/mainU.h"
#include "util/TRegistry.h"
#include "util/qt/TQtText.h"
#include "util/ui/TPrompts.h"

namespace norvale {

namespace {
TGridColumns MatchColumns() {
    return {{QStringLiteral("Domain name"), QStringLiteral("Extension"), QStringLiteral("Exp.Date"),
             QStringLiteral("Size")},
            {350, 88, 110, 80}};
}
TGridColumns FullColumns() {
    return {{QStringLiteral("Domain name"), QStringLiteral("Extension"),
             QStringLiteral("Expirion Date"), QStringLiteral("Size")},
            {350, 88, 110, 0}};
}
TGridColumns DraftColumns() {
    return {{QStringLiteral("Domain name"), QStringLiteral("Extension"), QStringLiteral("Exp.Date"),
             QStringLiteral("Size")},
            {252, 88, 110, 80}};
}

void AddGrid(QWidget* sheet, TDomainGrid* grid) {
    sheet->layout()->addWidget(grid);
}

// The hourglass for the length of a scope, restored however the scope ends.
class THourglass {
public:
    THourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~THourglass() { QApplication::restoreOverrideCursor(); }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;
};

void SortByColumn(TDomainGrid* grid, int column) {
    if (column < 0 || column >= kDomainFieldCount)
        return;
    {
        const THourglass hourglass;
        TDomainTable& table = grid->Table();
        table.SortOn(GridField(column));
        table.First();
    }
    grid->SyncSortIndicator();
}
}  // namespace

void TfrmMain::WireGrids() {
    grid1 = new TDomainGrid(kbmMain(), MatchColumns(),
                            {.draft = false,
                             .groupByBox = true,
                             .stretchColumns = true,
                             .viewName = QStringLiteral("grid1DBTableView1")},
                            TabSheet1);
    grid1->setObjectName(QStringLiteral("grid1"));
    cxGrid1 = new TDomainGrid(kbmMemTable1(), FullColumns(),
                              {.draft = false,
                               .groupByBox = false,
                               .stretchColumns = true,
                               .viewName = QStringLiteral("cxGridDBTableView1")},
                              TabSheet2);
    cxGrid1->setObjectName(QStringLiteral("cxGrid1"));
    cxGrid2 = new TDomainGrid(kbmDraft(), DraftColumns(),
                              {.draft = true,
                               .groupByBox = false,
                               .stretchColumns = false,
                               .viewName = QStringLiteral("cxGridDBTableView2")},
                              TabSheet3);
    cxGrid2->setObjectName(QStringLiteral("cxGrid2"));
    AddGrid(TabSheet1, grid1);
    AddGrid(TabSheet2, cxGrid1);
    AddGrid(TabSheet3, cxGrid2);

    const auto guarded = [this](auto handler) {
        return
            [this, handler](auto... args) { RunCommand(this, [&] { (this->*handler)(args...); }); };
    };
    connect(grid1, &TDomainGrid::headerClicked, this,
            guarded(&TfrmMain::grid1DBTableView1ColumnHeaderClick));
    connect(cxGrid1, &TDomainGrid::headerClicked, this,
            guarded(&TfrmMain::cxGridDBTableView1ColumnHeaderClick));
    connect(cxGrid2, &TDomainGrid::headerClicked, this,
            guarded(&TfrmMain::cxGridDBTableView2ColumnHeaderClick));
    connect(grid1, &TDomainGrid::filterChanged, this,
            guarded(&TfrmMain::grid1DBTableView1DataControllerFilterChanged));
    connect(cxGrid1, &TDomainGrid::filterChanged, this,
            guarded(&TfrmMain::cxGridDBTableView1DataControllerFilterChanged));
    // The draft grid shares the match grid's filter-changed handler.
    connect(cxGrid2, &TDomainGrid::filterChanged, this,
            guarded(&TfrmMain::grid1DBTableView1DataControllerFilterChanged));
    connect(cxGrid2, &TDomainGrid::deleteRequested, this, guarded(&TfrmMain::DeleteCurrentDraft));

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    Addtodrafts1 = PopupMenu2->addAction(QStringLiteral("Add to drafts"));
    Addtodrafts1->setObjectName(QStringLiteral("Addtodrafts1"));
    connect(Addtodrafts1, &QAction::triggered, this,
            [this] { RunCommand(this, [this] { Addtodrafts1Click(); }); });
    grid1->SetPopupMenu(PopupMenu2);
    cxGrid1->SetPopupMenu(PopupMenu2);

    kbmDraft().AfterPost = [this](TDomainTable&) { kbmDraftAfterPost(); };

    RegisterListCommand(Addtodrafts1);
    RegisterListCommand(cxGrid2->DeleteAction);
    RegisterListCommand(cxGrid2->Navigator->Button(TGridNavigator::nbDelete));

    TBThemeStyleSheet = TB->styleSheet();
    for (QAction* item : {SK1, SK2, SK3, SK4}) {
        item->setEnabled(true);
        connect(item, &QAction::triggered, this,
                [this, item] { RunCommand(this, [this, item] { ChangeSk(item); }); });
    }
    None1->setEnabled(true);
    connect(None1, &QAction::triggered, this,
            [this] { RunCommand(this, [this] { None1Click(None1); }); });
}

TfrmMain::TGridsTeardown::~TGridsTeardown() {
    for (TDomainGrid** grid : {&owner->grid1, &owner->cxGrid1, &owner->cxGrid2}) {
        delete *grid;
        *grid = nullptr;
    }
    if (owner->Lists)
        owner->kbmDraft().AfterPost = nullptr;
}

TDomainGrid* TfrmMain::GridForTab(int tab) const {
    switch (tab) {
        case kTabMatch:
            return grid1;
        case kTabFull:
            return cxGrid1;
        case kTabDrafts:
            return cxGrid2;
        default:
            return nullptr;
    }
}

void TfrmMain::ClearGridFilter(int tab) {
    if (TDomainGrid* grid = GridForTab(tab))
        grid->ClearFilter();
    else
        Lists->ForTab(tab).ClearFilter();
}

void TfrmMain::grid1DBTableView1ColumnHeaderClick(int column) {
    SortByColumn(grid1, column);
}
void TfrmMain::cxGridDBTableView1ColumnHeaderClick(int column) {
    SortByColumn(cxGrid1, column);
}
// The draft grid sorts its own display; the draft table keeps the order of addition.
void TfrmMain::cxGridDBTableView2ColumnHeaderClick(int) {}

void TfrmMain::grid1DBTableView1DataControllerFilterChanged() {
    ShowDomainCount();
}
void TfrmMain::cxGridDBTableView1DataControllerFilterChanged() {
    ShowDomainCount();
}

void TfrmMain::Addtodrafts1Click() {
    AddCurrentToDrafts(ActiveTab());
}

void TfrmMain::AddCurrentToDrafts(int tab) {
    if (tab != kTabMatch && tab != kTabFull)
        return;
    TDomainGrid* grid = GridForTab(tab);
    TDomainTable& source = Lists->ForTab(tab);
    if (source.RecordCount() == 0)
        return;
    // A group row stands for many records, not for the current one.
    if (grid && grid->GroupRowFocused())
        return;
    TDomainTable& drafts = kbmDraft();
    drafts.Append();
    drafts.SetText(TDomainField::Domain, source.Text(TDomainField::Domain));
    drafts.SetText(TDomainField::ExDate, source.Text(TDomainField::ExDate));
    drafts.SetText(TDomainField::Dom, source.Text(TDomainField::Dom));
    drafts.SetSize(source.Size());
    drafts.Post();
}

void TfrmMain::kbmDraftAfterPost() {
    Lists->SaveDraftList();
}

void TfrmMain::DeleteCurrentDraft(bool ask) {
    TDomainTable& drafts = kbmDraft();
    if (drafts.RecordCount() == 0)
        return;
    if (ask && !TPrompts::Confirm(this, QStringLiteral("Delete record?")))
        return;
    drafts.Delete();
    // Written at once, so a deleted draft does not come back at the next start.
    Lists->SaveDraftList();
}

// ---- skins ----

void TfrmMain::ChangeSk(QAction* item) {
    const int position = item->data().toInt();
    // The skin draws the toolbar, so the toolbar's own look steps aside.
    TB->setStyleSheet(QString());
    if (position >= 0 && position < TSkins::kStoreCount)
        setStyleSheet(TSkins::StyleSheet(position));
    for (TDomainGrid* grid : {grid1, cxGrid1, cxGrid2})
        grid->SetGroupBoxBitmap(TSkins::ToolbarBitmap(position));
    item->setChecked(true);
    StoreSkinChoice();
}

void TfrmMain::None1Click(QAction* item) {
    for (TDomainGrid* grid : {grid1, cxGrid1, cxGrid2}) grid->SetGroupBoxBitmap({});
    setStyleSheet(QString());
    item->setChecked(true);
    StoreSkinChoice();
    TB->setStyleSheet(TBThemeStyleSheet);
}

void TfrmMain::StoreSkinChoice() {
    const QList<QAction*> items = {None1, SK1, SK2, SK3, SK4};
    for (int position = 0; position < items.size(); ++position) {
        if (!items[position]->isChecked())
            continue;
        TRegistry registry(*Store);
        TSkins::StoreMenuPosition(registry, position);
        return;
    }
}

void TfrmMain::ApplyStoredSkin() {
    TRegistry registry(*Store);
    const int position = TSkins::StoredMenuPosition(registry);
    const QList<QAction*> items = {None1, SK1, SK2, SK3, SK4};
    if (position == 0) {
        None1Click(None1);
        return;
    }
    try {
        items[position]->setChecked(true);
        ChangeSk(items[position]);
    } catch (const std::exception&) {
        // A skin that cannot be applied at start is no reason to hold the window back.
    }
}

void TfrmMain::StartupSkins() {
    ApplyStoredSkin();
}

}  // namespace norvale
