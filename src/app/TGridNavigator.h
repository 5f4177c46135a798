#pragma once

#include <QWidget>

class QToolButton;

namespace norvale {

// The bar under a grid: first, prior page, prior, next, next page, last, and on the
// draft grid delete.
class TGridNavigator : public QWidget {
    Q_OBJECT

public:
    enum TButton { nbFirst, nbPriorPage, nbPrior, nbNext, nbNextPage, nbLast, nbDelete };

    TGridNavigator(bool withDelete, QWidget* parent = nullptr);
    QToolButton* Button(TButton which) const { return buttons_[which]; }
    // Enables the moving buttons as the position allows.
    void UpdateState(std::size_t row, std::size_t count);

signals:
    void clicked(int button);

private:
    QToolButton* buttons_[7] = {};
};

}  // namespace norvale
