#pragma once

#include "data/Project.h"
#include "data/Result.h"
#include "reports/FlagUsage.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace orv {

class ReportHost;
struct ReportContext;
class ReportText;

// Report kind 6: every flag 1 to 255 with its tests, changes and class; the
// flags tested but never changed with each test evaluated at 0 (the dead
// ends first); the flags changed but never tested; the flag numbers outside
// 1 to 255. From one pass over the project.
void FlagUsageReport(ReportContext& ctx);

// One pass over the project: every enabled flag statement classified, and
// the summary of flags 1 to 255. Keeps the statements of KeptPerKind (none
// with `keepStatements` false), without sentences: the visits below word
// them. Steps the progress bar once per scene, cue card and item, plus five
// for the player settings. Stops at the first record that cannot be read
// (readFailure).
FlagUsageData GatherFlagUsage(ProjectSource source, ReportHost& host, bool keepStatements = true);

// The same for a caller with no run in progress (the flag map): opens the
// data files, gathers, closes them.
Result<FlagUsageData> ScanFlagUsage(LoadedProject& project, ReportHost& host);

// Words the statements of `flag` in `data` that have none yet, opening the
// data files for it; a record that cannot be read leaves its statements
// without (the flag map's tooltip).
void WordFlagStatements(LoadedProject& project, FlagUsageData& data, int flag);

// What the summary lists, each statement with its sentence, one section at a
// time, for `data` gathered from `source`: no section's sentences are held
// all at once.
//
// The objects of a type the scanner does not know, in list order: indexes
// into the gathered list, for ForEachWorded.
std::vector<std::uint32_t> ProblemStatements(const FlagUsageData& data);
// The tests of never-changed flag `flag` in the order the summary lists them
// (TestsAtZeroInOrder), with what each does at 0. A flag's changes are
// ForEachWorded over SortStatementsByFlag.
void ForEachTestAtZero(ProjectSource source, const FlagUsageData& data, int flag,
                       const std::function<void(TestAtZero, const FlagStatement&, std::string_view)>& visit);
// The statements naming a flag outside 1 to 255, read again in list order (a
// gathering keeps none). A record that cannot be read stops the visit.
std::optional<Failure> ForEachOutOfRange(ProjectSource source, const WordedVisit& visit);

// The report body, opening to closing, for a project gathered from `source`.
void WriteFlagUsageReport(ReportText& text, ProjectSource source, const FlagUsageData& data);

// A statement's sentence without the line feeds a tracker writes around it.
std::string_view SentenceLine(std::string_view sentence);

} // namespace orv
