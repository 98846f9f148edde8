#include "data/FileError.h"
#include "data/RecordFile.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <numeric>

namespace orv::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A file of 3.5 records of 4 bytes: 0, 1, 2, ... 13.
class BulkReadTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::filesystem::path path = dir / "data.dat";
    void SetUp() override {
        Bytes bytes(14);
        std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
        writeFileBytes(path, bytes);
    }
};

TEST_F(BulkReadTest, RecordsPastTheEndReadAsZerosAndTheBufferIsReused) {
    const RecordFile file(path, 4, RecordFile::IfMissing::Fail);
    struct Case {
        long first;
        std::size_t count;
        Bytes expected;
    };
    Bytes buffer(64, 0xEE); // what an earlier read left
    for (const Case& c : {Case{1, 2, {0, 1, 2, 3, 4, 5, 6, 7}}, Case{3, 2, {8, 9, 10, 11, 12, 13, 0, 0}},
                          Case{4, 1, {12, 13, 0, 0}}, Case{9, 1, {0, 0, 0, 0}}, Case{2, 0, {}}}) {
        file.readRecords(c.first, c.count, buffer);
        EXPECT_EQ(buffer, c.expected) << "from record " << c.first;
        if (c.count == 1) {
            EXPECT_EQ(buffer, file.readRecord(c.first)) << "as one record at a time";
        }
    }
    EXPECT_THROW(file.readRecords(0, 1, buffer), FileError);
    EXPECT_EQ(file.readAll(), readFileBytes(path));
}

TEST_F(BulkReadTest, AFileCutShortAfterOpeningReadsAsZerosPastItsNewEnd) {
    const RecordFile file(path, 4, RecordFile::IfMissing::Fail);
    std::filesystem::resize_file(path, 6);
    EXPECT_EQ(file.readAll(), (Bytes{0, 1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 0, 0}));
    Bytes buffer;
    file.readRecords(2, 2, buffer);
    EXPECT_EQ(buffer, (Bytes{4, 5, 0, 0, 0, 0, 0, 0}));
}

} // namespace
} // namespace orv::testing
