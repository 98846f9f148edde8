#pragma once

#include "data/Yield.h"

#include <string>

namespace orv {

// What a report run needs from its front end: the event loop (yield), the
// progress bar, the busy pointer, today's date and the one question a run
// asks. The desktop program shows them; the command line draws a bar on a
// terminal; tests fake them.
class ReportHost : public EventLoop {
  public:
    // The progress bar. The value never exceeds the maximum.
    void setProgressMaximum(int maximum);
    void setProgressValue(int value);
    int progressMaximum() const { return maximum_; }
    int progressValue() const { return value_; }

    virtual void setBusy(bool) {}
    // Asked after a cancelled run: "Would you like to view the incomplete
    // report?" True for Yes.
    virtual bool askViewIncompleteReport() { return true; }
    // Today's date as mm-dd-yyyy.
    virtual std::string today() const;

  protected:
    // Called whenever the bar's maximum or value changes.
    virtual void progressChanged() {}

  private:
    int maximum_ = 100;
    int value_ = 0;
};

// Advances the progress bar by one (skipped when it would pass the maximum)
// and yields once to the event loop.
void StepProgress(ReportHost& host);

// `units` steps at once (the value stops at the maximum), then one yield:
// for a report whose units cost almost nothing each.
void StepProgressBy(ReportHost& host, int units);

} // namespace orv
