#include "support/TempDir.h"
#include "ui/PrintReportText.h"

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <gtest/gtest.h>

#include <optional>

namespace orv::testing {
namespace {

namespace fs = std::filesystem;

// The text of a PDF file as pdftotext reads it; pages end with a form feed.
std::optional<QString> pdfText(const fs::path& pdf) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (program.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(program, {QFile::decodeName(pdf.c_str()), QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct Printed {
    int pages = 0;
    QString text;
    QMarginsF margins;
};

Printed printToPdf(const QString& report, const fs::path& pdf) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QFile::decodeName(pdf.c_str()));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    Printed printed;
    printed.pages = ui::PrintReportText(printer, report);
    printed.margins = printer.pageLayout().margins(QPageLayout::Inch);
    if (auto text = pdfText(pdf))
        printed.text = *text;
    return printed;
}

// The non-empty lines of a text, blanks at their ends removed.
QStringList lines(const QString& text) {
    QStringList out;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("[\\n\\f]"))))
        if (!line.trimmed().isEmpty())
            out.append(line.trimmed());
    return out;
}

TEST(PrintReportText, ALongReportGoesOnSeveralPagesEveryLineOnceInOrder) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not available";
    QStringList reportLines;
    reportLines.append(QStringLiteral("*** Orvanta Project Report ***"));
    for (int i = 1; i <= 240; ++i)
        reportLines.append(QStringLiteral("(Scene # %1 (Quay)) When clicked, set flag # %2 to value 1 - line %3")
                               .arg(i % 40)
                               .arg(i % 255 + 1)
                               .arg(i, 3, 10, QLatin1Char('0')));
    reportLines.append(QString(70, QLatin1Char('=')));
    const QString report = reportLines.join(QLatin1Char('\n'));

    TempDir dir;
    const Printed printed = printToPdf(report, dir / "report.pdf");
    EXPECT_GT(printed.pages, 3);
    EXPECT_EQ(printed.text.count(QLatin1Char('\f')), printed.pages) << "one form feed per page";
    EXPECT_EQ(lines(printed.text).join(QLatin1Char('\n')).toStdString(), lines(report).join(QLatin1Char('\n')).toStdString());
    EXPECT_DOUBLE_EQ(printed.margins.left(), 0.5);
    EXPECT_DOUBLE_EQ(printed.margins.top(), 0.5);
    EXPECT_DOUBLE_EQ(printed.margins.right(), 0.5);
    EXPECT_DOUBLE_EQ(printed.margins.bottom(), 0.5);
}

TEST(PrintReportText, ALineWiderThanThePageWrapsAndLosesNothing) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not available";
    const QString longWord = QString(300, QLatin1Char('x'));
    TempDir dir;
    const Printed printed = printToPdf(QStringLiteral("start\n") + longWord + QStringLiteral("\nend"), dir / "wide.pdf");
    EXPECT_EQ(printed.pages, 1);
    QString flat = printed.text;
    flat.remove(QRegularExpression(QStringLiteral("\\s")));
    EXPECT_EQ(flat, QStringLiteral("start") + longWord + QStringLiteral("end"));
}

TEST(PrintReportText, AnEmptyReportPrintsOnePage) {
    TempDir dir;
    const Printed printed = printToPdf(QString(), dir / "empty.pdf");
    EXPECT_EQ(printed.pages, 1);
    EXPECT_TRUE(fs::exists(dir / "empty.pdf"));
}

} // namespace
} // namespace orv::testing
