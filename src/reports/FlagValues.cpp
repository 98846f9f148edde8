#include "reports/FlagValues.h"

#include "reports/TextConventions.h"

#include <algorithm>
#include <cstdint>

namespace orv {

bool FlagValues::contains(Integer v) const {
    const auto it =
        std::upper_bound(ranges.begin(), ranges.end(), v, [](Integer x, const ValueRange& r) { return x < r.low; });
    return it != ranges.begin() && v <= std::prev(it)->high;
}

long FlagValues::count() const {
    long n = 0;
    for (const ValueRange& r : ranges)
        n += long{r.high} - r.low + 1;
    return n;
}

bool FlagValues::any() const {
    return ranges.size() == 1 && ranges[0].low == INT16_MIN && ranges[0].high == INT16_MAX;
}

namespace {

// One item of a description: first, first + step, ..., last.
struct Item {
    long first = 0;
    long last = 0;
    long step = 1;
    long values() const { return (last - first) / step + 1; }
};

std::string itemText(const Item& item) {
    if (item.values() == 1)
        return PlainForm(item.first);
    std::string text = PlainForm(item.first) + " to " + PlainForm(item.last);
    if (item.step != 1)
        text += " in steps of " + PlainForm(item.step);
    return text;
}

// Fewer values than this are named one by one: "0, 1 or 2", not "0 to 2".
constexpr long ShortestItem = 4;

// Splits the values into items, low to high, until `limit` are made: from
// each value, the longest stretch of values an equal step apart (with no
// other value between) is one item when it holds ShortestItem values or
// more; otherwise the value is an item of its own.
std::vector<Item> items(const FlagValues& values, std::size_t limit) {
    std::vector<Item> out;
    const std::vector<ValueRange>& r = values.ranges;
    std::size_t at = 0;                   // the range holding the next value
    long next = r.empty() ? 0 : r[0].low; // the next value
    const auto startRange = [&](std::size_t k) {
        at = k;
        if (at < r.size())
            next = r[at].low;
    };
    while (at < r.size() && out.size() < limit) {
        const long high = r[at].high;
        if (next < high) { // a step of 1, to the end of the range
            if (high - next + 1 >= ShortestItem) {
                out.push_back({next, high, 1});
                startRange(at + 1);
            } else {
                out.push_back({next, next, 1});
                ++next;
            }
            continue;
        }
        // `next` ends its range: the step is the gap to the next range, and
        // the stretch goes on over ranges of one value each.
        Item item{next, next, 1};
        std::size_t k = at + 1; // the range that holds item.last
        if (k < r.size()) {
            item.step = r[k].low - next;
            item.last = r[k].low;
            while (r[k].low == r[k].high && k + 1 < r.size() && r[k + 1].low - item.last == item.step)
                item.last = r[++k].low;
        }
        if (item.values() < ShortestItem) {
            out.push_back({next, next, 1});
            startRange(at + 1);
        } else if (out.push_back(item); r[k].high > item.last) {
            at = k; // the rest of a longer range that the stretch ended on
            next = item.last + 1;
        } else {
            startRange(k + 1);
        }
    }
    return out;
}

} // namespace

std::string DescribeFlagValues(const FlagValues& values, int shown) {
    if (values.ranges.empty())
        return "no value";
    if (values.any())
        return "any value from -32768 to 32767";
    const std::size_t limit = static_cast<std::size_t>(std::max(shown, 1));
    // One item more than shown tells whether anything is left over.
    const std::vector<Item> all = items(values, limit + 1);
    const std::size_t used = std::min(all.size(), limit);
    long listed = 0;
    for (std::size_t i = 0; i < used; ++i)
        listed += all[i].values();
    const long left = values.count() - listed;
    std::string text;
    for (std::size_t i = 0; i < used; ++i) {
        if (i > 0)
            text += i + 1 == used && left == 0 ? " or " : ", ";
        text += itemText(all[i]);
    }
    if (left > 0)
        text += " or " + PlainForm(left) + (left == 1 ? " other value" : " other values");
    return text;
}

} // namespace orv
