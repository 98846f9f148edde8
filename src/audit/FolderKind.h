#pragma once

#include "data/Types.h"

namespace orv {

// The media folder a resource file belongs to. The values are the codes the
// audit has always used for the two folders.
enum class FolderKind : Integer {
    Mmedia = 1, // resource/mmedia: sound, music and video
    Gfx = 2,    // resource/gfx: pictures and everything else
};

} // namespace orv
