// The record decoders at literal offsets, text and number conventions, and project paths.

#include "data/Records.h"

#include "data/Numbers.h"
#include "data/ProjectPaths.h"
#include "data/Text.h"
#include "support/FileBytes.h"
#include "support/RecordEncoders.h"
#include "support/TempDir.h"

#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orv::testing {
namespace {
namespace fs = std::filesystem;
using ::testing::ElementsAre;

// Integers hold their own offsets and texts name theirs, so that a wrong row of a layout table shows; and
// re-encoding what was decoded gives back the fixture, so the support's encoders agree with the decoders.
TEST(Records, SceneAtLiteralOffsetsWithSlot20EndingTheRecord) {
    Bytes b = encodeScene({});
    for (std::size_t o : {15, 17, 19, 21, 23, 148, 150, 152, 154, 205})
        poke(b, o, {static_cast<std::uint8_t>(o), 0});
    for (std::size_t o : {0, 25, 40, 57, 76, 95, 114, 131, 156, 171, 186})
        pokeText(b, o, "t" + std::to_string(o));
    poke(b, 207, {1, 0}), poke(b, 223, {3, 0}), poke(b, 253, {24, 0}); // header tables 1 and 4
    poke(b, 4188, {0xFF, 0xFF});                                       // slot 20: empty, texts 1 and 9, two settings
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
    EXPECT_EQ(std::tuple(s.Tables[0][0], s.Tables[0][2], s.Tables[3][5]), std::tuple(1, 3, 24));
    const ObjectSlot& z = s.slot(20);
    EXPECT_EQ(std::tuple(z.ObjectType, z.ObjectText[0], z.ObjectText[8]), std::tuple(-1, "first.bmp", "ninth.wav"));
    EXPECT_EQ(std::tuple(z.setting(141), z.setting(205), z.setting(139) + z.setting(142) + z.setting(207)),
              std::tuple(0x11, 0x122, 0)); // only the odd slot offsets 141 to 205 hold settings
    EXPECT_EQ(encodeScene(s), b);
    const SceneHeaderFlags flags = decodeSceneHeaderFlags(b);
    EXPECT_EQ(std::tuple(flags.CondLoadScene, flags.OnLoadAdds), std::tuple(23, 154));
}

TEST(Records, TextsLoseBlanksOnlyAndAreDecodedFromWindows1252) {
    const std::string nuls("Kitchen\0\0\0\0\0\0\0\0", 15);
    for (const auto& [raw, text] : {std::pair<std::string, std::string>{"  Kitchen      ", "Kitchen"},
                                    {"\tKitchen\t", "\tKitchen\t"}, {nuls, nuls}, {std::string(15, '\0'), ""},
                                    {std::string(15, ' '), ""}, {"Caf\xE9 \x80", "Café €"}}) {
        Bytes b(4395, ' ');
        pokeText(b, 0, raw);
        EXPECT_EQ(decodeSceneRecord(b).SceneName, text);
    }
}

TEST(Records, LocationsItemsSettingsAndCueCardsAtLiteralOffsets) {
    Bytes loc = encodeLocation({});
    pokeText(loc, 15, "map.bmp"), pokeText(loc, 42, "(Del)"), pokeText(loc, 61, "(None)"), poke(loc, 110, {77, 0});
    const LocationRecord l = decodeLocationRecord(loc);
    EXPECT_EQ(std::tuple(l.LocationFile1, l.LocationFile2, l.LocationFile3, l.ProjectLock),
              std::tuple("map.bmp", "(Del)", "(None)", 77)); // LocationFile1 alone maps the words for no file
    EXPECT_EQ(encodeLocation(l), loc);
    for (const auto& [raw, file] : {std::pair{"  (None)       ", ""}, {" (Del)        ", ""}, {"(none)", "(none)"}}) {
        pokeText(loc, 15, raw);
        EXPECT_EQ(decodeLocationRecord(loc).LocationFile1, file) << raw;
    }

    Bytes item = encodeInventoryItem({});
    const std::size_t files[] = {15, 30, 158, 173, 53, 72, 125}; // ItemFile1 to ItemFile7
    for (std::size_t i = 0; i < 7; ++i)
        pokeText(item, files[i], (i < 3 || i == 6 ? " f" : "f") + std::to_string(i + 1));
    poke(item, 150, {1, 0, 33, 0, 0xFB, 0xFF, 1, 0}), poke(item, 207, {77, 0});
    const InventoryItemRecord r = decodeInventoryItemRecord(item);
    EXPECT_THAT(r.ItemFile, ElementsAre(" f1", " f2", " f3", "f4", "f5", "f6", " f7")); // 1, 2, 3, 7 right-trimmed only
    EXPECT_EQ(std::tuple(r.ExamineSetsFlag, r.ExamineFlag, r.ExamineValue, r.ExamineAdds, r.ProjectLock),
              std::tuple(1, 33, -5, 1, 77));
    EXPECT_EQ(encodeInventoryItem(r), item);
    pokeText(item, 173, " f4");
    EXPECT_EQ(decodeInventoryItemRecord(item).ItemFile[3], "f4");

    Bytes settings = encodePlayerSettings({});
    pokeText(settings, 0, "Lighthouse Keeper   "), pokeText(settings, 96, "keeper");
    poke(settings, 217, {77, 0}), poke(settings, 401, {1, 0, 250, 0}), poke(settings, 451, {1, 0});
    const std::vector<std::vector<std::size_t>> sections = {
        {20, 39, 58, 219, 234, 79}, {284, 299, 314, 329, 344, 367, 382, 453, 411, 428},
        {498, 513, 528, 543, 558, 573, 588, 603, 618, 633, 648, 663, 678, 693, 708}, {789}, {859}};
    std::array<std::vector<std::string>, 5> expected;
    for (std::size_t s = 0; s < 5; ++s)
        for (std::size_t o : sections[s])
            pokeText(settings, o, expected[s].emplace_back("f" + std::to_string(o)));
    const PlayerSettingsRecord p = decodePlayerSettingsRecord(settings);
    EXPECT_EQ(std::tuple(p.ProjectName, p.ExecutableName, p.ProjectLock, p.ScoreEnabled, p.ScoreFlag, p.BuiltInImages,
                         p.SectionFiles),
              std::tuple("Lighthouse Keeper", "keeper", 77, 1, 250, 1, expected));
    EXPECT_EQ(encodePlayerSettings(p), settings);

    Bytes card = encodeCueCard({});
    poke(card, 0, {0xFF, 0xFF});
    for (std::size_t o = 267; o < 307; o += 2) // four Integer arrays of five choices
        poke(card, o, {static_cast<std::uint8_t>(o - 200), 0});
    for (std::size_t o : {317, 332, 347, 362, 377})
        pokeText(card, o, "c" + std::to_string(o));
    const CueCardRecord c = decodeCueCardRecord(card);
    EXPECT_EQ(std::tuple(c.ProjectLock, c.ChoiceSetsFlag[0], c.ChoiceFlag[2], c.ChoiceValue[4], c.ChoiceAdds[1]),
              std::tuple(-1, 67, 81, 95, 99));
    EXPECT_THAT(c.ChoiceFile, ElementsAre("c317", "c332", "c347", "c362", "c377"));
    EXPECT_EQ(encodeCueCard(c), card);
    Bytes project(342, ' ');
    poke(project, 302, {0x01, 0x00, 0xFF, 0xFF, 0x02, 0x00}); // the lock at 304 between two other Integers
    EXPECT_EQ(decodeProjectRecord(project).ProjectLock, -1);
}

TEST(Text, Windows1252BothWaysFoldCaseAndLastCharacters) {
    // 80 to 9F; the five bytes that Windows-1252 leaves undefined stand for the code point of their value.
    const char* high[32] = {"€", "\u0081", "‚",      "ƒ", "„",      "…",      "†", "‡",      "ˆ", "‰", "Š",
                            "‹", "Œ",      "\u008D", "Ž", "\u008F", "\u0090", "‘", "’",      "“", "”", "•",
                            "–", "—",      "˜",      "™", "š",      "›",      "œ", "\u009D", "ž", "Ÿ"};
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        const std::string text = decodeAnsi({&byte, 1}), one(1, static_cast<char>(b));
        const std::string latin1{static_cast<char>(0xC0 | b >> 6), static_cast<char>(0x80 | (b & 0x3F))};
        EXPECT_EQ(text, b < 0x80 ? one : b < 0xA0 ? std::string(high[b - 0x80]) : latin1) << b;
        EXPECT_EQ(encodeAnsi(text), one) << b;
    }
    EXPECT_EQ(encodeAnsi("Ω a😀b"), "? a?b");
    EXPECT_EQ(encodeAnsi("\xC1\xBF\xC3\xA9\xC3"), "\xC1\xBF\xE9\xC3") << "bytes outside valid UTF-8 read as Latin-1";
    for (const auto& [text, folded] : {std::pair{"BtnQuit.GIF", "btnquit.gif"},
                                       {"ÀÞŠŒŽŸ", "àþšœžÿ"}, {"CAFÉ.BMP", "café.bmp"},
                                       {"×ßΩà 12_-.@[", "×ßΩà 12_-.@["}})
        EXPECT_EQ(foldCase(text), folded);
    EXPECT_EQ(std::tuple(lastCharacters("Title.MP3", 3), lastCharacters("ab", 3), lastCharacters("x.béé", 3)),
              std::tuple("MP3", "ab", "béé"));
}

// Every boundary of UTF-8: the last and first code point of each length, overlong forms, surrogates, the
// end of Unicode, lead bytes that never start a sequence, cut and broken sequences.
TEST(Text, ValidUtf8LengthAtEveryBoundary) {
    const std::pair<std::string, std::size_t> cases[] = {{"", 0}, {"a", 1}, {"\x7F", 1}, {"\x80", 0}, {"\xBF", 0},
                                                         {"\xC0\x80", 0}, {"\xC1\xBF", 0}, {"\xC2\x80", 2},
                                                         {"\xDF\xBF", 2}, {"\xC2", 0}, {"\xC2\x41", 0}, {"\xC2\xC2", 0},
                                                         {"\xE0\x9F\xBF", 0}, {"\xE0\xA0\x80", 3}, {"\xED\x9F\xBF", 3},
                                                         {"\xED\xA0\x80", 0}, {"\xED\xBF\xBF", 0}, {"\xEE\x80\x80", 3},
                                                         {"\xEF\xBF\xBD", 3}, {"\xEF\xBF", 0}, {"\xF0\x8F\xBF\xBF", 0},
                                                         {"\xF0\x90\x80\x80", 4}, {"\xF4\x8F\xBF\xBF", 4},
                                                         {"\xF4\x90\x80\x80", 0}, {"\xF5\x80\x80\x80", 0},
                                                         {"\xF8\x88\x80\x80", 0}, {"\xFF", 0}, {"\xE2\x82\xACx", 3},
                                                         {"\xF0\x9F\x98", 0}};
    for (const auto& [text, length] : cases) {
        EXPECT_EQ(validUtf8Length(text), length) << ::testing::PrintToString(text);
        std::size_t read = 0; // the name reader takes a valid sequence whole
        if (length > 1) {
            EXPECT_GE(nextCodePoint(text, read), 0x80u) << ::testing::PrintToString(text);
        }
        EXPECT_EQ(read, length > 1 ? length : read) << ::testing::PrintToString(text);
        // A valid sequence stays; every byte of an invalid one becomes U+FFFD.
        std::string valid;
        for (std::size_t i = 0; i < text.size(); ++i)
            valid += length || static_cast<unsigned char>(text[i]) < 0x80 ? text.substr(i, 1) : "\uFFFD";
        EXPECT_EQ(ValidUtf8(text), valid) << ::testing::PrintToString(text);
    }
}

TEST(Numbers, LeadingNumberAndRoundingHalfToEven) {
    for (const auto& [text, value] : {std::pair{"12abc", 12.0},
                                      {"3.5", 3.5}, {"1.2.3", 1.2}, {"5-3", 5}, {" 7", 7}, {"1 2", 12}, {"- 5", -5},
                                      {"\t9\n", 9}, {"+5", 5}, {"--5", 0}, {"-.5", -0.5}, {".5", 0.5}, {".", 0},
                                      {"abc", 0}, {"", 0}, {"1e5", 1}, {"0x10", 0}})
        EXPECT_EQ(LeadingNumber(text), value) << text;
    for (const auto& [x, n] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {-2.51, -3}})
        EXPECT_EQ(roundHalfEven(x), n) << x;
    for (double x : {HUGE_VAL, -HUGE_VAL, std::nan(""), 1e300})
        EXPECT_FALSE(roundHalfEven(x)) << x;
    for (const auto& [x, n] : {std::pair{32767.4, 32767}, {-32768.5, -32768}})
        EXPECT_EQ(roundToInteger(x), static_cast<Integer>(n)) << x;
    for (double x : {32767.5, -32769.0})
        EXPECT_FALSE(roundToInteger(x)) << x;
    // Quotients just below, at and above each half, for an even and an odd whole part.
    for (const auto& [num, den, q] : {std::tuple{0, 4, 0},
                                      {1, 4, 0}, {2, 4, 0}, {3, 4, 1}, {5, 4, 1}, {6, 4, 2}, {7, 4, 2}, {10, 4, 2},
                                      {11, 4, 3}, {14, 4, 4}, {-2, 4, 0}, {-6, 4, -2}})
        EXPECT_EQ(divideHalfEven(num, den), q) << num << "/" << den;
}

TEST(ProjectPaths, TheFolderOfTheProjectFileAndComponentsFoundInAnyCase) {
    const ProjectPaths p = ProjectPaths::fromProjectFile("/games/./quest//quest.orv");
    EXPECT_EQ(std::tuple(p.ProjectFilePath.string(), p.ProjectFolder.string()),
              std::tuple("/games/quest/quest.orv", "/games/quest"));
    // ".." is the system's: with no folder sub to climb out of, it stays for the system to refuse.
    EXPECT_EQ(ProjectPaths::fromProjectFile("/games/quest/sub/../quest.orv").ProjectFolder,
              fs::path("/games/quest/sub/.."));
    EXPECT_TRUE(ProjectPaths::fromProjectFile("quest.orv").ProjectFolder.is_absolute());
    EXPECT_EQ(splitRelativePath("\\a//b\\c/"), (std::vector<std::string>{"a", "b", "c"}));
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

} // namespace
} // namespace orv::testing
