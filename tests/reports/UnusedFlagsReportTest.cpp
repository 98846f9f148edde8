#include "reports/UnusedFlagsReport.h"

#include "reports/ReportFixture.h"
#include "reports/RunReport.h"
#include "reports/UnreadableFile.h"
#include "support/RecordEncoders.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace orv::testing {
namespace {

const std::string Note = "NOTE: Flags that have been specified in properties, but always have their governing "
                         "checkbox UNCHECKED, are listed as UNUSED in this report.";

// The report body for the flags left unused: every flag 1..255 not in `used`.
std::string unusedBody(const std::set<int>& used) {
    std::string list;
    for (int n = 1; n <= 255; ++n)
        if (!used.contains(n))
            list += std::to_string(n) + "  ";
    const std::string count = std::to_string(255 - used.size());
    return lines({"", Separator, UnusedBanner, Note, "", "Total unused flags found: " + count, "",
                  "The following flags do not appear to be in use in this project:", list, Separator});
}

class UnusedFlagsReportTest : public ReportFixture {};

TEST_F(UnusedFlagsReportTest, AnEmptyProjectListsAll255) {
    builder.settings.ScoreFlag = 4; // ScoreEnabled 0: not used
    load();
    EXPECT_EQ(runReport(UnusedFlagsKind), header() + unusedBody({}));
    EXPECT_EQ(state.ReportName, "Unused Flags Report");
    EXPECT_EQ(state.UnusedFlags.size(), 255u);
    EXPECT_EQ(host.maximaSet.back(), 5);
}

TEST_F(UnusedFlagsReportTest, EveryFlagUsedGivesCountZeroAndAnEmptyList) {
    // 51 cue cards of five choices each name every flag once.
    for (int card = 0; card < 51; ++card) {
        CueCardRecord r;
        for (int c = 0; c < 5; ++c) {
            r.ChoiceSetsFlag[static_cast<std::size_t>(c)] = 1;
            r.ChoiceFlag[static_cast<std::size_t>(c)] = static_cast<Integer>(card * 5 + c + 1);
        }
        builder.cueCards.push_back(r);
    }
    load();
    std::set<int> all;
    for (int n = 1; n <= 255; ++n)
        all.insert(n);
    const std::string report = runReport(UnusedFlagsKind);
    EXPECT_EQ(report, header() + unusedBody(all));
    EXPECT_TRUE(report.ends_with("Total unused flags found: 0\n\nThe following flags do not appear to be in use in "
                                 "this project:\n\n" +
                                 std::string(Separator)));
}

TEST_F(UnusedFlagsReportTest, OnlyEnabledStatementsCount) {
    builder.settings.ScoreEnabled = 1;
    builder.settings.ScoreFlag = 200;

    SceneRecord first = makeScene("First");
    first.CondLoadEnabled = 0;
    first.CondLoadFlag = 10;
    first.OnLoadFlagEnabled = 1;
    first.OnLoadFlag = 11;
    first.Slots[0].ObjectType = 3;
    setSetting(first.Slots[0], 141, 12);
    first.Slots[1].ObjectType = 10;

    SceneRecord second = makeScene("Second");
    second.CondLoadEnabled = 1;
    second.CondLoadFlag = 13;
    second.OnLoadFlagEnabled = 2;
    second.OnLoadFlag = 14;
    second.Slots[19].ObjectType = 9;
    second.Slots[19].ObjectText[0] = "15";
    setSetting(second.Slots[19], 145, 16); // condition A switched off
    builder.scenes = {first, second};

    CueCardRecord card;
    card.ChoiceSetsFlag = {1, 0, 0, 0, 0};
    card.ChoiceFlag = {17, 18, 0, 0, 0};
    builder.cueCards = {card};
    builder.items = {{{}, 1, 19, 1, 0, 0}, {{}, 1, 300, 1, 0, 0}};
    // Locations name no flags; they only count toward the progress bar.
    builder.locations = {{"a.bmp", "", "", 0}, {"b.bmp", "", "", 0}};
    load();

    const std::string problem = "\n*** PROBLEM - This project uses an Object Type that is unknown to this Project "
                                "Scanner.  Object Type = 10 ***";
    EXPECT_EQ(runReport(UnusedFlagsKind), header() + problem + unusedBody({11, 12, 13, 15, 17, 19, 200}));
    EXPECT_EQ(host.maximaSet.back(), 2 + 5 + 1 + 2 + 2);
    EXPECT_EQ(host.progressValue(), host.progressMaximum());
}

TEST_F(UnusedFlagsReportTest, ScoreFlagCountsOnlyWhenTheScoreUsesAFlag) {
    builder.settings.ScoreEnabled = 2;
    builder.settings.ScoreFlag = 9;
    load();
    EXPECT_EQ(runReport(UnusedFlagsKind), header() + unusedBody({}));
    builder.settings.ScoreEnabled = 1;
    load();
    EXPECT_EQ(runReport(UnusedFlagsKind), header() + unusedBody({9}));
}

TEST_F(UnusedFlagsReportTest, ASecondRunStartsAgainFromAll255) {
    builder.items = {{{}, 1, 5, 1, 0, 0}};
    load();
    const std::string first = runReport(UnusedFlagsKind);
    EXPECT_EQ(runReport(UnusedFlagsKind), first);
    EXPECT_EQ(state.UnusedFlags.size(), 254u);
    EXPECT_EQ(state.UnusedFlags[3], "4");
    EXPECT_EQ(state.UnusedFlags[4], "6");
}

TEST_F(UnusedFlagsReportTest, AnUnreadableFileStopsTheScanAndSaysWhichFile) {
    builder.scenes = {makeScene("Only")};
    // Larger than the stream's buffer, which holds the file's last block
    // after opening; record 1 then has to come from the disk.
    builder.cueCards.resize(4);
    load();
    bool broken = false;
    host.onYield = [&] {
        if (!broken)
            broken = makeOpenFileUnreadable(dir / "resource" / "Orvanta5.dat");
    };
    const std::string report = runReport(UnusedFlagsKind);
    ASSERT_TRUE(broken);
    const std::string file = (dir / "resource" / "Orvanta5.dat").string();
    EXPECT_EQ(report, header() + lines({"", Separator, UnusedBanner,
                                        "*** The scan stopped: the file " + file +
                                            " could not be read (cannot read the file (Is a directory)). No list "
                                            "of unused flags was made. ***",
                                        Separator}));

    // The program stays usable: the next run reads the project afresh.
    host.onYield = nullptr;
    EXPECT_EQ(runReport(UnusedFlagsKind), header() + unusedBody({}));
}

} // namespace
} // namespace orv::testing
