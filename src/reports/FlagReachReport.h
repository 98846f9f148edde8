#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace orv {

struct FlagReach;
struct FlagStatement;
struct ProjectSource;
struct ReachFinding;
class ReportText;

// Visits the findings of `list` (one of `reach`'s) in order, each with its
// statement and the statement's sentence, worded a batch at a time: a hostile
// project makes millions. A statement whose record cannot be read again comes
// with an empty sentence.
void ForEachReachFinding(ProjectSource source, const FlagReach& reach, const std::vector<ReachFinding>& list,
                         const std::function<void(const ReachFinding&, const FlagStatement&, std::string_view)>& visit);

// The flag usage summary's sections on what each flag can reach, after its
// others (before its closing line): the counts, the tests that never hold,
// the changes that can never happen, the conditional loads of a scene that
// does not exist, the tests that always hold (each statement with the reason
// on the line below it), and the values of every flag in use.
void AppendFlagReachSections(ReportText& text, ProjectSource source, const FlagReach& reach);

} // namespace orv
