#include "data/LoadProject.h"

#include "support/FileBytes.h"
#include "support/ProjectBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {
namespace fs = std::filesystem;
using testing::makeScene;
using testing::ProjectBuilder;
using testing::TempDir;

class CountingLoop : public EventLoop {
public:
    void yield() override { ++yields; }
    int yields = 0;
};

// Two scenes with three objects between them, one location, two items, one
// cue card.
ProjectBuilder smallProject(Integer lock) {
    ProjectBuilder b;
    b.lock = lock;
    b.settings.ProjectName = "Lighthouse Keeper";
    SceneRecord quay = makeScene("Quay");
    quay.Slots[0].ObjectType = 0;  // type 0 counts
    quay.Slots[19].ObjectType = 9; // so does the last slot
    SceneRecord lamp = makeScene("Lamp Room");
    lamp.Slots[5].ObjectType = 4;
    b.scenes = {quay, lamp};
    b.locations = {LocationRecord{}};
    b.items = {InventoryItemRecord{}, InventoryItemRecord{}};
    b.cueCards = {CueCardRecord{}};
    return b;
}

LoadOutcome load(ProjectState& state, const fs::path& projectFile, EventLoop& loop = noEventLoop()) {
    ChooseProjectFile(state, projectFile);
    return LoadProject(state, loop);
}

TEST(ChooseProjectFile, SetsPathsAndEnablesReports) {
    ProjectState state;
    EXPECT_FALSE(state.ReportsEnabled);
    ChooseProjectFile(state, "/games/quest/quest.orv");
    EXPECT_EQ(state.Paths.ProjectFilePath, fs::path("/games/quest/quest.orv"));
    EXPECT_EQ(state.Paths.ProjectFolder, fs::path("/games/quest"));
    EXPECT_EQ(state.PathBox, "/games/quest/quest.orv");
    EXPECT_TRUE(state.ReportsEnabled);
}

TEST(LoadProject, PanelTextOfABuiltProject) {
    TempDir dir;
    const fs::path projectFile = smallProject(77).write(dir.path());
    ProjectState state;
    const LoadOutcome outcome = load(state, projectFile);
    ASSERT_TRUE(outcome.loaded()) << outcome.message;
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(state.PInfo, "Project Location: " + projectFile.string() +
                               "\nProject Name: Lighthouse Keeper"
                               "\nProject Security: ON"
                               "\n"
                               "\nScenes Count: 2"
                               "\nInsertable Objects Count: 3"
                               "\nLocations Count: 1"
                               "\nInventory Items Count: 2"
                               "\nCue Cards Count: 1");
}

TEST(LoadProject, StateLeftForTheReports) {
    TempDir dir;
    ProjectState state;
    ASSERT_TRUE(load(state, smallProject(77).write(dir.path())).loaded());
    EXPECT_EQ(state.SceneCount, 2);
    EXPECT_EQ(state.LocationCount, 1);
    EXPECT_EQ(state.InventoryItemCount, 2);
    EXPECT_EQ(state.CueCardCount, 1);
    EXPECT_EQ(state.ProjectName, "Lighthouse Keeper");
    EXPECT_EQ(state.InsertableObjectCount, 3);
    EXPECT_TRUE(state.SecurityOn);
    EXPECT_EQ(state.SceneListBox, (std::vector<std::string>{"(Not A Scene)", "Quay", "Lamp Room"}));
    EXPECT_EQ(state.Combo1, (std::vector<std::string>{"Choose a scene...", "1 (Quay)", "2 (Lamp Room)"}));
    EXPECT_EQ(state.Combo1Index, 0);
    EXPECT_EQ(state.Caption, "Orvanta Project Scanner/ Utility - Lighthouse Keeper");
    EXPECT_TRUE(state.ReportsEnabled);
    EXPECT_TRUE(state.Loaded);
    EXPECT_EQ(state.sceneName(2), "Lamp Room");
    EXPECT_EQ(state.sceneName(3), "");
    EXPECT_EQ(state.sceneName(-1), "");
}

TEST(LoadProject, YieldsAtTheFourFixedPoints) {
    TempDir dir;
    ProjectBuilder b = smallProject(77);
    for (int s = 0; s < 10; ++s)
        b.scenes.push_back(makeScene("Extra " + std::to_string(s)));
    ProjectState state;
    CountingLoop loop;
    ASSERT_TRUE(load(state, b.write(dir.path()), loop).loaded());
    EXPECT_EQ(loop.yields, 4); // never inside the scene loop
}

TEST(LoadProject, SecurityOffWithLockZero) {
    TempDir dir;
    ProjectState state;
    ASSERT_TRUE(load(state, smallProject(0).write(dir.path())).loaded());
    EXPECT_FALSE(state.SecurityOn);
    EXPECT_NE(state.PInfo.find("\nProject Security: OFF\n"), std::string::npos) << state.PInfo;
}

TEST(LoadProject, SecurityOnWithLockMinusOne) {
    TempDir dir;
    ProjectState state;
    ASSERT_TRUE(load(state, smallProject(-1).write(dir.path())).loaded());
    EXPECT_TRUE(state.SecurityOn);
    EXPECT_NE(state.PInfo.find("\nProject Security: ON\n"), std::string::npos) << state.PInfo;
}

TEST(LoadProject, NoScenes) {
    TempDir dir;
    ProjectBuilder b = smallProject(0); // an empty scene file only matches lock 0
    b.scenes.clear();
    ProjectState state;
    ASSERT_TRUE(load(state, b.write(dir.path())).loaded());
    EXPECT_EQ(state.SceneCount, 0);
    EXPECT_FALSE(state.SecurityOn);
    EXPECT_EQ(state.InsertableObjectCount, 0);
    EXPECT_EQ(state.SceneListBox, (std::vector<std::string>{"(Not A Scene)"}));
    EXPECT_EQ(state.Combo1, (std::vector<std::string>{"Choose a scene..."}));
    EXPECT_NE(state.PInfo.find("Project Security: OFF\n\nScenes Count: 0\nInsertable Objects Count: 0\n"),
              std::string::npos)
        << state.PInfo;
}

TEST(LoadProject, EmptySlotsAreNotCounted) {
    TempDir dir;
    ProjectBuilder b = smallProject(1);
    SceneRecord empty = makeScene("Empty");
    // Settings in an empty slot do not make it an object.
    empty.Slots[3].Settings.fill(5);
    empty.Slots[3].ObjectText[0] = "ghost.bmp";
    b.scenes.push_back(empty);
    SceneRecord full = makeScene("Full");
    for (auto& slot : full.Slots)
        slot.ObjectType = 1;
    b.scenes.push_back(full);
    ProjectState state;
    ASSERT_TRUE(load(state, b.write(dir.path())).loaded());
    EXPECT_EQ(state.InsertableObjectCount, 3 + 20);
}

TEST(LoadProject, ScenePickerEntryHoldsNumberAndName) {
    TempDir dir;
    ProjectBuilder b = smallProject(3);
    for (const char* name : {"Path", "Cliff", "Beach", "Cellar"})
        b.scenes.push_back(makeScene(name));
    b.scenes.push_back(makeScene("  Attic   "));
    ProjectState state;
    ASSERT_TRUE(load(state, b.write(dir.path())).loaded());
    ASSERT_EQ(state.SceneCount, 7);
    EXPECT_EQ(state.Combo1[6], "6 (Cellar)");
    EXPECT_EQ(state.SceneListBox[6], "Cellar");
    EXPECT_EQ(state.Combo1[7], "7 (Attic)");
    EXPECT_EQ(state.SceneListBox[7], "Attic");
}

TEST(LoadProject, TwoRecordSettingsFileKeepsTheEarlierName) {
    TempDir first, second;
    ProjectState state;
    ASSERT_TRUE(load(state, smallProject(5).write(first.path())).loaded());
    ASSERT_EQ(state.ProjectName, "Lighthouse Keeper");

    ProjectBuilder b = smallProject(5);
    b.settings.ProjectName = "Second Game";
    auto twoRecords = b.dataFileBytes(4);
    twoRecords.insert(twoRecords.end(), twoRecords.begin(), twoRecords.end());
    ASSERT_EQ(twoRecords.size(), 1816u);
    b.rawDataFile[4] = twoRecords;
    const fs::path projectFile = b.write(second.path());
    ASSERT_TRUE(load(state, projectFile).loaded());
    EXPECT_EQ(state.ProjectName, "Lighthouse Keeper");
    EXPECT_EQ(state.Caption, "Orvanta Project Scanner/ Utility - Lighthouse Keeper");
    EXPECT_NE(state.PInfo.find("\nProject Name: Lighthouse Keeper\n"), std::string::npos);
    EXPECT_EQ(state.PInfo.rfind("Project Location: " + projectFile.string() + "\n", 0), 0u);
}

TEST(LoadProject, TwoRecordSettingsFileOnAFirstLoadLeavesTheNameEmpty) {
    TempDir dir;
    ProjectBuilder b = smallProject(5);
    auto twoRecords = b.dataFileBytes(4);
    twoRecords.insert(twoRecords.end(), twoRecords.begin(), twoRecords.end());
    b.rawDataFile[4] = twoRecords;
    ProjectState state;
    ASSERT_TRUE(load(state, b.write(dir.path())).loaded());
    EXPECT_EQ(state.ProjectName, "");
    EXPECT_NE(state.PInfo.find("\nProject Name: \nProject Security: ON\n"), std::string::npos) << state.PInfo;
    EXPECT_EQ(state.Caption, versionedTitle());
}

TEST(LoadProject, MissingDataFileCountsEmptyAndIsCreated) {
    TempDir dir;
    ProjectBuilder b = smallProject(5);
    b.omitDataFile = {3, 5};
    ProjectState state;
    ASSERT_TRUE(load(state, b.write(dir.path())).loaded());
    EXPECT_EQ(state.InventoryItemCount, 0);
    EXPECT_EQ(state.CueCardCount, 0);
    EXPECT_EQ(fs::file_size(dir / "resource" / "Orvanta3.dat"), 0u);
    EXPECT_EQ(fs::file_size(dir / "resource" / "Orvanta5.dat"), 0u);
}

TEST(LoadProject, FindsTheFilesIgnoringCase) {
    TempDir dir;
    const fs::path projectFile = smallProject(77).write(dir.path());
    fs::rename(dir / "resource", dir / "Resource");
    fs::rename(dir / "Resource" / "Orvanta1.dat", dir / "Resource" / "ORVANTA1.DAT");
    fs::rename(dir / "Resource" / "Orvanta3.dat", dir / "Resource" / "orvanta3.DAT");
    ProjectState state;
    ASSERT_TRUE(load(state, projectFile).loaded());
    EXPECT_EQ(state.SceneCount, 2);
    EXPECT_EQ(state.InventoryItemCount, 2);
    EXPECT_EQ(state.SceneListBox.back(), "Lamp Room");
    // Nothing was created under the spelling the program asks for.
    EXPECT_FALSE(fs::exists(dir / "resource"));
    EXPECT_FALSE(fs::exists(dir / "Resource" / "Orvanta1.dat"));
}

TEST(LoadProject, FailedCheckResetsTheWindowAndKeepsEarlierLists) {
    TempDir good, bad;
    ProjectState state;
    ASSERT_TRUE(load(state, smallProject(77).write(good.path())).loaded());

    ProjectBuilder mismatched = smallProject(77);
    mismatched.settings.ProjectName = "Other";
    auto locations = mismatched.dataFileBytes(2);
    testing::poke(locations, 110, {76, 0});
    mismatched.rawDataFile[2] = locations;
    mismatched.scenes.push_back(makeScene("Never Read"));

    CountingLoop loop;
    const LoadOutcome outcome = load(state, mismatched.write(bad.path()), loop);
    EXPECT_FALSE(outcome.loaded());
    EXPECT_EQ(outcome.status, LoadOutcome::Status::SecurityFailure);
    EXPECT_FALSE(outcome.unexpectedError.has_value());
    EXPECT_EQ(outcome.message,
              "There was a project security failure.  Please obtain the correct project files.\r"
              "If you have received this message in error, please send e-mail to '" +
                  std::string(SupportAddress) + "'.");
    EXPECT_EQ(state.PathBox,
              "Click \"Locate\" button to the right to choose an Orvanta Project to scan.   ------->");
    EXPECT_EQ(state.PInfo, "");
    EXPECT_EQ(state.Caption, "Orvanta Project Scanner/ Utility v3.1.0");
    EXPECT_FALSE(state.ReportsEnabled);
    EXPECT_FALSE(state.Loaded);
    EXPECT_EQ(loop.yields, 0);
    // What the earlier load left stays.
    EXPECT_EQ(state.ProjectName, "Lighthouse Keeper");
    EXPECT_EQ(state.SceneCount, 2);
    EXPECT_EQ(state.SceneListBox, (std::vector<std::string>{"(Not A Scene)", "Quay", "Lamp Room"}));
    EXPECT_EQ(state.Combo1.size(), 3u);
    EXPECT_EQ(state.InsertableObjectCount, 3);
}

TEST(LoadProject, ShortProjectFileReadsItsLockAsFarAsItGoes) {
    TempDir dir;
    ProjectBuilder b = smallProject(9);
    const fs::path projectFile = b.write(dir.path());
    auto bytes = testing::readFileBytes(projectFile);
    bytes.resize(306); // the lock at 304 is still whole
    testing::writeFileBytes(projectFile, bytes);
    ProjectState state;
    EXPECT_TRUE(load(state, projectFile).loaded());

    bytes.resize(100); // the lock now reads 0
    testing::writeFileBytes(projectFile, bytes);
    EXPECT_EQ(load(state, projectFile).status, LoadOutcome::Status::SecurityFailure);

    TempDir zero;
    const fs::path zeroFile = smallProject(0).write(zero.path());
    testing::writeFileBytes(zeroFile, {});
    EXPECT_TRUE(load(state, zeroFile).loaded());
}

TEST(LoadProject, NonexistentProjectFileFailsWithTheCheckError) {
    TempDir dir;
    smallProject(0).write(dir.path());
    const fs::path missing = dir / "missing.orv";
    fs::remove_all(dir / "resource");
    ProjectState state;
    const LoadOutcome outcome = load(state, missing);
    EXPECT_EQ(outcome.status, LoadOutcome::Status::SecurityFailure);
    ASSERT_TRUE(outcome.unexpectedError.has_value());
    EXPECT_EQ(outcome.unexpectedError->rfind("Unexpected error in procedure: ProjLockMatch\r\nError #53: ", 0), 0u)
        << *outcome.unexpectedError;
    EXPECT_EQ(outcome.message, securityFailureMessage());
    EXPECT_FALSE(state.ReportsEnabled);
    EXPECT_EQ(state.PInfo, "");
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_FALSE(fs::exists(dir / "resource")); // nothing was created
}

TEST(LoadProject, TooManyRecordsIsAnErrorNamingTheFile) {
    TempDir dir;
    ProjectBuilder b = smallProject(0);
    b.items.clear();
    const fs::path projectFile = b.write(dir.path());
    const fs::path items = dir / "resource" / "Orvanta3.dat";
    fs::resize_file(items, 40000u * 209); // sparse; record 1 reads zeros, so the lock 0 matches
    ProjectState state;
    const LoadOutcome outcome = load(state, projectFile);
    EXPECT_EQ(outcome.status, LoadOutcome::Status::Error);
    EXPECT_NE(outcome.message.find(items.string()), std::string::npos) << outcome.message;
    EXPECT_FALSE(state.ReportsEnabled);
    EXPECT_EQ(state.PInfo, "");
    EXPECT_EQ(state.PathBox, std::string(PathPrompt));
}

TEST(LoadProject, SecondLoadReplacesTheLists) {
    TempDir first, second;
    ProjectState state;
    ASSERT_TRUE(load(state, smallProject(1).write(first.path())).loaded());
    ProjectBuilder b;
    b.lock = 2;
    b.settings.ProjectName = "Other";
    b.scenes = {makeScene("Only")};
    b.locations = {LocationRecord{}}; // an empty location file would read lock 0
    ASSERT_TRUE(load(state, b.write(second.path())).loaded());
    EXPECT_EQ(state.SceneListBox, (std::vector<std::string>{"(Not A Scene)", "Only"}));
    EXPECT_EQ(state.Combo1, (std::vector<std::string>{"Choose a scene...", "1 (Only)"}));
    EXPECT_EQ(state.InsertableObjectCount, 0);
    EXPECT_EQ(state.LocationCount, 1);
    EXPECT_EQ(state.InventoryItemCount, 0);
    EXPECT_EQ(state.CueCardCount, 0);
    EXPECT_EQ(state.ProjectName, "Other");
}

} // namespace
} // namespace orv
