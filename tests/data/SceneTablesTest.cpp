#include "data/SceneTables.h"

#include "data/DataFiles.h"
#include "data/ProjectState.h"
#include "support/FileBytes.h"
#include "support/ProjectBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {
namespace fs = std::filesystem;
using testing::makeScene;
using testing::ProjectBuilder;
using testing::setSetting;
using testing::TempDir;

class SceneTablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProjectBuilder b;
        SceneRecord quay = makeScene("Quay");
        quay.SceneFile[0] = "quay.bmp";
        quay.Slots[0].ObjectType = 1;
        quay.Slots[0].ObjectText[0] = "door.gif";
        setSetting(quay.Slots[0], 175, 1);
        SceneRecord stairs = makeScene("Stairs");
        stairs.Slots[2].ObjectType = 3;
        SceneRecord lamp = makeScene("Lamp Room");
        lamp.OnLoadFlagEnabled = 1;
        lamp.OnLoadFlag = 12;
        lamp.Slots[4].ObjectType = 6;
        lamp.Slots[4].ObjectText[8] = "tick.wav";
        b.scenes = {quay, stairs, lamp};
        project.Paths = ProjectPaths::fromProjectFile(b.write(dir.path()));
    }

    TempDir dir;
    ProjectState project;
};

TEST_F(SceneTablesTest, StartEmpty) {
    const SceneTables tables;
    EXPECT_EQ(tables.CurrentScene, 0);
    EXPECT_EQ(tables.Scene.SceneName, "");
    EXPECT_EQ(tables.Scene.slot(1).ObjectType, 0);
}

TEST_F(SceneTablesTest, LoadingAnotherSceneReplacesEverything) {
    const DataFiles files = OpenDataFiles(project, noEventLoop());
    SceneTables tables;
    LoadScene(files, 3, tables);
    EXPECT_EQ(tables.CurrentScene, 3);
    EXPECT_EQ(tables.Scene.SceneName, "Lamp Room");
    EXPECT_EQ(tables.Scene.slot(5).ObjectText[8], "tick.wav");

    LoadScene(files, 1, tables);
    EXPECT_EQ(tables.CurrentScene, 1);
    EXPECT_EQ(tables.Scene.SceneName, "Quay");
    EXPECT_EQ(tables.Scene.OnLoadFlagEnabled, 0);
    EXPECT_EQ(tables.Scene.OnLoadFlag, 0);
    EXPECT_EQ(tables.Scene.slot(5).ObjectType, -1);
    EXPECT_EQ(tables.Scene.slot(5).ObjectText[8], "");
    EXPECT_EQ(tables.Scene.slot(1).ObjectText[0], "door.gif");
    EXPECT_EQ(tables.Scene.slot(1).setting(175), 1);
    EXPECT_EQ(tables.Scene.SceneFile[0], "quay.bmp");
}

TEST_F(SceneTablesTest, PastTheLastSceneReadsZeros) {
    const DataFiles files = OpenDataFiles(project, noEventLoop());
    ASSERT_EQ(project.SceneCount, 3);
    SceneTables tables;
    LoadScene(files, 4, tables);
    EXPECT_EQ(tables.CurrentScene, 4);
    EXPECT_EQ(tables.Scene.SceneName, "");
    for (int k = 1; k <= 20; ++k)
        EXPECT_EQ(tables.Scene.slot(k).ObjectType, 0) << "slot " << k;
}

TEST_F(SceneTablesTest, EmptySlotWithSettingsStillLoads) {
    ProjectBuilder b;
    SceneRecord s = makeScene("Odd");
    setSetting(s.Slots[7], 157, 1);
    setSetting(s.Slots[7], 159, 44);
    s.Slots[7].ObjectText[2] = "  padded.gif  ";
    b.scenes = {s};
    TempDir other;
    ProjectState odd;
    odd.Paths = ProjectPaths::fromProjectFile(b.write(other.path()));
    const DataFiles files = OpenDataFiles(odd, noEventLoop());
    SceneTables tables;
    LoadScene(files, 1, tables);
    EXPECT_EQ(tables.Scene.slot(8).ObjectType, -1);
    EXPECT_EQ(tables.Scene.slot(8).setting(159), 44);
    EXPECT_EQ(tables.Scene.slot(8).ObjectText[2], "padded.gif");
}

} // namespace
} // namespace orv
