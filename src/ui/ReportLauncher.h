#pragma once

#include "data/Failure.h"
#include "data/Types.h"

#include <functional>
#include <optional>
#include <string_view>

class QWidget;

namespace orv::ui {

// The desktop's wording of a media folder that could not be listed, shown
// before the report window of the files report opens.
std::string UnlistableFolderMessage(const Failure& folder);

class FilesManager;
class QtReportHost;
struct Platform;
struct ProgramState;

// A window's own pass over the project (the flag map's, the puzzle
// chart's), run as a report runs: marked as running so that nothing starts
// during its yields, with the busy cursor and the progress bar. `pass` reads
// the project and takes what it found, or gives the failure, which a message
// box shows after `cannotMake`. True when the pass succeeded.
bool RunWindowPass(QWidget* parent, ProgramState& state, Platform& platform, QtReportHost& host,
                   std::string_view cannotMake, const std::function<std::optional<Failure>()>& pass);

// Runs one report from start to end: the run itself, then the report window
// shown modally, then the clean-up after it closes (no report running,
// progress bar back at 0). The main window and the pickers start every
// report through it.
class ReportLauncher {
  public:
    ReportLauncher(ProgramState& state, Platform& platform, QtReportHost& host, FilesManager& filesManager,
                   QWidget* windowParent);

    void run(Integer kind);
    // True from the start of a run until its report window has closed,
    // whatever the run state says; no second run may start meanwhile.
    bool busy() const { return busy_; }

    // Called when a run has changed what the windows show (the caption, the
    // audit lists), before the report window opens.
    void setStateChangedHandler(std::function<void()> handler) { stateChanged_ = std::move(handler); }

  private:
    ProgramState& state_;
    Platform& platform_;
    QtReportHost& host_;
    FilesManager& filesManager_;
    QWidget* windowParent_;
    std::function<void()> stateChanged_;
    bool busy_ = false;
};

} // namespace orv::ui
