#include "data/RecordFile.h"

#include "data/FileError.h"
#include "data/Records.h"
#include "support/FileBytes.h"
#include "support/RecordEncoders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace orv {
namespace {
namespace fs = std::filesystem;
using testing::readFileBytes;
using testing::TempDir;
using testing::writeFileBytes;

// Bytes 1, 2, 3, ... (wrapping, never zero) so that every byte of a record
// shows where it came from.
std::vector<std::uint8_t> numberedBytes(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 255 + 1);
    return bytes;
}

RecordFile open(const fs::path& file, std::size_t length) {
    return RecordFile(file, length, RecordFile::IfMissing::Create);
}

TEST(RecordCount, HalfARecordGoesToTheEvenCount) {
    TempDir dir;
    writeFileBytes(dir / "Orvanta2.dat", numberedBytes(280));
    EXPECT_EQ(open(dir / "Orvanta2.dat", 112).recordCount(), 2);
    writeFileBytes(dir / "Orvanta2.dat", numberedBytes(392));
    EXPECT_EQ(open(dir / "Orvanta2.dat", 112).recordCount(), 4);
}

TEST(RecordCount, MoreThanHalfARecordCounts) {
    TempDir dir;
    writeFileBytes(dir / "Orvanta2.dat", numberedBytes(300));
    EXPECT_EQ(open(dir / "Orvanta2.dat", 112).recordCount(), 3);
}

TEST(RecordCount, WholeRecords) {
    TempDir dir;
    writeFileBytes(dir / "Orvanta5.dat", numberedBytes(3 * 1712));
    const RecordFile file = open(dir / "Orvanta5.dat", 1712);
    EXPECT_EQ(file.recordCount(), 3);
    EXPECT_EQ(file.length(), 3u * 1712);
    EXPECT_EQ(file.recordLength(), 1712u);
}

TEST(RecordCount, EmptyFileCountsZero) {
    TempDir dir;
    writeFileBytes(dir / "Orvanta1.dat", {});
    EXPECT_EQ(open(dir / "Orvanta1.dat", 4395).recordCount(), 0);
}

TEST(RecordCount, MoreThan32767RecordsIsRefusedNamingTheFile) {
    TempDir dir;
    const fs::path file = dir / "Orvanta2.dat";
    writeFileBytes(file, {});
    fs::resize_file(file, 32768u * 112); // sparse: cheap to make
    try {
        (void)open(file, 112).recordCount();
        FAIL() << "a count of 32768 was accepted";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), file);
        EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("32768"), std::string::npos);
    }
}

TEST(RecordCount, ExactlyTheLargestCountIsAccepted) {
    TempDir dir;
    const fs::path file = dir / "Orvanta2.dat";
    writeFileBytes(file, {});
    fs::resize_file(file, 32767u * 112);
    EXPECT_EQ(open(file, 112).recordCount(), 32767);
    // 32767.5 records round to the even 32768, which no longer fits.
    fs::resize_file(file, 32767u * 112 + 56);
    EXPECT_THROW((void)open(file, 112).recordCount(), FileError);
}

TEST(ReadRecord, RecordNOccupiesItsOwnBytes) {
    TempDir dir;
    const auto bytes = numberedBytes(3 * 112);
    writeFileBytes(dir / "f.dat", bytes);
    const RecordFile file = open(dir / "f.dat", 112);
    for (long n = 1; n <= 3; ++n) {
        const auto record = file.readRecord(n);
        ASSERT_EQ(record.size(), 112u);
        EXPECT_TRUE(std::equal(record.begin(), record.end(), bytes.begin() + (n - 1) * 112)) << "record " << n;
    }
}

TEST(ReadRecord, PartialLastRecordIsPaddedWithZeros) {
    TempDir dir;
    const auto bytes = numberedBytes(300);
    writeFileBytes(dir / "Orvanta2.dat", bytes);
    const auto record = open(dir / "Orvanta2.dat", 112).readRecord(3);
    ASSERT_EQ(record.size(), 112u);
    EXPECT_TRUE(std::equal(record.begin(), record.begin() + 76, bytes.begin() + 224));
    EXPECT_TRUE(std::all_of(record.begin() + 76, record.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(ReadRecord, PastTheEndReadsAllZeros) {
    TempDir dir;
    writeFileBytes(dir / "Orvanta1.dat", {});
    const RecordFile file = open(dir / "Orvanta1.dat", 4395);
    const auto record = file.readRecord(1);
    ASSERT_EQ(record.size(), 4395u);
    EXPECT_TRUE(std::all_of(record.begin(), record.end(), [](std::uint8_t b) { return b == 0; }));
    // A zero record decodes to zeros and empty texts: 20 slots of type 0.
    const SceneRecord scene = decodeSceneRecord(record);
    EXPECT_EQ(scene.SceneName, "");
    EXPECT_EQ(scene.slot(20).ObjectType, 0);
}

TEST(ReadRecord, RecordNumberBelowOneIsAnError) {
    TempDir dir;
    writeFileBytes(dir / "f.dat", numberedBytes(112));
    const RecordFile file = open(dir / "f.dat", 112);
    EXPECT_THROW((void)file.readRecord(0), FileError);
    EXPECT_THROW((void)file.readRecord(-1), FileError);
}

TEST(ReadRecord, ReadingNeverChangesTheFile) {
    TempDir dir;
    const auto bytes = numberedBytes(300);
    writeFileBytes(dir / "f.dat", bytes);
    {
        const RecordFile file = open(dir / "f.dat", 112);
        for (long n = 1; n <= 5; ++n)
            (void)file.readRecord(n);
    }
    EXPECT_EQ(readFileBytes(dir / "f.dat"), bytes);
}

TEST(OpenRecordFile, MissingFileIsCreatedEmptyAndStays) {
    TempDir dir;
    const fs::path file = dir / "Orvanta3.dat";
    {
        const RecordFile opened = open(file, 209);
        EXPECT_EQ(opened.recordCount(), 0);
        EXPECT_EQ(opened.length(), 0u);
    }
    ASSERT_TRUE(fs::is_regular_file(file));
    EXPECT_EQ(fs::file_size(file), 0u);
}

TEST(OpenRecordFile, MissingFileFailsWhenAskedTo) {
    TempDir dir;
    try {
        RecordFile(dir / "game.orv", 342, RecordFile::IfMissing::Fail);
        FAIL() << "a missing file was opened";
    } catch (const FileError& e) {
        EXPECT_EQ(e.number(), ErrFileNotFound);
        EXPECT_EQ(e.file(), dir / "game.orv");
    }
    EXPECT_FALSE(fs::exists(dir / "game.orv"));
}

TEST(OpenRecordFile, FolderInPlaceOfAFileIsAnErrorNamingIt) {
    TempDir dir;
    const fs::path file = dir / "Orvanta1.dat";
    fs::create_directory(file);
    try {
        (void)open(file, 4395);
        FAIL() << "a folder was opened as a data file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), file);
        EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos);
    }
}

TEST(OpenRecordFile, MissingFolderCannotCreateTheFile) {
    TempDir dir;
    EXPECT_THROW((void)open(dir / "resource" / "Orvanta1.dat", 4395), FileError);
    EXPECT_FALSE(fs::exists(dir / "resource"));
}

TEST(ReadProjectRecord, ReadsTheLockAtOffset304) {
    TempDir dir;
    std::vector<std::uint8_t> bytes(342, ' ');
    testing::poke(bytes, 304, {0x4D, 0x00});
    testing::poke(bytes, 302, {0xFF, 0xFF}); // neighbours are not the lock
    testing::poke(bytes, 306, {0x01, 0x00});
    writeFileBytes(dir / "game.orv", bytes);
    EXPECT_EQ(readProjectRecord(dir / "game.orv").ProjectLock, 77);
}

TEST(ReadProjectRecord, MissingProjectFileIsNotCreated) {
    TempDir dir;
    EXPECT_THROW((void)readProjectRecord(dir / "game.orv"), FileError);
    EXPECT_FALSE(fs::exists(dir / "game.orv"));
}

TEST(ReadProjectRecord, ShortProjectFileReadsZerosPastItsEnd) {
    TempDir dir;
    std::vector<std::uint8_t> bytes(305, 0);
    bytes[304] = 0x09; // the high byte of the lock lies past the end
    writeFileBytes(dir / "game.orv", bytes);
    EXPECT_EQ(readProjectRecord(dir / "game.orv").ProjectLock, 9);
}

} // namespace
} // namespace orv
