#include "ui/QtPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace orv::ui {

namespace {

// Message texts break lines with CR (sometimes CR LF); a Qt label wants LF.
QString displayText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QMessageBox::Icon boxIcon(Prompts::Icon icon) {
    switch (icon) {
    case Prompts::Icon::Question: return QMessageBox::Question;
    case Prompts::Icon::Exclamation: return QMessageBox::Warning;
    case Prompts::Icon::Critical: return QMessageBox::Critical;
    case Prompts::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString startFolder(const QString& remembered) {
    if (!remembered.isEmpty() && QDir(remembered).exists())
        return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

} // namespace

void QtPrompts::showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon) {
    QMessageBox box(boxIcon(icon), title, displayText(text), QMessageBox::Ok, parent);
    box.exec();
}

Prompts::Answer QtPrompts::ask(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
                               Icon icon) {
    QMessageBox::StandardButtons choice = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel)
        choice |= QMessageBox::Cancel;
    QMessageBox box(boxIcon(icon), title, displayText(text), choice, parent);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: break;
    }
    // Escape or the close box: No where there is no Cancel button.
    return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
}

std::optional<QString> QtPrompts::chooseOpenFile(QWidget* parent, const QString& title, const QString& filter) {
    const QString file = QFileDialog::getOpenFileName(parent, title, startFolder(lastOpenFolder_), filter);
    if (file.isEmpty())
        return std::nullopt;
    lastOpenFolder_ = QFileInfo(file).absolutePath();
    return file;
}

std::optional<QString> QtPrompts::chooseSaveFile(QWidget* parent, const QString& title, const QString& proposedName,
                                                 const QString& filter) {
    QFileDialog dialog(parent, title, startFolder(lastSaveFolder_), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(QFileInfo(proposedName).suffix());
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString file = dialog.selectedFiles().constFirst();
    lastSaveFolder_ = QFileInfo(file).absolutePath();
    return file;
}

} // namespace orv::ui
