#include "app/TGroupByBox.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolButton>

#include "app/TGridHeader.h"

namespace norvale {

TGroupByBox::TGroupByBox(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("GroupByBox"));
    setAcceptDrops(true);
    setMinimumHeight(30);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    hint_ = new QLabel(QStringLiteral("Drag a column header here to group by that column"), this);
    hint_->setObjectName(QStringLiteral("GroupByHint"));
    chip_ = new QLabel(this);
    chip_->setObjectName(QStringLiteral("GroupByChip"));
    chip_->setToolTip(QStringLiteral("Drag back to the grid to ungroup"));
    chip_->setCursor(Qt::OpenHandCursor);
    chip_->installEventFilter(this);
    close_ = new QToolButton(this);
    close_->setObjectName(QStringLiteral("GroupByClose"));
    close_->setText(QStringLiteral("x"));
    close_->setToolTip(QStringLiteral("Ungroup"));
    close_->setAutoRaise(true);
    connect(close_, &QToolButton::clicked, this, &TGroupByBox::ungroupRequested);
    layout->addWidget(hint_);
    layout->addWidget(chip_);
    layout->addWidget(close_);
    layout->addStretch(1);
    ShowGroup({});
    UpdateSheet();
}

void TGroupByBox::ShowGroup(const QString& caption) {
    hint_->setVisible(caption.isEmpty());
    chip_->setVisible(!caption.isEmpty());
    close_->setVisible(!caption.isEmpty());
    chip_->setText(caption);
}

void TGroupByBox::SetBackgroundBitmap(const QString& resourcePath) {
    bitmap_ = resourcePath;
    UpdateSheet();
}

void TGroupByBox::UpdateSheet() {
    QString sheet = QStringLiteral(
        "QFrame#GroupByBox { background-color: rgb(225,221,193); color: black; font: 10pt "
        "\"Tahoma\";%1 }"
        " QLabel#GroupByHint { color: black; font: 10pt \"Tahoma\"; background: transparent; }"
        " QLabel#GroupByChip { background: rgb(105,105,105); color: white; font: 10pt \"Tahoma\";"
        " border: 1px solid rgb(60,60,60); border-radius: 3px; padding: 2px 8px; }");
    sheet = sheet.arg(
        bitmap_.isEmpty()
            ? QString()
            : QStringLiteral(" border-image: url(%1) 0 0 0 0 stretch stretch;").arg(bitmap_));
    setStyleSheet(sheet);
}

void TGroupByBox::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(TGridHeader::kColumnMime))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TGroupByBox::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(TGridHeader::kColumnMime))
        return;
    bool ok = false;
    const int column = event->mimeData()->data(TGridHeader::kColumnMime).toInt(&ok);
    if (!ok)
        return;
    event->acceptProposedAction();
    emit groupRequested(column);
}

bool TGroupByBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != chip_)
        return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        pressPos_ = static_cast<QMouseEvent*>(event)->position().toPoint();
        pressed_ = true;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        pressed_ = false;
    } else if (event->type() == QEvent::MouseMove && pressed_) {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if ((pos - pressPos_).manhattanLength() > QApplication::startDragDistance()) {
            pressed_ = false;
            auto* mime = new QMimeData;
            mime->setData(kUngroupMime, QByteArray("1"));
            auto* drag = new QDrag(chip_);
            drag->setMimeData(mime);
            drag->setPixmap(chip_->grab());
            drag->exec(Qt::MoveAction);
        }
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace norvale
