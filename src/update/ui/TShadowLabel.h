#pragma once

#include <QColor>
#include <QWidget>

namespace norvale {

// A label whose text carries a drop shadow: the shadow is painted first, offset to
// the lower right, and the text over it.
class TShadowLabel : public QWidget {
    Q_OBJECT

public:
    explicit TShadowLabel(const QString& text, QWidget* parent = nullptr);

    QString Text() const { return text_; }
    QColor TextColor = QColor(0, 0, 64);
    QColor ShadowColor = Qt::white;
    int ShadowOffset = 2;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

}  // namespace norvale
