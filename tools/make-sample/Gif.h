#pragma once

#include "make-sample/Raster.h"

#include <string>

namespace orv {

// A GIF89a of one frame with a 16-colour global palette.
std::string encodeGif(const IndexedImage& picture);

} // namespace orv
