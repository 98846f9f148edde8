#include "findings/Baseline.h"

#include <cerrno>
#include <fstream>

namespace orv {

Result<Baseline> Baseline::read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return systemFailure(FailureKind::CannotOpen, errno, file);
    Baseline baseline;
    std::string line;
    std::size_t lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty() || line.front() == '#')
            continue;
        const std::string fingerprint = line.substr(0, line.find(' '));
        if (fingerprint.size() != 16 || fingerprint.find_first_not_of("0123456789abcdef") != std::string::npos)
            return Failure{FailureKind::CannotRead, file,
                           "line " + std::to_string(lineNo) + " does not start with a finding's fingerprint"};
        baseline.fingerprints_.insert(fingerprint);
    }
    if (in.bad())
        return systemFailure(FailureKind::CannotRead, errno, file);
    return baseline;
}

void WriteBaselineHeader(std::ostream& out) {
    out << "# orvanta-scan baseline: the findings known so far, one a line, its fingerprint first.\n"
        << "# orvanta-scan check --baseline FILE reports only the findings that are not here.\n";
}

void WriteBaselineLine(std::ostream& out, const Finding& f, Level level) {
    std::string line = Fingerprint(f);
    line.append(" ").append(LevelName(level)).append(" ").append(FindingClassName(f.findingClass)).append(" ");
    if (!f.place.empty())
        line.append(f.place).append(": ");
    line.append(f.message).append("\n");
    out << line;
}

} // namespace orv
