#include "DesktopHarness.h"
#include "ModalWatcher.h"
#include "TestProjects.h"

#include "data/ProgramInfo.h"
#include "reports/TextConventions.h"
#include "support/FileBytes.h"
#include "support/RecordEncoders.h"
#include "support/TempDir.h"
#include "ui/FilesManager.h"
#include "ui/QtReportHost.h"

#include <QApplication>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>

namespace orv::testing {
namespace {

namespace fs = std::filesystem;
using Kind = PromptRecord::Kind;
using Icon = ui::Prompts::Icon;

const QString VersionedTitle = QStringLiteral("Orvanta Project Scanner/ Utility v3.1.0");
const QString Prompt =
    QStringLiteral("Click \"Locate\" button to the right to choose an Orvanta Project to scan.   ------->");

QPushButton* reportButton(DesktopHarness& h, int index) {
    return control<QPushButton>(&h.window, QStringLiteral("PickReport_%1").arg(index));
}

// The project's .orv file now carries another lock than its data files.
void breakLock(const fs::path& projectFile) {
    writeFileBytes(projectFile, encodeProjectRecord(999));
}

// Closes the report window when it shows, after `check` has looked at it.
ModalWatch closeReportWhenShown(std::function<void(QWidget&)> check = {}) {
    return whenModalShown(QStringLiteral("Report"), [check](QWidget& report) {
        if (check)
            check(report);
        control<QPushButton>(&report, QStringLiteral("Command3"))->click();
    });
}

TEST(MainWindow, StartsWithTheVersionedTitleThePromptAndDisabledButtons) {
    DesktopHarness h;
    EXPECT_EQ(h.window.objectName(), QStringLiteral("Main"));
    EXPECT_EQ(h.window.windowTitle(), VersionedTitle);
    EXPECT_EQ(control<QLineEdit>(&h.window, QStringLiteral("Text1_0"))->text(), Prompt);
    EXPECT_EQ(control<QLabel>(&h.window, QStringLiteral("Label4"))->text(), QStringLiteral("Project path and filename >"));
    auto* locate = control<QPushButton>(&h.window, QStringLiteral("Command1"));
    EXPECT_EQ(locate->text(), QStringLiteral("..."));
    EXPECT_EQ(locate->toolTip(), QStringLiteral("Locate"));
    EXPECT_EQ(control<QGroupBox>(&h.window, QStringLiteral("Frame1"))->title(), QStringLiteral("Project Information"));
    EXPECT_TRUE(control<QPlainTextEdit>(&h.window, QStringLiteral("PInfo"))->toPlainText().isEmpty());
    auto* heading = control<QLabel>(&h.window, QStringLiteral("Label1"));
    EXPECT_EQ(heading->text(), QStringLiteral("What would you like to do?"));
    EXPECT_TRUE(heading->font().bold());
    EXPECT_EQ(control<QGroupBox>(&h.window, QStringLiteral("Frame2"))->title(), QStringLiteral("Scan Progress"));
    EXPECT_EQ(control<QProgressBar>(&h.window, QStringLiteral("ProgressBar1"))->value(), 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(reportButton(h, i)->isEnabled()) << i;
    // The files manager exists, hidden, from the start.
    auto* fileMan = h.window.findChild<QWidget*>(QStringLiteral("FileMan"));
    ASSERT_NE(fileMan, nullptr);
    EXPECT_FALSE(fileMan->isVisible());
}

TEST(MainWindow, ReportButtonsAndExplanationsStandInTheTableOrder) {
    DesktopHarness h;
    h.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&h.window));
    struct Row {
        int button;
        const char* caption;
        int label;
        const char* explanation;
    };
    const Row rows[] = {
        {0, "Scan for missing or unused files", 0, "Scan for missing or unused files in your resource folders."},
        {1, "Scan for unused flags", 1,
         "Scan for unused flags in your project, to see what flags are available so you don't accidentally use one "
         "that is already being used for something else."},
        {3, "Track a flag (scan by flag number)", 2,
         "Track a flag to see what properties reference it. --- Lists all properties (scenes/objects/etc)  that use "
         "that flag.  Also scans flag changes in Cue Cards & Inventory Items."},
        {4, "Track flags that change in a scene", 4,
         "View all flag-related properties for any given scene.  Does NOT scan Cue Cards & Inventory Items!"},
        {2, "Scene Properties", 3, "List the properties for a scene and its objects."},
    };
    int lastTop = -1;
    for (const Row& row : rows) {
        QPushButton* button = reportButton(h, row.button);
        QLabel* label = control<QLabel>(&h.window, QStringLiteral("Label2_%1").arg(row.label));
        EXPECT_EQ(button->text(), QLatin1String(row.caption));
        EXPECT_EQ(label->text(), QLatin1String(row.explanation));
        if (row.button == 2) {
            EXPECT_TRUE(button->isHidden());
            EXPECT_TRUE(label->isHidden());
            continue;
        }
        EXPECT_TRUE(button->isVisible());
        EXPECT_GT(button->y(), lastTop) << row.caption;
        EXPECT_GT(label->x(), button->x() + button->width() - 1) << "explanation right of its button";
        lastTop = button->y();
    }
}

TEST(MainWindow, LocateLoadsTheProjectAndEnablesTheReports) {
    TempDir dir;
    const fs::path projectFile = trackerProject(3).write(dir.path());
    DesktopHarness h;
    h.locate(projectFile);

    ASSERT_EQ(h.prompts.records.size(), 1u);
    const PromptRecord& dialog = h.prompts.records[0];
    EXPECT_EQ(dialog.kind, Kind::OpenFile);
    EXPECT_EQ(dialog.title, QStringLiteral("Locate an Orvanta Project"));
    EXPECT_EQ(dialog.filter, QStringLiteral("Orvanta Projects (*.orv)"));

    EXPECT_EQ(control<QLineEdit>(&h.window, QStringLiteral("Text1_0"))->text(),
              QString::fromStdString(projectFile.string()));
    const QString info = control<QPlainTextEdit>(&h.window, QStringLiteral("PInfo"))->toPlainText();
    EXPECT_EQ(info, QString::fromStdString(h.state.project.PInfo));
    EXPECT_TRUE(info.startsWith(QStringLiteral("Project Location: ") + QString::fromStdString(projectFile.string())));
    EXPECT_TRUE(info.contains(QStringLiteral("\nScenes Count: 3\n")));
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Orvanta Project Scanner/ Utility - Harbour Test"));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(reportButton(h, i)->isEnabled()) << i;
    EXPECT_TRUE(reportButton(h, 2)->isHidden());
}

TEST(MainWindow, CancellingTheDialogKeepsTheLoadedProject) {
    TempDir dir;
    DesktopHarness h;
    h.locate(trackerProject(2).write(dir.path()));
    const QString title = h.window.windowTitle();
    const std::string info = h.state.project.PInfo;
    h.prompts.files.push_back(QString());
    h.window.locate();
    EXPECT_EQ(h.window.windowTitle(), title);
    EXPECT_EQ(h.state.project.PInfo, info);
    EXPECT_TRUE(reportButton(h, 0)->isEnabled());
}

TEST(MainWindow, AFailedLoadRestoresPromptAndTitleAndDisablesTheButtons) {
    TempDir good, bad;
    DesktopHarness h;
    h.locate(trackerProject(2).write(good.path()));
    ASSERT_TRUE(reportButton(h, 0)->isEnabled());
    h.state.text.append("a former report");
    h.state.lists.UnusedGfx = {"old.bmp"};

    const fs::path badFile = trackerProject(2, "Broken").write(bad.path());
    breakLock(badFile);
    h.locate(badFile);

    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(reportButton(h, i)->isEnabled()) << i;
    EXPECT_EQ(control<QLineEdit>(&h.window, QStringLiteral("Text1_0"))->text(), Prompt);
    EXPECT_TRUE(control<QPlainTextEdit>(&h.window, QStringLiteral("PInfo"))->toPlainText().isEmpty());
    EXPECT_EQ(h.window.windowTitle(), VersionedTitle);
    EXPECT_TRUE(h.state.text.str().empty()) << "the former report is dropped even though the load failed";
    EXPECT_TRUE(h.state.lists.UnusedGfx.empty());

    const PromptRecord& message = h.prompts.records.back();
    EXPECT_EQ(message.kind, Kind::Message);
    EXPECT_EQ(message.title, QStringLiteral("Orvanta Project Scanner"));
    EXPECT_EQ(message.icon, Icon::Exclamation);
    EXPECT_EQ(message.text, QString::fromStdString(securityFailureMessage()));
    EXPECT_EQ(message.window, QStringLiteral("Main"));
}

TEST(MainWindow, AnUnexpectedErrorIsShownBeforeTheSecurityFailure) {
    TempDir dir;
    trackerProject(1).write(dir.path());
    DesktopHarness h;
    h.locate(dir / "absent.orv");
    std::vector<PromptRecord> messages;
    for (const PromptRecord& r : h.prompts.records)
        if (r.kind == Kind::Message)
            messages.push_back(r);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].icon, Icon::Critical);
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("Unexpected error in procedure: ProjLockMatch\r\n")))
        << messages[0].text.toStdString();
    EXPECT_EQ(messages[0].title, QStringLiteral("Orvanta Project Scanner"));
    EXPECT_EQ(messages[1].icon, Icon::Exclamation);
    EXPECT_EQ(messages[1].text, QString::fromStdString(securityFailureMessage()));
    EXPECT_FALSE(reportButton(h, 0)->isEnabled());
}

TEST(MainWindow, ANewLocateAfterAFailureEnablesTheButtonsAgain) {
    TempDir bad, good;
    const fs::path badFile = trackerProject(1).write(bad.path());
    breakLock(badFile);
    DesktopHarness h;
    h.locate(badFile);
    ASSERT_FALSE(reportButton(h, 1)->isEnabled());
    h.locate(trackerProject(1, "Second Try").write(good.path()));
    EXPECT_TRUE(reportButton(h, 1)->isEnabled());
    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Orvanta Project Scanner/ Utility - Second Try"));
}

TEST(MainWindow, DroppingAProjectFileLocatesIt) {
    TempDir dir;
    const fs::path projectFile = trackerProject(2, "Dropped").write(dir.path());
    DesktopHarness h;
    h.window.show();

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(projectFile.string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&h.window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&h.window, &drop);
    QApplication::processEvents();

    EXPECT_EQ(h.window.windowTitle(), QStringLiteral("Orvanta Project Scanner/ Utility - Dropped"));
    EXPECT_TRUE(reportButton(h, 0)->isEnabled());
    EXPECT_TRUE(h.prompts.records.empty()) << "no file dialog for a drop";
}

TEST(MainWindow, OtherDroppedFilesAreRefused) {
    TempDir dir;
    writeFileText(dir / "notes.txt", "hello");
    DesktopHarness h;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString((dir / "notes.txt").string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(&h.window, &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST(MainWindow, TheUnusedFlagsButtonRunsItsReportIntoTheReportWindow) {
    TempDir dir;
    DesktopHarness h;
    h.locate(trackerProject(2).write(dir.path()));
    h.state.run.CancelRequested = true;
    bool shown = false;
    const ModalWatch watch = closeReportWhenShown([&](QWidget& report) {
        shown = true;
        const QString text = control<QPlainTextEdit>(&report, QStringLiteral("RLog"))->toPlainText();
        EXPECT_TRUE(text.startsWith(QStringLiteral("*** Orvanta Project Report ***\nDate scanned: ")));
        EXPECT_TRUE(text.contains(QString::fromStdString(h.state.project.PInfo)));
        EXPECT_TRUE(text.contains(QLatin1String(UnusedFlagsBanner.data(), UnusedFlagsBanner.size())));
        EXPECT_TRUE(report.findChild<QPushButton*>(QStringLiteral("Command5"))->isHidden());
        EXPECT_TRUE(h.state.run.ReportRunning) << "a run from the main window is marked as running too";
        EXPECT_FALSE(h.state.run.CancelRequested) << "cleared by the report button";
    });
    reportButton(h, 1)->click();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(h.state.run.ReportRunning);
    EXPECT_EQ(control<QProgressBar>(&h.window, QStringLiteral("ProgressBar1"))->value(), 0);
    EXPECT_TRUE(h.state.text.str().empty()) << "DONE discards the report";
    EXPECT_EQ(h.state.run.ReportName, "Unused Flags Report");
}

TEST(MainWindow, TheResourceFilesButtonOffersTheFilesManager) {
    TempDir dir;
    DesktopHarness h;
    h.locate(filesProject().write(dir.path()));
    bool shown = false;
    const ModalWatch watch = closeReportWhenShown([&](QWidget& report) {
        shown = true;
        EXPECT_FALSE(report.findChild<QPushButton*>(QStringLiteral("Command5"))->isHidden());
    });
    reportButton(h, 0)->click();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(h.state.lists.UnusedGfx.empty());
}

TEST(MainWindow, ClosingEndsTheProgramOnlyWhenNothingRuns) {
    DesktopHarness h;
    h.window.show();
    h.state.run.ReportRunning = true;
    EXPECT_FALSE(h.window.close());
    EXPECT_TRUE(h.window.isVisible());
    h.state.run.ReportRunning = false;
    EXPECT_TRUE(h.window.close());
    EXPECT_FALSE(h.window.isVisible());
}

} // namespace
} // namespace orv::testing
