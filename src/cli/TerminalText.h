#pragma once

#include <string>
#include <string_view>

namespace orv {

// Text made harmless for a terminal: every control character other than tab
// and line feed (C0, DEL, and the C1 characters U+0080 to U+009F), and every
// byte that is not part of valid UTF-8, is written as \xHH (upper-case hex,
// one escape per byte), so nothing a project holds can move the cursor,
// clear the screen or set the window title. Pipes and files get the text
// unchanged.
std::string TerminalSafe(std::string_view text);

} // namespace orv
