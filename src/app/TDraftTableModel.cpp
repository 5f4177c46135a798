#include "app/TDraftTableModel.h"

#include <algorithm>

#include "util/qt/TQtText.h"

namespace norvale {

namespace {
int CompareText(const std::string& a, const std::string& b) {
    // Display sorting follows the user's locale, like the text it shows.
    return QString::localeAwareCompare(ToQ(a), ToQ(b));
}
}  // namespace

TDraftTableModel::TDraftTableModel(TDomainTable& table, TGridColumns columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {
    table_.AddObserver(this);
    Reload();
}

TDraftTableModel::~TDraftTableModel() {
    table_.RemoveObserver(this);
}

void TDraftTableModel::Reload() {
    rows_.clear();
    const std::size_t n = table_.RecordCount();
    rows_.reserve(n);
    for (std::size_t row = 0; row < n; ++row) {
        const auto id = table_.RecordAtRow(row);
        rows_.push_back({table_.RecordOf(id), id});
    }
    SortRows();
}

void TDraftTableModel::SortRows() {
    if (sortColumn_ < 0)
        return;
    const TDomainField field = GridField(sortColumn_);
    const bool descending = sortOrder_ == Qt::DescendingOrder;
    std::stable_sort(rows_.begin(), rows_.end(), [&](const TRow& a, const TRow& b) {
        int c = 0;
        switch (field) {
            case TDomainField::Domain:
                c = CompareText(a.record.Domain, b.record.Domain);
                break;
            case TDomainField::Dom:
                c = CompareText(a.record.Dom, b.record.Dom);
                break;
            case TDomainField::ExDate:
                c = CompareText(a.record.ExDate, b.record.ExDate);
                break;
            case TDomainField::Size:
                c = (a.record.Size > b.record.Size) - (a.record.Size < b.record.Size);
                break;
        }
        return descending ? c > 0 : c < 0;
    });
}

std::size_t TDraftTableModel::TableRow(int displayRow) const {
    if (displayRow < 0 || static_cast<std::size_t>(displayRow) >= rows_.size())
        return TDomainTable::npos;
    return table_.RowOfRecord(rows_[static_cast<std::size_t>(displayRow)].id);
}

int TDraftTableModel::DisplayRow(std::size_t tableRow) const {
    if (tableRow >= table_.RecordCount())
        return -1;
    const auto id = table_.RecordAtRow(tableRow);
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == id)
            return static_cast<int>(i);
    return -1;
}

int TDraftTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TDraftTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kDomainFieldCount;
}

QVariant TDraftTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kDomainFieldCount)
        return {};
    const TDomainRecord& r = rows_[static_cast<std::size_t>(index.row())].record;
    const TDomainField field = GridField(index.column());
    if (role == Qt::DisplayRole) {
        switch (field) {
            case TDomainField::Domain:
                return ToQ(r.Domain);
            case TDomainField::Dom:
                return ToQ(r.Dom);
            case TDomainField::ExDate:
                return ToQ(r.ExDate);
            case TDomainField::Size:
                return r.Size;
        }
    }
    if (role == Qt::TextAlignmentRole && field == TDomainField::Size)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

QVariant TDraftTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kDomainFieldCount)
        return {};
    if (role == Qt::DisplayRole)
        return columns_.captions[static_cast<std::size_t>(section)];
    return {};
}

void TDraftTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kDomainFieldCount)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<TDomainTable::TRecordId> ids;
    for (const QModelIndex& i : before) ids.push_back(rows_[static_cast<std::size_t>(i.row())].id);
    sortColumn_ = column;
    sortOrder_ = order;
    SortRows();
    QModelIndexList after;
    for (std::size_t k = 0; k < ids.size(); ++k) {
        int row = 0;
        while (row < static_cast<int>(rows_.size()) &&
               rows_[static_cast<std::size_t>(row)].id != ids[k])
            ++row;
        after << index(row, before[static_cast<qsizetype>(k)].column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TDraftTableModel::TableDataChanged(TDomainTable&) {
    beginResetModel();
    Reload();
    endResetModel();
    emit tableReset();
}

void TDraftTableModel::TableCursorMoved(TDomainTable&) {
    emit cursorMoved();
}

}  // namespace norvale
