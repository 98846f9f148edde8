#pragma once

// Which values each flag can reach, and what that proves: tests that never
// hold or always hold, changes that can never happen, conditional scene loads
// of a scene the project does not have.
//
// The model: every flag 1 to 255 starts at 0 and holds a 16-bit value. An
// enabled change gives its flag values (set: the value; add: every value the
// flag can take plus the amount, a sum outside -32768..32767 dropped; a
// Switch's positions: both values; a Flag Conjunction result with a
// fractional flag text or a value text that is not exactly a 16-bit whole
// number, and the score flag: any value) whenever every test that guards it
// can hold for some value its flag can take. Scene loads, cue card choices
// and inventory items are unguarded. Starting from 0 and applying changes
// until no flag gains a value over-approximates what the game can do, so
// "never" is a proof within the model and "can" is not.

#include "data/Failure.h"
#include "data/Result.h"
#include "data/Types.h"
#include "reports/FlagStatements.h"
#include "reports/FlagValues.h"

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orv {

class ReportHost;

inline constexpr std::uint32_t NoIndex = std::numeric_limits<std::uint32_t>::max();

// A test of an object or a scene's conditional load, as the analysis keeps it.
struct ReachTest {
    Integer record = 0; // the scene
    Integer value = 0;
    std::uint8_t flag = 0;       // 1 to 255; 0 for any other number (then the test can hold)
    std::uint8_t comparison = 0; // 0 "=", 1 "<>", 2 "<", 3 ">"; 4 for any other code (then the test can hold)
    std::uint8_t slot = 0;       // 1 to 20; 0 for the conditional load
    std::uint8_t row = 0;        // FlagStatement::row
    std::int8_t objectType = -1; // the conditional load: -1
    bool canHold : 1 = true;
    bool alwaysHolds : 1 = false;

    // Within the model: a flag 1 to 255 and a comparison 0 to 3.
    bool decides() const { return flag != 0 && comparison < 4; }
};

// What a change does to its flag's values.
enum class ReachChangeKind : std::uint8_t {
    Set,       // the value
    Add,       // every value plus the amount, within 16 bits
    Positions, // a Switch's two values
    AnyValue,  // a conjunction result whose texts the game cannot read exactly
    Nothing,   // a flag outside 1 to 255, or a conjunction flag text beyond 16 bits
};

// A change of an object with at least one guard in force.
struct ReachChange {
    std::uint32_t firstTest = 0; // the first test of its object: guard bit i is test firstTest + i
    Integer record = 0;          // the scene
    Integer flag = 0;            // FlagStatement::flag
    Integer value = 0;           // set or added; a Switch's position A
    Integer valueB = 0;          // a Switch's position B; a Delay's seconds
    std::uint8_t slot = 0;
    std::uint8_t row = 0;
    std::int8_t objectType = 0;
    std::uint8_t guards = 0; // bit i: test firstTest + i guards it
    ReachChangeKind kind = ReachChangeKind::Set;
    bool whole : 1 = true; // FlagStatement::whole, marks and adds
    bool marks : 1 = true;
    bool adds : 1 = false;
    bool happens : 1 = false; // every guard can hold
};

// A conditional scene load.
struct ReachLoad {
    std::uint32_t test = 0; // its test
    Integer scene = 0;      // the scene it loads; 0 for none chosen
    Integer flag = 0;       // its flag and comparison code as the scene header holds them
    Integer comparison = 0;
};

struct FlagReachEntry {
    FlagValues values;          // never empty: every flag starts at 0
    int tests = 0;              // enabled tests of the flag (comparison codes outside 0 to 3 included)
    int changes = 0;            // enabled changes that give it values, guarded or not
    int unreachableChanges = 0; // of those, the ones that can never happen
    int neverHolds = 0;         // tests that never hold
    int alwaysHolds = 0;        // tests that always hold
    bool score = false;         // the score flag: any value
    bool everyChangeUnreachable() const { return changes > 0 && unreachableChanges == changes; }
};

enum class ReachFindingKind : std::uint8_t {
    NeverHolds,      // a test (of an object, or a conditional load) that holds for no value its flag can take
    AlwaysHolds,     // a test that holds for every value its flag can take
    Unreachable,     // a guarded change whose guard never holds
    BrokenSceneLoad, // a conditional load of a scene number above the scene count, or negative
};

struct ReachFinding {
    ReachFindingKind kind = ReachFindingKind::NeverHolds;
    // Unreachable: the change, in FlagReach::guardedChanges; otherwise the
    // test (a conditional load's own), in FlagReach::tests.
    std::uint32_t item = 0;
    // Unreachable: the first guard that never holds, in FlagReach::tests.
    std::uint32_t cause = NoIndex;
};

struct FlagReach {
    std::array<FlagReachEntry, 256> flags{}; // 1 to 255; entry 0 is not used
    int sceneCount = 0;
    // A record that could not be read stopped the pass: an analysis of part
    // of the project would prove what the rest may disprove, so there is none.
    std::optional<Failure> failure;

    // Each in the project's order. A conditional load whose condition never
    // holds is among neverHolds (place ConditionalLoad); a load of a missing
    // scene is in brokenSceneLoads whatever its condition.
    std::vector<ReachFinding> neverHolds;
    std::vector<ReachFinding> alwaysHolds;
    std::vector<ReachFinding> unreachable;
    std::vector<ReachFinding> brokenSceneLoads;

    // The dependency graph the chart is drawn from: every test of an object
    // or load, every guarded change, every conditional load.
    std::vector<ReachTest> tests;
    std::vector<ReachChange> guardedChanges;
    std::vector<ReachLoad> loads;

    const FlagReachEntry& flag(int f) const { return flags.at(static_cast<std::size_t>(f)); }
    // The statement a finding names, as a gathering classifies it, without
    // its sentence (ForEachReachFinding in FlagReachReport.h words it).
    FlagStatement statement(const ReachFinding& f) const;
    // Why, for a person: "flag # 7 can only be 0, 1 or 2".
    std::string reason(const ReachFinding& f) const;
    FlagStatement testStatement(std::uint32_t test) const;
    // The conditional load whose test is `test`, if any.
    const ReachLoad* loadOf(std::uint32_t test) const;
};

// The analysis fed one classified statement at a time, in list order (every
// enabled statement, as GatherOptions::keep sees them), then worked out by
// finish(). Keeps only the tests and guarded changes: a few bytes each.
class FlagReachBuilder {
  public:
    // `objectCount`, the project's objects (LoadedProject::InsertableObjectCount),
    // lets the builder make room for their tests and changes at once.
    explicit FlagReachBuilder(int sceneCount, int objectCount = 0);
    ~FlagReachBuilder();
    FlagReachBuilder(FlagReachBuilder&&) noexcept;
    FlagReachBuilder& operator=(FlagReachBuilder&&) noexcept;

    void add(const FlagStatement& s);
    // The values each flag can reach and the findings. The builder is spent.
    FlagReach finish();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The analysis of a classified list.
FlagReach AnalyzeFlagReach(const FlagStatementList& list, int sceneCount);

// One pass over the project (no sentences are made); `unitDone` runs after
// each scene, cue card and item. A record that cannot be read leaves the
// failure and no analysis.
FlagReach GatherFlagReach(ProjectSource source, const std::function<void()>& unitDone = {});

// The same for a caller with no run in progress (the puzzle chart window):
// opens the data files, gathers stepping the progress bar once per scene,
// cue card and item, closes them.
Result<FlagReach> ScanFlagReach(LoadedProject& project, ReportHost& host);

} // namespace orv
