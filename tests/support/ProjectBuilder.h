#pragma once

// A whole game project on disk, described with the data layer's own record
// structs: the .orv file, the five data files and the two media folders.

#include "support/RecordEncoders.h"

#include "data/Records.h"
#include "data/Types.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace orv::testing {

class ProjectBuilder {
public:
    // Stamped into the project file and into record 1 of every data file,
    // whatever the structs' own ProjectLock fields say.
    Integer lock = 0;
    std::string projectFileName = "game.orv";

    PlayerSettingsRecord settings;            // Orvanta4.dat, always one record
    std::vector<SceneRecord> scenes;          // Orvanta1.dat, scene n = scenes[n - 1]
    std::vector<LocationRecord> locations;    // Orvanta2.dat
    std::vector<InventoryItemRecord> items;   // Orvanta3.dat
    std::vector<CueCardRecord> cueCards;      // Orvanta5.dat

    // Files of resource/gfx and resource/mmedia: name -> content.
    std::map<std::string, std::string> gfxFiles;
    std::map<std::string, std::string> mmediaFiles;

    // Data file number (1 to 5) -> the exact bytes to write instead.
    std::map<int, std::vector<std::uint8_t>> rawDataFile;
    // Data file numbers to leave absent (an existing file is removed).
    std::set<int> omitDataFile;
    bool writeGfxFolder = true;
    bool writeMmediaFolder = true;

    // Writes the project into `folder` (created if needed) and returns the
    // path of the project file.
    std::filesystem::path write(const std::filesystem::path& folder) const;

    // The bytes write() puts into data file n (1 to 5), overrides included.
    std::vector<std::uint8_t> dataFileBytes(int n) const;
};

// The file name of data file n: "Orvanta1.dat" to "Orvanta5.dat".
std::string dataFileName(int n);

} // namespace orv::testing
