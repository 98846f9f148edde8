#pragma once

#include "data/Types.h"

#include <cstdint>

namespace orv {

// What kind of guard an object's test is: a change of the same object
// happens only while it holds.
enum class ObjectGuard : std::uint8_t {
    None,        // a change, or no such statement
    Visibility,  // "Visible when": the object is there only while it holds
    Activation,  // "Activated when" (Responder, Delay)
    Trigger,     // a Multi-Trigger's trigger condition (row 0 to 2: trigger 1 to 3)
    Conjunction, // one of a Flag Conjunction's conditions (row 0 to 5: A to F)
};

// The role of statement `row` of an object type (FlagStatement::row), from
// the table of every type's statements. A change's `guardedBy` has bit r set
// for each row r of the same object whose test guards it: Ambient, HotSpot,
// Goodie and Reactor changes and a Switch's positions by the visibility, a
// Responder's and a Delay's change by the activation, trigger t's change by
// trigger t's condition, a Flag Conjunction's result by all six conditions.
// A guard whose switch is off is absent. Unknown types and rows give {}.
struct ObjectStatementRole {
    std::uint8_t guardedBy = 0;
    ObjectGuard guard = ObjectGuard::None;
    bool positions = false;         // a Switch's two positions: both values are set
    bool conjunctionResult = false; // a Flag Conjunction's result: flag and value are texts
};
ObjectStatementRole ObjectStatementRoleOf(Integer objectType, std::uint8_t row);

// The most statements one object makes: a Flag Conjunction's six conditions
// and its result.
inline constexpr int MostStatementsPerObject = 7;

} // namespace orv
