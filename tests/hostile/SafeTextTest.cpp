// The two safe forms of text: names from disk as shown, and anything bound for a terminal.

#include "audit/DiskNames.h"
#include "cli/TerminalText.h"
#include "support/HostileNames.h"

#include <gtest/gtest.h>

namespace orv::testing {
namespace {

TEST(DisplayName, ReplacesEveryControlCharacterAndStrayByteWithOneReplacementCharacterEach) {
    for (const HostileName& h : hostileNames())
        EXPECT_EQ(DisplayName(h.name), h.shown) << h.label;
    EXPECT_EQ(DisplayName("\xF0\x9F\x98\x80 \xED\xA0\x80 \xF4\x90\x80\x80"), // emoji kept; surrogate and >U+10FFFF not
              "\xF0\x9F\x98\x80 \uFFFD\uFFFD\uFFFD \uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(TerminalSafe, EscapesControlsExceptTabAndLineFeedAndEveryStrayByte) {
    for (const auto& [text, safe] : {std::pair<std::string, std::string>{"a\tb\nc", "a\tb\nc"},
                                     {"\x1B[2J", "\\x1B[2J"},
                                     {"\x1B]0;t\x07", "\\x1B]0;t\\x07"},
                                     {"cr\r", "cr\\x0D"},
                                     {std::string("nul\0", 4), "nul\\x00"},
                                     {"\x7F", "\\x7F"},
                                     {"\xC2\x9B" "2J", "\\xC2\\x9B2J"},
                                     {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},
                                     {"\xFF\xE2\x82", "\\xFF\\xE2\\x82"},
                                     {"\\x41", "\\x41"}})
        EXPECT_EQ(TerminalSafe(text), safe) << text;
}

} // namespace
} // namespace orv::testing
