#include "UiHarness.h"

#include "support/StatementListBuilder.h"
#include "ui/FlagMapWindow.h"

namespace {

using ui::FlagClassColour;

// Flag 3 tested and changed, 4 tested only with a test that never holds (a dead end), 5 changed only, 6 tested
// only with a test that always holds, 9 the score flag; 20 is tested ten times (and set once).
FlagUsageData handBuiltUsage() {
    ListBuilder b;
    b.add(FlagUse::Score, 9, "(Customize Player) The score uses flag # 9\n")
        .test(3, 0, 1, "(Scene # 1 (Hall) - Ambient Object # 1) Visible when flag # 3 = 1")
        .add(FlagUse::Change, 3, "(Scene # 1 (Hall) - Ambient Object # 1) When this object is visible, set flag # 3 to value 1", 0, 1)
        .test(4, 0, 1, "(Scene # 2 (Cellar)) If flag # 4 = 1 then load scene # 1 (Hall)")
        .change(5, "(Cue Card # 1) When choice # 1 is clicked, set flag # 5 to value 1")
        .test(6, 1, 4, "(Scene # 2 (Cellar) - Goodie Object # 3) Visible when flag # 6 <> 4")
        .change(20, "(Inventory Item # 1) When examined, set flag # 20 to value 1")
        .change(0, "(Scene # 3 (Attic)) When this scene is loaded, set flag # 0 to value 1");
    for (int i = 1; i <= 10; ++i)
        b.test(20, 2, Integer(i), "(Scene # 4 (Roof) - Delay Object #" + std::to_string(i) + ") Activated when flag # 20 < " + std::to_string(i));
    FlagUsageData data{b.list, {}, {}};
    data.usage = SummarizeFlagUsage(data.list);
    data.reach = AnalyzeFlagReach(data.list, 4);
    return data;
}

class FlagMapTest : public UiTest {
protected:
    // Three scenes that set flags 2, 3 and 4 when they load.
    void SetUp() override { locate(trackerProject(3).write(dir.path())); }
    // The map as its button opens it, handed to `act`, then closed if still open.
    void withMap(const std::function<void(QWidget&)>& act) {
        withModal("FlagMap", "CloseButton", [&] { control(&window, "FlagMapButton")->click(); }, act);
    }
};

TEST_F(FlagMapTest, CellsShowTheirClassInAColourAndDeadEndsCarryAMark) {
    ui::FlagMapWindow& map = window.flagMap();
    map.setUsage(handBuiltUsage());
    ui::FlagGrid& grid = map.grid();
    using enum FlagClass;
    const std::tuple<int, FlagClass, bool> cells[] = {{1, Free, false},      {3, TestedAndChanged, false},
                                                      {4, TestedOnly, true}, {5, ChangedOnly, false},
                                                      {6, TestedOnly, false}, {9, OtherUse, false},
                                                      {20, TestedAndChanged, false}, {255, Free, false}};
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    const QImage picture = grid.grab().toImage();
    const qreal scale = picture.devicePixelRatio();
    for (const auto& [flag, use, deadEnd] : cells) {
        SCOPED_TRACE(flag);
        const QRect cell = grid.cellRect(flag);
        EXPECT_EQ(grid.flagAt(cell.center()), flag);
        EXPECT_EQ(grid.cellColour(flag), FlagClassColour(use));
        EXPECT_EQ(grid.hasDeadEndMark(flag), deadEnd);
        // Painted: the fill beside the number, and the black corner of a dead end.
        const auto pixel = [&](QPoint p) { return picture.pixelColor((QPointF(p) * scale).toPoint()).rgb(); };
        EXPECT_EQ(pixel(QPoint(cell.left() + 5, cell.center().y())), FlagClassColour(use).rgb());
        EXPECT_EQ(pixel(cell.topRight() + QPoint(-4, 4)), deadEnd ? QColor(Qt::black).rgb() : FlagClassColour(use).rgb());
        // The number stands out from the fill by 4.5:1 at least, in the colour chosen for it.
        EXPECT_GE(ui::ContrastRatio(grid.cellTextColour(flag), grid.cellColour(flag)), 4.5);
        const QImage number = picture.copy(QRectF((QRectF(cell).center() - QPointF(8, 6)) * scale, QSizeF(16, 12) * scale).toRect());
        bool drawn = false;
        for (int y = 0; y < number.height() && !drawn; ++y)
            for (int x = 0; x < number.width() && !drawn; ++x) drawn = number.pixelColor(x, y) == grid.cellTextColour(flag);
        EXPECT_TRUE(drawn) << "the number in its colour";
    }
    EXPECT_EQ(grid.cellRect(1).topLeft(), QPoint(0, 0));
    EXPECT_EQ(grid.cellRect(16).topLeft(), QPoint(0, grid.cellRect(1).height())) << "15 cells a row";
    EXPECT_EQ(grid.cellRect(255).bottom() + 1, 17 * grid.cellRect(1).height()) << "17 rows";
    EXPECT_EQ(grid.flagAt(QPoint(grid.sizeHint().width() + 3, 2)), 0);
    QSet<QRgb> colours;
    for (FlagClass c : {Free, TestedOnly, ChangedOnly, TestedAndChanged, OtherUse}) colours << FlagClassColour(c).rgb();
    EXPECT_EQ(colours.size(), 5);

    QStringList legend;
    for (int i = 0; i < 7; ++i) legend << control<QLabel>(&map, QString("Legend_%1").arg(i))->text();
    EXPECT_EQ(legend, QStringList({"Free (249)", "Tested only (2)", "Changed only (1)", "Tested and changed (2)",
                                   "Used, not tested or changed (1)", "Dead end: a test that never holds (1)",
                                   "Changed, but no change can happen (0)"}));
    EXPECT_EQ(control<QLabel>(&map, "OutOfRange")->text(),
              "Flag numbers outside 1 to 255: 1 (listed in the flag usage summary)");

    EXPECT_EQ(grid.toolTipFor(4), "Flag # 4: tested only\nIt can be: 0.\nDead end: 1 of its tests never holds.\n"
                                  "Tests (1):\n  never holds: (Scene # 2 (Cellar)) If flag # 4 = 1 then load scene # 1 "
                                  "(Hall)\nClick to track this flag.");
    EXPECT_EQ(grid.toolTipFor(9), "Flag # 9: used, not tested or changed\nThe score uses this flag.\nIt can be: any "
                                  "value from -32768 to 32767.\nClick to track this flag.");
    EXPECT_TRUE(grid.toolTipFor(7).contains("\nNothing in the project tests or changes it."));
    const QString many = grid.toolTipFor(20);
    EXPECT_TRUE(many.contains("\nTests (10):\n  (Scene # 4 (Roof) - Delay Object #1) Activated when flag # 20 < 1\n"));
    EXPECT_TRUE(many.contains("Object #8) Activated when flag # 20 < 8\n  ... and 2 more\nChanges (1):\n  (Inventory"));
    map.hide();
}

// A click on a cell, or Enter on the focused one, tracks its flag with the map open underneath.
TEST_F(FlagMapTest, AClickOrEnterOnACellTracksItsFlagWithTheMapOpenUnderneath) {
    state.run.CancelRequested = true; // left by a picker's Cancel; the map's button clears it, as report buttons do
    std::optional<QString> entered, report, summary;
    bool mapUnderneath = false;
    withMap([&](QWidget& map) {
        ui::FlagGrid& grid = window.flagMap().grid();
        EXPECT_EQ(grid.cellColour(3), FlagClassColour(FlagClass::ChangedOnly)) << "scene 2 sets flag 3 on load";
        EXPECT_EQ(grid.cellColour(5), FlagClassColour(FlagClass::Free));
        grid.setFocus();
        for (auto key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up, Qt::Key_Up})
            QTest::keyClick(&grid, key);
        EXPECT_EQ(grid.focusedFlag(), 3) << "a move off the grid is refused";
        entered = reportOf([&] { QTest::keyClick(&grid, Qt::Key_Return); });
        report = reportOf([&] { QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.cellRect(3).center()); },
                          [&](QWidget&) { mapUnderneath = map.isVisible(); });
        EXPECT_EQ(state.run.TrackedFlag, 3);
        EXPECT_EQ(state.run.ReportName, "Flags Report");
        summary = reportOf([&] { control(&map, "SummaryButton")->click(); });
        EXPECT_EQ(state.run.ReportName, "Flag Usage Report");
        EXPECT_TRUE(map.isVisible()) << "the map waits for another choice";
    });
    EXPECT_TRUE(mapUnderneath);
    EXPECT_TRUE(entered.value_or("").contains(">>>>>> FLAG # 3 <<<<<<") && entered->endsWith(latin(SeparatorLine)))
        << "not cancelled";
    ASSERT_TRUE(report && summary);
    EXPECT_TRUE(report->contains("\n>>>>>> FLAG # 3 <<<<<<\n(Scene # 2 (Scene 2)) When this scene is loaded, set "
                                 "flag # 3 to value 1\n"));
    EXPECT_TRUE(report->endsWith(latin(SeparatorLine))) << "not cancelled";
    EXPECT_TRUE(summary->contains("\n" + latin(FlagUsageBanner) + "\n"));
    EXPECT_TRUE(summary->contains("\nFlags in use: 3\nFree flags: 252\n"));
    EXPECT_FALSE(state.run.ReportRunning);
    EXPECT_EQ(control<QProgressBar>(&window, "ProgressBar1")->value(), 0);
    EXPECT_EQ(fake.log.size(), 1) << "no message";
}

// The tooltip of a flag tested and changed reads its statements when asked;
// that of a flag tested more often than a gathering keeps statements for
// lists those kept and says how many more there are.
TEST_F(FlagMapTest, TooltipsReadTheirStatementsWhenAskedAndACutShortOneSaysHowManyMore) {
    ProjectBuilder b = trackerProject(12); // scene s sets flag s + 1 on load
    for (SceneRecord& scene : b.scenes)
        std::tie(scene.CondLoadEnabled, scene.CondLoadFlag, scene.CondLoadValue) = std::tuple(1, 7, 1);
    b.scenes[0].CondLoadFlag = 2; // scene 1 tests the flag it sets; the others test flag 7
    locate(b.write(dir / "both"));
    ui::FlagMapWindow& map = window.flagMap();
    ASSERT_TRUE(map.scan());
    const QString expected = "Flag # 2: tested and changed\nIt can be: 0 or 1.\nTests (1):\n  (Scene # 1 (Scene 1)) If flag # 2 = 1 then do "
                             "nothing (no scene chosen to load)\nChanges (1):\n  (Scene # 1 (Scene 1)) When this scene "
                             "is loaded, set flag # 2 to value 1\nClick to track this flag.";
    EXPECT_TRUE(map.grid().toolTipFor(2).contains("(its record could not be read again)")) << "not read yet";
    const QString tip = map.toolTipFor(7);
    EXPECT_TRUE(tip.contains("\nTests (11):\n  (Scene # 2 (Scene 2)) If flag # 7 = 1")) << tip.toStdString();
    EXPECT_EQ(tip.count("If flag # 7 = 1"), 8);
    EXPECT_TRUE(tip.contains("\n  ... and 3 more\nChanges (1):\n")) << tip.toStdString();
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    ui::FlagGrid& grid = map.grid();
    const QPoint at = grid.cellRect(2).center();
    QHelpEvent hover(QEvent::ToolTip, at, grid.mapToGlobal(at));
    QApplication::sendEvent(&grid, &hover);
    QString shown = QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText().replace(QChar::Nbsp, ' ');
    EXPECT_EQ(shown.replace("\n  ", "\n"), QString(expected).replace("\n  ", "\n")) << "as rich text";
    EXPECT_EQ(map.toolTipFor(2), expected);
    EXPECT_EQ(state.run.ReportRunning, false);
    map.hide();
}

TEST_F(FlagMapTest, TheButtonFollowsTheReportButtonsAndAnUnreadableProjectGetsAMessage) {
    window.show();
    auto* button = control(&window, "FlagMapButton");
    EXPECT_TRUE(button->isEnabled() && button->isVisible());
    EXPECT_EQ(button->text(), "Flag map");
    // Below the four visible report buttons.
    for (int i : {0, 1, 3, 4}) EXPECT_GT(button->y(), control(&window, QString("PickReport_%1").arg(i))->y());

    const fs::path scenes = dir / "resource" / "Orvanta1.dat";
    fs::remove(scenes);
    fs::create_directory(scenes); // opening the data files now fails
    bool shown = false;
    const Watch watch = onModal("FlagMap", [&](QWidget& map) { shown = true, map.hide(); });
    button->click();
    QApplication::processEvents();
    EXPECT_FALSE(shown);
    ASSERT_EQ(fake.log.size(), 2);
    EXPECT_TRUE(fake.log[1].startsWith("message (Exclamation) in Main: Orvanta Project Scanner | The flag map could "
                                       "not be made.\r"));
    EXPECT_FALSE(state.run.ReportRunning);

    locate(dir / "absent.orv");
    EXPECT_FALSE(button->isEnabled());
}

TEST_F(FlagMapTest, SavesTheMapAsPngAskingBeforeItOverwrites) {
    ui::FlagMapWindow& map = window.flagMap();
    map.setUsage(handBuiltUsage());
    const QString first = qpath(dir / "map.png"), second = qpath(dir / "other.png");
    fake.script = {first, first, "No", second, first, "Cancel", ""};
    map.saveMap(); // a new file
    map.saveMap(); // exists: No, then another name
    map.saveMap(); // exists: Cancel
    map.saveMap(); // the dialog cancelled
    const QString dialog = "save dialog in FlagMap: Save Flag Map | Flag Map.png | PNG Image (*.png)";
    const QString question = "question (Exclamation, YesNoCancel) in FlagMap: File already exists | Overwrite the "
                             "existing file?";
    EXPECT_EQ(fake.log.mid(1), QStringList({dialog, dialog, question, dialog, dialog, question, dialog}));
    // The picture names the project and the day, on it and in its text fields.
    const QString title = "Harbour Test - Flag map - " + QString::fromStdString(window.reportHost().today());
    for (const QString& file : {first, second}) {
        const QImage saved(file, "PNG");
        EXPECT_EQ(saved.size(), map.mapImage().size()) << file.toStdString();
        EXPECT_GT(saved.width(), map.grid().sizeHint().width());
        const int shown = control<QWidget>(&map, "MapArea")->sizeHint().height(); // the map as the window shows it
        EXPECT_GE(saved.height(), shown + QFontMetrics(map.font()).height()) << "a line more, for the title";
        EXPECT_EQ(saved.text("Title"), title);
    }
}

} // namespace
