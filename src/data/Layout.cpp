#include "data/Layout.h"

#include "data/Text.h"

#include <algorithm>

namespace orv {

std::string readText(std::span<const std::uint8_t> record, std::size_t offset, std::size_t width, Trim trim) {
    if (offset >= record.size())
        return {};
    const auto bytes = record.subspan(offset, std::min(width, record.size() - offset));
    if (std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; }))
        return {};
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::string_view kept = trim == Trim::Both ? trimBlanks(raw) : rightTrimBlanks(raw);
    return decodeAnsi({reinterpret_cast<const std::uint8_t*>(kept.data()), kept.size()});
}

} // namespace orv
