#include "writers/JsonReports.h"

#include "audit/DiskNames.h"
#include "audit/FilesAudit.h"
#include "reports/FlagReachReport.h"
#include "reports/FlagSections.h"
#include "reports/FlagUsage.h"
#include "reports/FlagUsageReport.h"
#include "reports/FlagValues.h"
#include "reports/RunState.h"
#include "reports/UnusedFlagsReport.h"
#include "writers/JsonOutput.h"

#include <string>
#include <vector>

namespace orv {

namespace {

void opening(JsonStream& json, std::string_view command, const LoadedProject& project) {
    json.beginObject();
    json.value("schema", JsonSchemaVersion);
    json.value("command", std::string(command));
    json.value("project", ProjectJson(project));
}

OrderedJson selector(Integer n) {
    return n == AllSelector ? OrderedJson("all") : OrderedJson(n);
}

// The reports stop with this line when a record cannot be read.
std::string readError(const Failure& f) {
    return "the file " + ValidUtf8(f.path.string()) + " could not be read (" + f.reason + ")";
}

OrderedJson scoreJson(const std::optional<FlagStatementList>& score, const LoadedProject& project) {
    if (!score || score->statements.empty())
        return nullptr;
    const FlagStatement& s = score->statements.front();
    return StatementJson(s, score->sentence(s), project);
}

// Statements are written as text into one reused buffer: no tree per statement.
void writeStatement(JsonStream& json, std::string& buffer, const FlagStatement& s, std::string_view sentence,
                    const LoadedProject& project, std::string_view atZero = {}) {
    buffer.clear();
    AppendStatementJson(buffer, s, sentence, project, json.asciiOnly());
    if (!atZero.empty()) {
        buffer.pop_back();
        buffer += ",\"atZero\":\"";
        buffer += atZero;
        buffer += "\"}";
    }
    json.raw(buffer);
}

// A name read from disk: shown valid UTF-8 with control characters and stray
// bytes as U+FFFD; its real bytes as hex whenever the name shown is not
// exactly the name on disk.
void writeDiskName(JsonObjectText& w, const std::string& name) {
    const std::string shown = DisplayName(name);
    w.text("name", shown);
    if (shown != name)
        w.text("raw", HexBytes(name));
}

std::string_view folderKey(FolderKind kind) {
    return kind == FolderKind::Mmedia ? "mmedia" : "gfx";
}

} // namespace

void WriteInfoJson(JsonStream& json, const LoadedProject& project) {
    opening(json, "info", project);
    json.endObject();
}

void WriteScenePropertiesJson(JsonStream& json, const LoadedProject& project, Integer scene) {
    opening(json, "scene-properties", project);
    json.value("scene", selector(scene));
    json.value("available", false);
    json.endObject();
}

void WriteTrackFlagJson(JsonStream& json, const LoadedProject& project, Integer flag,
                        const std::optional<FlagStatementList>& score, FlagSections& sections) {
    opening(json, "track-flag", project);
    json.value("flag", selector(flag));
    json.value("score", scoreJson(score, project));
    json.beginArray("sections");
    std::string buffer;
    for (FlagSection& section : sections.sections) {
        json.beginObject();
        json.value("flag", section.flag);
        json.beginArray("statements");
        for (const FlagStatement& s : section.statements)
            writeStatement(json, buffer, s, section.sentence(s), project);
        json.endArray();
        json.endObject();
        section.text.release();
        section.statements = {};
    }
    json.endArray();
    json.endObject();
}

SceneFlagsJson::SceneFlagsJson(JsonStream& json, const LoadedProject& project, Integer scene,
                               const std::optional<FlagStatementList>& score)
    : json_(json), project_(project) {
    opening(json, "scene-flags", project);
    json.value("scene", selector(scene));
    json.value("score", scoreJson(score, project));
    json.beginArray("sections");
}

void SceneFlagsJson::scene(int scene, const FlagStatementList& statements) {
    json_.beginObject();
    json_.value("scene", scene);
    json_.value("sceneName", project_.sceneName(static_cast<Integer>(scene)));
    json_.beginArray("statements");
    for (const FlagStatement& s : statements.statements)
        writeStatement(json_, buffer_, s, statements.sentence(s), project_);
    json_.endArray();
    json_.endObject();
}

void SceneFlagsJson::finish() {
    json_.endArray();
    json_.endObject();
}

// The free flags are those of the unused flags report; a record that cannot
// be read leaves no list, as in the report.
void WriteUnusedFlagsJson(JsonStream& json, const LoadedProject& project, const UnusedFlags& scan) {
    opening(json, "unused-flags", project);
    json.value("complete", scan.complete());
    if (scan.failure)
        json.value("error", readError(*scan.failure));
    json.value("unusedFlags", scan.complete() ? OrderedJson(scan.UnusedFlags) : OrderedJson::array());
    json.endObject();
}

std::optional<Failure> WriteFlagUsageJson(JsonStream& json, ProjectSource source, const FlagUsageData& data) {
    const LoadedProject& project = source.project;
    opening(json, "flag-usage", project);
    if (data.list.readFailure) {
        json.value("complete", false);
        json.value("error", readError(*data.list.readFailure));
        json.endObject();
        return std::nullopt;
    }
    const FlagStatementList& list = data.list;
    const FlagUsage& u = data.usage;
    json.value("complete", true);
    const FlagReach& reach = data.reach;
    json.value("counts", OrderedJson{{"inUse", u.inUse},
                                     {"free", u.free},
                                     {"deadEnds", u.deadEnds},
                                     {"deadEndFlags", u.deadEndFlags},
                                     {"changedNeverTested", u.changedNeverTested},
                                     {"outOfRange", u.outOfRange},
                                     {"neverHolds", reach.neverHolds.size()},
                                     {"alwaysHolds", reach.alwaysHolds.size()},
                                     {"unreachable", reach.unreachable.size()},
                                     {"brokenSceneLoads", reach.brokenSceneLoads.size()}});
    json.beginArray("flags");
    for (int f = 1; f <= 255; ++f) {
        const FlagUsageEntry& e = u.flag(f);
        json.item(OrderedJson{{"flag", f},
                              {"tests", e.tests},
                              {"changes", e.changes},
                              {"class", FlagClassText(e.use)},
                              {"score", e.score},
                              {"deadEnd", e.deadEnds > 0},
                              {"values", DescribeFlagValues(reach.flag(f).values)},
                              {"everyChangeUnreachable", reach.flag(f).everyChangeUnreachable()}});
    }
    json.endArray();

    std::string buffer;
    const auto write = [&](std::size_t, const FlagStatement& s, std::string_view sentence) {
        writeStatement(json, buffer, s, sentence, project);
    };
    json.beginArray("problems");
    ForEachWorded(source, list, ProblemStatements(data), write);
    json.endArray();

    const StatementsByFlag byFlag = SortStatementsByFlag(list);
    json.beginArray("deadEnds");
    for (const int f : NeverChangedFlagsInOrder(u))
        ForEachTestAtZero(source, data, f, [&](TestAtZero kind, const FlagStatement& s, std::string_view sentence) {
            writeStatement(json, buffer, s, sentence, project, TestAtZeroText(kind));
        });
    json.endArray();

    json.beginArray("changedNeverTested");
    for (int f = 1; f <= 255; ++f)
        if (u.changedNeverTestedFlag(f))
            ForEachWorded(source, list, byFlag[static_cast<std::size_t>(f)], write);
    json.endArray();
    json.beginArray("outOfRange");
    if (std::optional<Failure> failure = ForEachOutOfRange(source, write))
        return failure;
    json.endArray();
    // What each flag can reach: each finding's statement, and why.
    for (const auto& [key, findings] :
         {std::pair{"neverHolds", &reach.neverHolds}, std::pair{"alwaysHolds", &reach.alwaysHolds},
          std::pair{"unreachable", &reach.unreachable}, std::pair{"brokenSceneLoads", &reach.brokenSceneLoads}}) {
        json.beginArray(key);
        ForEachReachFinding(source, reach, *findings,
                            [&](const ReachFinding& finding, const FlagStatement& s, std::string_view sentence) {
                                buffer.clear();
                                AppendStatementJson(buffer, s, sentence, project, json.asciiOnly());
                                buffer.pop_back();
                                buffer += ",\"reason\":";
                                buffer +=
                                    OrderedJson(reach.reason(finding))
                                        .dump(-1, ' ', json.asciiOnly(), nlohmann::json::error_handler_t::replace);
                                buffer += '}';
                                json.raw(buffer);
                            });
        json.endArray();
    }
    json.endObject();
    return std::nullopt;
}

void WriteFilesJson(JsonStream& json, const LoadedProject& project, const FilesAudit& audit) {
    opening(json, "files", project);
    std::uint64_t missingTotal = 0, unusedTotal = 0, bytesTotal = 0;
    json.beginArray("folders");
    for (const FolderKind kind : MediaFolders) {
        const std::vector<std::string>& missing = audit.lists.missing(kind);
        const std::vector<std::string>& unused = audit.lists.unused(kind);
        json.beginObject();
        json.value("folder", folderKey(kind));
        const Failure* unlistable = audit.unlistable(kind);
        json.value("listed", unlistable == nullptr);
        if (unlistable)
            json.value("error", ValidUtf8(describeFailure(*unlistable)));
        json.beginArray("missing");
        // A name may be referenced from tens of thousands of places, and a
        // folder may hold tens of thousands of names: each item is written as
        // text, without a tree.
        std::string item;
        for (const std::string& name : missing) {
            item.clear();
            JsonObjectText w(item, json.asciiOnly());
            w.text("name", name);
            w.beginArray("references");
            bool first = true;
            for (const ReferencePlace& place : audit.lists.MissingPlaces.of(kind, name)) {
                if (!first)
                    item += ',';
                first = false;
                AppendReferencePlaceJson(item, place, project, json.asciiOnly());
            }
            w.endArray();
            w.beginArray("suggestions");
            for (const std::string& s : audit.suggestionsFor(kind, name)) {
                w.begin({});
                writeDiskName(w, s);
                w.end();
            }
            w.endArray();
            w.end();
            json.raw(item);
        }
        json.endArray();
        const auto& sizes = audit.sizes(kind);
        json.beginArray("unused");
        for (std::size_t i = 0; i < unused.size(); ++i) {
            item.clear();
            JsonObjectText w(item, json.asciiOnly());
            writeDiskName(w, unused[i]);
            if (const auto size = i < sizes.size() ? sizes[i] : std::nullopt)
                w.number("size", static_cast<long>(*size));
            else
                w.null("size");
            w.end();
            json.raw(item);
        }
        json.endArray();
        const std::uint64_t bytes = audit.unusedBytes(kind);
        json.value("unusedBytes", bytes);
        json.endObject();
        missingTotal += missing.size();
        unusedTotal += unused.size();
        bytesTotal += bytes;
    }
    json.endArray();
    json.value("builtInImagesInUse", audit.lists.BuiltInImagesInUse);
    json.value("totals", {{"missing", missingTotal}, {"unused", unusedTotal}, {"unusedBytes", bytesTotal}});
    json.endObject();
}

} // namespace orv
