#include "ui/PrintReportText.h"

#include "ui/ReportFont.h"

#include <QAbstractTextDocumentLayout>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>

namespace orv::ui {

int PrintReportText(QPrinter& printer, const QString& reportText) {
    printer.setFullPage(false);
    // A printer whose hardware margins are wider keeps its own minimum.
    printer.setPageMargins(QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);

    QPainter painter;
    if (!painter.begin(&printer))
        return 0;

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&printer);
    document.setDocumentMargin(0);
    document.setDefaultFont(reportFont());
    QTextOption option;
    // A line longer than the page wraps, even inside a word, so nothing is
    // cut off at the right margin.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    document.setPlainText(reportText);

    // With the page size set, the layout moves a line that would cross the
    // bottom of a page to the next one.
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    document.setPageSize(area.size());
    const int pages = document.pageCount();
    const qreal height = area.height();
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            printer.newPage();
        painter.save();
        painter.translate(0, -page * height);
        document.drawContents(&painter, QRectF(0, page * height, area.width(), height));
        painter.restore();
    }
    painter.end();
    return pages;
}

} // namespace orv::ui
