#include "make-sample/Wav.h"

#include "make-sample/LittleEndian.h"

namespace orv {

std::string encodeWav(const std::vector<std::uint8_t>& samples, std::uint32_t sampleRate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size());
    const std::uint32_t pad = dataBytes % 2; // RIFF chunks are word-aligned
    std::string out = "RIFF";
    put32(out, 4 + (8 + 16) + (8 + dataBytes + pad));
    out += "WAVE";
    out += "fmt ";
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, sampleRate);
    put32(out, sampleRate); // bytes per second
    put16(out, 1);          // block align
    put16(out, 8);          // bits per sample
    out += "data";
    put32(out, dataBytes);
    out.append(samples.begin(), samples.end());
    if (pad)
        out += '\0';
    return out;
}

} // namespace orv
