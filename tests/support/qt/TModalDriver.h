#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace norvale::test {

// Acts on the next modal dialog of type T that the code under test opens with exec():
// call it before the command, and let the action close the dialog. If none opens
// within the time, the test fails and whatever modal window is up is closed, so a
// wrong path fails instead of hanging.
template <class T = QDialog>
void WhenModal(std::function<void(T*)> action, int timeoutMs = 5000) {
    auto* timer = new QTimer;
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, [timer, deadline, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (T* dialog = qobject_cast<T*>(modal)) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
            return;
        }
        if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal dialog of the expected kind appeared";
            if (modal)
                modal->close();
        }
    });
    timer->start(5);
}

}  // namespace norvale::test
