#pragma once

#include "data/Failure.h"
#include "data/Project.h"
#include "data/Types.h"
#include "reports/ObjectTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

// Where an enabled flag statement stands in the project.
enum class StatementPlace : std::uint8_t {
    ConditionalLoad, // a scene header's conditional scene load (a test)
    OnLoadChange,    // a scene header's change when the scene is loaded
    Object,          // one statement of the object in a scene's slot
    CueCard,         // a cue card's choice
    InventoryItem,   // an inventory item's examine action
    PlayerSettings,  // the score flag
};

// What a statement does with its flag.
enum class FlagUse : std::uint8_t {
    Test,    // the flag's value is read: visibility, activation, trigger and conjunction conditions, conditional load
    Change,  // the flag's value is written: object, delayed, trigger, conjunction result, on-load, cue card, item,
             // Switch positions
    Score,   // the player settings' score flag: it counts as used, and is neither a test nor a change
    Problem, // an object of a type the scanner does not know: it names no flag, and the trackers write its
             // problem line wherever they describe that object (in every flag section of the all-flags tracker)
};

// One enabled flag statement, classified. Compact on purpose: the largest
// project holds millions of them. The sentence lives in the list's arena.
struct FlagStatement {
    StatementPlace place = StatementPlace::Object;
    FlagUse use = FlagUse::Test;
    std::uint8_t slot = 0;   // Object: slot 1 to 20; CueCard: choice 1 to 5; otherwise 0
    std::uint8_t row = 0;    // which statement of its object type, in the order the sentences are written
    Integer record = 0;      // scene number (ConditionalLoad, OnLoadChange, Object), cue card or item number
    Integer objectType = -1; // Object and Problem: the slot's ObjectType
    // The flag as the trackers compare it with the tracked flag.
    Integer flag = 0;
    // The flag the unused flags report strikes off (a conjunction result's
    // text rounded half to even), when `marks`.
    Integer markedFlag = 0;
    Integer comparison = 0; // Test: the comparison code (0 "=", 1 "<>", 2 "<", 3 ">"; others print nothing)
    Integer value = 0;      // Test: the value compared with. Change: the value set or added (Switch: position A)
    Integer valueB = 0;     // Switch positions: the value in position B; a Delay object's change: the delay in secs
    Integer loadsScene = 0; // ConditionalLoad: the scene loaded when the test holds (0: none chosen)
    // False only for a Flag Conjunction result whose flag text is not a whole
    // number that fits 16 bits: the trackers never write it, and it is no
    // flag's change.
    bool whole : 1 = true;
    // False when the statement strikes no flag off (a Problem, or a
    // conjunction text that does not fit 16 bits).
    bool marks : 1 = true;
    bool adds : 1 = false; // Change: adds the value instead of setting it
    // A Flag Conjunction result: its value text is exactly a whole number
    // from -32768 to 32767 (otherwise `value` holds it rounded, or 0).
    bool valueWhole : 1 = true;
    // A Flag Conjunction result names its flag and value in texts T1 and T2,
    // which its sentence holds as the project does: their lengths in bytes
    // (see FlagStatementList::conjunctionTexts).
    std::uint8_t flagTextLength = 0;
    std::uint8_t valueTextLength = 0;
    std::uint32_t sentenceOffset = 0;
    std::uint32_t sentenceLength = 0;

    bool isConjunctionResult() const {
        return place == StatementPlace::Object && IsObjectType(objectType, ObjectType::FlagConjunction) &&
               use == FlagUse::Change;
    }
};

static_assert(sizeof(FlagStatement) <= 32, "the largest project holds millions of statements");

// Every enabled flag statement of a project, in the order the trackers write
// them: the score statement (when the score uses a flag) first, then scene by
// scene (conditional load, on-load change, then slots 1 to 20, each object's
// statements in its table's order), then cue cards (choices 1 to 5), then
// inventory items.
struct FlagStatementList {
    std::vector<FlagStatement> statements;
    // Each statement's sentence exactly as a tracker writes it, without the
    // line feed before it (the score sentence keeps the line feed after it).
    std::string sentences;
    // The first scene, cue card, item or player settings record that could
    // not be read. Its statements are missing from the list, as the trackers
    // leave out a unit they cannot read.
    std::optional<Failure> readFailure;
    // How many scene records were read.
    int scenesRead = 0;

    std::string_view sentence(const FlagStatement& s) const {
        return std::string_view(sentences).substr(s.sentenceOffset, s.sentenceLength);
    }
    // A worded Flag Conjunction result's texts T1 (the flag) and T2 (the
    // value), cut from its sentence where they were written.
    std::pair<std::string_view, std::string_view> conjunctionTexts(const FlagStatement& s) const;
    // Adds `s` with the sentence of `from`.
    void copy(const FlagStatementList& from, const FlagStatement& s);
    // Empties the list and the arena, keeping their storage.
    void clear() {
        statements.clear();
        sentences.clear();
    }
};

// The texts T1 and T2 of a conjunction result in `sentence` (see above).
std::pair<std::string_view, std::string_view> ConjunctionTexts(const FlagStatement& s, std::string_view sentence);

// Which statements a gathering keeps. `keep` is asked once per enabled
// statement, in list order, before its sentence is written; a statement it
// declines is left out. Null keeps every statement.
struct GatherOptions {
    std::function<bool(const FlagStatement&)> keep;
    bool sentences = true; // false: statements only, no sentences (sentenceLength 0)
};

// One unit at a time, for passes that work between units. Records are read
// through one reader per data file, sequential numbers being the rule. Each
// Gather appends the unit's statements and returns false (noting
// readFailure) when the record could not be read. Scene names come from the
// loaded project, as in every sentence.
class FlagStatementGatherer {
  public:
    explicit FlagStatementGatherer(ProjectSource source);
    ~FlagStatementGatherer();
    FlagStatementGatherer(const FlagStatementGatherer&) = delete;
    FlagStatementGatherer& operator=(const FlagStatementGatherer&) = delete;

    bool GatherPlayerSettings(FlagStatementList& list, const GatherOptions& options = {});
    bool GatherScene(Integer sceneNo, FlagStatementList& list, const GatherOptions& options = {});
    bool GatherCueCard(Integer cueCardNo, FlagStatementList& list, const GatherOptions& options = {});
    bool GatherInventoryItem(Integer itemNo, FlagStatementList& list, const GatherOptions& options = {});

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Every scene, cue card and inventory item in turn, its statements added to
// `list`; `unitDone` runs after each, whether it could be read or not.
void GatherUnits(FlagStatementGatherer& gatherer, const LoadedProject& project, FlagStatementList& list,
                 const GatherOptions& options, const std::function<void(FlagStatementList&)>& unitDone);

// Reads the project once (the player settings, then every scene, cue card and
// inventory item) and classifies every enabled statement into `list` (which
// is not emptied first). `unitDone` runs after each scene, cue card and item,
// whether it could be read or not, and gets the list, so that a caller may
// consume each unit's statements and clear it as it goes.
void GatherFlagStatements(ProjectSource source, FlagStatementList& list, const GatherOptions& options,
                          const std::function<void(FlagStatementList&)>& unitDone = {});

// Gives the statements of `list` that `wanted` accepts and that have no
// sentence yet their sentences, reading again only the records they stand
// in, and each such statement becomes the statement as read again. A record
// that cannot be read leaves its statements without.
void WordStatements(ProjectSource source, FlagStatementList& list,
                    const std::function<bool(const FlagStatement&)>& wanted);

// A statement with its sentence, as a visit hands it over; `at` is its
// position in the order asked for. A statement whose record cannot be read
// again comes with an empty sentence.
using WordedVisit = std::function<void(std::size_t at, const FlagStatement& s, std::string_view sentence)>;

// Visits `count` statements, the one at `at` made by statementAt(at), in that
// order, each as read again with its sentence: worded a batch at a time,
// reading again only the records a batch stands in, so that millions are
// never held worded at once.
void ForEachWorded(ProjectSource source, std::size_t count,
                   const std::function<FlagStatement(std::size_t)>& statementAt, const WordedVisit& visit);
// The statements of `list` at `indexes`.
void ForEachWorded(ProjectSource source, const FlagStatementList& list, std::span<const std::uint32_t> indexes,
                   const WordedVisit& visit);

// Reads the project again and visits the statements `keep` accepts, in list
// order, holding one unit's sentences at a time. Stops at the first record
// that cannot be read: its failure.
std::optional<Failure> ForEachStatement(ProjectSource source, const std::function<bool(const FlagStatement&)>& keep,
                                        const WordedVisit& visit);

} // namespace orv
