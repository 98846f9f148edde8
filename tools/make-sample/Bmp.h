#pragma once

#include "make-sample/Raster.h"

#include <string>

namespace orv {

// An uncompressed 24-bit Windows bitmap.
std::string encodeBmp(const Raster& picture);

} // namespace orv
