#pragma once

#include "audit/FilesAudit.h"
#include "data/ProgramInfo.h"
#include "data/Project.h"
#include "reports/ReportText.h"
#include "reports/RunState.h"

#include <string>

namespace orv::ui {

// What the main window shows of the project: the path box, the project
// information panel, the title and whether the report buttons work.
struct MainWindowState {
    std::string PathBox{PathPrompt}; // Text1
    std::string PInfo;
    std::string Caption = versionedTitle();
    bool ReportsEnabled = false;
};

// The program-wide state of the desktop program, owned by main() and handed
// to every window by reference: the loaded project, what the main window
// shows, the run state, the one report text and the files audit the files
// manager shows.
struct ProgramState {
    LoadedProject project;
    MainWindowState screen;
    RunState run;
    ReportText text;
    FilesAudit audit;
};

} // namespace orv::ui
