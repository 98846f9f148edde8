#include "audit/NumberPatterns.h"

#include "data/Numbers.h"

namespace orv {

namespace {

// The magnitude as text; built on unsigned so the most negative value works.
std::string digitsOf(std::uint64_t magnitude) {
    return std::to_string(magnitude);
}

std::uint64_t magnitudeOf(std::int64_t value) {
    return value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
}

} // namespace

std::string GroupedNumber(std::int64_t value) {
    if (value == 0)
        return {};
    const std::string digits = digitsOf(magnitudeOf(value));
    std::string out = value < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

std::string HundredthsNumber(std::int64_t numerator, std::int64_t denominator) {
    // Exact integer arithmetic, so a value such as 0.125 is a true half.
    const std::int64_t hundredths = divideHalfEven(numerator * 100, denominator);
    const std::uint64_t magnitude = magnitudeOf(hundredths);
    std::string out = hundredths < 0 ? "-" : "";
    if (magnitude / 100 != 0)
        out += digitsOf(magnitude / 100);
    out.push_back('.');
    const auto fraction = static_cast<unsigned>(magnitude % 100);
    if (fraction != 0) {
        out.push_back(static_cast<char>('0' + fraction / 10));
        if (fraction % 10 != 0)
            out.push_back(static_cast<char>('0' + fraction % 10));
    }
    return out;
}

} // namespace orv
