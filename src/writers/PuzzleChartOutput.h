#pragma once

#include <cstddef>
#include <string>

namespace orv {

struct FlagReach;
struct LoadedProject;
struct PuzzleChart;

enum class ChartFormat { Dot, Svg, Json };

struct ChartRequest {
    ChartFormat format = ChartFormat::Dot;
    int flag = 0; // 1 to 255: only what it depends on and what depends on it; 0: the whole chart
};

struct ChartDocument {
    // A chart of more than MaxChartNodes nodes is not made: `text` is then
    // empty and `refusal` says why (and, without a flag, to choose one).
    bool refused = false;
    std::string refusal;
    std::size_t nodes = 0; // of the whole chart, or of the flag's
    std::string text;      // DOT, SVG or JSON, ending in a line feed
};

// The chart of an analysed project in the requested format. Throws
// ChartLayoutError (writers/ChartLayout.h) when Graphviz fails on SVG.
ChartDocument WritePuzzleChart(const FlagReach& reach, const LoadedProject& project, const ChartRequest& request);

// Graphviz's DOT language, UTF-8, every node with its id.
std::string PuzzleChartDot(const PuzzleChart& chart);
// {"focus": …, "nodes": […], "edges": […]}: the same chart as data.
std::string PuzzleChartJson(const PuzzleChart& chart);

} // namespace orv
