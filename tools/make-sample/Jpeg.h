#pragma once

#include "make-sample/Raster.h"

#include <string>

namespace orv {

// A baseline JPEG through Qt's image writer. Throws std::runtime_error when
// Qt has no JPEG writer.
std::string encodeJpeg(const Raster& picture, int quality);

} // namespace orv
