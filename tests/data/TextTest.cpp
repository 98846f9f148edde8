#include "data/Text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {
namespace {

std::string decodeOne(std::uint8_t b) {
    const std::uint8_t bytes[] = {b};
    return decodeAnsi(bytes);
}

// UTF-8 of one code point, written out independently of the code under test.
std::string utf8(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

TEST(DecodeAnsi, AsciiIsUnchanged) {
    const std::string text = "Kitchen door.gif";
    EXPECT_EQ(decodeAnsi({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}), text);
}

TEST(DecodeAnsi, HighControlRangeFollowsWindows1252) {
    // Bytes 0x80 to 0x9F; the five that Windows-1252 leaves undefined stand
    // for the code point of the same value.
    constexpr std::array<char32_t, 32> expected = {
        U'\u20AC', 0x81,      U'\u201A', U'\u0192', U'\u201E', U'\u2026', U'\u2020', U'\u2021',
        U'\u02C6', U'\u2030', U'\u0160', U'\u2039', U'\u0152', 0x8D,      U'\u017D', 0x8F,
        0x90,      U'\u2018', U'\u2019', U'\u201C', U'\u201D', U'\u2022', U'\u2013', U'\u2014',
        U'\u02DC', U'\u2122', U'\u0161', U'\u203A', U'\u0153', 0x9D,      U'\u017E', U'\u0178',
    };
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(decodeOne(static_cast<std::uint8_t>(0x80 + i)), utf8(expected[i])) << "byte 0x" << std::hex
                                                                                      << 0x80 + i;
}

TEST(DecodeAnsi, UndefinedBytesMapToTheSameCodePoint) {
    EXPECT_EQ(decodeOne(0x81), "\xC2\x81");
    EXPECT_EQ(decodeOne(0x8D), "\xC2\x8D");
    EXPECT_EQ(decodeOne(0x8F), "\xC2\x8F");
    EXPECT_EQ(decodeOne(0x90), "\xC2\x90");
    EXPECT_EQ(decodeOne(0x9D), "\xC2\x9D");
}

TEST(DecodeAnsi, UpperHalfIsLatin1) {
    EXPECT_EQ(decodeOne(0xA0), "\xC2\xA0");
    EXPECT_EQ(decodeOne(0xC0), "\xC3\x80"); // À
    EXPECT_EQ(decodeOne(0xE9), "\xC3\xA9"); // é
    EXPECT_EQ(decodeOne(0xFF), "\xC3\xBF"); // ÿ
}

TEST(DecodeAnsi, EveryByteSurvivesARoundTripThroughEncode) {
    for (int b = 0; b < 256; ++b) {
        const std::string encoded = encodeAnsi(decodeOne(static_cast<std::uint8_t>(b)));
        ASSERT_EQ(encoded.size(), 1u) << "byte " << b;
        EXPECT_EQ(static_cast<std::uint8_t>(encoded[0]), b);
    }
}

TEST(EncodeAnsi, CharactersOutsideWindows1252BecomeQuestionMarks) {
    EXPECT_EQ(encodeAnsi("Caf\xC3\xA9"), "Caf\xE9");
    EXPECT_EQ(encodeAnsi("\xE2\x82\xAC" "5"), "\x80" "5");
    EXPECT_EQ(encodeAnsi("\xCE\xA9"), "?");          // Greek Omega
    EXPECT_EQ(encodeAnsi("a\xF0\x9F\x98\x80" "b"), "a?b"); // an emoji
}

TEST(TrimBlanks, RemovesOnlySpacesAtBothEnds) {
    EXPECT_EQ(trimBlanks("  Kitchen      "), "Kitchen");
    EXPECT_EQ(trimBlanks("Old  Mill"), "Old  Mill");
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_EQ(trimBlanks(""), "");
    EXPECT_EQ(trimBlanks("\tKitchen\t"), "\tKitchen\t");
    EXPECT_EQ(trimBlanks(std::string_view("Kitchen\0\0 ", 10)), std::string_view("Kitchen\0\0", 9));
}

TEST(TrimBlanks, RightTrimKeepsLeadingBlanks) {
    EXPECT_EQ(rightTrimBlanks(" door.gif    "), " door.gif");
    EXPECT_EQ(rightTrimBlanks("door.gif"), "door.gif");
    EXPECT_EQ(rightTrimBlanks("    "), "");
}

TEST(FoldCase, AsciiLetters) {
    EXPECT_EQ(foldCase("BtnQuit.GIF"), "btnquit.gif");
    EXPECT_EQ(foldCase("already lower 123_-."), "already lower 123_-.");
}

TEST(FoldCase, Windows1252Letters) {
    EXPECT_EQ(foldCase("\xC3\x80"), "\xC3\xA0");         // À -> à
    EXPECT_EQ(foldCase("\xC3\x9E"), "\xC3\xBE");         // Þ -> þ
    EXPECT_EQ(foldCase("\xC5\xA0"), "\xC5\xA1");         // Š -> š
    EXPECT_EQ(foldCase("\xC5\x92"), "\xC5\x93");         // Œ -> œ
    EXPECT_EQ(foldCase("\xC5\xBD"), "\xC5\xBE");         // Ž -> ž
    EXPECT_EQ(foldCase("\xC5\xB8"), "\xC3\xBF");         // Ÿ -> ÿ
    EXPECT_EQ(foldCase("CAF\xC3\x89.BMP"), "caf\xC3\xA9.bmp");
}

TEST(FoldCase, LeavesNonLettersAndOtherScriptsAlone) {
    EXPECT_EQ(foldCase("\xC3\x97"), "\xC3\x97"); // × is not a letter
    EXPECT_EQ(foldCase("\xC3\x9F"), "\xC3\x9F"); // ß has no upper case in Windows-1252
    EXPECT_EQ(foldCase("\xCE\xA9"), "\xCE\xA9"); // Greek is outside Windows-1252
    EXPECT_EQ(foldCase("\xC3\xA0"), "\xC3\xA0"); // already lower
}

TEST(FoldCase, NamesDifferingOnlyInCaseFoldAlike) {
    EXPECT_EQ(foldCase("PIC.BMP"), foldCase("pic.bmp"));
    EXPECT_EQ(foldCase("\xC3\x80LA.GIF"), foldCase("\xC3\xA0la.gif"));
    EXPECT_NE(foldCase("pic1.bmp"), foldCase("pic2.bmp"));
}

TEST(LastCharacters, CountsCodePointsNotBytes) {
    EXPECT_EQ(lastCharacters("Title.MP3", 3), "MP3");
    EXPECT_EQ(lastCharacters("song.mpeg", 3), "peg");
    EXPECT_EQ(lastCharacters("ab", 3), "ab");
    EXPECT_EQ(lastCharacters("x.b\xC3\xA9\xC3\xA9", 3), "b\xC3\xA9\xC3\xA9");
}

} // namespace
} // namespace orv
