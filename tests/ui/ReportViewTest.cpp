#include "UiHarness.h"

#include "ui/CentreOnScreen.h"
#include "ui/ReportFont.h"

// The report view reads the report where it lies, lays out lines without
// wrapping them, and selects and copies with the keyboard and the mouse.
class ReportViewTest : public ::testing::Test {
protected:
    ReportViewTest() {
        view.setFont(ui::reportFont());
        view.resize(view.widthForColumns(40), view.heightForLines(10));
        view.setCopyHandler([this](const QString& text) { copied << text; });
    }
    void show(const std::string& text) {
        report = text;
        view.setText(report);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.setFocus();
    }
    // Just right of the left edge of character `column` of line `row`.
    QPoint at(int row, int column) {
        const QFontMetrics metrics(view.font());
        return {4 + column * metrics.horizontalAdvance('M') + 1,
                4 + row * metrics.lineSpacing() + metrics.lineSpacing() / 2};
    }
    std::string report;
    ui::ReportView view;
    QStringList copied;
};

TEST_F(ReportViewTest, ShowsTheTextInPlaceOneLinePerLineFeedWithoutWrapping) {
    const std::string longLine(300, 'x');
    show("*** Orvanta Project Report ***\nCaf\xC3\xA9 \xE2\x82\xAC\n\n" + longLine + "\nlast");
    EXPECT_EQ(view.text().data(), report.data()) << "no copy of the report";
    ASSERT_EQ(view.lineCount(), 5u);
    EXPECT_EQ(view.line(1), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(view.line(2), "");
    EXPECT_EQ(view.line(3), longLine);
    EXPECT_EQ(view.line(4), "last");
    EXPECT_EQ(view.longestLine(), 300u);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(),
              300 * QFontMetrics(view.font()).horizontalAdvance('M') + 2 * 4 - view.viewport()->width())
        << "the long line scrolls sideways";
    EXPECT_EQ(view.toPlainText(), QString::fromStdString(report));
    view.setText("");
    EXPECT_EQ(view.lineCount(), 1u);
}

TEST_F(ReportViewTest, AReportOfAMillionLinesScrollsToItsEnd) {
    std::string text;
    for (int i = 0; i < 1000000; ++i) text += "(Scene # " + std::to_string(i) + ") When clicked, set flag # 12\n";
    show(text);
    ASSERT_EQ(view.lineCount(), 1000001u);
    EXPECT_EQ(view.line(999999), "(Scene # 999999) When clicked, set flag # 12");
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.caret(), report.size());
    EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
    EXPECT_GT(view.firstVisibleLine(), 999980u);
    EXPECT_FALSE(view.grab().isNull());
}

TEST_F(ReportViewTest, TheKeyboardSelectsAndCopiesWholeCharacters) {
    show("alpha\nb\xC3\xA9ta\ngamma delta");
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
    QTest::keySequence(&view, QKeySequence::Copy);
    QTest::keyClick(&view, Qt::Key_Home);
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keySequence(&view, QKeySequence::Copy);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keySequence(&view, QKeySequence::Copy);
    QTest::keySequence(&view, QKeySequence::SelectAll);
    QTest::keySequence(&view, QKeySequence::Copy);
    EXPECT_EQ(copied, QStringList({"b\xC3\xA9ta", "\xC3\xA9", "\xC3\xA9ta\nga", QString::fromStdString(report)}));
}

TEST_F(ReportViewTest, TheMouseSelectsByDraggingAndWordsByDoubleClicking) {
    show("alpha beta\ngamma delta\nepsilon");
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at(0, 6));
    QMouseEvent move(QEvent::MouseMove, at(1, 5), view.viewport()->mapToGlobal(at(1, 5)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at(1, 5));
    EXPECT_EQ(view.selectedText(), "beta\ngamma");
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at(1, 8));
    EXPECT_EQ(view.selectedText(), "delta");
    view.copySelection();
    EXPECT_EQ(copied, QStringList{"delta"});
}

// The report window opens wide enough for 120-character lines where the
// screen allows, and never wider than the screen; its view is the report.
TEST_F(UiTest, TheReportWindowOpensWideEnoughForTheReportsLines) {
    locate(trackerProject(3).write(dir.path()));
    window.show();
    bool checked = false;
    reportOf([&] { window.pickReport(1); }, [&](QWidget& report) {
        auto* view = control<ui::ReportView>(&report, "RLog");
        EXPECT_EQ(view->text().data(), state.text.str().data()) << "no copy of the report";
        const QRect screen = report.screen()->availableGeometry();
        const int wanted = 120 * QFontMetrics(ui::reportFont()).horizontalAdvance('M');
        if (view->widthForColumns(120) + 40 <= screen.width()) {
            EXPECT_GE(view->viewport()->width(), wanted);
        }
        EXPECT_TRUE(screen.contains(report.frameGeometry())) << report.frameGeometry().width();
        checked = true;
    });
    EXPECT_TRUE(checked);
}
