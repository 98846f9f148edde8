#pragma once

#include "reports/ReportHost.h"

#include <chrono>
#include <ostream>

namespace orv {

// Draws the report's progress as a bar on a terminal (the command line's
// stderr), redrawn at most a few times a second; nothing when `enabled` is
// false, so pipes and files never see it.
class TerminalProgress : public ReportHost {
  public:
    TerminalProgress(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}
    ~TerminalProgress() override { clear(); }

    // Removes the bar, so that messages that follow start on a clean line.
    void clear();

  protected:
    void progressChanged() override;

  private:
    std::ostream& out_;
    bool enabled_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point lastDraw_{};
};

} // namespace orv
