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

// What loading takes from the scene file (the scene names, the insertable
// objects, the lock state), filled as the scene records come by, in order.
// Loading fills it in a pass of its own; a command that reads every scene
// anyway leaves it to that pass, so that the scene file is read once.
class SceneTable {
  public:
    SceneTable(LoadedProject& project, const RecordFile& scenes);
    // Takes scene `sceneNo`'s name, objects and lock from its record when it
    // is the next scene due; otherwise nothing.
    void add(long sceneNo, RecordBytes record);
    // The name of scene n: from the table, or read alone from the scene file
    // when no pass has come to it yet (empty when there is no such scene).
    const std::string& name(long n);
    // Reads the scenes no pass came to; afterwards the project is loaded.
    Result<void> complete();
    bool completed() const { return next_ > project_->SceneCount; }
    // The project and scene file moved: the table follows them.
    void rebind(LoadedProject& project, const RecordFile& scenes) {
        project_ = &project;
        scenes_ = &scenes;
    }

  private:
    LoadedProject* project_;
    const RecordFile* scenes_;
    long next_ = 1;
    int objects_ = 0;
    std::vector<std::pair<long, std::string>> ahead_; // names read before their turn
};

// A loaded project and its open data files: what every pass over a project
// reads. `pending`, when set, is the scene table the pass fills as it reads
// the scenes (see SceneTable).
struct ProjectSource {
    const LoadedProject& project;
    const ProjectFiles& files;
    SceneTable* pending = nullptr;

    // Hands a scene record to the pending table, if any.
    void sceneRead(long sceneNo, RecordBytes record) const {
        if (pending)
            pending->add(sceneNo, record);
    }
    // Finishes the pending table, if any.
    Result<void> completeScenes() const { return pending ? pending->complete() : Result<void>(); }
    const std::string& sceneName(long n) const { return pending ? pending->name(n) : project.sceneName(n); }
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
