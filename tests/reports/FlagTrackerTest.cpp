#include "reports/FlagTracker.h"

#include "reports/ReportFixture.h"
#include "reports/RunReport.h"
#include "reports/TextConventions.h"
#include "reports/UnreadableFile.h"
#include "support/RecordEncoders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv::testing {
namespace {

using Lines = std::vector<std::string>;

std::string joined(const Lines& rows) {
    std::string out;
    for (const std::string& row : rows)
        out += "\n" + row;
    return out;
}

void append(Lines& to, const Lines& more) { to.insert(to.end(), more.begin(), more.end()); }

const std::string ProblemMinus2 = "*** PROBLEM - This project uses an Object Type that is unknown to this Project "
                                  "Scanner.  Object Type =-2 ***";
const std::string Problem10 = "*** PROBLEM - This project uses an Object Type that is unknown to this Project "
                              "Scanner.  Object Type = 10 ***";

// Four scenes, one cue card, two items and a score kept in flag 12:
//  1 Hall:   conditional load on flag 12 to scene 2, on-load add to flag 12,
//            an Ambient object in slot 3 about flag 12;
//  2 Cellar: conditional load on flag 12 with no scene, on-load switched off
//            (2), a HotSpot in slot 1 visible on flag 12 with the unknown
//            operator 7, setting flag 20 when clicked;
//  3 Attic:  conditional load on flag 20 to scene 9 (no such scene), on-load
//            set of flag 20, unknown object types -2 (slot 5) and 10 (slot 20);
//  4 Roof:   both header statements switched off (0), no objects.
class FlagTrackerTest : public ReportFixture {
protected:
    void buildTrackerProject() {
        builder.settings.ScoreEnabled = 1;
        builder.settings.ScoreFlag = 12;

        SceneRecord hall = makeScene("Hall");
        hall.CondLoadEnabled = 1;
        hall.CondLoadFlag = 12;
        hall.CondLoadOperator = 0;
        hall.CondLoadValue = 1;
        hall.CondLoadScene = 2;
        hall.OnLoadFlagEnabled = 1;
        hall.OnLoadFlag = 12;
        hall.OnLoadValue = 5;
        hall.OnLoadAdds = 2;
        ObjectSlot& ambient = hall.Slots[2];
        ambient.ObjectType = 0;
        for (auto [offset, value] : {std::pair{149, 2}, {151, 12}, {153, 1}, {155, 0}, {157, 1}, {159, 12},
                                     {161, 5}, {163, 1}})
            setSetting(ambient, static_cast<std::size_t>(offset), static_cast<Integer>(value));

        SceneRecord cellar = makeScene("Cellar");
        cellar.CondLoadEnabled = 1;
        cellar.CondLoadFlag = 12;
        cellar.CondLoadOperator = 3;
        cellar.CondLoadValue = 4;
        cellar.CondLoadScene = 0;
        cellar.OnLoadFlagEnabled = 2;
        cellar.OnLoadFlag = 12;
        cellar.OnLoadValue = 1;
        ObjectSlot& hotspot = cellar.Slots[0];
        hotspot.ObjectType = 1;
        for (auto [offset, value] : {std::pair{167, 2}, {169, 12}, {171, 7}, {173, 9}, {175, 1}, {177, 20},
                                     {179, 3}, {181, 0}})
            setSetting(hotspot, static_cast<std::size_t>(offset), static_cast<Integer>(value));

        SceneRecord attic = makeScene("Attic");
        attic.CondLoadEnabled = 1;
        attic.CondLoadFlag = 20;
        attic.CondLoadOperator = 2;
        attic.CondLoadValue = -1;
        attic.CondLoadScene = 9;
        attic.OnLoadFlagEnabled = 1;
        attic.OnLoadFlag = 20;
        attic.OnLoadValue = 3;
        attic.OnLoadAdds = 0;
        attic.Slots[4].ObjectType = -2;
        attic.Slots[19].ObjectType = 10;

        SceneRecord roof = makeScene("Roof");
        roof.CondLoadFlag = 12;
        roof.OnLoadFlag = 12;

        builder.scenes = {hall, cellar, attic, roof};

        CueCardRecord card;
        card.ChoiceSetsFlag = {0, 1, 0, 1, 0};
        card.ChoiceFlag = {12, 12, 0, 12, 12};
        card.ChoiceValue = {0, 1, 0, 3, 9};
        card.ChoiceAdds = {0, 0, 0, 1, 0};
        builder.cueCards = {card};

        builder.items = {{{}, 1, 40, -2, 1, 0}, {{}, 1, 12, 7, 0, 0}};
    }

    // What the flag-ordered report writes for flag f of the tracker project,
    // heading and closing empty line included.
    static Lines flagSection(int f) {
        Lines rows{">>>>>> FLAG #" + SignedForm(f) + " <<<<<<"};
        if (f == 12)
            append(rows, {"(Scene # 1 (Hall)) If flag # 12 = 1 then load scene # 2 (Cellar)",
                          "(Scene # 1 (Hall)) When this scene is loaded, add 5 to the current value of flag # 12",
                          "(Scene # 1 (Hall) - Ambient Object # 3) Visible when flag # 12 <> 0",
                          "(Scene # 1 (Hall) - Ambient Object # 3) When this object is visible, add 5 to the "
                          "current value of flag # 12",
                          "(Scene # 2 (Cellar)) If flag # 12 > 4 then do nothing (no scene chosen to load)",
                          "(Scene # 2 (Cellar) - HotSpot Object # 1) Visible when flag # 129"});
        if (f == 20)
            append(rows, {"(Scene # 2 (Cellar) - HotSpot Object # 1) When this object is clicked, set flag # 20 to "
                          "value 3",
                          "(Scene # 3 (Attic)) If flag # 20 < -1 then load scene # 9 ()",
                          "(Scene # 3 (Attic)) When this scene is loaded, set flag # 20 to value 3"});
        append(rows, {ProblemMinus2, Problem10});
        if (f == 12)
            append(rows, {"(Cue Card # 1) When choice # 2 is clicked, set flag # 12 to value 1",
                          "(Cue Card # 1) When choice # 4 is clicked, add 3 to the current value of flag # 12",
                          "(Inventory Item # 2) When examined, set flag # 12 to value 7"});
        if (f == 40)
            rows.push_back("(Inventory Item # 1) When examined, add -2 to the current value of flag # 40");
        rows.push_back("");
        return rows;
    }

    static Lines sceneSection(int s) {
        switch (s) {
        case 1:
            return {">>>>>> SCENE # 1 (Hall) <<<<<<",
                    "(Scene # 1 (Hall)) If flag # 12 = 1 then load scene # 2 (Cellar)",
                    "(Scene # 1 (Hall)) When this scene is loaded, add 5 to the current value of flag # 12",
                    "(Scene # 1 (Hall) - Ambient Object # 3) Visible when flag # 12 <> 0",
                    "(Scene # 1 (Hall) - Ambient Object # 3) When this object is visible, add 5 to the current "
                    "value of flag # 12"};
        case 2:
            return {">>>>>> SCENE # 2 (Cellar) <<<<<<",
                    "(Scene # 2 (Cellar)) If flag # 12 > 4 then do nothing (no scene chosen to load)",
                    "(Scene # 2 (Cellar) - HotSpot Object # 1) Visible when flag # 129",
                    "(Scene # 2 (Cellar) - HotSpot Object # 1) When this object is clicked, set flag # 20 to value 3"};
        case 3:
            return {">>>>>> SCENE # 3 (Attic) <<<<<<", "(Scene # 3 (Attic)) If flag # 20 < -1 then load scene # 9 ()",
                    "(Scene # 3 (Attic)) When this scene is loaded, set flag # 20 to value 3", ProblemMinus2,
                    Problem10};
        default: return {">>>>>> SCENE # 4 (Roof) <<<<<<"};
        }
    }

    static Lines byFlagOpening() {
        return {"", std::string(Separator), std::string(ByFlagBanner), std::string(OrderNote),
                std::string(CheckboxNote), ""};
    }
    static Lines bySceneOpening() {
        return {"", std::string(Separator), std::string(BySceneBanner), std::string(OrderNote),
                std::string(CheckboxNote)};
    }

    std::string trackFlag(Integer flag) {
        state.TrackedFlag = flag;
        return runReport(FlagsByFlagKind);
    }
    std::string trackScene(Integer scene) {
        state.TrackedScene = scene;
        return runReport(FlagsBySceneKind);
    }
};

// --- Listed by flag number -------------------------------------------------

TEST_F(FlagTrackerTest, SingleFlagLayout) {
    buildTrackerProject();
    load();
    Lines expected = byFlagOpening();
    append(expected, {"(Customize Player) The score uses flag # 12", ""});
    append(expected, flagSection(12));
    expected.push_back(std::string(Separator));
    EXPECT_EQ(trackFlag(12), header() + joined(expected));
    EXPECT_EQ(state.ReportName, "Flags Report");
    EXPECT_FALSE(state.EveryFlag);
    EXPECT_EQ(state.TrackedFlag, 12);
    EXPECT_EQ(host.maximaSet.back(), (4 + 1 + 2) * 1 + 5);
    EXPECT_EQ(host.progressValue(), host.progressMaximum());
    EXPECT_EQ(host.questionsAsked, 0);
}

TEST_F(FlagTrackerTest, SingleFlagWithoutTheScoreHasNoScoreLine) {
    buildTrackerProject();
    load();
    Lines expected = byFlagOpening();
    append(expected, flagSection(20));
    expected.push_back(std::string(Separator));
    EXPECT_EQ(trackFlag(20), header() + joined(expected));
}

TEST_F(FlagTrackerTest, ChosenFlagWithNoStatementGivesItsHeadingAndAnEmptyLine) {
    builder.scenes = {makeScene("Only")};
    load();
    Lines expected = byFlagOpening();
    append(expected, {">>>>>> FLAG # 7 <<<<<<", "", std::string(Separator)});
    EXPECT_EQ(trackFlag(7), header() + joined(expected));
}

TEST_F(FlagTrackerTest, AllFlagsLayout) {
    buildTrackerProject();
    load();
    Lines expected = byFlagOpening();
    for (int f = 1; f <= 255; ++f)
        append(expected, flagSection(f));
    expected.push_back(std::string(Separator));
    EXPECT_EQ(trackFlag(999), header() + joined(expected));
    EXPECT_EQ(state.TrackedFlag, 255);
    EXPECT_EQ(host.maximaSet.back(), (4 + 1 + 2) * 255 + 5);
    EXPECT_EQ(host.progressValue(), host.progressMaximum());
}

TEST_F(FlagTrackerTest, NoScenesStillGivesHeadingsRecordSentencesAndClosing) {
    buildTrackerProject();
    builder.scenes.clear();
    load();
    Lines expected = byFlagOpening();
    append(expected, {"(Customize Player) The score uses flag # 12", "", ">>>>>> FLAG # 12 <<<<<<",
                      "(Cue Card # 1) When choice # 2 is clicked, set flag # 12 to value 1",
                      "(Cue Card # 1) When choice # 4 is clicked, add 3 to the current value of flag # 12",
                      "(Inventory Item # 2) When examined, set flag # 12 to value 7", "", std::string(Separator)});
    EXPECT_EQ(trackFlag(12), header() + joined(expected));
    EXPECT_EQ(host.maximaSet.back(), 3 + 5);
}

TEST_F(FlagTrackerTest, CancelAtASectionBoundaryKeepsTheSectionsWrittenAndOmitsTheClosing) {
    buildTrackerProject();
    load();
    // Five score steps, then seven units per flag: flag 1 ends at 12.
    host.cancelAtProgress = 12;
    Lines expected = byFlagOpening();
    append(expected, flagSection(1));
    EXPECT_EQ(trackFlag(999), header() + joined(expected));
    EXPECT_EQ(host.questionsAsked, 1);
    EXPECT_EQ(state.TrackedFlag, 1);
}

TEST_F(FlagTrackerTest, CancelDuringASectionFinishesThatSectionFirst) {
    buildTrackerProject();
    load();
    host.cancelAtProgress = 14; // flag 2, scene 2
    Lines expected = byFlagOpening();
    append(expected, flagSection(1));
    append(expected, flagSection(2));
    EXPECT_EQ(trackFlag(999), header() + joined(expected));
}

TEST_F(FlagTrackerTest, CancelAnsweredNoDiscardsTheRun) {
    buildTrackerProject();
    load();
    host.cancelAtProgress = 12;
    host.answerViewIncomplete = false;
    state.ReportRunning = true;
    state.TrackedFlag = 999;
    const RunOutcome outcome = RunReport(FlagsByFlagKind, ctx);
    EXPECT_EQ(outcome.status, RunOutcome::Status::Discard);
    EXPECT_EQ(host.questionsAsked, 1);
    EXPECT_FALSE(state.ReportRunning);
    EXPECT_EQ(host.progressValue(), 0);
    EXPECT_FALSE(ctx.files.has_value()) << "the data files are closed";
}

TEST_F(FlagTrackerTest, CancelBeforeTheRunShowsOnlyTheOpeningAndScoreLine) {
    buildTrackerProject();
    load();
    state.CancelRequested = true;
    Lines expected = byFlagOpening();
    append(expected, {"(Customize Player) The score uses flag # 12", ""});
    EXPECT_EQ(trackFlag(12), header() + joined(expected));
    EXPECT_EQ(host.questionsAsked, 1);
}

TEST_F(FlagTrackerTest, UnreadableCueCardsAreSkippedAndTheReportGoesOn) {
    buildTrackerProject();
    // Larger than the stream's buffer, which holds the file's last block
    // after opening; record 1 then has to come from the disk.
    builder.cueCards.resize(4);
    load();
    bool broken = false;
    host.onYield = [&] {
        if (!broken)
            broken = makeOpenFileUnreadable(dir / "resource" / "Orvanta5.dat");
    };
    Lines expected = byFlagOpening();
    append(expected, {"(Customize Player) The score uses flag # 12", ""});
    Lines section = flagSection(12);
    std::erase_if(section, [](const std::string& row) { return row.starts_with("(Cue Card"); });
    append(expected, section);
    expected.push_back(std::string(Separator));
    EXPECT_EQ(trackFlag(12), header() + joined(expected));
    ASSERT_TRUE(broken);
    EXPECT_EQ(host.progressValue(), host.progressMaximum()) << "a skipped call still steps the bar";
}

// --- Listed by scene number ------------------------------------------------

TEST_F(FlagTrackerTest, AllScenesLayout) {
    buildTrackerProject();
    load();
    Lines expected = bySceneOpening();
    // The score line ends with its own line feed: two empty lines follow.
    append(expected, {"(Customize Player) The score uses flag # 12", ""});
    for (int s = 1; s <= 4; ++s) {
        expected.push_back("");
        append(expected, sceneSection(s));
    }
    append(expected, {"", std::string(Separator)});
    EXPECT_EQ(trackScene(999), header() + joined(expected));
    EXPECT_EQ(state.ReportName, "Scene Flags Report");
    EXPECT_TRUE(state.EveryFlag);
    EXPECT_EQ(state.TrackedScene, 4);
    EXPECT_EQ(state.TrackedFlag, 20) << "the flag of the last statement written";
    EXPECT_EQ(host.maximaSet.back(), 4 + 5);
    EXPECT_EQ(host.progressValue(), host.progressMaximum());
}

TEST_F(FlagTrackerTest, SingleSceneLayout) {
    buildTrackerProject();
    builder.settings.ScoreEnabled = 0;
    load();
    Lines expected = bySceneOpening();
    expected.push_back("");
    append(expected, sceneSection(2));
    append(expected, {"", std::string(Separator)});
    EXPECT_EQ(trackScene(2), header() + joined(expected));
    EXPECT_EQ(state.TrackedScene, 2);
    EXPECT_EQ(host.maximaSet.back(), 1 + 5);
}

TEST_F(FlagTrackerTest, NoScenesWritesNoSection) {
    builder.settings.ScoreEnabled = 1;
    builder.settings.ScoreFlag = 3;
    load();
    Lines expected = bySceneOpening();
    append(expected, {"(Customize Player) The score uses flag # 3", "", "", std::string(Separator)});
    EXPECT_EQ(trackScene(999), header() + joined(expected));
    EXPECT_EQ(host.maximaSet.back(), 5);
}

TEST_F(FlagTrackerTest, SceneOrderedCancelStopsBeforeTheNextScene) {
    buildTrackerProject();
    load();
    host.cancelAtProgress = 7; // scene 2 done
    Lines expected = bySceneOpening();
    append(expected, {"(Customize Player) The score uses flag # 12", "", ""});
    append(expected, sceneSection(1));
    expected.push_back("");
    append(expected, sceneSection(2));
    EXPECT_EQ(trackScene(999), header() + joined(expected));
    EXPECT_EQ(host.questionsAsked, 1);
}

} // namespace
} // namespace orv::testing
