#include "reports/FlagUsageReport.h"

#include "data/LoadProject.h"
#include "reports/FlagReachReport.h"
#include "reports/FlagStatements.h"
#include "reports/FlagUsage.h"
#include "reports/ObjectStatements.h"
#include "reports/ReportContext.h"
#include "reports/ReportText.h"
#include "reports/TextConventions.h"

#include <algorithm>
#include <array>
#include <optional>
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

void statementLine(ReportText& text, std::string_view lead, std::string_view sentence) {
    std::string line = "\n  ";
    line += lead;
    line += SentenceLine(sentence);
    text.append(line);
}

// Each never-changed flag with its tests evaluated at 0: the flags with a dead
// end first, and in each flag the tests that never hold first.
void writeDeadEnds(ReportText& text, ProjectSource source, const FlagUsageData& data) {
    heading(text, "Tested but never changed: possible dead ends");
    const std::vector<int> flags = NeverChangedFlagsInOrder(data.usage);
    if (flags.empty())
        text.append("\n(none)");
    for (int f : flags) {
        const FlagUsageEntry& e = data.usage.flag(f);
        text.append("\n\nFlag #" + SignedForm(f) + ": " + times(e.tests, "tested") + ", never changed");
        ForEachTestAtZero(source, data, f, [&](TestAtZero kind, const FlagStatement&, std::string_view sentence) {
            statementLine(text, std::string(TestAtZeroText(kind)) + ": ", sentence);
        });
    }
}

void writeChangedNeverTested(ReportText& text, ProjectSource source, const FlagUsageData& data,
                             const StatementsByFlag& byFlag) {
    heading(text, "Changed but never tested");
    const FlagUsage& u = data.usage;
    if (u.changedNeverTested == 0)
        text.append("\n(none)");
    for (int f = 1; f <= 255; ++f) {
        if (!u.changedNeverTestedFlag(f))
            continue;
        const FlagUsageEntry& e = u.flag(f);
        text.append("\n\nFlag #" + SignedForm(f) + ": " + times(e.changes, "changed") + ", never tested");
        ForEachWorded(
            source, data.list, byFlag[static_cast<std::size_t>(f)],
            [&](std::size_t, const FlagStatement&, std::string_view sentence) { statementLine(text, {}, sentence); });
    }
}

std::optional<Failure> writeOutOfRange(ReportText& text, ProjectSource source, const FlagUsage& u) {
    heading(text, "Flag numbers outside 1 to 255");
    if (u.outOfRange == 0) {
        text.append("\n(none)");
        return std::nullopt;
    }
    text.append("\n");
    return ForEachOutOfRange(source, [&](std::size_t, const FlagStatement& s, std::string_view sentence) {
        statementLine(text, s.whole ? "flag #" + SignedForm(s.flag) + ": " : "not a whole number: ", sentence);
    });
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

FlagUsageData GatherFlagUsage(ProjectSource source, ReportHost& host, bool keepStatements) {
    const LoadedProject& project = source.project;
    host.setProgressMaximum(project.SceneCount + project.CueCardCount + project.InventoryItemCount + 5);
    host.setProgressValue(0);
    for (int i = 0; i < 5; ++i) // the player settings, as in the other flag reports
        StepProgress(host);
    FlagUsageData data;
    if (keepStatements) {
        // Room for every statement the project can make: a list of millions
        // kept for the report's sections then never moves (moving doubles
        // what it holds for a moment), and room never used is never touched.
        const auto most =
            1 + static_cast<std::size_t>(std::max<int>(project.SceneCount, 0)) * (2 + 20 * MostStatementsPerObject) +
            5 * static_cast<std::size_t>(std::max<int>(project.CueCardCount, 0)) +
            static_cast<std::size_t>(std::max<int>(project.InventoryItemCount, 0));
        data.list.statements.reserve(most);
    }
    FlagUsageTally tally;
    FlagReachBuilder reach(project.SceneCount, project.InsertableObjectCount);
    GatherOptions options;
    options.keep = [&](const FlagStatement& s) {
        reach.add(s);
        return tally.add(s) && keepStatements;
    };
    // Wording a statement costs more than finding it; those the report lists
    // are worded as it writes them, a batch at a time.
    options.sentences = false;
    GatherFlagStatements(source, data.list, options, [&host](FlagStatementList&) { StepProgress(host); });
    if (Result<void> scenes = source.completeScenes(); !scenes && !data.list.readFailure)
        data.list.readFailure = scenes.failure();
    if (data.list.readFailure)
        return data;
    data.usage = tally.finish();
    data.reach = reach.finish();
    return data;
}

Result<FlagUsageData> ScanFlagUsage(LoadedProject& project, ReportHost& host) {
    const Result<ProjectFiles> files = OpenDataFiles(project, host);
    if (!files)
        return files.failure();
    host.yield();
    FlagUsageData data = GatherFlagUsage({project, *files}, host);
    if (data.list.readFailure)
        return *data.list.readFailure;
    return data;
}

void WordFlagStatements(LoadedProject& project, FlagUsageData& data, int flag) {
    const auto unworded = [flag](const FlagStatement& s) {
        return s.whole && s.flag == flag && (s.use == FlagUse::Test || s.use == FlagUse::Change) &&
               s.sentenceLength == 0;
    };
    if (std::none_of(data.list.statements.begin(), data.list.statements.end(), unworded))
        return;
    const Result<ProjectFiles> files = OpenDataFiles(project, noEventLoop());
    if (files)
        WordStatements({project, *files}, data.list, unworded);
}

std::vector<std::uint32_t> ProblemStatements(const FlagUsageData& data) {
    std::vector<std::uint32_t> problems;
    for (std::uint32_t i = 0; i < data.list.statements.size(); ++i)
        if (data.list.statements[i].use == FlagUse::Problem)
            problems.push_back(i);
    return problems;
}

void ForEachTestAtZero(ProjectSource source, const FlagUsageData& data, int flag,
                       const std::function<void(TestAtZero, const FlagStatement&, std::string_view)>& visit) {
    const auto tests = TestsAtZeroInOrder(data.reach, flag);
    ForEachWorded(
        source, tests.size(), [&](std::size_t at) { return data.reach.testStatement(tests[at].first); },
        [&](std::size_t at, const FlagStatement& s, std::string_view sentence) {
            visit(tests[at].second, s, sentence);
        });
}

std::optional<Failure> ForEachOutOfRange(ProjectSource source, const WordedVisit& visit) {
    return ForEachStatement(
        source,
        [](const FlagStatement& s) { return s.use != FlagUse::Problem && (!s.whole || s.flag < 1 || s.flag > 255); },
        visit);
}

void FlagUsageReport(ReportContext& ctx) {
    ctx.run.ReportName = "Flag Usage Report";
    ctx.host.yield();
    const ProjectSource source = ctx.source();
    const FlagUsageData data = GatherFlagUsage(source, ctx.host);
    if (const auto& failure = data.list.readFailure) {
        // A summary of part of the project would call flags free or never
        // changed that the rest may well use, so none is written.
        AppendOpening(ctx.text, FlagUsageBanner);
        AppendScanStopped(ctx.text, *failure, "No flag usage summary was made.");
        AppendClosing(ctx.text);
        return;
    }
    // An object of an unknown type names no flag; its problem line stands
    // above the report body, as in the unused flags report.
    ForEachWorded(source, data.list, ProblemStatements(data),
                  [&](std::size_t, const FlagStatement&, std::string_view sentence) {
                      ctx.text.append("\n" + std::string(SentenceLine(sentence)));
                  });
    WriteFlagUsageReport(ctx.text, source, data);
}

void WriteFlagUsageReport(ReportText& text, ProjectSource source, const FlagUsageData& data) {
    const FlagUsage& u = data.usage;
    AppendOpening(text, FlagUsageBanner);
    text.append(CheckboxNote);
    text.append(ZeroNote);
    text.append("\n\nFlags in use:" + SignedForm(u.inUse));
    text.append("\nFree flags:" + SignedForm(u.free));
    text.append("\nDead ends (tests that never hold):" + SignedForm(u.deadEnds));
    text.append("\nFlag numbers outside 1 to 255:" + SignedForm(static_cast<long>(u.outOfRange)));
    const StatementsByFlag byFlag = SortStatementsByFlag(data.list);
    writeDeadEnds(text, source, data);
    writeChangedNeverTested(text, source, data, byFlag);
    if (const std::optional<Failure> failure = writeOutOfRange(text, source, u)) {
        // The project changed under the report since its pass.
        AppendScanStopped(text, *failure, "The flag usage summary is incomplete.");
        AppendClosing(text);
        return;
    }
    writeTable(text, u);
    AppendFlagReachSections(text, source, data.reach);
    AppendClosing(text);
}

} // namespace orv
