#include "cli/TerminalProgress.h"

#include <string>

namespace orv {

void TerminalProgress::progressChanged() {
    if (!enabled_ || progressMaximum() <= 0 || progressValue() == 0)
        return;
    const auto now = std::chrono::steady_clock::now();
    const bool last = progressValue() == progressMaximum();
    if (drawn_ && !last && now - lastDraw_ < std::chrono::milliseconds(100))
        return;
    lastDraw_ = now;
    constexpr int width = 40;
    const int filled = static_cast<int>(static_cast<long long>(progressValue()) * width / progressMaximum());
    const int percent = static_cast<int>(static_cast<long long>(progressValue()) * 100 / progressMaximum());
    out_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(width - filled), ' ') << "] " << percent << "%" << std::flush;
    drawn_ = true;
}

void TerminalProgress::clear() {
    if (drawn_) {
        out_ << "\r" << std::string(48, ' ') << "\r" << std::flush;
        drawn_ = false;
    }
}

} // namespace orv
