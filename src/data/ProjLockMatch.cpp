#include "data/ProjLockMatch.h"

#include "data/RecordLayouts.h"

#include <array>
#include <optional>

namespace orv {
namespace L = layout;

namespace {

// Where data file n (1 to 5) keeps the lock in its record 1, and whether an
// empty file counts as carrying the reference value.
struct Lock {
    std::size_t offset;
    bool emptyMatches;
};

constexpr std::array<Lock, 5> Locks = {{
    {field(L::SceneHeader, "ProjectLock").offset, false},
    {field(L::LocationRecord, "ProjectLock").offset, false},
    {field(L::InventoryItemRecord, "ProjectLock").offset, true},
    {field(L::PlayerSettingsRecord, "ProjectLock").offset, false},
    {field(L::CueCardRecord, "ProjectLock").offset, true},
}};

} // namespace

Result<ProjectFiles> ProjLockMatch(const ProjectPaths& paths) {
    const Result<ProjectRecord> project = readProjectRecord(paths.ProjectFilePath);
    if (!project)
        return project.failure();
    const Integer reference = project->ProjectLock;
    std::vector<RecordFile> files;
    std::optional<Failure> mismatch;
    for (std::size_t i = 0; i < Locks.size(); ++i) {
        const Lock& lock = Locks[i];
        Result<RecordFile> file =
            RecordFile::openDataFile(paths.ProjectFolder, DataFileNames[i], DataFileRecordLengths[i]);
        if (!file)
            return std::move(file).failure();
        Integer value = reference;
        // Only a file with no bytes at all is "empty": any bytes, even less
        // than a record, mean record 1 is read.
        if (!lock.emptyMatches || file->length() != 0) {
            const Result<std::vector<std::uint8_t>> record = file->readRecord(1);
            if (!record)
                return record.failure();
            value = readInteger(*record, lock.offset);
        }
        if (value != reference && !mismatch)
            mismatch = Failure{FailureKind::LockMismatch, file->path(), "another project's lock", 0, reference, value};
        files.push_back(std::move(*file));
    }
    if (mismatch)
        return *mismatch;
    return ProjectFiles{std::move(files[0]), std::move(files[1]), std::move(files[2]), std::move(files[3]),
                        std::move(files[4])};
}

} // namespace orv
