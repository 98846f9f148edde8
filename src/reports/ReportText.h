#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orv {

// The one text of a report. Routines only ever append to it, one sentence or
// one line at a time, so a cancelled or failed run keeps everything written
// before it stopped.
class ReportText {
  public:
    void append(std::string_view piece) { text_.append(piece); }
    // Puts `piece` before what the text holds (the header of a report whose
    // body was written first).
    void prepend(std::string_view piece) { text_.insert(0, piece); }
    void clear() { text_.clear(); }
    // Makes room for `more` bytes beyond what the text holds, so that a
    // report whose size is known grows in one step. A large text asks for
    // large pages, as touching each small page of a 175 MB report costs more
    // than writing it.
    void reserveMore(std::size_t more);
    const std::string& str() const { return text_; }

  private:
    std::string text_;
};

} // namespace orv
