#pragma once

// No Qt here: GIO's headers and Qt's `signals` keyword cannot meet in one
// translation unit.

#include <filesystem>
#include <string>

namespace orv::ui {

struct OpenOutcome {
    bool opened = false;
    // Why nothing was started, in the system's words.
    std::string reason;
};

// Starts the desktop's default program for `file` through GIO. Opened means
// a program was found for the file's type and started; a type no program is
// registered for, or a program that cannot be started, is not.
OpenOutcome OpenWithGio(const std::filesystem::path& file);

struct TrashOutcome {
    bool moved = false;
    // Why the file stayed where it is, in the system's words.
    std::string reason;
};

// Moves one file to the freedesktop.org Trash through GIO: the home Trash
// (created when the data folder or the Trash does not exist yet) for files
// on the home's file system, the mount's own .Trash-UID folder for files on
// other file systems; the info file holds the URL-encoded original path.
TrashOutcome MoveToGioTrash(const std::filesystem::path& file);

} // namespace orv::ui
