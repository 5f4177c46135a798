#include "app/TGridNavigator.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace norvale {

TGridNavigator::TGridNavigator(bool withDelete, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Navigator"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(1);
    struct TButtonInfo {
        const char* name;
        const char* tip;
        QStyle::StandardPixmap icon;
    };
    static constexpr TButtonInfo kButtons[] = {
        {"nbFirst", "First", QStyle::SP_MediaSkipBackward},
        {"nbPriorPage", "Prior page", QStyle::SP_MediaSeekBackward},
        {"nbPrior", "Prior", QStyle::SP_ArrowLeft},
        {"nbNext", "Next", QStyle::SP_ArrowRight},
        {"nbNextPage", "Next page", QStyle::SP_MediaSeekForward},
        {"nbLast", "Last", QStyle::SP_MediaSkipForward},
        {"nbDelete", "Delete", QStyle::SP_TrashIcon}};
    for (int i = 0; i < 7; ++i) {
        if (i == nbDelete && !withDelete)
            break;
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(kButtons[i].name));
        b->setToolTip(QString::fromLatin1(kButtons[i].tip));
        b->setIcon(style()->standardIcon(kButtons[i].icon));
        b->setAutoRaise(true);
        b->setIconSize(QSize(14, 14));
        connect(b, &QToolButton::clicked, this, [this, i] { emit clicked(i); });
        layout->addWidget(b);
        buttons_[i] = b;
    }
    layout->addStretch(1);
}

void TGridNavigator::UpdateState(std::size_t row, std::size_t count) {
    const bool any = count > 0;
    const bool atFirst = !any || row == 0;
    const bool atLast = !any || row + 1 >= count;
    for (int i : {nbFirst, nbPriorPage, nbPrior}) buttons_[i]->setEnabled(!atFirst);
    for (int i : {nbNext, nbNextPage, nbLast}) buttons_[i]->setEnabled(!atLast);
    if (buttons_[nbDelete])
        buttons_[nbDelete]->setEnabled(any);
}

}  // namespace norvale
