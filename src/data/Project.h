#pragma once

#include "data/ProjectPaths.h"
#include "data/RecordFile.h"
#include "data/Records.h"
#include "data/Result.h"
#include "data/Types.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// What a load knows of a project, from one load to the next: where it is,
// its name and lock state, the counts and the names of its scenes. Owned by
// the front end; screen state (the path box, the panel, the title, the
// scene picker's list) is the front end's own.
struct LoadedProject {
    ProjectPaths Paths;
    std::string ProjectName;
    // The name was read from the player settings, which is exactly one
    // record long; otherwise the name stays as it was.
    bool NameRead = false;
    bool SecurityOn = false;

    Integer SceneCount = 0;
    Integer LocationCount = 0;
    Integer InventoryItemCount = 0;
    Integer CueCardCount = 0;
    int InsertableObjectCount = 0;

    // Entry 0 is "(Not A Scene)"; entry s is the name of scene s.
    std::vector<std::string> SceneNames;

    // The scene name used in sentences: entry n of SceneNames, or the empty
    // text for a number with no entry.
    const std::string& sceneName(long n) const;
};

// The five data files, open for the length of one command or one report
// run; closing them is destroying this object. Each path is spelled as the
// file is on disk.
struct ProjectFiles {
    RecordFile Scenes;         // Orvanta1.dat
    RecordFile Locations;      // Orvanta2.dat
    RecordFile InventoryItems; // Orvanta3.dat
    RecordFile PlayerSettings; // Orvanta4.dat
    RecordFile CueCards;       // Orvanta5.dat
};

// A loaded project and its open data files: what every pass over a project
// reads.
struct ProjectSource {
    const LoadedProject& project;
    const ProjectFiles& files;
};

// Data file n (1 to 5), relative to the project folder, and its record length.
inline constexpr std::array<std::string_view, 5> DataFileNames = {"resource/Orvanta1.dat", "resource/Orvanta2.dat",
                                                                  "resource/Orvanta3.dat", "resource/Orvanta4.dat",
                                                                  "resource/Orvanta5.dat"};
extern const std::array<std::size_t, 5> DataFileRecordLengths;
const RecordFile& dataFile(const ProjectFiles& files, int n);

// The player settings: always record 1.
Result<PlayerSettingsRecord> ReadPlayerSettings(const ProjectFiles& files);

// The "Project Information" panel: location, name, lock state and counts,
// one per line. Every report's header holds it verbatim.
std::string ProjectInformation(const LoadedProject& project);

} // namespace orv
