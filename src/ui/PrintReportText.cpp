#include "ui/PrintReportText.h"

#include "ui/ReportFont.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>

namespace orv::ui {

int PrintReportText(QPrinter& printer, const QString& reportText) {
    printer.setFullPage(false);
    // A printer whose hardware margin is wider on a side keeps its own
    // minimum there; margins below the minimum would be refused all four
    // together, so each side is raised to it first.
    QPageLayout pageLayout = printer.pageLayout();
    pageLayout.setUnits(QPageLayout::Inch);
    const QMarginsF least = pageLayout.minimumMargins();
    printer.setPageMargins(
        QMarginsF(qMax(0.5, least.left()), qMax(0.5, least.top()), qMax(0.5, least.right()), qMax(0.5, least.bottom())),
        QPageLayout::Inch);

    QPainter painter;
    if (!painter.begin(&printer))
        return 0;

    // Every line of every paragraph is laid out once and drawn once, going
    // to a new page when it would cross the bottom margin; the loop ends
    // with the text.
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal width = area.width();
    const qreal height = area.height();
    // The reports' lines are up to 120 characters long: the font is made
    // small enough for that many between the margins (on A4 too), so that
    // they print unbroken; a longer line still wraps.
    QFont font(reportFont(), &printer);
    const QString widestLine(ReportColumns, QLatin1Char('M'));
    for (int tries = 0; tries < 20; ++tries) {
        const qreal wide = QFontMetricsF(font, &printer).horizontalAdvance(widestLine);
        if (wide <= width)
            break;
        font.setPointSizeF(font.pointSizeF() * qMin(0.99, width / wide));
    }
    QTextOption option;
    // A line longer than the page wraps, even inside a word, so that
    // nothing is cut off at the right margin.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    int pages = 1;
    qreal y = 0;
    for (const QString& paragraph : reportText.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font, &printer);
        layout.setTextOption(option);
        layout.beginLayout();
        qreal lineTop = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, lineTop));
            lineTop += line.height();
        }
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            if (y > 0 && y + line.height() > height) {
                printer.newPage();
                ++pages;
                y = 0;
            }
            line.draw(&painter, QPointF(0, y - line.y()));
            y += line.height();
        }
    }
    painter.end();
    return pages;
}

} // namespace orv::ui
