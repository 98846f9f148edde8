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

// Statements are written as text into one reused buffer: no tree per statement.
class StatementItems {
  public:
    StatementItems(JsonStream& json, const ProjectState& project) : json_(json), project_(project) {}

    void write(const FlagStatementList& list, const FlagStatement& s, std::string_view atZero = {}) {
        buffer_.clear();
        AppendStatementJson(buffer_, s, list, project_, json_.asciiOnly());
        if (!atZero.empty()) {
            buffer_.pop_back();
            buffer_ += ",\"atZero\":\"";
            buffer_ += atZero;
            buffer_ += "\"}";
        }
        json_.raw(buffer_);
    }
    void array(std::string_view key, const FlagStatementList& list, const std::vector<std::uint32_t>& indexes) {
        json_.beginArray(key);
        for (std::uint32_t i : indexes)
            write(list, list.statements[i]);
        json_.endArray();
    }

  private:
    JsonStream& json_;
    const ProjectState& project_;
    std::string buffer_;
};

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
    // Each unit's statements go straight into their sections, sentences and
    // all, so that every section is written from memory of its own in order.
    std::vector<FlagStatementList> sections(static_cast<std::size_t>(last - first + 1));
    FlagStatementList score;
    const auto copy = [](FlagStatementList& into, const FlagStatementList& from, const FlagStatement& s) {
        FlagStatement& added = into.statements.emplace_back(s);
        added.sentenceOffset = static_cast<std::uint32_t>(into.sentences.size());
        into.sentences.append(from.sentence(s));
    };
    FlagStatementList unitList;
    GatherFlagStatements(ctx, unitList, options, [&](FlagStatementList& unit) {
        for (const FlagStatement& s : unit.statements) {
            if (s.place == StatementPlace::PlayerSettings)
                copy(score, unit, s);
            else if (s.use == FlagUse::Problem)
                for (FlagStatementList& section : sections)
                    copy(section, unit, s);
            else
                copy(sections[static_cast<std::size_t>(s.flag - first)], unit, s);
        }
        unit.clear();
        StepProgress(ctx.host);
    });

    opening(json, "track-flag", project);
    json.value("flag", selector(flag));
    json.value("score", scoreJson(score, project));
    json.beginArray("sections");
    StatementItems items(json, project);
    for (int f = first; f <= last; ++f) {
        FlagStatementList& section = sections[static_cast<std::size_t>(f - first)];
        json.beginObject();
        json.value("flag", f);
        json.beginArray("statements");
        for (const FlagStatement& s : section.statements)
            items.write(section, s);
        json.endArray();
        json.endObject();
        section = FlagStatementList{};
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
    StatementItems items(json, project);
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
            items.write(list, st);
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
    StatementItems items(json, project);
    items.array("problems", list, problems);

    // In the report's order: the flags with a dead end first, in each flag
    // the tests that never hold first.
    const StatementsByFlag byFlag = SortStatementsByFlag(list);
    std::vector<int> flags;
    for (int f = 1; f <= 255; ++f)
        if (u.testedNeverChanged(f))
            flags.push_back(f);
    std::stable_partition(flags.begin(), flags.end(), [&](int f) { return u.flag(f).deadEnds > 0; });
    json.beginArray("deadEnds");
    for (int f : flags)
        for (TestAtZero kind : {TestAtZero::NeverHolds, TestAtZero::CannotBeEvaluated, TestAtZero::AlwaysHolds})
            for (std::uint32_t i : byFlag[static_cast<std::size_t>(f)]) {
                const FlagStatement& s = list.statements[i];
                if (EvaluateAtZero(s.comparison, s.value) != kind)
                    continue;
                items.write(list, s, TestAtZeroText(kind));
            }
    json.endArray();

    std::vector<std::uint32_t> changed;
    for (int f = 1; f <= 255; ++f)
        if (u.changedNeverTestedFlag(f))
            changed.insert(changed.end(), byFlag[static_cast<std::size_t>(f)].begin(),
                           byFlag[static_cast<std::size_t>(f)].end());
    items.array("changedNeverTested", list, changed);
    items.array("outOfRange", list, u.outOfRange);
    json.endObject();
}

} // namespace orv
