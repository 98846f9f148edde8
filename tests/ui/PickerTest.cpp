#include "UiHarness.h"

class PickerTest : public UiTest {
protected:
    void SetUp() override { locate(trackerProject(5).write(dir.path())); }
    // The flag picker as its report button opens it, handed to `act`, then
    // cancelled if still open.
    void withFlagPicker(const std::function<void(QWidget&)>& act) {
        withModal("FlagToTrack", "Command2", [&] { window.pickReport(3); }, act);
    }
};

// The text typed, and the flag tracked (0: the text is rejected).
const std::pair<std::string, int> FlagCases[] = {{"12abc", 12}, {"3.5", 4}, {"2.5", 2}, {"   7", 7},  {"255", 255},
                                                 {"1", 1},      {"0", 0},   {"256", 0}, {"99999", 0}, {"abc", 0},
                                                 {"", 0},       {"-3", 0},  {"0.4", 0}, {"255.5", 0}};
class FlagTextTest : public PickerTest, public ::testing::WithParamInterface<std::pair<std::string, int>> {};

TEST_P(FlagTextTest, TracksTheRoundedLeadingNumberOrGetsTheRangeMessage) {
    const auto [text, flag] = GetParam();
    std::optional<QString> report;
    withFlagPicker([&](QWidget& picker) {
        control<QLineEdit>(&picker, "FlagToTrack")->setText(QString::fromStdString(text));
        report = reportOf([&] { control(&picker, "Command1")->click(); });
        EXPECT_TRUE(picker.isVisible()) << "the picker waits for another choice";
    });
    EXPECT_FALSE(state.run.ReportRunning);
    EXPECT_EQ(report.has_value(), flag != 0);
    EXPECT_TRUE(!flag || (state.run.TrackedFlag == flag &&
                          report.value_or("").contains(QString(">>>>>> FLAG # %1 <<<<<<").arg(flag))));
    const QString message = "message (None) in FlagToTrack: Orvanta Project Scanner | ";
    EXPECT_EQ(fake.log.mid(1), flag ? QStringList() : QStringList{message + "Flag number must be between 1 and 255."});
}

INSTANTIATE_TEST_SUITE_P(Picker, FlagTextTest, ::testing::ValuesIn(FlagCases));

TEST_F(PickerTest, TrackAllAsksFirstThenTracksEveryFlagButNotWhileAReportRuns) {
    state.run.ReportRunning = true;
    EXPECT_FALSE(reportOf([&] { window.flagPicker().trackSelectedFlag(); }));
    EXPECT_FALSE(reportOf([&] { window.flagPicker().trackAllFlags(); }));
    EXPECT_FALSE(reportOf([&] { window.scenePicker().viewAllScenes(); }));
    EXPECT_EQ(fake.log.size(), 1) << "no question while a report runs";
    state.run.ReportRunning = false;
    state.run.TrackedFlag = 42;
    fake.script = {"No", "Yes"};
    EXPECT_FALSE(reportOf([&] { window.flagPicker().trackAllFlags(); }));
    EXPECT_EQ(state.run.TrackedFlag, 42);
    const auto report = reportOf([&] { window.flagPicker().trackAllFlags(); });
    const QString question = "question (None, YesNo) in FlagToTrack: Orvanta Project Scanner | Are you sure you want "
                             "to track ALL flags?  Depending on the size\rof your project and the speed of your "
                             "computer, this could take a while!";
    EXPECT_EQ(fake.log.mid(1), QStringList({question, question}));
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->contains(">>>>>> FLAG # 1 <<<<<<") && report->contains(">>>>>> FLAG # 255 <<<<<<"));
    EXPECT_TRUE(report->contains(latin(FlagTrackerByFlagBanner)) && report->endsWith(latin(SeparatorLine)));
}

// The number is selected and has the focus whenever the picker opens and
// after each report it ran, so that what is typed replaces it; Enter in the
// text box runs, but on a focused button presses that button.
TEST_F(PickerTest, WhatIsTypedReplacesTheNumberOnOpeningAndAfterEachReportAndEnterPressesAFocusedButton) {
    ASSERT_TRUE(showWindow());
    QStringList tracked;
    const auto typeAndTrack = [&](QLineEdit* text, const char* flag) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return text->hasFocus(); }, 2000));
        EXPECT_EQ(text->selectedText(), text->text());
        reportOf([&] {
            QTest::keyClicks(text, flag);
            QTest::keyClick(text, Qt::Key_Return);
        });
        tracked << QString::number(state.run.TrackedFlag);
    };
    for (const char* flag : {"250", "7"})
        withFlagPicker([&](QWidget& picker) { typeAndTrack(control<QLineEdit>(&picker, "FlagToTrack"), flag); });
    withFlagPicker([&](QWidget& picker) {
        auto* text = control<QLineEdit>(&picker, "FlagToTrack");
        typeAndTrack(text, "12");
        typeAndTrack(text, "3");
        EXPECT_FALSE(reportOf([&] { QTest::keyClick(control(&picker, "Command2"), Qt::Key_Return); }));
        EXPECT_FALSE(picker.isVisible());
    });
    EXPECT_TRUE(state.run.CancelRequested);
    EXPECT_EQ(tracked, QStringList({"250", "7", "12", "3"}));
    EXPECT_EQ(fake.log.size(), 1) << "no range message";
}

TEST_F(PickerTest, TheScenePickerWantsASceneAndServesItsPurpose) {
    ui::ScenePicker& picker = window.scenePicker();
    auto* list = control<QComboBox>(&picker, "Combo1");
    ASSERT_EQ(list->count(), 6);
    EXPECT_FALSE(reportOf([&] { picker.viewSelectedScene(); }));
    EXPECT_EQ(fake.log.back(), "message (None) in SceneTrack: Orvanta Project Scanner | Please choose a scene.");
    list->setCurrentIndex(5);
    state.run.ScenePickerPurpose = 2;
    EXPECT_TRUE(reportOf([&] { picker.viewSelectedScene(); }).value().contains(latin(FlagTrackerBySceneBanner)));
    EXPECT_EQ(state.run.TrackedScene, 5);
    state.run.ScenePickerPurpose = 1;
    EXPECT_TRUE(reportOf([&] { picker.viewAllScenes(); }).value().contains(latin(ScenePropertiesBanner)));
    EXPECT_EQ(state.run.TrackedScene, 999);
    EXPECT_EQ(fake.log.size(), 2) << "View ALL never asks";
}

// "Track ALL flags" on a big project, cancelled from the event loop (as a
// click would be) once the run is under way; then the answer to "view the
// incomplete report?". Every yield handles events here: a one-pass run of this
// size fits inside the program's throttle interval, so a throttled run could
// end before the click is seen.
class CancelTest : public PickerTest, public ::testing::WithParamInterface<QString> {};

TEST_P(CancelTest, CancelMidRunOffersTheIncompleteReport) {
    locate(trackerProject(30).write(dir / "big"));
    window.reportHost().setYieldInterval(0);
    auto* bar = control<QProgressBar>(&window, "ProgressBar1");
    int cancelledAt = -1;
    bool pickerShown = true;
    std::optional<QString> report;
    withFlagPicker([&](QWidget& picker) {
        const auto connection = QObject::connect(bar, &QProgressBar::valueChanged, bar, [&](int value) {
            if (cancelledAt != -1 || value < 40) return;
            cancelledAt = 0;
            QTimer::singleShot(0, bar, [&] { // handled in a yield of the run
                cancelledAt = bar->value();
                control(&picker, "Command2")->click();
            });
        });
        fake.script = {"Yes", GetParam()};
        report = reportOf([&] { control(&picker, "Command3")->click(); },
                          [&](QWidget&) { pickerShown = picker.isVisible(); });
        QObject::disconnect(connection);
    });
    ASSERT_GT(cancelledAt, 0);
    EXPECT_LT(cancelledAt, bar->maximum());
    EXPECT_EQ(fake.log.back(), "question (Question, YesNo) in Main: Operation Cancelled | Would you like to view "
                               "the incomplete report?");
    EXPECT_FALSE(state.run.ReportRunning);
    EXPECT_EQ(bar->value(), 0);
    ASSERT_EQ(report.has_value(), GetParam() == "Yes");
    if (!report) return;
    EXPECT_FALSE(pickerShown) << "Cancel hides the picker";
    EXPECT_TRUE(report->startsWith("*** Orvanta Project Report ***") && report->contains(">>>>>> FLAG # 1 <<<<<<"));
    EXPECT_FALSE(report->contains(">>>>>> FLAG # 255 <<<<<<") || report->endsWith(latin(SeparatorLine)))
        << "a cancelled tracker omits the rest and its closing";
}

INSTANTIATE_TEST_SUITE_P(Picker, CancelTest, ::testing::Values("Yes", "No"));
