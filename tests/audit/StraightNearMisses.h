#pragma once

#include "audit/NearMiss.h"
#include "data/Text.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace orv::testing {

// What NearMissIndex answers, worked out the plain way: the missing name is
// compared with every unused name of its stem and with every one within two
// code points of its length. The yardstick of the index's tests; far too slow
// for a folder of thousands of names asked about thousands of others.
class StraightNearMisses {
  public:
    explicit StraightNearMisses(std::vector<std::string> unused) : unused_(std::move(unused)) {
        for (const std::string& name : unused_)
            folded_.push_back(codePoints(name));
    }

    std::vector<std::string> operator()(std::string_view missing, std::size_t limit = 3) const {
        const std::u32string name = codePoints(missing);
        const std::u32string_view stem = std::u32string_view(name).substr(0, stemLength(name));
        const std::u32string_view extension = std::u32string_view(name).substr(stem.size());

        // (not same stem, distance, listing position) orders the suggestions.
        std::vector<std::tuple<bool, std::size_t, std::size_t>> found;
        for (std::size_t i = 0; i < folded_.size(); ++i) {
            const std::u32string_view other = folded_[i];
            const std::u32string_view otherStem = other.substr(0, stemLength(other));
            const std::u32string_view otherExtension = other.substr(otherStem.size());
            if (otherStem == stem && otherExtension != extension) {
                found.emplace_back(false, EditDistance(name, other, name.size() + other.size()), i);
                continue;
            }
            if (std::max(name.size(), other.size()) - std::min(name.size(), other.size()) > 2)
                continue;
            if (const std::size_t distance = EditDistance(name, other, 2); distance <= 2)
                found.emplace_back(true, distance, i);
        }
        std::sort(found.begin(), found.end());
        std::vector<std::string> out;
        for (std::size_t k = 0; k < found.size() && k < limit; ++k)
            out.push_back(unused_[std::get<2>(found[k])]);
        return out;
    }

  private:
    static std::u32string codePoints(std::string_view text) {
        const std::string folded = foldCase(text);
        std::u32string out;
        for (std::size_t pos = 0; pos < folded.size();)
            out.push_back(nextCodePoint(folded, pos));
        return out;
    }

    // The stem ends at the last "."; a name without one is all stem.
    static std::size_t stemLength(std::u32string_view name) {
        const auto dot = name.rfind(U'.');
        return dot == std::u32string_view::npos ? name.size() : dot;
    }

    std::vector<std::string> unused_;
    std::vector<std::u32string> folded_;
};

} // namespace orv::testing
