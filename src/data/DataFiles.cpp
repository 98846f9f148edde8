#include "data/DataFiles.h"

#include "data/ProgramInfo.h"
#include "data/ProjectState.h"
#include "data/RecordLayouts.h"

namespace orv {
namespace L = layout;

const std::string& ProjectState::sceneName(long n) const {
    static const std::string none;
    if (n < 0 || static_cast<std::size_t>(n) >= SceneListBox.size())
        return none;
    return SceneListBox[static_cast<std::size_t>(n)];
}

DataFiles OpenDataFiles(ProjectState& project, EventLoop& loop) {
    const auto& folder = project.Paths.ProjectFolder;

    RecordFile settings = RecordFile::openDataFile(folder, "resource/Orvanta4.dat", L::PlayerSettingsRecordLength);
    if (settings.length() == L::PlayerSettingsRecordLength) {
        project.ProjectName = decodePlayerSettingsRecord(settings.readRecord(1)).ProjectName;
        project.Caption = std::string(ProgramTitle) + " - " + project.ProjectName;
    }

    RecordFile cueCards = RecordFile::openDataFile(folder, "resource/Orvanta5.dat", L::CueCardRecordLength);
    loop.yield();
    project.CueCardCount = cueCards.recordCount();

    RecordFile items = RecordFile::openDataFile(folder, "resource/Orvanta3.dat", L::InventoryItemRecordLength);
    project.InventoryItemCount = items.recordCount();
    loop.yield();

    RecordFile locations = RecordFile::openDataFile(folder, "resource/Orvanta2.dat", L::LocationRecordLength);
    project.LocationCount = locations.recordCount();

    RecordFile scenes = RecordFile::openDataFile(folder, "resource/Orvanta1.dat", L::SceneRecordLength);
    project.SceneCount = scenes.recordCount();

    return DataFiles{std::move(scenes), std::move(locations), std::move(items), std::move(settings),
                     std::move(cueCards)};
}

LocationRecord ReadLocation(const DataFiles& files, long n) {
    return decodeLocationRecord(files.Locations.readRecord(n));
}

InventoryItemRecord ReadInventoryItem(const DataFiles& files, long n) {
    return decodeInventoryItemRecord(files.InventoryItems.readRecord(n));
}

CueCardRecord ReadCueCard(const DataFiles& files, long n) {
    return decodeCueCardRecord(files.CueCards.readRecord(n));
}

PlayerSettingsRecord ReadPlayerSettings(const DataFiles& files) {
    return decodePlayerSettingsRecord(files.PlayerSettings.readRecord(1));
}

} // namespace orv
