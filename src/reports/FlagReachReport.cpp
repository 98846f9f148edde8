#include "reports/FlagReachReport.h"

#include "reports/FlagReach.h"
#include "reports/FlagUsageReport.h"
#include "reports/ReportText.h"
#include "reports/TextConventions.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace orv {

namespace {

constexpr std::string_view ModelNote =
    "\nNOTE: Every flag starts at 0 and changes only through the enabled statements this scanner knows; a change "
    "happens whenever each test that guards it (the visibility or activation of its object, its trigger, the "
    "conditions of its Flag Conjunction) can hold, and every scene counts as loaded. So what is said never to "
    "happen cannot happen in the game; what can happen may still not.";

std::string rightAligned(long n, std::size_t width) {
    std::string digits = PlainForm(n);
    return digits.size() >= width ? digits : std::string(width - digits.size(), ' ') + digits;
}

void findings(ReportText& text, ProjectSource source, const FlagReach& reach, std::string_view title,
              const std::vector<ReachFinding>& list) {
    text.append("\n\n");
    text.append(title);
    text.append(list.empty() ? "\n(none)" : "\n");
    std::string out;
    ForEachReachFinding(source, reach, list,
                        [&](const ReachFinding& f, const FlagStatement& s, std::string_view sentence) {
                            out = "\n  ";
                            if (!sentence.empty()) {
                                out += SentenceLine(sentence);
                            } else {
                                out += "(scene #" + SignedForm(s.record);
                                if (s.slot != 0)
                                    out += ", object #" + SignedForm(s.slot);
                                out += ": its record could not be read again)";
                            }
                            out += "\n    because " + reach.reason(f);
                            text.append(out);
                        });
}

void values(ReportText& text, const FlagReach& reach) {
    std::string out = "\n\nValues each flag can take\n\nFlag    Values";
    bool any = false;
    for (int f = 1; f <= 255; ++f) {
        const FlagReachEntry& e = reach.flag(f);
        if (e.tests == 0 && e.changes == 0 && !e.score)
            continue;
        any = true;
        out += "\n" + rightAligned(f, 4) + "    " + DescribeFlagValues(e.values);
        if (e.score)
            out += " (score)";
        else if (e.changes == 0)
            out += " (never changed)";
        else if (e.everyChangeUnreachable())
            out += " (no change can happen)";
    }
    if (!any)
        out += "\n(none)";
    text.append(out);
}

} // namespace

void ForEachReachFinding(
    ProjectSource source, const FlagReach& reach, const std::vector<ReachFinding>& list,
    const std::function<void(const ReachFinding&, const FlagStatement&, std::string_view)>& visit) {
    ForEachWorded(
        source, list.size(), [&](std::size_t at) { return reach.statement(list[at]); },
        [&](std::size_t at, const FlagStatement& s, std::string_view sentence) { visit(list[at], s, sentence); });
}

void AppendFlagReachSections(ReportText& text, ProjectSource source, const FlagReach& reach) {
    text.append("\n\nWhat each flag can reach");
    text.append(ModelNote);
    text.append("\n\nTests that never hold:" + SignedForm(static_cast<long>(reach.neverHolds.size())));
    text.append("\nChanges that can never happen:" + SignedForm(static_cast<long>(reach.unreachable.size())));
    text.append("\nConditional loads of a scene that does not exist:" +
                SignedForm(static_cast<long>(reach.brokenSceneLoads.size())));
    text.append("\nTests that always hold:" + SignedForm(static_cast<long>(reach.alwaysHolds.size())));
    findings(text, source, reach, "Tests that never hold", reach.neverHolds);
    findings(text, source, reach, "Changes that can never happen", reach.unreachable);
    findings(text, source, reach, "Conditional loads of a scene that does not exist", reach.brokenSceneLoads);
    findings(text, source, reach, "Tests that always hold", reach.alwaysHolds);
    values(text, reach);
}

} // namespace orv
