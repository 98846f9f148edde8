// The parts of the files audit: how names from disk are shown, the list indexes, the space figures and
// recycling (near misses are in NearMissTest.cpp).

#include "audit/AuditListIndex.h"
#include "audit/AuditLists.h"
#include "audit/DiskNames.h"
#include "audit/NumberPatterns.h"
#include "audit/Recycling.h"
#include "audit/ReferencePlaces.h"
#include "data/Project.h"
#include "support/HostileNames.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <random>

namespace orv::testing {
namespace {
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// Every control character (C0, DEL, C1) and every byte outside valid UTF-8 is one U+FFFD; the characters
// next to each boundary stay.
TEST(DisplayName, ReplacesControlsAndStrayBytesAndKeepsEverythingElse) {
    for (const HostileName& h : hostileNames())
        EXPECT_EQ(DisplayName(h.name), h.shown) << h.label;
    const std::string R = "\uFFFD";
    const std::pair<std::string, std::string> cases[] = {
        {std::string(1, '\0'), R}, {"\x1F", R}, {" ~", " ~"}, {"\x7F", R}, {"\x80", R}, {"\xC2\x80", R},
        {"\xC2\x9F", R}, {"\xC2\xA0", "\xC2\xA0"}, {"\xC3\x80", "\xC3\x80"}, {"\xDF\xBF", "\xDF\xBF"},
        {"\xC1\xBF", R + R}, {"\xE0\x9F\xBF", R + R + R}, {"\xE2\x80\xA8\xE2\x80\xAE", "\xE2\x80\xA8\xE2\x80\xAE"},
        {"\xED\x9F\xBF", "\xED\x9F\xBF"}, {"\xED\xA0\x80", R + R + R}, {"\xEF\xBF\xBF", "\xEF\xBF\xBF"},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"}, {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
        {"\xF4\x90\x80\x80", R + R + R + R}, {"\xF5\x80\x80\x80", R + R + R + R}, {"a\xC3", "a" + R}};
    for (const auto& [name, shown] : cases)
        EXPECT_EQ(DisplayName(name), shown) << ::testing::PrintToString(name);
}

// Sorting once at the end gives the order that inserting each name at its place would have given.
TEST(AuditLists, TheMissingIndexSortsIntoListingOrder) {
    std::mt19937 rng(7);
    const Names pool{"b.bmp", "B.bmp", "a.bmp", "A.BMP", "\xc3\x89.gif", "\xc3\xa9.gif", "z.wav", "a b.bmp", "_.bmp"};
    for (int round = 0; round < 50; ++round) {
        MissingListIndex missing;
        Names appended;
        AuditLists lists;
        for (int i = 0; i < 12; ++i) {
            const std::string& name = pool[rng() % pool.size()];
            if (missing.add(name))
                appended.push_back(name);
            AddMissing(lists, name, FolderKind::Gfx);
        }
        MissingListIndex::sort(appended);
        ASSERT_EQ(appended, lists.MissingGfx);
    }
    EXPECT_TRUE(ListedBefore("a.bmp", "B.bmp") && ListedBefore("B.bmp", "b.bmp") && !ListedBefore("b.bmp", "B.bmp"));
}

TEST(NumberPatterns, GroupedAndHundredthsNumbers) {
    for (const auto& [value, text] : {std::pair<std::int64_t, const char*>{1, "1"}, {999, "999"}, {1000, "1,000"},
                                      {1'200'000, "1,200,000"}, {-12'345, "-12,345"}, {0, ""}})
        EXPECT_EQ(GroupedNumber(value), text) << value; // zero has no digits
    // The integer part left out when 0, the point always written, no trailing zeros, halves to even.
    for (const auto& [numerator, text] : {std::pair<std::int64_t, const char*>{1500, "1.46"},
                                          {1000, ".98"}, {2048, "2."}, {1536, "1.5"}, {102'400'000, "100000."},
                                          {0, "."}, {5, "."}, {6, ".01"}, {128, ".12"}, {384, ".38"}, {640, ".62"}})
        EXPECT_EQ(HundredthsNumber(numerator, 1024), text) << numerator << "/1024";
    EXPECT_EQ(std::tuple(HundredthsNumber(1, 200), HundredthsNumber(3, 200)), std::tuple(".", ".02"));
}

// Remembers every request and what the list held at that moment.
class FakeTrash : public Trash {
  public:
    FakeTrash(const Names& watched, bool succeed) : watched_(watched), succeed_(succeed) {}
    bool RecycleFile(const fs::path& file) override {
        requests.push_back(file.string());
        listAtRequest.push_back(watched_);
        return succeed_;
    }
    Names requests;
    std::vector<Names> listAtRequest;

  private:
    const Names& watched_;
    bool succeed_;
};

TEST(RecycleSelected, NamesLeaveTheListFirstThenTheFilesMoveInListOrder) {
    for (bool succeed : {true, false}) { // the names stay gone when the moves fail
        Names list{"a.wav", "b.mid", "c.mp3", "d.avi", "e.wav"};
        FakeTrash trash(list, succeed);
        EXPECT_EQ(RecycleSelected(list, {false, true, false, true, true}, "/game/resource/mmedia", trash),
                  (Names{"b.mid", "d.avi", "e.wav"}));
        EXPECT_EQ(list, (Names{"a.wav", "c.mp3"}));
        EXPECT_EQ(trash.requests,
                  (Names{"/game/resource/mmedia/b.mid", "/game/resource/mmedia/d.avi", "/game/resource/mmedia/e.wav"}));
        EXPECT_EQ(trash.listAtRequest, std::vector<Names>(3, Names{"a.wav", "c.mp3"}));
    }
    Names list{"Pic.bmp", "pic.bmp", "pic.bmp"}; // equal entries, as an edited list may hold
    FakeTrash trash(list, true);
    EXPECT_TRUE(RecycleSelected(list, {}, "/g", trash).empty()) << "a short selection selects nothing more";
    RecycleSelected(list, {false, false, true}, "/g", trash);
    EXPECT_EQ(std::tuple(list, trash.requests), std::tuple(Names{"Pic.bmp", "pic.bmp"}, Names{"/g/pic.bmp"}));
}

TEST(RecycleSelected, MovesNothingThroughALinkOutOfTheMediaFolders) {
    TempDir dir;
    for (const char* folder : {"elsewhere/gfx", "p/resource", "q"})
        fs::create_directories(dir / folder);
    fs::create_symlink(dir / "elsewhere" / "gfx", dir / "p" / "resource" / "gfx");
    fs::create_symlink(dir / "elsewhere", dir / "q" / "resource");
    for (const fs::path& folder : {dir / "p" / "resource" / "gfx", dir / "q" / "resource" / "gfx"}) {
        Names list{"a.bmp", "b.bmp"};
        FakeTrash trash(list, true);
        EXPECT_EQ(RecycleSelected(list, {true, false}, folder, trash), Names{"a.bmp"}) << folder;
        EXPECT_EQ(std::tuple(list, trash.requests.size()), std::tuple(Names{"b.bmp"}, 0u)) << folder;
    }
}

// The missing file's note shows the first places, then how many more, and what was probably meant.
TEST(MissingFileNote, PlacesUpToTheLimitThenHowManyMore) {
    const LoadedProject project;
    std::vector<ReferencePlace> places;
    for (Integer card = 1; card <= 3; ++card)
        places.push_back({ReferencePlace::Kind::CueCard, 0, 2, card});
    const std::string first = "\n  cue card 1, choice 2", second = "\n  cue card 2, choice 2";
    const std::tuple<std::size_t, Names, std::string> cases[] = {
        {1, {}, "Referenced by:" + first},
        {2, {}, "Referenced by 2 places:" + first + second},
        {3, {"door.gif"}, "Referenced by 3 places:" + first + second + "\n  ... and 1 more\nDid you mean 'door.gif'?"},
    };
    for (const auto& [count, suggestions, note] : cases)
        EXPECT_EQ(MissingFileNote({places.begin(), places.begin() + static_cast<long>(count)}, suggestions, project, 2),
                  note);
}

} // namespace
} // namespace orv::testing
