#include "cli/Cli.h"

#include "data/LoadProject.h"
#include "support/FileBytes.h"
#include "support/ProjectBuilder.h"
#include "support/RecordEncoders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace orv {
namespace {
namespace fs = std::filesystem;
using testing::makeScene;
using testing::ProjectBuilder;
using testing::TempDir;

const std::string Separator = "======================================================================";

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

Result run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    Result r;
    r.status = runCli(args, {out, err, false});
    r.out = out.str();
    r.err = err.str();
    return r;
}

// The date of a run is today's; tests compare it as "DATE".
std::string withoutDate(std::string text) {
    const std::string label = "\nDate scanned: ";
    if (const auto at = text.find(label); at != std::string::npos && text.size() >= at + label.size() + 10)
        text.replace(at + label.size(), 10, "DATE");
    return text;
}

// Three scenes; flag 12 is set when scene 2 loads, and the score uses flag 5.
class ReportCommands : public ::testing::Test {
protected:
    TempDir dir;
    fs::path project;

    void SetUp() override {
        ProjectBuilder b;
        b.settings.ScoreEnabled = 1;
        b.settings.ScoreFlag = 5;
        b.scenes = {makeScene("Hall"), makeScene("Cellar"), makeScene("Attic")};
        b.scenes[1].OnLoadFlagEnabled = 1;
        b.scenes[1].OnLoadFlag = 12;
        b.scenes[1].OnLoadValue = 4;
        project = b.write(dir.path());
    }

    // The header a report of the project starts with, date as "DATE".
    std::string header() const {
        ProjectState state;
        ChooseProjectFile(state, project);
        EXPECT_TRUE(LoadProject(state, noEventLoop()).loaded());
        return "*** Orvanta Project Report ***\nDate scanned: DATE\n\n" + state.PInfo;
    }

    static std::string flagReport(int flag, const std::vector<std::string>& section) {
        std::string text = "\n\n" + Separator +
                           "\n=============== FLAG TRACKER (LISTED BY FLAG NUMBER) ================"
                           "\nNOTE: The order in which flags are reported does not necessarily reflect the order in "
                           "which the flags are changed when playing the game."
                           "\nNOTE: Flags that have been specified in properties, but have their governing checkbox "
                           "UNCHECKED, are not listed in this report.\n";
        if (flag == 5)
            text += "\n(Customize Player) The score uses flag # 5\n";
        text += "\n>>>>>> FLAG # " + std::to_string(flag) + " <<<<<<";
        for (const std::string& line : section)
            text += "\n" + line;
        return text + "\n\n" + Separator;
    }
};

const std::string Flag12 = "(Scene # 2 (Cellar)) When this scene is loaded, set flag # 12 to value 4";

TEST_F(ReportCommands, TrackFlagPrintsTheReportAndOneLineFeed) {
    const Result r = run({"track-flag", project.string(), "12"});
    EXPECT_EQ(r.status, ExitOk);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(withoutDate(r.out), header() + flagReport(12, {Flag12}) + "\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(ReportCommands, FlagTextIsReadAsTheFlagPickerReadsIt) {
    const std::pair<std::string, int> cases[] = {{"12abc", 12}, {"2.5", 2}, {"3.5", 4}, {"  7", 7}, {"255", 255}};
    for (const auto& [textGiven, flag] : cases) {
        const Result r = run({"track-flag", project.string(), textGiven});
        EXPECT_EQ(r.status, ExitOk) << textGiven;
        EXPECT_EQ(withoutDate(r.out), header() + flagReport(flag, flag == 12 ? std::vector{Flag12}
                                                                          : std::vector<std::string>{}) +
                                          "\n")
            << textGiven;
    }
}

TEST_F(ReportCommands, FlagOutsideOneTo255IsAUsageError) {
    for (const std::string textGiven : {"0", "256", "99999", "abc", "-3", "0.4"}) {
        const Result r = run({"track-flag", project.string(), textGiven});
        EXPECT_EQ(r.status, ExitUsage) << textGiven;
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "Flag number must be between 1 and 255.\n") << textGiven;
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(ReportCommands, SceneFlagsForOneSceneAndForAll) {
    const std::string opening = "\n\n" + Separator +
                                "\n=============== FLAG TRACKER (LISTED BY SCENE NUMBER) ==============="
                                "\nNOTE: The order in which flags are reported does not necessarily reflect the "
                                "order in which the flags are changed when playing the game."
                                "\nNOTE: Flags that have been specified in properties, but have their governing "
                                "checkbox UNCHECKED, are not listed in this report."
                                "\n(Customize Player) The score uses flag # 5\n";
    Result r = run({"scene-flags", project.string(), "2"});
    EXPECT_EQ(r.status, ExitOk);
    EXPECT_EQ(withoutDate(r.out),
              header() + opening + "\n\n>>>>>> SCENE # 2 (Cellar) <<<<<<\n" + Flag12 + "\n\n" + Separator + "\n");

    r = run({"scene-flags", project.string(), "all"});
    EXPECT_EQ(r.status, ExitOk);
    EXPECT_EQ(withoutDate(r.out), header() + opening + "\n\n>>>>>> SCENE # 1 (Hall) <<<<<<" +
                                      "\n\n>>>>>> SCENE # 2 (Cellar) <<<<<<\n" + Flag12 +
                                      "\n\n>>>>>> SCENE # 3 (Attic) <<<<<<" + "\n\n" + Separator + "\n");
}

TEST_F(ReportCommands, SceneOutsideTheProjectIsAUsageError) {
    for (const std::string command : {"scene-flags", "scene-properties"}) {
        for (const std::string scene : {"0", "4", "junk", "2x", "99999999"}) {
            const Result r = run({command, project.string(), scene});
            EXPECT_EQ(r.status, ExitUsage) << command << " " << scene;
            EXPECT_EQ(r.err, "Please choose a scene.\n") << command << " " << scene;
            EXPECT_EQ(r.out, "");
        }
    }
}

TEST_F(ReportCommands, UnusedFlagsAndSceneProperties) {
    Result r = run({"unused-flags", project.string()});
    EXPECT_EQ(r.status, ExitOk);
    std::string list;
    for (int n = 1; n <= 255; ++n)
        if (n != 5 && n != 12)
            list += std::to_string(n) + "  ";
    EXPECT_EQ(withoutDate(r.out),
              header() + "\n\n" + Separator + "\n======================= FLAGS THAT ARE UNUSED =======================" +
                  "\nNOTE: Flags that have been specified in properties, but always have their governing checkbox "
                  "UNCHECKED, are listed as UNUSED in this report.\n\nTotal unused flags found: 253\n\nThe "
                  "following flags do not appear to be in use in this project:\n" +
                  list + "\n" + Separator + "\n");

    r = run({"scene-properties", project.string(), "all"});
    EXPECT_EQ(r.status, ExitOk);
    EXPECT_EQ(withoutDate(r.out), header() + "\n\n" + Separator +
                                      "\n==================== SCENES / OBJECTS PROPERTIES ====================\n(NOT "
                                      "YET AVAILABLE)\n" +
                                      Separator + "\n");
    EXPECT_EQ(run({"scene-properties", project.string(), "1"}).out, r.out);
}

TEST_F(ReportCommands, OutputFileHoldsExactlyWhatStandardOutputWouldShow) {
    const Result shown = run({"track-flag", project.string(), "12"});
    const fs::path file = dir / "flags.txt";
    const Result written = run({"track-flag", project.string(), "12", "-o", file.string()});
    EXPECT_EQ(written.status, ExitOk);
    EXPECT_EQ(written.out, "");
    const auto bytes = testing::readFileBytes(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), shown.out);

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"unused-flags", project.string()},
          std::vector<std::string>{"scene-flags", project.string(), "all"},
          std::vector<std::string>{"scene-properties", project.string(), "2"}}) {
        const Result toOut = run(args);
        std::vector<std::string> withFile = args;
        withFile.insert(withFile.end(), {"--output", file.string()});
        EXPECT_EQ(run(withFile).status, ExitOk);
        const auto again = testing::readFileBytes(file);
        EXPECT_EQ(std::string(again.begin(), again.end()), toOut.out) << args[0];
    }
}

TEST_F(ReportCommands, AProjectThatDoesNotLoadExitsWithThree) {
    ProjectBuilder b;
    b.scenes = {makeScene("Hall")};
    PlayerSettingsRecord foreign;
    foreign.ProjectLock = 77; // carries another project's lock
    b.rawDataFile[4] = testing::encodePlayerSettings(foreign);
    TempDir other;
    const fs::path broken = b.write(other.path());
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"unused-flags", broken.string()},
          std::vector<std::string>{"track-flag", broken.string(), "1"},
          std::vector<std::string>{"scene-flags", broken.string(), "all"},
          std::vector<std::string>{"scene-properties", broken.string(), "all"}}) {
        const Result r = run(args);
        EXPECT_EQ(r.status, ExitProjectFailed) << args[0];
        EXPECT_EQ(r.status, 3);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
    }
}

} // namespace
} // namespace orv
