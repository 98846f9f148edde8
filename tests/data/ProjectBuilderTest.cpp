#include "support/ProjectBuilder.h"

#include "data/Records.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {
namespace fs = std::filesystem;
using testing::makeScene;
using testing::ProjectBuilder;
using testing::readFileBytes;
using testing::TempDir;

TEST(ProjectBuilderWrite, FileSetWithLockInRecordOne) {
    TempDir dir;
    ProjectBuilder b;
    b.lock = -2;
    b.scenes = {makeScene("A"), makeScene("B")};
    b.scenes[1].ProjectLock = 7; // only record 1 is overridden
    b.locations.resize(3);
    b.items.resize(1);
    b.cueCards.resize(2);
    b.settings.ProjectLock = 99;
    const fs::path projectFile = b.write(dir.path());
    EXPECT_EQ(projectFile, dir / "game.orv");
    const auto project = readFileBytes(projectFile);
    ASSERT_EQ(project.size(), 342u);
    EXPECT_EQ(decodeProjectRecord(project).ProjectLock, -2);

    const fs::path resource = dir / "resource";
    EXPECT_EQ(fs::file_size(resource / "Orvanta1.dat"), 2u * 4395);
    EXPECT_EQ(fs::file_size(resource / "Orvanta2.dat"), 3u * 112);
    EXPECT_EQ(fs::file_size(resource / "Orvanta3.dat"), 209u);
    EXPECT_EQ(fs::file_size(resource / "Orvanta4.dat"), 908u);
    EXPECT_EQ(fs::file_size(resource / "Orvanta5.dat"), 2u * 1712);

    const auto scenes = readFileBytes(resource / "Orvanta1.dat");
    EXPECT_EQ(decodeSceneRecord(scenes).ProjectLock, -2);
    EXPECT_EQ(decodeSceneRecord(std::span(scenes).subspan(4395)).ProjectLock, 7);
    EXPECT_EQ(decodeSceneRecord(std::span(scenes).subspan(4395)).SceneName, "B");
    EXPECT_EQ(decodeLocationRecord(readFileBytes(resource / "Orvanta2.dat")).ProjectLock, -2);
    EXPECT_EQ(decodeInventoryItemRecord(readFileBytes(resource / "Orvanta3.dat")).ProjectLock, -2);
    EXPECT_EQ(decodePlayerSettingsRecord(readFileBytes(resource / "Orvanta4.dat")).ProjectLock, -2);
    EXPECT_EQ(decodeCueCardRecord(readFileBytes(resource / "Orvanta5.dat")).ProjectLock, -2);
}

TEST(ProjectBuilderWrite, EmptyListsGiveEmptyFilesButSettingsAlwaysOneRecord) {
    TempDir dir;
    ProjectBuilder b;
    b.projectFileName = "empty.orv";
    EXPECT_EQ(b.write(dir.path()), dir / "empty.orv");
    for (int n : {1, 2, 3, 5})
        EXPECT_EQ(fs::file_size(dir / "resource" / testing::dataFileName(n)), 0u) << n;
    EXPECT_EQ(fs::file_size(dir / "resource" / "Orvanta4.dat"), 908u);
}

TEST(ProjectBuilderWrite, OverridesAndOmissions) {
    TempDir dir;
    ProjectBuilder b;
    b.scenes = {makeScene("A")};
    b.write(dir.path());
    b.rawDataFile[4] = {1, 2, 3};
    b.omitDataFile = {1};
    b.write(dir.path()); // writing again removes an omitted file
    EXPECT_FALSE(fs::exists(dir / "resource" / "Orvanta1.dat"));
    EXPECT_EQ(readFileBytes(dir / "resource" / "Orvanta4.dat"), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(ProjectBuilderWrite, MediaFolders) {
    TempDir dir;
    ProjectBuilder b;
    b.gfxFiles = {{"Door.GIF", "GIF89a"}, {"bg.bmp", "BM"}};
    b.mmediaFiles = {{"wave.wav", "RIFF"}};
    b.write(dir.path());
    EXPECT_EQ(readFileBytes(dir / "resource" / "gfx" / "Door.GIF").size(), 6u);
    EXPECT_TRUE(fs::is_regular_file(dir / "resource" / "gfx" / "bg.bmp"));
    EXPECT_TRUE(fs::is_regular_file(dir / "resource" / "mmedia" / "wave.wav"));

    TempDir bare;
    b.writeGfxFolder = false;
    b.writeMmediaFolder = false;
    b.write(bare.path());
    EXPECT_FALSE(fs::exists(bare / "resource" / "gfx"));
    EXPECT_FALSE(fs::exists(bare / "resource" / "mmedia"));
}

TEST(TempDirLifetime, FolderIsUniqueAndRemoved) {
    fs::path kept;
    {
        TempDir a, b;
        EXPECT_NE(a.path(), b.path());
        EXPECT_TRUE(fs::is_directory(a.path()));
        testing::writeFileText(a / "x.txt", "x");
        kept = a.path();
    }
    EXPECT_FALSE(fs::exists(kept));
}

} // namespace
} // namespace orv
