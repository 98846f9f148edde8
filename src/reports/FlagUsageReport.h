#pragma once

#include <functional>
#include <string_view>

namespace orv {

struct FlagStatement;
struct FlagStatementList;
struct FlagUsageData;
struct ReportContext;
class ReportText;

// Report kind 6: every flag 1 to 255 with its tests, changes and class; the
// flags tested but never changed with each test evaluated at 0 (the dead
// ends first); the flags changed but never tested; the flag numbers outside
// 1 to 255. From one pass over the project.
void FlagUsageReport(ReportContext& ctx);

// One pass over the project whose data files ctx holds open: every enabled
// flag statement classified, and the summary of flags 1 to 255. Keeps the
// statements of KeptPerKind, and words those the report lists. Steps the
// progress bar once per scene, cue card and item, plus five for the player
// settings. Throws FileError when a record cannot be read.
FlagUsageData GatherFlagUsage(ReportContext& ctx);

// The same for a caller with no run in progress (the flag map): opens the
// data files, gathers, closes them.
FlagUsageData ScanFlagUsage(ReportContext& ctx);

// Gives the statements of `list` that `wanted` accepts and that have no
// sentence yet their sentences, reading again only the records they stand
// in (ctx's data files open). A record that cannot be read leaves its
// statements without.
void WordStatements(ReportContext& ctx, FlagStatementList& list,
                    const std::function<bool(const FlagStatement&)>& wanted);

// The report body, opening to closing, for a gathered project.
void WriteFlagUsageReport(ReportText& text, const FlagUsageData& data);

// A statement's sentence without the line feeds a tracker writes around it.
std::string_view SentenceLine(std::string_view sentence);

} // namespace orv
