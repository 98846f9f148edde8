#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orv {

// The Rich Text Format form of a report: one paragraph per line of the
// UTF-8 report text, in a fixed-pitch font. Backslashes and braces are
// escaped; characters beyond ASCII are written as Windows-1252 escapes
// (\'xx) or, outside that code page, as Unicode escapes (\uN?). The document
// ends with its closing brace, without a line break.
std::string ReportRtf(std::string_view reportText);

// Writes the saved-report file: the RTF document followed by CR LF. False
// when the file could not be created or written.
bool WriteReportRtf(const std::filesystem::path& file, std::string_view reportText);

} // namespace orv
