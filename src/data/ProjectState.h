#pragma once

#include "data/ProgramInfo.h"
#include "data/ProjectPaths.h"
#include "data/Types.h"

#include <string>
#include <vector>

namespace orv {

// Everything a load leaves behind for the reports and the windows: paths,
// counts, the project name, the two scene lists and the panel text. Owned by
// the front end and passed by reference; it lives from one load to the next.
struct ProjectState {
    ProjectPaths Paths;
    std::string PathBox{PathPrompt}; // the main window's path box (Text1)

    Integer SceneCount = 0;
    Integer LocationCount = 0;
    Integer InventoryItemCount = 0;
    Integer CueCardCount = 0;
    std::string ProjectName;

    // Entry 0 is "(Not A Scene)"; entry s is the name of scene s.
    std::vector<std::string> SceneListBox;
    // The scene picker's list: entry 0 "Choose a scene...", entry s "s (name)".
    std::vector<std::string> Combo1;
    int Combo1Index = -1;

    int InsertableObjectCount = 0;
    bool SecurityOn = false;
    std::string PInfo;                      // the "Project Information" panel
    std::string Caption = versionedTitle(); // the main window's title
    bool ReportsEnabled = false;            // the five report buttons
    bool Loaded = false;                    // a load has succeeded and nothing failed since

    // The scene name used in sentences: entry n of SceneListBox, or the
    // empty text for a number with no entry.
    const std::string& sceneName(long n) const;
};

} // namespace orv
