#pragma once

#include "findings/Baseline.h"
#include "findings/Findings.h"
#include "findings/IgnoreRules.h"

#include <functional>
#include <map>
#include <utility>

namespace orv {

// What a check reports once the ignore file and the baseline have had their
// say: counts of what was reported, ignored and known before, and how many
// of the baseline's findings are gone.
struct CheckSummary {
    FindingCounts reported{};
    std::size_t errors = 0, warnings = 0, notes = 0;
    std::size_t ignored = 0;
    std::size_t known = 0; // in the baseline, so not reported
    std::size_t fixed = 0; // in the baseline, and found no more
    bool failed = false;   // a finding of a --fail-on class was reported
    std::size_t total() const { return errors + warnings + notes; }
};

// The file a finding counts under when findings are gathered by class and
// file: its own, but for an unused file its media folder (each unused file
// is a file of its own).
std::string GroupingFile(const Finding& finding);

// A check as a command runs it: the findings of a ProjectCheck at their
// level (--fail-on), less those the ignore rules leave out and those the
// baseline knows.
class CheckRun {
  public:
    CheckRun(const ProjectCheck& check, FailOn failOn, const IgnoreRules* ignore = nullptr,
             const Baseline* baseline = nullptr);

    // Every reported finding with its level; the summary is whole once it
    // returns.
    void forEach(const std::function<void(const Finding&, Level)>& visit);
    const CheckSummary& summary() const { return summary_; }
    const ProjectCheck& check() const { return check_; }
    const FailOn& failOn() const { return failOn_; }
    bool usesBaseline() const { return baseline_ != nullptr; }

    // How many findings of each class and file (see GroupingFile) forEach
    // reports: a pass of its own, for outputs that must know before they
    // write.
    std::map<std::pair<FindingClass, std::string>, std::size_t> countByClassAndFile();

  private:
    void pass(const std::function<void(const Finding&, Level)>& visit, bool messages);

    const ProjectCheck& check_;
    FailOn failOn_;
    const IgnoreRules* ignore_;
    const Baseline* baseline_;
    CheckSummary summary_;
};

} // namespace orv
