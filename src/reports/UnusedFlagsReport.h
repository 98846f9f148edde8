#pragma once

#include "data/Failure.h"
#include "data/Project.h"
#include "reports/FlagStatements.h"

#include <optional>
#include <vector>

namespace orv {

class ReportHost;
struct ReportContext;
class ReportText;

// The flags 1 to 255 that no enabled statement uses, from one pass over the
// project. A record that cannot be read stops the pass: then there is no
// list, since what is left would name flags as unused that the rest of the
// project may well use.
struct UnusedFlags {
    std::vector<int> UnusedFlags; // in order, when complete
    std::optional<Failure> failure;
    // The problem lines of objects of unknown types, which stand above the
    // report body, when the scan keeps them.
    FlagStatementList problems;

    bool complete() const { return !failure; }
};

// Strikes every flag that an enabled statement of the project uses off the
// list 1 to 255, reading the player settings and then each scene, cue card
// and item once; steps the progress bar as the report always has (five for
// the player settings, one per scene, cue card, item and location).
UnusedFlags ScanUnusedFlags(ProjectSource source, ReportHost& host, bool keepProblems);

// Report kind 1: the flags 1 to 255 that no enabled statement uses.
void UnusedFlagsReport(ReportContext& ctx);

// The report body, problem lines to closing.
void WriteUnusedFlagsReport(ReportText& text, const UnusedFlags& scan);

} // namespace orv
