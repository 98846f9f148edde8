#pragma once

#include <string>
#include <utility>
#include <vector>

namespace orv {

// A format-0 standard MIDI file playing the notes one after another on one
// instrument: each note is (key, length in ticks of 96 per quarter note).
std::string encodeMidi(int program, const std::vector<std::pair<int, int>>& notes);

} // namespace orv
