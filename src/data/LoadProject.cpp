#include "data/LoadProject.h"

#include "data/DataFiles.h"
#include "data/FileError.h"
#include "data/ProjLockMatch.h"
#include "data/RecordLayouts.h"

#include <algorithm>

namespace orv {

void ChooseProjectFile(ProjectState& project, const std::filesystem::path& projectFile) {
    project.Paths = ProjectPaths::fromProjectFile(projectFile);
    project.PathBox = project.Paths.ProjectFilePath.string();
    project.ReportsEnabled = true;
}

namespace {

void resetToNoProject(ProjectState& project) {
    project.PathBox = std::string(PathPrompt);
    project.PInfo.clear();
    project.ReportsEnabled = false;
    project.Caption = versionedTitle();
    project.Loaded = false;
}

// Reads every scene record once, in large reads into one reused buffer, and
// decodes only what the panel and the scene lists need: the names, the slot
// types, and scene 1's project lock.
void fillFromOpenFiles(ProjectState& project, const DataFiles& files, EventLoop& loop) {
    namespace L = layout;
    constexpr Field nameField = field(L::SceneHeader, "SceneName");
    constexpr Field lockField = field(L::SceneHeader, "ProjectLock");
    constexpr Field typeField = field(L::ObjectSlot, "ObjectType");
    constexpr long perRead = static_cast<long>((std::size_t{1} << 17) / L::SceneRecordLength);

    const long count = project.SceneCount;
    project.SecurityOn = false;
    project.SceneListBox.reserve(static_cast<std::size_t>(count) + 1);
    project.Combo1.reserve(static_cast<std::size_t>(count) + 1);
    std::vector<std::uint8_t> buffer;
    int objects = 0;
    for (long first = 1; first <= count; first += perRead) {
        const long n = std::min(perRead, count - first + 1);
        files.Scenes.readRecords(first, static_cast<std::size_t>(n), buffer);
        for (long i = 0; i < n; ++i) {
            const RecordBytes record =
                RecordBytes(buffer).subspan(static_cast<std::size_t>(i) * L::SceneRecordLength, L::SceneRecordLength);
            const long s = first + i;
            if (s == 1)
                project.SecurityOn = readInteger(record, lockField) != 0;
            std::string& name = project.SceneListBox.emplace_back(readText(record, nameField));
            std::string& entry = project.Combo1.emplace_back(std::to_string(s));
            entry.append(" (").append(name).append(")");
            for (std::size_t k = 1; k <= L::ObjectSlotCount; ++k)
                if (readInteger(record, L::objectSlotStart(k) + typeField.offset) != -1)
                    ++objects;
        }
    }
    project.Combo1Index = 0;
    project.InsertableObjectCount = objects;

    std::string info = "Project Location: " + project.PathBox;
    info += "\nProject Name: " + project.ProjectName;
    info += project.SecurityOn ? "\nProject Security: ON" : "\nProject Security: OFF";
    info += "\n\nScenes Count: " + std::to_string(project.SceneCount);
    info += "\nInsertable Objects Count: " + std::to_string(objects);
    info += "\nLocations Count: " + std::to_string(project.LocationCount);
    info += "\nInventory Items Count: " + std::to_string(project.InventoryItemCount);
    info += "\nCue Cards Count: " + std::to_string(project.CueCardCount);
    project.PInfo = std::move(info);
    loop.yield();
}

} // namespace

LoadOutcome LoadProject(ProjectState& project, EventLoop& loop) {
    LoadOutcome outcome;
    const LockCheck check = ProjLockMatch(project.Paths);
    if (!check.matched) {
        resetToNoProject(project);
        outcome.status = LoadOutcome::Status::SecurityFailure;
        outcome.unexpectedError = check.unexpectedError;
        outcome.failure = check.failure;
        outcome.message = securityFailureMessage();
        return outcome;
    }

    project.SceneListBox = {"(Not A Scene)"};
    project.Combo1 = {"Choose a scene..."};
    project.Combo1Index = -1;
    try {
        const DataFiles files = OpenDataFiles(project, loop);
        loop.yield();
        fillFromOpenFiles(project, files, loop);
        project.Loaded = true;
    } catch (const FileError& e) {
        resetToNoProject(project);
        outcome.status = LoadOutcome::Status::Error;
        outcome.message = std::string("The project could not be loaded.\r") + e.what();
        outcome.failure = e.failure();
    } catch (const std::exception& e) {
        resetToNoProject(project);
        outcome.status = LoadOutcome::Status::Error;
        outcome.message = std::string("The project could not be loaded.\r") + e.what();
    }
    return outcome;
}

} // namespace orv
