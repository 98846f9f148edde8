#pragma once

#include "data/Failure.h"
#include "data/Types.h"

#include <optional>

namespace orv {

struct ReportContext;

// Report kinds.
inline constexpr Integer ResourceFilesKind = 0;
inline constexpr Integer UnusedFlagsKind = 1;
inline constexpr Integer ScenePropertiesHiddenKind = 2;
inline constexpr Integer ScenePropertiesKind = 3;
inline constexpr Integer FlagsByFlagKind = 4;
inline constexpr Integer FlagsBySceneKind = 5;
inline constexpr Integer FlagUsageKind = 6;

struct RunOutcome {
    enum class Status {
        Show,    // show the report window with the text
        Discard, // cancelled, and the user chose not to see the incomplete report
        Failed,  // the data files could not be opened: `failure` says why
    };
    Status status = Status::Show;
    std::optional<Failure> failure;
};

// Runs one report: opens the data files (unless the context holds them open
// already), writes the header (after the routine, when the routine's pass
// fills the scene table), runs the routine of the kind, closes what it
// opened and, after a cancel, asks whether to show the incomplete report.
// Showing the window (and clearing ReportRunning and the progress bar
// afterwards) is the front end's part; see FinishRun.
RunOutcome RunReport(Integer kind, ReportContext& ctx);

// What follows the report window's closing (or a discarded run): no report
// running, progress bar back at 0.
void FinishRun(ReportContext& ctx);

} // namespace orv
