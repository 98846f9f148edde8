#include "findings/Findings.h"

#include "audit/DiskNames.h"
#include "audit/NumberPatterns.h"
#include "audit/ReferencePlaces.h"
#include "audit/ResourceFolders.h"
#include "reports/FlagReachReport.h"
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

std::string_view LevelName(Level level) {
    switch (level) {
    case Level::Error: return "error";
    case Level::Warning: return "warning";
    case Level::Note: return "note";
    }
    return {};
}

std::string Fingerprint(const Finding& f) {
    const FingerprintDigits digits = FingerprintOf(f);
    return std::string(digits.data(), digits.size());
}

FingerprintDigits FingerprintOf(const Finding& f) {
    // FNV-1a over the three texts, each ended by a zero byte.
    std::uint64_t h = 0xcbf29ce484222325ULL;
    const auto mix = [&h](std::string_view text) {
        for (const char c : text) {
            h ^= static_cast<unsigned char>(c);
            h *= 0x100000001b3ULL;
        }
        h ^= 0;
        h *= 0x100000001b3ULL;
    };
    mix(FindingClassName(f.findingClass));
    mix(f.place);
    mix(f.subject);
    static constexpr char Hex[] = "0123456789abcdef";
    FingerprintDigits out;
    for (int i = 15; i >= 0; --i, h >>= 4)
        out[static_cast<std::size_t>(i)] = Hex[h & 0xF];
    return out;
}

Level FailOn::levelOf(FindingClass c) const {
    return contains(c) ? Level::Error : FindingClasses[indexOf(c)].level;
}

void FailOn::add(std::string_view list) {
    if (list.empty())
        return;
    for (;;) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        if (name.empty())
            throw std::invalid_argument("an empty class name between commas");
        const auto c = ParseFindingClass(name);
        if (!c) {
            std::string known;
            for (const FindingClassInfo& info : FindingClasses)
                known += (known.empty() ? "" : ", ") + std::string(info.name);
            throw std::invalid_argument("unknown class '" + std::string(name) + "' (known: " + known + ")");
        }
        classes[indexOf(*c)] = true;
        if (comma == std::string_view::npos)
            return;
        list.remove_prefix(comma + 1);
    }
}

FailOn FailOn::parse(std::string_view list) {
    FailOn failOn;
    failOn.add(list);
    return failOn;
}

bool CheckFailed(const FindingCounts& counts, const FailOn& failOn) {
    for (const FindingClassInfo& info : FindingClasses)
        if (failOn.contains(info.findingClass) && counts[indexOf(info.findingClass)] > 0)
            return true;
    return false;
}

namespace {

// "0 bytes", "1 byte", "2,358 bytes".
std::string bytesText(std::uint64_t n) {
    if (n == 0)
        return "0 bytes";
    return GroupedNumber(static_cast<std::int64_t>(n)) + (n == 1 ? " byte" : " bytes");
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
    reach_ = std::move(data.reach);
    for (const FolderKind kind : MediaFolders) {
        for (const std::string& name : audit_.lists.missing(kind))
            counts_[indexOf(FindingClass::Missing)] +=
                std::max<std::size_t>(1, audit_.lists.MissingPlaces.of(kind, name).size());
        counts_[indexOf(FindingClass::UnusedFiles)] += audit_.lists.unused(kind).size();
    }
    counts_[indexOf(FindingClass::UnusedFlags)] = static_cast<std::size_t>(usage_.free);
    counts_[indexOf(FindingClass::DeadEnds)] = reach_.neverHolds.size();
    counts_[indexOf(FindingClass::OutOfRange)] = usage_.outOfRange;
    counts_[indexOf(FindingClass::Unreachable)] = reach_.unreachable.size();
    counts_[indexOf(FindingClass::BrokenSceneLoads)] = reach_.brokenSceneLoads.size();
    counts_[indexOf(FindingClass::AlwaysHolds)] = reach_.alwaysHolds.size();
}

void ProjectCheck::forEach(const std::function<void(const Finding&)>& visit, bool messages) const {
    if (failure_)
        return;
    const LoadedProject& project = source_.project;
    const std::filesystem::path projectFile = project.Paths.ProjectFilePath.filename();
    Finding f;
    // A missing file may be named from a million places: each place is
    // worded into the finding as it stands, and its data file is one of five.
    std::array<std::filesystem::path, 6> dataFiles;
    for (int n = 1; n <= 5; ++n)
        dataFiles[static_cast<std::size_t>(n)] = dataFileOf(source_, n);
    const auto setFile = [&f](const std::filesystem::path& file) {
        if (f.file.native() != file.native())
            f.file = file;
    };
    PlaceWording wording(project);
    for (const FolderKind kind : MediaFolders) {
        const std::filesystem::path folder = audit_.folder(kind).lexically_relative(project.Paths.ProjectFolder);
        for (const std::string& name : audit_.lists.missing(kind)) {
            f.findingClass = FindingClass::Missing;
            f.subject = name;
            f.message.clear();
            if (messages) {
                f.message.append("missing file '").append(DisplayName(name)).append("'");
                if (const auto meant = audit_.suggestionsFor(kind, name); !meant.empty())
                    f.message.append(" (did you mean ").append(QuotedNames(meant)).append("?)");
            }
            const auto& places = audit_.lists.MissingPlaces.of(kind, name);
            if (places.empty()) {
                f.place = DisplayName(folder.string());
                setFile(projectFile);
                visit(f);
            }
            for (const ReferencePlace& place : places) {
                f.place.clear();
                wording.append(f.place, place);
                setFile(dataFiles[static_cast<std::size_t>(dataFileNumber(place.kind))]);
                visit(f);
            }
        }
    }
    for (const FolderKind kind : MediaFolders) {
        const std::filesystem::path folder = audit_.folder(kind).lexically_relative(project.Paths.ProjectFolder);
        const auto& unused = audit_.lists.unused(kind);
        const auto& sizes = audit_.sizes(kind);
        const auto& plain = audit_.plain(kind);
        f.findingClass = FindingClass::UnusedFiles;
        f.place = DisplayName(folder.string());
        for (std::size_t i = 0; i < unused.size(); ++i) {
            f.subject = unused[i];
            f.message.clear();
            if (messages) {
                f.message.append("unused file '").append(DisplayName(unused[i])).append("'");
                if (i < sizes.size() && sizes[i])
                    f.message.append(" (").append(bytesText(*sizes[i])).append(")");
            }
            f.file = folder / unused[i];
            f.plainFile = i < plain.size() && plain[i];
            visit(f);
        }
    }
    f.plainFile = false;
    f.findingClass = FindingClass::UnusedFlags;
    f.message = "no enabled statement tests or changes it";
    f.file = projectFile;
    for (const int flag : usage_.freeFlags()) {
        f.place = "flag " + std::to_string(flag);
        f.subject = std::to_string(flag);
        f.flag = flag;
        visit(f);
    }
    f.flag = 0;
    reachFindings(FindingClass::DeadEnds, reach_.neverHolds, "never holds", visit);
    if (counts_[indexOf(FindingClass::OutOfRange)] > 0)
        ForEachOutOfRange(source_, [&](std::size_t, const FlagStatement& s, std::string_view sentence) {
            f.findingClass = FindingClass::OutOfRange;
            f.place = DisplayName(describeStatementPlace(s, project));
            f.subject = SentenceLine(sentence);
            f.message = "flag number outside 1 to 255: '" + DisplayName(SentenceLine(sentence)) + "'";
            f.file = dataFileOf(source_, dataFileNumber(s.place));
            visit(f);
        });
    reachFindings(FindingClass::Unreachable, reach_.unreachable, "can never happen", visit);
    reachFindings(FindingClass::BrokenSceneLoads, reach_.brokenSceneLoads, "can load no scene", visit);
    reachFindings(FindingClass::AlwaysHolds, reach_.alwaysHolds, "always holds", visit);
}

void ProjectCheck::reachFindings(FindingClass findingClass, const std::vector<ReachFinding>& list,
                                 std::string_view verdict, const std::function<void(const Finding&)>& visit) const {
    Finding f;
    f.findingClass = findingClass;
    ForEachReachFinding(source_, reach_, list,
                        [&](const ReachFinding& finding, const FlagStatement& s, std::string_view sentence) {
                            sentence = SentenceLine(sentence);
                            f.place = DisplayName(describeStatementPlace(s, source_.project));
                            f.subject = sentence;
                            f.message = "'" + DisplayName(sentence) + "' " + std::string(verdict) + ": " +
                                        DisplayName(reach_.reason(finding));
                            f.file = dataFileOf(source_, dataFileNumber(s.place));
                            visit(f);
                        });
}

} // namespace orv
