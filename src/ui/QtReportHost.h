#pragma once

#include "reports/ReportHost.h"

#include <QElapsedTimer>

class QProgressBar;
class QWidget;

namespace orv::ui {

class Prompts;

// Thrown by QtReportHost::yield once the program is ending: the run or load
// on the stack is abandoned at its next yield, whatever its kind. Not a
// std::exception, so that no routine takes it for one of its own failures.
struct RunAbandoned {};

// The desktop's side of a report run and of a load: the progress bar of the
// main window, the hourglass pointer, the incomplete-report question and the
// yield to the event loop.
class QtReportHost : public ReportHost {
  public:
    QtReportHost(QProgressBar& bar, Prompts& prompts, QWidget* dialogParent);

    // Runs call yield once per tiny unit of work; processing events every
    // time would spend most of a run in the event loop. Events are processed
    // at most once per interval: often enough for the window to repaint and
    // a Cancel click to be taken well within a tenth of a second, rarely
    // enough for the run to cost little more than on the command line.
    void setYieldInterval(int milliseconds) { intervalMs_ = milliseconds; }
    int yieldInterval() const { return intervalMs_; }

    // From now on every yield throws RunAbandoned.
    void abandon() { abandoned_ = true; }
    bool abandoned() const { return abandoned_; }

    void yield() override;
    void setBusy(bool busy) override;
    bool askViewIncompleteReport() override;

  protected:
    void progressChanged() override;

  private:
    void showProgress();

    QProgressBar& bar_;
    Prompts& prompts_;
    QWidget* dialogParent_;
    QElapsedTimer clock_;
    qint64 lastCheckNs_ = 0;
    qint64 lastEventsNs_ = -1;
    int stride_ = 1;
    int yieldsSinceCheck_ = 0;
    int intervalMs_ = 30;
    int busyDepth_ = 0;
    int shownPercent_ = -1;
    bool abandoned_ = false;
    bool barBehind_ = false;
};

} // namespace orv::ui
