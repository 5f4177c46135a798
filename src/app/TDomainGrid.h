#pragma once

#include <QWidget>

#include "app/TGridColumns.h"
#include "domains/TColumnFilter.h"
#include "domains/TDomainTable.h"

class QAbstractItemView;
class QAction;
class QLabel;
class QMenu;
class QModelIndex;
class QPushButton;
class QStackedWidget;
class QTableView;
class QTreeView;

namespace norvale {

class TDomainTableModel;
class TDraftTableModel;
class TGridHeader;
class TGridNavigator;
class TGroupByBox;
class TGroupedModel;

struct TGridOptions {
    bool draft = false;          // keeps a copy of its rows, sorts its display, deletes rows
    bool groupByBox = false;     // the group-by box above the headers
    bool stretchColumns = true;  // column widths follow the view's width
    QString viewName;            // object name of the table view
};

// One list's grid: the group-by box, the table view with the filter row under its
// headers, the filter panel and the navigator. Filtering goes to the table itself, so
// the count, the export and the reports see what the grid shows; sorting is asked of
// the owner (headerClicked) except on the draft grid, which sorts its display.
class TDomainGrid : public QWidget {
    Q_OBJECT

public:
    TDomainGrid(TDomainTable& table, TGridColumns columns, TGridOptions options,
                QWidget* parent = nullptr);
    ~TDomainGrid() override;

    TDomainTable& Table() { return table_; }
    const TColumnFilter& Filter() const { return filter_; }
    const TGridColumns& Columns() const { return columns_; }

    // As if the user typed text into the column's filter editor.
    void SetColumnFilter(int column, const QString& text);
    // Removes every condition, empties the editors and shows every row.
    void ClearFilter();
    QString FilterDescription() const;

    void GroupBy(int column);
    void Ungroup();
    int GroupColumn() const { return groupColumn_; }
    // A group row (not a record) has the focus: commands on "the current record" skip.
    bool GroupRowFocused() const { return groupRowFocused_; }

    // Shows the table's sort in the header.
    void SyncSortIndicator();
    void SetPopupMenu(QMenu* menu) { popup_ = menu; }
    void SetGroupBoxBitmap(const QString& resourcePath);
    // The values the column's header offers to pick from (nullopt when too many).
    std::optional<TDistinctValues> PickList(int column) const;

    QAbstractItemView* ActiveView() const;
    QTableView* View = nullptr;
    TGridHeader* Header = nullptr;
    TGroupByBox* GroupBox = nullptr;
    QTreeView* GroupView = nullptr;
    TGridHeader* GroupHeader = nullptr;
    QWidget* FilterPanel = nullptr;
    QLabel* FilterPanelText = nullptr;
    QPushButton* btnClearFilter = nullptr;
    TGridNavigator* Navigator = nullptr;
    QAction* DeleteAction = nullptr;  // the keyboard's delete, draft grid only

    static constexpr std::size_t kPickListLimit = 60;

signals:
    void filterChanged();
    void headerClicked(int column);
    void deleteRequested(bool ask);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ApplyFilterText(int column, const QString& text, TGridHeader* from);
    void FollowTableCursor();
    void OnCurrentChanged(const QModelIndex& current);
    void Navigate(int button);
    void StretchColumns(QAbstractItemView* view, TGridHeader* header);
    void ShowColumnMenu(int column, const QPoint& globalPos);
    void ShowPopup(QAbstractItemView* view, const QPoint& pos);
    void UpdatePanel();
    void UpdateNavigator();
    void SetUpView(QAbstractItemView* view, TGridHeader* header);
    void AfterModelSet(QAbstractItemView* view, TGridHeader* header);
    int PageRows() const;

    TDomainTable& table_;
    TGridColumns columns_;
    TGridOptions options_;
    TColumnFilter filter_;
    TDomainTableModel* model_ = nullptr;
    TDraftTableModel* draftModel_ = nullptr;
    TGroupedModel* groupModel_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QMenu* popup_ = nullptr;
    int groupColumn_ = -1;
    bool groupRowFocused_ = false;
    bool syncing_ = false;
};

}  // namespace norvale
