#pragma once

#include <QAbstractTableModel>

#include "app/TGridColumns.h"
#include "domains/TDomainTable.h"

namespace norvale {

// The match and full grids' model: rows come from the table on demand, in the table's
// sort order and through its filter, so the model holds nothing but the table.
class TDomainTableModel : public QAbstractTableModel, public ITableObserver {
    Q_OBJECT

public:
    TDomainTableModel(TDomainTable& table, TGridColumns columns, QObject* parent = nullptr);
    ~TDomainTableModel() override;

    TDomainTable& Table() { return table_; }
    const TGridColumns& Columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void TableDataChanged(TDomainTable& table) override;
    void TableCursorMoved(TDomainTable& table) override;

signals:
    // The table's records changed (reset done); the grid puts its focus back.
    void tableReset();
    void cursorMoved();

private:
    TDomainTable& table_;
    TGridColumns columns_;
};

// The text a grid cell shows for a field of a record.
QVariant CellValue(const TDomainTable& table, TDomainTable::TRecordId id, TDomainField field);

}  // namespace norvale
