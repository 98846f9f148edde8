#include "data/ProgramInfo.h"

namespace orv {

std::string versionNumber() {
    return std::to_string(VersionMajor) + "." + std::to_string(VersionMinor) + "." + std::to_string(VersionRevision);
}

std::string versionedTitle() {
    return std::string(ProgramTitle) + " v" + versionNumber();
}

} // namespace orv
