#include "DesktopHarness.h"
#include "ModalWatcher.h"
#include "TestProjects.h"

#include "support/Paths.h"
#include "support/TempDir.h"
#include "ui/FilesManager.h"
#include "ui/FlagPicker.h"
#include "ui/PrintReportText.h"
#include "ui/ScenePicker.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace orv::testing {
namespace {

// Pictures of every window for a look by eye, written to the build folder
// (or to ORVANTA_UI_RENDER_DIR when set, as the high-DPI run does).
QString renderFolder() {
    const QByteArray chosen = qgetenv("ORVANTA_UI_RENDER_DIR");
    const QString folder = chosen.isEmpty() ? QStringLiteral(ORVANTA_UI_RENDER_DIR) : QString::fromLocal8Bit(chosen);
    QDir().mkpath(folder);
    return folder;
}

void render(QWidget& window, const char* name) {
    if (!window.isVisible())
        window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window)) << name;
    QApplication::processEvents();
    const QString file = QDir(renderFolder()).filePath(QLatin1String(name) + QStringLiteral(".png"));
    const QPixmap picture = window.grab();
    EXPECT_FALSE(picture.isNull()) << name;
    EXPECT_TRUE(picture.save(file)) << file.toStdString();
}

ProjectBuilder lighthouse() {
    ProjectBuilder b = filesProject();
    b.settings.ProjectName = "The Lighthouse";
    b.scenes[0].SceneName = "Harbour Quay";
    b.scenes[1].SceneName = "Lamp Room";
    return b;
}

TEST(RenderWindows, EveryWindow) {
    TempDir dir;
    DesktopHarness h;
    render(h.window, "main-start");
    h.locate(lighthouse().write(dir.path()));
    render(h.window, "main-loaded");

    ui::FlagPicker& flags = h.window.flagPicker();
    render(flags, "flag-picker");
    flags.hide();
    ui::ScenePicker& scenes = h.window.scenePicker();
    scenes.setPrompt(QStringLiteral("View flags for which scene?"));
    render(scenes, "scene-picker");
    scenes.hide();

    bool reportShown = false;
    const ModalWatch watch = whenModalShown(QStringLiteral("Report"), [&](QWidget& report) {
        reportShown = true;
        render(report, "report-window");
        const ModalWatch manager = whenModalShown(QStringLiteral("FileMan"), [&](QWidget& fileMan) {
            auto* pictures = control<QListWidget>(&fileMan, QStringLiteral("List3"));
            const auto boat = pictures->findItems(QStringLiteral("boat.bmp"), Qt::MatchExactly);
            if (!boat.isEmpty())
                QTest::mouseClick(pictures->viewport(), Qt::LeftButton, {},
                                  pictures->visualItemRect(boat.first()).center());
            auto* media = control<QListWidget>(&fileMan, QStringLiteral("List4"));
            if (media->count() > 1) {
                media->item(0)->setSelected(true);
                media->item(1)->setSelected(true);
            }
            render(fileMan, "files-manager");
            control<QPushButton>(&fileMan, QStringLiteral("Command1"))->click();
        });
        control<QPushButton>(&report, QStringLiteral("Command5"))->click();
        control<QPushButton>(&report, QStringLiteral("Command3"))->click();
    });
    h.window.pickReport(0);
    EXPECT_TRUE(reportShown);
}

TEST(RenderWindows, TheSampleProject) {
    const std::filesystem::path sample = std::filesystem::path(ExamplesDir) / "lighthouse" / "lighthouse.orv";
    if (!std::filesystem::exists(sample))
        GTEST_SKIP() << "no sample project";
    DesktopHarness h;
    h.locate(sample);
    EXPECT_EQ(h.prompts.records.size(), 1u) << "no message after the file dialog";
    EXPECT_TRUE(h.state.project.Loaded);
    render(h.window, "main-sample");

    // The printed form of a long report, as a PDF beside the pictures.
    const ModalWatch watch = whenModalShown(QStringLiteral("Report"), [&](QWidget& report) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(renderFolder()).filePath(QStringLiteral("report-print.pdf")));
        EXPECT_GT(ui::PrintReportText(printer, QString::fromStdString(h.state.text.str())), 1);
        control<QPushButton>(&report, QStringLiteral("Command3"))->click();
    });
    h.prompts.answers = {ui::Prompts::Answer::Yes};
    h.window.flagPicker().trackAllFlags();
}

} // namespace
} // namespace orv::testing
