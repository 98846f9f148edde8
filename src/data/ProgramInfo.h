#pragma once

#include <string>
#include <string_view>

namespace orv {

inline constexpr std::string_view ApplicationTitle = "Orvanta Project Scanner";
inline constexpr std::string_view ProgramTitle = "Orvanta Project Scanner/ Utility";
inline constexpr int VersionMajor = 3;
inline constexpr int VersionMinor = 1;
inline constexpr int VersionRevision = 0;

// Where an author who gets the security failure in error is asked to write.
inline constexpr std::string_view SupportAddress = "support@orvanta-studio.example";

// "3.1.0"
std::string versionNumber();

// "Orvanta Project Scanner/ Utility v3.1.0": the main window's title before a
// project is loaded, and again after a load fails.
std::string versionedTitle();

// The path box's prompt while no project is loaded.
inline constexpr std::string_view PathPrompt =
    "Click \"Locate\" button to the right to choose an Orvanta Project to scan.   ------->";

// The message shown when the project's files do not belong together; CR is
// the system's line break inside message texts.
inline constexpr std::string_view SecurityFailureMessage =
    "There was a project security failure.  Please obtain the correct project files.\r"
    "If you have received this message in error, please send e-mail to 'support@orvanta-studio.example'.";

} // namespace orv
