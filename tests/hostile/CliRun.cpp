#include "CliRun.h"

#include "audit/DiskNames.h"

namespace orv::testing {

bool isValidUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = validUtf8Length(std::string_view(text).substr(i));
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::vector<std::string> linesUnder(const std::string& report, const std::string& heading) {
    std::vector<std::string> lines;
    std::size_t at = report.find("\n" + heading + "\n");
    if (at == std::string::npos)
        return lines;
    at += heading.size() + 2;
    while (at < report.size()) {
        const std::size_t end = report.find('\n', at);
        const std::string line = report.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (line.empty())
            break;
        lines.push_back(line);
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return lines;
}

} // namespace orv::testing
