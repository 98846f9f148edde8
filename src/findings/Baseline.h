#pragma once

#include "data/Result.h"
#include "findings/Findings.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <unordered_set>

namespace orv {

// The findings a project is known to have, by fingerprint: a check against
// a baseline reports only the findings not in it. The file holds one finding
// a line, its fingerprint first, then its level, class, place and message
// for the reader, in the check's own order (class by class, each in the
// order of the project), so that it reads well in a diff; "#" starts a
// comment.
class Baseline {
  public:
    static Result<Baseline> read(const std::filesystem::path& file);

    bool contains(const std::string& fingerprint) const { return fingerprints_.contains(fingerprint); }
    std::size_t size() const { return fingerprints_.size(); }

  private:
    std::unordered_set<std::string> fingerprints_;
};

// The baseline file's first line, then one line a finding.
void WriteBaselineHeader(std::ostream& out);
void WriteBaselineLine(std::ostream& out, const Finding& finding, Level level);

} // namespace orv
