#include "ui/QtReportPrinter.h"

#include "ui/PrintReportText.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace orv::ui {

void QtReportPrinter::PrintReport(QWidget* parent, const QString& documentName, const QString& reportText) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (!defaultPrinter.isNull()) {
        QPrinter printer(defaultPrinter, QPrinter::HighResolution);
        printer.setDocName(documentName);
        PrintReportText(printer, reportText);
        return;
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    printer.setOutputFileName(QDir(folder).filePath(documentName + QStringLiteral(".pdf")));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Report"));
    if (dialog.exec() == QDialog::Accepted)
        PrintReportText(printer, reportText);
}

} // namespace orv::ui
