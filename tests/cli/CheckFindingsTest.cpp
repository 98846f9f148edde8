#include "cli/CheckFindings.h"

#include "cli/JsonOutput.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace orv::testing {
namespace {

const std::vector<Finding> Findings = {
    {FindingClass::Missing, "scene 12 (Kitchen), object 3 (HotSpot)",
     "missing file 'door.bmp' (did you mean 'Door.gif'?)", "game.orv"},
    {FindingClass::UnusedFiles, "resource/gfx", "unused file 'old map.bmp' (1,024 bytes)", "resource/gfx/old map.bmp"},
    {FindingClass::DeadEnds, "scene 2 (Hall), object 1 (HotSpot)",
     "flag 12 is tested but never changed: 'Visible when flag # 12 = 1' never holds", "game.orv"},
};

TEST(CheckFindings, OneCompilerStyleLinePerFindingThenASummary) {
    std::ostringstream out;
    WriteCheckText(out, "game.orv", Findings, FailOn::parse("missing"));
    EXPECT_EQ(out.str(),
              "game.orv: error: scene 12 (Kitchen), object 3 (HotSpot): missing file 'door.bmp' (did you mean "
              "'Door.gif'?) [missing]\n"
              "game.orv: warning: resource/gfx: unused file 'old map.bmp' (1,024 bytes) [unused-files]\n"
              "game.orv: warning: scene 2 (Hall), object 1 (HotSpot): flag 12 is tested but never changed: "
              "'Visible when flag # 12 = 1' never holds [dead-ends]\n"
              "game.orv: 1 error, 2 warnings (missing 1, unused-files 1, unused-flags 0, dead-ends 1, "
              "out-of-range 0)\n");
}

TEST(CheckFindings, FailsOnlyOnTheNamedClasses) {
    EXPECT_TRUE(CheckFailed(Findings, FailOn::parse("missing")));
    EXPECT_TRUE(CheckFailed(Findings, FailOn::parse("unused-flags,dead-ends")));
    EXPECT_FALSE(CheckFailed(Findings, FailOn::parse("unused-flags,out-of-range")));
    EXPECT_FALSE(CheckFailed(Findings, FailOn::parse("")));
    EXPECT_FALSE(CheckFailed({}, FailOn::parse("missing,unused-files,unused-flags,dead-ends,out-of-range")));
    EXPECT_THROW(FailOn::parse("missing,typo"), std::invalid_argument);
}

TEST(CheckFindings, JsonAndSarifCarryEveryFindingWithItsLevel) {
    const FailOn failOn = FailOn::parse("dead-ends");
    std::ostringstream json, sarif;
    WriteCheckJson(json, "game.orv", Findings, failOn);
    WriteCheckSarif(sarif, "game.orv", Findings, failOn);

    const OrderedJson j = OrderedJson::parse(json.str());
    ASSERT_EQ(j["findings"].size(), 3u);
    EXPECT_EQ(j["findings"][0]["level"], "warning");
    EXPECT_EQ(j["findings"][2]["level"], "error");
    EXPECT_EQ(j["counts"]["dead-ends"], 1);
    EXPECT_EQ(j["failed"], true);

    const OrderedJson s = OrderedJson::parse(sarif.str());
    EXPECT_EQ(s["version"], "2.1.0");
    const OrderedJson& run = s["runs"][0];
    ASSERT_EQ(run["tool"]["driver"]["rules"].size(), 5u);
    ASSERT_EQ(run["results"].size(), 3u);
    const OrderedJson& unused = run["results"][1];
    EXPECT_EQ(unused["ruleId"], "unused-files");
    EXPECT_EQ(run["tool"]["driver"]["rules"][unused["ruleIndex"].get<int>()]["id"], "unused-files");
    EXPECT_EQ(unused["locations"][0]["physicalLocation"]["artifactLocation"]["uri"], "resource/gfx/old%20map.bmp");
    EXPECT_EQ(run["results"][2]["level"], "error");
    EXPECT_EQ(run["results"][0]["locations"][0]["logicalLocations"][0]["fullyQualifiedName"],
              "scene 12 (Kitchen), object 3 (HotSpot)");
}

} // namespace
} // namespace orv::testing
