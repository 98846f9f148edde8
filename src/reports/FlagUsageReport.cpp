#include "reports/FlagUsageReport.h"

#include "data/DataFiles.h"
#include "data/FileError.h"
#include "reports/FlagStatements.h"
#include "reports/FlagUsage.h"
#include "reports/ReportContext.h"
#include "reports/ReportText.h"
#include "reports/TextConventions.h"

#include <algorithm>
#include <array>
#include <string>

namespace orv {

namespace {

constexpr std::string_view CheckboxNote = "\nNOTE: Flags that have been specified in properties, but have their "
                                          "governing checkbox UNCHECKED, are not counted in this report.";
constexpr std::string_view ZeroNote =
    "\nNOTE: Assuming that every flag starts at 0 and changes only through the statements this scanner knows, each "
    "test of a flag that nothing changes is evaluated at 0: a test that never holds is a dead end.";

std::string rightAligned(long n, std::size_t width) {
    std::string digits = PlainForm(n);
    return digits.size() >= width ? digits : std::string(width - digits.size(), ' ') + digits;
}

std::string times(int n, std::string_view what) {
    return std::string(what) + " " + PlainForm(n) + (n == 1 ? " time" : " times");
}

void heading(ReportText& text, std::string_view title) {
    text.append("\n\n");
    text.append(title);
}

void statementLine(ReportText& text, const FlagStatementList& list, std::uint32_t i, std::string_view lead) {
    std::string line = "\n  ";
    line += lead;
    line += SentenceLine(list.sentence(list.statements[i]));
    text.append(line);
}

// Each never-changed flag with its tests evaluated at 0: the flags with a dead
// end first, and in each flag the tests that never hold first.
void writeDeadEnds(ReportText& text, const FlagStatementList& list, const FlagUsage& u,
                   const StatementsByFlag& byFlag) {
    heading(text, "Tested but never changed: possible dead ends");
    std::vector<int> flags;
    for (int f = 1; f <= 255; ++f)
        if (u.testedNeverChanged(f))
            flags.push_back(f);
    std::stable_partition(flags.begin(), flags.end(), [&](int f) { return u.flag(f).deadEnds > 0; });
    if (flags.empty())
        text.append("\n(none)");
    for (int f : flags) {
        const FlagUsageEntry& e = u.flag(f);
        text.append("\n\nFlag #" + SignedForm(f) + ": " + times(e.tests, "tested") + ", never changed");
        for (TestAtZero kind : {TestAtZero::NeverHolds, TestAtZero::CannotBeEvaluated, TestAtZero::AlwaysHolds}) {
            for (std::uint32_t i : byFlag[static_cast<std::size_t>(f)]) {
                const FlagStatement& s = list.statements[i];
                if (EvaluateAtZero(s.comparison, s.value) == kind)
                    statementLine(text, list, i, std::string(TestAtZeroText(kind)) + ": ");
            }
        }
    }
}

void writeChangedNeverTested(ReportText& text, const FlagStatementList& list, const FlagUsage& u,
                             const StatementsByFlag& byFlag) {
    heading(text, "Changed but never tested");
    if (u.changedNeverTested == 0)
        text.append("\n(none)");
    for (int f = 1; f <= 255; ++f) {
        if (!u.changedNeverTestedFlag(f))
            continue;
        const FlagUsageEntry& e = u.flag(f);
        text.append("\n\nFlag #" + SignedForm(f) + ": " + times(e.changes, "changed") + ", never tested");
        for (std::uint32_t i : byFlag[static_cast<std::size_t>(f)])
            statementLine(text, list, i, {});
    }
}

void writeOutOfRange(ReportText& text, const FlagStatementList& list, const FlagUsage& u) {
    heading(text, "Flag numbers outside 1 to 255");
    if (u.outOfRange.empty())
        text.append("\n(none)");
    else
        text.append("\n");
    for (std::uint32_t i : u.outOfRange) {
        const FlagStatement& s = list.statements[i];
        statementLine(text, list, i, s.whole ? "flag #" + SignedForm(s.flag) + ": " : "not a whole number: ");
    }
}

void writeTable(ReportText& text, const FlagUsage& u) {
    heading(text, "Flags 1 to 255");
    text.append("\n\nFlag    Tests  Changes  Class");
    std::string rows;
    for (int f = 1; f <= 255; ++f) {
        const FlagUsageEntry& e = u.flag(f);
        rows += "\n" + rightAligned(f, 4) + rightAligned(e.tests, 9) + rightAligned(e.changes, 9) + "  ";
        rows += FlagClassText(e.use);
        if (e.score)
            rows += " (score)";
        if (e.deadEnds > 0)
            rows += " (dead end)";
    }
    text.append(rows);
}

} // namespace

std::string_view SentenceLine(std::string_view sentence) {
    while (!sentence.empty() && sentence.front() == '\n')
        sentence.remove_prefix(1);
    while (!sentence.empty() && sentence.back() == '\n')
        sentence.remove_suffix(1);
    return sentence;
}

FlagUsageData GatherFlagUsage(ReportContext& ctx) {
    const ProjectState& project = ctx.project;
    ctx.host.setProgressMaximum(project.SceneCount + project.CueCardCount + project.InventoryItemCount + 5);
    ctx.host.setProgressValue(0);
    for (int i = 0; i < 5; ++i) // the player settings, as in the other flag reports
        StepProgress(ctx.host);
    FlagUsageData data;
    FlagUsageTally tally;
    GatherOptions options;
    options.keep = [&](const FlagStatement& s) {
        return tally.add(s, static_cast<std::uint32_t>(data.list.statements.size()));
    };
    // Wording a statement costs more than finding it; only those the report
    // lists are worded, afterwards.
    options.sentences = false;
    GatherFlagStatements(ctx, data.list, options, [&ctx](FlagStatementList&) { StepProgress(ctx.host); });
    if (data.list.readFailure)
        throw *data.list.readFailure;
    data.usage = tally.finish();
    const FlagUsage& u = data.usage;
    WordStatements(ctx, data.list, [&u](const FlagStatement& s) {
        if (s.use == FlagUse::Problem || !s.whole || s.flag < 1 || s.flag > 255)
            return true; // a problem line, or a flag number out of range
        if (s.use == FlagUse::Test)
            return u.testedNeverChanged(s.flag);
        return s.use == FlagUse::Change && u.changedNeverTestedFlag(s.flag);
    });
    return data;
}

namespace {

enum class Unit { PlayerSettings, Scene, CueCard, InventoryItem };

Unit unitOf(const FlagStatement& s) {
    switch (s.place) {
    case StatementPlace::PlayerSettings: return Unit::PlayerSettings;
    case StatementPlace::CueCard: return Unit::CueCard;
    case StatementPlace::InventoryItem: return Unit::InventoryItem;
    default: return Unit::Scene;
    }
}

bool sameUnit(const FlagStatement& a, const FlagStatement& b) {
    return unitOf(a) == unitOf(b) && a.record == b.record;
}

bool sameStatement(const FlagStatement& a, const FlagStatement& b) {
    return a.place == b.place && a.record == b.record && a.slot == b.slot && a.row == b.row && a.use == b.use &&
           a.flag == b.flag && a.whole == b.whole;
}

} // namespace

void WordStatements(ReportContext& ctx, FlagStatementList& list,
                    const std::function<bool(const FlagStatement&)>& wanted) {
    std::vector<std::uint32_t> todo;
    for (std::uint32_t i = 0; i < list.statements.size(); ++i)
        if (list.statements[i].sentenceLength == 0 && wanted(list.statements[i]))
            todo.push_back(i);
    if (todo.empty())
        return;
    FlagStatementGatherer gatherer(ctx);
    FlagStatementList unit;
    for (std::size_t t = 0; t < todo.size();) {
        const FlagStatement first = list.statements[todo[t]];
        std::size_t end = t;
        while (end < todo.size() && sameUnit(list.statements[todo[end]], first))
            ++end;
        // The unit's statements come in the order the list holds them; each
        // is matched with the next one wanted.
        std::size_t next = t;
        GatherOptions options;
        options.keep = [&](const FlagStatement& s) {
            if (next == end || !sameStatement(s, list.statements[todo[next]]))
                return false;
            ++next;
            return true;
        };
        unit.clear();
        switch (unitOf(first)) {
        case Unit::PlayerSettings: gatherer.GatherPlayerSettings(unit, options); break;
        case Unit::Scene: gatherer.GatherScene(first.record, unit, options); break;
        case Unit::CueCard: gatherer.GatherCueCard(first.record, unit, options); break;
        case Unit::InventoryItem: gatherer.GatherInventoryItem(first.record, unit, options); break;
        }
        for (std::size_t j = 0; j < unit.statements.size(); ++j) {
            FlagStatement& target = list.statements[todo[t + j]];
            target.sentenceOffset = static_cast<std::uint32_t>(list.sentences.size());
            target.sentenceLength = unit.statements[j].sentenceLength;
            list.sentences.append(unit.sentence(unit.statements[j]));
        }
        t = end;
    }
}

FlagUsageData ScanFlagUsage(ReportContext& ctx) {
    ctx.files.emplace(OpenDataFiles(ctx.project, ctx.host));
    struct Close {
        ReportContext& ctx;
        ~Close() { ctx.files.reset(); }
    } close{ctx};
    ctx.host.yield();
    return GatherFlagUsage(ctx);
}

void FlagUsageReport(ReportContext& ctx) {
    ctx.run.ReportName = "Flag Usage Report";
    ctx.host.yield();
    FlagUsageData data;
    try {
        data = GatherFlagUsage(ctx);
    } catch (const FileError& e) {
        // A summary of part of the project would call flags free or never
        // changed that the rest may well use, so none is written.
        AppendOpening(ctx.text, FlagUsageBanner);
        ctx.text.append("\n*** The scan stopped: the file " + e.file().string() + " could not be read (" + e.reason() +
                        "). No flag usage summary was made. ***");
        AppendClosing(ctx.text);
        return;
    }
    // An object of an unknown type names no flag; its problem line stands
    // above the report body, as in the unused flags report.
    for (const FlagStatement& s : data.list.statements)
        if (s.use == FlagUse::Problem)
            ctx.text.append("\n" + std::string(SentenceLine(data.list.sentence(s))));
    WriteFlagUsageReport(ctx.text, data);
}

void WriteFlagUsageReport(ReportText& text, const FlagUsageData& data) {
    const FlagUsage& u = data.usage;
    AppendOpening(text, FlagUsageBanner);
    text.append(CheckboxNote);
    text.append(ZeroNote);
    text.append("\n\nFlags in use:" + SignedForm(u.inUse));
    text.append("\nFree flags:" + SignedForm(u.free));
    text.append("\nDead ends (tests that never hold):" + SignedForm(u.deadEnds));
    text.append("\nFlag numbers outside 1 to 255:" + SignedForm(static_cast<long>(u.outOfRange.size())));
    const StatementsByFlag byFlag = SortStatementsByFlag(data.list);
    writeDeadEnds(text, data.list, u, byFlag);
    writeChangedNeverTested(text, data.list, u, byFlag);
    writeOutOfRange(text, data.list, u);
    writeTable(text, u);
    AppendClosing(text);
}

} // namespace orv
