#include "make-sample/Midi.h"

#include <cstdint>

namespace orv {
namespace {

void putBig32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

// Delta times are variable-length quantities, seven bits per byte, most
// significant first.
void putDelta(std::string& out, std::uint32_t v) {
    std::string bytes(1, static_cast<char>(v & 0x7F));
    while (v >>= 7)
        bytes.insert(bytes.begin(), static_cast<char>(0x80 | (v & 0x7F)));
    out += bytes;
}

} // namespace

std::string encodeMidi(int program, const std::vector<std::pair<int, int>>& notes) {
    std::string track;
    putDelta(track, 0);
    track += "\xFF\x51\x03\x07\xA1\x20"; // tempo: 500000 microseconds per quarter note
    putDelta(track, 0);
    track += static_cast<char>(0xC0);
    track += static_cast<char>(program & 0x7F);
    for (const auto& [key, length] : notes) {
        putDelta(track, 0);
        track += static_cast<char>(0x90);
        track += static_cast<char>(key & 0x7F);
        track += static_cast<char>(0x50);
        putDelta(track, static_cast<std::uint32_t>(length));
        track += static_cast<char>(0x80);
        track += static_cast<char>(key & 0x7F);
        track += static_cast<char>(0x40);
    }
    putDelta(track, 0);
    track += std::string("\xFF\x2F\x00", 3);

    std::string out = "MThd";
    putBig32(out, 6);
    out += std::string("\x00\x00\x00\x01\x00\x60", 6); // format 0, one track, 96 ticks per quarter
    out += "MTrk";
    putBig32(out, static_cast<std::uint32_t>(track.size()));
    out += track;
    return out;
}

} // namespace orv
