#include "audit/AuditListIndex.h"

#include "data/Text.h"

#include <algorithm>

namespace orv {

void UnusedListIndex::reset(const std::vector<std::string>& list) {
    first_.clear();
    first_.reserve(list.size());
    next_.assign(list.size(), NoEntry);
    // From the last entry back, so that each chain runs in list order.
    for (std::size_t i = list.size(); i-- > 0;) {
        const auto [at, added] = first_.try_emplace(foldCase(list[i]), static_cast<std::uint32_t>(i));
        if (!added) {
            next_[i] = at->second;
            at->second = static_cast<std::uint32_t>(i);
        }
    }
    gone_.assign(list.size(), false);
    goneCount_ = 0;
}

std::size_t UnusedListIndex::takeOff(const std::string& folded) {
    const auto found = first_.find(folded);
    if (found == first_.end())
        return 0;
    std::size_t taken = 0;
    for (std::uint32_t i = found->second; i != NoEntry; i = next_[i])
        if (!gone_[i]) {
            gone_[i] = true;
            ++taken;
        }
    goneCount_ += taken;
    return taken;
}

void UnusedListIndex::compact(std::vector<std::string>& list) {
    if (goneCount_ == 0 || list.size() != gone_.size())
        return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (gone_[i])
            continue;
        if (kept != i)
            list[kept] = std::move(list[i]);
        ++kept;
    }
    list.resize(kept);
    reset(list);
}

void MissingListIndex::sort(std::vector<std::string>& list) {
    // The order of ListedBefore: folded names first, then the raw bytes.
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(list.size());
    for (std::string& name : list)
        keyed.emplace_back(foldCase(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t i = 0; i < keyed.size(); ++i)
        list[i] = std::move(keyed[i].second);
}

} // namespace orv
