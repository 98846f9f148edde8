#include "reports/Phrasing.h"

#include "reports/RunState.h"
#include "reports/TextConventions.h"

#include <algorithm>

namespace orv {

std::string_view ComparisonText(Integer code) {
    switch (code) {
    case 0: return " = ";
    case 1: return " <> ";
    case 2: return " < ";
    case 3: return " > ";
    default: return "";
    }
}

void ResetUnusedFlags(RunState& run) {
    run.UnusedFlags.clear();
    run.UnusedFlags.reserve(255);
    for (int n = 1; n <= 255; ++n)
        run.UnusedFlags.push_back(PlainForm(n));
}

void MarkFlagUsed(RunState& run, Integer n) {
    const std::string wanted = PlainForm(n);
    const auto it = std::find(run.UnusedFlags.begin(), run.UnusedFlags.end(), wanted);
    if (it != run.UnusedFlags.end())
        run.UnusedFlags.erase(it);
}

bool IsTrackedFlag(RunState& run, Integer flag) {
    if (run.EveryFlag)
        run.TrackedFlag = flag;
    return flag == run.TrackedFlag;
}

std::string FlagCondition(Integer flag, Integer op, Integer value) {
    return "flag #" + SignedForm(flag) + std::string(ComparisonText(op)) + PlainForm(value);
}

std::string SetFlagPhrase(Integer flag, Integer value) {
    return "set flag #" + SignedForm(flag) + " to value " + PlainForm(value);
}

std::string AddFlagPhrase(Integer amount, Integer flag) {
    return "add " + PlainForm(amount) + " to the current value of flag #" + SignedForm(flag);
}

} // namespace orv
