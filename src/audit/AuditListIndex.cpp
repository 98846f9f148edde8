#include "audit/AuditListIndex.h"

#include "data/Text.h"

#include <algorithm>

namespace orv {

void UnusedListIndex::reset(const std::vector<std::string>& list) {
    positions_.clear();
    positions_.reserve(list.size());
    for (std::uint32_t i = 0; i < list.size(); ++i)
        positions_[foldCase(list[i])].push_back(i);
    gone_.assign(list.size(), false);
    goneCount_ = 0;
}

std::size_t UnusedListIndex::takeOff(const std::string& folded) {
    const auto found = positions_.find(folded);
    if (found == positions_.end())
        return 0;
    std::size_t taken = 0;
    for (std::uint32_t i : found->second)
        if (!gone_[i]) {
            gone_[i] = true;
            ++taken;
        }
    goneCount_ += taken;
    positions_.erase(found);
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
    gone_.assign(list.size(), false);
    goneCount_ = 0;
    positions_.clear();
    for (std::uint32_t i = 0; i < list.size(); ++i)
        positions_[foldCase(list[i])].push_back(i);
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
