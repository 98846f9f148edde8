#include "audit/FieldMemo.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace orv::testing {
namespace {

using Bytes = std::array<std::uint8_t, FieldMemo::Width>;

// Far more different fields than slots: whatever find() answers is what was remembered for those very
// bytes, never another field's outcome or name; a field pushed out is simply not found.
TEST(FieldMemo, AnswersOnlyForTheVeryBytesRememberedAndKeepsEachNameOnce) {
    FieldMemo memo(10);
    EXPECT_EQ(memo.slots(), 1024u) << "the smallest table";
    std::mt19937 rng(11);
    std::set<Bytes> distinct;
    while (distinct.size() < 1500) {
        Bytes f;
        for (std::uint8_t& b : f)
            b = static_cast<std::uint8_t>(rng() % 4); // few byte values: many near neighbours
        distinct.insert(f);
    }
    const std::vector<Bytes> fields(distinct.begin(), distinct.end());
    const auto outcomeOf = [](std::size_t i) {
        return i % 3 == 0   ? FieldMemo::Outcome::Missing
               : i % 3 == 1 ? FieldMemo::Outcome::Found
                            : FieldMemo::Outcome::NoFile;
    };
    const auto kindOf = [](std::size_t i) { return i % 2 ? FolderKind::Mmedia : FolderKind::Gfx; };
    const auto nameOf = [](std::size_t i) { return "n" + std::to_string(i % 50); };
    std::size_t found = 0;
    for (int step = 0; step < 20000; ++step) {
        const std::size_t i = rng() % fields.size();
        if (const FieldMemo::Entry* entry = memo.find(fields[i])) {
            ++found;
            ASSERT_EQ(entry->outcome, outcomeOf(i));
            ASSERT_EQ(entry->kind, kindOf(i));
            if (entry->outcome == FieldMemo::Outcome::Missing)
                ASSERT_EQ(memo.name(*entry), nameOf(i));
            continue;
        }
        const FieldMemo::Entry& entry = memo.remember(fields[i], outcomeOf(i), kindOf(i), nameOf(i));
        ASSERT_EQ(memo.find(fields[i]), &entry) << "just remembered";
    }
    EXPECT_GT(found, 5000u);
    EXPECT_LT(found, 20000u - fields.size()) << "a table this small must have pushed fields out";

    // A field's outcome, kind and name as remembered, and the same name shared by different fields.
    FieldMemo small(1);
    const Bytes a{'a', '.', 'b', 'm', 'p', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    const Bytes b{' ', 'a', '.', 'b', 'm', 'p', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    const FieldMemo::Entry& first = small.remember(a, FieldMemo::Outcome::Missing, FolderKind::Gfx, "a.bmp");
    const std::uint32_t firstName = first.name;
    const FieldMemo::Entry& second = small.remember(b, FieldMemo::Outcome::Missing, FolderKind::Gfx, "a.bmp");
    EXPECT_EQ(second.name, firstName) << "one name, kept once";
    ASSERT_NE(small.find(a), nullptr);
    EXPECT_EQ(small.find(a)->kind, FolderKind::Gfx);
    EXPECT_EQ(small.name(*small.find(b)), "a.bmp");
}

} // namespace
} // namespace orv::testing
