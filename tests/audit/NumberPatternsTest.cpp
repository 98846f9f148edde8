#include "audit/NumberPatterns.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(GroupedNumber, GroupsOfThreeWithCommas) {
    EXPECT_EQ(GroupedNumber(1), "1");
    EXPECT_EQ(GroupedNumber(999), "999");
    EXPECT_EQ(GroupedNumber(1000), "1,000");
    EXPECT_EQ(GroupedNumber(2000), "2,000");
    EXPECT_EQ(GroupedNumber(1'200'000), "1,200,000");
    EXPECT_EQ(GroupedNumber(123'456'789'012'345), "123,456,789,012,345");
    EXPECT_EQ(GroupedNumber(9'223'372'036'854'775), "9,223,372,036,854,775");
    EXPECT_EQ(GroupedNumber(-12'345), "-12,345");
}

TEST(GroupedNumber, ZeroHasNoDigits) { EXPECT_EQ(GroupedNumber(0), ""); }

TEST(HundredthsNumber, PatternOfTwoDecimals) {
    EXPECT_EQ(HundredthsNumber(1500, 1024), "1.46"); // 1.46484375
    EXPECT_EQ(HundredthsNumber(1000, 1024), ".98");  // 0.9765625: no integer digits
    EXPECT_EQ(HundredthsNumber(2048, 1024), "2.");   // the point stays, no zeros after it
    EXPECT_EQ(HundredthsNumber(2000, 1024), "1.95");
    EXPECT_EQ(HundredthsNumber(1, 1024), ".");       // below 0.005
    EXPECT_EQ(HundredthsNumber(0, 1024), ".");
    EXPECT_EQ(HundredthsNumber(1536, 1024), "1.5"); // no trailing zero
    EXPECT_EQ(HundredthsNumber(10240, 1024), "10.");
    EXPECT_EQ(HundredthsNumber(102'400'000, 1024), "100000.");
    EXPECT_EQ(HundredthsNumber(5, 1024), ".");  // 0.0048828125
    EXPECT_EQ(HundredthsNumber(6, 1024), ".01"); // 0.005859375
}

TEST(HundredthsNumber, ExactHalvesGoToTheEvenHundredth) {
    EXPECT_EQ(HundredthsNumber(128, 1024), ".12");  // 0.125
    EXPECT_EQ(HundredthsNumber(384, 1024), ".38");  // 0.375
    EXPECT_EQ(HundredthsNumber(640, 1024), ".62");  // 0.625
    EXPECT_EQ(HundredthsNumber(896, 1024), ".88");  // 0.875
    EXPECT_EQ(HundredthsNumber(1, 200), ".");       // 0.005
    EXPECT_EQ(HundredthsNumber(3, 200), ".02");     // 0.015
}

} // namespace
} // namespace orv
