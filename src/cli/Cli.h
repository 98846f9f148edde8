#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace orv {

// Exit statuses of orvanta-scan.
inline constexpr int ExitOk = 0;
inline constexpr int ExitMissingFiles = 1; // files --fail-on-missing found a missing file
inline constexpr int ExitUsage = 2;
inline constexpr int ExitProjectFailed = 3; // the project did not load
inline constexpr int ExitOutputFailed = 4;  // -o FILE could not be written

struct CliStreams {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false; // draw a progress bar on err
};

// Runs orvanta-scan with its arguments (without the program name) and
// returns the exit status. All output goes through `streams`.
int runCli(const std::vector<std::string>& args, CliStreams streams);

} // namespace orv
