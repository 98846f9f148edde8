#include "reports/ObjectStatements.h"

#include "data/Numbers.h"
#include "reports/ObjectTypes.h"
#include "reports/Phrasing.h"
#include "reports/StatementClassifier.h"
#include "reports/TextConventions.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace orv {

namespace {

// How a statement is worded after its lead-in.
enum class Sentence {
    Condition,         // lead, "flag #" S(f), C(f + 2), P(f + 4)
    Change,            // lead, then the set or add phrase: value at f + 2, add-or-set at f + 4
    DelayedChange,     // the same, after the delay in seconds at 149
    Positions,         // the two positions of a Switch object
    ConjunctionResult, // the flag, value and add-or-set are texts T1, T2, T3
};

constexpr std::size_t Always = 0; // a statement with no switch

struct ObjectStatement {
    ObjectType type;
    Sentence sentence;
    std::string_view lead;
    std::size_t switchOffset; // the statement is in force when this setting ...
    Integer switchValue;      // ... holds this value
    std::size_t flagOffset;   // unused for the conjunction result
    // A change: the rows of the same object whose tests guard it (bit r for
    // row r); the change happens only while each of them that is in force
    // holds. A test: what kind of guard it is.
    std::uint8_t guardedBy = 0;
    ObjectGuard guard = ObjectGuard::None;
};

constexpr std::array<std::string_view, 10> Labels = {
    " - Ambient Object #",      " - HotSpot Object #",          " - Goodie Object #", " - Switch Object #",
    " - Reactor Object #",      " - Responder Object #",        " - Delay Object #",  " - Multi-Trigger Object #",
    " - Conversation Object #", " - Flag Conjunction Object #",
};

using enum Sentence;
using enum ObjectType;
using enum ObjectGuard;

// Every statement of every object type, in the order the sentences are
// written.
constexpr ObjectStatement Statements[] = {
    {Ambient, Condition, ") Visible when ", 149, 2, 151, 0, Visibility},
    {Ambient, Change, ") When this object is visible, ", 157, 1, 159, 0b1},
    {HotSpot, Condition, ") Visible when ", 167, 2, 169, 0, Visibility},
    {HotSpot, Change, ") When this object is clicked, ", 175, 1, 177, 0b1},
    {Goodie, Condition, ") Visible when ", 163, 2, 165, 0, Visibility},
    {Goodie, Change, ") When this object is picked up, ", 171, 1, 173, 0b1},
    {Switch, Positions, "", Always, 0, 141, 0b10}, // guarded by the visibility after it
    {Switch, Condition, ") Visible when ", 165, 2, 167, 0, Visibility},
    {Reactor, Condition, ") Visible when ", 149, 2, 151, 0, Visibility},
    {Reactor, Change, ") When this object is clicked, ", 157, 1, 159, 0b1},
    {Responder, Condition, ") Activated when ", 141, 1, 143, 0, Activation},
    {Responder, Change, ") When this object is activated, ", 165, 1, 167, 0b1},
    {Delay, Condition, ") Activated when ", Always, 0, 143, 0, Activation},
    {Delay, DelayedChange, ") After the delay (", Always, 0, 151, 0b1},
    {MultiTrigger, Condition, ") Trigger # 1 activated when ", Always, 0, 143, 0, Trigger},
    {MultiTrigger, Condition, ") Trigger # 2 activated when ", Always, 0, 159, 0, Trigger},
    {MultiTrigger, Condition, ") Trigger # 3 activated when ", Always, 0, 175, 0, Trigger},
    {MultiTrigger, Change, ") Trigger # 1 will ", 149, 1, 151, 0b001},
    {MultiTrigger, Change, ") Trigger # 2 will ", 165, 1, 167, 0b010},
    {MultiTrigger, Change, ") Trigger # 3 will ", 181, 1, 183, 0b100},
    {Conversation, Condition, ") Visible when ", 143, 2, 145, 0, Visibility}, // guards nothing
    {FlagConjunction, Condition, ") Condition A is true when ", 143, 1, 145, 0, Conjunction},
    {FlagConjunction, Condition, ") Condition B is true when ", 151, 1, 153, 0, Conjunction},
    {FlagConjunction, Condition, ") Condition C is true when ", 159, 1, 161, 0, Conjunction},
    {FlagConjunction, Condition, ") Condition D is true when ", 167, 1, 169, 0, Conjunction},
    {FlagConjunction, Condition, ") Condition E is true when ", 175, 1, 177, 0, Conjunction},
    {FlagConjunction, Condition, ") Condition F is true when ", 183, 1, 185, 0, Conjunction},
    {FlagConjunction, ConjunctionResult, "", Always, 0, 0, 0b111111},
};

// The rows of one type: the table holds each type's rows together, in type
// order, so a type's rows are found without a walk of the whole table.
constexpr std::span<const ObjectStatement> StatementsOf(Integer type) {
    std::size_t first = 0;
    while (first < std::size(Statements) && static_cast<Integer>(Statements[first].type) != type)
        ++first;
    std::size_t last = first;
    while (last < std::size(Statements) && static_cast<Integer>(Statements[last].type) == type)
        ++last;
    return std::span<const ObjectStatement>(Statements).subspan(first, last - first);
}

constexpr bool groupedByType() {
    for (std::size_t i = 1; i < std::size(Statements); ++i)
        if (Statements[i].type < Statements[i - 1].type)
            return false;
    return true;
}
static_assert(groupedByType() && StatementsOf(9).size() == 7 && StatementsOf(7).size() == 6);

// Each type has at most eight statements, and a change is guarded only by
// tests of its own type.
constexpr bool guardsAreTestsOfTheType() {
    for (const ObjectStatement& st : Statements) {
        int row = 0;
        for (const ObjectStatement& other : StatementsOf(static_cast<Integer>(st.type))) {
            const bool guards = (st.guardedBy >> row & 1) != 0;
            if (guards && (other.sentence != Condition || other.guard == None))
                return false;
            ++row;
        }
        if (row > 8 || (st.guardedBy >> row) != 0 || (st.sentence == Condition) != (st.guard != None))
            return false;
    }
    return true;
}
static_assert(guardsAreTestsOfTheType());

void appendChange(std::string& out, const ObjectSlot& slot, std::size_t flagOffset) {
    AppendChangePhrase(out, slot.setting(flagOffset), slot.setting(flagOffset + 2), slot.setting(flagOffset + 4) != 0);
}

void appendBody(std::string& out, const ObjectStatement& st, const ObjectSlot& slot) {
    const std::size_t f = st.flagOffset;
    out.append(st.lead);
    switch (st.sentence) {
    case Condition: AppendFlagCondition(out, slot.setting(f), slot.setting(f + 2), slot.setting(f + 4)); break;
    case Change: appendChange(out, slot, f); break;
    case DelayedChange:
        AppendPlain(out, slot.setting(149));
        out.append(" secs), ");
        appendChange(out, slot, f);
        break;
    case Positions:
        out.append(") In position A, flag #");
        AppendSigned(out, slot.setting(141));
        out.append(" is ");
        AppendPlain(out, slot.setting(143));
        out.append(". In position B, flag #");
        AppendSigned(out, slot.setting(141));
        out.append(" is ");
        AppendPlain(out, slot.setting(149));
        break;
    case ConjunctionResult:
        // T1 has no leading blank of its own, so these two literals end in one.
        if (LeadingNumber(slot.ObjectText[2]) == 0.0) {
            out.append(") When all conditions are true, object will set flag # ");
            out.append(slot.ObjectText[0]);
            out.append(" to value ");
            out.append(slot.ObjectText[1]);
        } else {
            out.append(") When all conditions are true, object will add ");
            out.append(slot.ObjectText[1]);
            out.append(" to the current value of flag # ");
            out.append(slot.ObjectText[0]);
        }
        break;
    }
}

// What one statement of the table says, apart from where it stands.
FlagStatement classify(const ObjectStatement& st, const ObjectSlot& slot) {
    FlagStatement s;
    const std::size_t f = st.flagOffset;
    switch (st.sentence) {
    case Condition:
        s.use = FlagUse::Test;
        s.flag = slot.setting(f);
        s.comparison = slot.setting(f + 2);
        s.value = slot.setting(f + 4);
        break;
    case Change:
    case DelayedChange:
        s.use = FlagUse::Change;
        s.flag = slot.setting(f);
        s.value = slot.setting(f + 2);
        s.adds = slot.setting(f + 4) != 0;
        if (st.sentence == DelayedChange)
            s.valueB = slot.setting(149);
        break;
    case Positions:
        s.use = FlagUse::Change;
        s.flag = slot.setting(141);
        s.value = slot.setting(143);
        s.valueB = slot.setting(149);
        break;
    case ConjunctionResult: {
        // The result names its flag in text T1. Marking (and EveryFlag) use
        // it rounded; the trackers compare it unrounded, so a T1 with a
        // fraction is never written. A number that does not fit 16 bits
        // marks nothing.
        const double number = LeadingNumber(slot.ObjectText[0]);
        const auto rounded = roundToInteger(number);
        s.use = FlagUse::Change;
        s.marks = rounded.has_value();
        s.markedFlag = rounded.value_or(0);
        s.whole = rounded && static_cast<double>(*rounded) == number;
        s.flag = s.markedFlag;
        const double value = LeadingNumber(slot.ObjectText[1]);
        const auto roundedValue = roundToInteger(value);
        s.value = roundedValue.value_or(0);
        s.valueWhole = roundedValue && static_cast<double>(*roundedValue) == value;
        s.adds = LeadingNumber(slot.ObjectText[2]) != 0.0;
        s.flagTextLength = static_cast<std::uint8_t>(slot.ObjectText[0].size());
        s.valueTextLength = static_cast<std::uint8_t>(slot.ObjectText[1].size());
        return s;
    }
    }
    s.markedFlag = s.flag;
    return s;
}

} // namespace

ObjectStatementRole ObjectStatementRoleOf(Integer objectType, std::uint8_t row) {
    const std::span<const ObjectStatement> rows = StatementsOf(objectType);
    if (!IsKnownObjectType(objectType) || row >= rows.size())
        return {};
    const ObjectStatement& st = rows[row];
    return {st.guardedBy, st.guard, st.sentence == Positions, st.sentence == ConjunctionResult};
}

void ClassifyObject(Integer objectType, const ObjectSlot& slot, Integer sceneNo, Integer slotNo,
                    std::string_view sceneReference, StatementCollector& out) {
    if (!IsKnownObjectType(objectType)) {
        FlagStatement s;
        s.use = FlagUse::Problem;
        s.slot = static_cast<std::uint8_t>(slotNo);
        s.record = sceneNo;
        s.objectType = objectType;
        s.marks = false;
        out.add(s, [&](std::string& text) {
            text.append("*** PROBLEM - This project uses an Object Type that is unknown to this Project Scanner.  "
                        "Object Type =");
            AppendSigned(text, objectType);
            text.append(" ***");
        });
        return;
    }
    std::uint8_t row = 0;
    for (const ObjectStatement& st : StatementsOf(objectType)) {
        const std::uint8_t thisRow = row++;
        if (st.switchOffset != Always && slot.setting(st.switchOffset) != st.switchValue)
            continue;
        FlagStatement s = classify(st, slot);
        s.place = StatementPlace::Object;
        s.slot = static_cast<std::uint8_t>(slotNo);
        s.row = thisRow;
        s.record = sceneNo;
        s.objectType = objectType;
        out.add(s, [&](std::string& text) {
            text.append(sceneReference);
            text.append(Labels[static_cast<std::size_t>(objectType)]);
            AppendSigned(text, slotNo);
            appendBody(text, st, slot);
        });
    }
}

std::pair<std::string_view, std::string_view> ConjunctionTexts(const FlagStatement& s, std::string_view sentence) {
    // The set sentence ends "flag # T1 to value T2", the add sentence "add T2
    // to the current value of flag # T1".
    constexpr std::string_view SetMiddle = " to value ";
    constexpr std::string_view AddMiddle = " to the current value of flag # ";
    const std::size_t t1 = s.flagTextLength, t2 = s.valueTextLength;
    const std::size_t middle = s.adds ? AddMiddle.size() : SetMiddle.size();
    if (!s.isConjunctionResult() || sentence.size() < t1 + t2 + middle)
        return {};
    const std::size_t end = sentence.size();
    if (s.adds)
        return {sentence.substr(end - t1, t1), sentence.substr(end - t1 - middle - t2, t2)};
    return {sentence.substr(end - t2 - middle - t1, t1), sentence.substr(end - t2, t2)};
}

} // namespace orv
