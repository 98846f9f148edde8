#include "UiHarness.h"

#include "ui/ReportFont.h"

const QString SaveDialog =
    "save dialog in Report: Save Orvanta Project Report | Unused Flags Report.rtf | RichText File (*.rtf)";
const QString Overwrite =
    "question (Exclamation, YesNoCancel) in Report: File already exists | Overwrite the existing file?";

using ReportWindowTest = UiTest;

// The unused flags report from its button. The window copies, prints, and
// saves: a cancelled dialog writes nothing; for an existing file Cancel
// writes nothing, No opens the dialog again, Yes replaces it.
TEST_F(ReportWindowTest, CopiesPrintsAndSavesRtfThatUnrtfReadsBack) {
    locate(trackerProject(3).write(dir / "game"));
    state.run.CancelRequested = true;
    writeFileText(dir / "old.rtf", "old");
    const QString old = qpath(dir / "old.rtf");
    fake.script << "" << old << "Cancel" << old << "No" << qpath(dir / "new.rtf") << old << "Yes";
    bool runningNotCancelled = false, closed = true;
    const auto useButtons = [&](QWidget& report) {
        runningNotCancelled = state.run.ReportRunning && !state.run.CancelRequested;
        closed = window.close();
        EXPECT_TRUE(control(&report, "Command5")->isHidden()) << "the files manager goes with its own report";
        EXPECT_EQ(control<ui::ReportView>(&report, "RLog")->text(), state.text.str());
        for (const char* button : {"Command4", "Command1", "Command2", "Command2", "Command2"})
            control(&report, button)->click();
        EXPECT_EQ(fileText(dir / "old.rtf"), "old") << "a cancelled dialog, Cancel and No leave the file";
        control(&report, "Command2")->click();
    };
    const QString text = reportOf([&] { control(&window, "PickReport_1")->click(); }, useButtons).value_or("");
    EXPECT_TRUE(text.startsWith("*** Orvanta Project Report ***\nDate scanned: "));
    EXPECT_TRUE(text.contains(QString::fromStdString(state.screen.PInfo)) && text.contains(latin(UnusedFlagsBanner)));
    EXPECT_EQ(fake.log.mid(1),
              QStringList({"clipboard: " + text, "print Unused Flags Report: " + text, SaveDialog, SaveDialog,
                           Overwrite, SaveDialog, Overwrite, SaveDialog, SaveDialog, Overwrite}));
    for (const char* file : {"new.rtf", "old.rtf"}) {
        EXPECT_EQ(fileText(dir / file), ReportRtf(text.toStdString()) + "\r\n");
        EXPECT_EQ(unrtfText(dir / file), text.toStdString());
    }
    EXPECT_TRUE(runningNotCancelled) << "the report button clears the cancel request";
    EXPECT_FALSE(closed) << "the main window waits until the report has unwound";
    EXPECT_FALSE(state.run.ReportRunning);
    EXPECT_EQ(control<QProgressBar>(&window, "ProgressBar1")->value(), 0);
    EXPECT_TRUE(state.text.str().empty() && window.close()) << "DONE discards the report";
}

// The unused flags report in a window wide enough for 120-character lines
// where the screen allows, its view the report itself. Ctrl+F, Enter, F3 and
// Shift+F3 find text; Escape closes the find bar and leaves the report open.
// The window's keys, wherever the focus is in it: Ctrl+C copies the
// selection, or the whole report with nothing selected; Ctrl+P prints;
// Ctrl+S saves.
TEST_F(ReportWindowTest, IsWideAndItsKeysFindCopyPrintAndSaveWhereverTheFocusIs) {
    locate(trackerProject(3).write(dir / "game"));
    ASSERT_TRUE(showWindow());
    bool checked = false;
    const QString text = reportOf([&] { window.pickReport(1); }, [&](QWidget& report) {
        ASSERT_TRUE(activated(report));
        auto* view = control<ui::ReportView>(&report, "RLog");
        EXPECT_EQ(view->text().data(), state.text.str().data()) << "no copy of the report";
        if (view->widthForColumns(120) + 40 <= report.screen()->availableGeometry().width()) {
            EXPECT_GE(view->viewport()->width(), 120 * QFontMetrics(ui::reportFont()).horizontalAdvance('M'));
        }
        std::string lower(view->text());
        std::ranges::transform(lower, lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        QTest::keySequence(&report, QKeySequence::Find);
        auto* field = control<QLineEdit>(&report, "FindText");
        ASSERT_TRUE(field->isVisible() && field->hasFocus());
        QTest::keyClicks(field, "count");
        QTest::keyClick(field, Qt::Key_Return);
        const std::size_t first = lower.find("count");
        EXPECT_EQ(view->selectionAnchor(), first);
        EXPECT_EQ(std::string(view->selectedText()), "Count");
        QTest::keySequence(&report, QKeySequence::FindNext);
        EXPECT_EQ(view->selectionAnchor(), lower.find("count", first + 1));
        QTest::keySequence(&report, QKeySequence::FindPrevious);
        QTest::keySequence(&report, QKeySequence::FindPrevious);
        EXPECT_EQ(view->selectionAnchor(), lower.rfind("count")) << "round the start";
        EXPECT_EQ(control<QLabel>(&report, "FindStatus")->text(), "Continued from the bottom");
        field->setText("no such words");
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(control<QLabel>(&report, "FindStatus")->text(), "Not found");
        EXPECT_EQ(std::string(view->selectedText()), "Count") << "the selection stays";
        QTest::keyClick(field, Qt::Key_Escape);
        EXPECT_FALSE(field->isVisible());
        EXPECT_TRUE(report.isVisible() && view->hasFocus());
        for (QWidget* focus : {static_cast<QWidget*>(view), static_cast<QWidget*>(control(&report, "Command3"))}) {
            focus->setFocus();
            view->setSelection(0, 0);
            QTest::keySequence(focus, QKeySequence::Copy);
            view->setSelection(4, 11);
            QTest::keySequence(focus, QKeySequence::Copy);
            QTest::keySequence(focus, QKeySequence::Print);
            fake.script << "";
            QTest::keySequence(focus, QKeySequence::Save);
        }
        checked = true;
    }).value_or("");
    EXPECT_TRUE(checked);
    const QStringList keys{"clipboard: " + text, "clipboard: Orvanta", "print Unused Flags Report: " + text, SaveDialog};
    EXPECT_EQ(fake.log.mid(1), keys + keys);
}

TEST(ReportRtf, EscapesEachCharacterInAFixedPitchDocumentThatUnrtfReadsBackAsTheCommandLineWritesIt) {
    const char* cases[][2] = {
        {"one\ntwo\n\nfour", "one\\par\r\ntwo\\par\r\n\\par\r\nfour"},
        {"a\\b {c}", "a\\\\b \\{c\\}"},
        {"a  b", "a \\'20b"},                                              // every blank kept
        {"Caf\xC3\xA9 \xE2\x80\x93 \xE2\x82\xAC", "Caf\\'e9 \\'96 \\'80"}, // code page 1252
        {"\xE6\x97\xA5\xF0\x9F\x98\x80", "\\u26085?\\u-10179?\\u-8704?"},  // signed 16-bit units
        {"a\xFF\x62", "a\\'ffb"},                                          // not UTF-8: Latin-1
    };
    for (const auto& [text, body] : cases) {
        const std::string rtf = ReportRtf(text);
        EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1252") && rtf.find("\\fmodern\\fprq1") != rtf.npos) << rtf;
        EXPECT_TRUE(rtf.ends_with("\\fs20 " + std::string(body) + "\\par\r\n}")) << rtf;
    }
    const std::string report = std::string(cases[0][0]) + "\n" + cases[1][0] + "\n" + cases[2][0] + "   c";
    TempDir dir;
    EXPECT_FALSE(WriteReportRtf(dir / "no" / "such.rtf", report));
    ASSERT_TRUE(WriteReportRtf(dir / "r.rtf", report));
    EXPECT_EQ(fileText(dir / "r.rtf"), ReportRtf(report) + "\r\n");
    EXPECT_EQ(unrtfText(dir / "r.rtf"), report);

    // orvanta-scan -o FILE.rtf writes the document the report window saves.
    const fs::path project = trackerProject(3).write(dir / "game");
    std::ostringstream out, err;
    for (const char* name : {"flag.txt", "flag.RTF"})
        ASSERT_EQ(runCli({"track-flag", project.string(), "12", "-o", (dir / name).string()}, {out, err, false}), 0);
    std::string text = fileText(dir / "flag.txt");
    ASSERT_TRUE(text.ends_with('\n'));
    text.pop_back();
    EXPECT_EQ(fileText(dir / "flag.RTF"), ReportRtf(text) + "\r\n");
}

// An empty report prints one page, a line wider than the page wraps, a long
// report takes several pages: every line once and in order, none split, with
// half-inch margins. The last stays in the build folder for a look by eye.
TEST(PrintReportText, PrintsAllTheTextInOrder) {
    // Prints `report` on `paper` to a PDF: the pages, and what pdftotext reads of them.
    const auto print = [](const char* pdf, QPageSize::PageSizeId paper, const QString& report) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(renderFile(pdf));
        printer.setPageSize(QPageSize(paper));
        const int pages = ui::PrintReportText(printer, report);
        EXPECT_EQ(printer.pageLayout().margins(QPageLayout::Inch), QMarginsF(0.5, 0.5, 0.5, 0.5));
        return std::pair(pages, toolText("pdftotext", {renderFile(pdf), "-"}).value_or("(no pdftotext)"));
    };
    QStringList lines{"*** Orvanta Project Report ***"};
    for (int i = 1; i <= 240; ++i)
        lines << QString("(Scene # %1 (Quay)) When clicked, set flag # 12 to value 1 - line %2").arg(i % 40).arg(i);
    const auto plain = [](const QString& s) {
        return s.split(QRegularExpression("\\s*[\\n\\f]\\s*"), Qt::SkipEmptyParts).join('\n').trimmed();
    };
    for (const QString& report : {QString(), QString(300, 'x'), lines.join('\n')}) {
        const auto [pages, text] = print("report-print.pdf", QPageSize::Letter, report);
        EXPECT_TRUE(report.size() > 300 ? pages > 2 : pages == 1) << pages;
        EXPECT_EQ(text.count('\f'), pages) << "one form feed per page";
        EXPECT_EQ(report.size() == 300 ? plain(text).remove('\n') : plain(text), plain(report));
    }
    // On A4 as on Letter the reports' 120-character lines print whole, one to a line.
    const QString rule(120, '='), line = "(Scene # 12 (Harbour)) " + QString(97, 'x');
    for (const QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
        const auto [pages, text] = print("report-print-120.pdf", paper, QStringList{rule, line, rule}.join('\n'));
        EXPECT_EQ(pages, 1);
        EXPECT_EQ(text.split(QRegularExpression("[\n\f]+"), Qt::SkipEmptyParts), QStringList({rule, line, rule}))
            << QPageSize(paper).name().toStdString();
    }
    // A printer that cannot print within 0.75" of the top keeps that margin, and half an inch on the other sides.
    TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(qpath(dir / "wide.pdf"));
    const QMarginsF least(0.2, 0.75, 0.2, 0.2);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, least, QPageLayout::Inch, least));
    EXPECT_EQ(ui::PrintReportText(printer, "x"), 1);
    EXPECT_EQ(printer.pageLayout().margins(QPageLayout::Inch), QMarginsF(0.5, 0.75, 0.5, 0.5));
}
