#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// What an author probably meant by a missing file name: the unused files of
// the same folder that differ from it by a changed extension or by a typing
// slip. Built once per folder from its unused list, then asked once per
// missing name; a name is compared only with names of about its length, so
// the whole pass stays near linear in the number of names.
class NearMissIndex {
  public:
    // `unused` in listing order; the index keeps its own copy of the names.
    explicit NearMissIndex(std::vector<std::string> unused);

    // At most `limit` unused names, ignoring letter case either: with the
    // same stem and another extension, or within two edits (insert, delete,
    // replace a character) of the whole name. Same-stem names first, then by
    // edit distance, then in listing order.
    std::vector<std::string> suggestionsFor(std::string_view missing, std::size_t limit = 3) const;

  private:
    struct Name {
        std::u32string folded; // case-folded code points
        std::size_t stemLength;
    };
    std::vector<std::string> names_;
    std::vector<Name> folded_;
    std::map<std::size_t, std::vector<std::size_t>> byLength_;  // code points -> positions
    std::map<std::u32string, std::vector<std::size_t>> byStem_; // folded stem -> positions
};

// The edit distance of two texts of code points, or `cap` + 1 when it is
// above `cap` (the computation stops early then).
std::size_t EditDistance(std::u32string_view a, std::u32string_view b, std::size_t cap);

} // namespace orv
