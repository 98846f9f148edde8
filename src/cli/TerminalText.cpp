#include "cli/TerminalText.h"

#include "data/Text.h"

namespace orv {

namespace {

void escapeByte(std::string& out, unsigned char byte) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    out += "\\x";
    out += Hex[byte >> 4];
    out += Hex[byte & 0x0F];
}

} // namespace

std::string TerminalSafe(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = validUtf8Length(text.substr(i));
        const auto first = static_cast<unsigned char>(text[i]);
        const bool c0 = length == 1 && (first < 0x20 || first == 0x7F) && first != '\t' && first != '\n';
        const bool c1 = length == 2 && first == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (length == 0 || c0 || c1) {
            const std::size_t n = length == 0 ? 1 : length;
            for (std::size_t k = 0; k < n; ++k)
                escapeByte(out, static_cast<unsigned char>(text[i + k]));
            i += n;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

} // namespace orv
