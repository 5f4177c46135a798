#pragma once

#include <QFrame>

class QLabel;
class QToolButton;

namespace norvale {

// The strip above the match grid's headers: a header dropped on it groups the grid
// by that column; the chip of the grouped column can be dragged back out (or closed)
// to ungroup.
class TGroupByBox : public QFrame {
    Q_OBJECT

public:
    static constexpr const char* kUngroupMime = "application/x-norvale-ungroup";

    explicit TGroupByBox(QWidget* parent = nullptr);

    // Shows the grouped column's caption, or the hint when caption is empty.
    void ShowGroup(const QString& caption);
    // The active skin's toolbar bitmap as background; empty: the plain colour.
    void SetBackgroundBitmap(const QString& resourcePath);
    const QString& BackgroundBitmap() const { return bitmap_; }
    QLabel* Chip() const { return chip_; }

signals:
    void groupRequested(int column);
    void ungroupRequested();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateSheet();

    QLabel* hint_ = nullptr;
    QLabel* chip_ = nullptr;
    QToolButton* close_ = nullptr;
    QString bitmap_;
    QPoint pressPos_;
    bool pressed_ = false;
};

}  // namespace norvale
