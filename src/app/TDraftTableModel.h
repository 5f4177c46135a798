#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "app/TGridColumns.h"
#include "domains/TDomainTable.h"

namespace norvale {

// The draft grid's model: a copy of the rows the draft table yields, which the grid
// sorts for display only (the table, its file and the export keep their order).
class TDraftTableModel : public QAbstractTableModel, public ITableObserver {
    Q_OBJECT

public:
    TDraftTableModel(TDomainTable& table, TGridColumns columns, QObject* parent = nullptr);
    ~TDraftTableModel() override;

    TDomainTable& Table() { return table_; }
    const TGridColumns& Columns() const { return columns_; }

    // The table row (as the table yields it) behind a display row, npos when none.
    std::size_t TableRow(int displayRow) const;
    int DisplayRow(std::size_t tableRow) const;  // -1 when none

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order) override;

    void TableDataChanged(TDomainTable& table) override;
    void TableCursorMoved(TDomainTable& table) override;

signals:
    void tableReset();
    void cursorMoved();

private:
    struct TRow {
        TDomainRecord record;
        TDomainTable::TRecordId id;
    };
    void Reload();
    void SortRows();

    TDomainTable& table_;
    TGridColumns columns_;
    std::vector<TRow> rows_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace norvale
