#include "audit/NumberPatterns.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(NumberPatterns, GroupedNumber) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {1, "1"}, {999, "999"}, {1000, "1,000"}, {1'200'000, "1,200,000"}, {-12'345, "-12,345"}, {0, ""}};
    for (const auto& [value, text] : cases) // zero has no digits
        EXPECT_EQ(GroupedNumber(value), text) << value;
    EXPECT_EQ(GroupedNumber(9'223'372'036'854'775), "9,223,372,036,854,775");
}

TEST(NumberPatterns, HundredthsNumber) {
    // The integer part left out when 0, the point always written, no trailing zeros, halves to even.
    const std::pair<std::int64_t, const char*> per1024[] = {
        {1500, "1.46"}, {1000, ".98"}, {2048, "2."}, {1536, "1.5"}, {102'400'000, "100000."},
        {0, "."},       {5, "."},      {6, ".01"},   {128, ".12"},  {384, ".38"},
        {640, ".62"},   {896, ".88"}};
    for (const auto& [numerator, text] : per1024)
        EXPECT_EQ(HundredthsNumber(numerator, 1024), text) << numerator << "/1024";
    EXPECT_EQ(HundredthsNumber(1, 200), ".");   // 0.005
    EXPECT_EQ(HundredthsNumber(3, 200), ".02"); // 0.015
}

} // namespace
} // namespace orv
