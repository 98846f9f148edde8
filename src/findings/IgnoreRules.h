#pragma once

#include "data/Result.h"
#include "findings/Findings.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// What a check leaves out, from an ignore file (.orvantaignore beside the
// project file, or one named with --ignore). One rule a line; "#" starts a
// comment; blank lines do nothing:
//   gfx/source-art/**     a media file or folder that is not the game's: a
//                         pattern of its path below the resource folder
//                         ("*" any text within a name, "**" any folders,
//                         "?" one character; letter case does not count);
//                         its unused-files findings are left out
//   flags 200-240, 250    flags reserved for later (numbers and ranges):
//                         their unused-flags findings are left out
//   dead-ends scene 8 *   a class and a pattern of the place the check
//                         names: those findings are left out
// Ignored findings are counted, never silently dropped.
class IgnoreRules {
  public:
    // Reads the rules of `text`; a line that is no rule is an error naming
    // its number.
    static Result<IgnoreRules> parse(std::string_view text, const std::filesystem::path& file);
    // Reads the file; a missing file gives no rules when `mayBeMissing`.
    static Result<IgnoreRules> read(const std::filesystem::path& file, bool mayBeMissing);

    bool ignores(const Finding& finding) const;
    bool empty() const { return mediaPatterns_.empty() && flags_.empty() && places_.empty(); }

  private:
    struct PlaceRule {
        FindingClass findingClass;
        std::string pattern;
    };
    std::vector<std::string> mediaPatterns_;
    std::vector<std::pair<int, int>> flags_;
    std::vector<PlaceRule> places_;
};

// True when `text` matches `pattern`: "*" any text, "?" any one character;
// for a path, "*" and "?" stop at "/" and "**" crosses folders ("a/**/b"
// also matches "a/b"). With `foldCase`, letters of either case match.
enum class GlobText { Path, Plain };
bool GlobMatch(std::string_view pattern, std::string_view text, GlobText kind, bool foldCase);

} // namespace orv
