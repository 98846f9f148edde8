#include "make-sample/Pictures.h"

#include <algorithm>
#include <cstdlib>

namespace orv {
namespace {

std::uint8_t mix(std::uint8_t a, std::uint8_t b, int num, int den) {
    return static_cast<std::uint8_t>((a * (den - num) + b * num) / den);
}

Rgb mix(Rgb a, Rgb b, int num, int den) {
    return {mix(a.r, b.r, num, den), mix(a.g, b.g, num, den), mix(a.b, b.b, num, den)};
}

Rgb scale(Rgb c, int percent) {
    auto s = [&](std::uint8_t v) { return static_cast<std::uint8_t>(std::min(255, v * percent / 100)); };
    return {s(c.r), s(c.g), s(c.b)};
}

void disc(Raster& r, int cx, int cy, int radius, Rgb colour) {
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x)
            if (x >= 0 && y >= 0 && x < r.width && y < r.height &&
                (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
                r.at(x, y) = colour;
}

void box(Raster& r, int x0, int y0, int x1, int y1, Rgb colour) {
    for (int y = std::max(0, y0); y < std::min(r.height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(r.width, x1); ++x)
            r.at(x, y) = colour;
}

constexpr Rgb kRock{92, 84, 74};
constexpr Rgb kWhite{236, 236, 228};
constexpr Rgb kRed{178, 40, 36};
constexpr Rgb kLamp{255, 226, 120};

} // namespace

Raster paintOutdoor(const Outdoor& look, int width, int height) {
    Raster r(width, height);
    const int horizon = height * look.horizonPercent / 100;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (y < horizon) {
                r.at(x, y) = mix(look.skyTop, look.skyBottom, y, std::max(1, horizon));
            } else {
                const int depth = y - horizon;
                Rgb sea = scale(look.sea, 100 - depth * 30 / std::max(1, height - horizon));
                if ((x + 3 * y + depth * depth / 5) % 13 == 0)
                    sea = mix(sea, kWhite, 1, 2);
                r.at(x, y) = sea;
            }
        }
    const int orbX = width / 5, orbY = horizon / 3, orbR = std::max(2, height / 12);
    disc(r, orbX, orbY, orbR, look.sun ? Rgb{255, 214, 120} : Rgb{224, 228, 236});
    if (look.cliffPercent > 0)
        for (int y = horizon * 2 / 3; y < height; ++y) {
            const int edge = width * look.cliffPercent / 100 * (y - horizon * 2 / 3) / std::max(1, height - horizon * 2 / 3);
            box(r, 0, y, edge + width / 12, y + 1, scale(kRock, 80 + (y % 7) * 4));
        }
    if (look.tower) {
        const int base = horizon + (height - horizon) / 3;
        const int cx = width * 3 / 4, half = std::max(3, width / 24);
        disc(r, cx, base + half, half * 3, kRock);
        const int top = height / 5;
        const int band = std::max(2, (base - top) / 6);
        for (int y = top; y < base; ++y)
            box(r, cx - half, y, cx + half, y + 1, ((y - top) / band) % 2 ? kRed : kWhite);
        box(r, cx - half - 1, top - half * 2, cx + half + 1, top, look.lampLit ? kLamp : Rgb{60, 64, 70});
        box(r, cx - half - 2, top - half * 2 - 2, cx + half + 2, top - half * 2, kRed);
        if (look.lampLit)
            for (int i = 0; i < width / 3; ++i)
                box(r, cx - half - 2 - i, top - half - i / 6, cx - half - 1 - i, top - half + 1 + i / 6,
                    mix(kLamp, r.at(std::max(0, cx - half - 2 - i), top - half), i, width / 3));
    }
    return r;
}

Raster paintIndoor(const Indoor& look, int width, int height) {
    Raster r(width, height);
    const int floorTop = height * 2 / 3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (y < floorTop)
                r.at(x, y) = scale(look.wall, 80 + (x * 20) / width);
            else
                r.at(x, y) = scale(look.floor, ((x / 8 + y / 6) % 2) ? 90 : 75);
        }
    box(r, 0, floorTop - 2, width, floorTop, look.trim);
    if (look.window) {
        const int wx = width / 3, wy = height / 6, ww = width / 3, wh = height / 3;
        box(r, wx - 2, wy - 2, wx + ww + 2, wy + wh + 2, look.trim);
        for (int y = wy; y < wy + wh; ++y)
            box(r, wx, y, wx + ww, y + 1, mix(Rgb{40, 60, 110}, Rgb{150, 170, 200}, y - wy, wh));
        box(r, wx + ww / 2 - 1, wy, wx + ww / 2 + 1, wy + wh, look.trim);
        box(r, wx, wy + wh / 2 - 1, wx + ww, wy + wh / 2 + 1, look.trim);
    }
    if (look.stairs)
        for (int step = 0; step < 6; ++step) {
            const int y = floorTop - step * height / 10;
            box(r, width * 2 / 3 + step * width / 24, y - height / 10, width, y, scale(look.trim, 70 + step * 5));
        }
    return r;
}

IndexedImage paintIcon(IconShape shape, Rgb colour) {
    constexpr int n = 32;
    IndexedImage icon;
    icon.width = n;
    icon.height = n;
    icon.palette = {
        {255, 0, 255}, {16, 16, 20},   colour,          scale(colour, 130), scale(colour, 65), {255, 255, 255},
        {200, 200, 200}, {150, 150, 150}, {100, 100, 100}, {60, 60, 60},      {230, 200, 60},    {40, 90, 170},
        {170, 50, 40},  {60, 130, 70},   {120, 80, 40},   {250, 240, 220},
    };
    icon.transparentIndex = 0;
    icon.pixels.assign(n * n, 0);
    auto inside = [&](int x, int y) {
        const int dx = 2 * x - (n - 1), dy = 2 * y - (n - 1); // doubled distances from the centre
        switch (shape) {
        case IconShape::Circle: return dx * dx + dy * dy <= 26 * 26;
        case IconShape::Box: return std::abs(dx) <= 22 && std::abs(dy) <= 22;
        case IconShape::Diamond: return std::abs(dx) + std::abs(dy) <= 28;
        case IconShape::Triangle: return dy >= -26 && dy <= 24 && 2 * std::abs(dx) <= dy + 26;
        case IconShape::Ring: {
            const int d = dx * dx + dy * dy;
            return d <= 26 * 26 && d >= 14 * 14;
        }
        case IconShape::Bar: return std::abs(dx) <= 28 && std::abs(dy) <= 10;
        }
        return false;
    };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            if (!inside(x, y))
                continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            std::uint8_t index = 2;
            if (edge)
                index = 1;
            else if (x + y < n * 3 / 4)
                index = 3;
            else if (x + y > n * 5 / 4)
                index = 4;
            icon.pixels[static_cast<std::size_t>(y * n + x)] = index;
        }
    return icon;
}

} // namespace orv
