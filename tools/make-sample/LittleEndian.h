#pragma once

#include <cstdint>
#include <string>

namespace orv {

// Appends little-endian integers, the byte order of BMP, GIF and WAV files.
inline void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

inline void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace orv
