#pragma once

#include "data/Types.h"

#include <array>
#include <optional>
#include <string_view>

namespace orv {

// The object types by ObjectType code. A slot may hold any other code: the
// scanner does not know such a type, and says so.
enum class ObjectType : Integer {
    Ambient = 0,
    HotSpot = 1,
    Goodie = 2,
    Switch = 3,
    Reactor = 4,
    Responder = 5,
    Delay = 6,
    MultiTrigger = 7,
    Conversation = 8,
    FlagConjunction = 9,
};

// The names the reports give the types, by code.
inline constexpr std::array<std::string_view, 10> ObjectTypeNames = {
    "Ambient",   "HotSpot", "Goodie",        "Switch",       "Reactor",
    "Responder", "Delay",   "Multi-Trigger", "Conversation", "Flag Conjunction",
};

constexpr bool IsKnownObjectType(Integer code) {
    return code >= 0 && code < static_cast<Integer>(ObjectTypeNames.size());
}

constexpr bool IsObjectType(Integer code, ObjectType type) {
    return code == static_cast<Integer>(type);
}

// The name of a known type; empty for an empty slot and unknown codes.
constexpr std::optional<std::string_view> ObjectTypeName(Integer code) {
    if (!IsKnownObjectType(code))
        return std::nullopt;
    return ObjectTypeNames[static_cast<std::size_t>(code)];
}

} // namespace orv
