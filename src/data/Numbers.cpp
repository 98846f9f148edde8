#include "data/Numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace orv {

double LeadingNumber(std::string_view text) {
    std::string number;
    bool signSeen = false, pointSeen = false, digitsSeen = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n')
            continue;
        if ((c == '+' || c == '-') && !signSeen && !digitsSeen && !pointSeen) {
            signSeen = true;
            number.push_back(c);
        } else if (c >= '0' && c <= '9') {
            signSeen = true;
            digitsSeen = true;
            number.push_back(c);
        } else if (c == '.' && !pointSeen) {
            signSeen = true;
            pointSeen = true;
            number.push_back(c);
        } else {
            break;
        }
    }
    if (!digitsSeen)
        return 0.0;
    return std::strtod(number.c_str(), nullptr);
}

std::optional<std::int64_t> roundHalfEven(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    // nearbyint rounds in the default mode, to nearest with ties to even.
    const double rounded = std::nearbyint(value);
    if (rounded < -9.2e18 || rounded > 9.2e18)
        return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

std::optional<Integer> roundToInteger(double value) {
    const auto whole = roundHalfEven(value);
    if (!whole || *whole < std::numeric_limits<Integer>::min() || *whole > std::numeric_limits<Integer>::max())
        return std::nullopt;
    return static_cast<Integer>(*whole);
}

std::optional<Integer> ReadFlagNumber(std::string_view text) {
    return roundToInteger(LeadingNumber(text));
}

std::int64_t divideHalfEven(std::int64_t num, std::int64_t den) {
    std::int64_t q = num / den;
    std::int64_t r = num % den;
    if (r < 0) {
        r += den;
        --q;
    }
    if (2 * r > den || (2 * r == den && q % 2 != 0))
        ++q;
    return q;
}

} // namespace orv
