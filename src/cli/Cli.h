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
inline constexpr int ExitOutputFailed = 4;  // the report could not be written (standard output or -o FILE)
inline constexpr int ExitIncomplete = 5;    // files: a media folder could not be listed (checked incompletely)

struct CliStreams {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false; // draw a progress bar on err, and escape control characters there
    bool outIsTerminal = false; // escape control characters in what goes to out
};

// Runs orvanta-scan with its arguments (without the program name) and
// returns the exit status. All output goes through `streams`; every write of
// a report is checked, the final flush included (an FdStreamBuf behind `out`
// lets the message give the system's reason).
int runCli(const std::vector<std::string>& args, CliStreams streams);

} // namespace orv
