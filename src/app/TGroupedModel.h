#pragma once

#include <QAbstractItemModel>
#include <string>
#include <vector>

#include "app/TGridColumns.h"
#include "domains/TDomainTable.h"

namespace norvale {

// The match grid grouped by one column: a group row per value (with its count), the
// table's rows under it in the table's order. A view of the table only: it changes
// neither the table's order nor its filter.
class TGroupedModel : public QAbstractItemModel, public ITableObserver {
    Q_OBJECT

public:
    TGroupedModel(TDomainTable& table, TGridColumns columns, TDomainField groupField,
                  QObject* parent = nullptr);
    ~TGroupedModel() override;

    TDomainField GroupField() const { return field_; }
    std::size_t GroupCount() const { return groups_.size(); }
    // The table row behind an index; npos for a group row.
    std::size_t TableRow(const QModelIndex& index) const;
    QModelIndex IndexOfTableRow(std::size_t row, int column = 0) const;
    bool IsGroupRow(const QModelIndex& index) const {
        return index.isValid() && index.internalId() == 0;
    }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void TableDataChanged(TDomainTable& table) override;
    void TableCursorMoved(TDomainTable& table) override;

signals:
    void tableReset();
    void cursorMoved();

private:
    struct TGroup {
        std::string value;
        std::vector<std::uint32_t> rows;  // table rows
    };
    void Rebuild();

    TDomainTable& table_;
    TGridColumns columns_;
    TDomainField field_;
    std::vector<TGroup> groups_;
    std::vector<std::uint32_t> groupOfRow_;
    std::vector<std::uint32_t> placeOfRow_;
};

}  // namespace norvale
