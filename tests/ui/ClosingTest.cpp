#include "UiHarness.h"

// Closing the main window while a report runs ends the program, whatever the
// report: the run stops at its next yield (the bar never moves again), no
// incomplete-report question is asked, no report window opens, and every
// window goes.
struct CloseCase {
    const char* name;
    int button;            // the main window's report button
    const char* picker;    // the picker it opens, if any
    const char* runButton; // in that picker
};
const CloseCase CloseCases[] = {
    {"ResourceFiles", 0, nullptr, nullptr},
    {"UnusedFlags", 1, nullptr, nullptr},
    {"AllFlags", 3, "FlagToTrack", "Command3"},
    {"OneFlag", 3, "FlagToTrack", "Command1"},
    {"AllScenes", 4, "SceneTrack", "Command3"},
};

inline void PrintTo(const CloseCase& c, std::ostream* out) { *out << c.name; }

class CloseDuringRunTest : public UiTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseDuringRunTest, EndsTheProgramAtTheRunsNextYieldWithNoQuestionAndNoReport) {
    const CloseCase& c = GetParam();
    locate(trackerProject(60).write(dir.path()));
    ASSERT_TRUE(showWindow());
    auto* bar = control<QProgressBar>(&window, "ProgressBar1");
    bool closing = false, closedAtOnce = true;
    QList<int> barAfterClose;
    QObject::connect(bar, &QProgressBar::valueChanged, &window, [&](int v) {
        if (closing) barAfterClose << v;
    });
    // Taken at the run's first yield.
    const auto closeSoon = [&] {
        QTimer::singleShot(0, &window, [&] {
            EXPECT_TRUE(state.run.ReportRunning);
            closing = true;
            closedAtOnce = window.close();
        });
    };
    fake.script = {"Yes"}; // "Track ALL flags" asks first
    std::optional<QString> report;
    Watch watch;
    if (c.picker) {
        watch = onModal(c.picker, [&](QWidget& picker) {
            closeSoon();
            report = reportOf([&] { control(&picker, c.runButton)->click(); });
        });
    } else {
        closeSoon();
    }
    const auto started = reportOf([&] { window.pickReport(c.button); });
    for (int i = 0; i < 100 && window.isVisible(); ++i) QTest::qWait(10);

    EXPECT_TRUE(closing) << "the run yielded";
    EXPECT_FALSE(closedAtOnce) << "the window waits for the run to unwind";
    EXPECT_FALSE(started || report) << "no report window";
    EXPECT_FALSE(window.isVisible()) << "the main window closed";
    for (QWidget* child : window.findChildren<QWidget*>())
        EXPECT_FALSE(child->isWindow() && child->isVisible()) << child->objectName().toStdString();
    EXPECT_TRUE(fake.log.filter("Operation Cancelled").isEmpty()) << "no incomplete-report question";
    EXPECT_TRUE(barAfterClose.isEmpty() || barAfterClose == QList<int>{0}) << "the run stopped at once";
    EXPECT_FALSE(state.run.ReportRunning);
    EXPECT_TRUE(state.text.str().empty());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, CloseDuringRunTest, ::testing::ValuesIn(CloseCases),
                         [](const auto& p) { return std::string(p.param.name); });

// Closing the main window with a window up ends the program too: every window
// goes, each modal loop unwinds, and nothing stays running. The buttons are
// pressed in turn, each in the window the one before opened; message boxes
// and file dialogs are the real ones.
struct UpCase {
    const char* name;
    std::vector<const char*> buttons;
};
const UpCase UpCases[] = {
    {"FlagPicker", {"PickReport_3"}},
    {"QuestionOverPicker", {"PickReport_3", "Command3"}},
    {"MessageOverPicker", {"PickReport_4", "Command1"}}, // "Please choose a scene."
    {"Report", {"PickReport_1"}},
    {"SaveDialog", {"PickReport_1", "Command2"}},
    {"FilesManager", {"PickReport_0", "Command5"}},
    {"LocateDialog", {"Command1"}},
    {"ReportOverFlagMap", {"FlagMapButton", "SummaryButton"}},
};
inline void PrintTo(const UpCase& c, std::ostream* out) { *out << c.name; }

class CloseWithAWindowUpTest : public RealPromptsTest, public ::testing::WithParamInterface<UpCase> {
protected:
    void press(QWidget& in, std::span<const char* const> buttons) {
        if (buttons.empty()) {
            up = in.objectName();
            window.close();
            return;
        }
        const Watch watch = onNewModal({&in}, [&](QWidget& opened) { press(opened, buttons.subspan(1)); });
        control<QAbstractButton>(&in, buttons.front())->click();
    }
    QString up;
};

TEST_P(CloseWithAWindowUpTest, EndsTheProgram) {
    press(window, GetParam().buttons);
    EXPECT_FALSE(up.isEmpty()) << "the last window opened";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 2000)) << "the main window closed";
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString() << " is still up";
    EXPECT_FALSE(window.busy() || state.run.ReportRunning);
    EXPECT_TRUE(state.text.str().empty());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, CloseWithAWindowUpTest, ::testing::ValuesIn(UpCases),
                         [](const auto& p) { return std::string(p.param.name); });
