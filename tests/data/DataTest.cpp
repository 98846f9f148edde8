#include "data/DataFiles.h"
#include "data/FileError.h"
#include "data/LoadProject.h"
#include "data/Numbers.h"
#include "data/ProjLockMatch.h"
#include "data/SceneTables.h"
#include "data/Text.h"
#include "support/FileBytes.h"
#include "support/Paths.h"
#include "support/ProjectBuilder.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sys/stat.h>

namespace orv {
namespace {
namespace fs = std::filesystem;
using namespace testing; // orv::testing: the project builder, encoders and fixtures of tests/support
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Strings = std::vector<std::string>;
const std::string Unexpected = "Unexpected error in procedure: ProjLockMatch\r\nError #";

struct CountingLoop : EventLoop {
    void yield() override { ++yields; }
    int yields = 0;
};

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

LoadOutcome load(ProjectState& state, const fs::path& projectFile, EventLoop& loop = noEventLoop()) {
    ChooseProjectFile(state, projectFile);
    return LoadProject(state, loop);
}

TEST(RecordFile, CountsRecordsHalfToEvenReadsZerosPastTheEndAndNeverWrites) {
    TempDir dir;
    const fs::path f = dir / "Orvanta2.dat";
    writeFileBytes(f, {});
    const std::pair<std::uintmax_t, int> rows[] = {{0, 0},   {56, 0},  {57, 1},   {280, 2},
                                                   {300, 3}, {392, 4}, {32767u * 112, 32767}};
    for (const auto& [length, count] : rows) {
        fs::resize_file(f, length); // sparse, so large files cost nothing
        EXPECT_EQ(RecordFile(f, 112, RecordFile::IfMissing::Fail).recordCount(), count) << length;
    }
    for (std::uintmax_t length : {32768u * 112, 32767u * 112 + 56}) { // 32767.5 rounds to the even 32768
        fs::resize_file(f, length);
        EXPECT_THAT([&] { (void)RecordFile(f, 112, RecordFile::IfMissing::Fail).recordCount(); },
                    ::testing::ThrowsMessage<FileError>(AllOf(HasSubstr(f.string()), HasSubstr("32768"))));
    }
    Bytes bytes(300);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 255 + 1); // never zero: each byte shows where it came from
    writeFileBytes(f, bytes);
    const RecordFile file(f, 112, RecordFile::IfMissing::Fail);
    EXPECT_EQ(file.readRecord(2), Bytes(bytes.begin() + 112, bytes.begin() + 224));
    Bytes third(bytes.begin() + 224, bytes.end()); // 76 bytes, then zeros
    third.resize(112, 0);
    EXPECT_EQ(file.readRecord(3), third);
    EXPECT_EQ(file.readRecord(5), Bytes(112, 0));
    EXPECT_THROW((void)file.readRecord(0), FileError);
    EXPECT_EQ(readFileBytes(f), bytes);
}

TEST(Records, TextsLoseBlanksOnlyAndAreDecodedFromWindows1252) {
    const std::string nuls("Kitchen\0\0\0\0\0\0\0\0", 15);
    for (const auto& [raw, text] : {std::pair<std::string, std::string>{"  Kitchen      ", "Kitchen"},
                                    {" Old  Mill", "Old  Mill"}, {"\tKitchen\t", "\tKitchen\t"}, {nuls, nuls},
                                    {std::string(15, '\0'), ""}, {std::string(15, ' '), ""},
                                    {"Caf\xE9 \x80", "Café €"}}) {
        Bytes b(4395, ' ');
        pokeText(b, 0, raw);
        EXPECT_EQ(decodeSceneRecord(b).SceneName, text);
    }
}

// Integers hold their own offsets and texts name theirs, so that a wrong row of a layout table shows; and
// re-encoding what was decoded gives back the fixture, so the support's encoders agree with the decoders.
TEST(Records, SceneAtLiteralOffsetsWithSlot20EndingTheRecord) {
    Bytes b = encodeScene({});
    for (std::size_t o : {15, 17, 19, 21, 23, 148, 150, 152, 154, 205})
        poke(b, o, {static_cast<std::uint8_t>(o), 0});
    for (std::size_t o : {0, 25, 40, 57, 76, 95, 114, 131, 156, 171, 186})
        pokeText(b, o, "t" + std::to_string(o));
    // Slot 20: type, reserved Integers, ObjectText1 and 9, the settings at slot offsets 141 and 205.
    poke(b, 4188, {0xFF, 0xFF, 0x00, 0x01, 0x00, 0x80});
    pokeText(b, 4194, "first.bmp");
    pokeText(b, 4314, "ninth.wav");
    poke(b, 4329, {0x11, 0x00});
    poke(b, 4393, {0x22, 0x01});
    const SceneRecord s = decodeSceneRecord(b);
    EXPECT_EQ(std::tuple(s.SceneName, s.CondLoadEnabled, s.CondLoadFlag, s.CondLoadOperator, s.CondLoadValue,
                         s.CondLoadScene, s.OnLoadFlagEnabled, s.OnLoadFlag, s.OnLoadValue, s.OnLoadAdds,
                         s.ProjectLock),
              std::tuple("t0", 15, 17, 19, 21, 23, 148, 150, 152, 154, 205));
    EXPECT_THAT(s.SceneFile, ElementsAre("t25", "t40", "t57", "t76", "t95", "t114", "t131"));
    EXPECT_THAT(s.HeaderText, ElementsAre("t156", "t171", "t186"));
    const ObjectSlot& z = s.slot(20);
    EXPECT_EQ(std::tuple(z.ObjectType, z.Reserved[0], z.Reserved[1], z.ObjectText[0], z.ObjectText[8]),
              std::tuple(-1, 256, -32768, "first.bmp", "ninth.wav"));
    EXPECT_EQ(std::tuple(z.setting(141), z.setting(205), z.setting(139) + z.setting(142) + z.setting(207)),
              std::tuple(0x11, 0x122, 0)); // only the odd slot offsets 141 to 205 hold settings
    EXPECT_EQ(encodeScene(s), b);
}

TEST(Records, LocationFile1AloneMapsTheWordsForNoFile) {
    Bytes b = encodeLocation({});
    pokeText(b, 15, "map.bmp");
    pokeText(b, 42, "(Del)");
    pokeText(b, 61, "(None)");
    poke(b, 110, {0x4D, 0x00});
    const LocationRecord r = decodeLocationRecord(b);
    EXPECT_EQ(std::tuple(r.LocationFile1, r.LocationFile2, r.LocationFile3, r.ProjectLock),
              std::tuple("map.bmp", "(Del)", "(None)", 77));
    EXPECT_EQ(encodeLocation(r), b);
    for (const auto& [raw, file] :
         {std::pair{"(None)", ""}, {"  (None)   ", ""}, {" (Del)", ""}, {"(none)", "(none)"}}) {
        pokeText(b, 15, (raw + std::string(15, ' ')).substr(0, 15));
        EXPECT_EQ(decodeLocationRecord(b).LocationFile1, file) << raw;
    }
}

TEST(Records, InventoryItemFilesInReportOrderSomeTrimmedAtTheRightOnly) {
    Bytes b = encodeInventoryItem({});
    const std::size_t files[] = {15, 30, 158, 173, 53, 72, 125}; // ItemFile1 to ItemFile7
    for (std::size_t i = 0; i < 7; ++i)
        pokeText(b, files[i], (i < 3 || i == 6 ? " f" : "f") + std::to_string(i + 1));
    poke(b, 150, {1, 0, 33, 0, 0xFB, 0xFF, 1, 0}); // the four Examine Integers
    poke(b, 207, {0x4D, 0x00});                    // an Integer at an odd offset
    const InventoryItemRecord r = decodeInventoryItemRecord(b);
    EXPECT_THAT(r.ItemFile, ElementsAre(" f1", " f2", " f3", "f4", "f5", "f6", " f7"));
    EXPECT_EQ(std::tuple(r.ExamineSetsFlag, r.ExamineFlag, r.ExamineValue, r.ExamineAdds, r.ProjectLock),
              std::tuple(1, 33, -5, 1, 77));
    EXPECT_EQ(encodeInventoryItem(r), b);
    pokeText(b, 173, " f4");
    EXPECT_EQ(decodeInventoryItemRecord(b).ItemFile[3], "f4");
}

TEST(Records, PlayerSettingsFieldsAndSectionFilesInAuditOrder) {
    Bytes b = encodePlayerSettings({});
    pokeText(b, 0, "Lighthouse Keeper   ");
    pokeText(b, 96, "keeper");
    poke(b, 217, {0x4D, 0});
    poke(b, 401, {1, 0, 250, 0});
    poke(b, 451, {1, 0});
    const std::vector<std::vector<std::size_t>> sections = {
        {20, 39, 58, 219, 234, 79}, {284, 299, 314, 329, 344, 367, 382, 453, 411, 428},
        {498, 513, 528, 543, 558, 573, 588, 603, 618, 633, 648, 663, 678, 693, 708}, {789}, {859}};
    std::array<std::vector<std::string>, 5> expected;
    for (std::size_t s = 0; s < 5; ++s)
        for (std::size_t o : sections[s])
            pokeText(b, o, expected[s].emplace_back("f" + std::to_string(o)));
    const PlayerSettingsRecord r = decodePlayerSettingsRecord(b);
    EXPECT_EQ(std::tuple(r.ProjectName, r.ExecutableName, r.ProjectLock, r.ScoreEnabled, r.ScoreFlag,
                         r.BuiltInImages, r.SectionFiles),
              std::tuple("Lighthouse Keeper", "keeper", 77, 1, 250, 1, expected));
    EXPECT_EQ(encodePlayerSettings(r), b);
}

TEST(Records, CueCardChoicesStepTwoAndFifteenBytesAndTheProjectLockIsAt304) {
    Bytes b = encodeCueCard({});
    poke(b, 0, {0xFF, 0xFF});
    for (std::size_t o = 267; o < 307; o += 2) // four Integer arrays of five choices
        poke(b, o, {static_cast<std::uint8_t>(o - 200), 0});
    for (std::size_t o : {317, 332, 347, 362, 377})
        pokeText(b, o, "c" + std::to_string(o));
    const CueCardRecord r = decodeCueCardRecord(b);
    EXPECT_EQ(r.ProjectLock, -1);
    EXPECT_THAT(r.ChoiceSetsFlag, ElementsAre(67, 69, 71, 73, 75));
    EXPECT_THAT(r.ChoiceFlag, ElementsAre(77, 79, 81, 83, 85)); // choice 3 at offset 281
    EXPECT_THAT(r.ChoiceValue, ElementsAre(87, 89, 91, 93, 95));
    EXPECT_THAT(r.ChoiceAdds, ElementsAre(97, 99, 101, 103, 105));
    EXPECT_THAT(r.ChoiceFile, ElementsAre("c317", "c332", "c347", "c362", "c377"));
    EXPECT_EQ(encodeCueCard(r), b);
    Bytes project(342, ' ');
    poke(project, 302, {0x01, 0x00, 0xFF, 0xFF, 0x02, 0x00}); // FF FF between two other Integers
    EXPECT_EQ(decodeProjectRecord(project).ProjectLock, -1);
}

TEST(RecordEncoders, CutTextsToWidthInWindows1252AndCheckTheirInput) {
    SceneRecord s = makeScene("The Very Long Scene Name");
    s.SceneFile[0] = "Café.bmp";
    const Bytes b = encodeScene(s);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 40),
              std::string("The Very Long S\0\0\0\0\0\0\0\0\0\0Caf\xE9.bmp       ", 40));
    EXPECT_THROW(setSetting(s.Slots[0], 142, 1), std::out_of_range); // odd slot offsets 141 to 205 only
    PlayerSettingsRecord r;
    r.SectionFiles[1] = {"only.bmp"}; // fewer names than places leave the rest blank, more throw
    EXPECT_THAT(decodePlayerSettingsRecord(encodePlayerSettings(r)).SectionFiles[1],
                ElementsAre("only.bmp", "", "", "", "", "", "", "", "", ""));
    r.SectionFiles[3] = {"a.bmp", "b.bmp"};
    EXPECT_THROW((void)encodePlayerSettings(r), std::invalid_argument);
}

TEST(Text, Windows1252BothWaysFoldCaseAndLastCharacters) {
    // 80 to 9F; the five bytes that Windows-1252 leaves undefined stand for the code point of their value.
    const char* high[32] = {"€", "\u0081", "‚", "ƒ", "„", "…", "†", "‡", "ˆ", "‰", "Š", "‹", "Œ", "\u008D",
                            "Ž", "\u008F", "\u0090", "‘", "’", "“", "”", "•", "–", "—", "˜", "™", "š", "›",
                            "œ", "\u009D", "ž", "Ÿ"};
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        const std::string text = decodeAnsi({&byte, 1}), one(1, static_cast<char>(b));
        const std::string latin1{static_cast<char>(0xC0 | b >> 6), static_cast<char>(0x80 | (b & 0x3F))};
        EXPECT_EQ(text, b < 0x80 ? one : b < 0xA0 ? std::string(high[b - 0x80]) : latin1) << b;
        EXPECT_EQ(encodeAnsi(text), one) << b;
    }
    EXPECT_EQ(encodeAnsi("Ω a😀b"), "? a?b"); // no Windows-1252 byte
    // Not letters, no capital in Windows-1252, outside Windows-1252, already lower: unchanged.
    for (const auto& [text, folded] : {std::pair{"BtnQuit.GIF", "btnquit.gif"}, {"ÀÞŠŒŽŸ", "àþšœžÿ"},
                                       {"CAFÉ.BMP", "café.bmp"}, {"×ßΩà 12_-.", "×ßΩà 12_-."}})
        EXPECT_EQ(foldCase(text), folded);
    EXPECT_EQ(std::tuple(lastCharacters("Title.MP3", 3), lastCharacters("ab", 3), lastCharacters("x.béé", 3)),
              std::tuple("MP3", "ab", "béé"));
}

TEST(Numbers, LeadingNumberAndRoundingHalfToEven) {
    for (const auto& [text, value] :
         {std::pair{"12abc", 12.0}, {"3.5", 3.5}, {"1.2.3", 1.2}, {"5-3", 5}, {" 7", 7}, {"1 2", 12},
          {"- 5", -5}, {"\t9\n", 9}, {"+5", 5}, {"--5", 0}, {"-.5", -0.5}, {".5", 0.5}, {".", 0}, {"abc", 0},
          {"", 0}, {"-", 0}, {"1e5", 1}, {"0x10", 0}, {"&H10", 0}})
        EXPECT_EQ(LeadingNumber(text), value) << text;
    for (const auto& [x, n] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {-2.51, -3}})
        EXPECT_EQ(roundHalfEven(x), n) << x;
    for (const auto& [x, n] : {std::pair{12.5, 12}, {32767.4, 32767}, {-32768.5, -32768}})
        EXPECT_EQ(roundToInteger(x), static_cast<Integer>(n)) << x;
    for (double x : {HUGE_VAL, -HUGE_VAL, std::nan(""), 1e300})
        EXPECT_FALSE(roundHalfEven(x)) << x;
    for (double x : {32767.5, 32768.0, -32769.0})
        EXPECT_FALSE(roundToInteger(x)) << x;
}

TEST(ProjectPaths, TheFolderOfTheProjectFileAndComponentsFoundInAnyCase) {
    const ProjectPaths p = ProjectPaths::fromProjectFile("/games/./quest//quest.orv");
    EXPECT_EQ(std::tuple(p.ProjectFilePath.string(), p.ProjectFolder.string()),
              std::tuple("/games/quest/quest.orv", "/games/quest"));
    // ".." is the system's: with no folder sub to climb out of, it stays for the system to refuse.
    EXPECT_EQ(ProjectPaths::fromProjectFile("/games/quest/sub/../quest.orv").ProjectFolder,
              fs::path("/games/quest/sub/.."));
    EXPECT_TRUE(ProjectPaths::fromProjectFile("quest.orv").ProjectFolder.is_absolute());
    TempDir dir;
    fs::create_directories(dir / "Resource" / "Gfx");
    for (const char* name : {"Resource/Gfx/Door.GIF", "Resource/ORVANTA2.DAT", "Resource/Orvanta2.dat"})
        writeFileText(dir / name, "x");
    // The exact spelling wins; from the first component that matches nothing on, the rest is as given.
    for (const auto& [relative, found] : {std::pair{"resource\\gfx\\door.gif", "Resource/Gfx/Door.GIF"},
                                          {"resource/Orvanta2.dat", "Resource/Orvanta2.dat"},
                                          {"RESOURCE/mmedia/Song.wav", "Resource/mmedia/Song.wav"}})
        EXPECT_EQ(resolveIgnoringCase(dir.path(), relative), dir / found) << relative;
}

TEST(ProjLockMatch, RecordOneOfEveryDataFileMustCarryTheProjectLock) {
    std::vector<std::tuple<std::string, Integer, std::function<void(ProjectBuilder&)>, bool>> rows = {
        {"lock 77 everywhere", 77, [](auto&) {}, true},
        {"-1 matches FF FF", -1, [](auto&) {}, true},
        {"255 is not -1", -1, [](auto& b) { pokeLock(b, 2, {0xFF, 0x00}); }, false},
        {"Orvanta3 of 0 bytes", 77, [](auto& b) { b.items.clear(); }, true},
        {"Orvanta3 of 10 bytes", 77, [](auto& b) { b.rawDataFile[3] = Bytes(10, 0x4D); }, false},
        {"Orvanta3 of 10 bytes, lock 0", 0, [](auto& b) { b.rawDataFile[3] = Bytes(10, 1); }, true},
        {"Orvanta5 of 0 bytes", 77, [](auto& b) { b.cueCards.clear(); }, true},
        {"Orvanta5 missing", 77, [](auto& b) { b.omitDataFile = {5}; }, true},
        {"Orvanta2 missing, lock 5", 5, [](auto& b) { b.omitDataFile = {2}; }, false},
        {"Orvanta2 missing, lock 0", 0, [](auto& b) { b.omitDataFile = {2}; }, true},
        {"Orvanta1 of 0 bytes", 9, [](auto& b) { b.scenes.clear(); }, false},
        {"Orvanta4 missing", 9, [](auto& b) { b.omitDataFile = {4}; }, false},
        {"Orvanta1 empty, still on", 77, [](auto& b) { b.scenes.clear(), b.omitDataFile = {2}; }, false},
        {"record 3 unread", 77, [](auto& b) { b.locations.resize(3), b.locations[2].ProjectLock = 1; }, true},
    };
    for (int n = 1; n <= 5; ++n) // one file disagrees
        rows.emplace_back(dataFileName(n), 77, [n](auto& b) { pokeLock(b, n, {78, 0}); }, false);
    for (const auto& [name, lock, edit, matched] : rows) {
        ProjectBuilder b = project(lock);
        edit(b);
        TempDir dir;
        const LockCheck result = ProjLockMatch(ProjectPaths::fromProjectFile(b.write(dir.path())));
        EXPECT_EQ(std::tuple(result.matched, result.unexpectedError), std::tuple(matched, std::nullopt))
            << name;
        for (int n : b.omitDataFile) // created empty by the check, even after a mismatch
            EXPECT_EQ(fs::file_size(dir / "resource" / dataFileName(n)), 0u) << name;
    }
}

TEST(LoadProject, FillsPanelListsAndCountsFindingTheFilesInAnyCase) {
    TempDir dir;
    ProjectBuilder b = project(-1);
    for (const char* name : {"Empty", "Full", "Path", "  Attic   ", "Cellar"})
        b.scenes.push_back(makeScene(name));
    b.scenes[0].Slots[0].ObjectType = 0; // objects: type 0 counts, and so do slot 20 and all of Full
    b.scenes[0].Slots[19].ObjectType = 9;
    b.scenes[1].Slots[5].ObjectType = 4;
    b.scenes[2].Slots[3].Settings.fill(5); // settings do not make an empty slot an object
    for (ObjectSlot& slot : b.scenes[3].Slots)
        slot.ObjectType = 1;
    const fs::path projectFile = b.write(dir.path());
    fs::rename(dir / "resource", dir / "Resource");
    fs::rename(dir / "Resource" / "Orvanta1.dat", dir / "Resource" / "ORVANTA1.DAT");
    ProjectState state;
    CountingLoop loop;
    const LoadOutcome outcome = load(state, projectFile, loop);
    ASSERT_TRUE(outcome.loaded()) << outcome.message;
    EXPECT_EQ(state.PInfo, "Project Location: " + projectFile.string() +
                               "\nProject Name: Lighthouse Keeper\nProject Security: ON\n\nScenes Count: 7"
                               "\nInsertable Objects Count: 23\nLocations Count: 1\nInventory Items Count: 2"
                               "\nCue Cards Count: 1");
    EXPECT_EQ(state.SceneListBox,
              (Strings{"(Not A Scene)", "Quay", "Lamp Room", "Empty", "Full", "Path", "Attic", "Cellar"}));
    EXPECT_EQ(std::tuple(state.Combo1.size(), state.Combo1[0], state.Combo1[7], state.Combo1Index),
              std::tuple(8u, "Choose a scene...", "7 (Cellar)", 0));
    EXPECT_EQ(state.Caption, "Orvanta Project Scanner/ Utility - Lighthouse Keeper");
    EXPECT_EQ(std::tuple(state.InsertableObjectCount, state.PathBox, outcome.message),
              std::tuple(23, projectFile.string(), ""));
    EXPECT_TRUE(state.SecurityOn && state.ReportsEnabled && state.Loaded);
    EXPECT_EQ(loop.yields, 4); // at the fixed points, never inside the scene loop
    EXPECT_FALSE(fs::exists(dir / "resource") || fs::exists(dir / "Resource" / "Orvanta1.dat"));
}

TEST(LoadProject, LaterLoadsReplaceTheListsKeepAnUnreadNameAndSurviveAFailure) {
    TempDir first, second;
    ProjectState state, fresh;
    ASSERT_TRUE(load(state, project(0).write(first.path())).loaded());
    EXPECT_THAT(state.PInfo, HasSubstr("\nProject Security: OFF\n"));
    ProjectBuilder b = project(5);
    b.settings.ProjectName = "Second Game";
    b.scenes = {makeScene("Only")};
    const Bytes settings = b.dataFileBytes(4);
    b.rawDataFile[4] = settings;
    b.rawDataFile[4].insert(b.rawDataFile[4].end(), settings.begin(), settings.end()); // 1816 bytes
    const fs::path secondFile = b.write(second.path());
    fs::resize_file(secondFile, 306); // shorter than 342 bytes, but the lock at 304 is whole
    ASSERT_TRUE(load(state, secondFile).loaded());
    EXPECT_THAT(state.PInfo, StartsWith("Project Location: " + secondFile.string() +
                                        "\nProject Name: Lighthouse Keeper\nProject Security: ON\n"));
    EXPECT_EQ(state.Caption, "Orvanta Project Scanner/ Utility - Lighthouse Keeper");
    EXPECT_EQ(state.Combo1, (Strings{"Choose a scene...", "1 (Only)"}));
    ASSERT_TRUE(load(fresh, secondFile).loaded()); // on a first load the name stays empty
    EXPECT_EQ(std::tuple(fresh.ProjectName, fresh.Caption), std::tuple("", versionedTitle()));

    fs::resize_file(secondFile, 100); // now the lock reads 0
    CountingLoop loop;
    const LoadOutcome outcome = load(state, secondFile, loop);
    EXPECT_EQ(std::tuple(outcome.status, outcome.unexpectedError),
              std::tuple(LoadOutcome::Status::SecurityFailure, std::nullopt));
    EXPECT_EQ(outcome.message,
              "There was a project security failure.  Please obtain the correct project files.\rIf you have "
              "received this message in error, please send e-mail to '" + std::string(SupportAddress) + "'.");
    EXPECT_EQ(state.PathBox,
              "Click \"Locate\" button to the right to choose an Orvanta Project to scan.   ------->");
    EXPECT_EQ(std::tuple(state.PInfo, state.Caption, state.ReportsEnabled, state.Loaded, loop.yields),
              std::tuple("", "Orvanta Project Scanner/ Utility v3.1.0", false, false, 0));
    EXPECT_EQ(std::tuple(state.ProjectName, state.Combo1), // what the last load left stays
              std::tuple("Lighthouse Keeper", Strings{"Choose a scene...", "1 (Only)"}));
}

TEST(LoadProject, NoScenesThenTooManyItemsThenNoResourceFolderThenNoProjectFile) {
    TempDir dir;
    ProjectBuilder b = project(0); // only lock 0 matches the empty scene file
    b.scenes.clear();
    b.omitDataFile = {5};
    const fs::path projectFile = b.write(dir.path());
    fs::resize_file(projectFile, 0); // reads lock 0 as well
    ProjectState state;
    ASSERT_TRUE(load(state, projectFile).loaded());
    EXPECT_EQ(std::tuple(state.SecurityOn, state.SceneListBox, state.Combo1),
              std::tuple(false, Strings{"(Not A Scene)"}, Strings{"Choose a scene..."}));
    EXPECT_THAT(state.PInfo, HasSubstr("OFF\n\nScenes Count: 0\nInsertable Objects Count: 0\nLocations "
                                       "Count: 1\nInventory Items Count: 2\nCue Cards Count: 0"));

    const fs::path items = dir / "resource" / "Orvanta3.dat";
    fs::resize_file(items, 40000u * 209);
    const LoadOutcome tooMany = load(state, projectFile);
    EXPECT_EQ(tooMany.status, LoadOutcome::Status::Error);
    EXPECT_THAT(tooMany.message, HasSubstr(items.string()));
    EXPECT_EQ(std::tuple(state.PathBox, state.ReportsEnabled), std::tuple(PathPrompt, false));
    fs::remove(items), fs::create_directory(items); // a folder where a data file belongs
    EXPECT_THAT(load(state, projectFile).unexpectedError.value_or(""), HasSubstr(items.string()));
    fs::remove(items), ::mkfifo(items.c_str(), 0600); // a pipe: refused, not waited on for ever
    EXPECT_THAT(load(state, projectFile).unexpectedError.value_or(""), HasSubstr(items.string()));

    fs::remove_all(dir / "resource"); // the check cannot create Orvanta1.dat, and tells why
    EXPECT_THAT(load(state, projectFile).unexpectedError.value_or(""),
                AllOf(StartsWith(Unexpected), HasSubstr((dir / "resource").string() + ": the project has no resource folder")));
    const LoadOutcome missing = load(state, dir / "missing.orv");
    EXPECT_EQ(std::tuple(missing.status, missing.message),
              std::tuple(LoadOutcome::Status::SecurityFailure, securityFailureMessage()));
    EXPECT_THAT(missing.unexpectedError.value_or(""), StartsWith(Unexpected + "53: "));
    EXPECT_FALSE(fs::exists(dir / "missing.orv") || fs::exists(dir / "resource")); // nothing was created
}

TEST(DataFiles, OpenCountsAndYieldsTwiceThenReadersAndLoadSceneReadRecordN) {
    TempDir dir;
    ProjectBuilder b; // also shows that the builder stamps its lock into record 1 only
    b.lock = -2, b.settings.ScoreFlag = 250;
    b.locations.resize(3), b.items.resize(4), b.cueCards.resize(3);
    b.locations[1].LocationFile1 = "loc2.bmp";
    b.locations[1].ProjectLock = 7;
    b.items[2].ExamineFlag = 13;
    b.cueCards[2].ChoiceFile[0] = "card3.wav";
    b.scenes = {makeScene("Quay"), makeScene("Stairs"), makeScene("Lamp Room")};
    setSetting(b.scenes[0].Slots[7], 159, 44).ObjectText[2] = "  padded.gif  "; // an empty slot with settings
    b.scenes[2].Slots[4].ObjectType = 6;
    b.scenes[2].Slots[4].ObjectText[8] = "tick.wav";
    ProjectState state;
    state.Paths = ProjectPaths::fromProjectFile(b.write(dir.path()));
    CountingLoop loop;
    const DataFiles files = OpenDataFiles(state, loop);
    EXPECT_EQ(std::tuple(loop.yields, state.SceneCount, state.LocationCount, state.InventoryItemCount,
                         state.CueCardCount),
              std::tuple(2, 3, 3, 4, 3));
    EXPECT_EQ(std::tuple(ReadLocation(files, 1).ProjectLock, ReadLocation(files, 2).ProjectLock,
                         ReadLocation(files, 2).LocationFile1, ReadInventoryItem(files, 3).ExamineFlag,
                         ReadCueCard(files, 3).ChoiceFile[0], ReadPlayerSettings(files).ProjectLock,
                         ReadPlayerSettings(files).ScoreFlag),
              std::tuple(-2, 7, "loc2.bmp", 13, "card3.wav", -2, 250));
    SceneTables tables;
    LoadScene(files, 3, tables);
    EXPECT_EQ(tables.Scene.slot(5).ObjectText[8], "tick.wav");
    LoadScene(files, 1, tables); // replaces everything
    const SceneRecord& s = tables.Scene;
    EXPECT_EQ(std::tuple(tables.CurrentScene, s.SceneName, s.ProjectLock, s.slot(5).ObjectType,
                         s.slot(5).ObjectText[8], s.slot(8).ObjectType, s.slot(8).setting(159),
                         s.slot(8).ObjectText[2]),
              std::tuple(1, "Quay", -2, -1, "", -1, 44, "padded.gif"));
    LoadScene(files, 4, tables); // past the last scene: zeros
    EXPECT_EQ(std::tuple(tables.CurrentScene, s.SceneName, s.slot(20).ObjectType), std::tuple(4, "", 0));
}

TEST(SampleProject, LoadsFromACopyWithItsPanel) {
    TempDir dir; // a copy, so that a test run never changes the repository
    fs::copy(fs::path(ExamplesDir) / "lighthouse", dir.path(), fs::copy_options::recursive);
    ProjectState state;
    ASSERT_TRUE(load(state, dir / "lighthouse.orv").loaded());
    EXPECT_EQ(state.PInfo, "Project Location: " + (dir / "lighthouse.orv").string() +
                               "\nProject Name: Lighthouse Keeper\nProject Security: ON\n\nScenes Count: 12"
                               "\nInsertable Objects Count: 34\nLocations Count: 4\nInventory Items Count: 6"
                               "\nCue Cards Count: 3");
    EXPECT_EQ(std::tuple(state.Combo1[1], state.Combo1[12]), std::tuple("1 (Harbour)", "12 (Dawn)"));
}

} // namespace
} // namespace orv
