#pragma once

// A whole game project on disk, described with the data layer's own record structs: the .orv file, the
// five data files and the two media folders.

#include "support/RecordEncoders.h"

#include <filesystem>
#include <map>
#include <set>

namespace orv::testing {

class ProjectBuilder {
public:
    Integer lock = 0; // stamped into the .orv file and record 1 of every data file, whatever the structs say
    std::string projectFileName = "game.orv";

    PlayerSettingsRecord settings;          // Orvanta4.dat, always one record
    std::vector<SceneRecord> scenes;        // Orvanta1.dat, scene n = scenes[n - 1]
    std::vector<LocationRecord> locations;  // Orvanta2.dat
    std::vector<InventoryItemRecord> items; // Orvanta3.dat
    std::vector<CueCardRecord> cueCards;    // Orvanta5.dat

    std::map<std::string, std::string> gfxFiles;    // resource/gfx: name -> content
    std::map<std::string, std::string> mmediaFiles; // resource/mmedia: name -> content
    bool writeGfxFolder = true;
    bool writeMmediaFolder = true;

    std::map<int, std::vector<std::uint8_t>> rawDataFile; // data file n (1 to 5) -> the exact bytes instead
    std::set<int> omitDataFile; // data files left absent (an existing one is removed)

    // Writes the project into `folder` (created if needed); returns the path of the project file.
    std::filesystem::path write(const std::filesystem::path& folder) const;
    // The bytes write() puts into data file n (1 to 5), overrides included.
    std::vector<std::uint8_t> dataFileBytes(int n) const;
};

std::string dataFileName(int n); // "Orvanta1.dat" to "Orvanta5.dat"; other numbers throw

} // namespace orv::testing
