#include "audit/AuditListIndex.h"
#include "audit/AuditLists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace orv::testing {
namespace {

using Names = std::vector<std::string>;

TEST(UnusedListIndex, TakesOffEveryCaseVariantOnceAndKeepsTheOrderOfTheRest) {
    Names list{"A.bmp", "a.BMP", "b.bmp", "\xc3\x89t\xc3\xa9.gif", "c.bmp", "\xc3\xa9t\xc3\xa9.GIF"};
    UnusedListIndex index;
    index.reset(list);
    struct Step {
        std::string folded;
        std::size_t taken;
    };
    for (const Step& step : {Step{"a.bmp", 2}, Step{"a.bmp", 0}, Step{"\xc3\xa9t\xc3\xa9.gif", 2}, Step{"zzz", 0}})
        EXPECT_EQ(index.takeOff(step.folded), step.taken) << step.folded;
    EXPECT_TRUE(index.listed("a.bmp")) << "taken off, still a name the folder holds";
    EXPECT_TRUE(index.listed("b.bmp"));
    EXPECT_FALSE(index.listed("zzz"));
    EXPECT_FALSE(index.listed("A.bmp")) << "folded names only";
    index.compact(list);
    EXPECT_EQ(list, (Names{"b.bmp", "c.bmp"}));
    EXPECT_EQ(index.takeOff("c.bmp"), 1u) << "the index follows the compacted list";
    index.compact(list);
    EXPECT_EQ(list, Names{"b.bmp"});
}

// Sorting once at the end gives the order that inserting each name at its place would have given.
TEST(MissingListIndex, SortsIntoListingOrder) {
    std::mt19937 rng(7);
    const Names pool{"b.bmp", "B.bmp", "a.bmp", "A.BMP", "\xc3\x89.gif", "\xc3\xa9.gif", "z.wav", "a b.bmp", "_.bmp"};
    for (int round = 0; round < 50; ++round) {
        MissingListIndex index;
        Names appended;
        AuditLists lists;
        for (int i = 0; i < 12; ++i) {
            const std::string& name = pool[rng() % pool.size()];
            if (index.add(name)) appended.push_back(name);
            AddMissing(lists, name, FolderKind::Gfx);
        }
        MissingListIndex::sort(appended);
        ASSERT_EQ(appended, lists.MissingGfx);
    }
}

} // namespace
} // namespace orv::testing
