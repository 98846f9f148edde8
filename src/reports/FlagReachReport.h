#pragma once

namespace orv {

struct FlagReach;
struct ReportContext;
class ReportText;

// Gives the statements the findings name their sentences, reading again only
// the scenes they stand in (ctx's data files open). A scene that cannot be
// read leaves its statements without.
void WordFlagReach(ReportContext& ctx, FlagReach& reach);

// The flag usage summary's sections on what each flag can reach, after its
// others (before its closing line): the counts, the tests that never hold,
// the changes that can never happen, the conditional loads of a scene that
// does not exist, the tests that always hold (each statement with the reason
// on the line below it), and the values of every flag in use.
void AppendFlagReachSections(ReportText& text, const FlagReach& reach);

} // namespace orv
