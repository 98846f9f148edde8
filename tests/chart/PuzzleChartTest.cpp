#include "reports/PuzzleChart.h"

#include "reports/ReportFixture.h"
#include "writers/ChartLayout.h"
#include "writers/PuzzleChartOutput.h"
#include "support/Paths.h"

#include <nlohmann/json.hpp>
#include <regex>

// The puzzle dependency chart: its graph on a small project, the restriction to one flag, the refusal of
// a chart too large to draw, its DOT for the sample project, its JSON, and its layout by Graphviz.

namespace orv::testing {
namespace {

FlagStatement objectStatement(Integer scene, int slot, int row, FlagUse use, Integer flag, Integer value,
                              Integer comparison = 0) {
    FlagStatement s;
    s.place = StatementPlace::Object;
    s.record = scene;
    s.slot = std::uint8_t(slot);
    s.row = std::uint8_t(row);
    s.objectType = 0; // Ambient: row 0 is its visibility, row 1 its change
    s.use = use;
    s.flag = s.markedFlag = flag;
    s.value = value;
    s.comparison = comparison;
    return s;
}

// An Ambient object in scene 1, slot `slot`: visible when flag `tested` = `is`, then sets `changed` to 1.
void ambient(FlagStatementList& list, int slot, Integer tested, Integer is, Integer changed) {
    list.statements.push_back(objectStatement(1, slot, 0, FlagUse::Test, tested, is));
    list.statements.push_back(objectStatement(1, slot, 1, FlagUse::Change, changed, 1));
}

LoadedProject oneScene() {
    LoadedProject p;
    p.SceneCount = 1;
    p.SceneNames = {"(Not A Scene)", "Hall"};
    return p;
}

// 1 -> (slot 1) -> 2 -> (slot 2) -> 3; flag 4 = 2 never holds -> (slot 3) -> 5; 6 -> (slot 4) -> 7.
FlagReach chainOfFlags() {
    FlagStatementList list;
    list.statements.push_back(objectStatement(1, 5, 1, FlagUse::Change, 1, 1)); // unguarded: no node
    ambient(list, 1, 1, 1, 2);
    ambient(list, 2, 2, 1, 3);
    ambient(list, 3, 4, 2, 5);
    ambient(list, 4, 6, 0, 7);
    return AnalyzeFlagReach(list, 1);
}

std::vector<std::string> ids(const PuzzleChart& chart) {
    std::vector<std::string> out;
    for (const ChartNode& n : chart.nodes)
        out.push_back(n.id);
    return out;
}

std::vector<std::string> edges(const PuzzleChart& chart) {
    std::vector<std::string> out;
    for (const ChartEdge& e : chart.edges)
        out.push_back(chart.nodes[e.from].id + ">" + chart.nodes[e.to].id + (e.deadEnd ? " red" : "") +
                      (e.never ? " grey" : ""));
    return out;
}

TEST(PuzzleChart, FlagsAndGuardedChangesWithTheirEdges) {
    const FlagReach reach = chainOfFlags();
    const PuzzleChart chart = BuildPuzzleChart(reach, oneScene());
    EXPECT_EQ(ids(chart), (std::vector<std::string>{"f1", "f2", "f3", "f4", "f5", "f6", "f7", "c1_1_1", "c1_2_1",
                                                    "c1_3_1", "c1_4_1"}));
    EXPECT_EQ(edges(chart), (std::vector<std::string>{"f1>c1_1_1", "c1_1_1>f2", "f2>c1_2_1", "c1_2_1>f3",
                                                      "f4>c1_3_1 red", "c1_3_1>f5 grey", "f6>c1_4_1", "c1_4_1>f7"}));
    EXPECT_EQ(PuzzleChartNodeCount(reach), chart.nodes.size());
    EXPECT_EQ(chart.nodes[chart.find("f2")].label, "flag # 2\n0 or 1");
    EXPECT_EQ(chart.nodes[chart.find("c1_3_1")].label, "Scene # 1 (Hall)\nAmbient Object # 3\nset to 1");
    EXPECT_TRUE(chart.nodes[chart.find("c1_3_1")].never);
    EXPECT_TRUE(chart.nodes[chart.find("f4")].deadEnd);
    EXPECT_FALSE(chart.nodes[chart.find("f5")].deadEnd);
    EXPECT_EQ(chart.find("nothing"), NoIndex);
}

TEST(PuzzleChart, OneFlagDrawsWhatItDependsOnAndWhatDependsOnIt) {
    const FlagReach reach = chainOfFlags();
    const std::pair<int, std::vector<std::string>> cases[] = {
        {2, {"f1", "f2", "f3", "c1_1_1", "c1_2_1"}},
        {1, {"f1", "f2", "f3", "c1_1_1", "c1_2_1"}},
        {3, {"f1", "f2", "f3", "c1_1_1", "c1_2_1"}},
        {5, {"f4", "f5", "c1_3_1"}},
        {9, {"f9"}}, // used nowhere: itself alone
    };
    for (const auto& [flag, expected] : cases) {
        const PuzzleChart chart = BuildPuzzleChart(reach, oneScene(), flag);
        EXPECT_EQ(ids(chart), expected) << "flag " << flag;
        EXPECT_EQ(chart.focus, flag);
    }
    // Flag 1 leads on to 3 but not back from 2 to anything else; 3's ancestors are 1 and 2.
    EXPECT_EQ(edges(BuildPuzzleChart(reach, oneScene(), 3)),
              (std::vector<std::string>{"f1>c1_1_1", "c1_1_1>f2", "f2>c1_2_1", "c1_2_1>f3"}));
    for (int f = 1; f <= 4; ++f)
        EXPECT_EQ(PuzzleChartNodeCount(reach, f), BuildPuzzleChart(reach, oneScene(), f).nodes.size()) << f;
}

TEST(PuzzleChart, AboveFiveThousandNodesOnlyOneFlagIsDrawn) {
    for (const int changes : {4998, 4999}) { // plus flags 1 and 2
        FlagStatementList list;
        for (int i = 0; i < changes; ++i) {
            list.statements.push_back(objectStatement(Integer(1 + i / 20), 1 + i % 20, 0, FlagUse::Test, 1, 0));
            list.statements.push_back(objectStatement(Integer(1 + i / 20), 1 + i % 20, 1, FlagUse::Change, 2, 1));
        }
        const FlagReach reach = AnalyzeFlagReach(list, 250);
        const ChartDocument whole = WritePuzzleChart(reach, oneScene(), {ChartFormat::Dot, 0});
        EXPECT_EQ(whole.nodes, std::size_t(changes + 2));
        EXPECT_EQ(whole.refused, changes + 2 > 5000);
        EXPECT_EQ(whole.text.empty(), whole.refused);
        if (whole.refused) {
            EXPECT_EQ(whole.refusal, "The puzzle chart has 5,001 nodes, more than 5,000: choose a flag, to draw only "
                                     "what it depends on and what depends on it.");
        }
        const ChartDocument one = WritePuzzleChart(reach, oneScene(), {ChartFormat::Svg, 2});
        EXPECT_EQ(std::tuple(one.nodes, one.refused), std::tuple(whole.nodes, whole.refused))
            << "flag 2's chart is the whole chart, and laying out one as large takes hours";
        if (one.refused) {
            EXPECT_EQ(one.refusal, "The chart of flag # 2 has 5,001 nodes, more than 5,000: too many to draw.");
        }
    }
}

class SampleChart : public ReportFixture {
  protected:
    FlagReach sample() {
        fs::copy(fs::path(ExamplesDir) / "lighthouse", dir.path(), fs::copy_options::recursive);
        load(dir / "lighthouse.orv");
        return GatherFlagReach(source());
    }
};

TEST_F(SampleChart, DotJsonAndSvgOfTheSampleProject) {
    const FlagReach reach = sample();
    const std::string dot = WritePuzzleChart(reach, project(), {ChartFormat::Dot, 0}).text;
    EXPECT_EQ(dot, expectedText("puzzle-chart-lighthouse.dot") + "\n");

    const PuzzleChart chart = BuildPuzzleChart(reach, project());
    const auto json = nlohmann::json::parse(WritePuzzleChart(reach, project(), {ChartFormat::Json, 0}).text);
    ASSERT_EQ(json["nodes"].size(), chart.nodes.size());
    ASSERT_EQ(json["edges"].size(), chart.edges.size());
    EXPECT_TRUE(json["focus"].is_null());
    for (std::size_t i = 0; i < chart.nodes.size(); ++i) {
        EXPECT_EQ(json["nodes"][i]["id"], chart.nodes[i].id);
        EXPECT_EQ(json["nodes"][i]["label"], chart.nodes[i].label);
    }
    for (std::size_t i = 0; i < chart.edges.size(); ++i) {
        EXPECT_EQ(json["edges"][i]["from"], chart.nodes[chart.edges[i].from].id);
        EXPECT_EQ(json["edges"][i]["to"], chart.nodes[chart.edges[i].to].id);
    }

    // Every node's group in the SVG carries its id, so that a click finds it.
    const std::string svg = WritePuzzleChart(reach, project(), {ChartFormat::Svg, 0}).text;
    ASSERT_TRUE(svg.starts_with("<?xml")) << svg.substr(0, 200);
    for (const ChartNode& n : chart.nodes)
        EXPECT_NE(svg.find("<g id=\"" + n.id + "\" class=\"node\">"), std::string::npos) << n.id;
}

TEST(ChartLayout, GraphvizMessagesTravelInTheError) {
    EXPECT_NE(LayOutSvg("digraph { a -> b }").find("</svg>"), std::string::npos);
    try {
        LayOutSvg("digraph { a -> ");
        ADD_FAILURE() << "no error";
    } catch (const ChartLayoutError& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("Graphviz could not read the chart: ")) << e.what();
        EXPECT_NE(std::string(e.what()).find("syntax error"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace orv::testing
