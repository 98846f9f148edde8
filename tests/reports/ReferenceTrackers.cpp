#include "reports/ReferenceTrackers.h"

#include "data/FileError.h"
#include "reports/ObjectStatements.h"
#include "reports/Phrasing.h"
#include "reports/RecordStatements.h"
#include "reports/ReportContext.h"
#include "reports/StatementMode.h"
#include "reports/TextConventions.h"

#include <exception>
#include <string>

namespace orv::testing {

namespace {

constexpr std::string_view OrderNote = "\nNOTE: The order in which flags are reported does not necessarily reflect the "
                                       "order in which the flags are changed when playing the game.";
constexpr std::string_view CheckboxNote = "\nNOTE: Flags that have been specified in properties, but have their "
                                          "governing checkbox UNCHECKED, are not listed in this report.";

template <typename Step>
void step(Step&& body) {
    try {
        body();
    } catch (const std::exception&) {
    }
}

void commonOpening(ReportContext& ctx, std::string_view banner) {
    step([&] { AppendOpening(ctx.text, banner); });
    step([&] { ctx.text.append(OrderNote); });
    step([&] { ctx.text.append(CheckboxNote); });
}

void writeObjectStatements(ReportContext& ctx) {
    for (Integer k = 1; k <= 20; ++k) {
        ctx.run.CurrentObject = k;
        const Integer type = ctx.scene.Scene.slot(k).ObjectType;
        if (type != -1)
            step([&] { DescribeObject(type, Track, ctx); });
    }
}

void describeScene(ReportContext& ctx, Integer s) {
    bool loaded = false;
    step([&] {
        ctx.loadScene(s);
        loaded = true;
    });
    if (loaded) {
        step([&] { DescribeSceneHeader(s, ctx); });
        writeObjectStatements(ctx);
    }
    step([&] { StepProgress(ctx.host); });
}

void startProgress(ReportContext& ctx, int maximum) {
    ctx.host.setProgressMaximum(maximum);
    ctx.host.setProgressValue(0);
    ctx.host.yield();
}

void describePlayerSettings(ReportContext& ctx) {
    step([&] { DescribePlayerSettings(2, Track, ctx); });
    for (int i = 0; i < 5; ++i)
        step([&] { StepProgress(ctx.host); });
}

} // namespace

void ReferenceFlagTrackerByFlag(ReportContext& ctx) {
    RunState& run = ctx.run;
    const ProjectState& project = ctx.project;
    run.ReportName = "Flags Report";
    run.EveryFlag = false;
    commonOpening(ctx, FlagTrackerByFlagBanner);
    step([&] { ctx.text.append("\n"); });

    const bool all = run.TrackedFlag == AllSelector;
    const int first = all ? 1 : run.TrackedFlag;
    const int last = all ? 255 : run.TrackedFlag;
    const int flags = last - first + 1;
    startProgress(ctx, (project.SceneCount + project.CueCardCount + project.InventoryItemCount) * flags + 5);
    describePlayerSettings(ctx);

    for (int f = first; f <= last; ++f) {
        if (run.CancelRequested)
            return;
        run.TrackedFlag = static_cast<Integer>(f);
        step([&] { ctx.text.append("\n>>>>>> FLAG #" + SignedForm(f) + " <<<<<<"); });
        for (int s = 1; s <= project.SceneCount; ++s)
            describeScene(ctx, static_cast<Integer>(s));
        for (int c = 1; c <= project.CueCardCount; ++c) {
            step([&] { DescribeCueCard(static_cast<Integer>(c), Track, ctx); });
            step([&] { StepProgress(ctx.host); });
        }
        for (int i = 1; i <= project.InventoryItemCount; ++i) {
            step([&] { DescribeInventoryItem(static_cast<Integer>(i), Track, ctx); });
            step([&] { StepProgress(ctx.host); });
        }
        step([&] { ctx.text.append("\n"); });
    }
    step([&] { AppendClosing(ctx.text); });
}

void ReferenceFlagTrackerByScene(ReportContext& ctx) {
    RunState& run = ctx.run;
    const ProjectState& project = ctx.project;
    run.ReportName = "Scene Flags Report";
    run.EveryFlag = true;
    commonOpening(ctx, FlagTrackerBySceneBanner);

    const bool all = run.TrackedScene == AllSelector;
    const int first = all ? 1 : run.TrackedScene;
    const int last = all ? project.SceneCount : run.TrackedScene;
    startProgress(ctx, last - first + 1 + 5);
    describePlayerSettings(ctx);

    if (project.SceneCount > 0) {
        for (int s = first; s <= last; ++s) {
            if (run.CancelRequested)
                return;
            run.TrackedScene = static_cast<Integer>(s);
            step([&] {
                ctx.text.append("\n\n>>>>>> SCENE #" + SignedForm(s) + " (" + project.sceneName(s) + ") <<<<<<");
            });
            describeScene(ctx, static_cast<Integer>(s));
        }
    }
    step([&] { ctx.text.append("\n"); });
    step([&] { AppendClosing(ctx.text); });
}

namespace {

void scanForUsedFlags(ReportContext& ctx) {
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
    for (int l = 1; l <= project.LocationCount; ++l)
        StepProgress(host);
}

} // namespace

void ReferenceUnusedFlagsReport(ReportContext& ctx) {
    RunState& run = ctx.run;
    run.ReportName = "Unused Flags Report";
    ResetUnusedFlags(run);
    ctx.host.yield();
    try {
        scanForUsedFlags(ctx);
    } catch (const FileError& e) {
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

} // namespace orv::testing
