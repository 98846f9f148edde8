#pragma once

// File names a project may hold in its media folders that a careless program would mishandle: blanks,
// accents, control characters (line feed, escape sequences, carriage return, tab, DEL, a C1 CSI) and bytes
// that are not valid UTF-8. `shown` is how the scanner displays each (U+FFFD for every control character
// and every byte outside valid UTF-8); the file itself is handled under `name`.

#include <string>
#include <vector>

namespace orv::testing {

struct HostileName {
    const char* label;
    std::string name;
    std::string shown;
};

inline const std::vector<HostileName>& hostileNames() {
    static const std::vector<HostileName> names = {
        {"blanks", "two  blanks .bmp", "two  blanks .bmp"},
        {"leading blank", " leading.gif", " leading.gif"},
        {"accents", "caf\xC3\xA9 \xC3\x9C" "ber.bmp", "caf\xC3\xA9 \xC3\x9C" "ber.bmp"},
        {"forged heading", "x.gif\nMISSING FILES FROM GFX FOLDER (99) *:\nfake.gif",
         "x.gif\uFFFDMISSING FILES FROM GFX FOLDER (99) *:\uFFFDfake.gif"},
        {"clear screen", "esc\x1B[2J.bmp", "esc\uFFFD[2J.bmp"},
        {"window title", "osc\x1B]0;owned\x07.gif", "osc\uFFFD]0;owned\uFFFD.gif"},
        {"carriage return", "cr\rover.bmp", "cr\uFFFDover.bmp"},
        {"tab", "tab\there.bmp", "tab\uFFFDhere.bmp"},
        {"delete", "del\x7F.bmp", "del\uFFFD.bmp"},
        {"C1 CSI", "c1\xC2\x9B" "2J.bmp", "c1\uFFFD2J.bmp"},
        {"invalid UTF-8", "bad\xFF\xFE.bmp", "bad\uFFFD\uFFFD.bmp"},
        {"Latin-1 byte", "caf\xE9.gif", "caf\uFFFD.gif"},
        {"cut sequence", "cut\xE2\x82.bmp", "cut\uFFFD\uFFFD.bmp"},
        {"overlong slash", "over\xC0\xAF.bmp", "over\uFFFD\uFFFD.bmp"},
    };
    return names;
}

} // namespace orv::testing
