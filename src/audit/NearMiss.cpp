#include "audit/NearMiss.h"

#include "data/Text.h"

#include <algorithm>
#include <tuple>

namespace orv {

namespace {

constexpr std::size_t MaxEdits = 2;

std::u32string foldedCodePoints(std::string_view name) {
    const std::string folded = foldCase(name);
    std::u32string out;
    for (std::size_t pos = 0; pos < folded.size();)
        out.push_back(nextCodePoint(folded, pos));
    return out;
}

// The stem ends at the last "."; a name without one is all stem.
std::size_t stemLength(std::u32string_view name) {
    const auto dot = name.rfind(U'.');
    return dot == std::u32string_view::npos ? name.size() : dot;
}

std::size_t distanceOf(std::size_t a, std::size_t b) {
    return a > b ? a - b : b - a;
}

} // namespace

std::size_t EditDistance(std::u32string_view a, std::u32string_view b, std::size_t cap) {
    const std::size_t over = cap + 1;
    if (distanceOf(a.size(), b.size()) > cap)
        return over;
    // Two rows of the table; only the cells within `cap` of the diagonal are
    // worked out (any other is above the cap), and file names are short, so
    // the rows seldom leave the stack.
    const std::size_t width = b.size() + 1;
    constexpr std::size_t OnStack = 64;
    std::size_t stackRows[2][OnStack];
    std::vector<std::size_t> heapRows;
    std::size_t* previous = stackRows[0];
    std::size_t* current = stackRows[1];
    if (width > OnStack) {
        heapRows.assign(2 * width, over);
        previous = heapRows.data();
        current = heapRows.data() + width;
    } else {
        std::fill_n(current, width, over);
    }
    for (std::size_t j = 0; j < width; ++j)
        previous[j] = std::min(j, over);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        const std::size_t lo = i > cap ? i - cap : 1;
        const std::size_t hi = std::min(b.size(), i + cap);
        current[lo - 1] = lo == 1 ? std::min(i, over) : over;
        std::size_t rowBest = current[lo - 1];
        for (std::size_t j = lo; j <= hi; ++j) {
            const std::size_t replace = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, replace, over});
            rowBest = std::min(rowBest, current[j]);
        }
        if (rowBest > cap)
            return over;
        std::swap(previous, current);
    }
    return std::min(previous[b.size()], over);
}

NearMissIndex::NearMissIndex(std::vector<std::string> unused) : names_(std::move(unused)) {
    folded_.reserve(names_.size());
    for (std::size_t i = 0; i < names_.size(); ++i) {
        std::u32string folded = foldedCodePoints(names_[i]);
        const std::size_t stem = stemLength(folded);
        byLength_[folded.size()].push_back(i);
        byStem_[folded.substr(0, stem)].push_back(i);
        folded_.push_back({std::move(folded), stem});
    }
}

std::vector<std::string> NearMissIndex::suggestionsFor(std::string_view missing, std::size_t limit) const {
    const std::u32string name = foldedCodePoints(missing);
    const std::u32string_view stem = std::u32string_view(name).substr(0, stemLength(name));
    const std::u32string_view extension = std::u32string_view(name).substr(stem.size());

    // (not same stem, distance, listing position) orders the candidates.
    std::vector<std::tuple<bool, std::size_t, std::size_t>> found;
    std::vector<std::size_t> sameStem;
    if (const auto it = byStem_.find(std::u32string(stem)); it != byStem_.end()) {
        for (const std::size_t i : it->second) {
            const Name& candidate = folded_[i];
            if (std::u32string_view(candidate.folded).substr(candidate.stemLength) == extension)
                continue;
            sameStem.push_back(i);
            found.emplace_back(false, EditDistance(name, candidate.folded, name.size() + candidate.folded.size()), i);
        }
    }
    const std::size_t shortest = name.size() > MaxEdits ? name.size() - MaxEdits : 0;
    for (auto it = byLength_.lower_bound(shortest); it != byLength_.end() && it->first <= name.size() + MaxEdits;
         ++it) {
        for (const std::size_t i : it->second) {
            if (std::find(sameStem.begin(), sameStem.end(), i) != sameStem.end())
                continue;
            const std::size_t distance = EditDistance(name, folded_[i].folded, MaxEdits);
            if (distance <= MaxEdits)
                found.emplace_back(true, distance, i);
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> out;
    for (std::size_t k = 0; k < found.size() && k < limit; ++k)
        out.push_back(names_[std::get<2>(found[k])]);
    return out;
}

} // namespace orv
