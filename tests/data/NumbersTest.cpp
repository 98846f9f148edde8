#include "data/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orv {
namespace {

TEST(LeadingNumber, TakesTheLongestLeadingNumber) {
    EXPECT_EQ(LeadingNumber("12abc"), 12.0);
    EXPECT_EQ(LeadingNumber("3.5"), 3.5);
    EXPECT_EQ(LeadingNumber("1.2.3"), 1.2);
    EXPECT_EQ(LeadingNumber("5-3"), 5.0);
    EXPECT_EQ(LeadingNumber("42"), 42.0);
}

TEST(LeadingNumber, SkipsBlanksEvenInsideTheNumber) {
    EXPECT_EQ(LeadingNumber(" 7"), 7.0);
    EXPECT_EQ(LeadingNumber("1 2"), 12.0);
    EXPECT_EQ(LeadingNumber("- 5"), -5.0);
    EXPECT_EQ(LeadingNumber("\t9"), 9.0);
}

TEST(LeadingNumber, Signs) {
    EXPECT_EQ(LeadingNumber("-5"), -5.0);
    EXPECT_EQ(LeadingNumber("+5"), 5.0);
    EXPECT_EQ(LeadingNumber("--5"), 0.0);
    EXPECT_EQ(LeadingNumber("-.5"), -0.5);
}

TEST(LeadingNumber, FractionWithoutWholePart) {
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber("."), 0.0);
}

TEST(LeadingNumber, NoDigitsGivesZero) {
    EXPECT_EQ(LeadingNumber("abc"), 0.0);
    EXPECT_EQ(LeadingNumber(""), 0.0);
    EXPECT_EQ(LeadingNumber("   "), 0.0);
    EXPECT_EQ(LeadingNumber("-"), 0.0);
}

TEST(LeadingNumber, NoExponentNoBasePrefix) {
    EXPECT_EQ(LeadingNumber("1e5"), 1.0);
    EXPECT_EQ(LeadingNumber("0x10"), 0.0);
    EXPECT_EQ(LeadingNumber("&H10"), 0.0);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
}

TEST(RoundHalfEven, OtherFractionsGoToTheNearest) {
    EXPECT_EQ(roundHalfEven(2.49), 2);
    EXPECT_EQ(roundHalfEven(2.51), 3);
    EXPECT_EQ(roundHalfEven(-2.51), -3);
    EXPECT_EQ(roundHalfEven(7.0), 7);
}

TEST(RoundHalfEven, NotFiniteOrTooLargeIsEmpty) {
    EXPECT_FALSE(roundHalfEven(std::numeric_limits<double>::infinity()).has_value());
    EXPECT_FALSE(roundHalfEven(-std::numeric_limits<double>::infinity()).has_value());
    EXPECT_FALSE(roundHalfEven(std::nan("")).has_value());
    EXPECT_FALSE(roundHalfEven(1e300).has_value());
}

TEST(RoundToInteger, FitsSixteenBits) {
    EXPECT_EQ(roundToInteger(12.5), Integer{12});
    EXPECT_EQ(roundToInteger(32767.4), Integer{32767});
    EXPECT_EQ(roundToInteger(-32768.5), Integer{-32768}); // -32768 is the even neighbour
    EXPECT_EQ(roundToInteger(-1.0), Integer{-1});
}

TEST(RoundToInteger, OverflowIsEmpty) {
    EXPECT_FALSE(roundToInteger(32767.5).has_value()); // rounds to 32768
    EXPECT_FALSE(roundToInteger(32768.0).has_value());
    EXPECT_FALSE(roundToInteger(-32769.0).has_value());
    EXPECT_FALSE(roundToInteger(-32769.5).has_value());
    EXPECT_FALSE(roundToInteger(1e10).has_value());
}

TEST(DivideHalfEven, RecordCountsOfPartialFiles) {
    EXPECT_EQ(divideHalfEven(280, 112), 2); // 2.5 records
    EXPECT_EQ(divideHalfEven(392, 112), 4); // 3.5 records
    EXPECT_EQ(divideHalfEven(300, 112), 3); // about 2.68
    EXPECT_EQ(divideHalfEven(55, 112), 0);  // less than half
    EXPECT_EQ(divideHalfEven(56, 112), 0);  // exactly half, 0 is even
    EXPECT_EQ(divideHalfEven(57, 112), 1);
    EXPECT_EQ(divideHalfEven(0, 4395), 0);
    EXPECT_EQ(divideHalfEven(3 * 1712, 1712), 3);
}

} // namespace
} // namespace orv
