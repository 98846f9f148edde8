#include "cli/Cli.h"
#include "cli/JsonOutput.h"
#include "cli/JsonReports.h"
#include "cli/TerminalProgress.h"
#include "data/LoadProject.h"
#include "reports/ReportContext.h"

#include "support/FileBytes.h"
#include "support/ProjectBuilder.h"
#include "support/RecordEncoders.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <regex>
#include <sstream>
#include <unistd.h>

// --format json against the text reports: the same statements in the same order with the same sentences,
// on projects that use every kind of flag statement; and what the command line does around the document.

namespace orv::testing {
namespace {
namespace fs = std::filesystem;
using Args = std::vector<std::string>;

struct Result {
    int status;
    std::string out, err;
};

Result run(const Args& args, bool outIsTerminal = false) {
    std::ostringstream out, err;
    const int status = runCli(args, {out, err, false, outIsTerminal});
    return {status, out.str(), err.str()};
}

OrderedJson runJson(Args args) {
    args.insert(args.end(), {"--format", "json"});
    const Result r = run(args);
    EXPECT_EQ(r.status, 0) << args[0] << r.err;
    return OrderedJson::parse(r.out);
}

// Every kind of flag statement, switched on and off at random, naming flags mostly from 1 to 12 and now and
// then 0, a negative number or one above 255; conjunction results with whole, fractional and non-numeric
// flag texts; an unknown object type now and then.
ProjectBuilder randomProject(unsigned seed) {
    std::mt19937 random(seed);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto value = [&]() -> Integer {
        const int kind = pick(0, 9);
        if (kind < 6) return Integer(pick(1, 12));
        const Integer odd[] = {-1, 0, 256, 255};
        return odd[pick(0, 3)];
    };
    ProjectBuilder b;
    b.settings.ScoreEnabled = Integer(pick(0, 1));
    b.settings.ScoreFlag = value();
    const int scenes = pick(2, 5);
    for (int s = 1; s <= scenes; ++s) {
        // Names that need escaping in JSON, now and then.
        const char* odd[] = {"", " \"quoted\"", " back\\slash", " caf\xC3\xA9", " tab\there"};
        SceneRecord scene = makeScene("Scene " + std::to_string(s) + odd[pick(0, 4)]);
        std::tie(scene.CondLoadEnabled, scene.CondLoadFlag, scene.CondLoadOperator, scene.CondLoadValue) =
            std::tuple(Integer(pick(0, 1)), value(), Integer(pick(-1, 4)), value());
        scene.CondLoadScene = Integer(pick(0, scenes));
        std::tie(scene.OnLoadFlagEnabled, scene.OnLoadFlag, scene.OnLoadValue, scene.OnLoadAdds) =
            std::tuple(Integer(pick(0, 1)), value(), value(), Integer(pick(0, 1)));
        for (ObjectSlot& slot : scene.Slots) {
            const int type = pick(-3, 11);
            slot.ObjectType = Integer(type < -1 ? -1 : type == 11 ? 12 : type);
            for (Integer& setting : slot.Settings) setting = value();
            const char* texts[] = {"7", "7.5", "abc", "12abc", " 3", "2.5", "300", "-4", ""};
            slot.ObjectText[0] = texts[pick(0, 8)];
            slot.ObjectText[1] = texts[pick(0, 8)];
            slot.ObjectText[2] = std::to_string(pick(0, 1));
        }
        b.scenes.push_back(scene);
    }
    b.cueCards.resize(std::size_t(pick(0, 2)));
    for (CueCardRecord& card : b.cueCards)
        for (std::size_t c = 0; c < 5; ++c)
            std::tie(card.ChoiceSetsFlag[c], card.ChoiceFlag[c], card.ChoiceValue[c], card.ChoiceAdds[c]) =
                std::tuple(Integer(pick(0, 1)), value(), value(), Integer(pick(0, 1)));
    b.items.resize(std::size_t(pick(0, 2)));
    for (InventoryItemRecord& item : b.items)
        std::tie(item.ExamineSetsFlag, item.ExamineFlag, item.ExamineValue, item.ExamineAdds) =
            std::tuple(Integer(pick(0, 1)), value(), value(), Integer(pick(0, 1)));
    return b;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
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
        if (line.starts_with("NOTE: ")) {
            inBody = true;
        } else if (!inBody || line.empty()) {
        } else if (line == std::string(70, '=')) {
            inBody = false;
        } else if (line.starts_with(">>>>>> ")) {
            out.sections.push_back({line, {}});
        } else if (out.sections.empty()) {
            out.top.push_back(line);
        } else {
            out.sections.back().second.push_back(line);
        }
    }
    return out;
}

std::vector<std::string> sentences(const OrderedJson& statements) {
    std::vector<std::string> out;
    for (const OrderedJson& s : statements)
        out.push_back(s["sentence"]);
    return out;
}

std::vector<std::string> scoreLines(const OrderedJson& document) {
    if (document["score"].is_null())
        return {};
    return {document["score"]["sentence"]};
}

class JsonAgainstText : public ::testing::TestWithParam<unsigned> {
  protected:
    TempDir dir;
    std::string project;
    void SetUp() override { project = randomProject(GetParam()).write(dir.path()).string(); }
};

TEST_P(JsonAgainstText, TrackFlagWritesTheSectionsOfTheTextReport) {
    for (const std::string flag : {"all", "1", "7", "12", "255"}) {
        const Sections text = sectionsOf(run({"track-flag", project, flag}).out);
        const OrderedJson json = runJson({"track-flag", project, flag});
        EXPECT_EQ(json["flag"], flag == "all" ? OrderedJson("all") : OrderedJson(std::stoi(flag)));
        EXPECT_EQ(scoreLines(json), text.top) << flag;
        ASSERT_EQ(json["sections"].size(), text.sections.size()) << flag;
        for (std::size_t i = 0; i < text.sections.size(); ++i) {
            const OrderedJson& section = json["sections"][i];
            EXPECT_EQ(">>>>>> FLAG # " + std::to_string(section["flag"].get<int>()) + " <<<<<<",
                      text.sections[i].first);
            EXPECT_EQ(sentences(section["statements"]), text.sections[i].second) << flag << " " << i;
        }
    }
}

TEST_P(JsonAgainstText, SceneFlagsWritesTheSectionsOfTheTextReport) {
    for (const std::string scene : {"all", "2"}) {
        const Sections text = sectionsOf(run({"scene-flags", project, scene}).out);
        const OrderedJson json = runJson({"scene-flags", project, scene});
        EXPECT_EQ(scoreLines(json), text.top) << scene;
        ASSERT_EQ(json["sections"].size(), text.sections.size()) << scene;
        for (std::size_t i = 0; i < text.sections.size(); ++i) {
            const OrderedJson& section = json["sections"][i];
            EXPECT_EQ(">>>>>> SCENE # " + std::to_string(section["scene"].get<int>()) + " (" +
                          section["sceneName"].get<std::string>() + ") <<<<<<",
                      text.sections[i].first);
            EXPECT_EQ(sentences(section["statements"]), text.sections[i].second) << scene << " " << i;
        }
    }
}

TEST_P(JsonAgainstText, UnusedFlagsIsTheListOfTheTextReport) {
    const std::string text = run({"unused-flags", project}).out;
    const std::string lead = "The following flags do not appear to be in use in this project:\n";
    const auto at = text.find(lead);
    ASSERT_NE(at, std::string::npos);
    std::istringstream list(text.substr(at + lead.size(), text.find('\n', at + lead.size()) - at - lead.size()));
    std::vector<int> expected;
    for (int n; list >> n;)
        expected.push_back(n);
    const OrderedJson json = runJson({"unused-flags", project});
    EXPECT_EQ(json["complete"], true);
    EXPECT_EQ(json["unusedFlags"].get<std::vector<int>>(), expected);
}

// The summary's lists, as the text writes them: "  never holds: SENTENCE", "  SENTENCE", "  flag #N: SENTENCE".
TEST_P(JsonAgainstText, FlagUsageListsTheStatementsOfTheTextReport) {
    const std::vector<std::string> text = linesOf(run({"flag-usage", project}).out);
    const OrderedJson json = runJson({"flag-usage", project});
    std::vector<std::string> deadEnds, changed, outside, rows;
    std::vector<std::string>* into = nullptr;
    for (const std::string& line : text) {
        if (line == "Tested but never changed: possible dead ends") into = &deadEnds;
        else if (line == "Changed but never tested") into = &changed;
        else if (line == "Flag numbers outside 1 to 255") into = &outside;
        else if (line == "Flags 1 to 255") into = &rows;
        else if (into && line.starts_with("  ") && into != &rows) into->push_back(line.substr(2));
        else if (into == &rows && std::regex_match(line, std::regex(R"( *\d+ +\d+ +\d+  .*)"))) rows.push_back(line);
    }
    std::vector<std::string> expected;
    for (const OrderedJson& s : json["deadEnds"])
        expected.push_back(s["atZero"].get<std::string>() + ": " + s["sentence"].get<std::string>());
    EXPECT_EQ(expected, deadEnds);
    EXPECT_EQ(sentences(json["changedNeverTested"]), changed);
    expected.clear();
    for (const OrderedJson& s : json["outOfRange"])
        expected.push_back((s["flag"].is_null() ? std::string("not a whole number") : "flag #" + [&] {
            const int f = s["flag"];
            return f < 0 ? std::to_string(f) : " " + std::to_string(f);
        }()) + ": " + s["sentence"].get<std::string>());
    EXPECT_EQ(expected, outside);
    ASSERT_EQ(rows.size(), 255u);
    ASSERT_EQ(json["flags"].size(), 255u);
    for (std::size_t i = 0; i < 255; ++i) {
        const OrderedJson& f = json["flags"][i];
        std::istringstream row(rows[i]);
        int flag = 0, tests = 0, changes = 0;
        row >> flag >> tests >> changes;
        EXPECT_EQ(f["flag"], flag);
        EXPECT_EQ(f["tests"], tests) << flag;
        EXPECT_EQ(f["changes"], changes) << flag;
        EXPECT_NE(rows[i].find("  " + f["class"].get<std::string>()), std::string::npos) << rows[i];
        EXPECT_EQ(f["deadEnd"].get<bool>(), rows[i].ends_with("(dead end)")) << rows[i];
    }
    EXPECT_EQ(json["counts"]["outOfRange"], json["outOfRange"].size());
}

INSTANTIATE_TEST_SUITE_P(RandomProjects, JsonAgainstText, ::testing::Range(1u, 9u));

// One scene of the statements whose values the sentence alone would not give a program.
class JsonDocuments : public ::testing::Test {
  protected:
    TempDir dir;
    ProjectBuilder builder;
    std::string project;

    void SetUp() override {
        builder.settings.ScoreEnabled = 1;
        builder.settings.ScoreFlag = 9;
        builder.scenes = {makeScene("Caf\xC3\xA9"), makeScene("Vault\x1B[31m")};
        SceneRecord& scene = builder.scenes[0];
        std::tie(scene.CondLoadEnabled, scene.CondLoadFlag, scene.CondLoadOperator, scene.CondLoadValue,
                 scene.CondLoadScene) = std::tuple(1, 4, 0, 1, 2);
        ObjectSlot& conjunction = scene.Slots[0];
        conjunction.ObjectType = 9;
        conjunction.ObjectText = {"4", "2.5", "0"};
        ObjectSlot& delay = scene.Slots[1];
        delay.ObjectType = 6;
        setSetting(delay, 143, 4);
        setSetting(delay, 149, 30);
        setSetting(delay, 151, 5);
        setSetting(delay, 153, 6);
        ObjectSlot& adding = scene.Slots[2];
        adding.ObjectType = 9;
        adding.ObjectText = {"4", "x3", "1"};
        project = builder.write(dir.path()).string();
    }
};

TEST_F(JsonDocuments, StatementsCarryTheValuesTheirObjectsHold) {
    const OrderedJson json = runJson({"scene-flags", project, "1"});
    EXPECT_EQ(json["score"]["use"], "score");
    EXPECT_EQ(json["score"]["flag"], 9);
    EXPECT_EQ(json["score"]["sentence"], "(Customize Player) The score uses flag # 9") << "no line feed";
    OrderedJson load, result, delayed, added;
    for (const OrderedJson& s : json["sections"][0]["statements"]) {
        const OrderedJson& place = s["place"];
        if (place["kind"] == "scene" && place["setting"] == "conditional load") load = s;
        if (place.value("objectType", -1) == 9 && s["use"] == "change")
            (place["slot"] == 1 ? result : added) = s;
        if (place.value("objectType", -1) == 6 && s["use"] == "change") delayed = s;
    }
    EXPECT_EQ(load["place"]["loadsScene"], 2);
    EXPECT_EQ(load["comparison"], "=");
    EXPECT_EQ(result["value"], "2.5") << "a conjunction result's value is its text";
    EXPECT_EQ(result["flagText"], "4");
    EXPECT_EQ(result["flag"], 4);
    EXPECT_EQ(result["operation"], "set");
    EXPECT_EQ(added["value"], "x3");
    EXPECT_EQ(added["operation"], "add");
    EXPECT_EQ(delayed["delay"], 30);
    EXPECT_EQ(delayed["flag"], 5);
    EXPECT_EQ(delayed["value"], 6);
}

TEST_F(JsonDocuments, EveryCommandWritesItsOwnDocument) {
    const std::vector<std::pair<Args, std::vector<std::string>>> cases = {
        {{"info", project}, {"schema", "command", "project"}},
        {{"unused-flags", project}, {"schema", "command", "project", "complete", "unusedFlags"}},
        {{"track-flag", project, "4"}, {"schema", "command", "project", "flag", "score", "sections"}},
        {{"scene-flags", project, "all"}, {"schema", "command", "project", "scene", "score", "sections"}},
        {{"scene-properties", project, "2"}, {"schema", "command", "project", "scene", "available"}},
        {{"flag-usage", project},
         {"schema", "command", "project", "complete", "counts", "flags", "problems", "deadEnds", "changedNeverTested",
          "outOfRange"}},
    };
    for (const auto& [args, keys] : cases) {
        const OrderedJson json = runJson(args);
        std::vector<std::string> got;
        for (const auto& [key, value] : json.items())
            got.push_back(key);
        EXPECT_EQ(got, keys) << args[0];
        EXPECT_EQ(json["schema"], JsonSchemaVersion);
        EXPECT_EQ(json["command"], args[0]);
        EXPECT_EQ(json["project"]["counts"]["scenes"], 2);
    }
    EXPECT_EQ(runJson({"scene-properties", project, "all"})["scene"], "all");
    EXPECT_EQ(runJson({"scene-properties", project, "2"})["available"], false);
}

TEST_F(JsonDocuments, ATerminalGetsEveryCharacterOutsideAsciiEscaped) {
    const Result file = run({"scene-flags", project, "all", "--format", "json"}, false);
    const Result terminal = run({"scene-flags", project, "all", "--format", "json"}, true);
    EXPECT_NE(file.out.find("\"Caf\xC3\xA9\""), std::string::npos);
    EXPECT_NE(terminal.out.find(R"("Caf\u00e9")"), std::string::npos);
    for (const std::string& out : {file.out, terminal.out}) {
        EXPECT_EQ(out.find('\x1B'), std::string::npos) << "a control character is always escaped";
        EXPECT_NE(out.find(R"("Vault\u001b[31m")"), std::string::npos);
        EXPECT_EQ(OrderedJson::parse(out), OrderedJson::parse(file.out));
    }
    for (const char c : terminal.out)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST_F(JsonDocuments, AnOutputFileGetsTheDocumentAndTheStatusesAreThoseOfText) {
    const std::string file = (dir / "report.json").string();
    for (const Args& args : {Args{"unused-flags", project}, Args{"track-flag", project, "all"},
                             Args{"scene-flags", project, "1"}, Args{"flag-usage", project},
                             Args{"scene-properties", project, "1"}}) {
        Args toFile = args;
        toFile.insert(toFile.end(), {"--format", "json", "-o", file});
        const Result r = run(toFile);
        EXPECT_EQ(r.status, 0) << args[0];
        EXPECT_EQ(r.out, "");
        const auto bytes = readFileBytes(file);
        Args toOut = args;
        toOut.insert(toOut.end(), {"--format", "json"});
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), run(toOut).out) << args[0];
    }
    Result r = run({"unused-flags", project, "--format", "json", "-o", (dir / "report.RTF").string()});
    EXPECT_EQ(r.status, 2) << "JSON is never written as RTF";
    EXPECT_NE(r.err.find("writes no RTF"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "report.RTF"));
    r = run({"unused-flags", project, "--format", "json", "-o", (dir / "no-such-folder/r.json").string()});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("(No such file or directory)"), std::string::npos);
    for (const char* command : {"info", "unused-flags", "flag-usage"}) { // a closed standard output
        std::ostringstream out, err;
        out.setstate(std::ios::badbit);
        EXPECT_EQ(runCli({command, project, "--format", "json"}, {out, err, false}), 4) << command;
        EXPECT_NE(err.str().find("cannot write the report to standard output"), std::string::npos) << command;
    }
    if (std::filesystem::exists("/dev/full")) { // a full disk, found as the document is written
        r = run({"track-flag", project, "all", "--format", "json", "-o", "/dev/full"});
        EXPECT_EQ(r.status, 4);
        EXPECT_NE(r.err.find("could not write the report to /dev/full (No space left on device)"), std::string::npos)
            << r.err;
    }
    r = run({"unused-flags", project, "--format", "yaml"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(run({"info", project, "--format", "text"}).out, run({"info", project}).out);
    EXPECT_EQ(run({"track-flag", project, "0", "--format", "json"}).status, 2);

    PlayerSettingsRecord foreign;
    foreign.ProjectLock = 77; // another project's lock
    builder.rawDataFile[4] = encodePlayerSettings(foreign);
    builder.write(dir.path());
    for (const char* command : {"info", "unused-flags", "flag-usage"}) {
        r = run({command, project, "--format", "json"});
        EXPECT_EQ(r.status, 3) << command;
        EXPECT_EQ(r.out, "") << command;
    }
}

// A record that cannot be read (the open scene file turned into a folder, as on a damaged disk): no list
// and no summary, as in the text reports, and the reason.
TEST_F(JsonDocuments, AnUnreadableRecordLeavesNoListAndSaysWhy) {
    for (const auto write : {WriteUnusedFlagsJson, WriteFlagUsageJson}) {
        ProjectState state;
        RunState runState;
        ReportText text;
        std::ostringstream progress;
        TerminalProgress host(progress, false);
        ChooseProjectFile(state, project);
        ASSERT_TRUE(LoadProject(state, noEventLoop()).loaded());
        ReportContext ctx{state, runState, text, host};
        ctx.files.emplace(OpenDataFiles(state, host));
        const fs::path scenes = fs::canonical(dir / "resource" / "Orvanta1.dat");
        for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
            std::error_code ec;
            if (fs::read_symlink(fd.path(), ec) != scenes)
                continue;
            const int folder = ::open(scenes.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
            ASSERT_GE(::dup2(folder, std::stoi(fd.path().filename().string())), 0);
            ::close(folder);
        }
        std::ostringstream out;
        JsonStream json(out);
        write(json, ctx);
        const OrderedJson document = OrderedJson::parse(out.str());
        EXPECT_EQ(document["complete"], false) << document["command"];
        EXPECT_NE(document["error"].get<std::string>().find("Orvanta1.dat could not be read ("), std::string::npos)
            << document["error"];
        EXPECT_FALSE(document.contains("flags"));
        if (document["command"] == "unused-flags") {
            EXPECT_EQ(document["unusedFlags"], OrderedJson::array());
        }
    }
}

} // namespace
} // namespace orv::testing
