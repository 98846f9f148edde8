#include "reports/FlagTracker.h"

#include "reports/FlagSections.h"
#include "reports/ReportContext.h"
#include "reports/TextConventions.h"

#include <new>
#include <stdexcept>
#include <string>

namespace orv {

namespace {

constexpr std::string_view OrderNote = "\nNOTE: The order in which flags are reported does not necessarily reflect the "
                                       "order in which the flags are changed when playing the game.";
constexpr std::string_view CheckboxNote = "\nNOTE: Flags that have been specified in properties, but have their "
                                          "governing checkbox UNCHECKED, are not listed in this report.";

// Both trackers run under a resume-next policy: a step that fails (nothing
// in them can but the memory the report takes) is left out and the report
// goes on with the next one. This is the one place that policy lives.
template <typename Step> void step(Step&& body) {
    try {
        body();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
}

void write(ReportContext& ctx, std::string_view piece) {
    step([&] { ctx.text.append(piece); });
}

// What both trackers start with: the report's name, whether every flag is
// tracked, the banner and the two notes.
void commonOpening(ReportContext& ctx, std::string_view name, bool everyFlag, std::string_view banner) {
    ctx.run.ReportName = std::string(name);
    ctx.run.EveryFlag = everyFlag;
    step([&] { AppendOpening(ctx.text, banner); });
    write(ctx, OrderNote);
    write(ctx, CheckboxNote);
}

void startProgress(ReportContext& ctx, int maximum) {
    ctx.host.setProgressMaximum(maximum);
    ctx.host.setProgressValue(0);
    ctx.host.yield();
}

// The score flag's line, when it is the tracked flag, before the sections,
// and five progress steps for the player settings.
void writeScore(ReportContext& ctx) {
    step([&] {
        const std::optional<Integer> tracked =
            ctx.run.EveryFlag ? std::nullopt : std::optional<Integer>(ctx.run.TrackedFlag);
        if (const auto score = TrackedScoreStatement(ctx.source(), tracked))
            for (const FlagStatement& s : score->statements) {
                ctx.text.append("\n");
                ctx.text.append(score->sentence(s));
            }
    });
    for (int i = 0; i < 5; ++i)
        step([&] { StepProgress(ctx.host); });
}

} // namespace

// The flag-ordered report reads the project once, during the first flag's
// section (stepping the bar per scene, cue card and item as it goes), and
// writes every later section from what it gathered, stepping the bar by the
// section's units at once. What it writes, the progress maximum and value,
// TrackedFlag and the points at which a cancel takes effect are those of
// reading the project once per flag.
void FlagTrackerByFlag(ReportContext& ctx) {
    RunState& run = ctx.run;
    const LoadedProject& project = ctx.project;
    commonOpening(ctx, "Flags Report", false, FlagTrackerByFlagBanner);
    write(ctx, "\n");

    const bool all = run.TrackedFlag == AllSelector;
    const int first = all ? 1 : run.TrackedFlag;
    const int last = all ? 255 : run.TrackedFlag;
    const int flags = last - first + 1;
    const int units = project.SceneCount + project.CueCardCount + project.InventoryItemCount;
    startProgress(ctx, units * flags + 5);
    writeScore(ctx);

    // Above a few thousand scenes the sections run to many megabytes.
    FlagSections gathered(project.SceneCount >= 4096);
    for (int f = first; f <= last; ++f) {
        if (run.CancelRequested)
            return;
        run.TrackedFlag = static_cast<Integer>(f);
        std::string heading = "\n>>>>>> FLAG #";
        AppendSigned(heading, f);
        heading += " <<<<<<";
        write(ctx, heading);
        if (f == first) {
            step([&] {
                GatherFlagSections(ctx.source(), gathered, first, last, false, [&] { StepProgress(ctx.host); });
            });
            if (gathered.scenesRead > 0)
                run.CurrentObject = 20;
            std::size_t bytes = SeparatorLine.size() + 2;
            for (const FlagSection& section : gathered.sections)
                bytes += section.text.size() + heading.size() + 4;
            step([&] { ctx.text.reserveMore(bytes); });
        } else {
            StepProgressBy(ctx.host, units);
        }
        if (!gathered.sections.empty())
            step([&] {
                SectionText& text = gathered.sections[static_cast<std::size_t>(f - first)].text;
                text.forEachPiece([&](std::string_view piece) { ctx.text.append(piece); });
                text.release();
            });
        write(ctx, "\n");
    }
    step([&] { AppendClosing(ctx.text); });
}

void FlagTrackerByScene(ReportContext& ctx) {
    RunState& run = ctx.run;
    const LoadedProject& project = ctx.project;
    commonOpening(ctx, "Scene Flags Report", true, FlagTrackerBySceneBanner);

    const bool all = run.TrackedScene == AllSelector;
    const int first = all ? 1 : run.TrackedScene;
    const int last = all ? project.SceneCount : run.TrackedScene;
    startProgress(ctx, last - first + 1 + 5);
    writeScore(ctx);

    if (project.SceneCount > 0) {
        FlagStatementGatherer gatherer(ctx.source());
        FlagStatementList list;
        const std::size_t opening = ctx.text.str().size();
        for (int s = first; s <= last; ++s) {
            if (run.CancelRequested)
                return;
            // After a few scenes their average tells how large the report
            // grows: room for all of it at once spares copying it as it grows.
            if (s == first + 64)
                step([&] {
                    const std::size_t perScene = (ctx.text.str().size() - opening) / 64;
                    ctx.text.reserveMore(perScene * static_cast<std::size_t>(last - s + 1) * 9 / 8 + 4096);
                });
            run.TrackedScene = static_cast<Integer>(s);
            std::string heading = "\n\n>>>>>> SCENE #";
            AppendSigned(heading, s);
            heading += " (";
            heading += project.sceneName(s);
            heading += ") <<<<<<";
            write(ctx, heading);
            list.clear();
            bool read = false;
            step([&] { read = GatherSceneStatements(gatherer, static_cast<Integer>(s), list); });
            if (read)
                run.CurrentObject = 20;
            // Every statement makes its own flag the tracked one first (a
            // conjunction result its rounded flag).
            for (const FlagStatement& st : list.statements) {
                if (st.marks)
                    run.TrackedFlag = st.markedFlag;
                write(ctx, "\n");
                write(ctx, list.sentence(st));
            }
            step([&] { StepProgress(ctx.host); });
        }
    }
    write(ctx, "\n");
    step([&] { AppendClosing(ctx.text); });
}

} // namespace orv
