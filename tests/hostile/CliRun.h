#pragma once

// Running orvanta-scan in the test process, with its output captured.

#include "cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace orv::testing {

struct CliResult {
    int status;
    std::string out, err;
};

inline CliResult runScan(const std::vector<std::string>& args, bool terminal = false) {
    std::ostringstream out, err;
    const int status = runCli(args, {out, err, terminal, terminal});
    return {status, out.str(), err.str()};
}

// True when every byte of `text` belongs to a valid UTF-8 sequence.
bool isValidUtf8(const std::string& text);

// The lines under a report heading that ends in "(n) *:" or "(n) **:", up to the next empty line.
std::vector<std::string> linesUnder(const std::string& report, const std::string& heading);

} // namespace orv::testing
