#include "reports/PuzzleChart.h"

#include "data/Project.h"
#include "reports/ObjectTypes.h"
#include "reports/Phrasing.h"
#include "reports/TextConventions.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace orv {

namespace {

bool inRange(long f) {
    return f >= 1 && f <= 255;
}

// Each flag a guarded change's guards test, once per test, and the flag it
// changes: the chart's edges before any node is made.
template <typename Visit> void forEachGuard(const FlagReach& reach, const ReachChange& c, Visit&& visit) {
    for (std::uint32_t i = 0; i < 8; ++i)
        if ((c.guards >> i & 1) != 0 && reach.tests[c.firstTest + i].flag != 0)
            visit(reach.tests[c.firstTest + i]);
}

bool changesAFlag(const ReachChange& c) {
    return c.kind != ReachChangeKind::Nothing && inRange(c.flag);
}

// Project texts in a label: control characters shown as U+FFFD, so that
// nothing a scene name holds can break a line of the chart.
std::string shown(std::string_view text) {
    std::string out;
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F)
            out += "\xEF\xBF\xBD";
        else
            out += ch;
    }
    return out;
}

std::string flagLabel(int f, const FlagReachEntry& e) {
    std::string label = "flag #" + SignedForm(f);
    if (e.score)
        label += " (score)";
    return label + "\n" + DescribeFlagValues(e.values, 3);
}

std::string changeLabel(const ReachChange& c, const LoadedProject& project) {
    std::string label = "Scene #" + SignedForm(c.record) + " (" + shown(project.sceneName(c.record)) + ")\n";
    label += std::string(ObjectTypeName(c.objectType).value_or("Object")) + " Object #" + SignedForm(c.slot);
    constexpr Integer MultiTrigger = 7;
    if (c.objectType == MultiTrigger)
        label += ", trigger #" + SignedForm(c.row - 2);
    label += "\n";
    switch (c.kind) {
    case ReachChangeKind::Set: label += "set to " + PlainForm(c.value); break;
    case ReachChangeKind::Add: label += "add " + PlainForm(c.value); break;
    case ReachChangeKind::Positions: label += "A: " + PlainForm(c.value) + ", B: " + PlainForm(c.valueB); break;
    case ReachChangeKind::AnyValue: label += "any value"; break;
    case ReachChangeKind::Nothing:
        label += c.marks ? "flag #" + SignedForm(c.flag) + ": no such flag" : "no flag (unreadable number)";
        break;
    }
    return label;
}

std::string testLabel(const ReachTest& t) {
    std::string_view comparison = ComparisonText(t.comparison);
    while (!comparison.empty() && comparison.front() == ' ')
        comparison.remove_prefix(1);
    return std::string(comparison) + PlainForm(t.value);
}

std::string changeId(const ReachChange& c) {
    return "c" + PlainForm(c.record) + "_" + PlainForm(c.slot) + "_" + PlainForm(c.row);
}

// Which flags and changes a chart restricted to `focus` holds: what the flag
// depends on (the changes of it, the flags their guards test, and so on
// back) and what depends on it (the changes it guards, the flags they
// change, and so on forward).
void restrict(const FlagReach& reach, int focus, std::array<bool, 256>& flags, std::vector<bool>& changes) {
    const auto& all = reach.guardedChanges;
    std::array<std::vector<std::uint32_t>, 256> guarding, changing; // by flag
    for (std::uint32_t c = 0; c < all.size(); ++c) {
        forEachGuard(reach, all[c], [&](const ReachTest& t) { guarding[t.flag].push_back(c); });
        if (changesAFlag(all[c]))
            changing[static_cast<std::size_t>(all[c].flag)].push_back(c);
    }
    flags[static_cast<std::size_t>(focus)] = true;
    for (const bool forward : {false, true}) {
        std::array<bool, 256> seen{};
        seen[static_cast<std::size_t>(focus)] = true;
        std::vector<int> work{focus};
        while (!work.empty()) {
            const auto f = static_cast<std::size_t>(work.back());
            work.pop_back();
            for (std::uint32_t c : forward ? guarding[f] : changing[f]) {
                changes[c] = true;
                const auto reach1 = [&](int next) {
                    flags[static_cast<std::size_t>(next)] = true;
                    if (!seen[static_cast<std::size_t>(next)]) {
                        seen[static_cast<std::size_t>(next)] = true;
                        work.push_back(next);
                    }
                };
                if (forward && changesAFlag(all[c]))
                    reach1(all[c].flag);
                if (!forward)
                    forEachGuard(reach, all[c], [&](const ReachTest& t) { reach1(t.flag); });
            }
        }
    }
}

} // namespace

std::uint32_t PuzzleChart::find(std::string_view id) const {
    for (std::uint32_t i = 0; i < nodes.size(); ++i)
        if (nodes[i].id == id)
            return i;
    return NoIndex;
}

std::size_t PuzzleChartNodeCount(const FlagReach& reach, int focus) {
    std::array<bool, 256> flags{};
    if (inRange(focus)) {
        std::vector<bool> changes(reach.guardedChanges.size());
        restrict(reach, focus, flags, changes);
        return static_cast<std::size_t>(std::count(changes.begin(), changes.end(), true) +
                                        std::count(flags.begin(), flags.end(), true));
    }
    for (const ReachChange& c : reach.guardedChanges) {
        forEachGuard(reach, c, [&](const ReachTest& t) { flags[t.flag] = true; });
        if (changesAFlag(c))
            flags[static_cast<std::size_t>(c.flag)] = true;
    }
    std::size_t n = reach.guardedChanges.size();
    for (const bool f : flags)
        n += f;
    return n;
}

PuzzleChart BuildPuzzleChart(const FlagReach& reach, const LoadedProject& project, int focus) {
    PuzzleChart chart;
    const auto& all = reach.guardedChanges;
    std::array<bool, 256> flags{};
    std::vector<bool> changes(all.size(), focus == 0);
    if (inRange(focus)) {
        chart.focus = focus;
        restrict(reach, focus, flags, changes);
    } else {
        for (const ReachChange& c : all) {
            forEachGuard(reach, c, [&](const ReachTest& t) { flags[t.flag] = true; });
            if (changesAFlag(c))
                flags[static_cast<std::size_t>(c.flag)] = true;
        }
    }
    std::array<std::uint32_t, 256> flagNode{};
    for (int f = 1; f <= 255; ++f) {
        if (!flags[static_cast<std::size_t>(f)])
            continue;
        flagNode[static_cast<std::size_t>(f)] = static_cast<std::uint32_t>(chart.nodes.size());
        const FlagReachEntry& e = reach.flag(f);
        ChartNode& node = chart.nodes.emplace_back();
        node.id = "f" + PlainForm(f);
        node.flag = f;
        node.label = flagLabel(f, e);
        node.deadEnd = e.neverHolds > 0;
    }
    for (std::uint32_t i = 0; i < all.size(); ++i) {
        if (!changes[i])
            continue;
        const ReachChange& c = all[i];
        const auto node = static_cast<std::uint32_t>(chart.nodes.size());
        ChartNode& n = chart.nodes.emplace_back();
        n.kind = ChartNode::Kind::Change;
        n.id = changeId(c);
        n.flag = c.flag;
        n.change = i;
        n.scene = c.record;
        n.slot = c.slot;
        n.label = changeLabel(c, project);
        n.never = !c.happens;
        forEachGuard(reach, c, [&](const ReachTest& t) {
            if (flags[t.flag])
                chart.edges.push_back(
                    {ChartEdge::Kind::Guard, flagNode[t.flag], node, testLabel(t), !t.canHold, false});
        });
        if (changesAFlag(c) && flags[static_cast<std::size_t>(c.flag)])
            chart.edges.push_back(
                {ChartEdge::Kind::Change, node, flagNode[static_cast<std::size_t>(c.flag)], {}, false, !c.happens});
    }
    return chart;
}

} // namespace orv
