#include "reports/UnusedFlagsReport.h"

#include "reports/ReportContext.h"
#include "reports/TextConventions.h"

#include <array>

namespace orv {

UnusedFlags ScanUnusedFlags(ProjectSource source, ReportHost& host, bool keepProblems) {
    const LoadedProject& project = source.project;
    host.setProgressMaximum(project.SceneCount + 5 + project.CueCardCount + project.InventoryItemCount +
                            project.LocationCount);
    host.setProgressValue(0);

    UnusedFlags scan;
    std::array<bool, 256> used{};
    GatherOptions options;
    options.keep = [&used, keepProblems](const FlagStatement& s) {
        if (s.marks && s.markedFlag >= 1 && s.markedFlag <= 255)
            used[static_cast<std::size_t>(s.markedFlag)] = true;
        return keepProblems && s.use == FlagUse::Problem;
    };
    FlagStatementGatherer gatherer(source);
    FlagStatementList& list = scan.problems;
    const auto read = [&](bool done) {
        if (!done) {
            scan.failure = list.readFailure;
            (void)source.completeScenes(); // the project is described all the same
        }
        return done;
    };
    if (!read(gatherer.GatherPlayerSettings(list, options)))
        return scan;
    for (int i = 0; i < 5; ++i)
        StepProgress(host);
    for (int s = 1; s <= project.SceneCount; ++s) {
        if (!read(gatherer.GatherScene(static_cast<Integer>(s), list, options)))
            return scan;
        StepProgress(host);
    }
    for (int c = 1; c <= project.CueCardCount; ++c) {
        if (!read(gatherer.GatherCueCard(static_cast<Integer>(c), list, options)))
            return scan;
        StepProgress(host);
    }
    for (int i = 1; i <= project.InventoryItemCount; ++i) {
        if (!read(gatherer.GatherInventoryItem(static_cast<Integer>(i), list, options)))
            return scan;
        StepProgress(host);
    }
    // Locations hold no flags; they only count toward the progress bar.
    for (int l = 1; l <= project.LocationCount; ++l)
        StepProgress(host);
    if (Result<void> scenes = source.completeScenes(); !scenes) {
        scan.failure = scenes.failure();
        return scan;
    }
    for (int f = 1; f <= 255; ++f)
        if (!used[static_cast<std::size_t>(f)])
            scan.UnusedFlags.push_back(f);
    return scan;
}

void UnusedFlagsReport(ReportContext& ctx) {
    ctx.run.ReportName = "Unused Flags Report";
    ctx.host.yield();
    if (ctx.project.SceneCount > 0)
        ctx.run.CurrentObject = 20; // the last slot examined, as after describing each slot in turn
    WriteUnusedFlagsReport(ctx.text, ScanUnusedFlags(ctx.source(), ctx.host, true));
}

void WriteUnusedFlagsReport(ReportText& text, const UnusedFlags& scan) {
    for (const FlagStatement& s : scan.problems.statements) {
        text.append("\n");
        text.append(scan.problems.sentence(s));
    }
    AppendOpening(text, UnusedFlagsBanner);
    if (scan.failure) {
        AppendScanStopped(text, *scan.failure, "No list of unused flags was made.");
        AppendClosing(text);
        return;
    }
    text.append("\nNOTE: Flags that have been specified in properties, but always have their governing checkbox "
                "UNCHECKED, are listed as UNUSED in this report.");
    text.append("\n\nTotal unused flags found:" + SignedForm(static_cast<long>(scan.UnusedFlags.size())));
    text.append("\n\nThe following flags do not appear to be in use in this project:\n");
    std::string list;
    for (const int flag : scan.UnusedFlags) {
        AppendPlain(list, flag);
        list += "  ";
    }
    text.append(list);
    AppendClosing(text);
}

} // namespace orv
