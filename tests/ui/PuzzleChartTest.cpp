#include "UiHarness.h"
#include "reports/FlagReach.h"
#include "ui/PuzzleChartWindow.h"

namespace {

// Scene 1: an Ambient object sets flag 2 to 1; a HotSpot visible when flag 2 = 1 sets flag 3 to 1; a Goodie
// visible when flag 3 = 5 (never) sets flag 4 to 1.
ProjectBuilder chainProject() {
    ProjectBuilder b = trackerProject(1);
    b.scenes[0].OnLoadFlagEnabled = 0;
    ObjectSlot* slot = b.scenes[0].Slots.data();
    slot[0].ObjectType = 0;
    setSetting(slot[0], 157, 1), setSetting(slot[0], 159, 2), setSetting(slot[0], 161, 1);
    slot[1].ObjectType = 1;
    for (auto [offset, value] : {std::pair{167, 2}, {169, 2}, {171, 0}, {173, 1}, {175, 1}, {177, 3}, {179, 1}})
        setSetting(slot[1], std::size_t(offset), Integer(value));
    slot[2].ObjectType = 2;
    for (auto [offset, value] : {std::pair{163, 2}, {165, 3}, {167, 0}, {169, 5}, {171, 1}, {173, 4}, {175, 1}})
        setSetting(slot[2], std::size_t(offset), Integer(value));
    return b;
}

class PuzzleChartTest : public UiTest {
  protected:
    void SetUp() override { locate(chainProject().write(dir.path())); }
    // The chart as its button opens it, handed to `act`, then closed if still open.
    void withChart(const std::function<void(ui::PuzzleChartWindow&)>& act) {
        withModal("PuzzleChart", "CloseButton", [&] { control(&window, "PuzzleChartButton")->click(); },
                  [&](QWidget&) { act(window.puzzleChart()); });
    }
};

TEST_F(PuzzleChartTest, AClickOnAFlagFindsItsNodeAndTracksIt) {
    std::optional<QString> report;
    withChart([&](ui::PuzzleChartWindow& chart) {
        ASSERT_FALSE(chart.svg().isEmpty()) << chart.message().toStdString();
        EXPECT_EQ(chart.message(), "The whole chart: 5 nodes.");
        ui::ChartView& view = chart.view();
        for (const char* id : {"f2", "f3", "f4", "c1_2_1", "c1_3_1"}) {
            const QRectF box = view.nodeRect(id);
            ASSERT_FALSE(box.isEmpty()) << id;
            EXPECT_EQ(view.nodeAt(box.center()), id);
        }
        EXPECT_EQ(view.nodeAt(QPointF(1, 1)), "") << "the corner is empty";
        chart.nodeClicked("c1_2_1"); // a change: nothing to track
        EXPECT_FALSE(state.run.ReportRunning);
        const QPoint at = view.nodeRect("f3").center().toPoint();
        report = reportOf([&] { QTest::mouseClick(&view, Qt::LeftButton, {}, at); });
        EXPECT_EQ(state.run.TrackedFlag, 3);
        EXPECT_TRUE(chart.isVisible()) << "the chart waits underneath";
    });
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->contains("\n>>>>>> FLAG # 3 <<<<<<\n(Scene # 1 (Scene 1) - HotSpot Object # 2) When this "
                                 "object is clicked, set flag # 3 to value 1\n"));
    EXPECT_FALSE(state.run.ReportRunning);
}

// Saves go through the file dialog and the overwrite question; the wheel
// and Ctrl+Plus or Minus zoom, and Fit shows the whole chart.
TEST_F(PuzzleChartTest, SavesAskBeforeTheyOverwriteTheKeysAndWheelZoomAndFitShowsTheWholeChart) {
    const QString svg = qpath(dir / "chart.svg"), png = qpath(dir / "chart.png");
    withChart([&](ui::PuzzleChartWindow& chart) {
        fake.script << svg;
        control(&chart, "SaveSvgButton")->click();
        fake.script << png;
        control(&chart, "SavePngButton")->click();
        fake.script << png << "Yes"; // again: the question, then the file is written anew
        control(&chart, "SavePngButton")->click();
        fake.script << svg << "Cancel";
        control(&chart, "SaveSvgButton")->click();
        ui::ChartView& view = chart.view();
        const double start = view.zoom();
        chart.activateWindow(); // shortcuts go to the active window
        ASSERT_TRUE(QTest::qWaitForWindowActive(&chart));
        QTest::keyClick(&chart, Qt::Key_Plus, Qt::ControlModifier);
        EXPECT_DOUBLE_EQ(view.zoom(), start * 1.25);
        QTest::keyClick(&chart, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(&chart, Qt::Key_Minus, Qt::ControlModifier);
        EXPECT_DOUBLE_EQ(view.zoom(), start / 1.25);
        const QPointF at = view.rect().center();
        QWheelEvent up(at, view.mapToGlobal(at), {}, {0, 240}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &up);
        EXPECT_DOUBLE_EQ(view.zoom(), start / 1.25 * 1.25 * 1.25);
        EXPECT_EQ(view.size(), view.sizeHint());
        control(&chart, "FitButton")->click();
        const QWidget* viewport = view.parentWidget();
        EXPECT_LE(view.width(), viewport->width());
        EXPECT_LE(view.height(), viewport->height());
        EXPECT_TRUE(view.width() >= viewport->width() - 2 || view.height() >= viewport->height() - 2)
            << "fills one way";
    });
    EXPECT_TRUE(fileText(dir / "chart.svg").starts_with("<?xml"));
    EXPECT_NE(fileText(dir / "chart.svg").find("<g id=\"f3\" class=\"node\">"), std::string::npos);
    const QImage picture(png);
    EXPECT_FALSE(picture.isNull());
    EXPECT_GT(picture.width(), 100);
    EXPECT_EQ(fake.log.filter("save dialog").size(), 4);
    EXPECT_TRUE(
        fake.log.contains("save dialog in PuzzleChart: Save Puzzle Chart | Puzzle Chart.svg | SVG Image (*.svg)"));
    EXPECT_TRUE(
        fake.log.contains("save dialog in PuzzleChart: Save Puzzle Chart | Puzzle Chart.png | PNG Image (*.png)"));
    EXPECT_EQ(fake.log.filter("question (Exclamation, YesNoCancel) in PuzzleChart: File already exists").size(), 2);
    EXPECT_TRUE(fake.script.isEmpty());
}

TEST_F(PuzzleChartTest, AboveFiveThousandNodesItAsksForAFlag) {
    FlagStatementList list;
    const auto object = [&](int n, Integer tested, Integer changed) {
        for (int row : {0, 1}) {
            FlagStatement s;
            s.record = Integer(1 + n / 20), s.slot = std::uint8_t(1 + n % 20), s.row = std::uint8_t(row);
            s.objectType = 0;
            s.use = row == 0 ? FlagUse::Test : FlagUse::Change;
            s.flag = s.markedFlag = row == 0 ? tested : changed;
            list.statements.push_back(s);
        }
    };
    for (int n = 0; n < 5000; ++n)
        object(n, 1, 2);
    object(5000, 3, 4);
    ui::PuzzleChartWindow& chart = window.puzzleChart();
    chart.setReach(AnalyzeFlagReach(list, 260));
    EXPECT_TRUE(chart.svg().isEmpty());
    EXPECT_TRUE(chart.message().contains("5,005 nodes, more than 5,000: type a flag number"))
        << chart.message().toStdString();
    control<QLineEdit>(&chart, "FlagBox")->setText("2");
    control(&chart, "ShowFlagButton")->click();
    EXPECT_TRUE(chart.svg().isEmpty());
    EXPECT_TRUE(chart.message().contains("Flag # 2: what it depends on and what depends on it has 5,002 nodes, more "
                                         "than 5,000: too many to draw."))
        << chart.message().toStdString();
    control<QLineEdit>(&chart, "FlagBox")->setText("4");
    control(&chart, "ShowFlagButton")->click();
    EXPECT_EQ(chart.chart().nodes.size(), 3u);
    EXPECT_FALSE(chart.svg().isEmpty());
    control<QLineEdit>(&chart, "FlagBox")->setText("256");
    control(&chart, "ShowFlagButton")->click();
    EXPECT_EQ(fake.log.back(), "message (Exclamation) in PuzzleChart: Orvanta Project Scanner | Flag number must be "
                               "between 1 and 255.");
    EXPECT_EQ(chart.chart().nodes.size(), 3u) << "unchanged";
}

// The sample project's chart: the bell that never rings three times, and what hangs on it. Its picture is
// the README's.
TEST_F(PuzzleChartTest, TheSamplesValuePreciseDeadEndAndItsCascadeStandOut) {
    const fs::path sample = fs::path(ExamplesDir) / "lighthouse" / "lighthouse.orv";
    locate(sample);
    withChart([&](ui::PuzzleChartWindow& chart) {
        const PuzzleChart& c = chart.chart();
        const auto node = [&](const char* id) -> const ChartNode& {
            const std::uint32_t i = c.find(id);
            EXPECT_NE(i, NoIndex) << id;
            return c.nodes.at(i);
        };
        EXPECT_EQ(node("f26").label, "flag # 26\n0, 1 or 2");
        EXPECT_TRUE(node("f26").deadEnd);
        EXPECT_TRUE(node("c6_4_1").never) << "the trapdoor";
        EXPECT_TRUE(node("c9_3_1").never) << "the lantern, below it";
        EXPECT_FALSE(node("c4_2_1").never);
        EXPECT_FALSE(chart.view().nodeRect("c9_3_1").isEmpty());
        EXPECT_TRUE(chart.view().image(1.0).save(renderFile("puzzle-chart-picture.png")));
    });
}

} // namespace
