#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace orv::ui {

// One search for a piece of text in a report's UTF-8 text, read where it
// lies, in steps of a bounded number of positions, so that a search through
// hundreds of megabytes can give way to the window between steps. Letters
// A to Z match either case; every other byte matches itself, so that a
// match is whole UTF-8 characters.
//
// Forward, from `from`: the first match that starts at or after it, then,
// wrapping around, the first that starts before it. Backward, from `from`:
// the last match that starts before it, then, wrapping around, the last
// that starts at or after it.
class TextSearch {
  public:
    enum class State { Searching, Found, NotFound };

    TextSearch(std::string_view text, std::string_view needle, std::size_t from, bool forward);

    // Looks at up to `positions` more starting positions.
    State step(std::size_t positions);
    State state() const { return state_; }
    std::size_t matchStart() const { return match_; }
    std::size_t matchLength() const { return needle_.size(); }
    // True when the match lies past the text's end (forward) or start
    // (backward), reached by going round.
    bool wrapped() const { return phase_ == 1; }

  private:
    // Starting positions [lo_, hi_) of the current phase, looked at from lo_
    // upward (forward) or from hi_ downward (backward).
    void beginPhase();
    bool foldedEqualAt(std::size_t start) const;

    std::string_view text_;
    std::string needle_; // folded
    std::array<std::size_t, 256> shift_{};
    std::size_t from_;
    bool forward_;
    int phase_ = 0;
    std::size_t lo_ = 0, hi_ = 0;
    std::size_t match_ = 0;
    State state_ = State::Searching;
};

} // namespace orv::ui
