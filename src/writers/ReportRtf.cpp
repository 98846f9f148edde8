#include "writers/ReportRtf.h"

#include "data/Text.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>

namespace orv {

namespace {

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
    char hex[16];
    if (c < 0x20 || c == 0x7F) {
        std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned>(c));
        out += hex;
        return;
    }
    if (const int b = windows1252Byte(c); b >= 0x80) {
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
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
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
