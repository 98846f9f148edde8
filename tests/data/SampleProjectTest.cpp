#include "data/LoadProject.h"

#include "support/Paths.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {
namespace fs = std::filesystem;

// The sample project in examples/ is loaded from a copy, so that a test run
// can never leave anything behind in the repository.
class SampleProject : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path source = fs::path(testing::ExamplesDir) / "lighthouse";
        ASSERT_TRUE(fs::is_regular_file(source / "lighthouse.orv")) << source;
        fs::copy(source, dir / "lighthouse", fs::copy_options::recursive);
        projectFile = dir / "lighthouse" / "lighthouse.orv";
    }

    testing::TempDir dir;
    fs::path projectFile;
};

TEST_F(SampleProject, LoadsWithItsPanel) {
    ProjectState state;
    ChooseProjectFile(state, projectFile);
    const LoadOutcome outcome = LoadProject(state, noEventLoop());
    ASSERT_TRUE(outcome.loaded()) << outcome.message;
    EXPECT_EQ(state.PInfo, "Project Location: " + projectFile.string() +
                               "\nProject Name: Lighthouse Keeper"
                               "\nProject Security: ON"
                               "\n"
                               "\nScenes Count: 12"
                               "\nInsertable Objects Count: 28"
                               "\nLocations Count: 4"
                               "\nInventory Items Count: 6"
                               "\nCue Cards Count: 3");
    EXPECT_EQ(state.SceneListBox,
              (std::vector<std::string>{"(Not A Scene)", "Harbour", "Cliff Path", "Cottage", "Tower Base",
                                        "Spiral Stairs", "Watch Room", "Lamp Room", "Gallery", "Cellar",
                                        "Boathouse", "Rocky Shore", "Dawn"}));
    EXPECT_EQ(state.Combo1[12], "12 (Dawn)");
}

TEST_F(SampleProject, DataFilesHoldWholeRecords) {
    const fs::path resource = projectFile.parent_path() / "resource";
    EXPECT_EQ(fs::file_size(projectFile), 342u);
    EXPECT_EQ(fs::file_size(resource / "Orvanta1.dat"), 12u * 4395);
    EXPECT_EQ(fs::file_size(resource / "Orvanta2.dat"), 4u * 112);
    EXPECT_EQ(fs::file_size(resource / "Orvanta3.dat"), 6u * 209);
    EXPECT_EQ(fs::file_size(resource / "Orvanta4.dat"), 908u);
    EXPECT_EQ(fs::file_size(resource / "Orvanta5.dat"), 3u * 1712);
}

} // namespace
} // namespace orv
