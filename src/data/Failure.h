#pragma once

#include "data/Types.h"

#include <filesystem>
#include <string>

namespace orv {

// What went wrong with one file or folder, as a value each front end words
// in its own way: the desktop puts the description into its message boxes,
// the command line prints it on stderr.
enum class FailureKind {
    CannotOpen,            // the system refused to open the file or folder
    FileMissing,           // the file does not exist (and is not to be created)
    CannotRead,            // a read or seek failed
    CannotCreate,          // a missing data file could not be created
    NotOrdinaryFile,       // a folder, pipe, socket or device where a file belongs
    LinkRefused,           // a link that names nothing, or something other than an ordinary file
    ResourceFolderMissing, // no "resource" folder beside the project file
    FolderUnlistable,      // a media folder that exists but cannot be listed
    TooManyRecords,        // more records than a 16-bit count holds
    LockMismatch,          // a data file carries another project's lock
    WriteFailed,           // a report could not be written
};

struct Failure {
    FailureKind kind = FailureKind::CannotOpen;
    std::filesystem::path path;
    // The system's reason (strerror) or, where no system call failed, what
    // is wrong in a few words.
    std::string reason;
    // The errno behind `reason` when a system call failed, else 0.
    int error = 0;
    // LockMismatch only: the project file's lock and the one this file holds.
    Integer expectedLock = 0;
    Integer foundLock = 0;
};

// "PATH: what happened (reason)", one line, for any front end that has no
// wording of its own for a kind.
std::string describeFailure(const Failure& failure);

// The Failure for a system call that failed with errno `err` on `path`.
Failure systemFailure(FailureKind kind, int err, std::filesystem::path path);

} // namespace orv
