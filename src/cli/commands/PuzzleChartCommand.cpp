#include "cli/Command.h"
#include "cli/Commands.h"
#include "cli/TerminalText.h"
#include "reports/FlagReach.h"
#include "reports/PuzzleChart.h"
#include "reports/ReportHost.h"
#include "reports/RunState.h"
#include "writers/ChartLayout.h"
#include "writers/JsonOutput.h"
#include "writers/PuzzleChartOutput.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace orv {

namespace {

struct ChartOptions {
    std::string flag;
};

int puzzleChart(Invocation& run, const ChartOptions& options) {
    const int flag = options.flag.empty() ? 0 : ParseFlag(options.flag);
    if (flag == AllSelector)
        throw UsageError{"Flag number must be between 1 and 255."};
    int loaded = ExitOk;
    auto open = LoadForCommand(run, loaded, true);
    if (!open)
        return loaded;
    const ChartFormat format = run.format == "svg"    ? ChartFormat::Svg
                               : run.format == "json" ? ChartFormat::Json
                                                      : ChartFormat::Dot;
    std::optional<ChartDocument> chart;
    std::optional<std::string> layoutError;
    const int written = WriteStreamedOutput(
        run, open->project.Paths,
        [&](std::ostream& out, ReportHost& host) -> std::optional<Failure> {
            host.setProgressMaximum(open->project.SceneCount + open->project.CueCardCount +
                                    open->project.InventoryItemCount);
            const FlagReach reach = GatherFlagReach(open->source(), [&host] { StepProgress(host); });
            if (reach.failure)
                return reach.failure;
            try {
                chart = WritePuzzleChart(reach, open->project, {format, flag});
            } catch (const ChartLayoutError& e) {
                layoutError = e.what();
                return std::nullopt;
            }
            if (chart->refused)
                return std::nullopt;
            const bool terminal = run.outputFile.empty() && run.io.outIsTerminal;
            if (!terminal)
                out << chart->text;
            else if (format == ChartFormat::Json) // escaped as every document for a terminal
                out << OrderedJson::parse(chart->text).dump(1, ' ', true) << "\n";
            else
                out << TerminalSafe(chart->text);
            return std::nullopt;
        },
        "chart");
    if (written != ExitOk)
        return written;
    if (layoutError) {
        Say(run.io, "orvanta-scan: the chart could not be laid out: " + *layoutError);
        return ExitProjectFailed;
    }
    if (chart && chart->refused) {
        Say(run.io, "orvanta-scan: " + chart->refusal + (flag == 0 ? " (--flag N)" : ""));
        return ExitUsage;
    }
    return ExitOk;
}

} // namespace

// orvanta-scan puzzle-chart: the puzzle dependency chart as DOT, SVG or JSON.
void AddPuzzleChartCommand(CLI::App& app, Invocation& run, CommandAction& action) {
    auto options = std::make_shared<ChartOptions>();
    CLI::App& command =
        AddCommand(app, run, "puzzle-chart", "Draw the puzzle dependency chart: which flag tests guard which changes",
                   {"dot", "svg", "json"});
    command.add_option("--flag", options->flag, "Only what this flag (1 to 255) depends on and what depends on it");
    command.callback([&run, &action, options] { action = [&run, options] { return puzzleChart(run, *options); }; });
}

} // namespace orv
