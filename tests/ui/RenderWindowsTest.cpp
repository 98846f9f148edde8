#include "UiHarness.h"

#include "ui/FlagMapWindow.h"

// Pictures of every window, in the build folder, for a look by eye.

static void render(QWidget& window, const char* name) {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window)) << name;
    QApplication::processEvents();
    EXPECT_TRUE(window.grab().save(renderFile(QString(name) + ".png"))) << name;
}

using RenderWindows = UiTest;

TEST_F(RenderWindows, EveryWindow) {
    render(window, "main-start");
    locate(filesProject().write(dir.path()));
    render(window, "main-loaded");
    render(window.flagPicker(), "flag-picker");
    window.flagPicker().hide();
    window.scenePicker().setPrompt("View flags for which scene?");
    render(window.scenePicker(), "scene-picker");
    window.scenePicker().hide();

    // The files manager opens over the resource files report; Exit hides it.
    bool exited = false;
    const auto showFilesManager = [&](QWidget& report) {
        render(report, "report-window");
        const Watch watch = onModal("FileMan", [&](QWidget& fileMan) {
            auto* pictures = control<QListWidget>(&fileMan, "List3");
            pictures->setCurrentItem(pictures->findItems("boat.bmp", {}).value(0));
            window.filesManager().previewCurrentPicture();
            control<QListWidget>(&fileMan, "List4")->selectAll();
            render(fileMan, "files-manager");
            control(&fileMan, "Command1")->click();
            exited = !fileMan.isVisible() && report.isVisible();
        });
        EXPECT_TRUE(control(&report, "Command5")->isVisible());
        control(&report, "Command5")->click();
    };
    EXPECT_TRUE(reportOf([&] { window.pickReport(0); }, showFilesManager));
    EXPECT_TRUE(exited);

    const fs::path sample = fs::path(ExamplesDir) / "lighthouse" / "lighthouse.orv";
    if (!fs::exists(sample)) GTEST_SKIP() << "no sample project";
    locate(sample);
    EXPECT_EQ(fake.log.size(), 2) << "no message after the file dialog";
    render(window, "main-sample");
    withModal("FlagMap", "CloseButton", [&] { control(&window, "FlagMapButton")->click(); },
              [&](QWidget& map) {
                  render(map, "flag-map");
                  EXPECT_TRUE(window.flagMap().mapImage().save(renderFile("flag-map-picture.png")));
              });
    withModal("PuzzleChart", "CloseButton", [&] { control(&window, "PuzzleChartButton")->click(); },
              [&](QWidget& chart) { render(chart, "puzzle-chart"); });
}
