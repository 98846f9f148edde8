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
    std::string out;
    AppendFlagCondition(out, flag, op, value);
    return out;
}

std::string SetFlagPhrase(Integer flag, Integer value) {
    std::string out;
    AppendSetFlagPhrase(out, flag, value);
    return out;
}

std::string AddFlagPhrase(Integer amount, Integer flag) {
    std::string out;
    AppendAddFlagPhrase(out, amount, flag);
    return out;
}

void AppendFlagCondition(std::string& out, Integer flag, Integer op, Integer value) {
    out.append("flag #");
    AppendSigned(out, flag);
    out.append(ComparisonText(op));
    AppendPlain(out, value);
}

void AppendSetFlagPhrase(std::string& out, Integer flag, Integer value) {
    out.append("set flag #");
    AppendSigned(out, flag);
    out.append(" to value ");
    AppendPlain(out, value);
}

void AppendAddFlagPhrase(std::string& out, Integer amount, Integer flag) {
    out.append("add ");
    AppendPlain(out, amount);
    out.append(" to the current value of flag #");
    AppendSigned(out, flag);
}

void AppendChangePhrase(std::string& out, Integer flag, Integer value, bool adds) {
    if (adds)
        AppendAddFlagPhrase(out, value, flag);
    else
        AppendSetFlagPhrase(out, flag, value);
}

} // namespace orv
