#include "UiHarness.h"

#include "ui/ReportFont.h"
#include "ui/TextSearch.h"

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

// A search: the match, from where, which way, and whether it went round the
// end; letters match either case, other bytes only themselves. Every case is
// searched in steps of 1, 2, 3 and all positions, so that matches across the
// edges of a step are found as well.
TEST(TextSearch, FindsTheNextOrPreviousMatchGoingRoundTheEndOnce) {
    struct Case {
        const char* text;
        const char* needle;
        std::size_t from;
        bool forward;
        long long match; // -1: none
        bool wrapped;
    };
    const Case cases[] = {
        {"flag # 12 and flag # 120", "FLAG", 0, true, 0, false},
        {"flag # 12 and flag # 120", "flag", 1, true, 14, false},
        {"flag # 12 and flag # 120", "flag", 15, true, 0, true},      // round the end
        {"flag # 12 and flag # 120", "flag", 24, false, 14, false},
        {"flag # 12 and flag # 120", "flag", 14, false, 0, false},     // one starting at `from` is not before it
        {"flag # 12 and flag # 120", "flag", 0, false, 14, true},      // round the start
        {"flag # 12 and flag # 120", "# 120", 0, true, 19, false},    // at the very end
        {"flag # 12 and flag # 120", "# 1200", 0, true, -1, false},
        {"abc", "abcd", 0, true, -1, false},                            // longer than the text
        {"abc", "", 0, true, -1, false},
        {"Caf\xC3\xA9 CAF\xC3\x89", "caf\xC3\xA9", 1, true, 0, true},   // \xC3\xA9 and \xC3\x89 differ
        {"aaaa", "aa", 1, true, 1, false},                              // overlapping matches
        {"aaaa", "aa", 3, false, 2, false},
        {"x\ny", "X\nY", 0, true, 0, false},
    };
    for (const Case& c : cases) {
        for (std::size_t step : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1} << 30}) {
            ui::TextSearch search(c.text, c.needle, c.from, c.forward);
            while (search.step(step) == ui::TextSearch::State::Searching) {}
            const std::string what = std::string(c.text) + " / " + c.needle + " from " + std::to_string(c.from) +
                                     (c.forward ? " forward" : " backward") + ", step " + std::to_string(step);
            ASSERT_EQ(search.state() == ui::TextSearch::State::Found, c.match >= 0) << what;
            if (c.match < 0) continue;
            EXPECT_EQ(search.matchStart(), std::size_t(c.match)) << what;
            EXPECT_EQ(search.wrapped(), c.wrapped) << what;
        }
    }
}

// A search through a report larger than a slice gives way to the window
// between slices; the match is selected once it is found.
TEST_F(ReportViewTest, ASearchThroughALargeReportGoesOnBetweenEvents) {
    const std::size_t lines = 3 * ui::ReportView::SearchSlice / 40;
    std::string text;
    text.reserve(lines * 41 + 20);
    for (std::size_t i = 0; i < lines; ++i) text += "(Scene # 7) When clicked, set flag # 12\n";
    text += "the last line";
    show(text);
    bool eventBetweenSlices = false;
    QList<bool> finished;
    QObject::connect(&view, &ui::ReportView::searchFinished, [&](bool found, bool) { finished << found; });
    QTimer::singleShot(0, &view, [&] { eventBetweenSlices = view.searching(); });
    view.find("LAST LINE", true);
    EXPECT_TRUE(view.searching()) << "the first slice did not reach the end";
    EXPECT_EQ(view.caret(), 0u);
    for (int i = 0; i < 1000 && view.searching(); ++i) QApplication::processEvents();
    EXPECT_TRUE(eventBetweenSlices);
    EXPECT_EQ(finished, QList<bool>{true});
    EXPECT_EQ(view.selectedText(), "last line");
    EXPECT_GT(view.firstVisibleLine() + 20, view.lineCount()) << "scrolled to the match";
}
