#include "writers/PuzzleChartOutput.h"

#include "reports/FlagReach.h"
#include "reports/PuzzleChart.h"
#include "writers/ChartLayout.h"

#include <nlohmann/json.hpp>

namespace orv {

namespace {

void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char ch : text) {
        if (ch == '"' || ch == '\\')
            out += '\\';
        if (ch == '\n')
            out += "\\n";
        else
            out += ch;
    }
    out += '"';
}

constexpr std::string_view DeadEndColour = "#D55E00"; // vermillion: red that colour-blind eyes tell apart
constexpr std::string_view NeverColour = "#8C8C8C";

std::string thousands(std::size_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t i = digits.size(); i > 3; i -= 3)
        digits.insert(i - 3, ",");
    return digits;
}

} // namespace

std::string PuzzleChartDot(const PuzzleChart& chart) {
    std::string out = "digraph puzzle {\n";
    out += "  graph [rankdir=LR, fontname=\"DejaVu Sans\", nodesep=0.25, ranksep=0.6];\n";
    out += "  node [fontname=\"DejaVu Sans\", fontsize=10];\n";
    out += "  edge [fontname=\"DejaVu Sans\", fontsize=9];\n";
    for (const ChartNode& n : chart.nodes) {
        out += "  ";
        appendQuoted(out, n.id);
        out += " [id=";
        appendQuoted(out, n.id);
        out += ", label=";
        appendQuoted(out, n.label);
        if (n.kind == ChartNode::Kind::Flag) {
            out += ", shape=ellipse, style=filled, fillcolor=\"#E8F4FB\"";
            if (n.flag == chart.focus)
                out += ", penwidth=2.5";
            if (n.deadEnd)
                out += ", color=\"" + std::string(DeadEndColour) + "\"";
        } else {
            out += ", shape=box";
            if (n.never)
                out += ", style=dashed, color=\"" + std::string(NeverColour) + "\", fontcolor=\"" +
                       std::string(NeverColour) + "\"";
        }
        out += "];\n";
    }
    for (const ChartEdge& e : chart.edges) {
        out += "  ";
        appendQuoted(out, chart.nodes[e.from].id);
        out += " -> ";
        appendQuoted(out, chart.nodes[e.to].id);
        std::string attributes;
        if (!e.label.empty()) {
            attributes += "label=";
            appendQuoted(attributes, e.label);
        }
        if (e.deadEnd)
            attributes += ", color=\"" + std::string(DeadEndColour) + "\", fontcolor=\"" + std::string(DeadEndColour) +
                          "\", penwidth=2";
        if (e.never)
            attributes += std::string(attributes.empty() ? "" : ", ") + "style=dashed, color=\"" +
                          std::string(NeverColour) + "\"";
        if (!attributes.empty())
            out += " [" + attributes + "]";
        out += ";\n";
    }
    out += "}\n";
    return out;
}

std::string PuzzleChartJson(const PuzzleChart& chart) {
    using Json = nlohmann::ordered_json;
    Json nodes = Json::array();
    for (const ChartNode& n : chart.nodes) {
        Json node = {{"id", n.id}, {"kind", n.kind == ChartNode::Kind::Flag ? "flag" : "change"}, {"flag", n.flag}};
        node["label"] = n.label;
        if (n.kind == ChartNode::Kind::Flag) {
            node["deadEnd"] = n.deadEnd;
        } else {
            node["scene"] = n.scene;
            node["slot"] = n.slot;
            node["never"] = n.never;
        }
        nodes.push_back(std::move(node));
    }
    Json edges = Json::array();
    for (const ChartEdge& e : chart.edges) {
        Json edge = {{"from", chart.nodes[e.from].id},
                     {"to", chart.nodes[e.to].id},
                     {"kind", e.kind == ChartEdge::Kind::Guard ? "guard" : "change"}};
        if (e.kind == ChartEdge::Kind::Guard) {
            edge["test"] = e.label;
            edge["neverHolds"] = e.deadEnd;
        } else {
            edge["never"] = e.never;
        }
        edges.push_back(std::move(edge));
    }
    Json doc = {{"focus", chart.focus == 0 ? Json() : Json(chart.focus)},
                {"nodes", std::move(nodes)},
                {"edges", std::move(edges)}};
    return doc.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

ChartDocument WritePuzzleChart(const FlagReach& reach, const LoadedProject& project, const ChartRequest& request) {
    ChartDocument doc;
    doc.nodes = PuzzleChartNodeCount(reach, request.flag);
    if (doc.nodes > MaxChartNodes) {
        doc.refused = true;
        doc.refusal = request.flag == 0
                          ? "The puzzle chart has " + thousands(doc.nodes) + " nodes, more than " +
                                thousands(MaxChartNodes) +
                                ": choose a flag, to draw only what it depends on and what depends on it."
                          : "The chart of flag # " + std::to_string(request.flag) + " has " + thousands(doc.nodes) +
                                " nodes, more than " + thousands(MaxChartNodes) + ": too many to draw.";
        return doc;
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

} // namespace orv
