#include "FilesReportRun.h"

#include "audit/MissingUnusedFilesReport.h"
#include "data/LoadProject.h"
#include "reports/ReportContext.h"
#include "reports/RunReport.h"
#include "reports/TextConventions.h"

#include <gtest/gtest.h>

namespace orv::testing {

FilesReportRun RunFilesReport(const std::filesystem::path& projectFile, std::function<void(RecordingHost&)> onYield) {
    FilesReportRun result;
    ProjectState project;
    ChooseProjectFile(project, projectFile);
    const LoadOutcome outcome = LoadProject(project, noEventLoop());
    EXPECT_TRUE(outcome.loaded()) << outcome.message;

    ReportText text;
    RecordingHost host;
    host.onYield = std::move(onYield);
    ReportContext ctx{project, result.run, text, host};
    ctx.resourceFilesReport = [&](ReportContext& c) { MissingUnusedFilesReport(c, result.lists); };
    const RunOutcome run = RunReport(0, ctx);
    EXPECT_EQ(run.status, RunOutcome::Status::Show);
    EXPECT_EQ(ctx.references, nullptr) << "the report must not leave its reference sink behind";

    result.header = ReportHeader("03-14-2024", project.PInfo);
    const std::string& all = text.str();
    EXPECT_EQ(all.substr(0, result.header.size()), result.header);
    result.body = all.size() > result.header.size() ? all.substr(result.header.size()) : std::string{};
    result.progressMaximum = host.progressMaximum();
    result.highestProgress = host.highestProgress;
    return result;
}

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string out;
    bool first = true;
    for (std::string_view line : lines) {
        if (!first)
            out.push_back('\n');
        out.append(line);
        first = false;
    }
    return out;
}

} // namespace orv::testing
