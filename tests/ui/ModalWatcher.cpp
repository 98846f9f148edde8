#include "ModalWatcher.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace orv::testing {

ModalWatch::~ModalWatch() {
    // Stopped at once; deleted later, as its action may still be running.
    if (timer_) {
        timer_->stop();
        timer_->deleteLater();
    }
}

ModalWatch whenModalShown(const QString& name, std::function<void(QWidget&)> action, int timeoutMs) {
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(2);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, name, action = std::move(action), timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == name && modal->isVisible()) {
            // The action may run nested event loops; it runs from a copy, as
            // the timer that holds it may be deleted meanwhile.
            const auto act = action;
            timer->stop();
            timer->deleteLater();
            act(*modal);
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the modal window " << name.toStdString() << " never showed";
            while (QWidget* open = QApplication::activeModalWidget())
                open->hide();
        }
    });
    timer->start();
    return ModalWatch(timer);
}

} // namespace orv::testing
