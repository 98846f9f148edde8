#include "cli/Cli.h"
#include "cli/JsonOutput.h"

#include "support/ProjectBuilder.h"
#include "support/RecordEncoders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

// orvanta-scan check and files --format json on one small project with a
// finding of every class.

namespace orv::testing {
namespace {
using Args = std::vector<std::string>;

struct Result {
    int status;
    std::string out, err;
};

Result run(const Args& args) {
    std::ostringstream out, err;
    const int status = runCli(args, {out, err, false});
    return {status, out.str(), err.str()};
}

// Scene 1 (Kitchen) names door.bmp, which is not there (Door.gif is, and is
// unused), and its empty slot 5 names gone.wav; its HotSpot in slot 3 is
// visible when flag 12 = 1, which nothing sets; loading it sets flag 300.
class CheckCommand : public ::testing::Test {
  protected:
    TempDir dir;
    std::string project;

    void SetUp() override {
        ProjectBuilder builder;
        SceneRecord kitchen = makeScene("Kitchen");
        kitchen.SceneFile[0] = "door.bmp";
        kitchen.Slots[4].ObjectText[0] = "gone.wav";
        ObjectSlot& hotspot = kitchen.Slots[2];
        hotspot.ObjectType = 1;
        const auto at = [](std::size_t offset) { return (offset - 141) / 2; };
        hotspot.Settings[at(167)] = 2; // visible only while ...
        hotspot.Settings[at(169)] = 12; // ... flag 12
        hotspot.Settings[at(171)] = 0; // =
        hotspot.Settings[at(173)] = 1; // 1
        kitchen.OnLoadFlagEnabled = 1;
        kitchen.OnLoadFlag = 300;
        kitchen.OnLoadValue = 1;
        builder.scenes = {kitchen};
        builder.gfxFiles = {{"Door.gif", "12345"}};
        project = builder.write(dir.path()).string();
    }
    std::string line(std::string_view rest) const { return project + ": " + std::string(rest); }
};

TEST_F(CheckCommand, OneLinePerFindingWithItsPlaceAndWhatWasProbablyMeant) {
    const Result r = run({"check", project});
    EXPECT_EQ(r.status, ExitMissingFiles);
    const std::string& out = r.out;
    for (const std::string& expected : {
             line("error: scene 1 (Kitchen), scene file 1: missing file 'door.bmp' (did you mean 'Door.gif'?) "
                  "[missing]\n"),
             line("error: scene 1 (Kitchen), slot 5 (empty): missing file 'gone.wav' [missing]\n"),
             line("warning: resource/gfx: unused file 'Door.gif' (5 bytes) [unused-files]\n"),
             line("warning: flag 1: no enabled statement tests or changes it [unused-flags]\n"),
             line("warning: scene 1 (Kitchen), object 3 (HotSpot): flag 12 is tested but never changed, so "
                  "'(Scene # 1 (Kitchen) - HotSpot Object # 3) Visible when flag # 12 = 1' never holds [dead-ends]\n"),
             line("warning: scene 1 (Kitchen), change on load: flag number outside 1 to 255: '(Scene # 1 (Kitchen)) "
                  "When this scene is loaded, set flag # 300 to value 1' [out-of-range]\n"),
             line("2 errors, 257 warnings (missing 2, unused-files 1, unused-flags 254, dead-ends 1, out-of-range 1)\n"),
         })
        EXPECT_NE(out.find(expected), std::string::npos) << expected << "\nin:\n" << out;
    EXPECT_EQ(out.find("flag 12: no enabled"), std::string::npos) << "a tested flag is in use";
}

TEST_F(CheckCommand, ExitsOneExactlyWhenAFindingOfAFailOnClassWasMade) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"missing", ExitMissingFiles},     {"unused-files", ExitMissingFiles}, {"unused-flags", ExitMissingFiles},
        {"dead-ends", ExitMissingFiles},   {"out-of-range", ExitMissingFiles}, {"", ExitOk},
        {"bogus", ExitUsage},              {"missing,bogus", ExitUsage},
    };
    for (const auto& [classes, status] : cases)
        EXPECT_EQ(run({"check", "--fail-on", classes, project}).status, status) << classes;

    // A project with nothing wrong but its unused flags passes by default.
    TempDir clean;
    ProjectBuilder builder;
    builder.scenes = {makeScene("Hall")};
    const std::string cleanProject = builder.write(clean.path()).string();
    EXPECT_EQ(run({"check", cleanProject}).status, ExitOk);
    EXPECT_EQ(run({"check", "--fail-on", "unused-flags", cleanProject}).status, ExitMissingFiles);
    EXPECT_EQ(run({"check", (clean / "absent.orv").string()}).status, ExitUsage);
}

TEST_F(CheckCommand, JsonAndSarifCarryTheSameFindings) {
    const Result json = run({"check", "--format", "json", project});
    const Result sarif = run({"check", "--format", "sarif", "--fail-on", "dead-ends", project});
    EXPECT_EQ(json.status, ExitMissingFiles);
    EXPECT_EQ(sarif.status, ExitMissingFiles);
    const OrderedJson j = OrderedJson::parse(json.out);
    const OrderedJson s = OrderedJson::parse(sarif.out);
    ASSERT_EQ(j["findings"].size(), 259u);
    ASSERT_EQ(s["runs"][0]["results"].size(), 259u);
    EXPECT_EQ(j["findings"][0]["file"], "resource/Orvanta1.dat");
    EXPECT_EQ(s["runs"][0]["results"][0]["level"], "warning");
    for (const auto& result : s["runs"][0]["results"])
        if (result["ruleId"] == "dead-ends") {
            EXPECT_EQ(result["level"], "error");
        }
}

TEST_F(CheckCommand, FilesJsonNamesEveryPlaceOfAMissingFileAndItsNearMisses) {
    const Result r = run({"files", "--format", "json", project});
    ASSERT_EQ(r.status, ExitOk) << r.err;
    const OrderedJson j = OrderedJson::parse(r.out);
    const OrderedJson& gfx = j["folders"][0];
    ASSERT_EQ(gfx["missing"].size(), 1u);
    EXPECT_EQ(gfx["missing"][0]["name"], "door.bmp");
    EXPECT_EQ(gfx["missing"][0]["references"][0].dump(),
              R"({"kind":"scene","scene":1,"sceneName":"Kitchen","field":"SceneFile1"})");
    EXPECT_EQ(gfx["missing"][0]["suggestions"][0]["name"], "Door.gif");
    EXPECT_EQ(gfx["unused"][0].dump(), R"({"name":"Door.gif","size":5})");
    const OrderedJson& mmedia = j["folders"][1];
    EXPECT_EQ(mmedia["missing"][0]["references"][0]["kind"], "object");
    EXPECT_EQ(mmedia["missing"][0]["references"][0]["objectType"], -1);
    EXPECT_EQ(j["totals"].dump(), R"({"missing":2,"unused":1,"unusedBytes":5})");
}

} // namespace
} // namespace orv::testing
