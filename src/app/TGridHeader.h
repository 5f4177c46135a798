#pragma once

#include <QHeaderView>
#include <QPoint>
#include <array>

#include "domains/TDomainRecord.h"

class QLineEdit;

namespace norvale {

// A grid's column headers with the filter row under them: one editor per column,
// kept under its section as columns are resized and the grid scrolls sideways. A
// header can also be dragged out (onto the group-by box).
class TGridHeader : public QHeaderView {
    Q_OBJECT

public:
    static constexpr const char* kColumnMime = "application/x-norvale-grid-column";

    explicit TGridHeader(QWidget* parent = nullptr);

    QLineEdit* FilterEditor(int column) const { return editors_[static_cast<std::size_t>(column)]; }
    // Sets an editor's text without announcing it (used when the filter is cleared).
    void SetFilterText(int column, const QString& text);
    void ClearFilterTexts();
    // Marks an editor whose text is no condition; an empty message clears the mark.
    void SetFilterError(int column, const QString& message);
    void SetColumnDragEnabled(bool on) { dragEnabled_ = on; }
    int FilterRowHeight() const { return filterHeight_; }

    QSize sizeHint() const override;

public slots:
    void PlaceEditors();

signals:
    void filterTextChanged(int column, const QString& text);
    void columnMenuRequested(int column, const QPoint& globalPos);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    bool InFilterRow(const QPoint& pos) const { return pos.y() >= height() - filterHeight_; }

    std::array<QLineEdit*, kDomainFieldCount> editors_{};
    int filterHeight_ = 22;
    bool dragEnabled_ = false;
    int pressedSection_ = -1;
    QPoint pressPos_;
};

}  // namespace norvale
