#include "app/TDomainGrid.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/TDomainTableModel.h"
#include "app/TDraftTableModel.h"
#include "app/TGridHeader.h"
#include "app/TGridNavigator.h"
#include "app/TGroupByBox.h"
#include "app/TGroupedModel.h"
#include "util/qt/TQtText.h"

namespace norvale {

namespace {
// The grids' style sheet: colours and fonts of content, rows, selection and headers.
const char* const kUserFormat4 =
    "QTableView, QTreeView { background: white; color: black; font: 8pt \"MS Shell Dlg 2\";"
    " alternate-background-color: rgb(243,243,243); selection-background-color: rgb(0,64,128);"
    " selection-color: white; gridline-color: rgb(208,208,208); }"
    " QTableView:!focus, QTreeView:!focus { selection-background-color: rgb(0,64,128); "
    "selection-color: white; }"
    " QHeaderView::section:horizontal { background: rgb(105,105,105); color: white; font: 10pt "
    "\"Tahoma\";"
    " border: 0px; border-right: 1px solid rgb(150,150,150); padding: 2px 4px; }"
    " QHeaderView::section:vertical { background: rgb(105,105,105); color: white; font: bold 10pt "
    "\"Tahoma\";"
    " border: 0px; }"
    " QTableView QTableCornerButton::section { background: rgb(105,105,105); border: 0px; }";

class THourglass {
public:
    THourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~THourglass() { QApplication::restoreOverrideCursor(); }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;
};
}  // namespace

TDomainGrid::TDomainGrid(TDomainTable& table, TGridColumns columns, TGridOptions options,
                         QWidget* parent)
    : QWidget(parent), table_(table), columns_(std::move(columns)), options_(std::move(options)) {
    setAcceptDrops(true);  // the group chip dropped back on the grid ungroups
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    if (options_.groupByBox) {
        GroupBox = new TGroupByBox(this);
        connect(GroupBox, &TGroupByBox::groupRequested, this, &TDomainGrid::GroupBy);
        connect(GroupBox, &TGroupByBox::ungroupRequested, this, &TDomainGrid::Ungroup);
        layout->addWidget(GroupBox);
    }

    stack_ = new QStackedWidget(this);
    View = new QTableView(stack_);
    View->setObjectName(options_.viewName);
    Header = new TGridHeader(View);
    Header->setObjectName(options_.viewName + QStringLiteral("Header"));
    View->setHorizontalHeader(Header);
    if (options_.draft) {
        draftModel_ = new TDraftTableModel(table_, columns_, this);
        View->setModel(draftModel_);
        connect(draftModel_, &TDraftTableModel::tableReset, this, [this] { FollowTableCursor(); });
        connect(draftModel_, &TDraftTableModel::cursorMoved, this, [this] { FollowTableCursor(); });
        // No sort at start: the drafts show in the order they were added.
        Header->setSortIndicator(-1, Qt::AscendingOrder);
        View->setSortingEnabled(true);
    } else {
        model_ = new TDomainTableModel(table_, columns_, this);
        View->setModel(model_);
        connect(model_, &TDomainTableModel::tableReset, this, [this] {
            SyncSortIndicator();
            FollowTableCursor();
        });
        connect(model_, &TDomainTableModel::cursorMoved, this, [this] { FollowTableCursor(); });
        Header->setSortIndicatorShown(true);
        Header->SetColumnDragEnabled(options_.groupByBox);
    }
    SetUpView(View, Header);
    AfterModelSet(View, Header);
    // Fixed row height: the view never asks a row its size, so 10 000 000 rows open
    // and scroll at once.
    QHeaderView* rows = View->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(View->fontMetrics().height() + 6);
    rows->setFixedWidth(12);
    View->setShowGrid(false);
    View->setWordWrap(false);
    View->setCornerButtonEnabled(false);
    stack_->addWidget(View);
    layout->addWidget(stack_, 1);

    FilterPanel = new QWidget(this);
    FilterPanel->setObjectName(QStringLiteral("FilterPanel"));
    auto* panelLayout = new QHBoxLayout(FilterPanel);
    panelLayout->setContentsMargins(4, 2, 4, 2);
    btnClearFilter = new QPushButton(QStringLiteral("Clear filter"), FilterPanel);
    btnClearFilter->setObjectName(QStringLiteral("btnClearFilter"));
    FilterPanelText = new QLabel(FilterPanel);
    FilterPanelText->setObjectName(QStringLiteral("FilterPanelText"));
    FilterPanelText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    panelLayout->addWidget(btnClearFilter);
    panelLayout->addWidget(FilterPanelText, 1);
    connect(btnClearFilter, &QPushButton::clicked, this, &TDomainGrid::ClearFilter);
    FilterPanel->hide();
    layout->addWidget(FilterPanel);

    Navigator = new TGridNavigator(options_.draft, this);
    connect(Navigator, &TGridNavigator::clicked, this, &TDomainGrid::Navigate);
    layout->addWidget(Navigator);

    if (options_.draft) {
        DeleteAction = new QAction(QStringLiteral("Delete"), View);
        DeleteAction->setObjectName(QStringLiteral("DeleteAction"));
        DeleteAction->setShortcut(QKeySequence::Delete);
        DeleteAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        View->addAction(DeleteAction);
        connect(DeleteAction, &QAction::triggered, this, [this] { emit deleteRequested(true); });
    }

    SyncSortIndicator();
    FollowTableCursor();
}

TDomainGrid::~TDomainGrid() = default;

void TDomainGrid::SetUpView(QAbstractItemView* view, TGridHeader* header) {
    view->setStyleSheet(QString::fromLatin1(kUserFormat4));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->setFrameShape(QFrame::NoFrame);
    connect(
        header, &TGridHeader::filterTextChanged, this,
        [this, header](int column, const QString& text) { ApplyFilterText(column, text, header); });
    connect(header, &TGridHeader::columnMenuRequested, this, &TDomainGrid::ShowColumnMenu);
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int column) { emit headerClicked(column); });
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, header,
            &TGridHeader::PlaceEditors);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint& pos) { ShowPopup(view, pos); });
    view->viewport()->installEventFilter(this);
}

void TDomainGrid::AfterModelSet(QAbstractItemView* view, TGridHeader* header) {
    // A new model brings a new selection model and new header sections.
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnCurrentChanged(current); });
    header->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < kDomainFieldCount; ++c) {
        const int w = columns_.widths[static_cast<std::size_t>(c)];
        header->resizeSection(c, w > 0 ? w : header->defaultSectionSize());
    }
    if (options_.stretchColumns)
        StretchColumns(view, header);
}

QAbstractItemView* TDomainGrid::ActiveView() const {
    if (GroupView && stack_->currentWidget() == GroupView)
        return GroupView;
    return View;
}

bool TDomainGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && options_.stretchColumns) {
        if (watched == View->viewport())
            StretchColumns(View, Header);
        else if (GroupView && watched == GroupView->viewport())
            StretchColumns(GroupView, GroupHeader);
    }
    return QWidget::eventFilter(watched, event);
}

void TDomainGrid::StretchColumns(QAbstractItemView* view, TGridHeader* header) {
    const int available = view->viewport()->width();
    if (available <= 0)
        return;
    int design = 0;
    for (int w : columns_.widths) design += w > 0 ? w : header->defaultSectionSize();
    int used = 0;
    for (int c = 0; c < kDomainFieldCount; ++c) {
        const int w = columns_.widths[static_cast<std::size_t>(c)];
        const int base = w > 0 ? w : header->defaultSectionSize();
        const int size = c + 1 < kDomainFieldCount ? available * base / design : available - used;
        header->resizeSection(c, std::max(size, 20));
        used += size;
    }
}

void TDomainGrid::SyncSortIndicator() {
    if (options_.draft)
        return;
    const auto field = table_.SortField();
    // The header flips its arrow on every click; the table's sort is the truth.
    for (TGridHeader* h : {Header, GroupHeader}) {
        if (!h)
            continue;
        if (field)
            h->setSortIndicator(GridColumn(*field), Qt::AscendingOrder);
        else
            h->setSortIndicator(-1, Qt::AscendingOrder);
    }
}

void TDomainGrid::ApplyFilterText(int column, const QString& text, TGridHeader* from) {
    const TDomainField field = GridField(column);
    for (TGridHeader* h : {Header, GroupHeader})
        if (h && h != from && h->FilterEditor(column)->text() != text)
            h->SetFilterText(column, text);
    try {
        filter_.Set(field, FromQ(text));
    } catch (const EFilterError& e) {
        // The earlier condition stays; the panel says which one is in force.
        for (TGridHeader* h : {Header, GroupHeader})
            if (h)
                h->SetFilterError(column, ToQ(e.what()));
        UpdatePanel();
        return;
    }
    for (TGridHeader* h : {Header, GroupHeader})
        if (h)
            h->SetFilterError(column, {});
    {
        const THourglass hourglass;
        filter_.ApplyTo(table_);
    }
    UpdatePanel();
    emit filterChanged();
}

void TDomainGrid::SetColumnFilter(int column, const QString& text) {
    Header->FilterEditor(column)->setText(text);
}

void TDomainGrid::ClearFilter() {
    for (TGridHeader* h : {Header, GroupHeader})
        if (h)
            h->ClearFilterTexts();
    filter_.Clear();
    {
        const THourglass hourglass;
        table_.ClearFilter();
    }
    UpdatePanel();
    emit filterChanged();
}

QString TDomainGrid::FilterDescription() const {
    std::array<std::string, kDomainFieldCount> captions;
    for (int c = 0; c < kDomainFieldCount; ++c)
        captions[static_cast<std::size_t>(GridField(c))] =
            FromQ(columns_.captions[static_cast<std::size_t>(c)]);
    return ToQ(filter_.Describe(captions));
}

void TDomainGrid::UpdatePanel() {
    const QString words = FilterDescription();
    FilterPanelText->setText(words);
    FilterPanel->setVisible(!words.isEmpty());
}

std::optional<TDistinctValues> TDomainGrid::PickList(int column) const {
    return DistinctValues(table_, GridField(column), filter_, kPickListLimit);
}

void TDomainGrid::ShowColumnMenu(int column, const QPoint& globalPos) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("ColumnMenu"));
    menu.addAction(QStringLiteral("Sort ascending"), this, [this, column] {
        if (options_.draft)
            View->sortByColumn(column, Qt::AscendingOrder);
        else
            emit headerClicked(column);
    });
    if (options_.groupByBox) {
        if (groupColumn_ == column)
            menu.addAction(QStringLiteral("Ungroup"), this, &TDomainGrid::Ungroup);
        else
            menu.addAction(QStringLiteral("Group by this column"), this,
                           [this, column] { GroupBy(column); });
    }
    menu.addSeparator();
    const auto& condition = filter_.ConditionOn(GridField(column));
    QAction* clear = menu.addAction(QStringLiteral("Clear this column's filter"), this,
                                    [this, column] { SetColumnFilter(column, {}); });
    clear->setEnabled(condition.has_value());
    QMenu* pick = menu.addMenu(QStringLiteral("Show only"));
    std::optional<TDistinctValues> values;
    {
        const THourglass hourglass;
        values = PickList(column);
    }
    if (!values) {
        pick->addAction(QStringLiteral("Too many values to list"))->setEnabled(false);
    } else if (values->empty()) {
        pick->addAction(QStringLiteral("No values"))->setEnabled(false);
    } else {
        const TDomainField field = GridField(column);
        for (const auto& [value, count] : *values) {
            const QString caption = QStringLiteral("%1\t%2")
                                        .arg(value.empty() ? QStringLiteral("(empty)") : ToQ(value))
                                        .arg(count);
            const QString text = ToQ(EqualsFilterText(field, value));
            pick->addAction(caption, this, [this, column, text] { SetColumnFilter(column, text); });
        }
    }
    menu.exec(globalPos);
}

void TDomainGrid::ShowPopup(QAbstractItemView* view, const QPoint& pos) {
    if (!popup_)
        return;
    // A right click focuses the row under it first, as the command works on that row.
    const QModelIndex at = view->indexAt(pos);
    if (at.isValid())
        view->selectionModel()->setCurrentIndex(
            at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    popup_->exec(view->viewport()->mapToGlobal(pos));
}

void TDomainGrid::GroupBy(int column) {
    if (!options_.groupByBox || column < 0 || column >= kDomainFieldCount)
        return;
    if (groupColumn_ == column)
        return;
    const THourglass hourglass;
    if (!GroupView) {
        GroupView = new QTreeView(stack_);
        GroupView->setObjectName(options_.viewName + QStringLiteral("Grouped"));
        GroupView->setUniformRowHeights(true);
        GroupView->setAllColumnsShowFocus(true);
        GroupView->setRootIsDecorated(true);
        GroupView->setItemsExpandable(true);
        GroupHeader = new TGridHeader(GroupView);
        GroupHeader->setSortIndicatorShown(true);
        GroupHeader->SetColumnDragEnabled(true);
        GroupView->setHeader(GroupHeader);
        SetUpView(GroupView, GroupHeader);
        stack_->addWidget(GroupView);
    }
    groupRowFocused_ = false;
    TGroupedModel* old = groupModel_;
    groupModel_ = new TGroupedModel(table_, columns_, GridField(column), this);
    connect(groupModel_, &TGroupedModel::tableReset, this, [this] {
        SyncSortIndicator();
        FollowTableCursor();
    });
    connect(groupModel_, &TGroupedModel::cursorMoved, this, [this] { FollowTableCursor(); });
    GroupView->setModel(groupModel_);
    delete old;
    AfterModelSet(GroupView, GroupHeader);
    for (int c = 0; c < kDomainFieldCount; ++c)
        GroupHeader->SetFilterText(c, Header->FilterEditor(c)->text());
    groupColumn_ = column;
    GroupBox->ShowGroup(columns_.captions[static_cast<std::size_t>(column)]);
    stack_->setCurrentWidget(GroupView);
    SyncSortIndicator();
    FollowTableCursor();
}

void TDomainGrid::Ungroup() {
    if (groupColumn_ < 0)
        return;
    groupColumn_ = -1;
    groupRowFocused_ = false;
    stack_->setCurrentWidget(View);
    GroupView->setModel(nullptr);
    delete groupModel_;
    groupModel_ = nullptr;
    GroupBox->ShowGroup({});
    FollowTableCursor();
}

void TDomainGrid::dragEnterEvent(QDragEnterEvent* event) {
    if (groupColumn_ >= 0 && event->mimeData()->hasFormat(TGroupByBox::kUngroupMime))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TDomainGrid::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(TGroupByBox::kUngroupMime))
        return;
    event->acceptProposedAction();
    Ungroup();
}

void TDomainGrid::SetGroupBoxBitmap(const QString& resourcePath) {
    if (GroupBox)
        GroupBox->SetBackgroundBitmap(resourcePath);
}

void TDomainGrid::FollowTableCursor() {
    if (syncing_)
        return;
    syncing_ = true;
    const std::size_t row = table_.RecNo();
    QAbstractItemView* view = ActiveView();
    QModelIndex target;
    if (row != TDomainTable::npos) {
        if (view == GroupView && groupModel_) {
            target = groupModel_->IndexOfTableRow(row);
            if (target.isValid())
                GroupView->expand(target.parent());
        } else if (draftModel_) {
            const int display = draftModel_->DisplayRow(row);
            if (display >= 0)
                target = draftModel_->index(display, 0);
        } else if (row < static_cast<std::size_t>(model_->rowCount())) {
            target = model_->index(static_cast<int>(row), 0);
        }
    }
    if (target.isValid()) {
        view->selectionModel()->setCurrentIndex(
            target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view->scrollTo(target);
        groupRowFocused_ = false;
    } else {
        view->selectionModel()->clear();
    }
    syncing_ = false;
    UpdateNavigator();
}

void TDomainGrid::OnCurrentChanged(const QModelIndex& current) {
    if (syncing_ || !current.isValid())
        return;
    std::size_t row = TDomainTable::npos;
    if (current.model() == groupModel_ && groupModel_) {
        if (groupModel_->IsGroupRow(current)) {
            groupRowFocused_ = true;
            UpdateNavigator();
            return;
        }
        row = groupModel_->TableRow(current);
    } else if (draftModel_ && current.model() == draftModel_) {
        row = draftModel_->TableRow(current.row());
    } else if (model_ && current.model() == model_) {
        row = static_cast<std::size_t>(current.row());
    }
    groupRowFocused_ = false;
    if (row == TDomainTable::npos)
        return;
    syncing_ = true;
    table_.MoveTo(row);
    syncing_ = false;
    UpdateNavigator();
}

int TDomainGrid::PageRows() const {
    const QAbstractItemView* view = ActiveView();
    const int rowHeight = std::max(1, View->verticalHeader()->defaultSectionSize());
    return std::max(1, view->viewport()->height() / rowHeight - 1);
}

void TDomainGrid::UpdateNavigator() {
    const std::size_t count = table_.RecordCount();
    std::size_t row = table_.RecNo();
    if (draftModel_ && row != TDomainTable::npos)
        row = static_cast<std::size_t>(std::max(0, draftModel_->DisplayRow(row)));
    Navigator->UpdateState(row == TDomainTable::npos ? 0 : row, count);
}

void TDomainGrid::Navigate(int button) {
    if (button == TGridNavigator::nbDelete) {
        emit deleteRequested(false);
        return;
    }
    const std::size_t count = table_.RecordCount();
    if (count == 0)
        return;
    // The draft grid moves in the order it shows; the others in the table's order.
    std::size_t at = table_.RecNo();
    if (draftModel_)
        at = static_cast<std::size_t>(std::max(0, draftModel_->DisplayRow(at)));
    const std::size_t page = static_cast<std::size_t>(PageRows());
    std::size_t to = at;
    switch (button) {
        case TGridNavigator::nbFirst:
            to = 0;
            break;
        case TGridNavigator::nbPriorPage:
            to = at > page ? at - page : 0;
            break;
        case TGridNavigator::nbPrior:
            to = at > 0 ? at - 1 : 0;
            break;
        case TGridNavigator::nbNext:
            to = at + 1 < count ? at + 1 : count - 1;
            break;
        case TGridNavigator::nbNextPage:
            to = std::min(at + page, count - 1);
            break;
        case TGridNavigator::nbLast:
            to = count - 1;
            break;
        default:
            return;
    }
    if (draftModel_) {
        const std::size_t tableRow = draftModel_->TableRow(static_cast<int>(to));
        if (tableRow != TDomainTable::npos)
            table_.MoveTo(tableRow);
    } else {
        table_.MoveTo(to);
    }
}

}  // namespace norvale
