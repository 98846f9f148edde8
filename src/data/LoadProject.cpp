#include "data/LoadProject.h"

#include "data/ProjLockMatch.h"
#include "data/RecordLayouts.h"

#include <algorithm>
#include <array>
#include <optional>

namespace orv {

namespace L = layout;

const std::string& LoadedProject::sceneName(long n) const {
    static const std::string none;
    if (n < 0 || static_cast<std::size_t>(n) >= SceneNames.size())
        return none;
    return SceneNames[static_cast<std::size_t>(n)];
}

const std::array<std::size_t, 5> DataFileRecordLengths = {L::SceneRecordLength, L::LocationRecordLength,
                                                          L::InventoryItemRecordLength, L::PlayerSettingsRecordLength,
                                                          L::CueCardRecordLength};

const RecordFile& dataFile(const ProjectFiles& files, int n) {
    switch (n) {
    case 1: return files.Scenes;
    case 2: return files.Locations;
    case 3: return files.InventoryItems;
    case 4: return files.PlayerSettings;
    default: return files.CueCards;
    }
}

SceneTable::SceneTable(LoadedProject& project, const RecordFile& scenes) : project_(&project), scenes_(&scenes) {
    project.SceneNames.assign(1, "(Not A Scene)");
    project.SceneNames.reserve(static_cast<std::size_t>(std::max<Integer>(project.SceneCount, 0)) + 1);
    project.SecurityOn = false;
    project.InsertableObjectCount = 0;
}

OpenProject::OpenProject(LoadedProject p, ProjectFiles f) : project(std::move(p)), files(std::move(f)) {}

OpenProject::OpenProject(OpenProject&& other) noexcept
    : project(std::move(other.project)), files(std::move(other.files)), pending(std::move(other.pending)) {
    if (pending)
        pending->rebind(project, files.Scenes);
}

// Decodes only what the panel and the scene list need: the name, the slot
// types, and scene 1's project lock.
void SceneTable::add(long sceneNo, RecordBytes record) {
    if (sceneNo != next_ || completed())
        return;
    constexpr Field typeField = field(L::ObjectSlot, "ObjectType");
    if (sceneNo == 1)
        project_->SecurityOn = readInteger(record, field(L::SceneHeader, "ProjectLock")) != 0;
    project_->SceneNames.push_back(readText(record, field(L::SceneHeader, "SceneName")));
    for (std::size_t k = 1; k <= L::ObjectSlotCount; ++k)
        if (readInteger(record, L::objectSlotStart(k) + typeField.offset) != EmptySlot)
            ++objects_;
    project_->InsertableObjectCount = objects_;
    ++next_;
}

const std::string& SceneTable::name(long n) {
    static const std::string none;
    if (n < next_ || n < 1 || n > project_->SceneCount)
        return project_->sceneName(n);
    for (const auto& [scene, name] : ahead_)
        if (scene == n)
            return name;
    constexpr Field nameField = field(L::SceneHeader, "SceneName");
    std::vector<std::uint8_t> record;
    if (!scenes_->readRecords(n, 1, record))
        return none;
    if (ahead_.size() >= 64)
        ahead_.erase(ahead_.begin());
    return ahead_.emplace_back(n, readText(record, nameField)).second;
}

Result<void> SceneTable::complete() {
    RecordReader reader(*scenes_);
    while (!completed()) {
        const Result<RecordBytes> record = reader.record(next_);
        if (!record)
            return record.failure();
        add(next_, *record);
    }
    return {};
}

Result<PlayerSettingsRecord> ReadPlayerSettings(const ProjectFiles& files) {
    const Result<std::vector<std::uint8_t>> record = files.PlayerSettings.readRecord(1);
    if (!record)
        return record.failure();
    return decodePlayerSettingsRecord(*record);
}

std::string ProjectInformation(const LoadedProject& project) {
    std::string info = "Project Location: " + project.Paths.ProjectFilePath.string();
    info += "\nProject Name: " + project.ProjectName;
    info += project.SecurityOn ? "\nProject Security: ON" : "\nProject Security: OFF";
    info += "\n\nScenes Count: " + std::to_string(project.SceneCount);
    info += "\nInsertable Objects Count: " + std::to_string(project.InsertableObjectCount);
    info += "\nLocations Count: " + std::to_string(project.LocationCount);
    info += "\nInventory Items Count: " + std::to_string(project.InventoryItemCount);
    info += "\nCue Cards Count: " + std::to_string(project.CueCardCount);
    return info;
}

namespace {

Result<void> count(const RecordFile& file, Integer& into) {
    const Result<Integer> n = file.recordCount();
    if (!n)
        return n.failure();
    into = *n;
    return {};
}

Result<void> readName(const RecordFile& settings, LoadedProject& project) {
    if (settings.length() != L::PlayerSettingsRecordLength)
        return {};
    const Result<std::vector<std::uint8_t>> record = settings.readRecord(1);
    if (!record)
        return record.failure();
    project.ProjectName = decodePlayerSettingsRecord(*record).ProjectName;
    project.NameRead = true;
    return {};
}

// What loading takes from each data file, in the order the files are
// opened: the project name when the player settings are exactly one record
// long, then the counts. `file(n)` gives data file n (1 to 5), opening it
// when it is not open yet.
template <typename FileOf> Result<void> countRecords(FileOf&& file, LoadedProject& project, EventLoop& loop) {
    const auto step = [&](int n, auto&& then) -> Result<void> {
        Result<const RecordFile*> opened = file(n);
        if (!opened)
            return std::move(opened).failure();
        return then(**opened);
    };
    Result<void> done = step(4, [&](const RecordFile& f) { return readName(f, project); });
    if (done)
        done = step(5, [&](const RecordFile& f) { return count(f, project.CueCardCount); });
    if (!done)
        return done;
    loop.yield();
    done = step(3, [&](const RecordFile& f) { return count(f, project.InventoryItemCount); });
    if (!done)
        return done;
    loop.yield();
    done = step(2, [&](const RecordFile& f) { return count(f, project.LocationCount); });
    if (done)
        done = step(1, [&](const RecordFile& f) { return count(f, project.SceneCount); });
    return done;
}

} // namespace

Result<OpenProject> LoadProject(const ProjectPaths& paths, EventLoop& loop, LoadOptions options) {
    Result<ProjectFiles> files = ProjLockMatch(paths);
    if (!files)
        return std::move(files).failure();
    return LoadCheckedProject(paths, std::move(*files), loop, options);
}

Result<OpenProject> LoadCheckedProject(const ProjectPaths& paths, ProjectFiles files, EventLoop& loop,
                                       LoadOptions options) {
    OpenProject open(LoadedProject{}, std::move(files));
    open.project.Paths = paths;
    const auto file = [&](int n) -> Result<const RecordFile*> { return &dataFile(open.files, n); };
    if (Result<void> counted = countRecords(file, open.project, loop); !counted)
        return std::move(counted).failure();
    loop.yield();
    open.pending = std::make_unique<SceneTable>(open.project, open.files.Scenes);
    if (!options.deferScenes) {
        if (Result<void> read = open.pending->complete(); !read)
            return std::move(read).failure();
        open.pending.reset();
    }
    loop.yield();
    return open;
}

Result<ProjectFiles> OpenDataFiles(LoadedProject& project, EventLoop& loop) {
    std::array<std::optional<RecordFile>, 6> opened;
    const auto file = [&](int n) -> Result<const RecordFile*> {
        Result<RecordFile> f =
            RecordFile::openDataFile(project.Paths.ProjectFolder, DataFileNames[n - 1], DataFileRecordLengths[n - 1]);
        if (!f)
            return std::move(f).failure();
        return &opened[static_cast<std::size_t>(n)].emplace(std::move(*f));
    };
    if (Result<void> counted = countRecords(file, project, loop); !counted)
        return std::move(counted).failure();
    return ProjectFiles{std::move(*opened[1]), std::move(*opened[2]), std::move(*opened[3]), std::move(*opened[4]),
                        std::move(*opened[5])};
}

} // namespace orv
