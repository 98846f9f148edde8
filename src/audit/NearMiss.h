#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

// What an author probably meant by a missing file name: the unused files of
// the same folder that differ from it by a changed extension or by a typing
// slip. Built once per folder from its unused list, then asked once per
// missing name. The names within two edits are found through an index of
// deletion keys (see NearMiss.cpp): a missing name costs work bounded by its
// own length and by the unused names that resemble it, not by the number of
// unused names (unless thousands of them are alike in every window the index
// looks at).
class NearMissIndex {
  public:
    // `unused` in listing order; the index keeps its own copy of the names.
    explicit NearMissIndex(std::vector<std::string> unused);

    // At most `limit` unused names, ignoring letter case either: with the
    // same stem and another extension, or within two edits (insert, delete,
    // replace a character) of the whole name. Same-stem names first, then by
    // edit distance, then in listing order.
    std::vector<std::string> suggestionsFor(std::string_view missing, std::size_t limit = 3) const;

    // The deletion keys the index holds, and the bytes of everything it
    // holds beside the names given to it: what the index costs.
    std::size_t keyCount() const;
    std::size_t indexBytes() const;

  private:
    // A multimap from 64-bit keys to listing positions, filled once: the
    // keys are counted in a first pass and placed in a second, and each
    // position sits in the bucket of its key's high half with some of the
    // key's low bits (its tag) beside it, in four bytes.
    class KeyTable {
      public:
        KeyTable() : KeyTable(0, 0) {}
        // For about `keys` keys (a guess within a factor of two is enough)
        // of positions below `positions`.
        KeyTable(std::size_t positions, std::size_t keys);
        void count(std::uint64_t key);
        // Between the passes. The second adds the same keys, the positions
        // from the last to the first, so that each key lists them in
        // listing order.
        void startFilling();
        void add(std::uint64_t key, std::uint32_t position);
        // After the second pass: sets marks[position] for every position
        // listed under a key that lists more than `crowd`. Buckets of more
        // entries are sorted then, their keys one after another.
        void markCrowds(std::size_t crowd, std::vector<bool>& marks);

        // Calls f(position) for the positions listed under the key, in
        // listing order (and for the odd one of another key that shares its
        // bucket and tag), and returns false; or, when the key lists more
        // than `crowd`, returns true without a call.
        template <class F> bool visit(std::uint64_t key, std::size_t crowd, F&& f) const {
            const auto [first, last] = entriesOf(key);
            if (static_cast<std::size_t>(last - first) > crowd)
                return true;
            const std::uint32_t tag = tagOf(key);
            for (const std::uint32_t* e = first; e != last; ++e)
                if ((*e & ~positionMask_) == tag)
                    f(*e & positionMask_);
            return false;
        }
        // How many positions the key lists, or a few more.
        std::size_t listed(std::uint64_t key) const {
            const auto [first, last] = entriesOf(key);
            return static_cast<std::size_t>(last - first);
        }

        // Ask the memory for the key's bucket, then for its first entries:
        // the lookups of many keys overlap.
        void prefetch(std::uint64_t key) const { __builtin_prefetch(starts_.data() + bucketOf(key)); }
        void prefetchEntries(std::uint64_t key) const { __builtin_prefetch(entries_.data() + starts_[bucketOf(key)]); }

        std::size_t size() const { return entries_.size(); }
        std::size_t bytes() const;

      private:
        // The high half of the key scaled to the number of buckets.
        std::size_t bucketOf(std::uint64_t key) const {
            return static_cast<std::size_t>(((key >> 32) * buckets_) >> 32);
        }
        std::uint32_t tagOf(std::uint64_t key) const { return static_cast<std::uint32_t>(key) & ~positionMask_; }
        // The entries of the key's bucket; of its key alone when the bucket
        // is sorted.
        std::pair<const std::uint32_t*, const std::uint32_t*> entriesOf(std::uint64_t key) const;

        std::vector<std::uint32_t> starts_; // bucket b spans [starts_[b], starts_[b + 1])
        std::vector<std::uint32_t> entries_;
        std::uint64_t buckets_ = 1;
        std::uint32_t positionMask_ = 0;
        std::size_t sortedAbove_ = std::numeric_limits<std::size_t>::max(); // entries in a bucket
    };

    struct Name {
        std::uint32_t start;  // in foldedText_
        std::uint32_t length; // code points
        std::uint32_t stemLength;
    };
    std::u32string_view folded(std::size_t i) const;
    // The unused names that share a deletion key with `name` (see
    // NearMiss.cpp), each once, in listing order: every name within two
    // edits of it, and a few more.
    std::vector<std::uint32_t> nearCandidates(std::u32string_view name) const;

    std::vector<std::string> names_;
    std::u32string foldedText_; // the case-folded code points of every name, one after another
    std::vector<Name> folded_;
    std::vector<KeyTable> windows_; // deletion keys -> positions, one table a window
    KeyTable stems_;                // folded stem -> positions
};

// The edit distance of two texts of code points, or `cap` + 1 when it is
// above `cap` (the computation stops early then).
std::size_t EditDistance(std::u32string_view a, std::u32string_view b, std::size_t cap);

} // namespace orv
