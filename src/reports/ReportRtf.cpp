#include "reports/ReportRtf.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>

namespace orv {

namespace {

// Code points of the Windows-1252 bytes 0x80 to 0x9F; 0 where the code page
// defines no character.
constexpr std::array<char32_t, 32> HighControlBlock = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The Windows-1252 byte of a code point, or -1.
int windows1252Byte(char32_t c) {
    if (c >= 0xA0 && c <= 0xFF)
        return static_cast<int>(c);
    for (std::size_t i = 0; i < HighControlBlock.size(); ++i)
        if (HighControlBlock[i] != 0 && HighControlBlock[i] == c)
            return static_cast<int>(0x80 + i);
    return -1;
}

// Decodes one UTF-8 sequence at text[i], advancing i; a malformed sequence
// yields U+FFFD and skips one byte.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + length > text.size()) {
        ++i;
        return 0xFFFD;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    const bool overlong = (length == 2 && c < 0x80) || (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += length;
    return c;
}

// \uN takes a signed 16-bit N; '?' is what readers without Unicode show.
void appendUnicodeEscape(std::string& out, char32_t unit) {
    const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
    out += "\\u" + std::to_string(value) + "?";
}

void appendCharacter(std::string& out, char32_t c) {
    switch (c) {
    case '\\': out += "\\\\"; return;
    case '{': out += "\\{"; return;
    case '}': out += "\\}"; return;
    case '\t': out += "\\tab "; return;
    default: break;
    }
    if (c >= 0x20 && c < 0x7F) {
        out.push_back(static_cast<char>(c));
        return;
    }
    char hex[8];
    if (c < 0x20 || c == 0x7F) {
        std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned>(c));
        out += hex;
        return;
    }
    if (const int b = windows1252Byte(c); b >= 0) {
        std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned>(b));
        out += hex;
        return;
    }
    if (c > 0xFFFF) {
        const char32_t v = c - 0x10000;
        appendUnicodeEscape(out, 0xD800 + (v >> 10));
        appendUnicodeEscape(out, 0xDC00 + (v & 0x3FF));
        return;
    }
    appendUnicodeEscape(out, c);
}

} // namespace

std::string ReportRtf(std::string_view reportText) {
    std::string out =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
        "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}\r\n"
        "\\viewkind4\\pard\\f0\\fs20 ";
    out.reserve(out.size() + reportText.size() + reportText.size() / 8 + 16);
    for (std::size_t i = 0; i < reportText.size();) {
        if (reportText[i] == '\n') {
            // The CR LF after \par only ends the control word and a line of
            // the file; readers ignore it.
            out += "\\par\r\n";
            ++i;
            continue;
        }
        if (reportText[i] == ' ' && i > 0 && reportText[i - 1] == ' ') {
            // Some readers fold a run of literal blanks into one; a blank
            // written as a hex escape is kept by all of them.
            out += "\\'20";
            ++i;
            continue;
        }
        appendCharacter(out, nextCodePoint(reportText, i));
    }
    out += "\\par\r\n}";
    return out;
}

bool WriteReportRtf(const std::filesystem::path& file, std::string_view reportText) {
    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    if (!stream)
        return false;
    stream << ReportRtf(reportText) << "\r\n";
    stream.close();
    return static_cast<bool>(stream);
}

} // namespace orv
