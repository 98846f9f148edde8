#include "audit/NearMiss.h"

#include "audit/StraightNearMisses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace orv {
namespace {

using Names = std::vector<std::string>;
using testing::StraightNearMisses;

struct Case {
    const char* what;
    Names unused; // listing order
    std::string missing;
    Names expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class NearMiss : public ::testing::TestWithParam<Case> {};

// Each case is also worked out the plain way, so that the table pins the rules and not only the index.
TEST_P(NearMiss, SuggestsSameStemFirstThenByDistanceThenListingOrder) {
    const Case& c = GetParam();
    EXPECT_EQ(NearMissIndex(c.unused).suggestionsFor(c.missing), c.expected) << c.what;
    EXPECT_EQ(StraightNearMisses(c.unused)(c.missing), c.expected) << c.what;
}

// Names of more than two windows (16 code points each), so that the tail and centre keys are in play.
const std::string Long = "the_great_hall_of_the_mountain_king";     // 35 code points
const std::string LongSlip = "the_great_hall_of_the_montain_king";  // a letter dropped in the middle
const std::string LongTwoSlips = "the_great_hal_of_the_montain_kin"; // three letters dropped

const Case Cases[] = {
    {"another extension, any letter case", {"Door.gif", "window.bmp"}, "door.bmp", {"Door.gif"}},
    {"a stem without extension counts as another extension", {"door", "doors.bmp"}, "door.bmp", {"door", "doors.bmp"}},
    {"a missing name without extension takes the stem's extensions", {"door.bmp", "dor"}, "door", {"door.bmp", "dor"}},
    {"only the last dot starts the extension", {"a.b.gif", "a.bmp"}, "a.b.bmp", {"a.b.gif", "a.bmp"}},
    {"one slip", {"kitchen.bmp"}, "kitchn.bmp", {"kitchen.bmp"}},
    {"two slips", {"kitchen.bmp"}, "kichn.bmp", {"kitchen.bmp"}},
    {"three slips are too many", {"kitchen.bmp"}, "kicn.bmp", {}},
    {"two letters more", {"kitchen22.bmp"}, "kitchen.bmp", {"kitchen22.bmp"}},
    {"three letters more are too many", {"kitchen222.bmp"}, "kitchen.bmp", {}},
    {"two letters fewer", {"kitch.bmp"}, "kitchen.bmp", {"kitch.bmp"}},
    {"three letters fewer are too many", {"kitc.bmp"}, "kitchen.bmp", {}},
    {"a swapped pair is two edits", {"tower.wav"}, "toewr.wav", {"tower.wav"}},
    {"a swapped pair and a slip are three", {"tower.wav"}, "toewr.wa", {}},
    {"two swapped pairs are four", {"towers.wav"}, "otwers.avw", {}},
    {"same stem beats a closer name", {"door1.bmp", "door.jpeg"}, "door.bmp", {"door.jpeg", "door1.bmp"}},
    {"same stem however far the extension", {"theme.midi-backup"}, "theme.mid", {"theme.midi-backup"}},
    {"same stems ranked by distance then listing", {"x.jpeg", "x.gif", "x.bm", "x.png"}, "x.bmp",
     {"x.bm", "x.gif", "x.png"}},
    {"nearer before farther", {"boats2.bmp", "bot.bmp"}, "boat.bmp", {"bot.bmp", "boats2.bmp"}},
    {"equal distance keeps listing order", {"cat.wav", "bat.wav", "hat.wav", "mat.wav"}, "rat.wav",
     {"cat.wav", "bat.wav", "hat.wav"}},
    {"at most three", {"a.gif", "a.jpg", "a.png", "a.wav"}, "a.bmp", {"a.gif", "a.jpg", "a.png"}},
    {"three same-stem names leave no room for near ones", {"rat.wav", "a.gif", "a.jpg", "a.png"}, "a.bmp",
     {"a.gif", "a.jpg", "a.png"}},
    {"the name itself in another case is nearest of the near", {"door1.bmp", "DOOR.BMP"}, "door.bmp",
     {"DOOR.BMP", "door1.bmp"}},
    {"a name listed twice is suggested twice", {"tower.wav", "tower.wav"}, "towr.wav", {"tower.wav", "tower.wav"}},
    {"names equal but for case are two names", {"Tower.wav", "TOWER.WAV", "tower.wav"}, "towr.wav",
     {"Tower.wav", "TOWER.WAV", "tower.wav"}},
    {"accented letters fold like ASCII", {"CAFÉ.gif"}, "café.bmp", {"CAFÉ.gif"}},
    {"an accent is one edit, not two bytes", {"cafe.bmp"}, "café.bmp", {"cafe.bmp"}},
    {"two accents are two edits", {"cafe.bmp"}, "çafé.bmp", {"cafe.bmp"}},
    {"a stray Latin-1 byte reads as its letter", {"caf\xE9.bmp"}, "CAFÉ.BMP", {"caf\xE9.bmp"}},
    {"a byte that is not UTF-8 is one edit", {"bad\xFF.bmp"}, "bad.bmp", {"bad\xFF.bmp"}},
    {"control characters are letters like others", {"tab\there.bmp"}, "tabhere.bmp", {"tab\there.bmp"}},
    {"an empty missing name meets the names of two letters", {"ab", "abc", ".gif"}, "", {".gif", "ab"}},
    {"an empty unused name is two edits from a name of two", {"", "abc"}, "xy", {""}},
    {"an empty name and an empty name", {"", "a"}, "", {"", "a"}},
    {"a long name's slip in the middle", {Long + ".mid"}, LongSlip + ".mid", {Long + ".mid"}},
    {"a long name's three slips", {Long + ".mid"}, LongTwoSlips + ".mid", {}},
    {"a long name's first letters", {"x" + Long + ".mid"}, Long + ".mid", {"x" + Long + ".mid"}},
    {"a long name's last letters", {Long + "s.mid"}, Long + ".md", {Long + "s.mid"}},
    {"nothing alike", {"sea.wav"}, "lighthouse.bmp", {}},
    {"an empty folder", {}, "door.bmp", {}},
};

INSTANTIATE_TEST_SUITE_P(Suggestions, NearMiss, ::testing::ValuesIn(Cases));

TEST(NearMissLimit, GivesNoneForNoneAndAllForMany) {
    const Names unused = {"a.gif", "b.bmp", "a.jpg", "c.bmp", "a.png"};
    const NearMissIndex index(unused);
    for (const std::size_t limit : {0u, 1u, 2u, 4u, 10u})
        EXPECT_EQ(index.suggestionsFor("a.bmp", limit), StraightNearMisses(unused)("a.bmp", limit)) << limit;
    EXPECT_EQ(index.suggestionsFor("a.bmp", 10), (Names{"a.gif", "a.jpg", "a.png", "b.bmp", "c.bmp"}));
    EXPECT_TRUE(index.suggestionsFor("a.bmp", 0).empty());
}

// Random folders against the plain comparison. The names are drawn from few letters, so that many are
// within two edits of one another; with accents in both cases, control characters, bytes that are not
// UTF-8, dots; and of every length from none to past two windows. Families of names alike but for a few
// letters at their start, middle or end crowd one window's keys, so that the others are chosen.
class RandomFolders {
  public:
    explicit RandomFolders(unsigned seed) : rng_(seed) {}

    std::string piece() {
        static const char* const pieces[] = {"a", "b", "c", "A", "B", ".", "\xC3\xA9", "\xC3\x89", "1", "\x01", "\xFF",
                                             "\xC3"};
        return pieces[rng_() % (std::size(pieces) - (rng_() % 4 == 0 ? 0 : 6))];
    }

    std::string name(std::size_t longest) {
        std::string out;
        for (std::size_t n = rng_() % (longest + 1); n > 0; --n)
            out += piece();
        return out;
    }

    // `from` changed by `edits` random edits: a piece inserted, dropped or replaced, two swapped, letters
    // put in the other case, the extension changed.
    std::string slip(std::string from, int edits) {
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = from.empty() ? 0 : rng_() % from.size();
            switch (rng_() % 6) {
            case 0: from.insert(at, piece()); break;
            case 1:
                if (!from.empty())
                    from.erase(at, 1);
                break;
            case 2:
                if (!from.empty())
                    from.replace(at, 1, piece());
                break;
            case 3:
                if (at + 1 < from.size())
                    std::swap(from[at], from[at + 1]);
                break;
            case 4:
                for (char& c : from)
                    if (c >= 'a' && c <= 'z' && rng_() % 2 == 0)
                        c = static_cast<char>(c - 'a' + 'A');
                break;
            default: from = from.substr(0, from.rfind('.') == std::string::npos ? from.size() : from.rfind('.')) +
                            (rng_() % 2 ? ".gif" : ".bmp");
            }
        }
        return from;
    }

    // A base name with its start, middle or end replaced by a counter.
    Names family(std::size_t count) {
        const std::string base = name(48);
        const std::size_t where = rng_() % 3;
        Names out;
        for (std::size_t i = 0; i < count; ++i) {
            std::string counter = std::to_string(rng_() % 40);
            if (where == 0)
                out.push_back(counter + base);
            else if (where == 1)
                out.push_back(base.substr(0, base.size() / 2) + counter + base.substr(base.size() / 2));
            else
                out.push_back(base + counter);
        }
        return out;
    }

    unsigned pick(unsigned n) { return static_cast<unsigned>(rng_() % n); }

  private:
    std::mt19937 rng_;
};

TEST(NearMissIndex, AgreesWithThePlainComparisonOnRandomFolders) {
    RandomFolders random(20);
    std::size_t suggested = 0, asked = 0;
    for (int folder = 0; folder < 300; ++folder) {
        Names unused;
        const std::size_t longest = folder % 3 == 0 ? 50 : 12;
        for (std::size_t n = random.pick(40); n > 0; --n)
            unused.push_back(random.name(longest));
        if (folder % 2 == 0) {
            const Names family = random.family(6 + random.pick(30));
            unused.insert(unused.end(), family.begin(), family.end());
        }
        Names missing;
        for (std::size_t n = 0; n < 30; ++n) {
            if (unused.empty() || n % 5 == 4)
                missing.push_back(random.name(longest));
            else
                missing.push_back(random.slip(unused[random.pick(static_cast<unsigned>(unused.size()))],
                                              static_cast<int>(random.pick(4))));
        }
        const NearMissIndex index(unused);
        const StraightNearMisses straight(unused);
        for (const std::string& name : missing) {
            const std::size_t limit = folder % 7 == 0 ? 1 + random.pick(6) : 3;
            const Names expected = straight(name, limit);
            ASSERT_EQ(index.suggestionsFor(name, limit), expected) << "folder " << folder << ", missing '" << name
                                                                     << "', limit " << limit;
            suggested += expected.empty() ? 0 : 1;
            ++asked;
        }
    }
    // Most names asked about have suggestions, and some have none.
    EXPECT_GT(suggested, asked / 2);
    EXPECT_LT(suggested, asked);
}

// Names alike but for a few letters crowd the keys of the windows that hold no difference, and the index
// asks another window: the tail when the heads are alike, the centre when the tails are too. Around the
// lengths where a name gains a tail (15) or a centre (33), the names within two edits of a missing name
// (two shorter to two longer) must all have the window it asks.
TEST(NearMissIndex, FindsNamesThatDifferOnlyWhereTheOthersAreAlike) {
    const std::string text = "the_castle_tower_by_the_river_at_dawn.bmp";
    constexpr std::size_t Varying = 3;
    std::mt19937 rng(7);
    const auto digit = [&] { return static_cast<char>('0' + rng() % 10); };
    std::size_t asked = 0, suggested = 0;
    for (std::size_t length = 12; length <= 40; length += length == 19 ? 11 : 1) { // 12 to 19, 30 to 40
        for (const std::size_t at : {std::size_t{0}, (length - Varying) / 2, length - Varying}) {
            // Just more than are told apart in one window, and many more.
            const int alike = length % 2 == 0 ? 25 : 150;
            Names unused;
            for (int i = 0; i < alike; ++i) {
                std::string name = text.substr(0, length - Varying);
                name.insert(at, {digit(), digit(), digit()});
                unused.push_back(name);
            }
            const NearMissIndex index(unused);
            const StraightNearMisses straight(unused);
            // Every kind of one, two and three edits among the digits (replace, insert, erase): names up to two
            // longer or shorter.
            static const char* const scripts[] = {"r",  "i",  "e",  "ii",  "ee",  "rr",
                                                  "ie", "ir", "er", "rrr", "iii", "eee"};
            for (std::size_t i = 0; i < unused.size(); ++i) {
                std::string missing = unused[i];
                for (const char* edit = scripts[i % std::size(scripts)]; *edit; ++edit) {
                    const std::size_t where = std::min(at + rng() % Varying, missing.size() - 1);
                    if (*edit == 'i')
                        missing.insert(where, 1, digit());
                    else if (*edit == 'e')
                        missing.erase(where, 1);
                    else
                        missing[where] = static_cast<char>(missing[where] == '9' ? '0' : missing[where] + 1);
                }
                const Names expected = straight(missing);
                ASSERT_EQ(index.suggestionsFor(missing), expected)
                    << "length " << length << ", digits at " << at << ", missing '" << missing << "'";
                ++asked;
                suggested += expected.empty() ? 0 : 1;
            }
        }
    }
    EXPECT_GT(suggested, asked / 2);
}

// A key that lists more than 24 names is asked again through the next window, whichever of a name's keys
// it is; a crowd of just 25 counts. All the names of a family are two edits from a name with both its
// digits slipped, and every key they share with it is crowded: in the head (the first ten code points),
// in the tail (the last ten), in the window of code points 8 to 17.
TEST(NearMissIndex, AsksEveryCrowdedKeyAgainInTheNextWindow) {
    Names unused;
    for (int i = 0; i < 25; ++i)
        unused.push_back("kitchen_0" + std::to_string(10 + i) + "_night.bmp");
    for (int i = 0; i < 40; ++i)
        unused.push_back("garden_00" + std::to_string(10 + i) + "_dawn.bmp");
    const NearMissIndex index(unused);
    EXPECT_EQ(index.suggestionsFor("kitchen_0qz_night.bmp"),
              (Names{"kitchen_010_night.bmp", "kitchen_011_night.bmp", "kitchen_012_night.bmp"}));
    EXPECT_EQ(index.suggestionsFor("garden_00qz_dawn.bmp", 2),
              (Names{"garden_0010_dawn.bmp", "garden_0011_dawn.bmp"}));
    // One digit slipped: the names of the same other digit are nearer.
    EXPECT_EQ(index.suggestionsFor("kitchen_0q4_night.bmp"),
              (Names{"kitchen_014_night.bmp", "kitchen_024_night.bmp", "kitchen_034_night.bmp"}));

    // Past the last window the index asks (eight of them, to code point 58), a crowd is asked key by key.
    const std::string start(70, 's'), end = "_end_of_a_very_long_name.bmp";
    Names longNames;
    for (int i = 0; i < 30; ++i)
        longNames.push_back(start + std::to_string(10 + i) + end);
    const NearMissIndex longIndex(longNames);
    EXPECT_EQ(longIndex.suggestionsFor(start + "qz" + end), (Names{longNames[0], longNames[1], longNames[2]}));
    EXPECT_EQ(longIndex.suggestionsFor(start + "3" + end), (Names{longNames[3], longNames[13], longNames[20]}));
}

// Thousands of names alike in every window the index has (in their first 58 code points and their last
// ten) can only be compared one by one: they are, as the plain comparison does, and give what it gives.
TEST(NearMissIndex, ComparesNamesAlikeInEveryWindowOneByOne) {
    const std::string start = "a_very_long_name_shared_by_thousands_of_files_in_one_folder_of_a_game_";
    Names unused;
    for (int i = 0; i < 6000; ++i)
        unused.push_back(start + std::to_string(i) + "_and_its_long_end.bmp");
    const NearMissIndex index(unused);
    const StraightNearMisses straight(unused);
    for (const std::string number : {"1", "12", "123", "1234", "12345", "99999", "x", "6000", "", "abcdefgh"}) {
        const std::string missing = start + number + "_and_its_long_end.bmp";
        const Names expected = straight(missing);
        EXPECT_EQ(index.suggestionsFor(missing), expected) << number;
        EXPECT_EQ(expected.size(), number == "abcdefgh" ? 0u : 3u) << number;
    }
}

// What the index costs stays linear in the names. A name has the keys of its head window, of ten code
// points: at most 1 + 10 + 45 (none deleted, one, two). Only a name among more than 24 alike in a window
// has the keys of the next one: its tail, then windows of ten from code points 8, 16, 24, ... (as many
// keys each), eight windows at most however long the name. Each key takes four bytes, and about one more
// for its bucket.
TEST(NearMissIndex, HoldsABoundedNumberOfKeysForEachName) {
    for (const std::size_t length : {0u, 1u, 2u, 9u, 10u, 11u, 30u, 60u, 200u}) {
        std::mt19937 rng(static_cast<unsigned>(length));
        const auto letters = [&] {
            std::string name(length, 'a');
            for (char& c : name)
                c = static_cast<char>('a' + rng() % 26);
            return name;
        };
        const std::string base = letters();
        Names unlike, alike;
        for (int i = 0; i < 1000; ++i) {
            unlike.push_back(letters());
            alike.push_back(base + std::to_string(i % 4)); // 250 copies of four names
        }
        const std::size_t head = std::min<std::size_t>(length, 10);
        const std::size_t headKeys = 1 + head + head * (head - std::min<std::size_t>(head, 1)) / 2;
        const NearMissIndex unlikeIndex(unlike);
        EXPECT_LE(unlikeIndex.keyCount(), 1000 * headKeys) << length;
        EXPECT_GE(unlikeIndex.keyCount(), 1000 * std::min<std::size_t>(headKeys, 45) * 3 / 4) << length;
        EXPECT_LE(unlikeIndex.indexBytes(), unlikeIndex.keyCount() * 6 + 1000 * (length * 4 + 24)) << length;

        // Unlike names beside a crowd stay in their head window.
        Names beside = unlike;
        beside.insert(beside.end(), alike.begin(), alike.begin() + 100);
        EXPECT_LE(NearMissIndex(beside).keyCount(), unlikeIndex.keyCount() + 100 * 56 * (2 + length / 8)) << length;

        // Alike names crowd every window, and have the keys of every window.
        const NearMissIndex alikeIndex(alike);
        std::size_t windows = length + 1 > 8 ? 2 : 1;
        for (std::size_t start = 8; start + 10 <= length + 1 && windows < 8; start += 8)
            ++windows;
        EXPECT_LE(alikeIndex.keyCount(), 1000 * windows * 56) << length;
        EXPECT_GE(alikeIndex.keyCount(), 1000 * windows * std::min<std::size_t>(headKeys, 30)) << length;
    }
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
