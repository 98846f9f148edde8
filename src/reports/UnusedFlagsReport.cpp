#include "reports/UnusedFlagsReport.h"

#include "data/FileError.h"
#include "reports/ObjectStatements.h"
#include "reports/Phrasing.h"
#include "reports/RecordStatements.h"
#include "reports/ReportContext.h"
#include "reports/StatementMode.h"
#include "reports/TextConventions.h"

#include <string>

namespace orv {

namespace {

// Strikes every flag that an enabled statement of the project uses off the
// candidate list. Writes nothing itself; only an unknown object type gets
// its problem line, which then stands above the report body.
void scan(ReportContext& ctx) {
    const ProjectState& project = ctx.project;
    RunState& run = ctx.run;
    ReportHost& host = ctx.host;

    host.setProgressMaximum(project.SceneCount + 5 + project.CueCardCount + project.InventoryItemCount +
                            project.LocationCount);
    host.setProgressValue(0);

    DescribePlayerSettings(2, MarkUsed, ctx);
    for (int i = 0; i < 5; ++i)
        StepProgress(host);

    for (int s = 1; s <= project.SceneCount; ++s) {
        ctx.loadScene(static_cast<Integer>(s));
        const SceneRecord& scene = ctx.scene.Scene;
        if (scene.CondLoadEnabled == 1)
            MarkFlagUsed(run, scene.CondLoadFlag);
        if (scene.OnLoadFlagEnabled == 1)
            MarkFlagUsed(run, scene.OnLoadFlag);
        for (Integer k = 1; k <= 20; ++k) {
            run.CurrentObject = k;
            const Integer type = scene.slot(k).ObjectType;
            if (type != -1)
                DescribeObject(type, MarkUsed, ctx);
        }
        StepProgress(host);
    }
    for (int c = 1; c <= project.CueCardCount; ++c) {
        DescribeCueCard(static_cast<Integer>(c), MarkUsed, ctx);
        StepProgress(host);
    }
    for (int i = 1; i <= project.InventoryItemCount; ++i) {
        DescribeInventoryItem(static_cast<Integer>(i), MarkUsed, ctx);
        StepProgress(host);
    }
    // Locations hold no flags; they only count toward the progress bar.
    for (int l = 1; l <= project.LocationCount; ++l)
        StepProgress(host);
}

} // namespace

void UnusedFlagsReport(ReportContext& ctx) {
    RunState& run = ctx.run;
    run.ReportName = "Unused Flags Report";
    ResetUnusedFlags(run);
    ctx.host.yield();

    try {
        scan(ctx);
    } catch (const FileError& e) {
        // What is left in the list would name flags as unused that the rest of
        // the project may well use, so no list is written.
        AppendOpening(ctx.text, UnusedFlagsBanner);
        ctx.text.append("\n*** The scan stopped: the file " + e.file().string() + " could not be read (" + e.reason() +
                        "). No list of unused flags was made. ***");
        AppendClosing(ctx.text);
        return;
    }

    AppendOpening(ctx.text, UnusedFlagsBanner);
    ctx.text.append("\nNOTE: Flags that have been specified in properties, but always have their governing checkbox "
                    "UNCHECKED, are listed as UNUSED in this report.");
    ctx.text.append("\n\nTotal unused flags found:" + SignedForm(static_cast<long>(run.UnusedFlags.size())));
    ctx.text.append("\n\nThe following flags do not appear to be in use in this project:\n");
    std::string list;
    for (const std::string& entry : run.UnusedFlags)
        list += entry + "  ";
    ctx.text.append(list);
    AppendClosing(ctx.text);
}

} // namespace orv
