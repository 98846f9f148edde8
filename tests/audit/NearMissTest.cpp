#include "audit/NearMiss.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
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

// Only the cells near the diagonal are worked out, on the stack for short texts: the answers are those of
// the whole table, for every cap, on texts of few letters (many near misses) and on long ones.
TEST(EditDistance, AgreesWithTheWholeTable) {
    const auto whole = [](std::u32string_view a, std::u32string_view b) {
        std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
        for (std::size_t i = 0; i <= a.size(); ++i)
            for (std::size_t j = 0; j <= b.size(); ++j)
                d[i][j] = i == 0   ? j
                          : j == 0 ? i
                                   : std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                               d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
        return d[a.size()][b.size()];
    };
    std::mt19937 rng(3);
    const auto text = [&](std::size_t longest) {
        std::u32string t(rng() % (longest + 1), U'a');
        for (char32_t& c : t)
            c = U'a' + static_cast<char32_t>(rng() % 3);
        return t;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::size_t longest = round % 10 == 0 ? 90 : 12; // past the stack's 64 cells now and then
        const std::u32string a = text(longest), b = text(longest);
        const std::size_t cap = rng() % 6;
        const std::size_t expected = std::min(whole(a, b), cap + 1);
        ASSERT_EQ(EditDistance(a, b, cap), expected) << "round " << round << ", cap " << cap;
    }
}

} // namespace
} // namespace orv
