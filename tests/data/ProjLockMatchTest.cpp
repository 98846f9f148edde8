#include "data/ProjLockMatch.h"

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

// A project with one record in every data file, all stamped with `lock`.
ProjectBuilder projectWithLock(Integer lock) {
    ProjectBuilder b;
    b.lock = lock;
    b.scenes = {makeScene("Quay"), makeScene("Lamp Room")};
    b.locations = {LocationRecord{}};
    b.items = {InventoryItemRecord{}};
    b.cueCards = {CueCardRecord{}};
    return b;
}

LockCheck check(const ProjectBuilder& b, const TempDir& dir) {
    return ProjLockMatch(ProjectPaths::fromProjectFile(b.write(dir.path())));
}

TEST(ProjLockMatch, SameLockEverywherePasses) {
    TempDir dir;
    const LockCheck result = check(projectWithLock(77), dir);
    EXPECT_TRUE(result.matched);
    EXPECT_FALSE(result.unexpectedError.has_value());
}

TEST(ProjLockMatch, ZeroLockEverywherePasses) {
    TempDir dir;
    EXPECT_TRUE(check(projectWithLock(0), dir).matched);
}

TEST(ProjLockMatch, EmptyItemFileCountsAsAMatch) {
    TempDir dir;
    ProjectBuilder b = projectWithLock(77);
    b.items.clear();
    EXPECT_TRUE(check(b, dir).matched);
}

TEST(ProjLockMatch, ShortItemFileIsReadAndFails) {
    TempDir dir;
    ProjectBuilder b = projectWithLock(77);
    b.rawDataFile[3] = std::vector<std::uint8_t>(10, 0x4D); // offset 207 lies past the end
    EXPECT_FALSE(check(b, dir).matched);
}

TEST(ProjLockMatch, ShortItemFilePassesWithLockZero) {
    TempDir dir;
    ProjectBuilder b = projectWithLock(0);
    b.rawDataFile[3] = std::vector<std::uint8_t>(10, 0x4D);
    EXPECT_TRUE(check(b, dir).matched);
}

TEST(ProjLockMatch, EmptyOrMissingCueCardFileCountsAsAMatch) {
    TempDir dir;
    ProjectBuilder b = projectWithLock(77);
    b.cueCards.clear();
    EXPECT_TRUE(check(b, dir).matched);
    TempDir other;
    b.omitDataFile = {5};
    EXPECT_TRUE(check(b, other).matched);
}

TEST(ProjLockMatch, MissingLocationFileFailsWithANonZeroLock) {
    TempDir dir;
    ProjectBuilder b = projectWithLock(5);
    b.omitDataFile = {2};
    EXPECT_FALSE(check(b, dir).matched);
    // The check created the missing file, empty.
    ASSERT_TRUE(fs::is_regular_file(dir / "resource" / "Orvanta2.dat"));
    EXPECT_EQ(fs::file_size(dir / "resource" / "Orvanta2.dat"), 0u);
}

TEST(ProjLockMatch, MissingLocationFilePassesWithLockZero) {
    TempDir dir;
    ProjectBuilder b = projectWithLock(0);
    b.omitDataFile = {2};
    EXPECT_TRUE(check(b, dir).matched);
}

TEST(ProjLockMatch, EmptySceneAndSettingsFilesReadZero) {
    TempDir dir;
    ProjectBuilder b = projectWithLock(9);
    b.scenes.clear();
    EXPECT_FALSE(check(b, dir).matched);
    TempDir other;
    ProjectBuilder settingsMissing = projectWithLock(9);
    settingsMissing.omitDataFile = {4};
    EXPECT_FALSE(check(settingsMissing, other).matched);
}

TEST(ProjLockMatch, MinusOneMatchesTheBytesFFFF) {
    TempDir dir;
    ProjectBuilder b = projectWithLock(-1);
    ASSERT_EQ(b.dataFileBytes(2)[110], 0xFF);
    ASSERT_EQ(b.dataFileBytes(2)[111], 0xFF);
    EXPECT_TRUE(check(b, dir).matched);
}

TEST(ProjLockMatch, LocksAreComparedBitForBit) {
    TempDir dir;
    ProjectBuilder b = projectWithLock(-1);
    auto locations = b.dataFileBytes(2);
    testing::poke(locations, 110, {0xFF, 0x00}); // 255, not -1
    b.rawDataFile[2] = locations;
    EXPECT_FALSE(check(b, dir).matched);
}

// Each data file's own lock field, in turn, disagrees with the project file.
class OneFileDisagrees : public ::testing::TestWithParam<int> {};

TEST_P(OneFileDisagrees, Fails) {
    const int n = GetParam();
    ProjectBuilder b = projectWithLock(77);
    auto bytes = b.dataFileBytes(n);
    const std::size_t lockOffset[] = {0, 205, 110, 207, 217, 0};
    testing::poke(bytes, lockOffset[n], {78, 0});
    b.rawDataFile[n] = bytes;
    TempDir dir;
    const LockCheck result = check(b, dir);
    EXPECT_FALSE(result.matched) << "Orvanta" << n << ".dat";
    EXPECT_FALSE(result.unexpectedError.has_value());
}

INSTANTIATE_TEST_SUITE_P(EveryDataFile, OneFileDisagrees, ::testing::Values(1, 2, 3, 4, 5));

TEST(ProjLockMatch, OnlyRecordOneCarriesTheLock) {
    TempDir dir;
    ProjectBuilder b = projectWithLock(77);
    b.locations.resize(3);
    b.locations[1].ProjectLock = 1; // other records are opaque there
    b.items.resize(2);
    b.items[1].ProjectLock = -5;
    EXPECT_TRUE(check(b, dir).matched);
}

TEST(ProjLockMatch, MismatchInSceneFileStillChecksTheOthers) {
    TempDir dir;
    ProjectBuilder b = projectWithLock(77);
    b.rawDataFile[1] = {};    // scene file reads 0 at offset 205
    b.omitDataFile = {2};     // the check must still reach this file and create it
    EXPECT_FALSE(check(b, dir).matched);
    EXPECT_TRUE(fs::is_regular_file(dir / "resource" / "Orvanta2.dat"));
    EXPECT_TRUE(fs::is_regular_file(dir / "resource" / "Orvanta5.dat"));
}

TEST(ProjLockMatch, MissingResourceFolderIsAnUnexpectedError) {
    TempDir dir;
    const fs::path projectFile = projectWithLock(77).write(dir.path());
    fs::remove_all(dir / "resource");
    const LockCheck result = ProjLockMatch(ProjectPaths::fromProjectFile(projectFile));
    EXPECT_FALSE(result.matched);
    ASSERT_TRUE(result.unexpectedError.has_value());
    EXPECT_EQ(result.unexpectedError->rfind("Unexpected error in procedure: ProjLockMatch\r\nError #", 0), 0u)
        << *result.unexpectedError;
    EXPECT_NE(result.unexpectedError->find("Orvanta1.dat"), std::string::npos) << *result.unexpectedError;
}

TEST(ProjLockMatch, MissingProjectFileIsAnUnexpectedError) {
    TempDir dir;
    projectWithLock(0).write(dir.path());
    const LockCheck result = ProjLockMatch(ProjectPaths::fromProjectFile(dir / "other.orv"));
    EXPECT_FALSE(result.matched);
    ASSERT_TRUE(result.unexpectedError.has_value());
    EXPECT_EQ(result.unexpectedError->rfind("Unexpected error in procedure: ProjLockMatch\r\nError #53: ", 0), 0u)
        << *result.unexpectedError;
    EXPECT_FALSE(fs::exists(dir / "other.orv"));
}

TEST(ProjLockMatch, FolderInPlaceOfADataFileIsAnUnexpectedError) {
    TempDir dir;
    ProjectBuilder b = projectWithLock(77);
    b.omitDataFile = {3};
    const fs::path projectFile = b.write(dir.path());
    fs::create_directory(dir / "resource" / "Orvanta3.dat");
    const LockCheck result = ProjLockMatch(ProjectPaths::fromProjectFile(projectFile));
    EXPECT_FALSE(result.matched);
    ASSERT_TRUE(result.unexpectedError.has_value());
    EXPECT_NE(result.unexpectedError->find("Orvanta3.dat"), std::string::npos) << *result.unexpectedError;
}

TEST(ProjLockMatch, FindsTheFilesIgnoringCase) {
    TempDir dir;
    const fs::path projectFile = projectWithLock(77).write(dir.path());
    fs::rename(dir / "resource", dir / "Resource");
    for (int n = 1; n <= 5; ++n)
        fs::rename(dir / "Resource" / testing::dataFileName(n),
                   dir / "Resource" / ("ORVANTA" + std::to_string(n) + ".DAT"));
    EXPECT_TRUE(ProjLockMatch(ProjectPaths::fromProjectFile(projectFile)).matched);
    EXPECT_FALSE(fs::exists(dir / "resource"));
}

} // namespace
} // namespace orv
