#include "ui/TextSearch.h"

#include <algorithm>

namespace orv::ui {

namespace {

unsigned char fold(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

} // namespace

TextSearch::TextSearch(std::string_view text, std::string_view needle, std::size_t from, bool forward)
    : text_(text), from_(std::min(from, text.size())), forward_(forward) {
    for (char c : needle)
        needle_ += static_cast<char>(fold(c));
    if (needle_.empty() || needle_.size() > text_.size()) {
        state_ = State::NotFound;
        return;
    }
    // Horspool's shifts: forward, keyed by the window's last byte; backward,
    // by its first.
    const std::size_t m = needle_.size();
    shift_.fill(m);
    if (forward_) {
        for (std::size_t i = 0; i + 1 < m; ++i)
            shift_[static_cast<unsigned char>(needle_[i])] = m - 1 - i;
    } else {
        for (std::size_t i = m - 1; i >= 1; --i)
            shift_[static_cast<unsigned char>(needle_[i])] = i;
    }
    beginPhase();
}

void TextSearch::beginPhase() {
    const std::size_t starts = text_.size() - needle_.size() + 1; // positions a match can start at
    const std::size_t split = std::min(from_, starts);
    const bool before = forward_ == (phase_ == 1);
    lo_ = before ? 0 : split;
    hi_ = before ? split : starts;
}

bool TextSearch::foldedEqualAt(std::size_t start) const {
    for (std::size_t j = 0; j < needle_.size(); ++j)
        if (fold(text_[start + j]) != static_cast<unsigned char>(needle_[j]))
            return false;
    return true;
}

TextSearch::State TextSearch::step(std::size_t positions) {
    const std::size_t m = needle_.size();
    while (state_ == State::Searching && positions > 0) {
        std::size_t looked = 0;
        if (forward_) {
            const std::size_t end = hi_ - lo_ > positions ? lo_ + positions : hi_;
            std::size_t pos = lo_;
            while (pos < end) {
                if (foldedEqualAt(pos)) {
                    match_ = pos;
                    return state_ = State::Found;
                }
                pos += shift_[fold(text_[pos + m - 1])];
            }
            looked = end - lo_;
            lo_ = std::min(pos, hi_);
        } else {
            const std::size_t end = hi_ - lo_ > positions ? hi_ - positions : lo_;
            std::size_t pos = hi_; // one past the next start to look at
            while (pos > end) {
                const std::size_t start = pos - 1;
                if (foldedEqualAt(start)) {
                    match_ = start;
                    return state_ = State::Found;
                }
                const std::size_t s = shift_[fold(text_[start])];
                pos = pos - end > s ? pos - s : end;
            }
            looked = hi_ - end;
            hi_ = pos;
        }
        positions -= std::min(positions, looked);
        if (lo_ < hi_)
            continue;
        // This side of `from` is done: the other side, once.
        if (phase_ == 1)
            return state_ = State::NotFound;
        phase_ = 1;
        beginPhase();
    }
    return state_;
}

} // namespace orv::ui
