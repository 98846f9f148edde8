#include "reports/RunReport.h"

#include "data/LoadProject.h"
#include "reports/FlagTracker.h"
#include "reports/FlagUsageReport.h"
#include "reports/ReportContext.h"
#include "reports/ScenePropertiesReport.h"
#include "reports/TextConventions.h"
#include "reports/UnusedFlagsReport.h"

#include <optional>

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
        std::optional<ProjectFiles> opened;
        if (!ctx.files) {
            Result<ProjectFiles> files = OpenDataFiles(ctx.project, ctx.host);
            if (!files)
                return {RunOutcome::Status::Failed, std::move(files).failure()};
            ctx.files = &opened.emplace(std::move(*files));
        }
        struct Close {
            ReportContext& ctx;
            bool owned;
            ~Close() {
                if (owned)
                    ctx.files = nullptr;
            }
        } close{ctx, opened.has_value()};
        ctx.host.yield();
        ctx.text.clear();
        ctx.run.FilesReportRan = false;
        if (ctx.pendingScenes) {
            runRoutine(kind, ctx);
            if (Result<void> scenes = ctx.pendingScenes->complete(); !scenes)
                return {RunOutcome::Status::Failed, std::move(scenes).failure()};
            ctx.text.prepend(ReportHeader(ctx.host.today(), ProjectInformation(ctx.project)));
        } else {
            ctx.text.append(ReportHeader(ctx.host.today(), ProjectInformation(ctx.project)));
            runRoutine(kind, ctx);
        }
    }
    if (ctx.run.CancelRequested && !ctx.host.askViewIncompleteReport()) {
        FinishRun(ctx);
        return {RunOutcome::Status::Discard, std::nullopt};
    }
    return {};
}

void FinishRun(ReportContext& ctx) {
    ctx.run.ReportRunning = false;
    ctx.host.setProgressValue(0);
}

} // namespace orv
