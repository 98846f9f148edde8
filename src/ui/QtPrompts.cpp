#include "ui/QtPrompts.h"

#include "ui/CentreOnScreen.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
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

// The first of `choices` that exists, else the documents folder or home.
QString startFolder(std::initializer_list<QString> choices) {
    for (const QString& folder : choices)
        if (!folder.isEmpty() && QDir(folder).exists())
            return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

// A window manager draws the title in its own, often bold and larger, font
// beside its icon and buttons; a box sized for its text alone gets its
// title cut short.
void widenForTitle(QMessageBox& box) {
    QFont titleFont = box.font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    const QFontMetrics metrics(titleFont);
    const int wanted = metrics.horizontalAdvance(box.windowTitle()) + metrics.height() * 6;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

// A message box sizes itself as it shows; then it is placed with room for
// its whole frame, which the toolkit's own placement lets hang off the
// screen's edge by the frame's border.
class MessageBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        centreOnScreen(*this, parentWidget() ? parentWidget()->window() : nullptr);
    }
};

// A file dialog as large as it likes to be, within the screen.
void fitToScreen(QFileDialog& dialog) {
    dialog.resize(fittedToScreen(dialog, dialog.sizeHint()).expandedTo(dialog.minimumSizeHint()));
    centreOnScreen(dialog, dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr);
}

} // namespace

void QtPrompts::showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon) {
    MessageBox box(boxIcon(icon), title, displayText(text), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    widenForTitle(box);
    box.exec();
}

Prompts::Answer QtPrompts::ask(QWidget* parent, const QString& title, const QString& text, Buttons buttons, Icon icon) {
    QMessageBox::StandardButtons choice = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel)
        choice |= QMessageBox::Cancel;
    MessageBox box(boxIcon(icon), title, displayText(text), choice, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    widenForTitle(box);
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
    QFileDialog dialog(parent, title, startFolder({projectFolder_, lastProjectFolder_}), filter);
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    fitToScreen(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void QtPrompts::setProjectFolder(const QString& folder) {
    projectFolder_ = folder;
    if (!folder.isEmpty())
        lastProjectFolder_ = folder;
}

std::optional<QString> QtPrompts::chooseSaveFile(QWidget* parent, const QString& title, const QString& proposedName,
                                                 const QString& filter) {
    QFileDialog dialog(parent, title, startFolder({lastSaveFolder_, projectFolder_}), filter);
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(QFileInfo(proposedName).suffix());
    dialog.selectFile(proposedName);
    fitToScreen(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString file = dialog.selectedFiles().constFirst();
    lastSaveFolder_ = QFileInfo(file).absolutePath();
    return file;
}

} // namespace orv::ui
