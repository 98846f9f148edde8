#pragma once

#include "data/Failure.h"
#include "data/ProjectState.h"
#include "data/Yield.h"

#include <optional>
#include <string>

namespace orv {

struct LoadOutcome {
    enum class Status {
        Loaded,          // the panel and lists are filled
        SecurityFailure, // the files do not belong together (or the check failed)
        Error,           // a data file could not be read or is too large
    };
    Status status = Status::Loaded;
    // The check's own error text, shown before the security failure message.
    std::optional<std::string> unexpectedError;
    // What the author is told: the security failure message, or the error
    // naming the file and the reason. Empty when loaded.
    std::string message;
    // The same as a value, for front ends with their own wording: the file
    // that could not be opened or read, or the lock that differs.
    std::optional<Failure> failure;

    bool loaded() const { return status == Status::Loaded; }
};

// Sets the project's paths from the chosen project file and prepares the
// state for a load: the path box shows the path and the report buttons are
// enabled (they are disabled again if the load fails).
void ChooseProjectFile(ProjectState& project, const std::filesystem::path& projectFile);

// Loads the chosen project: consistency check, counts, project name, the two
// scene lists, the insertable-object count and the panel text. On failure
// the state returns to "no project" (path prompt, empty panel, versioned
// title, report buttons disabled); lists, counts and name keep what an
// earlier load left. Never throws for bad input.
LoadOutcome LoadProject(ProjectState& project, EventLoop& loop);

} // namespace orv
