#include "reports/RunReport.h"

#include "reports/ReportFixture.h"
#include "support/RecordEncoders.h"

#include <gtest/gtest.h>

namespace orv::testing {
namespace {

class RunReportTest : public ReportFixture {
protected:
    void SetUp() override {
        builder.settings.ProjectName = "Lighthouse";
        builder.scenes = {makeScene("Shore"), makeScene("Tower")};
        builder.cueCards.resize(1);
        load();
    }
};

TEST_F(RunReportTest, HeaderIsTitleDateAndThePanelText) {
    const std::string report = runReport(99);
    EXPECT_EQ(report, "*** Orvanta Project Report ***\nDate scanned: 07-04-2026\n\n" + project.PInfo);
    EXPECT_TRUE(report.ends_with("\nCue Cards Count: 1"));
    EXPECT_NE(report.find("\nProject Name: Lighthouse\n"), std::string::npos);
}

TEST_F(RunReportTest, UnknownKindsGiveTheHeaderOnly) {
    for (Integer kind : {Integer{-1}, Integer{6}, Integer{999}}) {
        state.ReportName = "unchanged";
        EXPECT_EQ(runReport(kind), header()) << kind;
        EXPECT_EQ(state.ReportName, "unchanged");
    }
}

TEST_F(RunReportTest, KindTwoIsKindThree) {
    const std::string three = runReport(ScenePropertiesKind);
    EXPECT_EQ(runReport(ScenePropertiesHiddenKind), three);
    EXPECT_EQ(three, header() + lines({"", Separator,
                                        "==================== SCENES / OBJECTS PROPERTIES ====================",
                                        "(NOT YET AVAILABLE)", Separator}));
    EXPECT_EQ(state.ReportName, "Scene Properties Report");
}

TEST_F(RunReportTest, EveryRunReplacesTheTextAndClearsFilesReportRan) {
    state.FilesReportRan = true;
    text.append("old text");
    EXPECT_EQ(runReport(UnusedFlagsKind).rfind(header(), 0), 0u);
    EXPECT_FALSE(state.FilesReportRan);
    EXPECT_FALSE(ctx.files.has_value());
    EXPECT_EQ(host.busy, (std::vector<bool>{true, false}));
}

TEST_F(RunReportTest, TheQuestionIsAskedOnlyAfterACancel) {
    EXPECT_EQ(RunReport(UnusedFlagsKind, ctx).status, RunOutcome::Status::Show);
    EXPECT_EQ(host.questionsAsked, 0);
    state.CancelRequested = true;
    EXPECT_EQ(RunReport(UnusedFlagsKind, ctx).status, RunOutcome::Status::Show);
    EXPECT_EQ(host.questionsAsked, 1);
    host.answerViewIncomplete = false;
    EXPECT_EQ(RunReport(UnusedFlagsKind, ctx).status, RunOutcome::Status::Discard);
    EXPECT_EQ(host.questionsAsked, 2);
}

} // namespace
} // namespace orv::testing
