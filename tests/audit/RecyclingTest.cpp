#include "audit/Recycling.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {
namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using testing::TempDir;

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
        const Names sent =
            RecycleSelected(list, {false, true, false, true, true}, "/game/resource/mmedia", trash);
        EXPECT_EQ(sent, (Names{"b.mid", "d.avi", "e.wav"}));
        EXPECT_EQ(list, (Names{"a.wav", "c.mp3"}));
        EXPECT_EQ(trash.requests, (Names{"/game/resource/mmedia/b.mid", "/game/resource/mmedia/d.avi",
                                         "/game/resource/mmedia/e.wav"}));
        EXPECT_EQ(trash.listAtRequest, std::vector<Names>(3, Names{"a.wav", "c.mp3"}));
    }
}

TEST(RecycleSelected, RemovesTheFirstExactMatchOnlyAndNothingUnselected) {
    Names list{"Pic.bmp", "pic.bmp", "pic.bmp"}; // equal entries, as an edited list may hold
    FakeTrash trash(list, true);
    EXPECT_TRUE(RecycleSelected(list, {}, "/g", trash).empty()) << "a short selection selects nothing more";
    RecycleSelected(list, {false, false, true}, "/g", trash);
    EXPECT_EQ(list, (Names{"Pic.bmp", "pic.bmp"}));
    EXPECT_EQ(trash.requests, Names{"/g/pic.bmp"});
}

TEST(RecycleSelected, MovesNothingThroughALinkOutOfTheMediaFolders) {
    TempDir dir;
    fs::create_directories(dir / "elsewhere" / "gfx");
    fs::create_directories(dir / "p" / "resource");
    fs::create_directories(dir / "q");
    fs::create_symlink(dir / "elsewhere" / "gfx", dir / "p" / "resource" / "gfx");
    fs::create_symlink(dir / "elsewhere", dir / "q" / "resource");
    for (const fs::path& folder : {dir / "p" / "resource" / "gfx", dir / "q" / "resource" / "gfx"}) {
        Names list{"a.bmp", "b.bmp"};
        FakeTrash trash(list, true);
        EXPECT_EQ(RecycleSelected(list, {true, false}, folder, trash), Names{"a.bmp"}) << folder;
        EXPECT_EQ(list, Names{"b.bmp"}) << folder;
        EXPECT_TRUE(trash.requests.empty()) << folder;
    }
}

} // namespace
} // namespace orv
