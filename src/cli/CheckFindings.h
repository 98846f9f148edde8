#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The kinds of finding `orvanta-scan check` reports, in the order of its
// summary line.
enum class FindingClass { Missing, UnusedFiles, UnusedFlags, DeadEnds, OutOfRange };
inline constexpr std::array<FindingClass, 5> AllFindingClasses = {FindingClass::Missing, FindingClass::UnusedFiles,
                                                                  FindingClass::UnusedFlags, FindingClass::DeadEnds,
                                                                  FindingClass::OutOfRange};

// "missing", "unused-files", "unused-flags", "dead-ends", "out-of-range".
std::string_view FindingClassName(FindingClass c);
std::optional<FindingClass> ParseFindingClass(std::string_view name);

struct Finding {
    FindingClass findingClass;
    // Where in the project: "scene 12 (Kitchen), object 3 (HotSpot)", "resource/gfx", "flag 17".
    std::string place;
    std::string message;
    // The file the finding belongs to, relative to the project's folder: the
    // project file for what its records say, a media file for an unused file.
    std::string artifact;
};

// Which classes are errors; the others are warnings.
struct FailOn {
    std::array<bool, AllFindingClasses.size()> classes{};
    bool contains(FindingClass c) const { return classes[static_cast<std::size_t>(c)]; }
    // "missing,dead-ends"; throws std::invalid_argument naming an unknown class.
    static FailOn parse(std::string_view list);
};

// `PROJECT: error|warning: PLACE: MESSAGE [CLASS]`, one line per finding,
// then a summary line.
std::string CheckText(std::string_view project, const std::vector<Finding>& findings, const FailOn& failOn);
void WriteCheckText(std::ostream& out, std::string_view project, const std::vector<Finding>& findings,
                    const FailOn& failOn);
void WriteCheckJson(std::ostream& out, std::string_view project, const std::vector<Finding>& findings,
                    const FailOn& failOn);
// SARIF 2.1.0, one rule per class.
void WriteCheckSarif(std::ostream& out, std::string_view project, const std::vector<Finding>& findings,
                     const FailOn& failOn);

// True when a finding of a --fail-on class was made.
bool CheckFailed(const std::vector<Finding>& findings, const FailOn& failOn);

} // namespace orv
