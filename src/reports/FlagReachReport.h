#pragma once

namespace orv {

struct FlagReach;
struct ProjectSource;
class ReportText;

// Gives the statements the findings name their sentences, reading again only
// the scenes they stand in. A scene that cannot be read leaves its
// statements without.
void WordFlagReach(ProjectSource source, FlagReach& reach);

// The flag usage summary's sections on what each flag can reach, after its
// others (before its closing line): the counts, the tests that never hold,
// the changes that can never happen, the conditional loads of a scene that
// does not exist, the tests that always hold (each statement with the reason
// on the line below it), and the values of every flag in use.
void AppendFlagReachSections(ReportText& text, const FlagReach& reach);

} // namespace orv
