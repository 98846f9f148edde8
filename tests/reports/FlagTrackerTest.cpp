#include "reports/FlagTracker.h"

#include "reports/ObjectStatements.h"
#include "reports/RecordStatements.h"
#include "reports/ReportFixture.h"

namespace orv::testing {
namespace {

class FlagTrackerTest : public ReportFixture {
  protected:
    void SetUp() override { buildTrackerProject(builder); }
    std::string track(Integer kind, Integer selector) {
        (kind == FlagsByFlagKind ? state.TrackedFlag : state.TrackedScene) = selector;
        return runReport(kind);
    }
    // The header and an expected text without its part from `from` up to `to` (or to the end).
    std::string without(const std::string& file, const std::string& from, const std::string& to = {}) const {
        std::string body = expectedText(file);
        const std::size_t start = body.find(from);
        body.erase(start, to.empty() ? std::string::npos : body.find(to) - start);
        return header() + body;
    }
};

TEST_F(FlagTrackerTest, Layouts) {
    struct Case {
        Integer kind, selector, scoreEnabled;
        const char* file;
        int maximum; // (scenes + cue cards + items) * flags + 5, or scenes + 5
        Integer flagAfter, sceneAfter;
    };
    for (const Case& c : {Case{FlagsByFlagKind, 12, 1, "tracker-flag-12.txt", 8 + 5, 12, 0},
                          Case{FlagsByFlagKind, 999, 1, "tracker-all-flags.txt", 8 * 255 + 5, 255, 0},
                          Case{FlagsBySceneKind, 999, 1, "tracker-all-scenes.txt", 4 + 5, 20, 4},
                          Case{FlagsBySceneKind, 2, 2, "tracker-scene-2.txt", 1 + 5, 20, 2}}) {
        SCOPED_TRACE(c.file);
        builder.settings.ScoreEnabled = c.scoreEnabled; // only 1 means on
        load();
        state.TrackedFlag = state.TrackedScene = 0;
        EXPECT_EQ(track(c.kind, c.selector), header() + expectedText(c.file));
        EXPECT_EQ(state.ReportName, c.kind == FlagsByFlagKind ? "Flags Report" : "Scene Flags Report");
        EXPECT_EQ(state.EveryFlag, c.kind == FlagsBySceneKind);
        EXPECT_EQ(state.TrackedFlag, c.flagAfter)
            << "the last flag tracked, or of the last statement written";
        EXPECT_EQ(state.TrackedScene, c.sceneAfter);
        EXPECT_EQ(host.progressMaximum(), c.maximum);
        EXPECT_EQ(host.progressValue(), c.maximum);
        EXPECT_EQ(host.questionsAsked, 0);
    }
}

TEST_F(FlagTrackerTest, NoScenes) {
    builder.scenes.clear();
    load();
    const std::string sep(70, '=');
    EXPECT_EQ(track(FlagsByFlagKind, 12), without("tracker-flag-12.txt", "\n(Scene #", "\n(Cue Card"));
    EXPECT_EQ(host.progressMaximum(), 4 + 5);
    // A flag no statement is about gives its heading and an empty line.
    EXPECT_EQ(track(FlagsByFlagKind, 7),
              without("tracker-flag-12.txt", "\n(Customize") + "\n>>>>>> FLAG # 7 <<<<<<\n\n" + sep);
    EXPECT_EQ(track(FlagsBySceneKind, 999),
              without("tracker-all-scenes.txt", "\n>>>>>> SCENE # 1") + "\n" + sep);
    EXPECT_EQ(host.progressMaximum(), 5);
}

TEST_F(FlagTrackerTest, CancelKeepsTheSectionsWrittenAndOmitsTheClosing) {
    load();
    host.cancelAtProgress = 13; // five score steps, then eight per flag: at the end of flag 1
    EXPECT_EQ(track(FlagsByFlagKind, 999), without("tracker-all-flags.txt", "\n>>>>>> FLAG # 2 <<<<<<"));
    EXPECT_EQ(host.questionsAsked, 1);
    EXPECT_EQ(state.TrackedFlag, 1);
    state.CancelRequested = false;
    host.cancelAtProgress = 15; // during flag 2: its section is finished first
    EXPECT_EQ(track(FlagsByFlagKind, 999), without("tracker-all-flags.txt", "\n>>>>>> FLAG # 3 <<<<<<"));
    state.CancelRequested = true; // before the run: the opening and the score line only
    EXPECT_EQ(track(FlagsByFlagKind, 12), without("tracker-flag-12.txt", "\n>>>>>> FLAG # 12"));
    state.CancelRequested = false;
    host.cancelAtProgress = 7; // after scene 2
    EXPECT_EQ(track(FlagsBySceneKind, 999), without("tracker-all-scenes.txt", "\n\n>>>>>> SCENE # 3"));
    EXPECT_EQ(host.questionsAsked, 4);

    host.answerViewIncomplete = false;
    state.ReportRunning = true;
    state.TrackedFlag = 999;
    EXPECT_EQ(RunReport(FlagsByFlagKind, ctx).status, RunOutcome::Status::Discard);
    EXPECT_FALSE(state.ReportRunning);
    EXPECT_EQ(host.progressValue(), 0);
    EXPECT_FALSE(ctx.files.has_value()) << "the data files are closed";
}

TEST_F(FlagTrackerTest, UnreadableCueCardsAreSkippedAndTheReportGoesOn) {
    builder.cueCards.resize(4);
    load();
    host.breakFile = dir / "resource" / "Orvanta5.dat";
    EXPECT_EQ(track(FlagsByFlagKind, 12), without("tracker-flag-12.txt", "\n(Cue Card", "\n(Inventory"));
    EXPECT_TRUE(host.broken);
    EXPECT_EQ(host.progressValue(), host.progressMaximum()) << "a skipped call still steps the bar";
}

// The modes and sections no report passes, and EveryFlag where only the player settings consult it.
using StatementGenerators = FlagTrackerTest;

TEST_F(StatementGenerators, DoNothingInOtherModesAndSections) {
    loadAndOpen();
    ResetUnusedFlags(state);
    state.TrackedFlag = 99;
    state.EveryFlag = true;
    for (Integer mode : {Integer{0}, Integer{4}, Integer{-1}}) {
        DescribePlayerSettings(2, mode, ctx);
        DescribeCueCard(1, mode, ctx);
        DescribeInventoryItem(2, mode, ctx);
        DescribeLocation(1, mode, ctx);
    }
    for (Integer section : {Integer{0}, Integer{1}, Integer{3}, Integer{5}, Integer{6}}) {
        DescribePlayerSettings(section, MarkUsed, ctx);
        DescribePlayerSettings(section, Track, ctx);
    }
    DescribeCueCard(1, Track, ctx);
    DescribeInventoryItem(2, Track, ctx);
    DescribeLocation(1, MarkUsed, ctx);
    DescribeLocation(1, Track, ctx);
    EXPECT_EQ(text.str(), "");
    EXPECT_EQ(state.UnusedFlags.size(), 255u);
    EXPECT_EQ(state.TrackedFlag, 99);
    DescribeObject(-2, CollectFiles, ctx); // an unknown type writes its line in every mode
    EXPECT_EQ(text.str(), "\n*** PROBLEM - This project uses an Object Type that is unknown to this Project "
                          "Scanner.  Object Type =-2 ***");
}

} // namespace
} // namespace orv::testing
