#include "reports/FlagUsage.h"

#include <algorithm>
#include <utility>

namespace orv {

namespace {

bool inRange(Integer f) {
    return f >= 1 && f <= 255;
}

} // namespace

std::string_view FlagClassText(FlagClass c) {
    switch (c) {
    case FlagClass::Free: return "free";
    case FlagClass::TestedOnly: return "tested only";
    case FlagClass::ChangedOnly: return "changed only";
    case FlagClass::TestedAndChanged: return "tested and changed";
    case FlagClass::OtherUse: return "used, not tested or changed";
    }
    return {};
}

TestAtZero EvaluateAtZero(Integer comparison, Integer value) {
    bool holds = false;
    switch (comparison) {
    case 0: holds = value == 0; break;
    case 1: holds = value != 0; break;
    case 2: holds = 0 < value; break;
    case 3: holds = 0 > value; break;
    default: return TestAtZero::CannotBeEvaluated;
    }
    return holds ? TestAtZero::AlwaysHolds : TestAtZero::NeverHolds;
}

std::string_view TestAtZeroText(TestAtZero t) {
    switch (t) {
    case TestAtZero::AlwaysHolds: return "always holds";
    case TestAtZero::NeverHolds: return "never holds";
    case TestAtZero::CannotBeEvaluated: return "cannot be evaluated";
    }
    return {};
}

bool FlagUsage::testedNeverChanged(int f) const {
    const FlagUsageEntry& e = flag(f);
    return e.tests > 0 && e.changes == 0 && !e.score;
}

bool FlagUsage::changedNeverTestedFlag(int f) const {
    const FlagUsageEntry& e = flag(f);
    return e.changes > 0 && e.tests == 0 && !e.score;
}

std::vector<int> FlagUsage::freeFlags() const {
    std::vector<int> list;
    for (int f = 1; f <= 255; ++f)
        if (flag(f).use == FlagClass::Free)
            list.push_back(f);
    return list;
}

bool FlagUsageTally::add(const FlagStatement& s) {
    if (s.use == FlagUse::Problem)
        return true; // names no flag; the report writes its line
    if (s.marks && inRange(s.markedFlag))
        usage_.flags[static_cast<std::size_t>(s.markedFlag)].marked = true;
    // A conjunction result whose text is not a whole number is written by no
    // tracker: it is no flag's change, and its number is suspect.
    if (!s.whole || !inRange(s.flag)) {
        ++usage_.outOfRange;
        return false;
    }
    const auto f = static_cast<std::size_t>(s.flag);
    FlagUsageEntry& e = usage_.flags[f];
    switch (s.use) {
    case FlagUse::Test:
        ++e.tests;
        if (EvaluateAtZero(s.comparison, s.value) == TestAtZero::NeverHolds)
            ++neverHolds_[f];
        return e.tests <= KeptPerKind;
    case FlagUse::Change: ++e.changes; return e.tests == 0 || e.changes <= KeptPerKind;
    case FlagUse::Score: e.score = true; return false;
    case FlagUse::Problem: break;
    }
    return true;
}

FlagUsage FlagUsageTally::finish() {
    FlagUsage& u = usage_;
    for (int f = 1; f <= 255; ++f) {
        FlagUsageEntry& e = u.flags[static_cast<std::size_t>(f)];
        if (e.tests > 0)
            e.use = e.changes > 0 ? FlagClass::TestedAndChanged : FlagClass::TestedOnly;
        else if (e.changes > 0)
            e.use = FlagClass::ChangedOnly;
        else
            e.use = e.marked || e.score ? FlagClass::OtherUse : FlagClass::Free;
        if (e.use == FlagClass::Free) {
            ++u.free;
            continue;
        }
        ++u.inUse;
        if (u.changedNeverTestedFlag(f))
            ++u.changedNeverTested;
        if (!u.testedNeverChanged(f))
            continue;
        e.deadEnds = neverHolds_[static_cast<std::size_t>(f)];
        u.deadEnds += e.deadEnds;
        if (e.deadEnds > 0)
            ++u.deadEndFlags;
    }
    return std::move(usage_);
}

namespace {

bool isTestOrChange(const FlagStatement& s) {
    return (s.use == FlagUse::Test || s.use == FlagUse::Change) && s.whole && inRange(s.flag);
}

} // namespace

StatementsByFlag SortStatementsByFlag(const FlagStatementList& list) {
    StatementsByFlag byFlag;
    for (std::uint32_t i = 0; i < list.statements.size(); ++i)
        if (isTestOrChange(list.statements[i]))
            byFlag[static_cast<std::size_t>(list.statements[i].flag)].push_back(i);
    return byFlag;
}

std::vector<std::uint32_t> StatementsOfFlag(const FlagStatementList& list, int flag) {
    std::vector<std::uint32_t> found;
    for (std::uint32_t i = 0; i < list.statements.size(); ++i)
        if (isTestOrChange(list.statements[i]) && list.statements[i].flag == flag)
            found.push_back(i);
    return found;
}

std::vector<int> NeverChangedFlagsInOrder(const FlagUsage& usage) {
    std::vector<int> flags;
    for (int f = 1; f <= 255; ++f)
        if (usage.testedNeverChanged(f))
            flags.push_back(f);
    std::stable_partition(flags.begin(), flags.end(), [&](int f) { return usage.flag(f).deadEnds > 0; });
    return flags;
}

std::vector<std::pair<std::uint32_t, TestAtZero>> TestsAtZeroInOrder(const FlagReach& reach, int flag) {
    std::vector<std::pair<std::uint32_t, TestAtZero>> tests;
    for (std::uint32_t t = 0; t < reach.tests.size(); ++t)
        if (reach.tests[t].flag == flag)
            tests.emplace_back(t, EvaluateAtZero(reach.tests[t].comparison, reach.tests[t].value));
    std::stable_sort(tests.begin(), tests.end(), [](const auto& a, const auto& b) {
        const auto rank = [](TestAtZero kind) {
            return kind == TestAtZero::NeverHolds ? 0 : kind == TestAtZero::CannotBeEvaluated ? 1 : 2;
        };
        return rank(a.second) < rank(b.second);
    });
    return tests;
}

FlagUsage SummarizeFlagUsage(const FlagStatementList& list) {
    FlagUsageTally tally;
    for (const FlagStatement& s : list.statements)
        tally.add(s);
    return tally.finish();
}

} // namespace orv
