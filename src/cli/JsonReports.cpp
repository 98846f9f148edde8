#include "cli/JsonReports.h"

#include "cli/JsonOutput.h"
#include "data/FileError.h"
#include "data/ProjectState.h"
#include "reports/FlagStatements.h"
#include "reports/FlagUsage.h"
#include "reports/FlagUsageReport.h"
#include "reports/ReportContext.h"
#include "reports/RunState.h"

#include <algorithm>
#include <string>
#include <vector>

namespace orv {

namespace {

void opening(JsonStream& json, std::string_view command, const ProjectState& project) {
    json.beginObject();
    json.value("schema", JsonSchemaVersion);
    json.value("command", std::string(command));
    json.value("project", ProjectJson(project));
}

OrderedJson selector(Integer n) {
    return n == AllSelector ? OrderedJson("all") : OrderedJson(n);
}

// The reports stop with this line when a record cannot be read.
std::string readError(const FileError& e) {
    return "the file " + ValidUtf8(e.file().string()) + " could not be read (" + e.reason() + ")";
}

// The score statement as the trackers write it: first, before any section.
OrderedJson scoreJson(const FlagStatementList& list, const ProjectState& project) {
    if (!list.statements.empty() && list.statements.front().use == FlagUse::Score)
        return StatementJson(list.statements.front(), list, project);
    return nullptr;
}

void statements(JsonStream& json, std::string_view key, const FlagStatementList& list,
                const std::vector<std::uint32_t>& indexes, const ProjectState& project) {
    json.beginArray(key);
    for (std::uint32_t i : indexes)
        json.item(StatementJson(list.statements[i], list, project));
    json.endArray();
}

} // namespace

void WriteInfoJson(JsonStream& json, const ProjectState& project) {
    opening(json, "info", project);
    json.endObject();
}

void WriteScenePropertiesJson(JsonStream& json, const ProjectState& project, Integer scene) {
    opening(json, "scene-properties", project);
    json.value("scene", selector(scene));
    json.value("available", false);
    json.endObject();
}

// The flag-ordered tracker's statements, read in one pass and sorted into
// sections: each flag's own (a conjunction result only when its text is that
// whole number) with the problem lines, which every section repeats, in the
// order the project holds them.
void WriteTrackFlagJson(JsonStream& json, ReportContext& ctx, Integer flag) {
    const ProjectState& project = ctx.project;
    const bool all = flag == AllSelector;
    const int first = all ? 1 : flag;
    const int last = all ? 255 : flag;
    ctx.host.setProgressMaximum(project.SceneCount + project.CueCardCount + project.InventoryItemCount + 5);
    ctx.host.setProgressValue(0);
    for (int i = 0; i < 5; ++i)
        StepProgress(ctx.host);

    GatherOptions options;
    options.keep = [&](const FlagStatement& s) {
        if (s.place == StatementPlace::PlayerSettings)
            return !all && s.use == FlagUse::Score && s.flag == flag; // only the tracked flag's score line
        return s.use == FlagUse::Problem || (s.whole && s.flag >= first && s.flag <= last);
    };
    FlagStatementList list;
    GatherFlagStatements(ctx, list, options, [&ctx](FlagStatementList&) { StepProgress(ctx.host); });

    std::vector<std::vector<std::uint32_t>> sections(static_cast<std::size_t>(last - first + 1));
    std::vector<std::uint32_t> problems;
    for (std::uint32_t i = 0; i < list.statements.size(); ++i) {
        const FlagStatement& s = list.statements[i];
        if (s.use == FlagUse::Problem)
            problems.push_back(i);
        else if (s.place != StatementPlace::PlayerSettings)
            sections[static_cast<std::size_t>(s.flag - first)].push_back(i);
    }

    opening(json, "track-flag", project);
    json.value("flag", selector(flag));
    json.value("score", scoreJson(list, project));
    json.beginArray("sections");
    std::vector<std::uint32_t> section;
    for (int f = first; f <= last; ++f) {
        auto& own = sections[static_cast<std::size_t>(f - first)];
        section.clear();
        std::ranges::merge(own, problems, std::back_inserter(section));
        std::vector<std::uint32_t>().swap(own);
        json.beginObject();
        json.value("flag", f);
        statements(json, "statements", list, section, project);
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

// A scene at a time: every statement of its places but a conjunction result
// whose text is no whole number; the score line once, at the top.
void WriteSceneFlagsJson(JsonStream& json, ReportContext& ctx, Integer scene) {
    const ProjectState& project = ctx.project;
    const bool all = scene == AllSelector;
    const int first = all ? 1 : scene;
    const int last = all ? project.SceneCount : scene;
    ctx.host.setProgressMaximum(last - first + 1 + 5);
    ctx.host.setProgressValue(0);

    FlagStatementGatherer gatherer(ctx);
    FlagStatementList list;
    gatherer.GatherPlayerSettings(list);
    for (int i = 0; i < 5; ++i)
        StepProgress(ctx.host);
    opening(json, "scene-flags", project);
    json.value("scene", selector(scene));
    json.value("score", scoreJson(list, project));
    json.beginArray("sections");
    GatherOptions options;
    options.keep = [](const FlagStatement& s) { return s.use == FlagUse::Problem || s.whole; };
    for (int s = first; s <= last; ++s) {
        json.beginObject();
        json.value("scene", s);
        json.value("sceneName", project.sceneName(static_cast<Integer>(s)));
        json.beginArray("statements");
        list.clear();
        gatherer.GatherScene(static_cast<Integer>(s), list, options);
        for (const FlagStatement& st : list.statements)
            json.item(StatementJson(st, list, project));
        json.endArray();
        json.endObject();
        StepProgress(ctx.host);
    }
    json.endArray();
    json.endObject();
}

// The free flags of the usage summary are exactly the report's list; a
// record that cannot be read leaves no list, as in the report.
void WriteUnusedFlagsJson(JsonStream& json, ReportContext& ctx) {
    opening(json, "unused-flags", ctx.project);
    try {
        const FlagUsageData data = GatherFlagUsage(ctx);
        json.value("complete", true);
        json.value("unusedFlags", data.usage.freeFlags());
    } catch (const FileError& e) {
        json.value("complete", false);
        json.value("error", readError(e));
        json.value("unusedFlags", OrderedJson::array());
    }
    json.endObject();
}

void WriteFlagUsageJson(JsonStream& json, ReportContext& ctx) {
    const ProjectState& project = ctx.project;
    opening(json, "flag-usage", project);
    FlagUsageData data;
    try {
        data = GatherFlagUsage(ctx);
    } catch (const FileError& e) {
        json.value("complete", false);
        json.value("error", readError(e));
        json.endObject();
        return;
    }
    const FlagStatementList& list = data.list;
    const FlagUsage& u = data.usage;
    json.value("complete", true);
    json.value("counts", OrderedJson{{"inUse", u.inUse},
                                     {"free", u.free},
                                     {"deadEnds", u.deadEnds},
                                     {"deadEndFlags", u.deadEndFlags},
                                     {"changedNeverTested", u.changedNeverTested},
                                     {"outOfRange", u.outOfRange.size()}});
    json.beginArray("flags");
    for (int f = 1; f <= 255; ++f) {
        const FlagUsageEntry& e = u.flag(f);
        json.item(OrderedJson{{"flag", f},
                              {"tests", e.tests},
                              {"changes", e.changes},
                              {"class", FlagClassText(e.use)},
                              {"score", e.score},
                              {"deadEnd", e.deadEnds > 0}});
    }
    json.endArray();

    std::vector<std::uint32_t> problems;
    for (std::uint32_t i = 0; i < list.statements.size(); ++i)
        if (list.statements[i].use == FlagUse::Problem)
            problems.push_back(i);
    statements(json, "problems", list, problems, project);

    // In the report's order: the flags with a dead end first, in each flag
    // the tests that never hold first.
    const StatementsByFlag byFlag = SortStatementsByFlag(list);
    std::vector<int> flags;
    for (int f = 1; f <= 255; ++f)
        if (u.testedNeverChanged(f))
            flags.push_back(f);
    std::ranges::stable_partition(flags, [&](int f) { return u.flag(f).deadEnds > 0; });
    json.beginArray("deadEnds");
    for (int f : flags)
        for (TestAtZero kind : {TestAtZero::NeverHolds, TestAtZero::CannotBeEvaluated, TestAtZero::AlwaysHolds})
            for (std::uint32_t i : byFlag[static_cast<std::size_t>(f)]) {
                const FlagStatement& s = list.statements[i];
                if (EvaluateAtZero(s.comparison, s.value) != kind)
                    continue;
                OrderedJson item = StatementJson(s, list, project);
                item["atZero"] = TestAtZeroText(kind);
                json.item(item);
            }
    json.endArray();

    std::vector<std::uint32_t> changed;
    for (int f = 1; f <= 255; ++f)
        if (u.changedNeverTestedFlag(f))
            changed.insert(changed.end(), byFlag[static_cast<std::size_t>(f)].begin(),
                           byFlag[static_cast<std::size_t>(f)].end());
    statements(json, "changedNeverTested", list, changed, project);
    statements(json, "outOfRange", list, u.outOfRange, project);
    json.endObject();
}

} // namespace orv
