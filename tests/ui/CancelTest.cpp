#include "DesktopHarness.h"
#include "ModalWatcher.h"
#include "TestProjects.h"

#include "reports/TextConventions.h"
#include "support/TempDir.h"
#include "ui/QtReportHost.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace orv::testing {
namespace {

using Answer = ui::Prompts::Answer;

// "Track ALL flags" over a project big enough to take many units of work,
// cancelled from the event loop, as a click on the picker's Cancel button
// would be, once the progress bar has reached a given value.
class CancelTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.locate(trackerProject(30).write(dir.path()));
        bar = control<QProgressBar>(&h.window, QStringLiteral("ProgressBar1"));
    }

    void trackAllFlagsAndCancelAt(int progress, Answer viewIncomplete) {
        h.prompts.answers = {Answer::Yes, viewIncomplete};
        QWidget* picker = nullptr;
        bool posted = false;
        const auto connection = QObject::connect(bar, &QProgressBar::valueChanged, bar, [&](int value) {
            if (posted || value < progress)
                return;
            posted = true;
            // Posted, not called: it is handled in a yield of the run.
            QTimer::singleShot(0, bar, [&] {
                cancelClicked = true;
                progressAtCancel = bar->value();
                control<QPushButton>(picker, QStringLiteral("Command2"))->click();
                pickerHiddenByCancel = !picker->isVisible();
            });
        });
        const ModalWatch report = whenModalShown(QStringLiteral("Report"), [&](QWidget& window) {
            reportShown = true;
            pickerVisibleUnderReport = picker->isVisible();
            reportText = control<QPlainTextEdit>(&window, QStringLiteral("RLog"))->toPlainText();
            control<QPushButton>(&window, QStringLiteral("Command3"))->click();
        });
        const ModalWatch pickerWatch = whenModalShown(QStringLiteral("FlagToTrack"), [&](QWidget& window) {
            picker = &window;
            control<QPushButton>(&window, QStringLiteral("Command3"))->click();
        });
        h.window.pickReport(3);
        QObject::disconnect(connection);
    }

    TempDir dir;
    DesktopHarness h;
    QProgressBar* bar = nullptr;
    bool cancelClicked = false;
    bool pickerHiddenByCancel = false;
    bool reportShown = false;
    bool pickerVisibleUnderReport = true;
    int progressAtCancel = -1;
    QString reportText;
};

TEST_F(CancelTest, YesShowsTheIncompleteReport) {
    trackAllFlagsAndCancelAt(40, Answer::Yes);
    ASSERT_TRUE(cancelClicked);
    EXPECT_TRUE(pickerHiddenByCancel) << "Cancel hides the picker before the run has finished";
    EXPECT_LT(progressAtCancel, bar->maximum());

    const PromptRecord& question = h.prompts.records.back();
    EXPECT_EQ(question.title, QStringLiteral("Operation Cancelled"));
    EXPECT_EQ(question.text, QStringLiteral("Would you like to view the incomplete report?"));
    EXPECT_EQ(question.icon, ui::Prompts::Icon::Question);
    EXPECT_EQ(question.buttons, ui::Prompts::Buttons::YesNo);

    ASSERT_TRUE(reportShown);
    EXPECT_FALSE(pickerVisibleUnderReport);
    EXPECT_TRUE(reportText.startsWith(QStringLiteral("*** Orvanta Project Report ***")));
    EXPECT_TRUE(reportText.contains(QStringLiteral(">>>>>> FLAG # 1 <<<<<<")));
    EXPECT_FALSE(reportText.contains(QStringLiteral(">>>>>> FLAG # 255 <<<<<<")));
    EXPECT_FALSE(reportText.endsWith(QLatin1String(SeparatorLine.data(), SeparatorLine.size())))
        << "a cancelled tracker omits its closing";

    EXPECT_FALSE(h.state.run.ReportRunning);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(CancelTest, NoDiscardsTheReportAndANewRunCanStart) {
    trackAllFlagsAndCancelAt(40, Answer::No);
    ASSERT_TRUE(cancelClicked);
    EXPECT_FALSE(reportShown);
    EXPECT_EQ(h.prompts.records.back().text, QStringLiteral("Would you like to view the incomplete report?"));
    EXPECT_FALSE(h.state.run.ReportRunning);
    EXPECT_EQ(bar->value(), 0);

    bool again = false;
    const ModalWatch report = whenModalShown(QStringLiteral("Report"), [&](QWidget& window) {
        again = true;
        reportText = control<QPlainTextEdit>(&window, QStringLiteral("RLog"))->toPlainText();
        control<QPushButton>(&window, QStringLiteral("Command3"))->click();
    });
    const ModalWatch picker = whenModalShown(QStringLiteral("FlagToTrack"), [&](QWidget& window) {
        control<QLineEdit>(&window, QStringLiteral("FlagToTrack"))->setText(QStringLiteral("7"));
        control<QPushButton>(&window, QStringLiteral("Command1"))->click();
        control<QPushButton>(&window, QStringLiteral("Command2"))->click();
    });
    h.window.pickReport(3);
    EXPECT_TRUE(again);
    EXPECT_TRUE(reportText.endsWith(QLatin1String(SeparatorLine.data(), SeparatorLine.size())))
        << "the new run is complete";
}

TEST_F(CancelTest, CancelStillWorksWithTheThrottledYield) {
    h.window.reportHost().setYieldInterval(10);
    trackAllFlagsAndCancelAt(60, Answer::Yes);
    ASSERT_TRUE(cancelClicked);
    ASSERT_TRUE(reportShown);
    EXPECT_FALSE(reportText.contains(QStringLiteral(">>>>>> FLAG # 255 <<<<<<")));
    EXPECT_EQ(bar->value(), 0);
}

} // namespace
} // namespace orv::testing
