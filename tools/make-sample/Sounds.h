#pragma once

// Short 8 kHz mono sounds for the sample project, made with integer
// arithmetic so that every run gives the same samples.

#include <cstdint>
#include <vector>

namespace orv {

inline constexpr std::uint32_t SoundRate = 8000;

std::vector<std::uint8_t> soundOfWaves(int milliseconds);
std::vector<std::uint8_t> soundOfGull(int milliseconds);
std::vector<std::uint8_t> soundOfChime(int milliseconds);
std::vector<std::uint8_t> soundOfSplash(int milliseconds);
std::vector<std::uint8_t> soundOfBeep(int milliseconds);

} // namespace orv
