#include "UiHarness.h"

// Every window fits the screen it opens on, at whatever scale the test runs
// (QT_SCALE_FACTOR; CTest runs these at 1, 1.5 and 2 on a 1280 x 800
// screen): it lies wholly inside the available area, and where its contents
// are larger, they scroll. At scale 1 the main window shows all of itself.
static void expectFits(QWidget& window, const char* name) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << name;
    QApplication::processEvents();
    const QRect area = window.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(window.frameGeometry()))
        << name << ": " << window.frameGeometry().width() << "x" << window.frameGeometry().height() << " on "
        << area.width() << "x" << area.height();
    if (auto* scroller = window.findChild<QScrollArea*>("WindowContents", Qt::FindDirectChildrenOnly)) {
        const QSize inside = scroller->widget()->size();
        const QSize shown = scroller->viewport()->size();
        EXPECT_TRUE(inside.width() <= shown.width() || scroller->horizontalScrollBar()->isVisible()) << name;
        EXPECT_TRUE(inside.height() <= shown.height() || scroller->verticalScrollBar()->isVisible()) << name;
        EXPECT_EQ(scroller->horizontalScrollBar()->maximum(), std::max(0, inside.width() - shown.width())) << name;
    }
}

using ScreenFit = UiTest;

TEST_F(ScreenFit, EveryWindowLiesOnTheScreenAndScrollsWhatItCannotShow) {
    expectFits(window, "Main");
    if (window.screen()->availableGeometry().width() >= 1280 && window.devicePixelRatio() == 1) {
        auto* scroller = window.findChild<QScrollArea*>("WindowContents");
        ASSERT_TRUE(scroller);
        EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible() || scroller->verticalScrollBar()->isVisible())
            << "at 100% the main window shows all of itself";
    }
    locate(filesProject().write(dir.path()));
    expectFits(window.flagPicker(), "FlagToTrack");
    window.flagPicker().hide();
    expectFits(window.scenePicker(), "SceneTrack");
    window.scenePicker().hide();
    bool checked = false;
    reportOf([&] { window.pickReport(0); }, [&](QWidget& report) {
        expectFits(report, "Report");
        const Watch watch = onModal("FileMan", [&](QWidget& fileMan) {
            expectFits(fileMan, "FileMan");
            auto* exit = control(&fileMan, "Command1");
            auto* scroller = fileMan.findChild<QScrollArea*>("WindowContents");
            ASSERT_TRUE(scroller);
            scroller->ensureWidgetVisible(exit);
            EXPECT_TRUE(exit->visibleRegion().boundingRect().size() == exit->size()) << "Exit Files Manager can be reached";
            control(&fileMan, "Command1")->click();
            checked = true;
        });
        control(&report, "Command5")->click();
    });
    EXPECT_TRUE(checked);
}
