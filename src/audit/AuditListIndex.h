#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orv {

// The unused list of one media folder during a collection pass, indexed by
// each entry's folded name, so that a reference takes its entries off at the
// cost of one lookup instead of a walk of the whole list. The list itself is
// compacted once, when the pass finishes.
class UnusedListIndex {
  public:
    // Indexes `list` (folder listing order); nothing is taken off yet.
    void reset(const std::vector<std::string>& list);
    // Takes off every entry whose folded name is `folded`; returns how many
    // were still on the list.
    std::size_t takeOff(const std::string& folded);
    // True when the list given to reset() (or left by compact()) has an entry
    // whose folded name is `folded`, taken off since or not.
    bool listed(const std::string& folded) const { return first_.contains(folded); }
    // Removes the entries taken off from `list` (the list reset() was given),
    // keeping the order of the others.
    void compact(std::vector<std::string>& list);

  private:
    // The first entry of each folded name; the others of the same folded
    // name follow through next_ (NoEntry ends the chain).
    static constexpr std::uint32_t NoEntry = 0xFFFFFFFF;
    std::unordered_map<std::string, std::uint32_t> first_;
    std::vector<std::uint32_t> next_;
    std::vector<bool> gone_;
    std::size_t goneCount_ = 0;
};

// A missing list during a collection pass: names are appended as the
// references find them absent (each exact spelling once) and put into
// listing order once, when the pass finishes.
class MissingListIndex {
  public:
    void reset() { listed_.clear(); }
    // True when `name` was not listed yet (it is listed now).
    bool add(const std::string& name) { return listed_.insert(name).second; }
    bool contains(const std::string& name) const { return listed_.contains(name); }
    // Sorts `list` into listing order (see ListedBefore), folding each name
    // once.
    static void sort(std::vector<std::string>& list);

  private:
    std::unordered_set<std::string> listed_;
};

} // namespace orv
