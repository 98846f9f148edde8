#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A true-colour picture, row 0 at the top.
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Raster(int w, int h, Rgb fill = {}) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), fill) {}
    Rgb& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    const Rgb& at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// A picture of at most 16 palette colours, for GIF.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette;          // 16 entries
    std::vector<std::uint8_t> pixels;  // palette indices, row 0 at the top
    int transparentIndex = -1;         // -1: none
};

} // namespace orv
