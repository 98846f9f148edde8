#pragma once

#include "reports/ReportHost.h"

#include <QElapsedTimer>

class QProgressBar;
class QWidget;

namespace orv::ui {

class Prompts;

// The desktop's side of a report run and of a load: the progress bar of the
// main window, the hourglass pointer, the incomplete-report question and the
// yield to the event loop.
class QtReportHost : public ReportHost {
public:
    QtReportHost(QProgressBar& bar, Prompts& prompts, QWidget* dialogParent);

    // Runs call yield once per tiny unit of work; processing events every
    // time would spend most of a run in the event loop. Events are processed
    // at most once per interval (a Cancel click waits that long at most).
    void setYieldInterval(int milliseconds) { intervalMs_ = milliseconds; }
    int yieldInterval() const { return intervalMs_; }

    void yield() override;
    void setBusy(bool busy) override;
    bool askViewIncompleteReport() override;

protected:
    void progressChanged() override;

private:
    QProgressBar& bar_;
    Prompts& prompts_;
    QWidget* dialogParent_;
    QElapsedTimer sinceLastYield_;
    int intervalMs_ = 10;
    int busyDepth_ = 0;
};

} // namespace orv::ui
