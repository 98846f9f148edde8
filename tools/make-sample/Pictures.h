#pragma once

// Small procedural pictures for the sample project: whole-scene backdrops and
// inventory-style icons. Integer arithmetic only, so every run paints the
// same pixels.

#include "make-sample/Raster.h"

namespace orv {

struct Outdoor {
    Rgb skyTop, skyBottom, sea;
    int horizonPercent = 60; // the sea starts this far down
    bool tower = false;      // the lighthouse stands on a rock at the right
    bool lampLit = false;
    bool sun = true;         // false: a moon
    int cliffPercent = 0;    // rock on the left, this wide at the bottom
};

struct Indoor {
    Rgb wall, floor, trim;
    bool window = true;
    bool stairs = false;
};

Raster paintOutdoor(const Outdoor& look, int width, int height);
Raster paintIndoor(const Indoor& look, int width, int height);

enum class IconShape { Circle, Box, Diamond, Triangle, Ring, Bar };

// A 32 x 32 icon: the shape filled with `colour`, outlined and lit from the
// top left, on a transparent background.
IndexedImage paintIcon(IconShape shape, Rgb colour);

} // namespace orv
