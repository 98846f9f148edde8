#include "data/DataFiles.h"

#include "data/FileError.h"
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
using testing::TempDir;

class CountingLoop : public EventLoop {
public:
    void yield() override { ++yields; }
    int yields = 0;
};

ProjectBuilder threeOfEach() {
    ProjectBuilder b;
    b.lock = 4;
    b.settings.ProjectName = "  Spaced Name  ";
    b.settings.ScoreEnabled = 1;
    b.settings.ScoreFlag = 250;
    for (int i = 1; i <= 3; ++i) {
        b.scenes.push_back(makeScene("Scene " + std::to_string(i)));
        LocationRecord location;
        location.LocationFile1 = "loc" + std::to_string(i) + ".bmp";
        b.locations.push_back(location);
        InventoryItemRecord item;
        item.ExamineFlag = static_cast<Integer>(10 + i);
        b.items.push_back(item);
        CueCardRecord card;
        card.ChoiceFile[0] = "card" + std::to_string(i) + ".wav";
        b.cueCards.push_back(card);
    }
    return b;
}

ProjectState stateFor(const fs::path& projectFile) {
    ProjectState state;
    state.Paths = ProjectPaths::fromProjectFile(projectFile);
    return state;
}

TEST(OpenDataFiles, CountsEveryFileAndYieldsTwice) {
    TempDir dir;
    ProjectState state = stateFor(threeOfEach().write(dir.path()));
    CountingLoop loop;
    const DataFiles files = OpenDataFiles(state, loop);
    EXPECT_EQ(state.SceneCount, 3);
    EXPECT_EQ(state.LocationCount, 3);
    EXPECT_EQ(state.InventoryItemCount, 3);
    EXPECT_EQ(state.CueCardCount, 3);
    EXPECT_EQ(state.ProjectName, "Spaced Name");
    EXPECT_EQ(state.Caption, "Orvanta Project Scanner/ Utility - Spaced Name");
    EXPECT_EQ(loop.yields, 2);
}

TEST(OpenDataFiles, PartialRecordsRoundHalfToEven) {
    TempDir dir;
    ProjectBuilder b = threeOfEach();
    auto locations = b.dataFileBytes(2);
    locations.resize(280); // 2.5 records
    b.rawDataFile[2] = locations;
    auto items = b.dataFileBytes(3);
    items.resize(209 * 3 + 105); // 3.502 records
    b.rawDataFile[3] = items;
    ProjectState state = stateFor(b.write(dir.path()));
    const DataFiles files = OpenDataFiles(state, noEventLoop());
    EXPECT_EQ(state.LocationCount, 2);
    EXPECT_EQ(state.InventoryItemCount, 4);
    // The fourth item is a partial record: its missing bytes read as zero.
    const InventoryItemRecord fourth = ReadInventoryItem(files, 4);
    EXPECT_EQ(fourth.ExamineFlag, 0);
    EXPECT_EQ(fourth.ItemFile[0], "");
}

TEST(OpenDataFiles, SettingsOfAnotherLengthLeaveNameAndCaption) {
    TempDir dir;
    ProjectBuilder b = threeOfEach();
    auto settings = b.dataFileBytes(4);
    settings.push_back(0); // 909 bytes
    b.rawDataFile[4] = settings;
    ProjectState state = stateFor(b.write(dir.path()));
    state.ProjectName = "Before";
    state.Caption = "Caption Before";
    const DataFiles files = OpenDataFiles(state, noEventLoop());
    EXPECT_EQ(state.ProjectName, "Before");
    EXPECT_EQ(state.Caption, "Caption Before");
    // Record 1 is still what the readers get.
    EXPECT_EQ(ReadPlayerSettings(files).ScoreFlag, 250);
}

TEST(OpenDataFiles, TooManyRecordsIsAFileError) {
    TempDir dir;
    ProjectBuilder b = threeOfEach();
    const fs::path projectFile = b.write(dir.path());
    fs::resize_file(dir / "resource" / "Orvanta5.dat", 1712u * 32768);
    ProjectState state = stateFor(projectFile);
    EXPECT_THROW((void)OpenDataFiles(state, noEventLoop()), FileError);
}

TEST(RecordReaders, ReadRecordNOfEachFile) {
    TempDir dir;
    ProjectState state = stateFor(threeOfEach().write(dir.path()));
    const DataFiles files = OpenDataFiles(state, noEventLoop());
    EXPECT_EQ(ReadLocation(files, 2).LocationFile1, "loc2.bmp");
    EXPECT_EQ(ReadInventoryItem(files, 3).ExamineFlag, 13);
    EXPECT_EQ(ReadCueCard(files, 1).ChoiceFile[0], "card1.wav");
    EXPECT_EQ(ReadCueCard(files, 1).ProjectLock, 4);
    EXPECT_EQ(ReadPlayerSettings(files).ScoreEnabled, 1);
    // Past the end: a record of zeros.
    EXPECT_EQ(ReadLocation(files, 9).LocationFile1, "");
}

} // namespace
} // namespace orv
