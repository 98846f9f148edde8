#pragma once

#include "data/Types.h"

#include <string>
#include <string_view>

namespace orv {

// The text between a flag and its comparison value: " = ", " <> ", " < ",
// " > " for codes 0 to 3; any other code gives the empty text, so the flag
// number and the value then run together.
std::string_view ComparisonText(Integer code);

// The three phrase patterns every flag sentence is built from, appended to
// `out`: "flag #" S(flag), ComparisonText(op), P(value); "set flag #"
// S(flag), " to value ", P(value); "add " P(amount), " to the current value
// of flag #" S(flag).
void AppendFlagCondition(std::string& out, Integer flag, Integer op, Integer value);
void AppendSetFlagPhrase(std::string& out, Integer flag, Integer value);
void AppendAddFlagPhrase(std::string& out, Integer amount, Integer flag);
// The set phrase, or the add phrase when `adds`.
void AppendChangePhrase(std::string& out, Integer flag, Integer value, bool adds);

} // namespace orv
