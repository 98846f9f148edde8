// The flag reports: the expected texts, and the one-pass reports against the straightforward ones on many
// random projects: the same text, the same progress bar, a cancel at any point taking effect at the same
// flag or scene boundary.

#include "reports/FlagTracker.h"
#include "reports/ReferenceTrackers.h"
#include "reports/ReportFixture.h"
#include "reports/TextConventions.h"
#include "reports/UnusedFlagsReport.h"
#include "support/RandomProject.h"


namespace orv::testing {
namespace {

const std::string Separator(70, '=');

// Everything a run leaves that a user or a later run can see.
struct Outcome {
    std::string text;
    int maximum, value;
    std::string reportName;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
    *os << "max " << o.maximum << " value " << o.value << " " << o.reportName << "\n" << o.text;
}

class TrackersTest : public ReportFixture {
  protected:
    // Runs a report routine as RunReport does (header first), from a fresh run state.
    Outcome run(void (*routine)(ReportContext&), int flag, int scene, std::optional<int> cancelAt = {}) {
        state = RunState{};
        state.TrackedFlag = static_cast<Integer>(flag);
        state.TrackedScene = static_cast<Integer>(scene);
        host.setProgressValue(0);
        host.cancelAtProgress = cancelAt;
        text.clear();
        text.append(ReportHeader(host.today(), ProjectInformation(project())));
        routine(*ctx);
        return {text.str(), host.progressMaximum(), host.progressValue(), state.ReportName};
    }
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
    void randomProject(unsigned seed) {
        builder = testing::randomProject(seed);
        load();
    }
};

TEST_F(TrackersTest, ExpectedTextsFromBothTrackersAndTheReference) {
    struct Case {
        Integer kind, selector, scoreEnabled;
        const char* file;
        int maximum; // (scenes + cue cards + items) * flags + 5, or scenes + 5
    };
    for (const Case& c : {Case{FlagsByFlagKind, 12, 1, "tracker-flag-12.txt", 8 + 5},
                          Case{FlagsByFlagKind, 999, 1, "tracker-all-flags.txt", 8 * 255 + 5},
                          Case{FlagsBySceneKind, 999, 1, "tracker-all-scenes.txt", 4 + 5},
                          Case{FlagsBySceneKind, 2, 2, "tracker-scene-2.txt", 1 + 5}}) {
        SCOPED_TRACE(c.file);
        buildTrackerProject(builder);
        builder.settings.ScoreEnabled = c.scoreEnabled; // only 1 means on
        load();
        EXPECT_EQ(track(c.kind, c.selector), header() + expectedText(c.file));
        EXPECT_EQ(state.ReportName, c.kind == FlagsByFlagKind ? "Flags Report" : "Scene Flags Report");
        EXPECT_EQ(std::tuple(host.progressMaximum(), host.progressValue(), host.questionsAsked),
                  std::tuple(c.maximum, c.maximum, 0));
        const bool byFlag = c.kind == FlagsByFlagKind;
        EXPECT_EQ(run(byFlag ? FlagTrackerByFlag : FlagTrackerByScene, c.selector, c.selector),
                  run(byFlag ? ReferenceFlagTrackerByFlag : ReferenceFlagTrackerByScene, c.selector, c.selector));
    }
}

// Where a cancel during the run takes effect is compared with the reference below; a cancel before the run
// keeps the opening and the score line, and declining the incomplete report discards it.
TEST_F(TrackersTest, ACancelBeforeTheRunKeepsTheOpeningAndDecliningDiscards) {
    buildTrackerProject(builder);
    load();
    state.CancelRequested = true;
    EXPECT_EQ(track(FlagsByFlagKind, 12), without("tracker-flag-12.txt", "\n>>>>>> FLAG # 12"));
    EXPECT_EQ(host.questionsAsked, 1);

    host.answerViewIncomplete = false;
    state.ReportRunning = true;
    state.TrackedFlag = 999;
    EXPECT_EQ(RunReport(FlagsByFlagKind, *ctx).status, RunOutcome::Status::Discard);
    EXPECT_EQ(std::tuple(state.ReportRunning, host.progressValue(), host.questionsAsked), std::tuple(false, 0, 2));
}

TEST_F(TrackersTest, UnreadableCueCardsAreSkippedAndTheReportGoesOn) {
    buildTrackerProject(builder);
    builder.cueCards.resize(4);
    load();
    host.breakFile = dir / "resource" / "Orvanta5.dat";
    EXPECT_EQ(track(FlagsByFlagKind, 12), without("tracker-flag-12.txt", "\n(Cue Card", "\n(Inventory"));
    EXPECT_TRUE(host.broken);
    EXPECT_EQ(host.progressValue(), host.progressMaximum()) << "a skipped unit still steps the bar";
}

TEST_F(TrackersTest, OtherKindsGiveTheHeaderAloneAndTheDesktopOpensTheFilesItself) {
    builder.scenes = {makeScene("Shore")};
    load();
    ctx->files = nullptr; // as the desktop runs a report: the files are opened for the run and closed after it
    for (Integer kind : {Integer{-1}, Integer{7}, Integer{999}}) {
        state.ReportName = "unchanged";
        state.FilesReportRan = true;
        EXPECT_EQ(runReport(kind), header());
        EXPECT_EQ(std::tuple(state.ReportName, state.FilesReportRan, ctx->files),
                  std::tuple("unchanged", false, nullptr));
    }
    EXPECT_EQ(host.busy, (std::vector<bool>{true, false, true, false, true, false}));
    const std::string three = runReport(ScenePropertiesKind);
    EXPECT_EQ(three, header() + expectedText("scene-properties.txt"));
    EXPECT_EQ(state.ReportName, "Scene Properties Report");
    EXPECT_EQ(runReport(ScenePropertiesHiddenKind), three);
    fs::remove_all(dir / "resource");
    const RunOutcome failed = RunReport(UnusedFlagsKind, *ctx);
    EXPECT_EQ(std::tuple(failed.status, failed.failure->kind),
              std::tuple(RunOutcome::Status::Failed, FailureKind::ResourceFolderMissing));
}

// Which flags are in use on other projects is compared with the reference below.
TEST_F(TrackersTest, EveryFlagCanBeUsed) {
    builder.settings.ScoreEnabled = 1;
    builder.settings.ScoreFlag = 255;
    builder.cueCards.resize(51); // five choices each, naming 1 to 254
    for (int i = 0; i < 254; ++i)
        builder.cueCards[i / 5].ChoiceSetsFlag[i % 5] = 1, builder.cueCards[i / 5].ChoiceFlag[i % 5] = Integer(i + 1);
    load();
    EXPECT_EQ(runReport(UnusedFlagsKind),
              header() + "\n\n" + Separator + "\n" + std::string(UnusedFlagsBanner) +
                  "\nNOTE: Flags that have been specified in properties, but always have their governing checkbox "
                  "UNCHECKED, are listed as UNUSED in this report.\n\nTotal unused flags found: 0\n\nThe following "
                  "flags do not appear to be in use in this project:\n\n" +
                  Separator);
}

TEST_F(TrackersTest, AnUnreadableFileStopsTheUnusedFlagsScanAndSaysWhichFile) {
    builder.settings.ScoreEnabled = 2; // only 1 means the score uses its flag
    builder.settings.ScoreFlag = 4;
    builder.cueCards.resize(4);
    load();
    host.breakFile = dir / "resource" / "Orvanta5.dat";
    EXPECT_EQ(runReport(UnusedFlagsKind),
              header() + "\n\n" + Separator + "\n" + std::string(UnusedFlagsBanner) +
                  "\n*** The scan stopped: the file " + host.breakFile.string() +
                  " could not be read (Is a directory). No list of unused flags was made. ***\n" + Separator);
    EXPECT_TRUE(host.broken);
}

TEST_F(TrackersTest, EveryReportMatchesTheStraightforwardOneOnRandomProjects) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        randomProject(seed);
        for (int flag : {999, 1, 3, 12, 255, 0, -1})
            ASSERT_EQ(run(FlagTrackerByFlag, flag, 0), run(ReferenceFlagTrackerByFlag, flag, 0)) << "flag " << flag;
        for (int scene = 0; scene <= project().SceneCount; ++scene) {
            const int s = scene == 0 ? AllSelector : scene;
            ASSERT_EQ(run(FlagTrackerByScene, 0, s), run(ReferenceFlagTrackerByScene, 0, s)) << "scene " << s;
        }
        ASSERT_EQ(run(UnusedFlagsReport, 0, 0), run(ReferenceUnusedFlagsReport, 0, 0));
    }
}

TEST_F(TrackersTest, ACancelTakesEffectAtTheSameFlagOrScene) {
    for (unsigned seed : {101u}) { // each all-flags run maps 255 sections: one project is enough
        SCOPED_TRACE("seed " + std::to_string(seed));
        randomProject(seed);
        const int units = project().SceneCount + project().CueCardCount + project().InventoryItemCount;
        // At every flag boundary, and inside the first sections, where the one-pass report reads the project.
        std::vector<int> points{0, 1, 5, 6, 7};
        for (int f = 1; f <= 255; ++f)
            points.push_back(5 + units * f);
        for (int at : points)
            ASSERT_EQ(run(FlagTrackerByFlag, 999, 0, at), run(ReferenceFlagTrackerByFlag, 999, 0, at)) << "at " << at;
        for (int at = 0; at <= project().SceneCount + 6; ++at)
            ASSERT_EQ(run(FlagTrackerByScene, 0, 999, at), run(ReferenceFlagTrackerByScene, 0, 999, at)) << "at " << at;
    }
}

// From 4,096 scenes on, the sections are kept in regions of large pages, and a section of 2,050 lines
// outgrows a chunk: the same text all the same.
TEST_F(TrackersTest, LargeProjectsGiveTheSameSections) {
    builder = testing::randomProject(7);
    builder.scenes.resize(4100, builder.scenes.empty() ? makeScene("Hall") : builder.scenes.front());
    for (std::size_t s = 0; s < builder.scenes.size(); ++s)
        builder.scenes[s].OnLoadFlag = static_cast<Integer>(s % 2 + 1), builder.scenes[s].OnLoadFlagEnabled = 1;
    load();
    for (int flag : {999, 2})
        ASSERT_EQ(run(FlagTrackerByFlag, flag, 0), run(ReferenceFlagTrackerByFlag, flag, 0)) << "flag " << flag;
}

} // namespace
} // namespace orv::testing
