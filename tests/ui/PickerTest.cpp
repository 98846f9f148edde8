#include "DesktopHarness.h"
#include "ModalWatcher.h"
#include "TestProjects.h"

#include "reports/TextConventions.h"
#include "support/TempDir.h"
#include "ui/FlagPicker.h"
#include "ui/ScenePicker.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <ostream>

namespace orv::testing {
namespace {

using Kind = PromptRecord::Kind;
using Answer = ui::Prompts::Answer;

const QString RangeMessage = QStringLiteral("Flag number must be between 1 and 255.");
const QString AllFlagsQuestion = QStringLiteral(
    "Are you sure you want to track ALL flags?  Depending on the size\rof your project and the speed of your "
    "computer, this could take a while!");

QString latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

class PickerTest : public ::testing::Test {
protected:
    void SetUp() override { h.locate(trackerProject(5).write(dir.path())); }

    // Runs `start` and answers the report window, if one shows, by
    // recording its text and closing it.
    bool runAndCloseReport(const std::function<void()>& start) {
        bool shown = false;
        const ModalWatch watch = whenModalShown(
            QStringLiteral("Report"),
            [&](QWidget& report) {
                shown = true;
                reportText = control<QPlainTextEdit>(&report, QStringLiteral("RLog"))->toPlainText();
                control<QPushButton>(&report, QStringLiteral("Command3"))->click();
            },
            3000);
        start();
        return shown;
    }

    ui::FlagPicker& flagPicker() { return h.window.flagPicker(); }
    QLineEdit* flagText() { return control<QLineEdit>(&flagPicker(), QStringLiteral("FlagToTrack")); }

    TempDir dir;
    DesktopHarness h;
    QString reportText;
};

TEST_F(PickerTest, FlagPickerControls) {
    ui::FlagPicker& picker = flagPicker();
    EXPECT_EQ(picker.objectName(), QStringLiteral("FlagToTrack"));
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("Orvanta Project Scanner"));
    EXPECT_TRUE(picker.windowFlags().testFlag(Qt::Tool));
    auto* label = control<QLabel>(&picker, QStringLiteral("Label3"));
    EXPECT_EQ(label->text(), QStringLiteral("Which flag would you like to track?"));
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(flagText()->text(), QStringLiteral("1"));
    EXPECT_EQ(flagText()->toolTip(), QStringLiteral("(1-255)"));
    EXPECT_EQ(control<QPushButton>(&picker, QStringLiteral("Command1"))->text(), QStringLiteral("<-- Track selected flag"));
    EXPECT_EQ(control<QPushButton>(&picker, QStringLiteral("Command3"))->text(), QStringLiteral("Track ALL flags"));
    EXPECT_EQ(control<QPushButton>(&picker, QStringLiteral("Command2"))->text(), QStringLiteral("Cancel"));
}

struct FlagCase {
    const char* text;
    int flag;
};

// Test names show the text typed.
void PrintTo(const FlagCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" -> " << c.flag;
}

class FlagTextTest : public PickerTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(FlagTextTest, AcceptedTextTracksTheRoundedLeadingNumber) {
    flagText()->setText(QLatin1String(GetParam().text));
    EXPECT_TRUE(runAndCloseReport([&] { flagPicker().trackSelectedFlag(); }));
    EXPECT_EQ(h.state.run.TrackedFlag, GetParam().flag);
    EXPECT_TRUE(reportText.contains(QStringLiteral(">>>>>> FLAG # %1 <<<<<<").arg(GetParam().flag))) << reportText.toStdString();
    EXPECT_TRUE(h.prompts.texts(Kind::Message).empty());
    EXPECT_FALSE(h.state.run.ReportRunning);
}

INSTANTIATE_TEST_SUITE_P(Picker, FlagTextTest,
                         ::testing::Values(FlagCase{"12abc", 12}, FlagCase{"3.5", 4}, FlagCase{"2.5", 2},
                                           FlagCase{"   7", 7}, FlagCase{"255", 255}, FlagCase{"1", 1}));

class RejectedFlagTextTest : public PickerTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RejectedFlagTextTest, GetsTheRangeMessageAndStartsNothing) {
    flagText()->setText(QLatin1String(GetParam()));
    EXPECT_FALSE(runAndCloseReport([&] { flagPicker().trackSelectedFlag(); }));
    ASSERT_EQ(h.prompts.records.size(), 2u); // the Locate dialog, then the message
    const PromptRecord& message = h.prompts.records.back();
    EXPECT_EQ(message.kind, Kind::Message);
    EXPECT_EQ(message.text, RangeMessage);
    EXPECT_EQ(message.icon, ui::Prompts::Icon::None);
    EXPECT_EQ(message.title, QStringLiteral("Orvanta Project Scanner"));
    EXPECT_FALSE(h.state.run.ReportRunning);
}

INSTANTIATE_TEST_SUITE_P(Picker, RejectedFlagTextTest,
                         ::testing::Values("0", "256", "99999", "abc", "", "-3", "0.4", "255.5"));

TEST_F(PickerTest, TrackAllAsksFirstAndNoStartsNothing) {
    h.state.run.TrackedFlag = 42;
    h.prompts.answers = {Answer::No};
    EXPECT_FALSE(runAndCloseReport([&] { flagPicker().trackAllFlags(); }));
    const PromptRecord& question = h.prompts.records.back();
    EXPECT_EQ(question.kind, Kind::Question);
    EXPECT_EQ(question.text, AllFlagsQuestion);
    EXPECT_EQ(question.icon, ui::Prompts::Icon::None);
    EXPECT_EQ(question.buttons, ui::Prompts::Buttons::YesNo);
    EXPECT_EQ(h.state.run.TrackedFlag, 42);
}

TEST_F(PickerTest, TrackAllWithYesTracksEveryFlag) {
    h.prompts.answers = {Answer::Yes};
    EXPECT_TRUE(runAndCloseReport([&] { flagPicker().trackAllFlags(); }));
    // The tracker walks TrackedFlag through every flag.
    EXPECT_TRUE(reportText.contains(QStringLiteral(">>>>>> FLAG # 1 <<<<<<")));
    EXPECT_TRUE(reportText.contains(QStringLiteral(">>>>>> FLAG # 255 <<<<<<")));
    EXPECT_TRUE(reportText.contains(latin(FlagTrackerByFlagBanner)));
    EXPECT_TRUE(reportText.endsWith(latin(SeparatorLine)));
}

TEST_F(PickerTest, RunButtonsDoNothingWhileAReportRuns) {
    h.state.run.ReportRunning = true;
    flagText()->setText(QStringLiteral("0"));
    EXPECT_FALSE(runAndCloseReport([&] { flagPicker().trackSelectedFlag(); }));
    EXPECT_FALSE(runAndCloseReport([&] { flagPicker().trackAllFlags(); }));
    EXPECT_FALSE(runAndCloseReport([&] { h.window.scenePicker().viewAllScenes(); }));
    EXPECT_EQ(h.prompts.records.size(), 1u) << "no message, no question";
}

TEST_F(PickerTest, ScenePickerListsTheScenesAndWantsOne) {
    ui::ScenePicker& picker = h.window.scenePicker();
    EXPECT_EQ(picker.objectName(), QStringLiteral("SceneTrack"));
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("Orvanta Project Scanner"));
    auto* scenes = control<QComboBox>(&picker, QStringLiteral("Combo1"));
    ASSERT_EQ(scenes->count(), 6);
    EXPECT_EQ(scenes->itemText(0), QStringLiteral("Choose a scene..."));
    EXPECT_EQ(scenes->itemText(5), QStringLiteral("5 (Scene 5)"));
    EXPECT_EQ(scenes->currentIndex(), 0);
    EXPECT_EQ(control<QPushButton>(&picker, QStringLiteral("Command1"))->text(), QStringLiteral("<-- View selected scene"));
    EXPECT_EQ(control<QPushButton>(&picker, QStringLiteral("Command3"))->text(), QStringLiteral("View ALL scenes"));

    EXPECT_FALSE(runAndCloseReport([&] { picker.viewSelectedScene(); }));
    EXPECT_EQ(h.prompts.records.back().text, QStringLiteral("Please choose a scene."));
    EXPECT_EQ(h.prompts.records.back().icon, ui::Prompts::Icon::None);

    scenes->setCurrentIndex(5);
    h.state.run.ScenePickerPurpose = 2;
    EXPECT_TRUE(runAndCloseReport([&] { picker.viewSelectedScene(); }));
    EXPECT_EQ(h.state.run.TrackedScene, 5);
    EXPECT_TRUE(reportText.contains(latin(FlagTrackerBySceneBanner)));
    EXPECT_EQ(h.state.run.ReportName, "Scene Flags Report");
}

TEST_F(PickerTest, ViewAllScenesNeverAsksAndServesThePurpose) {
    ui::ScenePicker& picker = h.window.scenePicker();
    h.state.run.ScenePickerPurpose = 1;
    EXPECT_TRUE(runAndCloseReport([&] { picker.viewAllScenes(); }));
    EXPECT_EQ(h.state.run.TrackedScene, 999);
    EXPECT_TRUE(reportText.contains(latin(ScenePropertiesBanner)));
    EXPECT_EQ(h.prompts.records.size(), 1u) << "no question";
}

TEST_F(PickerTest, TheFlagPickerStaysOpenAfterItsReportUntilCancel) {
    bool reportShown = false;
    bool pickerShown = false;
    const ModalWatch first = whenModalShown(QStringLiteral("FlagToTrack"), [&](QWidget& picker) {
        pickerShown = true;
        control<QLineEdit>(&picker, QStringLiteral("FlagToTrack"))->setText(QStringLiteral("12abc"));
        reportShown = runAndCloseReport([&] { control<QPushButton>(&picker, QStringLiteral("Command1"))->click(); });
        EXPECT_TRUE(picker.isVisible()) << "the picker waits for another choice";
        // A second run starts at once.
        EXPECT_TRUE(runAndCloseReport([&] { control<QPushButton>(&picker, QStringLiteral("Command1"))->click(); }));
        control<QPushButton>(&picker, QStringLiteral("Command2"))->click();
        EXPECT_FALSE(picker.isVisible());
    });
    h.window.pickReport(3);
    EXPECT_TRUE(pickerShown);
    EXPECT_TRUE(reportShown);
    EXPECT_EQ(h.state.run.TrackedFlag, 12);
    EXPECT_TRUE(h.state.run.CancelRequested) << "Cancel with no run leaves its request behind";
    EXPECT_FALSE(h.state.run.ReportRunning);

    // The flag text is kept for the next opening; a report button clears
    // the cancel request.
    const ModalWatch second = whenModalShown(QStringLiteral("FlagToTrack"), [&](QWidget& picker) {
        EXPECT_EQ(control<QLineEdit>(&picker, QStringLiteral("FlagToTrack"))->text(), QStringLiteral("12abc"));
        EXPECT_FALSE(h.state.run.CancelRequested);
        control<QPushButton>(&picker, QStringLiteral("Command2"))->click();
    });
    h.window.pickReport(3);
}

TEST_F(PickerTest, TheMainWindowSetsTheScenePickerPrompt) {
    QString prompt;
    const ModalWatch first = whenModalShown(QStringLiteral("SceneTrack"), [&](QWidget& picker) {
        prompt = control<QLabel>(&picker, QStringLiteral("Label3"))->text();
        picker.close(); // the close box acts as Cancel
    });
    h.window.pickReport(4);
    EXPECT_EQ(prompt, QStringLiteral("View flags for which scene?"));
    EXPECT_EQ(h.state.run.ScenePickerPurpose, 2);
    EXPECT_TRUE(h.state.run.CancelRequested);

    const ModalWatch second = whenModalShown(QStringLiteral("SceneTrack"), [&](QWidget& picker) {
        prompt = control<QLabel>(&picker, QStringLiteral("Label3"))->text();
        control<QPushButton>(&picker, QStringLiteral("Command2"))->click();
    });
    h.window.pickReport(2);
    EXPECT_EQ(prompt, QStringLiteral("View properties for which scene?"));
    EXPECT_EQ(h.state.run.ScenePickerPurpose, 1);
}

TEST_F(PickerTest, ANewLoadRefillsTheSceneListAndSelectsItsFirstEntry) {
    ui::ScenePicker& picker = h.window.scenePicker();
    auto* scenes = control<QComboBox>(&picker, QStringLiteral("Combo1"));
    scenes->setCurrentIndex(3);
    TempDir other;
    h.locate(trackerProject(2).write(other.path()));
    ASSERT_EQ(scenes->count(), 3);
    EXPECT_EQ(scenes->currentIndex(), 0);
}

} // namespace
} // namespace orv::testing
