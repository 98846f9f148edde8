#include "cli/ProjectFindings.h"

#include "audit/AuditLists.h"
#include "audit/DiskNames.h"
#include "audit/MissingUnusedFilesReport.h"
#include "audit/NearMiss.h"
#include "audit/NumberPatterns.h"
#include "audit/ResourceFolders.h"
#include "cli/JsonOutput.h"
#include "data/FolderHandle.h"
#include "data/ProjectState.h"
#include "reports/FlagUsage.h"
#include "reports/FlagUsageReport.h"
#include "reports/ObjectTypes.h"
#include "reports/ReportContext.h"

#include <algorithm>
#include <array>
#include <optional>

namespace orv {

namespace {

constexpr std::array<FolderKind, 2> Folders = {FolderKind::Gfx, FolderKind::Mmedia};

std::string_view folderKey(FolderKind kind) {
    return kind == FolderKind::Mmedia ? "mmedia" : "gfx";
}

// The data file a place's record lies in, relative to the project folder.
std::string_view dataFileOf(ReferencePlace::Kind kind) {
    using Kind = ReferencePlace::Kind;
    switch (kind) {
    case Kind::PlayerSettings: return "resource/Orvanta4.dat";
    case Kind::Scene:
    case Kind::Object: return "resource/Orvanta1.dat";
    case Kind::CueCard: return "resource/Orvanta5.dat";
    case Kind::InventoryItem: return "resource/Orvanta3.dat";
    case Kind::Location: return "resource/Orvanta2.dat";
    }
    return {};
}

std::string_view dataFileOf(StatementPlace place) {
    switch (place) {
    case StatementPlace::ConditionalLoad:
    case StatementPlace::OnLoadChange:
    case StatementPlace::Object: return "resource/Orvanta1.dat";
    case StatementPlace::CueCard: return "resource/Orvanta5.dat";
    case StatementPlace::InventoryItem: return "resource/Orvanta3.dat";
    case StatementPlace::PlayerSettings: return "resource/Orvanta4.dat";
    }
    return {};
}

std::string describeStatementPlace(const FlagStatement& s, const ProjectState& project) {
    switch (s.place) {
    case StatementPlace::ConditionalLoad: return SceneText(project, s.record) + ", conditional load";
    case StatementPlace::OnLoadChange: return SceneText(project, s.record) + ", change on load";
    case StatementPlace::Object: return SceneText(project, s.record) + ", " + SlotText(s.slot, s.objectType);
    case StatementPlace::CueCard: return "cue card " + std::to_string(s.record) + ", choice " + std::to_string(s.slot);
    case StatementPlace::InventoryItem: return "inventory item " + std::to_string(s.record);
    case StatementPlace::PlayerSettings: return "player settings";
    }
    return {};
}

// A name read from disk: shown valid UTF-8 (controls and stray bytes as
// U+FFFD); its real bytes as hex when they are not valid UTF-8.
OrderedJson diskNameJson(const std::string& name) {
    OrderedJson out = {{"name", DisplayName(name)}};
    if (ValidUtf8(name) != name)
        out["raw"] = HexBytes(name);
    return out;
}

} // namespace

void WriteFilesJson(JsonStream& json, ReportContext& ctx, AuditLists& lists) {
    CollectResourceFiles(ctx, lists);
    json.beginObject();
    json.value("schema", JsonSchemaVersion);
    json.value("command", "files");
    json.value("project", ProjectJson(ctx.project));
    std::uint64_t missingTotal = 0, unusedTotal = 0, bytesTotal = 0;
    json.beginArray("folders");
    for (const FolderKind kind : Folders) {
        const std::filesystem::path folder = ResourceFolder(ctx.project.Paths.ProjectFolder, kind);
        const std::vector<std::string>& missing = lists.missing(kind);
        const std::vector<std::string>& unused = lists.unused(kind);
        json.beginObject();
        json.value("folder", folderKey(kind));
        const Failure* unlistable = nullptr;
        for (const Failure& f : lists.UnlistableFolders)
            if (f.path == folder)
                unlistable = &f;
        json.value("listed", unlistable == nullptr);
        if (unlistable)
            json.value("error", ValidUtf8(describeFailure(*unlistable)));
        const NearMissIndex nearMisses(unused);
        json.beginArray("missing");
        // A name may be referenced from tens of thousands of places: its item
        // is written as text, without a tree per place.
        std::string item;
        for (const std::string& name : missing) {
            OrderedJson suggestions = OrderedJson::array();
            for (const std::string& s : nearMisses.suggestionsFor(name))
                suggestions.push_back(diskNameJson(s));
            item = "{\"name\":";
            item += OrderedJson(name).dump(-1, ' ', json.asciiOnly(), nlohmann::json::error_handler_t::replace);
            item += ",\"references\":[";
            bool first = true;
            for (const ReferencePlace& place : lists.MissingPlaces.of(kind, name)) {
                if (!first)
                    item += ',';
                first = false;
                AppendReferencePlaceJson(item, place, ctx.project, json.asciiOnly());
            }
            item += "],\"suggestions\":";
            item += suggestions.dump(-1, ' ', json.asciiOnly(), nlohmann::json::error_handler_t::replace);
            item += '}';
            json.raw(item);
        }
        json.endArray();
        std::uint64_t bytes = 0;
        std::optional<FolderHandle> opened;
        if (!unused.empty()) {
            try {
                opened = FolderHandle::open(folder);
            } catch (const std::exception&) {
                // Gone since it was listed: nothing can be measured.
            }
        }
        json.beginArray("unused");
        for (const std::string& name : unused) {
            OrderedJson entry = diskNameJson(name);
            const auto size = opened ? SizeOfFile(*opened, name) : std::nullopt;
            entry["size"] = size ? OrderedJson(*size) : OrderedJson(nullptr);
            bytes += size.value_or(0);
            json.item(entry);
        }
        json.endArray();
        json.value("unusedBytes", bytes);
        json.endObject();
        missingTotal += missing.size();
        unusedTotal += unused.size();
        bytesTotal += bytes;
    }
    json.endArray();
    json.value("builtInImagesInUse", lists.BuiltInImagesInUse);
    json.value("totals", {{"missing", missingTotal}, {"unused", unusedTotal}, {"unusedBytes", bytesTotal}});
    json.endObject();
}

std::vector<Finding> GatherFindings(ReportContext& ctx, AuditLists& lists) {
    CollectResourceFiles(ctx, lists);
    std::vector<Finding> findings;
    // A line for every reference to a missing file: on a large project, tens
    // of thousands.
    std::size_t expected = 0;
    for (const FolderKind kind : Folders) {
        expected += lists.unused(kind).size();
        for (const std::string& name : lists.missing(kind))
            expected += std::max<std::size_t>(1, lists.MissingPlaces.of(kind, name).size());
    }
    findings.reserve(expected + 255);
    const ProjectState& project = ctx.project;
    const std::string projectFile = project.Paths.ProjectFilePath.filename().string();

    for (const FolderKind kind : Folders) {
        const NearMissIndex nearMisses(lists.unused(kind));
        for (const std::string& name : lists.missing(kind)) {
            std::string message = "missing file '" + DisplayName(name) + "'";
            if (const auto meant = nearMisses.suggestionsFor(name); !meant.empty())
                message += " (did you mean " + QuotedNames(meant) + "?)";
            const auto& places = lists.MissingPlaces.of(kind, name);
            if (places.empty())
                findings.push_back(
                    {FindingClass::Missing, std::string(ResourceFolderName(kind)), message, projectFile});
            for (const ReferencePlace& place : places)
                findings.push_back({FindingClass::Missing, DisplayName(DescribeReferencePlace(place, project)), message,
                                    std::string(dataFileOf(place.kind))});
        }
    }
    for (const FolderKind kind : Folders) {
        const std::filesystem::path folder = ResourceFolder(project.Paths.ProjectFolder, kind);
        // The folder is opened once, each file measured in it.
        std::optional<FolderHandle> opened;
        if (!lists.unused(kind).empty()) {
            try {
                opened = FolderHandle::open(folder);
            } catch (const std::exception&) {
                // Gone since it was listed: nothing can be measured.
            }
        }
        for (const std::string& name : lists.unused(kind)) {
            std::string message = "unused file '" + DisplayName(name) + "'";
            if (const auto size = opened ? SizeOfFile(*opened, name) : std::nullopt)
                message += " (" + GroupedNumber(static_cast<std::int64_t>(*size)) + " bytes)";
            findings.push_back({FindingClass::UnusedFiles, std::string(ResourceFolderName(kind)), message,
                                std::string(ResourceFolderName(kind)) + "/" + name});
        }
    }

    FlagUsageData data = GatherFlagUsage(ctx);
    const FlagUsage& usage = data.usage;
    WordStatements(ctx, data.list, [&](const FlagStatement& s) {
        return s.use == FlagUse::Test && s.whole && s.flag >= 1 && s.flag <= 255 && usage.testedNeverChanged(s.flag);
    });
    for (const int flag : usage.freeFlags())
        findings.push_back({FindingClass::UnusedFlags, "flag " + std::to_string(flag),
                            "no enabled statement tests or changes it", projectFile});
    for (const FlagStatement& s : data.list.statements) {
        if (s.use != FlagUse::Test || !s.whole || s.flag < 1 || s.flag > 255 || !usage.testedNeverChanged(s.flag) ||
            EvaluateAtZero(s.comparison, s.value) != TestAtZero::NeverHolds)
            continue;
        findings.push_back({FindingClass::DeadEnds, DisplayName(describeStatementPlace(s, project)),
                            "flag " + std::to_string(s.flag) + " is tested but never changed, so '" +
                                DisplayName(SentenceLine(data.list.sentence(s))) + "' never holds",
                            std::string(dataFileOf(s.place))});
    }
    for (const std::uint32_t index : usage.outOfRange) {
        const FlagStatement& s = data.list.statements[index];
        findings.push_back({FindingClass::OutOfRange, DisplayName(describeStatementPlace(s, project)),
                            "flag number outside 1 to 255: '" + DisplayName(SentenceLine(data.list.sentence(s))) + "'",
                            std::string(dataFileOf(s.place))});
    }
    return findings;
}

} // namespace orv
