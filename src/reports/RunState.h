#pragma once

#include "data/Types.h"

#include <string>

namespace orv {

// The run-state values that the main window, the pickers and the report
// routines share. Owned by the front end, alive from start-up to exit.
struct RunState {
    bool ReportRunning = false;     // a report is in progress (guards re-entry)
    bool CancelRequested = false;   // the user asked to stop the current run
    bool FilesReportRan = false;    // the report text is the resource files report
    std::string ReportName;         // name of the report last run
    Integer TrackedFlag = 0;        // 1..255, or 999 for all flags
    Integer TrackedScene = 0;       // 1..SceneCount, or 999 for all scenes
    bool EveryFlag = false;         // statement generators report every flag they meet
    Integer CurrentObject = 0;      // object slot 1..20 being examined
    Integer ScenePickerPurpose = 0; // 1 = scene properties, 2 = flags of a scene
};

// The "all flags" / "all scenes" selector.
inline constexpr Integer AllSelector = 999;

} // namespace orv
