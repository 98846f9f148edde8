#include "UiHarness.h"

const QString Title = "Orvanta Project Scanner/ Utility";
const QString LocatePrompt = "Click \"Locate\" button to the right to choose an Orvanta Project to scan.   ------->";
const QString LocateDialog = "open dialog in Main: Locate an Orvanta Project | Orvanta Projects (*.orv)";

// A good project is located, then (the dialog cancelled once) a project file
// whose lock is not its data files' (false) or a missing one (true), which
// shows an unexpected error first; then a project dropped on the window
// loads, and another dropped file is refused.
class LocateTest : public UiTest, public ::testing::WithParamInterface<bool> {
protected:
    int enabledButtons() {
        const auto buttons = window.findChildren<QPushButton*>(QRegularExpression("^PickReport_"));
        return int(std::ranges::count_if(buttons, [](auto* b) { return b->isEnabled(); }));
    }
    QString pathBox() { return control<QLineEdit>(&window, "Text1_0")->text(); }
    QString info() { return control<QPlainTextEdit>(&window, "PInfo")->toPlainText(); }
};

TEST_P(LocateTest, LoadsAProjectOrRestoresPromptAndTitleAndDisablesTheButtons) {
    locate(trackerProject(3).write(dir / "good"));
    fake.script = {""};
    window.locate();
    EXPECT_EQ(fake.log, QStringList({LocateDialog, LocateDialog}));
    EXPECT_EQ(pathBox(), qpath(dir / "good" / "game.orv"));
    EXPECT_TRUE(info().startsWith("Project Location: " + pathBox()) && info().contains("\nScenes Count: 3\n"));
    EXPECT_EQ(window.windowTitle(), Title + " - Harbour Test");
    EXPECT_EQ(enabledButtons(), 5);
    EXPECT_TRUE(control(&window, "PickReport_2")->isHidden());
    EXPECT_EQ(fake.projectFolder, qpath(dir / "good")) << "the file dialogs start in the project's folder";

    state.text.append("a former report");
    const fs::path bad = trackerProject(2).write(dir / "bad");
    writeFileBytes(bad, encodeProjectRecord(999));
    locate(GetParam() ? dir / "absent.orv" : bad);
    EXPECT_EQ(enabledButtons(), 0);
    EXPECT_EQ(pathBox(), LocatePrompt);
    EXPECT_EQ(window.windowTitle(), Title + " v3.1.0");
    EXPECT_TRUE(info().isEmpty());
    EXPECT_TRUE(state.text.str().empty()) << "the former report goes all the same";
    EXPECT_EQ(fake.projectFolder, "") << "no project loaded";
    const QString message = "message (%1) in Main: Orvanta Project Scanner | ";
    const QStringList messages = fake.log.filter(QRegularExpression("^message"));
    ASSERT_EQ(messages.size(), GetParam() ? 2 : 1);
    EXPECT_EQ(messages.back(), message.arg("Exclamation") + QString::fromStdString(std::string(SecurityFailureMessage)));
    const QString unexpected = message.arg("Critical") + "Unexpected error in procedure: ProjLockMatch\r\n";
    EXPECT_TRUE(!GetParam() || messages[0].startsWith(unexpected)) << messages[0].toStdString();

    writeFileText(dir / "notes.txt", "hello");
    window.show();
    for (const fs::path& file : {dir / "notes.txt", trackerProject(1, "Dropped").write(dir / "drop")}) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(qpath(file))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(&window, &enter);
        EXPECT_EQ(enter.isAccepted(), file.extension() == ".orv");
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        if (enter.isAccepted()) QApplication::sendEvent(&window, &drop);
    }
    QApplication::processEvents();
    EXPECT_EQ(window.windowTitle(), Title + " - Dropped");
    EXPECT_EQ(enabledButtons(), 5);
    EXPECT_EQ(fake.log.filter(QRegularExpression("^open dialog")).size(), 3) << "no file dialog for a drop";
}

INSTANTIATE_TEST_SUITE_P(MainWindow, LocateTest, ::testing::Bool(),
                         [](auto& p) { return p.param ? "MissingFile" : "BrokenLock"; });

// The start-up prompt shows whole, and the "..." button says what it does;
// it has the focus when the window opens, and Ctrl+O does what it does.
TEST_F(UiTest, TheStartUpPromptFitsAndTheLocateButtonIsNamedFocusedAndOnCtrlO) {
    ASSERT_TRUE(showWindow());
    EXPECT_EQ(QApplication::focusWidget(), control(&window, "Command1"));
    fake.script << "";
    QTest::keySequence(&window, QKeySequence::Open);
    EXPECT_EQ(fake.log, QStringList{LocateDialog});
    auto* box = control<QLineEdit>(&window, "Text1_0");
    EXPECT_EQ(box->text(), LocatePrompt);
    QStyleOptionFrame option;
    option.initFrom(box);
    const QRect textArea = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    EXPECT_LE(box->fontMetrics().horizontalAdvance(LocatePrompt) + 4, textArea.width()) << "the arrow shows";
    auto* locate = control(&window, "Command1");
    EXPECT_EQ(locate->text(), "...");
    EXPECT_EQ(locate->toolTip(), "Locate");
    EXPECT_EQ(locate->accessibleName(), "Locate");
}
