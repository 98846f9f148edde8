#include "data/ProjectPaths.h"

#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {
namespace fs = std::filesystem;
using testing::TempDir;
using testing::writeFileText;

TEST(ProjectPathsFromFile, FolderIsTheFolderOfTheProjectFile) {
    const ProjectPaths p = ProjectPaths::fromProjectFile("/games/quest/sub/../quest.orv");
    EXPECT_EQ(p.ProjectFilePath, fs::path("/games/quest/quest.orv"));
    EXPECT_EQ(p.ProjectFolder, fs::path("/games/quest"));
}

TEST(ProjectPathsFromFile, RelativePathIsMadeAbsolute) {
    const ProjectPaths p = ProjectPaths::fromProjectFile("quest.orv");
    EXPECT_TRUE(p.ProjectFilePath.is_absolute());
    EXPECT_EQ(p.ProjectFilePath.filename(), "quest.orv");
    EXPECT_EQ(p.ProjectFolder, p.ProjectFilePath.parent_path());
}

TEST(ResolveIgnoringCase, FindsEveryComponentInAnyCase) {
    TempDir dir;
    fs::create_directories(dir / "Resource");
    writeFileText(dir / "Resource" / "ORVANTA1.DAT", "x");
    EXPECT_EQ(resolveIgnoringCase(dir.path(), "resource/Orvanta1.dat"), dir / "Resource" / "ORVANTA1.DAT");
}

TEST(ResolveIgnoringCase, BackslashSeparatesToo) {
    TempDir dir;
    fs::create_directories(dir / "RESOURCE" / "Gfx");
    writeFileText(dir / "RESOURCE" / "Gfx" / "Door.GIF", "x");
    EXPECT_EQ(resolveIgnoringCase(dir.path(), "resource\\gfx\\door.gif"), dir / "RESOURCE" / "Gfx" / "Door.GIF");
}

TEST(ResolveIgnoringCase, ExactSpellingWins) {
    TempDir dir;
    fs::create_directories(dir / "resource");
    writeFileText(dir / "resource" / "ORVANTA2.DAT", "upper");
    writeFileText(dir / "resource" / "Orvanta2.dat", "exact");
    writeFileText(dir / "resource" / "orvanta2.dat", "lower");
    EXPECT_EQ(resolveIgnoringCase(dir.path(), "resource/Orvanta2.dat"), dir / "resource" / "Orvanta2.dat");
}

TEST(ResolveIgnoringCase, UnmatchedRestIsSpelledAsGiven) {
    TempDir dir;
    fs::create_directories(dir / "RESOURCE");
    EXPECT_EQ(resolveIgnoringCase(dir.path(), "resource/mmedia/Song.wav"), dir / "RESOURCE" / "mmedia" / "Song.wav");
    EXPECT_EQ(resolveIgnoringCase(dir.path(), "other/x.dat"), dir / "other" / "x.dat");
}

} // namespace
} // namespace orv
