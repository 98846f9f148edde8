#include "findings/CheckRun.h"

#include <unordered_set>

namespace orv {

CheckRun::CheckRun(const ProjectCheck& check, FailOn failOn, const IgnoreRules* ignore, const Baseline* baseline)
    : check_(check), failOn_(failOn), ignore_(ignore), baseline_(baseline) {}

void CheckRun::forEach(const std::function<void(const Finding&, Level)>& visit) {
    pass(visit, true);
}

void CheckRun::pass(const std::function<void(const Finding&, Level)>& visit, bool messages) {
    summary_ = {};
    std::unordered_set<std::string> seen; // the baseline's findings met again
    check_.forEach(
        [&](const Finding& f) {
            if (ignore_ && ignore_->ignores(f)) {
                ++summary_.ignored;
                return;
            }
            if (baseline_ && baseline_->size() > 0) {
                const std::string fingerprint = Fingerprint(f);
                if (baseline_->contains(fingerprint)) {
                    ++summary_.known;
                    seen.insert(fingerprint);
                    return;
                }
            }
            const Level level = failOn_.levelOf(f.findingClass);
            ++summary_.reported[indexOf(f.findingClass)];
            (level == Level::Error ? summary_.errors : level == Level::Warning ? summary_.warnings : summary_.notes)++;
            summary_.failed = summary_.failed || level == Level::Error;
            visit(f, level);
        },
        messages);
    if (baseline_)
        summary_.fixed = baseline_->size() - seen.size();
}

std::string GroupingFile(const Finding& finding) {
    return (finding.findingClass == FindingClass::UnusedFiles ? finding.file.parent_path() : finding.file).string();
}

std::map<std::pair<FindingClass, std::string>, std::size_t> CheckRun::countByClassAndFile() {
    std::map<std::pair<FindingClass, std::string>, std::size_t> counts;
    const CheckSummary kept = summary_;
    // Findings of one class and file come in runs.
    std::map<std::pair<FindingClass, std::string>, std::size_t>::iterator last = counts.end();
    pass(
        [&](const Finding& f, Level) {
            std::string file = GroupingFile(f);
            if (last == counts.end() || last->first.first != f.findingClass || last->first.second != file)
                last = counts.try_emplace({f.findingClass, std::move(file)}).first;
            ++last->second;
        },
        false);
    summary_ = kept;
    return counts;
}

} // namespace orv
