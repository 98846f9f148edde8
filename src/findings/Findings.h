#pragma once

#include "audit/FilesAudit.h"
#include "data/Failure.h"
#include "data/Project.h"
#include "reports/FlagReach.h"
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
enum class FindingClass {
    Missing,
    UnusedFiles,
    UnusedFlags,
    DeadEnds,
    OutOfRange,
    Unreachable,
    BrokenSceneLoads,
    AlwaysHolds,
};

// How much a finding weighs when --fail-on does not make it an error.
enum class Level { Error, Warning, Note };
std::string_view LevelName(Level level); // "error", "warning", "note"

// Every class with its name (as --fail-on and every output spell it), what
// it means and what to do about it. A new class is declared here, and made
// in ProjectCheck.
struct FindingClassInfo {
    FindingClass findingClass;
    std::string_view name;
    std::string_view description;
    std::string_view explanation; // why it matters
    std::string_view help;        // what to do
    Level level = Level::Warning;
};
inline constexpr std::array<FindingClassInfo, 8> FindingClasses = {{
    {FindingClass::Missing, "missing", "A resource file the project names is not in its media folder.",
     "A picture, sound, music or video file that a record of the project names is not in resource/gfx or "
     "resource/mmedia, so the game cannot show or play it where the record asks for it.",
     "Put the file into its media folder, or correct the name in the record (the finding says which record "
     "and, where an unused file is probably what was meant, which one)."},
    {FindingClass::UnusedFiles, "unused-files", "A file in a media folder that nothing in the project names.",
     "A file of resource/gfx or resource/mmedia that no record names takes disk space in every copy of the game.",
     "Delete the file, or name it where it was meant to be used; files that are not the game's (source art) "
     "can be left out of the check with the ignore file."},
    {FindingClass::UnusedFlags, "unused-flags", "A flag from 1 to 255 that no enabled statement tests or changes.",
     "A flag nothing uses is free for a new puzzle; this lists them, as the unused flags report does.",
     "Nothing needs doing; reserve flags for later in the ignore file (flags 200-240) to keep them off the list."},
    {FindingClass::DeadEnds, "dead-ends", "A test of a flag that holds for no value the flag can take.",
     "Every flag starts at 0 and changes only through the project's statements; a test that holds for no value "
     "the flag can reach (a flag nothing changes is always 0) never lets the player past it: a puzzle that can "
     "never be solved. A conditional scene load whose condition never holds never loads its scene.",
     "Add the change the test waits for (an object, cue card or item that sets the flag to a value it accepts), "
     "or correct the test's flag, comparison or value."},
    {FindingClass::OutOfRange, "out-of-range", "A flag number outside 1 to 255 in the project's data.",
     "Flags are numbered 1 to 255; a statement about another number tests or changes nothing the game keeps.",
     "Correct the flag number in the statement."},
    {FindingClass::Unreachable, "unreachable", "A flag change that can never happen, because its guard never holds.",
     "An object changes its flag only while the tests that guard the change can hold (its visibility or "
     "activation, its trigger, every condition of a Flag Conjunction); when one of them never holds, the change "
     "never happens, and whatever waits for it is a dead end too.",
     "Correct the guard the finding names, or the test of the flag it waits for."},
    {FindingClass::BrokenSceneLoads, "broken-scene-loads", "A conditional scene load of a scene that does not exist.",
     "A scene's conditional load names a scene number above the project's scene count, or below 0: when its "
     "condition holds, there is no scene to load.",
     "Choose an existing scene in the conditional load, or 0 for none.", Level::Error},
    {FindingClass::AlwaysHolds, "always-holds", "A test of a flag that holds for every value the flag can take.",
     "A condition that holds whatever the flag's value does nothing: the object is always visible or active.",
     "Nothing needs doing if that is meant; otherwise correct the test.", Level::Note},
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
    // What the finding is about, whatever its place: the file name, the flag
    // number, the statement's sentence. With the class and the place it
    // tells one finding from every other (see Fingerprint).
    std::string subject;
    // The flag an unused-flags finding is about.
    int flag = 0;
    // The file the finding is about, relative to the project's folder and
    // spelled as it is on disk: the data file of the record that says it,
    // the unused file itself, or the project file for what the project as a
    // whole lacks.
    std::filesystem::path file;
    // The file is an ordinary file itself, no link, as the files audit found
    // it: it lies where its folder and its name say.
    bool plainFile = false;
};

// A finding's fingerprint: 16 hex digits made of its class, place and
// subject, so that it stays the same while other findings come and go.
std::string Fingerprint(const Finding& finding);
// The same digits without a string of their own.
using FingerprintDigits = std::array<char, 16>;
FingerprintDigits FingerprintOf(const Finding& finding);

// Which classes are errors; the others keep their own level.
struct FailOn {
    std::array<bool, FindingClassCount> classes{};
    bool contains(FindingClass c) const { return classes[indexOf(c)]; }
    Level levelOf(FindingClass c) const;
    // Adds "missing,dead-ends"; "" adds nothing. Throws std::invalid_argument
    // naming an unknown class or an empty one between commas.
    void add(std::string_view list);
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
    const FlagReach& reach() const { return reach_; }
    // How many findings of each class forEach produces.
    const FindingCounts& counts() const { return counts_; }
    // Media folders that exist but could not be listed: their files are
    // left out of the check.
    const std::vector<Failure>& unlistableFolders() const { return audit_.lists.UnlistableFolders; }

    // Every finding, class by class in the order of FindingClasses. Without
    // `messages`, the findings about files carry none, for a pass that only
    // counts: what each missing file was probably meant to be is the dearest
    // part of a check.
    void forEach(const std::function<void(const Finding&)>& visit, bool messages = true) const;

  private:
    void reachFindings(FindingClass findingClass, const std::vector<ReachFinding>& list, std::string_view verdict,
                       const std::function<void(const Finding&)>& visit) const;

    ProjectSource source_;
    FilesAudit audit_;
    FlagUsage usage_;
    FlagReach reach_;
    FindingCounts counts_{};
    std::optional<Failure> failure_;
};

// True when `counts` hold a finding of a --fail-on class.
bool CheckFailed(const FindingCounts& counts, const FailOn& failOn);

} // namespace orv
