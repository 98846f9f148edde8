#pragma once

#include "data/Project.h"
#include "data/Result.h"
#include "data/Yield.h"

#include <memory>

namespace orv {

// A loaded project with its data files still open, and, when loading left
// the scene file to the report's pass, the table that pass fills.
struct OpenProject {
    OpenProject(LoadedProject project, ProjectFiles files);
    OpenProject(OpenProject&& other) noexcept;
    OpenProject& operator=(OpenProject&&) = delete;

    LoadedProject project;
    ProjectFiles files;
    std::unique_ptr<SceneTable> pending;

    ProjectSource source() { return {project, files, pending.get()}; }
};

struct LoadOptions {
    // Leaves the scene names, objects and lock state to the first pass of the
    // report that follows (see SceneTable): for a caller that reports at once.
    bool deferScenes = false;
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
