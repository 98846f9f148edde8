#pragma once

#include <string>
#include <vector>

namespace orv {

// The four lists the resource audit builds, alive as long as the program.
// The files manager shows them; recycling removes entries from the unused
// lists.
struct AuditLists {
    std::vector<std::string> MissingGfx;    // List1: sorted ignoring case
    std::vector<std::string> MissingMmedia; // List2: sorted ignoring case
    std::vector<std::string> UnusedGfx;     // List3: folder listing order
    std::vector<std::string> UnusedMmedia;  // List4: folder listing order
    bool BuiltInImagesInUse = false;

    void clear() {
        MissingGfx.clear();
        MissingMmedia.clear();
        UnusedGfx.clear();
        UnusedMmedia.clear();
    }
};

} // namespace orv
