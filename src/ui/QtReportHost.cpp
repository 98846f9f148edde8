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
    if (sinceLastYield_.isValid() && sinceLastYield_.elapsed() < intervalMs_)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sinceLastYield_.start();
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
    // The bar shows whole percents; a run steps it millions of times, and
    // each update would cost more than the step's own work.
    const int percent = static_cast<int>(static_cast<long long>(progressValue()) * 100 / maximum);
    if (percent == shownPercent_)
        return;
    shownPercent_ = percent;
    bar_.setValue(progressValue());
}

} // namespace orv::ui
