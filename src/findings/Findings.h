#pragma once

#include "audit/FilesAudit.h"
#include "data/Failure.h"
#include "data/Project.h"
#include "reports/FlagUsage.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

class ReportHost;

// The kinds of finding a check reports, in the order it reports them.
enum class FindingClass { Missing, UnusedFiles, UnusedFlags, DeadEnds, OutOfRange };

// Every class with its name (as --fail-on and every output spell it) and
// what it means. A new class is declared here, and made in ProjectCheck.
struct FindingClassInfo {
    FindingClass findingClass;
    std::string_view name;
    std::string_view description;
};
inline constexpr std::array<FindingClassInfo, 5> FindingClasses = {{
    {FindingClass::Missing, "missing", "A resource file the project names is not in its media folder."},
    {FindingClass::UnusedFiles, "unused-files", "A file in a media folder that nothing in the project names."},
    {FindingClass::UnusedFlags, "unused-flags", "A flag from 1 to 255 that no enabled statement tests or changes."},
    {FindingClass::DeadEnds, "dead-ends",
     "A flag that is tested but never changed: a test that never holds can never be passed."},
    {FindingClass::OutOfRange, "out-of-range", "A flag number outside 1 to 255 in the project's data."},
}};
inline constexpr std::size_t FindingClassCount = FindingClasses.size();

std::string_view FindingClassName(FindingClass c);
std::optional<FindingClass> ParseFindingClass(std::string_view name);
inline std::size_t indexOf(FindingClass c) {
    return static_cast<std::size_t>(c);
}

// One finding. Every text in it is safe to write as one line: names from
// disk and project texts are shown with control characters and stray bytes
// as U+FFFD.
struct Finding {
    FindingClass findingClass = FindingClass::Missing;
    // Where in the project: "scene 12 (Kitchen), object 3 (HotSpot)", "resource/gfx", "flag 17".
    std::string place;
    std::string message;
    // The file the finding is about, relative to the project's folder and
    // spelled as it is on disk: the data file of the record that says it,
    // the unused file itself, or the project file for what the project as a
    // whole lacks.
    std::filesystem::path file;
};

// Which classes are errors; the others are warnings.
struct FailOn {
    std::array<bool, FindingClassCount> classes{};
    bool contains(FindingClass c) const { return classes[indexOf(c)]; }
    // "missing,dead-ends"; throws std::invalid_argument naming an unknown class.
    static FailOn parse(std::string_view list);
};

using FindingCounts = std::array<std::size_t, FindingClassCount>;

// What a check of a project finds: the files audit and the flag usage
// summary, from one pass each, and the findings made from them. The findings
// are produced in order, one at a time, and never held: a project can make
// millions. The check reads the project again to word the statements it
// reports, so the source must stay open while findings are produced.
class ProjectCheck {
  public:
    // Runs both passes. A record that could not be read stops the check
    // (failure()).
    ProjectCheck(ProjectSource source, ReportHost& host);

    const std::optional<Failure>& failure() const { return failure_; }
    const FilesAudit& audit() const { return audit_; }
    // How many findings of each class forEach produces.
    const FindingCounts& counts() const { return counts_; }
    // Media folders that exist but could not be listed: their files are
    // left out of the check.
    const std::vector<Failure>& unlistableFolders() const { return audit_.lists.UnlistableFolders; }

    // Every finding, class by class in the order of FindingClasses.
    void forEach(const std::function<void(const Finding&)>& visit) const;

  private:
    ProjectSource source_;
    FilesAudit audit_;
    FlagUsage usage_;
    FindingCounts counts_{};
    std::optional<Failure> failure_;
};

// True when `counts` hold a finding of a --fail-on class.
bool CheckFailed(const FindingCounts& counts, const FailOn& failOn);

} // namespace orv
