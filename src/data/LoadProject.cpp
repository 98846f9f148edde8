#include "data/LoadProject.h"

#include "data/DataFiles.h"
#include "data/FileError.h"
#include "data/ProjLockMatch.h"
#include "data/SceneTables.h"

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

void fillFromOpenFiles(ProjectState& project, const DataFiles& files, EventLoop& loop) {
    SceneTables tables;
    project.SecurityOn = false;
    if (project.SceneCount > 0) {
        LoadScene(files, 1, tables);
        project.SecurityOn = tables.Scene.ProjectLock != 0;
    }

    std::string info = "Project Location: " + project.PathBox;
    info += "\nProject Name: " + project.ProjectName;
    info += project.SecurityOn ? "\nProject Security: ON" : "\nProject Security: OFF";
    info += "\n\nScenes Count: " + std::to_string(project.SceneCount);

    int objects = 0;
    for (int s = 1; s <= project.SceneCount; ++s) {
        LoadScene(files, static_cast<Integer>(s), tables);
        project.SceneListBox.push_back(tables.Scene.SceneName);
        project.Combo1.push_back(std::to_string(s) + " (" + tables.Scene.SceneName + ")");
        for (const ObjectSlot& slot : tables.Scene.Slots)
            if (slot.ObjectType != -1)
                ++objects;
    }
    project.Combo1Index = 0;
    project.InsertableObjectCount = objects;

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
