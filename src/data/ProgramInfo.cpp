#include "data/ProgramInfo.h"

namespace orv {

std::string versionNumber() {
    return std::to_string(VersionMajor) + "." + std::to_string(VersionMinor) + "." + std::to_string(VersionRevision);
}

std::string versionedTitle() {
    return std::string(ProgramTitle) + " v" + versionNumber();
}

std::string securityFailureMessage() {
    return "There was a project security failure.  Please obtain the correct project files.\r"
           "If you have received this message in error, please send e-mail to '" +
           std::string(SupportAddress) + "'.";
}

} // namespace orv
