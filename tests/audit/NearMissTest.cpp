#include "audit/NearMiss.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace orv {
namespace {

using Names = std::vector<std::string>;

struct Case {
    const char* what;
    Names unused; // listing order
    std::string missing;
    Names expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class NearMiss : public ::testing::TestWithParam<Case> {};

TEST_P(NearMiss, SuggestsSameStemFirstThenByDistanceThenListingOrder) {
    const Case& c = GetParam();
    EXPECT_EQ(NearMissIndex(c.unused).suggestionsFor(c.missing), c.expected) << c.what;
}

const Case Cases[] = {
    {"another extension, any letter case", {"Door.gif", "window.bmp"}, "door.bmp", {"Door.gif"}},
    {"a stem without extension counts as another extension", {"door", "doors.bmp"}, "door.bmp", {"door", "doors.bmp"}},
    {"one slip", {"kitchen.bmp"}, "kitchn.bmp", {"kitchen.bmp"}},
    {"two slips", {"kitchen.bmp"}, "kichn.bmp", {"kitchen.bmp"}},
    {"three slips are too many", {"kitchen.bmp"}, "kicn.bmp", {}},
    {"a swapped pair is two edits", {"tower.wav"}, "toewr.wav", {"tower.wav"}},
    {"same stem beats a closer name", {"door1.bmp", "door.jpeg"}, "door.bmp", {"door.jpeg", "door1.bmp"}},
    {"same stem however far the extension", {"theme.midi-backup"}, "theme.mid", {"theme.midi-backup"}},
    {"nearer before farther", {"boats2.bmp", "bot.bmp"}, "boat.bmp", {"bot.bmp", "boats2.bmp"}},
    {"equal distance keeps listing order", {"cat.wav", "bat.wav", "hat.wav", "mat.wav"}, "rat.wav",
     {"cat.wav", "bat.wav", "hat.wav"}},
    {"at most three", {"a.gif", "a.jpg", "a.png", "a.wav"}, "a.bmp", {"a.gif", "a.jpg", "a.png"}},
    {"accented letters fold like ASCII", {"CAFÉ.gif"}, "café.bmp", {"CAFÉ.gif"}},
    {"an accent is one edit, not two bytes", {"cafe.bmp"}, "café.bmp", {"cafe.bmp"}},
    {"nothing alike", {"sea.wav"}, "lighthouse.bmp", {}},
    {"an empty folder", {}, "door.bmp", {}},
};

INSTANTIATE_TEST_SUITE_P(Suggestions, NearMiss, ::testing::ValuesIn(Cases));

TEST(EditDistance, CountsInsertsDeletesAndReplacementsUpToTheCap) {
    EXPECT_EQ(EditDistance(U"kitten", U"sitting", 5), 3u);
    EXPECT_EQ(EditDistance(U"", U"abc", 5), 3u);
    EXPECT_EQ(EditDistance(U"abc", U"abc", 0), 0u);
    // Above the cap the answer is cap + 1, however far apart the texts are.
    EXPECT_EQ(EditDistance(U"kitten", U"sitting", 2), 3u);
    EXPECT_EQ(EditDistance(U"a", U"abcdefgh", 2), 3u);
}

} // namespace
} // namespace orv
