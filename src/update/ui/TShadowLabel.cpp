#include "update/ui/TShadowLabel.h"

#include <QPainter>

namespace norvale {

TShadowLabel::TShadowLabel(const QString& text, QWidget* parent) : QWidget(parent), text_(text) {}

void TShadowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const QRect area = rect().adjusted(0, 0, -ShadowOffset, -ShadowOffset);
    painter.setPen(ShadowColor);
    painter.drawText(area.translated(ShadowOffset, ShadowOffset), Qt::AlignCenter, text_);
    painter.setPen(TextColor);
    painter.drawText(area, Qt::AlignCenter, text_);
}

}  // namespace norvale
