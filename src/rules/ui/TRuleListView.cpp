#include "rules/ui/TRuleListView.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

#include "rules/TRuleListText.h"
#include "util/qt/TQtText.h"

namespace norvale {

namespace {
// The sub-items as given, beside the shown cells, which stop at the fourteenth.
constexpr int kSubItemsRole = Qt::UserRole + 1;

// Bytes with ASCII letters folded, as the domain grids sort.
bool TextLess(const QString& a, const QString& b) {
    const QByteArray x = a.toLatin1().toLower();
    const QByteArray y = b.toLatin1().toLower();
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
        return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
    });
}
}  // namespace

TRuleListView::TRuleListView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("LV"));
    setColumnCount(kRuleColumnCount);
    QStringList captions;
    for (const char* caption : kRuleColumnCaptions) captions << QString::fromLatin1(caption);
    setHeaderLabels(captions);
    for (int c = 0; c < kRuleColumnCount; ++c) {
        setColumnWidth(c, c < 2 ? 120 : c < 4 ? 70 : 50);
        headerItem()->setTextAlignment(c, c < 2 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    }
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    connect(header(), &QHeaderView::sectionClicked, this, &TRuleListView::SortByColumn);
}

void TRuleListView::FillItem(QTreeWidgetItem* item, const TRule& rule) {
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setText(0, ToQ(rule.Caption));
    QStringList cells;
    for (const std::string& cell : rule.SubItems) cells << ToQ(cell);
    item->setData(0, kSubItemsRole, cells);
    for (int c = 1; c < kRuleColumnCount; ++c) {
        item->setText(c, c - 1 < cells.size() ? cells[c - 1] : QString());
        item->setTextAlignment(c, c < 2 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    }
    item->setCheckState(0, rule.Checked ? Qt::Checked : Qt::Unchecked);
}

TRule TRuleListView::RuleOf(const QTreeWidgetItem* item) {
    TRule rule;
    rule.Caption = FromQ(item->text(0));
    for (const QString& cell : item->data(0, kSubItemsRole).toStringList()) rule.SubItems.push_back(FromQ(cell));
    rule.Checked = item->checkState(0) == Qt::Checked;
    return rule;
}

TRuleList TRuleListView::Rows() const {
    TRuleList rows;
    rows.reserve(static_cast<std::size_t>(topLevelItemCount()));
    for (int i = 0; i < topLevelItemCount(); ++i) rows.push_back(RuleOf(topLevelItem(i)));
    return rows;
}

void TRuleListView::SetRows(const TRuleList& rows) {
    clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const TRule& rule : rows) {
        auto* item = new QTreeWidgetItem;
        FillItem(item, rule);
        items << item;
    }
    addTopLevelItems(items);
}

void TRuleListView::AppendRule(const TRule& rule) {
    auto* item = new QTreeWidgetItem;
    FillItem(item, rule);
    addTopLevelItem(item);
}

void TRuleListView::RemoveRow(int row) { delete takeTopLevelItem(row); }

void TRuleListView::SetAllChecked(bool checked) {
    for (int i = 0; i < topLevelItemCount(); ++i) topLevelItem(i)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

int TRuleListView::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.first());
}

void TRuleListView::SelectRow(int row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item) return;
    setCurrentItem(item);
    item->setSelected(true);
}

void TRuleListView::SortByColumn(int column) {
    sortAscending_ = column == sortColumn_ ? !sortAscending_ : true;
    sortColumn_ = column;
    QTreeWidgetItem* current = currentItem();
    QList<QTreeWidgetItem*> items;
    while (topLevelItemCount() > 0) items << takeTopLevelItem(0);
    std::stable_sort(items.begin(), items.end(), [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        return sortAscending_ ? TextLess(a->text(column), b->text(column)) : TextLess(b->text(column), a->text(column));
    });
    addTopLevelItems(items);
    if (current) setCurrentItem(current);
}

std::string TRuleListView::CopyText() const {
    const int selected = SelectedRow();
    if (selected >= 0) return RuleListText({RuleOf(topLevelItem(selected))});
    return RuleListText(Rows());
}

void TRuleListView::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (ctrl && event->key() == Qt::Key_C) {
        QApplication::clipboard()->setText(ToQ(CopyText()));
        event->accept();
        return;
    }
    if (ctrl && event->key() == Qt::Key_Delete) {
        event->accept();
        emit DeleteRequested();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

}  // namespace norvale
