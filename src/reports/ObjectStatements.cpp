#include "reports/ObjectStatements.h"

#include "data/Numbers.h"
#include "reports/Phrasing.h"
#include "reports/ReportContext.h"
#include "reports/StatementMode.h"
#include "reports/TextConventions.h"

#include <array>
#include <cstddef>
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
    Integer type;
    Sentence sentence;
    std::string_view lead;
    std::size_t switchOffset; // the statement is in force when this setting ...
    Integer switchValue;      // ... holds this value
    std::size_t flagOffset;   // unused for the conjunction result
};

constexpr std::array<std::string_view, 10> Labels = {
    " - Ambient Object #",    " - HotSpot Object #",       " - Goodie Object #",
    " - Switch Object #",     " - Reactor Object #",       " - Responder Object #",
    " - Delay Object #",      " - Multi-Trigger Object #", " - Conversation Object #",
    " - Flag Conjunction Object #",
};

using enum Sentence;

// Every statement of every object type, in the order the sentences are
// written.
constexpr ObjectStatement Statements[] = {
    {0, Condition, ") Visible when ", 149, 2, 151}, // Ambient
    {0, Change, ") When this object is visible, ", 157, 1, 159},
    {1, Condition, ") Visible when ", 167, 2, 169}, // HotSpot
    {1, Change, ") When this object is clicked, ", 175, 1, 177},
    {2, Condition, ") Visible when ", 163, 2, 165}, // Goodie
    {2, Change, ") When this object is picked up, ", 171, 1, 173},
    {3, Positions, "", Always, 0, 141}, // Switch
    {3, Condition, ") Visible when ", 165, 2, 167},
    {4, Condition, ") Visible when ", 149, 2, 151}, // Reactor
    {4, Change, ") When this object is clicked, ", 157, 1, 159},
    {5, Condition, ") Activated when ", 141, 1, 143}, // Responder
    {5, Change, ") When this object is activated, ", 165, 1, 167},
    {6, Condition, ") Activated when ", Always, 0, 143}, // Delay
    {6, DelayedChange, ") After the delay (", Always, 0, 151},
    {7, Condition, ") Trigger # 1 activated when ", Always, 0, 143}, // Multi-Trigger
    {7, Condition, ") Trigger # 2 activated when ", Always, 0, 159},
    {7, Condition, ") Trigger # 3 activated when ", Always, 0, 175},
    {7, Change, ") Trigger # 1 will ", 149, 1, 151},
    {7, Change, ") Trigger # 2 will ", 165, 1, 167},
    {7, Change, ") Trigger # 3 will ", 181, 1, 183},
    {8, Condition, ") Visible when ", 143, 2, 145}, // Conversation
    {9, Condition, ") Condition A is true when ", 143, 1, 145}, // Flag Conjunction
    {9, Condition, ") Condition B is true when ", 151, 1, 153},
    {9, Condition, ") Condition C is true when ", 159, 1, 161},
    {9, Condition, ") Condition D is true when ", 167, 1, 169},
    {9, Condition, ") Condition E is true when ", 175, 1, 177},
    {9, Condition, ") Condition F is true when ", 183, 1, 185},
    {9, ConjunctionResult, "", Always, 0, 0},
};

std::string changePhrase(const ObjectSlot& slot, std::size_t flagOffset) {
    const Integer flag = slot.setting(flagOffset);
    const Integer value = slot.setting(flagOffset + 2);
    return slot.setting(flagOffset + 4) == 0 ? SetFlagPhrase(flag, value) : AddFlagPhrase(value, flag);
}

std::string sentenceText(const ObjectStatement& st, const ObjectSlot& slot) {
    const std::size_t f = st.flagOffset;
    std::string text(st.lead);
    switch (st.sentence) {
    case Condition:
        text += FlagCondition(slot.setting(f), slot.setting(f + 2), slot.setting(f + 4));
        break;
    case Change:
        text += changePhrase(slot, f);
        break;
    case DelayedChange:
        text += PlainForm(slot.setting(149)) + " secs), " + changePhrase(slot, f);
        break;
    case Positions:
        text += ") In position A, flag #" + SignedForm(slot.setting(141)) + " is " + PlainForm(slot.setting(143)) +
                ". In position B, flag #" + SignedForm(slot.setting(141)) + " is " + PlainForm(slot.setting(149));
        break;
    case ConjunctionResult: {
        const std::string& flag = slot.ObjectText[0];
        const std::string& value = slot.ObjectText[1];
        // T1 has no leading blank of its own, so these two literals end in one.
        if (LeadingNumber(slot.ObjectText[2]) == 0.0)
            text += ") When all conditions are true, object will set flag # " + flag + " to value " + value;
        else
            text += ") When all conditions are true, object will add " + value + " to the current value of flag # " +
                    flag;
        break;
    }
    }
    return text;
}

void appendStatement(ReportContext& ctx, Integer objectType, const ObjectStatement& st, const ObjectSlot& slot) {
    ctx.text.append("\n" + SceneReference(ctx.project, ctx.scene.CurrentScene) +
                    std::string(Labels[static_cast<std::size_t>(objectType)]) + SignedForm(ctx.run.CurrentObject) +
                    sentenceText(st, slot));
}

// The conjunction result names its flag in text T1. Marking and EveryFlag use
// it rounded; the comparison with TrackedFlag uses it unrounded, so a T1 with
// a fraction is never written, not even when EveryFlag has just set
// TrackedFlag from it. A number that does not fit 16 bits ends the object's
// description there.
void resultStatement(ReportContext& ctx, Integer objectType, Integer mode, const ObjectStatement& st,
                     const ObjectSlot& slot) {
    const double number = LeadingNumber(slot.ObjectText[0]);
    if (mode == MarkUsed) {
        if (const auto flag = roundToInteger(number))
            MarkFlagUsed(ctx.run, *flag);
        return;
    }
    if (ctx.run.EveryFlag) {
        const auto flag = roundToInteger(number);
        if (!flag)
            return;
        ctx.run.TrackedFlag = *flag;
    }
    if (number == static_cast<double>(ctx.run.TrackedFlag))
        appendStatement(ctx, objectType, st, slot);
}

} // namespace

void DescribeObject(Integer objectType, Integer mode, ReportContext& ctx) {
    if (objectType < 0 || objectType >= static_cast<Integer>(Labels.size())) {
        ctx.text.append("\n*** PROBLEM - This project uses an Object Type that is unknown to this Project Scanner.  "
                        "Object Type =" +
                        SignedForm(objectType) + " ***");
        return;
    }
    if (mode != MarkUsed && mode != Track)
        return;

    const ObjectSlot& slot = ctx.scene.Scene.slot(ctx.run.CurrentObject);
    for (const ObjectStatement& st : Statements) {
        if (st.type != objectType)
            continue;
        if (st.switchOffset != Always && slot.setting(st.switchOffset) != st.switchValue)
            continue;
        if (st.sentence == ConjunctionResult) {
            resultStatement(ctx, objectType, mode, st, slot);
            continue;
        }
        const Integer flag = slot.setting(st.flagOffset);
        if (mode == MarkUsed) {
            MarkFlagUsed(ctx.run, flag);
            continue;
        }
        if (IsTrackedFlag(ctx.run, flag))
            appendStatement(ctx, objectType, st, slot);
    }
}

} // namespace orv
