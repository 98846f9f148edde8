#pragma once

#include "reports/FlagReach.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct LoadedProject;

// The puzzle dependency chart: the flags and the guarded changes of a
// project, an edge from each flag a change's guard tests to that change, and
// one from each change to the flag it changes.
struct ChartNode {
    enum class Kind : std::uint8_t { Flag, Change };
    Kind kind = Kind::Flag;
    // Stable from run to run: "f7" for flag 7; "c12_3_1" for scene 12, slot
    // 3, statement row 1. The SVG gives the node's group this id.
    std::string id;
    int flag = 0;                   // Flag: its number; Change: the flag it changes
    std::uint32_t change = NoIndex; // Change: in FlagReach::guardedChanges
    Integer scene = 0;              // Change: where it stands
    int slot = 0;
    std::string label;    // lines separated by LF
    bool never = false;   // Change: it can never happen (drawn dashed and grey)
    bool deadEnd = false; // Flag: one of its tests never holds
};

struct ChartEdge {
    enum class Kind : std::uint8_t { Guard, Change };
    Kind kind = Kind::Guard;
    std::uint32_t from = 0; // node indexes
    std::uint32_t to = 0;
    std::string label;    // Guard: the test, "= 4"
    bool deadEnd = false; // Guard: the test never holds (drawn red)
    bool never = false;   // Change: the change can never happen (dashed and grey)
};

struct PuzzleChart {
    std::vector<ChartNode> nodes; // the flags in ascending order, then the changes in the project's order
    std::vector<ChartEdge> edges;
    int focus = 0; // the flag the chart is restricted to; 0 for the whole chart

    // The node with that id; NoIndex if none.
    std::uint32_t find(std::string_view id) const;
};

// Charts larger than this are drawn only for one flag at a time, and a
// flag's chart larger than this is not drawn: no one reads it, and laying it
// out takes hours.
inline constexpr std::size_t MaxChartNodes = 5000;

// How many nodes the whole chart has (`focus` 0), or the chart of flag
// `focus`, without making it.
std::size_t PuzzleChartNodeCount(const FlagReach& reach, int focus = 0);

// The whole chart, or with `focus` 1 to 255 only what that flag depends on
// and what depends on it (the flag itself at least). Scene names come from
// the project's scene list.
PuzzleChart BuildPuzzleChart(const FlagReach& reach, const LoadedProject& project, int focus = 0);

} // namespace orv
