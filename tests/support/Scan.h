#pragma once

// orvanta-scan run in the test process with its output captured, and what the tests ask of its output.

#include "cli/Cli.h"
#include "data/Text.h"

#include <sstream>
#include <string>
#include <vector>

namespace orv::testing {

struct ScanResult {
    int status;
    std::string out, err;
};

// `terminal`: both standard output and standard error are terminals.
inline ScanResult runScan(const std::vector<std::string>& args, bool terminal = false) {
    std::ostringstream out, err;
    const int status = runCli(args, {out, err, terminal, terminal});
    return {status, out.str(), err.str()};
}

// The same with "--format json" added.
inline ScanResult runScanJson(std::vector<std::string> args, bool terminal = false) {
    args.insert(args.end(), {"--format", "json"});
    return runScan(args, terminal);
}

inline bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0, n = 0; i < text.size(); i += n)
        if ((n = validUtf8Length(text.substr(i))) == 0)
            return false;
    return true;
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The lines under the line `heading`, up to the next empty line.
inline std::vector<std::string> linesUnder(const std::string& report, const std::string& heading) {
    std::vector<std::string> lines, under;
    lines = linesOf(report);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == heading) {
            for (std::size_t j = i + 1; j < lines.size() && !lines[j].empty(); ++j)
                under.push_back(lines[j]);
            break;
        }
    return under;
}

} // namespace orv::testing
