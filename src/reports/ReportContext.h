#pragma once

#include "data/Project.h"
#include "reports/ReportHost.h"
#include "reports/ReportText.h"
#include "reports/RunState.h"

#include <functional>

namespace orv {

// Everything a report run works on, handed down by reference from the front
// end that owns it: the loaded project, the run state, the report text, the
// host (progress, yields, the one question), and the data files while the
// run has them open.
struct ReportContext {
    ReportContext(LoadedProject& p, RunState& r, ReportText& t, ReportHost& h) : project(p), run(r), text(t), host(h) {}

    LoadedProject& project;
    RunState& run;
    ReportText& text;
    ReportHost& host;

    // Open only while a run is in progress. A front end that holds the
    // project's files open already (the command line, from the lock check
    // on) sets them before the run; otherwise the run opens them itself.
    const ProjectFiles* files = nullptr;
    // The resource files report (kind 0) lives in the audit layer; the front
    // end plugs it in here.
    std::function<void(ReportContext&)> resourceFilesReport;
    // Set by a front end that left the scene table to the run's pass (see
    // SceneTable): the header, which counts the scenes' objects, is then
    // written once the pass is over.
    SceneTable* pendingScenes = nullptr;

    ProjectSource source() const { return {project, *files, pendingScenes}; }
};

} // namespace orv
