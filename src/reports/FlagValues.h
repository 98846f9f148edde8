#pragma once

#include "data/Types.h"

#include <string>
#include <vector>

namespace orv {

// A run of whole numbers, low to high, both included.
struct ValueRange {
    Integer low = 0;
    Integer high = 0;
    bool operator==(const ValueRange&) const = default;
};

// The values a flag can take: runs in ascending order, apart from each other
// (a gap of at least one value between two runs). Never empty once analysed:
// every flag starts at 0.
struct FlagValues {
    std::vector<ValueRange> ranges;

    bool contains(Integer v) const;
    long count() const;
    Integer min() const { return ranges.front().low; }
    Integer max() const { return ranges.back().high; }
    // All 65,536 values from -32768 to 32767.
    bool any() const;
    bool operator==(const FlagValues&) const = default;
};

// The values for a person: up to `shown` items, each a value, a run ("3 to
// 9") or a run with a step ("10 to 50 in steps of 10"), joined with commas
// and a last "or"; what is left over is counted ("0 to 4, 7, 9, 11, 13 or
// 120 other values"). All values: "any value from -32768 to 32767".
std::string DescribeFlagValues(const FlagValues& values, int shown = 5);

} // namespace orv
