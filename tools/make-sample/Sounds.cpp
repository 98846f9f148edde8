#include "make-sample/Sounds.h"

#include <algorithm>

namespace orv {
namespace {

std::size_t samplesFor(int milliseconds) { return static_cast<std::size_t>(SoundRate) * milliseconds / 1000; }

std::uint8_t toSample(int value) { return static_cast<std::uint8_t>(std::clamp(128 + value, 0, 255)); }

// A fixed linear congruential generator: the same noise on every run.
class Noise {
public:
    int next() {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) & 0xFF) - 128;
    }

private:
    std::uint32_t state_ = 20240601u;
};

// Triangle wave of a phase in 1/65536 of a period, from -64 to 64.
int triangle(std::uint32_t phase) {
    const int p = static_cast<int>(phase & 0xFFFF);
    return p < 32768 ? -64 + p * 128 / 32768 : 64 - (p - 32768) * 128 / 32768;
}

} // namespace

std::vector<std::uint8_t> soundOfWaves(int milliseconds) {
    const std::size_t n = samplesFor(milliseconds);
    std::vector<std::uint8_t> out(n);
    Noise noise;
    int smooth = 0;
    for (std::size_t i = 0; i < n; ++i) {
        smooth += (noise.next() - smooth) / 6; // a gentle low-pass: surf, not hiss
        const int swell = static_cast<int>(i < n / 2 ? i : n - i) * 100 / static_cast<int>(n / 2 + 1);
        out[i] = toSample(smooth * (20 + swell) / 60);
    }
    return out;
}

std::vector<std::uint8_t> soundOfGull(int milliseconds) {
    const std::size_t n = samplesFor(milliseconds);
    std::vector<std::uint8_t> out(n);
    std::uint32_t phase = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const int hz = 1800 - static_cast<int>(i * 900 / n); // a falling cry
        phase += static_cast<std::uint32_t>(hz * 65536 / static_cast<int>(SoundRate));
        const int envelope = static_cast<int>(std::min(i, n - i) * 4 * 100 / n);
        out[i] = toSample(triangle(phase) * std::min(100, envelope) / 100);
    }
    return out;
}

std::vector<std::uint8_t> soundOfChime(int milliseconds) {
    const std::size_t n = samplesFor(milliseconds);
    std::vector<std::uint8_t> out(n);
    std::uint32_t phase = 0, overtone = 0;
    for (std::size_t i = 0; i < n; ++i) {
        phase += 880u * 65536u / SoundRate;
        overtone += 2200u * 65536u / SoundRate;
        const int decay = static_cast<int>((n - i) * 100 / n);
        out[i] = toSample((triangle(phase) + triangle(overtone) / 3) * decay / 100);
    }
    return out;
}

std::vector<std::uint8_t> soundOfSplash(int milliseconds) {
    const std::size_t n = samplesFor(milliseconds);
    std::vector<std::uint8_t> out(n);
    Noise noise;
    for (std::size_t i = 0; i < n; ++i) {
        const int decay = static_cast<int>((n - i) * (n - i) * 100 / (n * n));
        out[i] = toSample(noise.next() * decay / 100);
    }
    return out;
}

std::vector<std::uint8_t> soundOfBeep(int milliseconds) {
    const std::size_t n = samplesFor(milliseconds);
    std::vector<std::uint8_t> out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = toSample(((i * 440 * 2 / SoundRate) % 2) ? 40 : -40);
    return out;
}

} // namespace orv
