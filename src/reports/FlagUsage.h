#pragma once

#include "data/Types.h"
#include "reports/FlagReach.h"
#include "reports/FlagStatements.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

// How a flag from 1 to 255 is used by the enabled statements of a project.
enum class FlagClass : std::uint8_t {
    Free,             // nothing uses it: exactly the unused flags report's list
    TestedOnly,       // read, never written
    ChangedOnly,      // written, never read
    TestedAndChanged, // both
    OtherUse,         // kept off the free list with no test or change: the score flag, or the flag a
                      // conjunction result's fractional text rounds to
};

// The word the report and the map use for a class.
std::string_view FlagClassText(FlagClass c);

// A test of a flag that nothing changes, evaluated with the flag at 0.
enum class TestAtZero : std::uint8_t { AlwaysHolds, NeverHolds, CannotBeEvaluated };

// Comparison codes 0 "=", 1 "<>", 2 "<", 3 ">" between 0 and `value`; any
// other code cannot be evaluated.
TestAtZero EvaluateAtZero(Integer comparison, Integer value);
std::string_view TestAtZeroText(TestAtZero t);

struct FlagUsageEntry {
    int tests = 0;
    int changes = 0;
    bool marked = false; // off the free list
    bool score = false;  // the player settings' score flag
    FlagClass use = FlagClass::Free;
    int deadEnds = 0; // tests that never hold, for a flag nothing changes (never the score flag)
};

// The whole-project view of flags 1 to 255, from one classified statement
// list, and the statements that name a flag outside 1 to 255.
struct FlagUsage {
    std::array<FlagUsageEntry, 256> flags{}; // 1 to 255; entry 0 is not used
    // Statements that name 0, a negative number, 256 and above, or a
    // conjunction result whose text is not a whole number. A hostile project
    // has millions: they are counted, never kept, and whoever lists them
    // reads them again (ForEachOutOfRange).
    std::size_t outOfRange = 0;

    int inUse = 0;
    int free = 0;
    int deadEnds = 0;     // tests that never hold
    int deadEndFlags = 0; // flags with at least one
    int changedNeverTested = 0;

    const FlagUsageEntry& flag(int f) const { return flags.at(static_cast<std::size_t>(f)); }
    // Never changed, tested, and not the score flag.
    bool testedNeverChanged(int f) const;
    bool changedNeverTestedFlag(int f) const;
    std::vector<int> freeFlags() const;
};

FlagUsage SummarizeFlagUsage(const FlagStatementList& list);

// A gathering keeps the first tests of each flag (the map's tooltip shows no
// more; the report lists a flag's tests from the reach analysis, which keeps
// every test), and of a flag that is also tested the first changes; a flag
// only changed keeps every change, as the report lists them all, and so does
// an object of an unknown type; a flag number outside 1 to 255 keeps none.
// Counting every statement as it passes and keeping so few is what lets the
// summary cost no more than the unused flags report.
inline constexpr int KeptPerKind = 8;

// The summary built one statement at a time, as a gathering passes them.
class FlagUsageTally {
  public:
    // Counts `s`; true when it is worth keeping (see KeptPerKind).
    bool add(const FlagStatement& s);
    FlagUsage finish();

  private:
    FlagUsage usage_;
    std::array<int, 256> neverHolds_{};
};

// The tests and changes of flags 1 to 255 in `list`, by flag: indexes into
// the list, in its order.
using StatementsByFlag = std::array<std::vector<std::uint32_t>, 256>;
StatementsByFlag SortStatementsByFlag(const FlagStatementList& list);
// Those of one flag.
std::vector<std::uint32_t> StatementsOfFlag(const FlagStatementList& list, int flag);

// The flags tested but never changed in the order the summary lists them:
// those with a dead end first, each group by number.
std::vector<int> NeverChangedFlagsInOrder(const FlagUsage& usage);

// The tests of flag `flag` (which nothing changes) evaluated at 0, in the
// order the summary lists them: those that never hold, those that cannot be
// evaluated, those that always hold; each group in the project's order.
// Indexes into reach.tests, which holds every test.
std::vector<std::pair<std::uint32_t, TestAtZero>> TestsAtZeroInOrder(const FlagReach& reach, int flag);

// A classified list and its summary, handed around together. The list may
// hold only the statements a gathering kept (see KeptPerKind), without
// sentences: whoever writes them words them (FlagUsageReport.h).
// `readFailure` in the list means the project could not be read to the end,
// and the summary is not to be trusted.
struct FlagUsageData {
    FlagStatementList list;
    FlagUsage usage;
    // What each flag can reach, from the same pass.
    FlagReach reach;
};

} // namespace orv
