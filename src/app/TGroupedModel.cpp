#include "app/TGroupedModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <algorithm>
#include <unordered_map>

#include "app/TDomainTableModel.h"
#include "util/qt/TQtText.h"

namespace norvale {

namespace {
unsigned char Fold(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}
std::string FoldedKey(std::string_view s) {
    std::string k(s);
    for (char& c : k) c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
    return k;
}
}  // namespace

TGroupedModel::TGroupedModel(TDomainTable& table, TGridColumns columns, TDomainField groupField,
                             QObject* parent)
    : QAbstractItemModel(parent), table_(table), columns_(std::move(columns)), field_(groupField) {
    table_.AddObserver(this);
    Rebuild();
}

TGroupedModel::~TGroupedModel() {
    table_.RemoveObserver(this);
}

void TGroupedModel::Rebuild() {
    groups_.clear();
    const std::size_t n = table_.RecordCount();
    groupOfRow_.assign(n, 0);
    placeOfRow_.assign(n, 0);
    // Values that differ only in letter case fall into one group, as the filter and
    // the sort treat them as one.
    std::unordered_map<std::string, std::uint32_t> byKey;
    std::unordered_map<std::int32_t, std::uint32_t> bySize;
    for (std::size_t row = 0; row < n; ++row) {
        const auto id = table_.RecordAtRow(row);
        std::uint32_t g = 0;
        if (field_ == TDomainField::Size) {
            const auto [it, added] =
                bySize.try_emplace(table_.SizeOf(id), static_cast<std::uint32_t>(groups_.size()));
            if (added)
                groups_.push_back({std::to_string(table_.SizeOf(id)), {}});
            g = it->second;
        } else {
            const std::string_view v = table_.TextOf(id, field_);
            const auto [it, added] =
                byKey.try_emplace(FoldedKey(v), static_cast<std::uint32_t>(groups_.size()));
            if (added)
                groups_.push_back({std::string(v), {}});
            g = it->second;
        }
        groups_[g].rows.push_back(static_cast<std::uint32_t>(row));
    }
    std::vector<std::uint32_t> order(groups_.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
        if (field_ == TDomainField::Size)
            return std::stoll(groups_[a].value) < std::stoll(groups_[b].value);
        return FoldedKey(groups_[a].value) < FoldedKey(groups_[b].value);
    });
    std::vector<TGroup> sorted;
    sorted.reserve(groups_.size());
    for (std::uint32_t i : order) sorted.push_back(std::move(groups_[i]));
    groups_ = std::move(sorted);
    for (std::uint32_t g = 0; g < groups_.size(); ++g) {
        const auto& rows = groups_[g].rows;
        for (std::uint32_t k = 0; k < rows.size(); ++k) {
            groupOfRow_[rows[k]] = g;
            placeOfRow_[rows[k]] = k;
        }
    }
}

std::size_t TGroupedModel::TableRow(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == 0)
        return TDomainTable::npos;
    const auto& group = groups_[static_cast<std::size_t>(index.internalId() - 1)];
    return group.rows[static_cast<std::size_t>(index.row())];
}

QModelIndex TGroupedModel::IndexOfTableRow(std::size_t row, int column) const {
    if (row >= groupOfRow_.size())
        return {};
    return createIndex(static_cast<int>(placeOfRow_[row]), column, quintptr(groupOfRow_[row]) + 1);
}

QModelIndex TGroupedModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= kDomainFieldCount)
        return {};
    if (!parent.isValid()) {
        if (static_cast<std::size_t>(row) >= groups_.size())
            return {};
        return createIndex(row, column, quintptr(0));
    }
    if (parent.internalId() != 0 || parent.column() != 0)
        return {};
    const std::size_t g = static_cast<std::size_t>(parent.row());
    if (g >= groups_.size() || static_cast<std::size_t>(row) >= groups_[g].rows.size())
        return {};
    return createIndex(row, column, quintptr(g) + 1);
}

QModelIndex TGroupedModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr(0));
}

int TGroupedModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return static_cast<int>(groups_.size());
    if (parent.internalId() != 0 || parent.column() != 0)
        return 0;
    return static_cast<int>(groups_[static_cast<std::size_t>(parent.row())].rows.size());
}

int TGroupedModel::columnCount(const QModelIndex&) const {
    return kDomainFieldCount;
}

QVariant TGroupedModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (index.internalId() == 0) {
        const TGroup& g = groups_[static_cast<std::size_t>(index.row())];
        switch (role) {
            case Qt::DisplayRole:
                if (index.column() != 0)
                    return {};
                return QStringLiteral("%1: %2  (%3)")
                    .arg(columns_.captions[static_cast<std::size_t>(GridColumn(field_))],
                         ToQ(g.value))
                    .arg(g.rows.size());
            case Qt::BackgroundRole:
                return QBrush(QColor(128, 128, 128));
            case Qt::ForegroundRole:
                return QBrush(Qt::white);
            case Qt::FontRole:
                return QFont(QStringLiteral("Tahoma"), 10);
            default:
                return {};
        }
    }
    const TDomainField field = GridField(index.column());
    if (role == Qt::DisplayRole)
        return CellValue(table_, table_.RecordAtRow(TableRow(index)), field);
    if (role == Qt::TextAlignmentRole && field == TDomainField::Size)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

QVariant TGroupedModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kDomainFieldCount ||
        role != Qt::DisplayRole)
        return {};
    return columns_.captions[static_cast<std::size_t>(section)];
}

void TGroupedModel::TableDataChanged(TDomainTable&) {
    beginResetModel();
    Rebuild();
    endResetModel();
    emit tableReset();
}

void TGroupedModel::TableCursorMoved(TDomainTable&) {
    emit cursorMoved();
}

}  // namespace norvale
