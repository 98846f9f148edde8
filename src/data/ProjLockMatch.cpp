#include "data/ProjLockMatch.h"

#include "data/FileError.h"
#include "data/RecordFile.h"
#include "data/RecordLayouts.h"
#include "data/Records.h"

#include <array>

namespace orv {
namespace L = layout;

namespace {

struct LockedFile {
    std::string_view relative;
    std::size_t recordLength;
    std::size_t lockOffset;
    bool emptyMatches; // an empty file counts as carrying the reference value
};

constexpr std::array<LockedFile, 5> kLockedFiles = {{
    {"resource/Orvanta1.dat", L::SceneRecordLength, field(L::SceneHeader, "ProjectLock").offset, false},
    {"resource/Orvanta2.dat", L::LocationRecordLength, field(L::LocationRecord, "ProjectLock").offset, false},
    {"resource/Orvanta3.dat", L::InventoryItemRecordLength, field(L::InventoryItemRecord, "ProjectLock").offset, true},
    {"resource/Orvanta4.dat", L::PlayerSettingsRecordLength, field(L::PlayerSettingsRecord, "ProjectLock").offset,
     false},
    {"resource/Orvanta5.dat", L::CueCardRecordLength, field(L::CueCardRecord, "ProjectLock").offset, true},
}};

std::string unexpectedErrorText(int number, const std::string& description) {
    return "Unexpected error in procedure: ProjLockMatch\r\nError #" + std::to_string(number) + ": " + description;
}

} // namespace

LockCheck ProjLockMatch(const ProjectPaths& paths) {
    try {
        const Integer reference = readProjectRecord(paths.ProjectFilePath).ProjectLock;
        int matches = 0;
        std::optional<Failure> mismatch;
        for (const LockedFile& lf : kLockedFiles) {
            const RecordFile file = RecordFile::openDataFile(paths.ProjectFolder, lf.relative, lf.recordLength);
            Integer value = 0;
            // Only a file with no bytes at all is "empty": any bytes, even
            // less than a record, mean record 1 is read.
            if (lf.emptyMatches && file.length() == 0)
                value = reference;
            else
                value = readInteger(file.readRecord(1), lf.lockOffset);
            if (value == reference)
                ++matches;
            else if (!mismatch)
                mismatch = Failure{FailureKind::LockMismatch, file.path(), "another project's lock", reference, value};
        }
        return {matches == static_cast<int>(kLockedFiles.size()), std::nullopt, mismatch};
    } catch (const FileError& e) {
        return {false, unexpectedErrorText(e.number(), e.what()), e.failure()};
    } catch (const std::exception& e) {
        return {false, unexpectedErrorText(ErrPathFileAccess, e.what()), std::nullopt};
    }
}

} // namespace orv
