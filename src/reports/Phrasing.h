#pragma once

#include "data/Types.h"

#include <string>
#include <string_view>

namespace orv {

struct RunState;

// The text between a flag and its comparison value: " = ", " <> ", " < ",
// " > " for codes 0 to 3; any other code gives the empty text, so the flag
// number and the value then run together.
std::string_view ComparisonText(Integer code);

// Refills the unused-flag candidate list with "1" to "255".
void ResetUnusedFlags(RunState& run);

// Removes the first candidate equal to n's plain form. Numbers already
// removed, 0, negatives and numbers above 255 change nothing.
void MarkFlagUsed(RunState& run, Integer n);

// Whether a statement about `flag` is written in Track mode: when it is
// the tracked flag. With EveryFlag on, the statement first makes its flag
// the tracked one (TrackedFlag keeps it afterwards), so it always is.
bool IsTrackedFlag(RunState& run, Integer flag);

// The three phrase patterns every flag sentence is built from.
// "flag #" S(flag), ComparisonText(op), P(value)
std::string FlagCondition(Integer flag, Integer op, Integer value);
// "set flag #" S(flag), " to value ", P(value)
std::string SetFlagPhrase(Integer flag, Integer value);
// "add " P(amount), " to the current value of flag #" S(flag)
std::string AddFlagPhrase(Integer amount, Integer flag);
// The same three, appended to `out`.
void AppendFlagCondition(std::string& out, Integer flag, Integer op, Integer value);
void AppendSetFlagPhrase(std::string& out, Integer flag, Integer value);
void AppendAddFlagPhrase(std::string& out, Integer amount, Integer flag);
// The set phrase, or the add phrase when `adds`.
void AppendChangePhrase(std::string& out, Integer flag, Integer value, bool adds);

} // namespace orv
