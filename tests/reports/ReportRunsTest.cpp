#include "reports/ReportFixture.h"
#include "reports/RunReport.h"

#include <set>

namespace orv::testing {
namespace {

const std::string Separator(70, '=');
const std::string UnusedBanner = "\n======================= FLAGS THAT ARE UNUSED =======================";

using RunReportTest = ReportFixture;

TEST_F(RunReportTest, HeaderKindsAndTheRunState) {
    builder.scenes = {makeScene("Shore")};
    load();
    for (Integer kind : {Integer{-1}, Integer{7}, Integer{999}}) { // the header only
        state.ReportName = "unchanged";
        state.FilesReportRan = true;
        EXPECT_EQ(runReport(kind),
                  "*** Orvanta Project Report ***\nDate scanned: 07-04-2026\n\n" + project.PInfo);
        EXPECT_EQ(state.ReportName, "unchanged");
        EXPECT_FALSE(state.FilesReportRan);
        EXPECT_FALSE(ctx.files.has_value());
    }
    EXPECT_EQ(host.busy, (std::vector<bool>{true, false, true, false, true, false}));
    const std::string three = runReport(ScenePropertiesKind);
    EXPECT_EQ(three, header() + expectedText("scene-properties.txt"));
    EXPECT_EQ(state.ReportName, "Scene Properties Report");
    EXPECT_EQ(runReport(ScenePropertiesHiddenKind), three);
}

using UnusedFlagsReportTest = ReportFixture;

// The report body when the flags in `used` are used and no others.
std::string unusedBody(const std::set<int>& used) {
    std::string list;
    for (int n = 1; n <= 255; ++n)
        if (!used.contains(n)) list += std::to_string(n) + "  ";
    return "\n\n" + Separator + UnusedBanner +
           "\nNOTE: Flags that have been specified in properties, but always have their governing checkbox "
           "UNCHECKED, are listed as UNUSED in this report.\n\nTotal unused flags found: " +
           std::to_string(255 - used.size()) +
           "\n\nThe following flags do not appear to be in use in this project:\n" + list + "\n" + Separator;
}

TEST_F(UnusedFlagsReportTest, EveryFlagUsedGivesCountZeroAndAnEmptyList) {
    builder.settings.ScoreEnabled = 1;
    builder.settings.ScoreFlag = 255;
    builder.cueCards.resize(51); // five choices each, naming 1 to 254
    std::set<int> all{255};
    for (int i = 0; i < 254; ++i) {
        builder.cueCards[i / 5].ChoiceSetsFlag[i % 5] = 1;
        builder.cueCards[i / 5].ChoiceFlag[i % 5] = static_cast<Integer>(i + 1);
        all.insert(i + 1);
    }
    load();
    EXPECT_EQ(runReport(UnusedFlagsKind), header() + unusedBody(all));
}

TEST_F(UnusedFlagsReportTest, OnlyEnabledStatementsCount) {
    buildTrackerProject(builder);
    load();
    const std::string problem =
        "\n*** PROBLEM - This project uses an Object Type that is unknown to this Project "
        "Scanner.  Object Type =";
    EXPECT_EQ(runReport(UnusedFlagsKind),
              header() + problem + "-2 ***" + problem + " 10 ***" + unusedBody({12, 20, 40}));
    EXPECT_EQ(host.progressMaximum(), 4 + 5 + 1 + 3 + 2) << "locations only step the bar";
    EXPECT_EQ(host.progressValue(), host.progressMaximum());
}

TEST_F(UnusedFlagsReportTest, AnUnreadableFileStopsTheScanAndSaysWhichFile) {
    builder.settings.ScoreEnabled = 2; // only 1 means the score uses its flag
    builder.settings.ScoreFlag = 4;
    builder.cueCards.resize(4);
    load();
    host.breakFile = dir / "resource" / "Orvanta5.dat";
    EXPECT_EQ(runReport(UnusedFlagsKind),
              header() + "\n\n" + Separator + UnusedBanner + "\n*** The scan stopped: the file " +
                  host.breakFile.string() +
                  " could not be read (Is a directory). No "
                  "list of unused flags was made. ***\n" +
                  Separator);
    EXPECT_TRUE(host.broken);
    host.breakFile.clear(); // the next run reads the project afresh and lists every flag
    state.UnusedFlags = {"junk"};
    EXPECT_EQ(runReport(UnusedFlagsKind), header() + unusedBody({}));
    EXPECT_EQ(state.ReportName, "Unused Flags Report");
    EXPECT_EQ(host.progressMaximum(), 5 + 4);
}

} // namespace
} // namespace orv::testing
