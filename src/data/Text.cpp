#include "data/Text.h"

#include <array>

namespace orv {
namespace {

// Code points of Windows-1252 bytes 0x80 to 0x9F.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool isUtf8Start(unsigned char b) {
    return (b & 0xC0) != 0x80;
}

} // namespace

char32_t nextCodePoint(std::string_view s, std::size_t& pos) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(pos);
    auto continuation = [&](std::size_t i) { return i < s.size() && (byte(i) & 0xC0) == 0x80; };
    if (b0 >= 0xC2 && b0 <= 0xDF && continuation(pos + 1)) {
        char32_t cp = ((b0 & 0x1Fu) << 6) | (byte(pos + 1) & 0x3Fu);
        pos += 2;
        return cp;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF && continuation(pos + 1) && continuation(pos + 2)) {
        char32_t cp = ((b0 & 0x0Fu) << 12) | ((byte(pos + 1) & 0x3Fu) << 6) | (byte(pos + 2) & 0x3Fu);
        pos += 3;
        return cp;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4 && continuation(pos + 1) && continuation(pos + 2) && continuation(pos + 3)) {
        char32_t cp = ((b0 & 0x07u) << 18) | ((byte(pos + 1) & 0x3Fu) << 12) | ((byte(pos + 2) & 0x3Fu) << 6) |
                      (byte(pos + 3) & 0x3Fu);
        pos += 4;
        return cp;
    }
    ++pos;
    return b0;
}

int windows1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp && cp >= 0x100)
            return static_cast<int>(0x80 + i);
    return -1;
}

std::string decodeAnsi(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::uint8_t b : bytes) {
        if (b < 0x80)
            out.push_back(static_cast<char>(b));
        else if (b < 0xA0)
            appendUtf8(out, kHighControls[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::string encodeAnsi(std::string_view utf8) {
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = nextCodePoint(utf8, pos);
        // The five bytes the code page leaves undefined decode to the code
        // points of the same value, and encode back to those bytes.
        const int b = cp >= 0x80 && cp < 0xA0 ? static_cast<int>(cp) : windows1252Byte(cp);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view rightTrimBlanks(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::string foldCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        char32_t cp = nextCodePoint(utf8, pos);
        if (cp >= 'A' && cp <= 'Z')
            cp += 0x20;
        else if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)
            cp += 0x20;
        else if (cp == 0x160 || cp == 0x152 || cp == 0x17D)
            cp += 1;
        else if (cp == 0x178)
            cp = 0xFF;
        else {
            out.append(utf8.substr(start, pos - start));
            continue;
        }
        appendUtf8(out, cp);
    }
    return out;
}

std::string_view lastCharacters(std::string_view utf8, std::size_t n) {
    std::size_t pos = utf8.size();
    while (n > 0 && pos > 0) {
        --pos;
        while (pos > 0 && !isUtf8Start(static_cast<unsigned char>(utf8[pos])))
            --pos;
        --n;
    }
    return utf8.substr(pos);
}

std::size_t validUtf8Length(std::string_view text) {
    if (text.empty())
        return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(0);
    if (first < 0x80)
        return 1;
    std::size_t length = 0;
    char32_t cp = 0, least = 0;
    if (first >= 0xC2 && first <= 0xDF)
        length = 2, cp = first & 0x1F, least = 0x80;
    else if (first >= 0xE0 && first <= 0xEF)
        length = 3, cp = first & 0x0F, least = 0x800;
    else if (first >= 0xF0 && first <= 0xF4)
        length = 4, cp = first & 0x07, least = 0x10000;
    else
        return 0;
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = validUtf8Length(text.substr(pos));
        if (length == 0) {
            out.append("\xEF\xBF\xBD");
            ++pos;
        } else {
            out.append(text.substr(pos, length));
            pos += length;
        }
    }
    return out;
}

} // namespace orv
