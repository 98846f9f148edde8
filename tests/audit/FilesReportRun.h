#pragma once

#include "audit/AuditLists.h"
#include "reports/ReportHost.h"
#include "reports/RunState.h"

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace orv::testing {

// A host with a fixed date that counts its yields; `onYield` lets a test act
// in the middle of a run, as an event handler could.
class RecordingHost : public ReportHost {
public:
    std::string today() const override { return "03-14-2024"; }
    void yield() override {
        ++yields;
        if (onYield)
            onYield(*this);
    }
    int yields = 0;
    int highestProgress = 0;
    std::function<void(RecordingHost&)> onYield;

protected:
    void progressChanged() override {
        if (progressValue() > highestProgress)
            highestProgress = progressValue();
    }
};

// What one run of the resource files report leaves behind.
struct FilesReportRun {
    std::string header; // the common report header (title, date, panel)
    std::string body;   // everything the report appended after the header
    AuditLists lists;
    RunState run;
    int progressMaximum = 0;
    int highestProgress = 0;
};

// Loads the project and runs report kind 0 through RunReport as the desktop
// program does. Fails the calling test when the project does not load.
FilesReportRun RunFilesReport(const std::filesystem::path& projectFile,
                              std::function<void(RecordingHost&)> onYield = {});

// Lines joined with LF, so an expected report reads as one line per entry.
std::string Lines(std::initializer_list<std::string_view> lines);

} // namespace orv::testing
