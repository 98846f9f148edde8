#include "reports/ReportText.h"

#include <cstdint>
#include <sys/mman.h>

namespace orv {

void ReportText::reserveMore(std::size_t more) {
    const std::size_t before = text_.capacity();
    text_.reserve(text_.size() + more);
    constexpr std::uintptr_t LargePage = std::uintptr_t{2} << 20;
    if (text_.capacity() == before || text_.capacity() < 2 * LargePage)
        return;
    // Only the whole large pages inside the buffer; a hint the system may
    // ignore.
    const auto start = reinterpret_cast<std::uintptr_t>(text_.data());
    const std::uintptr_t first = (start + LargePage - 1) & ~(LargePage - 1);
    const std::uintptr_t last = (start + text_.capacity()) & ~(LargePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

} // namespace orv
