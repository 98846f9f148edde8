#include "ui/ReportWindow.h"

#include "ui/CentreOnScreen.h"
#include "ui/FilesManager.h"
#include "ui/Platform.h"
#include "ui/ProgramState.h"
#include "ui/Prompts.h"
#include "ui/QtText.h"
#include "ui/ReportFont.h"
#include "ui/ReportView.h"
#include "writers/ReportRtf.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

namespace orv::ui {

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QKeySequence& key = {}) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    if (!key.isEmpty())
        button->setToolTip(key.toString(QKeySequence::NativeText));
    return button;
}

void addShortcut(QWidget* window, const QKeySequence& key, const std::function<void()>& action) {
    auto* shortcut = new QShortcut(key, window);
    QObject::connect(shortcut, &QShortcut::activated, window, action);
}

} // namespace

ReportWindow::ReportWindow(ProgramState& state, Platform& platform, FilesManager& filesManager, QWidget* parent)
    : QDialog(parent), state_(state), platform_(platform), filesManager_(filesManager) {
    setObjectName(QStringLiteral("Report"));
    setWindowTitle(QStringLiteral("Orvanta Project Report"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setModal(true);

    // The view reads the report where it lies: the window keeps no copy.
    rlog_ = new ReportView(this);
    rlog_->setObjectName(QStringLiteral("RLog"));
    rlog_->setFont(reportFont());
    rlog_->setText(state_.text.str());
    rlog_->setCopyHandler([this](const QString& selected) { platform_.clipboard.setText(selected); });

    findBar_ = new QWidget(this);
    findBar_->setObjectName(QStringLiteral("FindBar"));
    auto* findLabel = new QLabel(QStringLiteral("Find:"), findBar_);
    findText_ = new QLineEdit(findBar_);
    findText_->setObjectName(QStringLiteral("FindText"));
    findText_->setMinimumWidth(fontMetrics().averageCharWidth() * 16);
    findLabel->setBuddy(findText_);
    auto* next = makeButton(findBar_, "FindNext", QStringLiteral("Find next"), QKeySequence::FindNext);
    auto* previous = makeButton(findBar_, "FindPrevious", QStringLiteral("Find previous"), QKeySequence::FindPrevious);
    findStatus_ = new QLabel(findBar_);
    findStatus_->setObjectName(QStringLiteral("FindStatus"));
    auto* findRow = new QHBoxLayout(findBar_);
    findRow->setContentsMargins(0, 0, 0, 0);
    findRow->addWidget(findLabel);
    findRow->addWidget(findText_, 1);
    findRow->addWidget(next);
    findRow->addWidget(previous);
    findRow->addWidget(findStatus_, 1);
    findBar_->hide();

    auto* copy = makeButton(this, "Command4", QStringLiteral("Copy report to clipboard"), QKeySequence::Copy);
    auto* save = makeButton(this, "Command2", QStringLiteral("Save report"), QKeySequence::Save);
    auto* print = makeButton(this, "Command1", QStringLiteral("Print Report"), QKeySequence::Print);
    filesManagerButton_ = makeButton(this, "Command5", QStringLiteral("Missing && Unused Files Manager"));
    auto* done = makeButton(this, "Command3", QStringLiteral("DONE"));
    buttons_ = {copy, save, print, filesManagerButton_, done};
    buttonRows_ = new QVBoxLayout;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rlog_, 1);
    layout->addWidget(findBar_);
    layout->addLayout(buttonRows_);
    arrangeButtons(false);

    connect(copy, &QPushButton::clicked, this, &ReportWindow::copyReport);
    connect(save, &QPushButton::clicked, this, &ReportWindow::saveReport);
    connect(print, &QPushButton::clicked, this, &ReportWindow::printReport);
    connect(filesManagerButton_, &QPushButton::clicked, this, [this] { filesManager_.showModal(); });
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    connect(next, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(false); });
    connect(findText_, &QLineEdit::returnPressed, this, [this] { findNext(true); });
    connect(rlog_, &ReportView::searchFinished, this, [this](bool found, bool wrapped) {
        findStatus_->setText(!found         ? QStringLiteral("Not found")
                             : !wrapped     ? QString()
                             : findForward_ ? QStringLiteral("Continued from the top")
                                            : QStringLiteral("Continued from the bottom"));
    });

    // A key in the find field (Ctrl+C there copies its own selection) or in
    // the report: the window's keys work wherever the focus is.
    addShortcut(this, QKeySequence::Copy, [this] {
        if (rlog_->selectedText().empty())
            copyReport();
        else
            rlog_->copySelection();
    });
    addShortcut(this, QKeySequence::Save, [this] { saveReport(); });
    addShortcut(this, QKeySequence::Print, [this] { printReport(); });
    addShortcut(this, QKeySequence::Find, [this] { showFindBar(); });
    addShortcut(this, QKeySequence::FindNext, [this] { findNext(true); });
    addShortcut(this, QKeySequence::FindPrevious, [this] { findNext(false); });

    // Room for the reports' 120-character lines and some 40 lines, within
    // the screen; where one row of buttons is wider than the screen, two.
    const QMargins margins = layout->contentsMargins();
    const QSize room = fittedToScreen(*this, QSize(1 << 20, 1 << 20));
    if (layout->minimumSize().width() > room.width())
        arrangeButtons(true);
    const QSize wanted(rlog_->widthForColumns(ReportColumns) + margins.left() + margins.right(),
                       rlog_->heightForLines(40) + buttonRows_->sizeHint().height() + layout->spacing() +
                           margins.top() + margins.bottom());
    resize(fittedToScreen(*this, wanted.expandedTo(layout->minimumSize())));
}

void ReportWindow::arrangeButtons(bool twoRows) {
    while (QLayoutItem* row = buttonRows_->takeAt(0)) {
        while (QLayoutItem* item = row->layout()->takeAt(0))
            delete item;
        delete row;
    }
    // Left to right, DONE last at the right edge; on two rows the files
    // manager's button starts the second.
    auto* first = new QHBoxLayout;
    auto* second = twoRows ? new QHBoxLayout : first;
    for (QPushButton* button : {buttons_[0], buttons_[1], buttons_[2]})
        first->addWidget(button);
    if (twoRows)
        first->addStretch(1);
    second->addWidget(buttons_[3]);
    second->addStretch(1);
    second->addWidget(buttons_[4]);
    buttonRows_->addLayout(first);
    if (twoRows)
        buttonRows_->addLayout(second);
}

void ReportWindow::setFilesManagerButtonVisible(bool visible) {
    filesManagerButton_->setVisible(visible);
}

void ReportWindow::copyReport() {
    platform_.clipboard.setText(toQString(state_.text.str()));
}

void ReportWindow::saveReport() {
    const QString proposed = toQString(state_.run.ReportName) + QStringLiteral(".rtf");
    for (;;) {
        const std::optional<QString> path = platform_.prompts.chooseSaveFile(
            this, QStringLiteral("Save Orvanta Project Report"), proposed, QStringLiteral("RichText File (*.rtf)"));
        if (!path || path->isEmpty())
            return;
        if (SaveReportFile(*path))
            return;
    }
}

bool ReportWindow::SaveReportFile(const QString& path) {
    switch (askToOverwrite(platform_.prompts, this, path)) {
    case Prompts::Answer::Yes: break;
    case Prompts::Answer::No: return false;
    case Prompts::Answer::Cancel: return true;
    }
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
    // A file that cannot be written ends the save without a message.
    static_cast<void>(WriteReportRtf(file, state_.text.str()));
    QCoreApplication::processEvents();
    return true;
}

void ReportWindow::printReport() {
    platform_.printer.PrintReport(this, toQString(state_.run.ReportName), toQString(state_.text.str()));
}

void ReportWindow::showFindBar() {
    findBar_->show();
    findText_->setFocus(Qt::ShortcutFocusReason);
    findText_->selectAll();
}

void ReportWindow::findNext(bool forward) {
    if (findText_->text().isEmpty()) {
        showFindBar();
        return;
    }
    findBar_->show();
    findForward_ = forward;
    findStatus_->setText(QStringLiteral("Searching..."));
    rlog_->find(findText_->text(), forward);
}

void ReportWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        centreOnScreen(*this, parentWidget() ? parentWidget()->window() : nullptr);
    }
    QDialog::showEvent(event);
}

void ReportWindow::keyPressEvent(QKeyEvent* event) {
    // Escape in the find bar closes the bar, not the report.
    if (event->key() == Qt::Key_Escape && findBar_->isVisible() && findBar_->isAncestorOf(focusWidget())) {
        rlog_->cancelSearch();
        findBar_->hide();
        findStatus_->clear();
        rlog_->setFocus(Qt::OtherFocusReason);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orv::ui
