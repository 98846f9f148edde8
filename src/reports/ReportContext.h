#pragma once

#include "data/DataFiles.h"
#include "data/ProjectState.h"
#include "data/SceneTables.h"
#include "reports/ReportHost.h"
#include "reports/ReportText.h"
#include "reports/RunState.h"

#include <functional>
#include <optional>
#include <stdexcept>

namespace orv {

class FileReferenceSink;

// Everything a report routine and the statement generators work on, handed
// down by reference from the front end that owns it.
struct ReportContext {
    ReportContext(ProjectState& p, RunState& r, ReportText& t, ReportHost& h) : project(p), run(r), text(t), host(h) {}

    ProjectState& project;
    RunState& run;
    ReportText& text;
    ReportHost& host;

    // Where CollectFiles hands file names; set by the resource files report.
    FileReferenceSink* references = nullptr;
    // The resource files report (kind 0) lives in the audit layer; the front
    // end plugs it in here.
    std::function<void(ReportContext&)> resourceFilesReport;

    // Open only while a run is in progress.
    std::optional<DataFiles> files;
    SceneTables scene;

    const DataFiles& data() const {
        if (!files)
            throw std::logic_error("the data files are not open");
        return *files;
    }
    void loadScene(Integer sceneNo) { LoadScene(data(), sceneNo, scene); }
};

} // namespace orv
