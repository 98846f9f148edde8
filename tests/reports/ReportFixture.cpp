#include "reports/ReportFixture.h"

#include "data/DataFiles.h"
#include "data/LoadProject.h"
#include "reports/RunReport.h"

namespace orv::testing {

void ReportFixture::load() {
    const auto projectFile = builder.write(dir.path());
    ChooseProjectFile(project, projectFile);
    const LoadOutcome outcome = LoadProject(project, noEventLoop());
    ASSERT_TRUE(outcome.loaded()) << outcome.message;
}

void ReportFixture::loadAndOpen() {
    load();
    ctx.files.emplace(OpenDataFiles(project, noEventLoop()));
}

std::string ReportFixture::runReport(Integer kind) {
    RunReport(kind, ctx);
    return text.str();
}

std::string ReportFixture::header() const {
    return std::string("*** Orvanta Project Report ***\nDate scanned: ") + FakeReportHost::Date + "\n\n" + project.PInfo;
}

std::string lines(std::initializer_list<std::string_view> rows) {
    std::string out;
    for (std::string_view row : rows) {
        out += '\n';
        out += row;
    }
    return out;
}

} // namespace orv::testing
