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
    // Makes room for `more` bytes beyond what the text holds, so that a
    // report whose size is known grows in one step.
    void reserveMore(std::size_t more) { text_.reserve(text_.size() + more); }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

} // namespace orv
