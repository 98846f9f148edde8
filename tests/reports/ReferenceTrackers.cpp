#include "reports/ReferenceTrackers.h"

#include "reports/ReportContext.h"
#include "reports/StatementClassifier.h"
#include "reports/TextConventions.h"

#include <array>

namespace orv::testing {
namespace {

constexpr std::string_view Notes = "\nNOTE: The order in which flags are reported does not necessarily reflect the "
                                   "order in which the flags are changed when playing the game.\nNOTE: Flags that "
                                   "have been specified in properties, but have their governing checkbox UNCHECKED, "
                                   "are not listed in this report.";

enum class Unit { Scene, CueCard, Item };

// Every enabled statement of one record, read afresh.
Result<FlagStatementList> statementsOf(const ReportContext& ctx, Unit unit, Integer n) {
    const RecordFile& file = unit == Unit::Scene     ? ctx.files->Scenes
                             : unit == Unit::CueCard ? ctx.files->CueCards
                                                     : ctx.files->InventoryItems;
    const Result<std::vector<std::uint8_t>> bytes = file.readRecord(n);
    if (!bytes)
        return bytes.failure();
    FlagStatementList list;
    const GatherOptions everything;
    StatementCollector out(list, everything);
    if (unit == Unit::CueCard) {
        ClassifyCueCard(decodeCueCardRecord(*bytes), n, out);
    } else if (unit == Unit::Item) {
        ClassifyInventoryItem(decodeInventoryItemRecord(*bytes), n, out);
    } else {
        const SceneRecord scene = decodeSceneRecord(*bytes);
        std::string reference;
        AppendSceneReference(reference, ctx.project, n);
        ClassifySceneHeader(scene, n, reference, ctx.project.sceneName(scene.CondLoadScene), out);
        for (Integer k = 1; k <= 20; ++k)
            if (scene.slot(k).ObjectType != EmptySlot)
                ClassifyObject(scene.slot(k).ObjectType, scene.slot(k), n, k, reference, out);
    }
    return list;
}

// The score statement's line when `wanted` accepts it, then five steps of the bar.
template <typename Wanted> void writeScore(ReportContext& ctx, Wanted&& wanted) {
    if (const Result<std::vector<std::uint8_t>> bytes = ctx.files->PlayerSettings.readRecord(1)) {
        FlagStatementList list;
        const GatherOptions everything;
        StatementCollector out(list, everything);
        ClassifyPlayerSettings(decodePlayerSettingsRecord(*bytes), out);
        for (const FlagStatement& s : list.statements)
            if (wanted(s))
                ctx.text.append("\n" + std::string(list.sentence(s)));
    }
    for (int i = 0; i < 5; ++i)
        StepProgress(ctx.host);
}

void startProgress(ReportContext& ctx, int maximum) {
    ctx.host.setProgressMaximum(maximum);
    ctx.host.setProgressValue(0);
    ctx.host.yield();
}

} // namespace

void ReferenceFlagTrackerByFlag(ReportContext& ctx) {
    RunState& run = ctx.run;
    const LoadedProject& p = ctx.project;
    run.ReportName = "Flags Report";
    run.EveryFlag = false;
    AppendOpening(ctx.text, FlagTrackerByFlagBanner);
    ctx.text.append(std::string(Notes) + "\n");
    const bool all = run.TrackedFlag == AllSelector;
    const int first = all ? 1 : run.TrackedFlag, last = all ? 255 : run.TrackedFlag;
    startProgress(ctx, (p.SceneCount + p.CueCardCount + p.InventoryItemCount) * (last - first + 1) + 5);
    writeScore(ctx, [&](const FlagStatement& s) { return s.flag == run.TrackedFlag; });
    // Each record read once and decoded whole; an unreadable one says nothing.
    std::vector<FlagStatementList> records;
    for (const auto& [unit, count] :
         {std::pair{Unit::Scene, p.SceneCount}, {Unit::CueCard, p.CueCardCount}, {Unit::Item, p.InventoryItemCount}})
        for (int n = 1; n <= count; ++n) {
            Result<FlagStatementList> list = statementsOf(ctx, unit, static_cast<Integer>(n));
            records.push_back(list ? std::move(*list) : FlagStatementList{});
        }
    for (int f = first; f <= last; ++f) {
        if (run.CancelRequested)
            return;
        ctx.text.append("\n>>>>>> FLAG #" + SignedForm(f) + " <<<<<<");
        for (const FlagStatementList& list : records) {
            for (const FlagStatement& s : list.statements)
                if (s.use == FlagUse::Problem || (s.whole && s.flag == f))
                    ctx.text.append("\n" + std::string(list.sentence(s)));
            StepProgress(ctx.host);
        }
        ctx.text.append("\n");
    }
    AppendClosing(ctx.text);
}

void ReferenceFlagTrackerByScene(ReportContext& ctx) {
    RunState& run = ctx.run;
    const LoadedProject& p = ctx.project;
    run.ReportName = "Scene Flags Report";
    run.EveryFlag = true;
    AppendOpening(ctx.text, FlagTrackerBySceneBanner);
    ctx.text.append(Notes);
    const bool all = run.TrackedScene == AllSelector;
    const int first = all ? 1 : run.TrackedScene, last = all ? p.SceneCount : run.TrackedScene;
    startProgress(ctx, last - first + 1 + 5);
    writeScore(ctx, [](const FlagStatement&) { return true; });
    for (int s = first; s <= last && p.SceneCount > 0; ++s) {
        if (run.CancelRequested)
            return;
        ctx.text.append("\n\n>>>>>> SCENE #" + SignedForm(s) + " (" + p.sceneName(s) + ") <<<<<<");
        if (const auto list = statementsOf(ctx, Unit::Scene, static_cast<Integer>(s)))
            for (const FlagStatement& st : list->statements)
                if (st.use == FlagUse::Problem || st.whole)
                    ctx.text.append("\n" + std::string(list->sentence(st)));
        StepProgress(ctx.host);
    }
    ctx.text.append("\n");
    AppendClosing(ctx.text);
}

void ReferenceUnusedFlagsReport(ReportContext& ctx) {
    const LoadedProject& p = ctx.project;
    ctx.run.ReportName = "Unused Flags Report";
    ctx.host.yield();
    ctx.host.setProgressMaximum(p.SceneCount + 5 + p.CueCardCount + p.InventoryItemCount + p.LocationCount);
    ctx.host.setProgressValue(0);
    std::array<bool, 256> used{};
    std::string problems;
    const auto mark = [&](const FlagStatement& s) {
        if (s.marks && s.markedFlag >= 1 && s.markedFlag <= 255)
            used[static_cast<std::size_t>(s.markedFlag)] = true;
        return false;
    };
    writeScore(ctx, mark);
    for (const auto& [unit, count] :
         {std::pair{Unit::Scene, p.SceneCount}, {Unit::CueCard, p.CueCardCount}, {Unit::Item, p.InventoryItemCount}})
        for (int n = 1; n <= count; ++n) {
            const auto list = statementsOf(ctx, unit, static_cast<Integer>(n));
            if (!list) {
                ctx.text.append(problems);
                AppendOpening(ctx.text, UnusedFlagsBanner);
                AppendScanStopped(ctx.text, list.failure(), "No list of unused flags was made.");
                AppendClosing(ctx.text);
                return;
            }
            for (const FlagStatement& s : list->statements)
                if (!mark(s) && s.use == FlagUse::Problem)
                    problems += "\n" + std::string(list->sentence(s));
            StepProgress(ctx.host);
        }
    for (int l = 1; l <= p.LocationCount; ++l)
        StepProgress(ctx.host);
    std::string list;
    int unused = 0;
    for (int f = 1; f <= 255; ++f)
        if (!used[static_cast<std::size_t>(f)])
            list += std::to_string(f) + "  ", ++unused;
    ctx.text.append(problems);
    AppendOpening(ctx.text, UnusedFlagsBanner);
    ctx.text.append("\nNOTE: Flags that have been specified in properties, but always have their governing checkbox "
                    "UNCHECKED, are listed as UNUSED in this report.\n\nTotal unused flags found:" +
                    SignedForm(unused) + "\n\nThe following flags do not appear to be in use in this project:\n" +
                    list);
    AppendClosing(ctx.text);
}

} // namespace orv::testing
