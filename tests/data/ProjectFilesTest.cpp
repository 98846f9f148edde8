// Opening and reading the project's files: the end of a record file, the chunked reader, links and
// folders where files belong, the lock check and loading.

#include "data/FolderHandle.h"
#include "data/LoadProject.h"
#include "data/ProjLockMatch.h"
#include "data/RecordFile.h"
#include "support/FileBytes.h"
#include "support/ProjectBuilder.h"
#include "support/TempDir.h"

#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace orv::testing {
namespace {
namespace fs = std::filesystem;
using ::testing::HasSubstr;

struct CountingLoop : EventLoop {
    void yield() override { ++yields; }
    int yields = 0;
};

Result<RecordFile> openFile(const fs::path& path, std::size_t length) {
    return RecordFile::open(path, length, RecordFile::IfMissing::Fail);
}

Bytes numbered(std::size_t n) { // bytes 1, 2, 3, ...: each byte shows where it came from
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 251 + 1);
    return bytes;
}

TEST(RecordFile, CountsRecordsHalfToEvenUpTo32767) {
    TempDir dir;
    const fs::path f = dir / "Orvanta2.dat";
    writeFileBytes(f, {});
    const std::pair<std::uintmax_t, int> rows[] = {{0, 0},   {55, 0},  {56, 0},  {57, 1},           {167, 1},
                                                   {168, 2}, {280, 2}, {281, 3}, {392, 4},           {393, 4},
                                                   {32767u * 112, 32767},        {32767u * 112 + 55, 32767}};
    for (const auto& [length, count] : rows) {
        fs::resize_file(f, length); // sparse, so large files cost nothing
        EXPECT_EQ(*openFile(f, 112)->recordCount(), count) << length;
    }
    for (std::uintmax_t length : {32767u * 112 + 56, 32768u * 112}) { // 32767.5 rounds to the even 32768
        fs::resize_file(f, length);
        const Result<Integer> count = openFile(f, 112)->recordCount();
        ASSERT_FALSE(count) << length;
        EXPECT_EQ(std::tuple(count.failure().kind, count.failure().path), std::tuple(FailureKind::TooManyRecords, f));
        EXPECT_THAT(count.failure().reason, HasSubstr("holds 32768 records of 112 bytes"));
    }
}

// A file of 3.5 records of 4 bytes: whole records, the last partial one padded with zeros, zeros past the
// end; and after the file was cut short under the open handle.
TEST(RecordFile, ReadsRecordsThePartialLastOneAndZerosPastTheEnd) {
    TempDir dir;
    const fs::path path = dir / "data.dat";
    writeFileBytes(path, numbered(14));
    Result<RecordFile> file = openFile(path, 4);
    ASSERT_TRUE(file);
    const std::tuple<long, std::size_t, Bytes> cases[] = {{1, 2, {1, 2, 3, 4, 5, 6, 7, 8}},
                                                          {3, 2, {9, 10, 11, 12, 13, 14, 0, 0}},
                                                          {4, 1, {13, 14, 0, 0}}, {5, 1, {0, 0, 0, 0}},
                                                          {9, 2, Bytes(8, 0)}, {2, 0, {}}};
    Bytes buffer(64, 0xEE); // what an earlier read left
    for (const auto& [first, count, expected] : cases) {
        ASSERT_TRUE(file->readRecords(first, count, buffer));
        EXPECT_EQ(buffer, expected) << "from record " << first;
    }
    EXPECT_EQ(*file->readRecord(4), (Bytes{13, 14, 0, 0}));
    for (long bad : {0L, -1L})
        EXPECT_EQ(file->readRecord(bad).failure().kind, FailureKind::CannotRead);
    const Result<RecordFile> cut = openFile(path, 4);
    fs::resize_file(path, 6);
    EXPECT_EQ(*cut->readRecord(2), (Bytes{5, 6, 0, 0}));
    EXPECT_EQ(*cut->readRecord(3), Bytes(4, 0));
    EXPECT_EQ(readFileBytes(path), (Bytes{1, 2, 3, 4, 5, 6})) << "never written";
}

// Scene-sized records come 29 to a chunk: every record across several chunks, in order and out of order,
// the partial last one and those past the end; a record the last chunk brought is there to peek at.
TEST(RecordReader, EveryRecordAcrossChunksPartialLastAndPastTheEnd) {
    constexpr std::size_t L = 4395;
    TempDir dir;
    const fs::path path = dir / "Orvanta1.dat";
    const Bytes bytes = numbered(61 * L + L / 2);
    writeFileBytes(path, bytes);
    Result<RecordFile> file = openFile(path, L);
    const auto expected = [&](long n) {
        Bytes record(L, 0);
        const std::size_t start = static_cast<std::size_t>(n - 1) * L;
        if (start < bytes.size())
            std::copy(bytes.begin() + long(start), bytes.begin() + long(std::min(bytes.size(), start + L)), record.begin());
        return record;
    };
    RecordReader reader(*file);
    std::vector<long> order{30, 29, 58, 1, 62, 63, 59, 2};
    for (long n = 1; n <= 64; ++n)
        order.push_back(n);
    for (long n : order) {
        const Result<RecordBytes> record = reader.record(n);
        ASSERT_TRUE(record) << n;
        ASSERT_EQ(Bytes(record->begin(), record->end()), expected(n)) << "record " << n;
    }
    EXPECT_FALSE(reader.record(0));
    ASSERT_TRUE(reader.record(30));
    EXPECT_EQ(std::tuple(reader.peek(29).has_value(), reader.peek(59).has_value()), std::tuple(false, false));
    EXPECT_EQ(Bytes(reader.peek(58)->begin(), reader.peek(58)->end()), expected(58)) << "30 to 58 came in one chunk";
}

struct OpenCase {
    const char* what;
    std::function<void(const fs::path&)> make; // makes the entry "x" in the folder it is given
    bool create;
    std::optional<FailureKind> fails; // empty: opens an ordinary file
    std::string reason;
};

TEST(FolderHandle, OpensOrdinaryFilesAndRefusesEverythingElse) {
    const auto file = [](const fs::path& d) { writeFileText(d / "x", "abc"); };
    const OpenCase cases[] = {
        {"an ordinary file", file, false, {}, ""},
        {"a link to one", [&](const fs::path& d) { file(d / ".."), fs::create_symlink("../x", d / "x"); }, false, {}, ""},
        {"nothing, created", [](const fs::path&) {}, true, {}, ""},
        {"nothing", [](const fs::path&) {}, false, FailureKind::FileMissing, "No such file or directory"},
        {"a dangling link", [](const fs::path& d) { fs::create_symlink("gone", d / "x"); }, true,
         FailureKind::LinkRefused, "it names gone, which does not exist"},
        {"a loop of links", [](const fs::path& d) { fs::create_symlink("x", d / "x"); }, true, FailureKind::LinkRefused,
         "it names x, which is a loop of links"},
        {"a link to a folder", [](const fs::path& d) { fs::create_symlink(".", d / "x"); }, false,
         FailureKind::LinkRefused, "which is not an ordinary file"},
        {"a folder", [](const fs::path& d) { fs::create_directory(d / "x"); }, true, FailureKind::NotOrdinaryFile,
         "is a folder, not a data file"},
        {"a pipe", [](const fs::path& d) { ::mkfifo((d / "x").c_str(), 0600); }, true, FailureKind::NotOrdinaryFile,
         "is not an ordinary file"},
    };
    for (const OpenCase& c : cases) {
        TempDir dir;
        fs::create_directory(dir / "in");
        c.make(dir / "in");
        const Result<int> fd = openOrdinaryFile(*FolderHandle::open(dir / "in"), "x", c.create);
        ASSERT_EQ(fd.ok(), !c.fails) << c.what;
        struct stat st {};
        if (fd) {
            EXPECT_TRUE(::fstat(*fd, &st) == 0 && S_ISREG(st.st_mode)) << c.what;
            ::close(*fd);
            continue;
        }
        EXPECT_EQ(std::tuple(fd.failure().kind, fd.failure().path), std::tuple(*c.fails, dir / "in" / "x")) << c.what;
        EXPECT_THAT(fd.failure().reason, HasSubstr(c.reason)) << c.what;
        EXPECT_FALSE(fs::exists(dir / "in" / "gone")) << c.what;
    }
}

TEST(FolderHandle, FollowsLinksAsTheSystemDoesAndFindsNamesIgnoringCase) {
    TempDir dir;
    fs::create_directories(dir / "a" / "inner"), fs::create_directories(dir / "b");
    fs::create_symlink(dir / "a" / "inner", dir / "b" / "l");
    fs::create_symlink("loop", dir / "b" / "loop");
    // ".." after a link climbs out of the folder the link leads to.
    EXPECT_TRUE(FolderHandle::open(dir / "b" / "l" / ".." / "inner"));
    EXPECT_FALSE(FolderHandle::open(dir / "b" / "l" / ".." / "b"));
    const Result<FolderHandle> loop = FolderHandle::open(dir / "b" / "loop" / "x");
    ASSERT_FALSE(loop);
    EXPECT_EQ(std::tuple(loop.failure().kind, loop.failure().path, loop.failure().reason),
              std::tuple(FailureKind::CannotOpen, dir / "b" / "loop", "Too many levels of symbolic links"));
    for (const char* name : {"ORVANTA1.DAT", "orvanta1.dat", "Orvanta1.DAT", "OrvantaX.dat"})
        writeFileText(dir / "a" / name, "x");
    const Result<FolderHandle> a = FolderHandle::open(dir / "a");
    // The exact spelling wins; otherwise the smallest of the names that match.
    EXPECT_EQ(a->findIgnoringCase("Orvanta1.DAT"), "Orvanta1.DAT");
    EXPECT_EQ(a->findIgnoringCase("Orvanta1.dat"), "ORVANTA1.DAT");
    EXPECT_EQ(a->findIgnoringCase("INNER"), "inner");
    EXPECT_EQ(a->findIgnoringCase("Orvanta2.dat"), std::nullopt);
}

ProjectBuilder project(Integer lock) { // two scenes, one location, two items, one cue card
    ProjectBuilder b;
    b.lock = lock, b.settings.ProjectName = "  Lighthouse Keeper ";
    b.scenes = {makeScene("Quay"), makeScene("Lamp Room")};
    b.locations.resize(1), b.items.resize(2), b.cueCards.resize(1);
    return b;
}

void pokeLock(ProjectBuilder& b, int n, std::initializer_list<std::uint8_t> bytes) { // in record 1 of file n
    b.rawDataFile[n] = b.dataFileBytes(n);
    poke(b.rawDataFile[n], std::array<std::size_t, 6>{0, 205, 110, 207, 217, 0}[n], bytes);
}

// Each data file missing or empty with lock 77 is a case of the damaged-project matrix.
TEST(ProjLockMatch, RecordOneOfEveryDataFileMustCarryTheProjectLock) {
    std::vector<std::tuple<std::string, Integer, std::function<void(ProjectBuilder&)>, bool>> rows = {
        {"lock 77 everywhere", 77, [](auto&) {}, true},
        {"-1 matches FF FF", -1, [](auto&) {}, true},
        {"255 is not -1", -1, [](auto& b) { pokeLock(b, 2, {0xFF, 0x00}); }, false},
        {"Orvanta3 of 10 bytes", 77, [](auto& b) { b.rawDataFile[3] = Bytes(10, 0x4D); }, false},
        {"Orvanta3 of 10 bytes, lock 0", 0, [](auto& b) { b.rawDataFile[3] = Bytes(10, 1); }, true},
        {"Orvanta2 missing, lock 0", 0, [](auto& b) { b.omitDataFile = {2}; }, true},
        {"record 3 unread", 77, [](auto& b) { b.locations.resize(3), b.locations[2].ProjectLock = 1; }, true},
    };
    for (int n = 1; n <= 5; ++n) // one file disagrees
        rows.emplace_back(dataFileName(n), 77, [n](auto& b) { pokeLock(b, n, {78, 0}); }, false);
    for (const auto& [name, lock, edit, matched] : rows) {
        ProjectBuilder b = project(lock);
        edit(b);
        TempDir dir;
        const Result<ProjectFiles> files = ProjLockMatch(ProjectPaths::fromProjectFile(b.write(dir.path())));
        EXPECT_EQ(files.ok(), matched) << name;
        if (!files) {
            EXPECT_EQ(std::tuple(files.failure().kind, files.failure().expectedLock),
                      std::tuple(FailureKind::LockMismatch, lock)) << name;
        }
        for (int n : b.omitDataFile) // created empty by the check, even after a mismatch
            EXPECT_EQ(fs::file_size(dir / "resource" / dataFileName(n)), 0u) << name;
    }
}

TEST(LoadProject, CountsNamesAndThePanelFindingTheFilesInAnyCase) {
    TempDir dir;
    ProjectBuilder b = project(-1);
    for (const char* name : {"Empty", "Full", "Path", "  Attic   "})
        b.scenes.push_back(makeScene(name));
    b.scenes[0].Slots[0].ObjectType = 0; // objects: type 0 counts, and so do slot 20 and all of Full
    b.scenes[0].Slots[19].ObjectType = 9;
    b.scenes[1].Slots[5].ObjectType = -2;
    b.scenes[2].Slots[3].Settings.fill(5); // settings do not make an empty slot an object
    for (ObjectSlot& slot : b.scenes[3].Slots)
        slot.ObjectType = 1;
    const fs::path projectFile = b.write(dir.path());
    fs::rename(dir / "resource", dir / "Resource");
    fs::rename(dir / "Resource" / "Orvanta1.dat", dir / "Resource" / "ORVANTA1.DAT");
    CountingLoop loop;
    Result<OpenProject> open = LoadProject(ProjectPaths::fromProjectFile(projectFile), loop);
    ASSERT_TRUE(open) << describeFailure(open.failure());
    const LoadedProject& p = open->project;
    EXPECT_EQ(ProjectInformation(p), "Project Location: " + projectFile.string() +
                                         "\nProject Name: Lighthouse Keeper\nProject Security: ON\n\nScenes Count: 6"
                                         "\nInsertable Objects Count: 23\nLocations Count: 1\nInventory Items Count: 2"
                                         "\nCue Cards Count: 1");
    EXPECT_EQ(p.SceneNames,
              (std::vector<std::string>{"(Not A Scene)", "Quay", "Lamp Room", "Empty", "Full", "Path", "Attic"}));
    EXPECT_EQ(std::tuple(p.sceneName(6), p.sceneName(7), p.sceneName(-1)), std::tuple("Attic", "", ""));
    EXPECT_EQ(loop.yields, 4); // at the fixed points, never inside the scene loop
    EXPECT_EQ(open->files.Scenes.path(), dir / "Resource" / "ORVANTA1.DAT") << "spelled as on disk";
    EXPECT_FALSE(fs::exists(dir / "resource") || fs::exists(dir / "Resource" / "Orvanta1.dat"));

    // Opening again for a report refreshes the counts; the name is read only from a one-record file.
    LoadedProject later = p;
    later.ProjectName = "kept";
    b.items.resize(5);
    b.rawDataFile[4] = b.dataFileBytes(4);
    b.rawDataFile[4].push_back(0);
    fs::remove_all(dir / "Resource");
    b.write(dir.path());
    CountingLoop reopen;
    const Result<ProjectFiles> files = OpenDataFiles(later, reopen);
    ASSERT_TRUE(files);
    EXPECT_EQ(std::tuple(later.InventoryItemCount, later.ProjectName, reopen.yields), std::tuple(5, "kept", 2));
}

// The data files that are missing, folders, pipes or too long are cases of the damaged-project matrix.
TEST(LoadProject, AnEmptyProjectLoadsAndAMissingProjectFileIsNamed) {
    TempDir dir;
    ProjectBuilder b = project(0);
    b.scenes.clear();
    const fs::path projectFile = b.write(dir.path());
    const Result<OpenProject> empty = LoadProject(ProjectPaths::fromProjectFile(projectFile), noEventLoop());
    EXPECT_EQ(std::tuple(empty->project.SecurityOn, empty->project.SceneNames.size()), std::tuple(false, 1u));
    fs::remove(projectFile);
    const Result<OpenProject> open = LoadProject(ProjectPaths::fromProjectFile(projectFile), noEventLoop());
    ASSERT_FALSE(open);
    EXPECT_EQ(std::tuple(open.failure().kind, open.failure().path), std::tuple(FailureKind::FileMissing, projectFile));
    EXPECT_FALSE(fs::exists(projectFile)) << "nothing was created";
}

} // namespace
} // namespace orv::testing
