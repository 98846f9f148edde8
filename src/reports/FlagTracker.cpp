#include "reports/FlagTracker.h"

#include "reports/ObjectStatements.h"
#include "reports/Phrasing.h"
#include "reports/RecordStatements.h"
#include "reports/ReportContext.h"
#include "reports/StatementMode.h"
#include "reports/TextConventions.h"

#include <exception>
#include <string>

namespace orv {

namespace {

constexpr std::string_view OrderNote = "\nNOTE: The order in which flags are reported does not necessarily reflect the "
                                       "order in which the flags are changed when playing the game.";
constexpr std::string_view CheckboxNote = "\nNOTE: Flags that have been specified in properties, but have their "
                                          "governing checkbox UNCHECKED, are not listed in this report.";

// Both trackers run under a resume-next policy: a step that fails is left
// out and the report goes on with the next one.
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

// The conditional load and the on-load change of the loaded scene s. With
// EveryFlag on (the scene-ordered report) each statement first makes its
// own flag the tracked one, so every enabled statement is written.
void writeSceneHeaderSentences(ReportContext& ctx, Integer s) {
    const SceneRecord& scene = ctx.scene.Scene;
    RunState& run = ctx.run;
    if (scene.CondLoadEnabled == 1 && IsTrackedFlag(run, scene.CondLoadFlag)) {
        step([&] {
            ctx.text.append("\n" + SceneReference(ctx.project, s) + ") If " +
                            FlagCondition(scene.CondLoadFlag, scene.CondLoadOperator, scene.CondLoadValue));
        });
        step([&] {
            if (scene.CondLoadScene == 0)
                ctx.text.append(" then do nothing (no scene chosen to load)");
            else
                ctx.text.append(" then load scene #" + SignedForm(scene.CondLoadScene) + " (" +
                                ctx.project.sceneName(scene.CondLoadScene) + ")");
        });
    }
    if (scene.OnLoadFlagEnabled == 1 && IsTrackedFlag(run, scene.OnLoadFlag)) {
        step([&] {
            ctx.text.append("\n" + SceneReference(ctx.project, s) + ") When this scene is loaded, " +
                            (scene.OnLoadAdds == 0 ? SetFlagPhrase(scene.OnLoadFlag, scene.OnLoadValue)
                                                   : AddFlagPhrase(scene.OnLoadValue, scene.OnLoadFlag)));
        });
    }
}

void writeObjectStatements(ReportContext& ctx) {
    for (Integer k = 1; k <= 20; ++k) {
        ctx.run.CurrentObject = k;
        const Integer type = ctx.scene.Scene.slot(k).ObjectType;
        if (type != -1)
            step([&] { DescribeObject(type, Track, ctx); });
    }
}

// One scene's sentences, then its progress step. A scene that cannot be read
// writes nothing: the tables would still hold the scene before it.
void describeScene(ReportContext& ctx, Integer s) {
    bool loaded = false;
    step([&] {
        ctx.loadScene(s);
        loaded = true;
    });
    if (loaded) {
        writeSceneHeaderSentences(ctx, s);
        writeObjectStatements(ctx);
    }
    step([&] { StepProgress(ctx.host); });
}

void startProgress(ReportContext& ctx, int maximum) {
    ctx.host.setProgressMaximum(maximum);
    ctx.host.setProgressValue(0);
    ctx.host.yield();
}

// The score flag, asked for once before the sections, and five progress
// steps for it.
void describePlayerSettings(ReportContext& ctx) {
    step([&] { DescribePlayerSettings(2, Track, ctx); });
    for (int i = 0; i < 5; ++i)
        step([&] { StepProgress(ctx.host); });
}

} // namespace

void FlagTrackerByFlag(ReportContext& ctx) {
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
    // With 999 still in TrackedFlag no score flag can match here.
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

void FlagTrackerByScene(ReportContext& ctx) {
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

} // namespace orv
