#pragma once

#include <QTreeWidget>

#include "rules/TRule.h"

namespace norvale {

// The rule list LV: one row per rule with its check box and fifteen read-only cells.
// Rows keep the sub-items they were given, however many, so that a rule read from a
// file goes back to a file unchanged.
class TRuleListView : public QTreeWidget {
    Q_OBJECT

public:
    explicit TRuleListView(QWidget* parent = nullptr);

    TRuleList Rows() const;
    void SetRows(const TRuleList& rows);
    void AppendRule(const TRule& rule);
    void RemoveRow(int row);
    void SetAllChecked(bool checked);

    // The selected row, -1 when none is selected.
    int SelectedRow() const;
    void SelectRow(int row);

    // Sorts by a column's text; the same column again reverses the order.
    void SortByColumn(int column);
    // The copy text of the selected rule, or of every rule when none is selected.
    std::string CopyText() const;

signals:
    // Ctrl+Delete.
    void DeleteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    static TRule RuleOf(const QTreeWidgetItem* item);
    static void FillItem(QTreeWidgetItem* item, const TRule& rule);

    int sortColumn_ = -1;
    bool sortAscending_ = true;
};

}  // namespace norvale
