// What check gives a CI system beyond its lines: fingerprints that outlive other findings, baselines, the
// ignore file, GitHub's workflow commands and the cap on SARIF results.

#include "cli/CliProject.h"
#include "findings/IgnoreRules.h"
#include "writers/CheckOutput.h"

#include <gmock/gmock.h>

#include <set>

namespace orv::testing {
namespace {
namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// fingerprint -> "class place: message"
std::map<std::string, std::string> findingsOf(const std::vector<std::string>& args) {
    const OrderedJson document = OrderedJson::parse(runScanJson(args).out);
    std::map<std::string, std::string> found;
    for (const OrderedJson& f : document["findings"])
        found[f["fingerprint"]] = f["class"].get<std::string>() + " " + f["place"].get<std::string>() + ": " +
                                  f["message"].get<std::string>();
    return found;
}

// Scene 2 names new.bmp, which is not there, and Door.gif, so that it is no longer unused.
void addOneFindingAndFixAnother(ProjectBuilder& builder, const fs::path& folder) {
    builder.scenes[1].SceneFile[0] = "new.bmp";
    builder.scenes[1].SceneFile[1] = "Door.gif";
    builder.write(folder);
}

TEST_F(CliTest, AFingerprintStaysWhileOtherFindingsComeAndGo) {
    const auto before = findingsOf({"check", project});
    addOneFindingAndFixAnother(builder, dir.path());
    const auto after = findingsOf({"check", project});
    std::vector<std::string> gone, added;
    for (const auto& [print, what] : before)
        if (!after.contains(print))
            gone.push_back(what);
    for (const auto& [print, what] : after)
        if (!before.contains(print))
            added.push_back(what);
    // door.bmp's message may name another near miss now; its fingerprint stays
    EXPECT_EQ(gone, std::vector<std::string>{"unused-files resource/gfx: unused file 'Door.gif' (5 bytes)"});
    ASSERT_EQ(added.size(), 1u);
    EXPECT_THAT(added[0], StartsWith("missing scene 2 (Cellar), scene file 1: missing file 'new.bmp'"));
    EXPECT_EQ(before.size(), after.size());
}

TEST_F(CliTest, ABaselineLeavesOnlyTheNewFindingsToFailAndCountsTheFixedOnes) {
    const std::string baseline = (dir / "known.txt").string();
    EXPECT_EQ(runScan({"check", project, "--write-baseline", baseline}).status, 1) << "the findings still count";
    const std::string written = fileText(baseline);
    EXPECT_EQ(linesOf(written).size(), 2 + findingsOf({"check", project}).size()) << "two comment lines";
    EXPECT_THAT(written, HasSubstr(" error missing scene 1 (Kitchen), scene file 1: missing file 'door.bmp'"));

    const ScanResult known = runScan({"check", project, "--baseline", baseline});
    EXPECT_EQ(known.status, 0);
    EXPECT_THAT(known.out, StartsWith(project + ": 0 errors, 0 warnings"));

    addOneFindingAndFixAnother(builder, dir.path());
    const ScanResult r = runScan({"check", project, "--baseline", baseline});
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), 2u) << r.out;
    EXPECT_THAT(lines[0], HasSubstr(": error: scene 2 (Cellar), scene file 1: missing file 'new.bmp'"));
    EXPECT_THAT(lines[1], HasSubstr("known from the baseline; 1 fixed since the baseline"));

    fs::remove(baseline);
    EXPECT_EQ(runScan({"check", project, "--baseline", baseline}).status, 2) << "a missing baseline is an error";
}

TEST_F(CliTest, TheIgnoreFileLeavesOutWhatItNamesAndCountsIt) {
    const OrderedJson all = OrderedJson::parse(runScanJson({"check", project}).out);
    writeFileText(dir / ".orvantaignore", "# not the game's\n"
                                          "gfx/DOOR.*\n"
                                          "flags 200-240, 250\n"
                                          "\n"
                                          "unused-flags flag 1?\n");
    const OrderedJson rest = OrderedJson::parse(runScanJson({"check", project}).out);
    std::vector<OrderedJson> expected;
    std::size_t ignored = 0;
    for (const OrderedJson& f : all["findings"]) {
        const std::string place = f["place"], message = f["message"];
        const bool flagged = f["class"] == "unused-flags";
        const int flag = flagged ? std::stoi(place.substr(5)) : 0;
        const bool leftOut = (f["class"] == "unused-files" && message.find("'Door.gif'") != std::string::npos) ||
                             (flagged && ((flag >= 200 && flag <= 240) || flag == 250 || (flag >= 10 && flag <= 19)));
        ignored += leftOut;
        if (!leftOut)
            expected.push_back(f);
    }
    EXPECT_EQ(ignored, 1u + 41 + 1 + 9) << "flag 12 is in use";
    EXPECT_EQ(rest["findings"], OrderedJson(expected));
    EXPECT_EQ(rest["ignored"], ignored);
    EXPECT_THAT(runScan({"check", project}).out, HasSubstr(std::to_string(ignored) + " ignored"));

    writeFileText(dir / "other", "flags 256\n");
    const ScanResult bad = runScan({"check", project, "--ignore", (dir / "other").string()});
    EXPECT_EQ(bad.status, 2);
    EXPECT_THAT(bad.err, HasSubstr((dir / "other").string() + ": cannot read the file (line 1: flags are numbers from 1 to 255"));
    EXPECT_EQ(runScan({"check", project, "--ignore", (dir / "none").string()}).status, 2)
        << "an ignore file that was named must be there";
}

TEST(GlobMatch, PathsAndPlaces) {
    struct Case {
        std::string pattern, text;
        GlobText kind;
        bool foldCase, matches;
    };
    const Case cases[] = {
        {"gfx/**", "gfx/a/b.bmp", GlobText::Path, true, true},
        {"gfx/*.bmp", "gfx/a/b.bmp", GlobText::Path, true, false},
        {"gfx/*", "gfx/a.bmp", GlobText::Path, true, true},
        {"a/**/b", "a/b", GlobText::Path, true, true},
        {"a/**/b", "a/x/y/b", GlobText::Path, true, true},
        {"a/**/b", "a/x/y/c", GlobText::Path, true, false},
        {"?.gif", "ab.gif", GlobText::Path, true, false},
        {"??.gif", "ab.gif", GlobText::Path, true, true},
        {"?", "/", GlobText::Path, true, false},
        {"*.GIF", "x.gif", GlobText::Path, true, true},
        {"*.GIF", "x.gif", GlobText::Path, false, false},
        {"a*b*c", "abxbxc", GlobText::Plain, false, true},
        {"a*b*c", "abxbx", GlobText::Plain, false, false},
        {"*", "", GlobText::Plain, false, true},
        {"", "x", GlobText::Plain, false, false},
        {"scene 8 *", "scene 8 (Gallery), object 3", GlobText::Plain, false, true},
        {"scene 8 *", "scene 80 (Hall)", GlobText::Plain, false, false},
        {"*", "a/b", GlobText::Path, false, false},
        {"*", "a/b", GlobText::Plain, false, true},
        {std::string(40, '*') + "x", std::string(60, 'a'), GlobText::Plain, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GlobMatch(c.pattern, c.text, c.kind, c.foldCase), c.matches) << c.pattern << " / " << c.text;
}

// Properties escape %, CR, LF, ':' and ','; the message %, CR and LF; a name from disk cannot end the command.
TEST_F(CliTest, GithubCommandsEscapeWhatTheirSyntaxUses) {
    builder.gfxFiles = {{"50%,a:b.gif", "x"}, {"two\nlines.gif", ""}};
    builder.write(dir.path());
    const ScanResult r = runScan({"check", project, "--format", "github"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.out, HasSubstr("/resource/gfx/50%25%2Ca%3Ab.gif,line=1,title=unused-files::resource/gfx: unused "
                                 "file '50%25,a:b.gif' (1 byte)\n"));
    EXPECT_THAT(r.out, HasSubstr("::error file="));
    const std::vector<std::string> lines = linesOf(r.out);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        EXPECT_TRUE(lines[i].starts_with("::warning file=") || lines[i].starts_with("::error file=") ||
                    lines[i].starts_with("::notice file="))
            << lines[i];
    EXPECT_THAT(lines.back(), StartsWith(project + ": "));
}

// Above 25,000 results the largest sets of one class and file become one result each; the unused flags are
// always one result.
TEST(SarifCap, TheLargestSetsAreGatheredUntilTheResultsFit) {
    TempDir dir;
    ProjectBuilder b;
    b.scenes = {makeScene("Hall")};
    b.scenes[0].SceneFile[0] = "gone.bmp";
    b.write(dir.path());
    const std::size_t unused = MaxSarifResults + 1;
    for (std::size_t i = 0; i < unused; ++i)
        writeFileText(dir / "resource" / "gfx" / ("u" + std::to_string(i) + ".gif"), "");
    const std::string project = (dir / "game.orv").string();
    const OrderedJson sarif = OrderedJson::parse(runScan({"check", project, "--format", "sarif"}).out);
    const OrderedJson& results = sarif["runs"][0]["results"];
    std::map<std::string, std::vector<std::string>> byRule;
    for (const OrderedJson& r : results)
        byRule[r["ruleId"]].push_back(r["message"]["text"]);
    ASSERT_EQ(byRule["unused-files"].size(), 1u);
    EXPECT_THAT(byRule["unused-files"][0], StartsWith(std::to_string(unused) + " unused-files findings in this folder, "
                                                                            "gathered into one result"));
    EXPECT_EQ(std::ranges::count(byRule["unused-files"][0], '\n'), 10);
    ASSERT_EQ(byRule["unused-flags"].size(), 1u);
    EXPECT_EQ(byRule["unused-flags"][0], "255 flags that no enabled statement tests or changes: 1-255");
    EXPECT_EQ(byRule["missing"].size(), 1u) << "small sets stay as they are";
    std::set<std::string> prints;
    for (const OrderedJson& r : results)
        prints.insert(r["partialFingerprints"].begin().value().get<std::string>());
    EXPECT_EQ(prints.size(), results.size());
}

} // namespace
} // namespace orv::testing
