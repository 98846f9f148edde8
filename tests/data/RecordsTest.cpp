#include "data/Records.h"

#include "support/FileBytes.h"
#include "support/RecordEncoders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {
using testing::poke;
using testing::pokeText;

// Fixtures are raw bytes at literal offsets, so that these tests check the
// layout tables rather than repeat them.
std::vector<std::uint8_t> zeros(std::size_t n) { return std::vector<std::uint8_t>(n, 0); }
std::vector<std::uint8_t> blanks(std::size_t n) { return std::vector<std::uint8_t>(n, ' '); }

// --- Integers and texts -----------------------------------------------------

TEST(DecodeIntegers, LittleEndianSigned) {
    auto bytes = zeros(4395);
    poke(bytes, 205, {0xFF, 0xFF});
    poke(bytes, 15, {0x01, 0x00});
    poke(bytes, 17, {0x00, 0x01});
    poke(bytes, 19, {0x00, 0x80});
    const SceneRecord s = decodeSceneRecord(bytes);
    EXPECT_EQ(s.ProjectLock, -1);
    EXPECT_EQ(s.CondLoadEnabled, 1);
    EXPECT_EQ(s.CondLoadFlag, 256);
    EXPECT_EQ(s.CondLoadOperator, -32768);
}

TEST(DecodeIntegers, MayStartAtAnOddOffset) {
    auto bytes = zeros(112);
    poke(bytes, 110, {0x4D, 0x00});
    EXPECT_EQ(decodeLocationRecord(bytes).ProjectLock, 77);
    auto item = zeros(209);
    poke(item, 207, {0x34, 0x12});
    EXPECT_EQ(decodeInventoryItemRecord(item).ProjectLock, 0x1234);
}

TEST(DecodeTexts, BlanksAtBothEndsAreTrimmed) {
    auto bytes = zeros(4395);
    pokeText(bytes, 0, "  Kitchen      ");
    EXPECT_EQ(decodeSceneRecord(bytes).SceneName, "Kitchen");
}

TEST(DecodeTexts, NulBytesAfterTheTextAreKept) {
    auto bytes = blanks(4395);
    pokeText(bytes, 0, std::string("Kitchen\0\0\0\0\0\0\0\0", 15));
    EXPECT_EQ(decodeSceneRecord(bytes).SceneName, std::string("Kitchen\0\0\0\0\0\0\0\0", 15));
}

TEST(DecodeTexts, AllZeroTextIsEmpty) {
    auto bytes = zeros(4395);
    const SceneRecord s = decodeSceneRecord(bytes);
    EXPECT_EQ(s.SceneName, "");
    EXPECT_EQ(s.SceneFile[0], "");
    EXPECT_EQ(s.slot(1).ObjectText[0], "");
}

TEST(DecodeTexts, OnlyBlanksIsEmpty) {
    const SceneRecord s = decodeSceneRecord(blanks(4395));
    EXPECT_EQ(s.SceneName, "");
    EXPECT_EQ(s.slot(7).ObjectText[8], "");
}

TEST(DecodeTexts, Windows1252IsShownAsUtf8) {
    auto bytes = blanks(4395);
    pokeText(bytes, 0, "Caf\xE9 \x80");
    EXPECT_EQ(decodeSceneRecord(bytes).SceneName, "Caf\xC3\xA9 \xE2\x82\xAC");
}

TEST(DecodeTexts, ShortInputReadsAsZeros) {
    std::vector<std::uint8_t> bytes(20, ' ');
    pokeText(bytes, 0, "Hall");
    const SceneRecord s = decodeSceneRecord(bytes);
    EXPECT_EQ(s.SceneName, "Hall");
    EXPECT_EQ(s.ProjectLock, 0);
    EXPECT_EQ(s.slot(20).ObjectType, 0);
}

// --- Scene record -------------------------------------------------------------

TEST(DecodeScene, HeaderFieldsAtTheirOffsets) {
    auto bytes = blanks(4395);
    pokeText(bytes, 0, "Lighthouse");
    poke(bytes, 15, {1, 0});
    poke(bytes, 17, {12, 0});
    poke(bytes, 19, {3, 0});
    poke(bytes, 21, {7, 0});
    poke(bytes, 23, {4, 0});
    pokeText(bytes, 25, "f1.bmp");
    pokeText(bytes, 40, "f2.bmp");
    pokeText(bytes, 57, "f3.bmp");
    pokeText(bytes, 76, "f4.bmp");
    pokeText(bytes, 95, "f5.bmp");
    pokeText(bytes, 114, "f6.wav");
    pokeText(bytes, 131, "f7.mid");
    poke(bytes, 148, {1, 0});
    poke(bytes, 150, {200, 0});
    poke(bytes, 152, {0xFE, 0xFF});
    poke(bytes, 154, {1, 0});
    pokeText(bytes, 156, "text one");
    pokeText(bytes, 171, "text two");
    pokeText(bytes, 186, "text three");
    poke(bytes, 205, {0x39, 0x30});
    const SceneRecord s = decodeSceneRecord(bytes);
    EXPECT_EQ(s.SceneName, "Lighthouse");
    EXPECT_EQ(s.CondLoadEnabled, 1);
    EXPECT_EQ(s.CondLoadFlag, 12);
    EXPECT_EQ(s.CondLoadOperator, 3);
    EXPECT_EQ(s.CondLoadValue, 7);
    EXPECT_EQ(s.CondLoadScene, 4);
    EXPECT_EQ(s.SceneFile, (std::array<std::string, 7>{"f1.bmp", "f2.bmp", "f3.bmp", "f4.bmp", "f5.bmp",
                                                       "f6.wav", "f7.mid"}));
    EXPECT_EQ(s.OnLoadFlagEnabled, 1);
    EXPECT_EQ(s.OnLoadFlag, 200);
    EXPECT_EQ(s.OnLoadValue, -2);
    EXPECT_EQ(s.OnLoadAdds, 1);
    EXPECT_EQ(s.HeaderText, (std::array<std::string, 3>{"text one", "text two", "text three"}));
    EXPECT_EQ(s.ProjectLock, 12345);
}

TEST(DecodeScene, FourTablesOfSixIntegers) {
    auto bytes = zeros(4395);
    // Each Integer at 207..253 holds its own offset.
    for (std::size_t o = 207; o <= 253; o += 2)
        poke(bytes, o, {static_cast<std::uint8_t>(o), 0});
    const SceneRecord s = decodeSceneRecord(bytes);
    const std::array<std::array<Integer, 6>, 4> expected = {{
        {207, 209, 223, 225, 227, 229},
        {211, 213, 231, 233, 235, 237},
        {215, 217, 239, 241, 243, 245},
        {219, 221, 247, 249, 251, 253},
    }};
    EXPECT_EQ(s.Tables, expected);
}

TEST(DecodeScene, UninterpretedHeaderIntegersInOffsetOrder) {
    auto bytes = zeros(4395);
    for (std::size_t o : {55, 72, 74, 91, 93, 110, 112, 129, 146, 201, 203})
        poke(bytes, o, {static_cast<std::uint8_t>(o), 0});
    const SceneRecord s = decodeSceneRecord(bytes);
    const std::array<Integer, 11> expected = {55, 72, 74, 91, 93, 110, 112, 129, 146, 201, 203};
    EXPECT_EQ(s.OtherIntegers, expected);
}

TEST(DecodeScene, ObjectSlotsStartEvery207Bytes) {
    auto bytes = zeros(4395);
    for (std::size_t k = 1; k <= 20; ++k)
        poke(bytes, 255 + 207 * (k - 1), {static_cast<std::uint8_t>(k % 10), 0});
    const SceneRecord s = decodeSceneRecord(bytes);
    for (int k = 1; k <= 20; ++k)
        EXPECT_EQ(s.slot(k).ObjectType, k % 10) << "slot " << k;
}

TEST(DecodeScene, Slot20SpansTheLastBytesOfTheRecord) {
    auto bytes = blanks(4395);
    poke(bytes, 4188, {0xFF, 0xFF});          // ObjectType
    poke(bytes, 4190, {5, 0, 6, 0});          // the two reserved Integers
    pokeText(bytes, 4194, "  first.bmp    "); // ObjectText1
    pokeText(bytes, 4314, "ninth.wav");       // ObjectText9 at slot offset 126
    poke(bytes, 4329, {0x11, 0x00});          // setting at slot offset 141
    poke(bytes, 4393, {0x22, 0x01});          // setting at slot offset 205, the record's last bytes
    const SceneRecord s = decodeSceneRecord(bytes);
    const ObjectSlot& slot = s.slot(20);
    EXPECT_EQ(slot.ObjectType, -1);
    EXPECT_EQ(slot.Reserved, (std::array<Integer, 2>{5, 6}));
    EXPECT_EQ(slot.ObjectText[0], "first.bmp");
    EXPECT_EQ(slot.ObjectText[8], "ninth.wav");
    EXPECT_EQ(slot.setting(141), 0x11);
    EXPECT_EQ(slot.setting(205), 0x122);
    EXPECT_EQ(slot.Settings[32], 0x122);
    // Nothing spilled into slot 19.
    EXPECT_EQ(s.slot(19).ObjectText[8], "");
    EXPECT_EQ(s.slot(19).setting(205), 0x2020);
}

TEST(DecodeScene, NineObjectTextsEvery15Bytes) {
    auto bytes = blanks(4395);
    const std::size_t slot3 = 255 + 207 * 2;
    for (std::size_t k = 1; k <= 9; ++k)
        pokeText(bytes, slot3 + 6 + 15 * (k - 1), "t" + std::to_string(k) + ".gif");
    const SceneRecord s = decodeSceneRecord(bytes);
    for (std::size_t k = 1; k <= 9; ++k)
        EXPECT_EQ(s.slot(3).ObjectText[k - 1], "t" + std::to_string(k) + ".gif");
}

TEST(ObjectSlotSetting, OnlyOddOffsetsFrom141To205) {
    ObjectSlot slot;
    for (std::size_t i = 0; i < 33; ++i)
        slot.Settings[i] = static_cast<Integer>(100 + i);
    EXPECT_EQ(slot.setting(141), 100);
    EXPECT_EQ(slot.setting(143), 101);
    EXPECT_EQ(slot.setting(205), 132);
    EXPECT_EQ(slot.setting(139), 0);
    EXPECT_EQ(slot.setting(142), 0);
    EXPECT_EQ(slot.setting(207), 0);
}

// --- Location, inventory item, player settings, cue card -------------------

TEST(DecodeLocation, FieldsAtTheirOffsets) {
    auto bytes = blanks(112);
    pokeText(bytes, 0, "opaque.bmp");
    pokeText(bytes, 15, "map.bmp");
    pokeText(bytes, 42, "  wind.wav");
    pokeText(bytes, 61, "compass.gif");
    poke(bytes, 110, {0xFF, 0xFF});
    const LocationRecord r = decodeLocationRecord(bytes);
    EXPECT_EQ(r.LocationFile1, "map.bmp");
    EXPECT_EQ(r.LocationFile2, "wind.wav");
    EXPECT_EQ(r.LocationFile3, "compass.gif");
    EXPECT_EQ(r.ProjectLock, -1);
}

TEST(DecodeLocation, NoneAndDelMeanNoFile) {
    for (const char* word : {"(None)", "(Del)", "  (None)   ", " (Del)"}) {
        auto bytes = blanks(112);
        pokeText(bytes, 15, word);
        EXPECT_EQ(decodeLocationRecord(bytes).LocationFile1, "") << word;
    }
}

TEST(DecodeLocation, OtherSpellingsAndOtherFieldsKeepTheWord) {
    auto bytes = blanks(112);
    pokeText(bytes, 15, "(none)");
    pokeText(bytes, 42, "(Del)");
    pokeText(bytes, 61, "(None)");
    const LocationRecord r = decodeLocationRecord(bytes);
    EXPECT_EQ(r.LocationFile1, "(none)");
    EXPECT_EQ(r.LocationFile2, "(Del)");
    EXPECT_EQ(r.LocationFile3, "(None)");
}

TEST(DecodeInventoryItem, SevenFilesInReportOrder) {
    auto bytes = blanks(209);
    pokeText(bytes, 15, "one.gif");
    pokeText(bytes, 30, "two.gif");
    pokeText(bytes, 158, "three.gif");
    pokeText(bytes, 173, "four.gif");
    pokeText(bytes, 53, "five.wav");
    pokeText(bytes, 72, "six.wav");
    pokeText(bytes, 125, "seven.bmp");
    pokeText(bytes, 0, "opaque.bmp");
    pokeText(bytes, 188, "opaque2.bmp");
    const InventoryItemRecord r = decodeInventoryItemRecord(bytes);
    EXPECT_EQ(r.ItemFile, (std::array<std::string, 7>{"one.gif", "two.gif", "three.gif", "four.gif", "five.wav",
                                                      "six.wav", "seven.bmp"}));
}

TEST(DecodeInventoryItem, FilesOneTwoThreeAndSevenKeepLeadingBlanks) {
    auto bytes = blanks(209);
    for (std::size_t offset : {15, 30, 158, 173, 53, 72, 125})
        pokeText(bytes, offset, " door.gif");
    const InventoryItemRecord r = decodeInventoryItemRecord(bytes);
    EXPECT_EQ(r.ItemFile[0], " door.gif");
    EXPECT_EQ(r.ItemFile[1], " door.gif");
    EXPECT_EQ(r.ItemFile[2], " door.gif");
    EXPECT_EQ(r.ItemFile[3], "door.gif");
    EXPECT_EQ(r.ItemFile[4], "door.gif");
    EXPECT_EQ(r.ItemFile[5], "door.gif");
    EXPECT_EQ(r.ItemFile[6], " door.gif");
}

TEST(DecodeInventoryItem, ExamineFields) {
    auto bytes = zeros(209);
    poke(bytes, 150, {1, 0});
    poke(bytes, 152, {33, 0});
    poke(bytes, 154, {0xFB, 0xFF});
    poke(bytes, 156, {1, 0});
    poke(bytes, 207, {0x4D, 0});
    const InventoryItemRecord r = decodeInventoryItemRecord(bytes);
    EXPECT_EQ(r.ExamineSetsFlag, 1);
    EXPECT_EQ(r.ExamineFlag, 33);
    EXPECT_EQ(r.ExamineValue, -5);
    EXPECT_EQ(r.ExamineAdds, 1);
    EXPECT_EQ(r.ProjectLock, 77);
}

TEST(DecodePlayerSettings, NamedFields) {
    auto bytes = blanks(908);
    pokeText(bytes, 0, "Lighthouse Keeper   "); // the whole 20-byte field
    pokeText(bytes, 96, "keeper");
    poke(bytes, 217, {0x4D, 0});
    poke(bytes, 401, {1, 0});
    poke(bytes, 403, {250, 0});
    poke(bytes, 451, {1, 0});
    const PlayerSettingsRecord r = decodePlayerSettingsRecord(bytes);
    EXPECT_EQ(r.ProjectName, "Lighthouse Keeper");
    EXPECT_EQ(r.ExecutableName, "keeper");
    EXPECT_EQ(r.ProjectLock, 77);
    EXPECT_EQ(r.ScoreEnabled, 1);
    EXPECT_EQ(r.ScoreFlag, 250);
    EXPECT_EQ(r.BuiltInImages, 1);
}

TEST(DecodePlayerSettings, SectionFilesInAuditOrder) {
    auto bytes = blanks(908);
    const std::array<std::vector<std::size_t>, 5> offsets = {{
        {20, 39, 58, 219, 234, 79},
        {284, 299, 314, 329, 344, 367, 382, 453, 411, 428},
        {498, 513, 528, 543, 558, 573, 588, 603, 618, 633, 648, 663, 678, 693, 708},
        {789},
        {859},
    }};
    for (std::size_t s = 0; s < 5; ++s)
        for (std::size_t i = 0; i < offsets[s].size(); ++i)
            pokeText(bytes, offsets[s][i], "s" + std::to_string(s + 1) + "f" + std::to_string(i + 1) + ".bmp");
    // Texts that are not file names.
    for (std::size_t o : {249, 468, 483, 723, 738, 753, 772, 804, 821, 836, 876, 891})
        pokeText(bytes, o, "not-a-file.bmp");
    const PlayerSettingsRecord r = decodePlayerSettingsRecord(bytes);
    for (std::size_t s = 0; s < 5; ++s) {
        ASSERT_EQ(r.SectionFiles[s].size(), offsets[s].size()) << "section " << s + 1;
        for (std::size_t i = 0; i < offsets[s].size(); ++i)
            EXPECT_EQ(r.SectionFiles[s][i], "s" + std::to_string(s + 1) + "f" + std::to_string(i + 1) + ".bmp");
    }
}

TEST(DecodeCueCard, ChoiceArraysStepTwoAndFifteen) {
    auto bytes = blanks(1712);
    poke(bytes, 0, {0xFF, 0xFF});
    for (std::size_t c = 1; c <= 5; ++c) {
        const auto v = static_cast<std::uint8_t>(c);
        poke(bytes, 267 + 2 * (c - 1), {v, 0});
        poke(bytes, 277 + 2 * (c - 1), {static_cast<std::uint8_t>(10 + c), 0});
        poke(bytes, 287 + 2 * (c - 1), {static_cast<std::uint8_t>(20 + c), 0});
        poke(bytes, 297 + 2 * (c - 1), {static_cast<std::uint8_t>(30 + c), 0});
        pokeText(bytes, 317 + 15 * (c - 1), "choice" + std::to_string(c) + ".wav");
    }
    const CueCardRecord r = decodeCueCardRecord(bytes);
    EXPECT_EQ(r.ProjectLock, -1);
    EXPECT_EQ(r.ChoiceSetsFlag, (std::array<Integer, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(r.ChoiceFlag, (std::array<Integer, 5>{11, 12, 13, 14, 15}));
    EXPECT_EQ(r.ChoiceValue, (std::array<Integer, 5>{21, 22, 23, 24, 25}));
    EXPECT_EQ(r.ChoiceAdds, (std::array<Integer, 5>{31, 32, 33, 34, 35}));
    EXPECT_EQ(r.ChoiceFile, (std::array<std::string, 5>{"choice1.wav", "choice2.wav", "choice3.wav", "choice4.wav",
                                                        "choice5.wav"}));
}

TEST(DecodeCueCard, ChoiceFlagOfChoiceThreeIsAt281) {
    auto bytes = zeros(1712);
    poke(bytes, 281, {42, 0});
    const CueCardRecord r = decodeCueCardRecord(bytes);
    EXPECT_EQ(r.ChoiceFlag, (std::array<Integer, 5>{0, 0, 42, 0, 0}));
}

TEST(DecodeProjectRecord, LockAt304) {
    auto bytes = zeros(342);
    poke(bytes, 304, {0xFF, 0xFF});
    EXPECT_EQ(decodeProjectRecord(bytes).ProjectLock, -1);
}

// --- Round trips through the encoders of the test support ------------------

void expectSameSlot(const ObjectSlot& a, const ObjectSlot& b, int k) {
    EXPECT_EQ(a.ObjectType, b.ObjectType) << "slot " << k;
    EXPECT_EQ(a.Reserved, b.Reserved) << "slot " << k;
    EXPECT_EQ(a.ObjectText, b.ObjectText) << "slot " << k;
    EXPECT_EQ(a.Settings, b.Settings) << "slot " << k;
}

void expectSameScene(const SceneRecord& a, const SceneRecord& b) {
    EXPECT_EQ(a.SceneName, b.SceneName);
    EXPECT_EQ(a.CondLoadEnabled, b.CondLoadEnabled);
    EXPECT_EQ(a.CondLoadFlag, b.CondLoadFlag);
    EXPECT_EQ(a.CondLoadOperator, b.CondLoadOperator);
    EXPECT_EQ(a.CondLoadValue, b.CondLoadValue);
    EXPECT_EQ(a.CondLoadScene, b.CondLoadScene);
    EXPECT_EQ(a.SceneFile, b.SceneFile);
    EXPECT_EQ(a.OnLoadFlagEnabled, b.OnLoadFlagEnabled);
    EXPECT_EQ(a.OnLoadFlag, b.OnLoadFlag);
    EXPECT_EQ(a.OnLoadValue, b.OnLoadValue);
    EXPECT_EQ(a.OnLoadAdds, b.OnLoadAdds);
    EXPECT_EQ(a.HeaderText, b.HeaderText);
    EXPECT_EQ(a.ProjectLock, b.ProjectLock);
    EXPECT_EQ(a.Tables, b.Tables);
    EXPECT_EQ(a.OtherIntegers, b.OtherIntegers);
    for (int k = 1; k <= 20; ++k)
        expectSameSlot(a.slot(k), b.slot(k), k);
}

SceneRecord fullScene() {
    SceneRecord s = testing::makeScene("Lamp Room");
    s.CondLoadEnabled = 1;
    s.CondLoadFlag = 12;
    s.CondLoadOperator = 2;
    s.CondLoadValue = -3;
    s.CondLoadScene = 9;
    for (std::size_t i = 0; i < 7; ++i)
        s.SceneFile[i] = "scene" + std::to_string(i + 1) + ".bmp";
    s.OnLoadFlagEnabled = 1;
    s.OnLoadFlag = 255;
    s.OnLoadValue = 32767;
    s.OnLoadAdds = -32768;
    s.HeaderText = {"alpha", "Beta b", "gamma"};
    s.ProjectLock = -1;
    Integer n = 1;
    for (auto& table : s.Tables)
        for (Integer& v : table)
            v = n++;
    for (Integer& v : s.OtherIntegers)
        v = static_cast<Integer>(-(n++));
    for (std::size_t k = 0; k < 20; ++k) {
        ObjectSlot& slot = s.Slots[k];
        slot.ObjectType = static_cast<Integer>(k % 11) - 1;
        slot.Reserved = {static_cast<Integer>(k), static_cast<Integer>(1000 + k)};
        for (std::size_t t = 0; t < 9; ++t)
            slot.ObjectText[t] = "o" + std::to_string(k + 1) + "t" + std::to_string(t + 1) + ".gif";
        for (std::size_t i = 0; i < 33; ++i)
            slot.Settings[i] = static_cast<Integer>(k * 100 + i);
    }
    return s;
}

TEST(RoundTrip, SceneWithEveryFieldSet) {
    const SceneRecord original = fullScene();
    const auto bytes = testing::encodeScene(original);
    ASSERT_EQ(bytes.size(), 4395u);
    expectSameScene(decodeSceneRecord(bytes), original);
}

TEST(RoundTrip, SceneTextsArePaddedWithBlanksAndCutToWidth) {
    SceneRecord s = testing::makeScene("The Very Long Scene Name");
    s.SceneFile[0] = "Caf\xC3\xA9.bmp";
    const auto bytes = testing::encodeScene(s);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 15), "The Very Long S");
    EXPECT_EQ(std::string(bytes.begin() + 25, bytes.begin() + 40), "Caf\xE9.bmp       ");
    EXPECT_EQ(decodeSceneRecord(bytes).SceneName, "The Very Long S");
    EXPECT_EQ(decodeSceneRecord(bytes).SceneFile[0], "Caf\xC3\xA9.bmp");
}

TEST(RoundTrip, EmptySlotsOfMakeScene) {
    const SceneRecord s = decodeSceneRecord(testing::encodeScene(testing::makeScene("Hall")));
    EXPECT_EQ(s.SceneName, "Hall");
    for (int k = 1; k <= 20; ++k)
        EXPECT_EQ(s.slot(k).ObjectType, -1) << "slot " << k;
}

TEST(RoundTrip, SetSettingWritesTheSlotOffset) {
    SceneRecord s = testing::makeScene("Hall");
    s.Slots[19].ObjectType = 1;
    testing::setSetting(s.Slots[19], 175, 1);
    testing::setSetting(s.Slots[19], 177, 42);
    testing::setSetting(s.Slots[19], 205, -7);
    const auto bytes = testing::encodeScene(s);
    EXPECT_EQ(bytes[4188 + 175], 1);
    EXPECT_EQ(bytes[4188 + 177], 42);
    EXPECT_EQ(bytes[4393], 0xF9);
    EXPECT_EQ(bytes[4394], 0xFF);
    EXPECT_EQ(decodeSceneRecord(bytes).slot(20).setting(177), 42);
    EXPECT_THROW(testing::setSetting(s.Slots[0], 142, 1), std::out_of_range);
    EXPECT_THROW(testing::setSetting(s.Slots[0], 139, 1), std::out_of_range);
    EXPECT_THROW(testing::setSetting(s.Slots[0], 207, 1), std::out_of_range);
}

TEST(RoundTrip, Location) {
    LocationRecord r;
    r.LocationFile1 = "chart.bmp";
    r.LocationFile2 = "gulls.wav";
    r.LocationFile3 = "compass.gif";
    r.ProjectLock = 77;
    const auto bytes = testing::encodeLocation(r);
    ASSERT_EQ(bytes.size(), 112u);
    const LocationRecord d = decodeLocationRecord(bytes);
    EXPECT_EQ(d.LocationFile1, r.LocationFile1);
    EXPECT_EQ(d.LocationFile2, r.LocationFile2);
    EXPECT_EQ(d.LocationFile3, r.LocationFile3);
    EXPECT_EQ(d.ProjectLock, r.ProjectLock);
}

TEST(RoundTrip, InventoryItem) {
    InventoryItemRecord r;
    r.ItemFile = {" lamp.gif", "lamp2.gif", " oil.gif", "key.gif", "clink.wav", "rope.bmp", " map.bmp"};
    r.ExamineSetsFlag = 1;
    r.ExamineFlag = 40;
    r.ExamineValue = -2;
    r.ExamineAdds = 1;
    r.ProjectLock = 3;
    const auto bytes = testing::encodeInventoryItem(r);
    ASSERT_EQ(bytes.size(), 209u);
    EXPECT_EQ(std::string(bytes.begin() + 15, bytes.begin() + 30), " lamp.gif      ");
    const InventoryItemRecord d = decodeInventoryItemRecord(bytes);
    EXPECT_EQ(d.ItemFile, r.ItemFile);
    EXPECT_EQ(d.ExamineSetsFlag, 1);
    EXPECT_EQ(d.ExamineFlag, 40);
    EXPECT_EQ(d.ExamineValue, -2);
    EXPECT_EQ(d.ExamineAdds, 1);
    EXPECT_EQ(d.ProjectLock, 3);
}

TEST(RoundTrip, PlayerSettings) {
    PlayerSettingsRecord r;
    r.ProjectName = "Lighthouse Keeper";
    r.ExecutableName = "keeper";
    r.ProjectLock = 1234;
    r.ScoreEnabled = 1;
    r.ScoreFlag = 250;
    r.BuiltInImages = 1;
    const std::array<std::size_t, 5> sizes = {6, 10, 15, 1, 1};
    for (std::size_t s = 0; s < 5; ++s)
        for (std::size_t i = 0; i < sizes[s]; ++i)
            r.SectionFiles[s].push_back("p" + std::to_string(s) + "_" + std::to_string(i) + ".gif");
    const auto bytes = testing::encodePlayerSettings(r);
    ASSERT_EQ(bytes.size(), 908u);
    const PlayerSettingsRecord d = decodePlayerSettingsRecord(bytes);
    EXPECT_EQ(d.ProjectName, r.ProjectName);
    EXPECT_EQ(d.ExecutableName, r.ExecutableName);
    EXPECT_EQ(d.ProjectLock, r.ProjectLock);
    EXPECT_EQ(d.ScoreEnabled, r.ScoreEnabled);
    EXPECT_EQ(d.ScoreFlag, r.ScoreFlag);
    EXPECT_EQ(d.BuiltInImages, r.BuiltInImages);
    EXPECT_EQ(d.SectionFiles, r.SectionFiles);
}

TEST(RoundTrip, PlayerSettingsWithFewerFilesLeavesTheRestEmpty) {
    PlayerSettingsRecord r;
    r.SectionFiles[1] = {"only.bmp"};
    const PlayerSettingsRecord d = decodePlayerSettingsRecord(testing::encodePlayerSettings(r));
    ASSERT_EQ(d.SectionFiles[1].size(), 10u);
    EXPECT_EQ(d.SectionFiles[1][0], "only.bmp");
    for (std::size_t i = 1; i < 10; ++i)
        EXPECT_EQ(d.SectionFiles[1][i], "");
    r.SectionFiles[3] = {"a.bmp", "b.bmp"};
    EXPECT_THROW((void)testing::encodePlayerSettings(r), std::invalid_argument);
}

TEST(RoundTrip, CueCard) {
    CueCardRecord r;
    r.ProjectLock = -1;
    r.ChoiceSetsFlag = {1, 0, 2, 1, 1};
    r.ChoiceFlag = {10, 20, 30, 40, 50};
    r.ChoiceValue = {1, -1, 100, 0, 7};
    r.ChoiceAdds = {0, 1, 0, 1, 5};
    r.ChoiceFile = {"yes.wav", "", "no.wav", "  maybe.mid", "x.bmp"};
    const auto bytes = testing::encodeCueCard(r);
    ASSERT_EQ(bytes.size(), 1712u);
    const CueCardRecord d = decodeCueCardRecord(bytes);
    EXPECT_EQ(d.ProjectLock, r.ProjectLock);
    EXPECT_EQ(d.ChoiceSetsFlag, r.ChoiceSetsFlag);
    EXPECT_EQ(d.ChoiceFlag, r.ChoiceFlag);
    EXPECT_EQ(d.ChoiceValue, r.ChoiceValue);
    EXPECT_EQ(d.ChoiceAdds, r.ChoiceAdds);
    EXPECT_EQ(d.ChoiceFile, (std::array<std::string, 5>{"yes.wav", "", "no.wav", "maybe.mid", "x.bmp"}));
}

TEST(RoundTrip, ProjectRecord) {
    const auto bytes = testing::encodeProjectRecord(-5);
    ASSERT_EQ(bytes.size(), 342u);
    EXPECT_EQ(bytes[304], 0xFB);
    EXPECT_EQ(bytes[305], 0xFF);
    EXPECT_EQ(decodeProjectRecord(bytes).ProjectLock, -5);
}

} // namespace
} // namespace orv
