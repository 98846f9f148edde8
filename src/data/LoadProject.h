#pragma once

#include "data/Project.h"
#include "data/Result.h"
#include "data/Yield.h"

namespace orv {

// A loaded project with its data files still open.
struct OpenProject {
    LoadedProject project;
    ProjectFiles files;
};

struct LoadOptions {
    // Reads the scene file into memory once, so that the passes of the run
    // that follows read it from there: for a caller that reports at once.
    bool holdScenesInMemory = false;
};

// Loads the project at `paths`: the consistency check (ProjLockMatch; the
// files it compared stay open), then LoadCheckedProject.
Result<OpenProject> LoadProject(const ProjectPaths& paths, EventLoop& loop, LoadOptions options = {});

// What loading does once the consistency check has passed, over the files
// it opened: the counts and the project name, then one pass over the scene
// file for the scene names, the insertable-object count and the lock state.
// Yields at the points loading always has.
Result<OpenProject> LoadCheckedProject(const ProjectPaths& paths, ProjectFiles files, EventLoop& loop,
                                       LoadOptions options = {});

// Opens the five data files again for a report run of a project loaded
// earlier, in the order player settings, cue cards, inventory items,
// locations, scenes, and refreshes the counts of `project` (and its name,
// when the player settings are exactly one record long). Yields twice.
Result<ProjectFiles> OpenDataFiles(LoadedProject& project, EventLoop& loop);

} // namespace orv
