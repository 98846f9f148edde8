#include "reports/FlagUsage.h"

namespace orv {

namespace {

bool inRange(Integer f) { return f >= 1 && f <= 255; }

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

FlagUsage SummarizeFlagUsage(const FlagStatementList& list) {
    FlagUsage u;
    const auto& all = list.statements;
    for (std::uint32_t i = 0; i < all.size(); ++i) {
        const FlagStatement& s = all[i];
        if (s.use == FlagUse::Problem)
            continue; // names no flag
        if (s.marks && inRange(s.markedFlag))
            u.flags[static_cast<std::size_t>(s.markedFlag)].marked = true;
        // A conjunction result whose text is not a whole number is written
        // by no tracker: it is no flag's change, and its number is suspect.
        if (!s.whole || !inRange(s.flag)) {
            u.outOfRange.push_back(i);
            continue;
        }
        FlagUsageEntry& e = u.flags[static_cast<std::size_t>(s.flag)];
        switch (s.use) {
        case FlagUse::Test:
            ++e.tests;
            e.statements.push_back(i);
            break;
        case FlagUse::Change:
            ++e.changes;
            e.statements.push_back(i);
            break;
        case FlagUse::Score: e.score = true; break;
        case FlagUse::Problem: break;
        }
    }

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
        for (std::uint32_t i : e.statements) {
            const FlagStatement& s = all[i];
            if (EvaluateAtZero(s.comparison, s.value) == TestAtZero::NeverHolds)
                ++e.deadEnds;
        }
        u.deadEnds += e.deadEnds;
        if (e.deadEnds > 0)
            ++u.deadEndFlags;
    }
    return u;
}

} // namespace orv
