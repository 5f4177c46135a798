#include "app/TGridHeader.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include "app/TGridColumns.h"

namespace norvale {

TGridHeader::TGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
    for (int c = 0; c < kDomainFieldCount; ++c) {
        auto* editor = new QLineEdit(this);
        editor->setObjectName(QStringLiteral("FilterEditor%1").arg(c));
        editor->setClearButtonEnabled(true);
        editor->setFrame(true);
        editor->setPlaceholderText(GridField(c) == TDomainField::Size
                                       ? QStringLiteral("<5  >=3  3..8")
                                       : QStringLiteral("shop*  *shop*  shop"));
        editor->setToolTip(
            GridField(c) == TDomainField::Size
                ? QStringLiteral("Compare with <, <=, >, >=, = or give a range a..b")
                : QStringLiteral("\"*\" stands for any run of characters; letter case is ignored"));
        connect(editor, &QLineEdit::textChanged, this,
                [this, c](const QString& text) { emit filterTextChanged(c, text); });
        editors_[static_cast<std::size_t>(c)] = editor;
    }
    filterHeight_ = editors_[0]->sizeHint().height();
    connect(this, &QHeaderView::sectionResized, this, &TGridHeader::PlaceEditors);
    connect(this, &QHeaderView::sectionMoved, this, &TGridHeader::PlaceEditors);
    connect(this, &QHeaderView::geometriesChanged, this, &TGridHeader::PlaceEditors);
}

void TGridHeader::SetFilterText(int column, const QString& text) {
    QLineEdit* e = FilterEditor(column);
    const QSignalBlocker block(e);
    e->setText(text);
    SetFilterError(column, {});
}

void TGridHeader::ClearFilterTexts() {
    for (int c = 0; c < kDomainFieldCount; ++c) SetFilterText(c, {});
}

void TGridHeader::SetFilterError(int column, const QString& message) {
    QLineEdit* e = FilterEditor(column);
    e->setProperty("filterError", !message.isEmpty());
    e->setStyleSheet(message.isEmpty() ? QString()
                                       : QStringLiteral("QLineEdit { background: #ffd7d7; }"));
    if (!message.isEmpty())
        e->setToolTip(message);
}

QSize TGridHeader::sizeHint() const {
    QSize s = QHeaderView::sizeHint();
    s.setHeight(s.height() + filterHeight_);
    return s;
}

void TGridHeader::PlaceEditors() {
    const int top = height() - filterHeight_;
    for (int c = 0; c < kDomainFieldCount; ++c) {
        QLineEdit* e = editors_[static_cast<std::size_t>(c)];
        if (isSectionHidden(c) || c >= count()) {
            e->hide();
            continue;
        }
        e->setGeometry(sectionViewportPosition(c), top, sectionSize(c), filterHeight_);
        e->show();
    }
}

void TGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    QRect top = rect;
    top.setHeight(rect.height() - filterHeight_);
    QHeaderView::paintSection(painter, top, logicalIndex);
}

void TGridHeader::paintEvent(QPaintEvent* event) {
    {
        QPainter p(viewport());
        p.fillRect(QRect(0, height() - filterHeight_, width(), filterHeight_), palette().base());
    }
    QHeaderView::paintEvent(event);
}

bool TGridHeader::viewportEvent(QEvent* event) {
    // Scrolling sideways moves the sections; the editors follow.
    const bool r = QHeaderView::viewportEvent(event);
    if (event->type() == QEvent::Paint)
        PlaceEditors();
    return r;
}

void TGridHeader::resizeEvent(QResizeEvent* event) {
    QHeaderView::resizeEvent(event);
    PlaceEditors();
}

void TGridHeader::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    // The strip of the filter row is not part of the sections: no sorting from there.
    if (InFilterRow(pos))
        return;
    pressedSection_ = -1;
    if (event->button() == Qt::LeftButton) {
        const int section = logicalIndexAt(pos);
        // Not next to a section's edge, where a press starts a resize.
        const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this) + 2;
        if (section >= 0 && logicalIndexAt(pos.x() - grip) == section &&
            logicalIndexAt(pos.x() + grip) == section) {
            pressedSection_ = section;
            pressPos_ = pos;
        }
    }
    QHeaderView::mousePressEvent(event);
}

void TGridHeader::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (dragEnabled_ && pressedSection_ >= 0 && (event->buttons() & Qt::LeftButton)) {
        const QPoint d = pos - pressPos_;
        if (std::abs(d.y()) > QApplication::startDragDistance() &&
            std::abs(d.y()) > std::abs(d.x())) {
            const int section = pressedSection_;
            pressedSection_ = -1;
            auto* mime = new QMimeData;
            mime->setData(kColumnMime, QByteArray::number(section));
            auto* drag = new QDrag(this);
            drag->setMimeData(mime);
            const QRect r(sectionViewportPosition(section), 0, sectionSize(section),
                          height() - filterHeight_);
            drag->setPixmap(viewport()->grab(r));
            drag->setHotSpot(pos - r.topLeft());
            drag->exec(Qt::MoveAction);
            // The drop ends the press; the section must not count as clicked.
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-1000, -1000),
                                QPointF(-1000, -1000), Qt::LeftButton, Qt::NoButton,
                                Qt::NoModifier);
            QHeaderView::mouseReleaseEvent(&release);
            return;
        }
    }
    QHeaderView::mouseMoveEvent(event);
}

void TGridHeader::mouseReleaseEvent(QMouseEvent* event) {
    pressedSection_ = -1;
    QHeaderView::mouseReleaseEvent(event);
}

void TGridHeader::mouseDoubleClickEvent(QMouseEvent* event) {
    if (InFilterRow(event->position().toPoint()))
        return;
    QHeaderView::mouseDoubleClickEvent(event);
}

void TGridHeader::contextMenuEvent(QContextMenuEvent* event) {
    const int section = logicalIndexAt(event->pos());
    if (section < 0 || InFilterRow(event->pos()))
        return;
    emit columnMenuRequested(section, event->globalPos());
}

}  // namespace norvale
