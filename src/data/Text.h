#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orv {

// Decodes Windows-1252 bytes to UTF-8. The five bytes that Windows-1252
// leaves undefined (81 8D 8F 90 9D) map to the code points of the same value.
std::string decodeAnsi(std::span<const std::uint8_t> bytes);

// Encodes UTF-8 text as Windows-1252; characters with no Windows-1252 byte
// become '?'. Used to write project files in tests and the sample generator.
std::string encodeAnsi(std::string_view utf8);

// Removes blanks (the space character only) at both ends / at the right end.
std::string_view trimBlanks(std::string_view text);
std::string_view rightTrimBlanks(std::string_view text);

// Lower-cases ASCII letters and the letters of Windows-1252 (À-Þ, Š, Œ, Ž,
// Ÿ) in UTF-8 text; every other byte is kept. Names that differ only in
// letter case fold to the same text.
std::string foldCase(std::string_view utf8);

// Reads the code point at pos of UTF-8 text and advances pos. A byte that
// does not start a valid sequence reads as itself (as Latin-1), so no input
// is ever rejected: file names on disk need not be valid UTF-8.
char32_t nextCodePoint(std::string_view utf8, std::size_t& pos);

// The length of the valid UTF-8 sequence at the start of `text`, or 0 when
// its first byte does not start one (a stray byte, an overlong form, a
// surrogate, a code point beyond U+10FFFF, a cut sequence).
std::size_t validUtf8Length(std::string_view text);

// Any text made valid UTF-8: each byte that does not belong to a valid
// sequence becomes U+FFFD.
std::string ValidUtf8(std::string_view text);

// The Windows-1252 byte of a code point the code page defines, or -1.
int windows1252Byte(char32_t cp);

// The last n characters (code points) of UTF-8 text; all of it when shorter.
std::string_view lastCharacters(std::string_view utf8, std::size_t n);

} // namespace orv
