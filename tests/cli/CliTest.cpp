#include "cli/Cli.h"

#include "support/FileBytes.h"
#include "support/ProjectBuilder.h"
#include "support/RecordEncoders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <sys/wait.h>

// The reports themselves are checked in tests/reports and tests/audit; here is what the command line
// adds: arguments, exit statuses, where the text goes.

namespace orv::testing {
namespace {
using Args = std::vector<std::string>;

struct Result {
    int status;
    std::string out, err;
};

// Three scenes: scene 2 sets flag 12 when it loads, the score uses flag 5, scene 1 names the absent
// gone.bmp.
class Cli : public ::testing::Test {
  protected:
    TempDir dir;
    ProjectBuilder builder;
    std::string project;

    void SetUp() override {
        builder.settings.ScoreEnabled = 1;
        builder.settings.ScoreFlag = 5;
        builder.scenes = {makeScene("Hall"), makeScene("Cellar"), makeScene("Attic")};
        builder.scenes[0].SceneFile[0] = "gone.bmp";
        builder.scenes[1].OnLoadFlagEnabled = 1;
        builder.scenes[1].OnLoadFlag = 12;
        builder.scenes[1].OnLoadValue = 4;
        project = builder.write(dir.path()).string();
    }
    std::vector<Args> everyCommand() const {
        return {Args{"track-flag", project, "12"}, Args{"unused-flags", project},
                Args{"scene-flags", project, "all"}, Args{"scene-properties", project, "2"},
                Args{"files", project}, Args{"flag-usage", project}};
    }
    static Result run(const Args& args) {
        std::ostringstream out, err;
        const int status = runCli(args, {out, err, false});
        return {status, out.str(), err.str()};
    }
};

const std::string Flag12 = "\n(Scene # 2 (Cellar)) When this scene is loaded, set flag # 12 to value 4\n";
const std::string End = "\n======================================================================\n";
const auto npos = std::string::npos;

TEST_F(Cli, TrackFlagReadsTheFlagAsTheFlagPickerDoes) {
    Result r = run({"track-flag", project, "12"});
    EXPECT_TRUE(std::regex_search(r.out, std::regex(R"(^\*\*\* Orvanta Project Report \*\*\*\nDate scanned: )"
                                                    R"(\d\d-\d\d-\d{4}\n\n)")));
    EXPECT_TRUE(r.out.ends_with("\n>>>>>> FLAG # 12 <<<<<<" + Flag12 + End)) << "and one line feed";
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const auto& [given, flag] :
         {std::pair{"12abc", 12}, {"2.5", 2}, {"3.5", 4}, {"  7", 7}, {"all", 255}}) {
        r = run({"track-flag", project, given});
        EXPECT_EQ(r.status, 0) << given;
        EXPECT_NE(r.out.find("\n>>>>>> FLAG # " + std::to_string(flag) + " <<<<<<\n"), npos) << given;
    }
    for (const char* given : {"0", "256", "99999", "abc", "-3", "0.4"}) {
        r = run({"track-flag", project, given});
        EXPECT_EQ(r.status, 2) << given;
        EXPECT_EQ(r.out + r.err, "Flag number must be between 1 and 255.\n") << given;
    }
}

TEST_F(Cli, ScenesAreChosenByNumberOrAll) {
    Result r = run({"scene-flags", project, "2"});
    EXPECT_NE(r.out.find("\n>>>>>> SCENE # 2 (Cellar) <<<<<<" + Flag12), npos);
    EXPECT_EQ(r.out.find(">>>>>> SCENE # 1"), npos);
    EXPECT_NE(run({"scene-flags", project, "all"}).out.find("\n>>>>>> SCENE # 3 (Attic) <<<<<<\n" + End),
              npos);
    EXPECT_EQ(run({"scene-properties", project, "1"}).out, run({"scene-properties", project, "all"}).out);
    for (const char* command : {"scene-flags", "scene-properties"})
        for (const char* scene : {"0", "4", "junk", "2x", "99999999"}) {
            r = run({command, project, scene});
            EXPECT_EQ(r.status, 2) << command << " " << scene;
            EXPECT_EQ(r.out + r.err, "Please choose a scene.\n") << command << " " << scene;
        }
}

TEST_F(Cli, FlagUsagePrintsTheSummary) {
    const Result r = run({"flag-usage", project});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("\n======================== FLAG USAGE SUMMARY =========================\n"), npos);
    EXPECT_NE(r.out.find("\nFlags in use: 2\nFree flags: 253\n"), npos) << r.out;
    EXPECT_NE(r.out.find("\n\nChanged but never tested\n\nFlag # 12: changed 1 time, never tested" + Flag12.substr(0, 1) +
                         "  " + Flag12.substr(1)),
              npos)
        << r.out;
    EXPECT_NE(r.out.find("\n   5        0        0  used, not tested or changed (score)\n"), npos);
    EXPECT_TRUE(r.out.ends_with(End));
    EXPECT_EQ(run({"flag-usage", project, "12"}).status, 2) << "it takes no flag";
}

TEST_F(Cli, OutputFileHoldsWhatStandardOutputWouldShow) {
    EXPECT_NE(run({"unused-flags", project}).out.find("\nTotal unused flags found: 253\n"), npos);
    const std::string file = (dir / "report.txt").string();
    for (const Args& args : everyCommand()) {
        Args toFile = args;
        toFile.insert(toFile.end(), {args[0] == "files" ? "--output" : "-o", file});
        const Result written = run(toFile);
        EXPECT_EQ(written.status, 0) << args[0];
        EXPECT_EQ(written.out, "");
        const auto bytes = readFileBytes(file);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), run(args).out) << args[0];
    }
}

TEST_F(Cli, AnOutputFileThatCannotBeWrittenExitsWithFour) {
    for (const char* name : {"no-such-folder/report.txt", "no-such-folder/report.rtf"}) {
        const Result r = run({"unused-flags", project, "-o", (dir / name).string()});
        EXPECT_EQ(r.status, 4) << name;
        EXPECT_NE(r.err.find("could not write the report to " + (dir / name).string() + " (No such file or directory)"), npos) << name;
    }
}

TEST_F(Cli, FilesFailsOnMissingFilesOnlyWhenAsked) {
    Result r = run({"files", project});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\nMISSING FILES FROM GFX FOLDER (1) *:\ngone.bmp\n"), npos);
    EXPECT_EQ(run({"files", project, "--fail-on-missing"}).out, r.out);
    EXPECT_EQ(run({"files", project, "--fail-on-missing"}).status, 1);
    builder.gfxFiles["gone.bmp"] = "x";
    EXPECT_EQ(run({"files", "--fail-on-missing", builder.write(dir.path()).string()}).status, 0);
}

TEST_F(Cli, AProjectThatDoesNotLoadExitsWithThree) {
    PlayerSettingsRecord foreign;
    foreign.ProjectLock = 77; // another project's lock
    builder.rawDataFile[4] = encodePlayerSettings(foreign);
    builder.write(dir.path());
    for (const Args& args : everyCommand()) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 3) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
    }
}

TEST_F(Cli, TheProgramRunsEndToEnd) {
    const auto scan = [&](const std::string& arguments) { // the exit status of the built program
        const int status =
            std::system(("'" ORVANTA_SCAN_BINARY "' " + arguments + " >/dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(scan("track-flag '" + project + "' 12 -o '" + (dir / "report.txt").string() + "'"), 0);
    const auto bytes = readFileBytes(dir / "report.txt");
    EXPECT_NE(std::string(bytes.begin(), bytes.end()).find(Flag12), npos);
    EXPECT_EQ(scan("files '" + project + "' --fail-on-missing"), 1);
    EXPECT_EQ(scan("scene-flags '" + project + "' 4"), 2);
}

} // namespace
} // namespace orv::testing
