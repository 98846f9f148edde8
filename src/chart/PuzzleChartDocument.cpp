#include "chart/PuzzleChartDocument.h"

#include "chart/ChartLayout.h"
#include "chart/PuzzleChart.h"
#include "reports/FlagReach.h"
#include "reports/ReportContext.h"
#include "reports/TextConventions.h"

namespace orv {

namespace {

std::string thousands(std::size_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t i = digits.size(); i > 3; i -= 3)
        digits.insert(i - 3, ",");
    return digits;
}

} // namespace

ChartDocument WritePuzzleChart(const FlagReach& reach, const ProjectState& project, const ChartRequest& request) {
    ChartDocument doc;
    if (request.flag == 0) {
        doc.nodes = PuzzleChartNodeCount(reach);
        if (doc.nodes > MaxChartNodes) {
            doc.refused = true;
            doc.refusal = "The puzzle chart has " + thousands(doc.nodes) + " nodes, more than " +
                          thousands(MaxChartNodes) +
                          ": choose a flag, to draw only what it depends on and what depends on it.";
            return doc;
        }
    }
    const PuzzleChart chart = BuildPuzzleChart(reach, project, request.flag);
    doc.nodes = chart.nodes.size();
    switch (request.format) {
    case ChartFormat::Dot: doc.text = PuzzleChartDot(chart); break;
    case ChartFormat::Json: doc.text = PuzzleChartJson(chart); break;
    case ChartFormat::Svg:
        doc.text = LayOutSvg(PuzzleChartDot(chart));
        if (!doc.text.empty() && doc.text.back() != '\n')
            doc.text += '\n';
        break;
    }
    return doc;
}

ChartDocument MakePuzzleChart(ReportContext& ctx, const ChartRequest& request) {
    return WritePuzzleChart(GatherFlagReach(ctx), ctx.project, request);
}

} // namespace orv
