#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// A mono 8-bit PCM wave file (samples 0..255, silence at 128).
std::string encodeWav(const std::vector<std::uint8_t>& samples, std::uint32_t sampleRate);

} // namespace orv
