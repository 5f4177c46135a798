#include "app/TDomainTableModel.h"

#include <limits>

#include "util/qt/TQtText.h"

namespace norvale {

QVariant CellValue(const TDomainTable& table, TDomainTable::TRecordId id, TDomainField field) {
    if (field == TDomainField::Size)
        return table.SizeOf(id);
    const std::string_view text = table.TextOf(id, field);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

TDomainTableModel::TDomainTableModel(TDomainTable& table, TGridColumns columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {
    table_.AddObserver(this);
}

TDomainTableModel::~TDomainTableModel() {
    table_.RemoveObserver(this);
}

int TDomainTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    // A view counts rows in int; a list beyond that shows its first 2^31-1 rows.
    const std::size_t n = table_.RecordCount();
    return n > static_cast<std::size_t>(std::numeric_limits<int>::max())
               ? std::numeric_limits<int>::max()
               : static_cast<int>(n);
}

int TDomainTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kDomainFieldCount;
}

QVariant TDomainTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kDomainFieldCount)
        return {};
    const TDomainField field = GridField(index.column());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        if (role == Qt::ToolTipRole && field != TDomainField::Domain)
            return {};
        return CellValue(table_, table_.RecordAtRow(static_cast<std::size_t>(index.row())), field);
    }
    if (role == Qt::TextAlignmentRole && field == TDomainField::Size)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

QVariant TDomainTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kDomainFieldCount)
        return {};
    if (role == Qt::DisplayRole)
        return columns_.captions[static_cast<std::size_t>(section)];
    return {};
}

void TDomainTableModel::TableDataChanged(TDomainTable&) {
    // The table has already changed under us; a reset is the only honest signal, and
    // it costs nothing per row.
    beginResetModel();
    endResetModel();
    emit tableReset();
}

void TDomainTableModel::TableCursorMoved(TDomainTable&) {
    emit cursorMoved();
}

}  // namespace norvale
