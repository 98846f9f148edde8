#include "reports/RunReport.h"

#include "data/DataFiles.h"
#include "reports/FlagTracker.h"
#include "reports/FlagUsageReport.h"
#include "reports/ReportContext.h"
#include "reports/ScenePropertiesReport.h"
#include "reports/TextConventions.h"
#include "reports/UnusedFlagsReport.h"

namespace orv {

namespace {

void runRoutine(Integer kind, ReportContext& ctx) {
    switch (kind) {
    case ResourceFilesKind:
        if (ctx.resourceFilesReport)
            ctx.resourceFilesReport(ctx);
        break;
    case UnusedFlagsKind: UnusedFlagsReport(ctx); break;
    case ScenePropertiesHiddenKind:
    case ScenePropertiesKind: ScenePropertiesReport(ctx); break;
    case FlagsByFlagKind: FlagTrackerByFlag(ctx); break;
    case FlagsBySceneKind: FlagTrackerByScene(ctx); break;
    case FlagUsageKind: FlagUsageReport(ctx); break;
    default: break; // any other kind leaves the header alone
    }
}

struct BusyPointer {
    ReportHost& host;
    explicit BusyPointer(ReportHost& h) : host(h) { host.setBusy(true); }
    ~BusyPointer() { host.setBusy(false); }
};

} // namespace

RunOutcome RunReport(Integer kind, ReportContext& ctx) {
    {
        BusyPointer busy(ctx.host);
        try {
            ctx.files.emplace(OpenDataFiles(ctx.project, ctx.host));
        } catch (const std::exception& e) {
            ctx.files.reset();
            return {RunOutcome::Status::Failed, std::string("The report could not be run.\r") + e.what()};
        }
        ctx.host.yield();
        ctx.text.clear();
        ctx.text.append(ReportHeader(ctx.host.today(), ctx.project.PInfo));
        ctx.run.FilesReportRan = false;
        try {
            runRoutine(kind, ctx);
        } catch (const std::exception& e) {
            // Routines handle their own failures; anything that still gets
            // here ends the routine, and the report says why in one line.
            ctx.text.append(std::string("\n*** The report stopped early: ") + e.what() + " ***");
        }
        ctx.files.reset();
    }
    if (ctx.run.CancelRequested && !ctx.host.askViewIncompleteReport()) {
        FinishRun(ctx);
        return {RunOutcome::Status::Discard, {}};
    }
    return {RunOutcome::Status::Show, {}};
}

void FinishRun(ReportContext& ctx) {
    ctx.run.ReportRunning = false;
    ctx.host.setProgressValue(0);
}

} // namespace orv
