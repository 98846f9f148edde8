#include "findings/Findings.h"

#include "audit/DiskNames.h"
#include "audit/NumberPatterns.h"
#include "audit/ReferencePlaces.h"
#include "audit/ResourceFolders.h"
#include "reports/FlagUsageReport.h"

#include <stdexcept>

namespace orv {

std::string_view FindingClassName(FindingClass c) {
    return FindingClasses[indexOf(c)].name;
}

std::optional<FindingClass> ParseFindingClass(std::string_view name) {
    for (const FindingClassInfo& info : FindingClasses)
        if (info.name == name)
            return info.findingClass;
    return std::nullopt;
}

FailOn FailOn::parse(std::string_view list) {
    FailOn failOn;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        if (!name.empty()) {
            const auto c = ParseFindingClass(name);
            if (!c) {
                std::string known;
                for (const FindingClassInfo& info : FindingClasses)
                    known += (known.empty() ? "" : ", ") + std::string(info.name);
                throw std::invalid_argument("unknown class '" + std::string(name) + "' (known: " + known + ")");
            }
            failOn.classes[indexOf(*c)] = true;
        }
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return failOn;
}

bool CheckFailed(const FindingCounts& counts, const FailOn& failOn) {
    for (const FindingClassInfo& info : FindingClasses)
        if (failOn.contains(info.findingClass) && counts[indexOf(info.findingClass)] > 0)
            return true;
    return false;
}

namespace {

bool inRange(Integer f) {
    return f >= 1 && f <= 255;
}

// The data file a place's record lies in, relative to the project folder as
// it is spelled on disk.
std::filesystem::path dataFileOf(const ProjectSource& source, int n) {
    return dataFile(source.files, n).path().lexically_relative(source.project.Paths.ProjectFolder);
}

int dataFileNumber(ReferencePlace::Kind kind) {
    using Kind = ReferencePlace::Kind;
    switch (kind) {
    case Kind::PlayerSettings: return 4;
    case Kind::Scene:
    case Kind::Object: return 1;
    case Kind::CueCard: return 5;
    case Kind::InventoryItem: return 3;
    case Kind::Location: return 2;
    }
    return 1;
}

int dataFileNumber(StatementPlace place) {
    switch (place) {
    case StatementPlace::ConditionalLoad:
    case StatementPlace::OnLoadChange:
    case StatementPlace::Object: return 1;
    case StatementPlace::CueCard: return 5;
    case StatementPlace::InventoryItem: return 3;
    case StatementPlace::PlayerSettings: return 4;
    }
    return 1;
}

std::string describeStatementPlace(const FlagStatement& s, const LoadedProject& project) {
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

bool isDeadEnd(const FlagStatement& s, const FlagUsage& usage) {
    return s.use == FlagUse::Test && s.whole && inRange(s.flag) && usage.testedNeverChanged(s.flag) &&
           EvaluateAtZero(s.comparison, s.value) == TestAtZero::NeverHolds;
}

bool isOutOfRange(const FlagStatement& s) {
    return s.use != FlagUse::Problem && (!s.whole || !inRange(s.flag));
}

// The statements `keep` accepts, worded, read afresh one unit at a time.
void forEachStatement(ProjectSource source, const std::function<bool(const FlagStatement&)>& keep,
                      const std::function<void(const FlagStatementList&, const FlagStatement&)>& visit) {
    GatherOptions options;
    options.keep = keep;
    FlagStatementList list;
    GatherFlagStatements(source, list, options, [&](FlagStatementList& unit) {
        for (const FlagStatement& s : unit.statements)
            visit(unit, s);
        unit.clear();
    });
    for (const FlagStatement& s : list.statements) // the player settings, read before the first unit
        visit(list, s);
}

} // namespace

ProjectCheck::ProjectCheck(ProjectSource source, ReportHost& host) : source_(source) {
    audit_ = AuditProjectFiles(source, host);
    if (audit_.failure) {
        failure_ = audit_.failure;
        return;
    }
    FlagUsageData data = GatherFlagUsage(source, host, false);
    if (data.list.readFailure) {
        failure_ = data.list.readFailure;
        return;
    }
    usage_ = std::move(data.usage);
    for (const FolderKind kind : MediaFolders) {
        for (const std::string& name : audit_.lists.missing(kind))
            counts_[indexOf(FindingClass::Missing)] +=
                std::max<std::size_t>(1, audit_.lists.MissingPlaces.of(kind, name).size());
        counts_[indexOf(FindingClass::UnusedFiles)] += audit_.lists.unused(kind).size();
    }
    counts_[indexOf(FindingClass::UnusedFlags)] = static_cast<std::size_t>(usage_.free);
    counts_[indexOf(FindingClass::DeadEnds)] = static_cast<std::size_t>(usage_.deadEnds);
    counts_[indexOf(FindingClass::OutOfRange)] = usage_.outOfRange.size();
}

void ProjectCheck::forEach(const std::function<void(const Finding&)>& visit) const {
    if (failure_)
        return;
    const LoadedProject& project = source_.project;
    const std::filesystem::path projectFile = project.Paths.ProjectFilePath.filename();
    Finding f;
    for (const FolderKind kind : MediaFolders) {
        const std::filesystem::path folder = audit_.folder(kind).lexically_relative(project.Paths.ProjectFolder);
        for (const std::string& name : audit_.lists.missing(kind)) {
            f.findingClass = FindingClass::Missing;
            f.message = "missing file '" + DisplayName(name) + "'";
            if (const auto meant = audit_.suggestionsFor(kind, name); !meant.empty())
                f.message += " (did you mean " + QuotedNames(meant) + "?)";
            const auto& places = audit_.lists.MissingPlaces.of(kind, name);
            if (places.empty()) {
                f.place = DisplayName(folder.string());
                f.file = projectFile;
                visit(f);
            }
            for (const ReferencePlace& place : places) {
                f.place = DisplayName(DescribeReferencePlace(place, project));
                f.file = dataFileOf(source_, dataFileNumber(place.kind));
                visit(f);
            }
        }
    }
    for (const FolderKind kind : MediaFolders) {
        const std::filesystem::path folder = audit_.folder(kind).lexically_relative(project.Paths.ProjectFolder);
        const auto& unused = audit_.lists.unused(kind);
        const auto& sizes = audit_.sizes(kind);
        f.findingClass = FindingClass::UnusedFiles;
        f.place = DisplayName(folder.string());
        for (std::size_t i = 0; i < unused.size(); ++i) {
            f.message = "unused file '" + DisplayName(unused[i]) + "'";
            if (i < sizes.size() && sizes[i])
                f.message += " (" + GroupedNumber(static_cast<std::int64_t>(*sizes[i])) + " bytes)";
            f.file = folder / unused[i];
            visit(f);
        }
    }
    f.findingClass = FindingClass::UnusedFlags;
    f.message = "no enabled statement tests or changes it";
    f.file = projectFile;
    for (const int flag : usage_.freeFlags()) {
        f.place = "flag " + std::to_string(flag);
        visit(f);
    }
    if (counts_[indexOf(FindingClass::DeadEnds)] > 0)
        forEachStatement(
            source_, [&](const FlagStatement& s) { return isDeadEnd(s, usage_); },
            [&](const FlagStatementList& list, const FlagStatement& s) {
                f.findingClass = FindingClass::DeadEnds;
                f.place = DisplayName(describeStatementPlace(s, project));
                f.message = "flag " + std::to_string(s.flag) + " is tested but never changed, so '" +
                            DisplayName(SentenceLine(list.sentence(s))) + "' never holds";
                f.file = dataFileOf(source_, dataFileNumber(s.place));
                visit(f);
            });
    if (counts_[indexOf(FindingClass::OutOfRange)] > 0)
        forEachStatement(source_, isOutOfRange, [&](const FlagStatementList& list, const FlagStatement& s) {
            f.findingClass = FindingClass::OutOfRange;
            f.place = DisplayName(describeStatementPlace(s, project));
            f.message = "flag number outside 1 to 255: '" + DisplayName(SentenceLine(list.sentence(s))) + "'";
            f.file = dataFileOf(source_, dataFileNumber(s.place));
            visit(f);
        });
}

} // namespace orv
