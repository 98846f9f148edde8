#pragma once

#include "data/Types.h"

#include <array>
#include <optional>
#include <string_view>

namespace orv {

// The object types by ObjectType code, as the reports name them.
inline constexpr std::array<std::string_view, 10> ObjectTypeNames = {
    "Ambient",   "HotSpot", "Goodie",        "Switch",       "Reactor",
    "Responder", "Delay",   "Multi-Trigger", "Conversation", "Flag Conjunction",
};

// The name of a known type; empty for -1 (an empty slot) and unknown codes.
constexpr std::optional<std::string_view> ObjectTypeName(Integer type) {
    if (type < 0 || type >= static_cast<Integer>(ObjectTypeNames.size()))
        return std::nullopt;
    return ObjectTypeNames[static_cast<std::size_t>(type)];
}

} // namespace orv
