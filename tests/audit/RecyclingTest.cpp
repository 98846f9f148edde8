#include "audit/Recycling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// Remembers every request and what the list held at that moment.
class FakeTrash : public Trash {
public:
    explicit FakeTrash(const Names& watched, bool succeed = true) : watched_(watched), succeed_(succeed) {}
    bool RecycleFile(const fs::path& file) override {
        requests.push_back(file);
        listAtRequest.push_back(watched_);
        return succeed_;
    }
    std::vector<fs::path> requests;
    std::vector<Names> listAtRequest;

private:
    const Names& watched_;
    bool succeed_;
};

TEST(RecycleSelected, NamesLeaveTheListBeforeTheFilesMoveInListOrder) {
    Names list{"a.wav", "b.mid", "c.mp3", "d.avi", "e.wav"};
    FakeTrash trash(list);
    const Names sent = RecycleSelected(list, {false, true, false, true, true}, "/game/resource/mmedia", trash);

    EXPECT_EQ(sent, (Names{"b.mid", "d.avi", "e.wav"}));
    EXPECT_EQ(list, (Names{"a.wav", "c.mp3"}));
    ASSERT_EQ(trash.requests.size(), 3u);
    EXPECT_EQ(trash.requests[0], fs::path("/game/resource/mmedia/b.mid"));
    EXPECT_EQ(trash.requests[1], fs::path("/game/resource/mmedia/d.avi"));
    EXPECT_EQ(trash.requests[2], fs::path("/game/resource/mmedia/e.wav"));
    for (const Names& seen : trash.listAtRequest)
        EXPECT_EQ(seen, (Names{"a.wav", "c.mp3"})) << "all three names are gone before the first request";
}

TEST(RecycleSelected, NamesStayGoneWhenTheMoveFails) {
    Names list{"x.bmp", "y.bmp"};
    FakeTrash trash(list, false);
    RecycleSelected(list, {true, true}, "/g", trash);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(trash.requests.size(), 2u);
}

TEST(RecycleSelected, RemovesTheFirstExactMatchOnly) {
    // Two entries equal in text (a listing never has them, but the list may
    // have been edited): only the first goes for one chosen name; letter
    // case must match.
    Names list{"Pic.bmp", "pic.bmp", "pic.bmp"};
    FakeTrash trash(list);
    RecycleSelected(list, {false, false, true}, "/g", trash);
    EXPECT_EQ(list, (Names{"Pic.bmp", "pic.bmp"}));
    ASSERT_EQ(trash.requests.size(), 1u);
    EXPECT_EQ(trash.requests[0], fs::path("/g/pic.bmp"));
}

TEST(RecycleSelected, NothingSelectedChangesNothing) {
    Names list{"x.bmp", "y.bmp"};
    FakeTrash trash(list);
    EXPECT_TRUE(RecycleSelected(list, {false, false}, "/g", trash).empty());
    EXPECT_TRUE(RecycleSelected(list, {}, "/g", trash).empty()) << "a short selection leaves the rest unselected";
    EXPECT_EQ(list, (Names{"x.bmp", "y.bmp"}));
    EXPECT_TRUE(trash.requests.empty());
}

} // namespace
} // namespace orv
