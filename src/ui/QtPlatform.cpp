#include "ui/QtPlatform.h"

#include "data/ProgramInfo.h"
#include "ui/PrintReportText.h"
#include "ui/Prompts.h"
#include "ui/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QString>

#ifdef ORVANTA_GIO
#include "ui/GioDesktop.h"
#else
#include <QDesktopServices>
#include <QUrl>
#endif

namespace orv::ui {

void QtClipboard::setText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

bool QtTrash::RecycleFile(const std::filesystem::path& file) {
    const QString name = QFile::decodeName(file.c_str());
    QString reason;
#ifdef ORVANTA_GIO
    const TrashOutcome outcome = MoveToGioTrash(file);
    if (outcome.moved)
        return true;
    reason = QString::fromUtf8(outcome.reason.c_str());
#else
    QFile handle(name);
    if (handle.moveToTrash())
        return true;
    reason = handle.errorString();
#endif
    prompts_.showMessage(QApplication::activeModalWidget(), toQString(ApplicationTitle),
                         QStringLiteral("The file could not be sent to the Trash:\r") + name + QStringLiteral("\r\r") +
                             reason,
                         Prompts::Icon::Exclamation);
    return false;
}

bool QtFileOpener::OpenWithShell(const QString& file) {
    // The desktop may start a program for a name that does not exist and
    // then fail silently; a missing file is refused here instead.
    if (!QFileInfo(file).isFile())
        return false;
#ifdef ORVANTA_GIO
    // GIO says whether a program was found and started; handing the file to
    // xdg-open would count as success whatever became of it.
    return OpenWithGio(QFile::encodeName(file).toStdString()).opened;
#else
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
#endif
}

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
