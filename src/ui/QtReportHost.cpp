#include "ui/QtReportHost.h"

#include "ui/Prompts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressBar>

namespace orv::ui {

QtReportHost::QtReportHost(QProgressBar& bar, Prompts& prompts, QWidget* dialogParent)
    : bar_(bar), prompts_(prompts), dialogParent_(dialogParent) {}

void QtReportHost::yield() {
    if (abandoned_)
        throw RunAbandoned{};
    // Reading the clock at every one of millions of yields costs more than
    // the units of work between them; it is read every `stride_` yields, a
    // stride that follows how long the units take, kept small so that a
    // run of slow units cannot hold the window back for long.
    if (intervalMs_ > 0 && ++yieldsSinceCheck_ < stride_)
        return;
    yieldsSinceCheck_ = 0;
    if (!clock_.isValid())
        clock_.start();
    const qint64 now = clock_.nsecsElapsed();
    const qint64 sinceCheck = now - lastCheckNs_;
    lastCheckNs_ = now;
    if (sinceCheck < 500'000 && stride_ < 64)
        stride_ *= 2;
    else if (sinceCheck > 2'000'000 && stride_ > 1)
        stride_ /= 2;
    if (lastEventsNs_ >= 0 && now - lastEventsNs_ < static_cast<qint64>(intervalMs_) * 1'000'000)
        return;
    if (barBehind_)
        showProgress();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    lastEventsNs_ = clock_.nsecsElapsed();
    if (abandoned_)
        throw RunAbandoned{};
}

void QtReportHost::setBusy(bool busy) {
    if (busy) {
        if (busyDepth_++ == 0)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
        QGuiApplication::restoreOverrideCursor();
    }
}

bool QtReportHost::askViewIncompleteReport() {
    return prompts_.ask(dialogParent_, QStringLiteral("Operation Cancelled"),
                        QStringLiteral("Would you like to view the incomplete report?"), Prompts::Buttons::YesNo,
                        Prompts::Icon::Question) == Prompts::Answer::Yes;
}

void QtReportHost::progressChanged() {
    // Maximum first: a value above the old maximum would be refused. A
    // maximum of 0 would turn the bar into a busy indicator.
    const int maximum = progressMaximum() > 0 ? progressMaximum() : 1;
    if (bar_.maximum() != maximum) {
        bar_.setMaximum(maximum);
        shownPercent_ = -1;
    }
    // The bar shows whole percents, and redraws itself at once on each
    // change; a run steps it millions of times. Between the start and the
    // end it moves when the run yields to the window.
    const int percent = static_cast<int>(static_cast<long long>(progressValue()) * 100 / maximum);
    if (percent == shownPercent_)
        return;
    const bool startOrEnd = progressValue() == 0 || progressValue() >= progressMaximum();
    if (!startOrEnd && intervalMs_ > 0) {
        barBehind_ = true;
        return;
    }
    showProgress();
}

void QtReportHost::showProgress() {
    const int maximum = progressMaximum() > 0 ? progressMaximum() : 1;
    shownPercent_ = static_cast<int>(static_cast<long long>(progressValue()) * 100 / maximum);
    barBehind_ = false;
    bar_.setValue(progressValue());
}

} // namespace orv::ui
