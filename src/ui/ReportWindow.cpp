#include "ui/ReportWindow.h"

#include "ui/CentreOnScreen.h"
#include "ui/Clipboard.h"
#include "ui/FilesManager.h"
#include "ui/Platform.h"
#include "ui/ProgramState.h"
#include "ui/Prompts.h"
#include "ui/QtText.h"
#include "ui/ReportFont.h"
#include "ui/ReportPrinter.h"
#include "ui/ReportView.h"
#include "writers/ReportRtf.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

namespace orv::ui {

namespace {

constexpr int ReportColumns = 120;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
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

    auto* copy = makeButton(this, "Command4", QStringLiteral("Copy report to clipboard"));
    auto* save = makeButton(this, "Command2", QStringLiteral("Save report"));
    auto* print = makeButton(this, "Command1", QStringLiteral("Print Report"));
    filesManagerButton_ = makeButton(this, "Command5", QStringLiteral("Missing && Unused Files Manager"));
    auto* done = makeButton(this, "Command3", QStringLiteral("DONE"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addWidget(save);
    buttons->addWidget(print);
    buttons->addWidget(filesManagerButton_);
    buttons->addStretch(1);
    buttons->addWidget(done);

    auto* layout = new QVBoxLayout(scrollingContents(*this));
    layout->addWidget(rlog_, 1);
    layout->addLayout(buttons);

    connect(copy, &QPushButton::clicked, this, &ReportWindow::copyReport);
    connect(save, &QPushButton::clicked, this, &ReportWindow::saveReport);
    connect(print, &QPushButton::clicked, this, &ReportWindow::printReport);
    connect(filesManagerButton_, &QPushButton::clicked, this, [this] { filesManager_.showModal(); });
    connect(done, &QPushButton::clicked, this, &QDialog::accept);

    // Room for the reports' 120-character lines and some 40 lines, within
    // the screen.
    const QMargins margins = layout->contentsMargins();
    const QSize wanted(rlog_->widthForColumns(ReportColumns) + margins.left() + margins.right(),
                       rlog_->heightForLines(40) + buttons->sizeHint().height() + layout->spacing() + margins.top() +
                           margins.bottom());
    resize(fittedToScreen(*this, wanted));
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
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
    std::error_code error;
    if (std::filesystem::is_regular_file(file, error)) {
        switch (platform_.prompts.ask(this, QStringLiteral("File already exists"),
                                      QStringLiteral("Overwrite the existing file?"), Prompts::Buttons::YesNoCancel,
                                      Prompts::Icon::Exclamation)) {
        case Prompts::Answer::Yes: break;
        case Prompts::Answer::No: return false;
        case Prompts::Answer::Cancel: return true;
        }
    }
    // A file that cannot be written ends the save without a message.
    static_cast<void>(WriteReportRtf(file, state_.text.str()));
    QCoreApplication::processEvents();
    return true;
}

void ReportWindow::printReport() {
    platform_.printer.PrintReport(this, toQString(state_.run.ReportName), toQString(state_.text.str()));
}

} // namespace orv::ui
