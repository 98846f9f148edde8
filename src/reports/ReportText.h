#pragma once

#include <string>
#include <string_view>

namespace orv {

// The one text of a report. Routines only ever append to it, one sentence or
// one line at a time, so a cancelled or failed run keeps everything written
// before it stopped.
class ReportText {
public:
    void append(std::string_view piece) { text_.append(piece); }
    void clear() { text_.clear(); }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

} // namespace orv
