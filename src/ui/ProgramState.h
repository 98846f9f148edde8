#pragma once

#include "audit/AuditLists.h"
#include "data/ProjectState.h"
#include "reports/ReportText.h"
#include "reports/RunState.h"

namespace orv::ui {

// The program-wide state of the desktop program, owned by main() and handed
// to every window by reference: the loaded project, the run state, the one
// report text and the audit lists.
struct ProgramState {
    ProjectState project;
    RunState run;
    ReportText text;
    AuditLists lists;
};

} // namespace orv::ui
