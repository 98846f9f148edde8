#include "data/Failure.h"

#include <cstring>

namespace orv {

std::string describeFailure(const Failure& f) {
    const std::string path = f.path.string();
    switch (f.kind) {
    case FailureKind::CannotOpen:
    case FailureKind::FileMissing: return path + ": cannot open (" + f.reason + ")";
    case FailureKind::CannotRead: return path + ": cannot read the file (" + f.reason + ")";
    case FailureKind::CannotCreate: return path + ": cannot create the missing file (" + f.reason + ")";
    case FailureKind::NotOrdinaryFile: return path + ": " + f.reason;
    case FailureKind::LinkRefused: return path + ": refused to follow the link (" + f.reason + ")";
    case FailureKind::ResourceFolderMissing: return path + ": the project has no resource folder (" + f.reason + ")";
    case FailureKind::FolderUnlistable: return path + ": cannot list the folder (" + f.reason + ")";
    case FailureKind::TooManyRecords: return path + ": " + f.reason;
    case FailureKind::LockMismatch:
        return path + ": its project lock is " + std::to_string(f.foundLock) + ", the project file's is " +
               std::to_string(f.expectedLock);
    case FailureKind::WriteFailed: return path + ": cannot write (" + f.reason + ")";
    }
    return path + ": " + f.reason;
}

Failure systemFailure(FailureKind kind, int err, std::filesystem::path path) {
    return Failure{kind, std::move(path), std::strerror(err), err};
}

} // namespace orv
