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

} // namespace orv::ui
