// --format json and sarif against the text outputs: the same statements and findings in the same order with
// the same sentences, on random projects; and what each document holds that the text does not say.

#include "cli/CliProject.h"
#include "reports/FlagUsageReport.h"
#include "reports/ReportFixture.h"
#include "reports/UnusedFlagsReport.h"
#include "support/RandomProject.h"
#include "writers/JsonReports.h"

#include <regex>

namespace orv::testing {
namespace {

OrderedJson json(Args args, bool terminal = false) {
    const ScanResult r = runScanJson(args, terminal);
    EXPECT_TRUE(r.status == 0 || (args[0] == "check" && r.status == 1)) << args[0] << " " << r.err;
    return OrderedJson::parse(r.out);
}

std::vector<std::string> sentences(const OrderedJson& statements) {
    std::vector<std::string> out;
    for (const OrderedJson& s : statements)
        out.push_back(s["sentence"]);
    return out;
}

// A tracker report cut at its headings: the lines above the first heading (after the notes), and each
// heading with the lines under it, blank lines left out.
struct Sections {
    std::vector<std::string> top;
    std::vector<std::pair<std::string, std::vector<std::string>>> sections;
};

Sections sectionsOf(const std::string& report) {
    Sections out;
    bool inBody = false;
    for (const std::string& line : linesOf(report)) {
        if (line.starts_with("NOTE: "))
            inBody = true;
        else if (line == std::string(70, '='))
            inBody = false;
        else if (!inBody || line.empty())
            continue;
        else if (line.starts_with(">>>>>> "))
            out.sections.push_back({line, {}});
        else
            (out.sections.empty() ? out.top : out.sections.back().second).push_back(line);
    }
    return out;
}

void expectSameSections(const std::string& text, const OrderedJson& document, const std::string& heading) {
    const Sections sections = sectionsOf(text);
    EXPECT_EQ(document["score"].is_null() ? std::vector<std::string>{}
                                          : std::vector<std::string>{document["score"]["sentence"]},
              sections.top);
    ASSERT_EQ(document["sections"].size(), sections.sections.size());
    for (std::size_t i = 0; i < sections.sections.size(); ++i) {
        const OrderedJson& section = document["sections"][i];
        const std::string title = heading == "FLAG" ? "" : " (" + section["sceneName"].get<std::string>() + ")";
        EXPECT_EQ(">>>>>> " + heading + " # " +
                      std::to_string(section[heading == "FLAG" ? "flag" : "scene"].get<int>()) + title + " <<<<<<",
                  sections.sections[i].first);
        EXPECT_EQ(sentences(section["statements"]), sections.sections[i].second) << i;
    }
}

class JsonAgainstText : public ::testing::TestWithParam<unsigned> {
  protected:
    TempDir dir;
    std::string project = randomProject(GetParam()).write(dir.path()).string();
};

TEST_P(JsonAgainstText, TrackersWriteTheSectionsOfTheTextReports) {
    for (const std::string flag : {"all", "1", "7", "12", "255"}) {
        const OrderedJson document = json({"track-flag", project, flag});
        EXPECT_EQ(document["flag"], flag == "all" ? OrderedJson("all") : OrderedJson(std::stoi(flag)));
        expectSameSections(runScan({"track-flag", project, flag}).out, document, "FLAG");
    }
    for (const std::string scene : {"all", "1"})
        expectSameSections(runScan({"scene-flags", project, scene}).out, json({"scene-flags", project, scene}),
                           "SCENE");
}

TEST_P(JsonAgainstText, UnusedFlagsAndFlagUsageListWhatTheTextReportsList) {
    const std::string text = runScan({"unused-flags", project}).out;
    const std::string lead = "The following flags do not appear to be in use in this project:\n";
    std::istringstream listed(text.substr(text.find(lead) + lead.size()));
    std::vector<int> unused;
    for (int n; listed >> n;)
        unused.push_back(n);
    const OrderedJson unusedJson = json({"unused-flags", project});
    EXPECT_EQ(std::tuple(unusedJson["complete"], unusedJson["unusedFlags"].get<std::vector<int>>()),
              std::tuple(OrderedJson(true), unused));

    // The summary's lists, as the text writes them: "  never holds: SENTENCE", "  SENTENCE", "  flag #N: SENTENCE".
    const OrderedJson usage = json({"flag-usage", project});
    std::vector<std::string> deadEnds, changed, outside, rows, *into = nullptr;
    for (const std::string& line : linesOf(runScan({"flag-usage", project}).out)) {
        if (line == "Tested but never changed: possible dead ends")
            into = &deadEnds;
        else if (line == "Changed but never tested")
            into = &changed;
        else if (line == "Flag numbers outside 1 to 255")
            into = &outside;
        else if (line == "Flags 1 to 255")
            into = &rows;
        else if (into && into != &rows && line.starts_with("  "))
            into->push_back(line.substr(2));
        else if (into == &rows && std::regex_match(line, std::regex(R"( *\d+ +\d+ +\d+  .*)")))
            rows.push_back(line);
    }
    std::vector<std::string> expected;
    for (const OrderedJson& s : usage["deadEnds"])
        expected.push_back(s["atZero"].get<std::string>() + ": " + s["sentence"].get<std::string>());
    EXPECT_EQ(expected, deadEnds);
    EXPECT_EQ(sentences(usage["changedNeverTested"]), changed);
    expected.clear();
    for (const OrderedJson& s : usage["outOfRange"])
        expected.push_back((s["flag"].is_null() ? std::string("not a whole number")
                                                : "flag #" +
                                                      [&] {
                                                          const int f = s["flag"];
                                                          return f < 0 ? std::to_string(f) : " " + std::to_string(f);
                                                      }()) +
                           ": " + s["sentence"].get<std::string>());
    EXPECT_EQ(expected, outside);
    ASSERT_EQ(std::tuple(rows.size(), usage["flags"].size()), std::tuple(255u, 255u));
    for (std::size_t i = 0; i < 255; ++i) {
        const OrderedJson& f = usage["flags"][i];
        std::istringstream row(rows[i]);
        int flag = 0, tests = 0, changes = 0;
        row >> flag >> tests >> changes;
        EXPECT_EQ(std::tuple(f["flag"].get<int>(), f["tests"].get<int>(), f["changes"].get<int>()),
                  std::tuple(flag, tests, changes));
        EXPECT_TRUE(rows[i].find("  " + f["class"].get<std::string>()) != std::string::npos &&
                    f["deadEnd"].get<bool>() == rows[i].ends_with("(dead end)"))
            << rows[i];
    }
}

// Each check line is a JSON finding, in the same order, and so is each SARIF result, but that the unused flags
// are one result there.
TEST_P(JsonAgainstText, CheckFindingsAreTheLinesOfTheText) {
    const std::vector<std::string> lines = linesOf(runScan({"check", project, "--fail-on", "dead-ends"}).out);
    const OrderedJson document = json({"check", project, "--fail-on", "dead-ends"});
    const OrderedJson sarif =
        OrderedJson::parse(runScan({"check", project, "--format", "sarif", "--fail-on", "dead-ends"}).out);
    const OrderedJson& findings = document["findings"];
    ASSERT_EQ(lines.size(), findings.size() + 1);
    EXPECT_TRUE(lines.back().starts_with(project + ": ")) << "the summary";
    std::vector<OrderedJson> results;
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const OrderedJson& f = findings[i];
        EXPECT_EQ(lines[i], f["path"].get<std::string>() + ":1: " + f["level"].get<std::string>() + ": " +
                                f["place"].get<std::string>() + ": " + f["message"].get<std::string>() + " [" +
                                f["class"].get<std::string>() + "]");
        EXPECT_TRUE(f["path"].get<std::string>().ends_with(f["file"].get<std::string>())) << f.dump();
        if (f["class"] != "unused-flags")
            results.push_back({{"ruleId", f["class"]}, {"level", f["level"]},
                               {"text", f["place"].get<std::string>() + ": " + f["message"].get<std::string>()}});
    }
    std::vector<OrderedJson> sarifResults;
    for (const OrderedJson& r : sarif["runs"][0]["results"])
        if (r["ruleId"] != "unused-flags")
            sarifResults.push_back({{"ruleId", r["ruleId"]}, {"level", r["level"]}, {"text", r["message"]["text"]}});
    EXPECT_EQ(sarifResults, results);
    for (const auto& [name, count] : document["counts"].items())
        EXPECT_EQ(std::ranges::count_if(findings, [&](const OrderedJson& f) { return f["class"] == name; }),
                  count.get<long>())
            << name;
}

INSTANTIATE_TEST_SUITE_P(RandomProjects, JsonAgainstText, ::testing::Range(1u, 9u));

// The command line's project with names from disk that need care: a control character, a byte that is no
// UTF-8, a character that turns text around.
class JsonDocuments : public CliTest {
  protected:
    void SetUp() override {
        builder.gfxFiles.insert({{"tab\there.bmp", "x"}, {"bad\xFF.bmp", ""}, {"\xE2\x80\xAEgif.bmp", "xy"}});
        project = builder.write(dir.path()).string();
    }
};

TEST_F(JsonDocuments, EveryCommandWritesItsOwnDocumentWithTheSameProject) {
    const std::vector<std::pair<Args, std::vector<std::string>>> cases = {
        {{"info", project}, {}}, {{"files", project}, {"folders", "builtInImagesInUse", "totals"}},
        {{"check", project}, {"complete", "failures", "failOn", "findings", "counts", "ignored", "failed"}},
        {{"unused-flags", project}, {"complete", "unusedFlags"}},
        {{"track-flag", project, "4"}, {"flag", "score", "sections"}},
        {{"scene-flags", project, "all"}, {"scene", "score", "sections"}},
        {{"scene-properties", project, "2"}, {"scene", "available"}}, {{"flag-usage", project},
         {"complete", "counts", "flags", "problems", "deadEnds", "changedNeverTested", "outOfRange", "neverHolds",
          "alwaysHolds", "unreachable", "brokenSceneLoads"}}};
    const OrderedJson info = json({"info", project});
    for (const auto& [args, keys] : cases) {
        const OrderedJson document = json(args);
        std::vector<std::string> got, expected{"schema", "command", "project"};
        for (const auto& [key, value] : document.items())
            got.push_back(key);
        expected.insert(expected.end(), keys.begin(), keys.end());
        EXPECT_EQ(got, expected) << args[0];
        EXPECT_EQ(std::tuple(document["schema"], document["command"], document["project"]),
                  std::tuple(OrderedJson(JsonSchemaVersion), OrderedJson(args[0]), info["project"]));
    }
    EXPECT_EQ(info["project"]["counts"]["scenes"], 3);
    EXPECT_EQ(json({"scene-properties", project, "all"})["scene"], "all");
    EXPECT_EQ(json({"check", project})["failOn"], OrderedJson::array({"missing"}));
}

TEST_F(JsonDocuments, StatementsCarryTheValuesTheirObjectsHold) {
    const OrderedJson document = json({"scene-flags", project, "1"});
    EXPECT_EQ(document["score"]["sentence"], "(Customize Player) The score uses flag # 9") << "no line feed";
    EXPECT_EQ(std::tuple(document["score"]["use"], document["score"]["flag"]), std::tuple("score", 9));
    std::map<std::string, OrderedJson> by; // by place and use
    for (const OrderedJson& s : document["sections"][0]["statements"])
        by[s["place"].value("setting", std::to_string(s["place"].value("slot", 0))) + " " +
           s["use"].get<std::string>()] = s;
    EXPECT_EQ(std::tuple(by["conditional load test"]["place"]["loadsScene"], by["conditional load test"]["comparison"]),
              std::tuple(2, "="));
    // A Flag Conjunction's flag and value are its texts, whatever they say.
    const OrderedJson& set = by["1 change"];
    EXPECT_EQ(std::tuple(set["operation"], set["flagText"], set["value"], set["flag"]),
              std::tuple("set", "7 to value 9", "0", 7));
    EXPECT_EQ(set["sentence"], "(Scene # 1 (Kitchen) - Flag Conjunction Object # 1) When all conditions are true, "
                               "object will set flag # 7 to value 9 to value 0");
    EXPECT_EQ(std::tuple(by["2 change"]["operation"], by["2 change"]["flagText"], by["2 change"]["value"]),
              std::tuple("add", "4", "x3"));
    EXPECT_EQ(std::tuple(by["4 change"]["delay"], by["4 change"]["flag"], by["4 change"]["value"]),
              std::tuple(30, 5, 6));
}

// A finding's statement is the statement as the project holds it: a conjunction result that can never happen
// names its texts too, as every other statement of the document does.
TEST_F(CliTest, AFindingsConjunctionResultCarriesItsTexts) {
    builder.scenes = {makeScene("Hall")};
    builder.scenes[0].Slots[0] = objectOf(9, {{143, {1, 20, 0, 1}}}, {"7", "2", "1"});
    const OrderedJson usage = json({"flag-usage", builder.write(dir.path()).string()});
    ASSERT_EQ(usage["unreachable"].size(), 1u);
    const OrderedJson& result = usage["unreachable"][0];
    EXPECT_EQ(std::tuple(result["operation"], result["flagText"], result["value"], result["reason"]),
              std::tuple("add", "7", "2",
                         "all its conditions must hold, and condition A needs flag # 20 = 1, which never holds"));
}

TEST_F(JsonDocuments, FilesNameEveryPlaceOfAMissingFileWhatWasMeantAndTheRawBytesOfOddNames) {
    const OrderedJson document = json({"files", project});
    const OrderedJson& gfx = document["folders"][0];
    EXPECT_EQ(std::tuple(gfx["folder"], gfx["listed"], gfx["missing"].size()), std::tuple("gfx", true, 1u));
    EXPECT_EQ(gfx["missing"][0].dump(), R"({"name":"door.bmp","references":[{"kind":"scene","scene":1,"sceneName":)"
                                        R"("Kitchen","field":"SceneFile1"}],"suggestions":[{"name":"Door.gif"}]})");
    EXPECT_EQ(document["folders"][1]["missing"][0]["references"][0].dump(),
              R"({"kind":"object","scene":1,"sceneName":"Kitchen","slot":5,"objectType":-1,"objectTypeName":null,)"
              R"("field":"ObjectText1"})");
    EXPECT_EQ(gfx["unused"].dump(), "[{\"name\":\"bad\uFFFD.bmp\",\"raw\":\"626164ff2e626d70\",\"size\":0},"
                                    "{\"name\":\"Door.gif\",\"size\":5},"
                                    "{\"name\":\"tab\uFFFDhere.bmp\",\"raw\":\"74616209686572652e626d70\",\"size\":1},"
                                    "{\"name\":\"\u202Egif.bmp\",\"size\":2}]");
    EXPECT_EQ(document["totals"].dump(), R"({"missing":2,"unused":4,"unusedBytes":8})");
}

// On a terminal every document is JSON still, with every character outside ASCII escaped and nothing
// filtered as the text outputs are.
TEST_F(JsonDocuments, ATerminalGetsValidJsonWithEveryCharacterOutsideAsciiEscaped) {
    for (const Args& args : {Args{"scene-flags", project, "all"}, Args{"check", project}, Args{"files", project}}) {
        const ScanResult file = runScanJson(args), terminal = runScanJson(args, true);
        EXPECT_EQ(OrderedJson::parse(terminal.out), OrderedJson::parse(file.out)) << args[0];
        EXPECT_TRUE(std::ranges::all_of(terminal.out, [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
        EXPECT_EQ(terminal.out.find("\\x"), std::string::npos) << args[0];
        for (const std::string& out : {file.out, terminal.out})
            EXPECT_EQ(out.find_first_of("\x1B\t"), std::string::npos) << "control characters are always escaped";
    }
    EXPECT_NE(runScanJson({"scene-flags", project, "3"}, true).out.find(R"("Caf\u00e9\u001b[31m")"), std::string::npos);
    EXPECT_NE(runScanJson({"check", project}, true).out.find(R"("file":"resource/gfx/tab\there.bmp")"),
              std::string::npos);
}

// A record that cannot be read (the open scene file turned into a folder, as on a damaged disk): no list and
// no summary, as in the text reports, and the reason.
using UnreadableJson = ReportFixture;

TEST_F(UnreadableJson, LeavesNoListAndSaysWhy) {
    builder = kitchenProject();
    load();
    host.breakFile = dir / "resource" / "Orvanta1.dat";
    host.yield();
    ASSERT_TRUE(host.broken);
    std::ostringstream unused, usage;
    JsonStream unusedJson(unused), usageJson(usage);
    WriteUnusedFlagsJson(unusedJson, project(), ScanUnusedFlags(source(), host, false));
    WriteFlagUsageJson(usageJson, source(), GatherFlagUsage(source(), host, false));
    for (const std::string& written : {unused.str(), usage.str()}) {
        const OrderedJson document = OrderedJson::parse(written);
        EXPECT_EQ(document["complete"], false);
        EXPECT_NE(document["error"].get<std::string>().find("Orvanta1.dat could not be read (Is a directory)"),
                  std::string::npos)
            << document["error"];
        EXPECT_FALSE(document.contains("flags"));
    }
    EXPECT_EQ(OrderedJson::parse(unused.str())["unusedFlags"], OrderedJson::array());
}

} // namespace
} // namespace orv::testing
