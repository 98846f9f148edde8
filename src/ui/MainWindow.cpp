#include "ui/MainWindow.h"

#include "data/LoadProject.h"
#include "data/ProgramInfo.h"
#include "data/ProjLockMatch.h"
#include "reports/RunReport.h"
#include "ui/CentreOnScreen.h"
#include "ui/FilesManager.h"
#include "ui/FlagMapWindow.h"
#include "ui/FlagPicker.h"
#include "ui/FocusMark.h"
#include "ui/Platform.h"
#include "ui/ProgramState.h"
#include "ui/Prompts.h"
#include "ui/PuzzleChartWindow.h"
#include "ui/QtReportHost.h"
#include "ui/QtText.h"
#include "ui/ReportLauncher.h"
#include "ui/ScenePicker.h"
#include "ui/Wording.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace orv::ui {

namespace {

struct ReportButton {
    int index;
    const char* caption;
    const char* explanation;
    int explanationIndex;
};

// Top to bottom; the last row (button 2, label 3) is built hidden.
constexpr ReportButton ReportButtons[5] = {
    {0, "Scan for missing or unused files", "Scan for missing or unused files in your resource folders.", 0},
    {1, "Scan for unused flags",
     "Scan for unused flags in your project, to see what flags are available so you don't accidentally use one that "
     "is already being used for something else.",
     1},
    {3, "Track a flag (scan by flag number)",
     "Track a flag to see what properties reference it. --- Lists all properties (scenes/objects/etc)  that use that "
     "flag.  Also scans flag changes in Cue Cards & Inventory Items.",
     2},
    {4, "Track flags that change in a scene",
     "View all flag-related properties for any given scene.  Does NOT scan Cue Cards & Inventory Items!", 4},
    {2, "Scene Properties", "List the properties for a scene and its objects.", 3},
};

// A local file of the kind the Locate button asks for, from a drag.
QString droppedProject(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString file = url.toLocalFile();
        if (QFileInfo(file).suffix().compare(QLatin1String("orv"), Qt::CaseInsensitive) == 0 &&
            QFileInfo(file).isFile())
            return file;
    }
    return {};
}

// The project information panel: read-only text, which shows no caret, with
// the mark of the focus.
class InfoPanel : public QPlainTextEdit {
  public:
    using QPlainTextEdit::QPlainTextEdit;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPlainTextEdit::paintEvent(event);
        if (hasFocus()) {
            QPainter painter(viewport());
            paintFocusMark(painter, viewport()->rect(), palette());
        }
    }
    void focusInEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusInEvent(event);
        viewport()->update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusOutEvent(event);
        viewport()->update();
    }
};

} // namespace

MainWindow::MainWindow(ProgramState& state, Platform& platform, QWidget* parent)
    : QWidget(parent), state_(state), platform_(platform) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(toQString(state_.screen.Caption));
    setAcceptDrops(true);

    const int charWidth = fontMetrics().averageCharWidth();

    pathCaption_ = new QLabel(QStringLiteral("Project path and filename >"), this);
    pathCaption_->setObjectName(QStringLiteral("Label4"));
    pathBox_ = new QLineEdit(this);
    pathBox_->setObjectName(QStringLiteral("Text1_0"));
    pathBox_->setReadOnly(true);
    // The start-up prompt shows whole, arrow included.
    pathBox_->setMinimumWidth(pathBox_->fontMetrics().horizontalAdvance(toQString(PathPrompt)) + charWidth * 2 +
                              2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, pathBox_));
    locateButton_ = new QPushButton(QStringLiteral("..."), this);
    locateButton_->setObjectName(QStringLiteral("Command1"));
    locateButton_->setToolTip(QStringLiteral("Locate"));
    locateButton_->setAccessibleName(QStringLiteral("Locate"));
    locateButton_->setFixedWidth(charWidth * 5 + 8);
    pathCaption_->setBuddy(locateButton_);

    pathRow_ = new QGridLayout;
    pathRow_->addWidget(pathCaption_, 0, 0);
    pathRow_->addWidget(pathBox_, 0, 1);
    pathRow_->addWidget(locateButton_, 0, 2);
    pathRow_->setColumnStretch(1, 1);

    auto* infoFrame = new QGroupBox(QStringLiteral("Project Information"), this);
    infoFrame->setObjectName(QStringLiteral("Frame1"));
    projectInfo_ = new InfoPanel(infoFrame);
    projectInfo_->setObjectName(QStringLiteral("PInfo"));
    projectInfo_->setReadOnly(true);
    projectInfo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    projectInfo_->setFixedHeight(projectInfo_->fontMetrics().lineSpacing() * 10 + 2 * projectInfo_->frameWidth() + 8);
    auto* infoLayout = new QVBoxLayout(infoFrame);
    infoLayout->addWidget(projectInfo_);

    auto* heading = new QLabel(QStringLiteral("What would you like to do?"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    auto* buttonGrid = new QGridLayout;
    buttonGrid->setHorizontalSpacing(charWidth * 2);
    const int explanationWidth = charWidth * 62;
    int row = 0;
    for (const ReportButton& entry : ReportButtons) {
        auto* button = new QPushButton(QLatin1String(entry.caption), this);
        button->setObjectName(QStringLiteral("PickReport_%1").arg(entry.index));
        button->setEnabled(false);
        button->setMinimumWidth(charWidth * 36);
        auto* explanation = new QLabel(QLatin1String(entry.explanation), this);
        explanation->setObjectName(QStringLiteral("Label2_%1").arg(entry.explanationIndex));
        explanation->setWordWrap(true);
        explanation->setFixedWidth(explanationWidth);
        explanation->setMinimumHeight(explanation->heightForWidth(explanationWidth));
        reportButtons_[static_cast<std::size_t>(entry.index)] = button;
        explanations_[static_cast<std::size_t>(entry.explanationIndex)] = explanation;
        buttonGrid->addWidget(button, row, 0, Qt::AlignTop);
        buttonGrid->addWidget(explanation, row, 1, Qt::AlignTop);
        ++row;
        const int index = entry.index;
        connect(button, &QPushButton::clicked, this, [this, index] { pickReport(index); });
    }
    // Scene Properties: built, never shown.
    reportButtons_[2]->setVisible(false);
    explanations_[3]->setVisible(false);

    flagMapButton_ = new QPushButton(QStringLiteral("Flag map"), this);
    flagMapButton_->setObjectName(QStringLiteral("FlagMapButton"));
    flagMapButton_->setEnabled(false);
    auto* flagMapExplanation =
        new QLabel(QStringLiteral("See all 255 flags at a glance: which are free, tested, changed, or tested but "
                                  "never changed (possible dead ends). Click a flag to track it."),
                   this);
    flagMapExplanation->setObjectName(QStringLiteral("FlagMapLabel"));
    flagMapExplanation->setWordWrap(true);
    flagMapExplanation->setFixedWidth(explanationWidth);
    flagMapExplanation->setMinimumHeight(flagMapExplanation->heightForWidth(explanationWidth));
    explanations_.back() = flagMapExplanation;
    buttonGrid->addWidget(flagMapButton_, row, 0, Qt::AlignTop);
    buttonGrid->addWidget(flagMapExplanation, row, 1, Qt::AlignTop);
    connect(flagMapButton_, &QPushButton::clicked, this, &MainWindow::openFlagMap);
    ++row;

    puzzleChartButton_ = new QPushButton(QStringLiteral("Puzzle chart"), this);
    puzzleChartButton_->setObjectName(QStringLiteral("PuzzleChartButton"));
    puzzleChartButton_->setEnabled(false);
    auto* puzzleChartExplanation =
        new QLabel(QStringLiteral("Draw which flag tests guard which changes, with the values each flag can reach: "
                                  "puzzles that can never be solved stand out. Click a flag to track it."),
                   this);
    puzzleChartExplanation->setObjectName(QStringLiteral("PuzzleChartLabel"));
    puzzleChartExplanation->setWordWrap(true);
    puzzleChartExplanation->setFixedWidth(explanationWidth);
    puzzleChartExplanation->setMinimumHeight(puzzleChartExplanation->heightForWidth(explanationWidth));
    buttonGrid->addWidget(puzzleChartButton_, row, 0, Qt::AlignTop);
    buttonGrid->addWidget(puzzleChartExplanation, row, 1, Qt::AlignTop);
    connect(puzzleChartButton_, &QPushButton::clicked, this, &MainWindow::openPuzzleChart);

    auto* progressFrame = new QGroupBox(QStringLiteral("Scan Progress"), this);
    progressFrame->setObjectName(QStringLiteral("Frame2"));
    progress_ = new QProgressBar(progressFrame);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    auto* progressLayout = new QVBoxLayout(progressFrame);
    progressLayout->addWidget(progress_);

    auto* layout = new QVBoxLayout(scrollingContents(*this));
    layout->addLayout(pathRow_);
    layout->addWidget(infoFrame);
    layout->addSpacing(fontMetrics().lineSpacing() / 2);
    layout->addWidget(heading);
    layout->addLayout(buttonGrid);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // The progress of a run stays in view, below what scrolls.
    auto* progressRow = new QVBoxLayout;
    progressRow->setContentsMargins(layout->contentsMargins());
    progressRow->addWidget(progressFrame);
    static_cast<QVBoxLayout*>(this->layout())->addLayout(progressRow);

    host_ = std::make_unique<QtReportHost>(*progress_, platform_.prompts, this);
    // Loaded hidden at start-up, so that its lists exist from the start.
    filesManager_ = new FilesManager(state_, platform_, this);
    launcher_ = std::make_unique<ReportLauncher>(state_, platform_, *host_, *filesManager_, this);
    launcher_->setStateChangedHandler([this] {
        // A report run reads the project's name afresh, as loading does.
        if (state_.project.NameRead)
            state_.screen.Caption = std::string(ProgramTitle) + " - " + state_.project.ProjectName;
        setWindowTitle(toQString(state_.screen.Caption));
        filesManager_->showLists();
    });

    connect(locateButton_, &QPushButton::clicked, this, &MainWindow::locate);
    auto* locateKey = new QShortcut(QKeySequence::Open, this);
    connect(locateKey, &QShortcut::activated, this, &MainWindow::locate);
    showProjectState();
}

MainWindow::~MainWindow() = default;

bool MainWindow::busy() const {
    return loading_ || launcher_->busy() || state_.run.ReportRunning;
}

FlagPicker& MainWindow::flagPicker() {
    if (!flagPicker_)
        flagPicker_ = new FlagPicker(state_.run, platform_.prompts, *launcher_, this);
    return *flagPicker_;
}

ScenePicker& MainWindow::scenePicker() {
    if (!scenePicker_)
        scenePicker_ = new ScenePicker(state_.project, state_.run, platform_.prompts, *launcher_, this);
    return *scenePicker_;
}

FlagMapWindow& MainWindow::flagMap() {
    if (!flagMap_)
        flagMap_ = new FlagMapWindow(state_, platform_, *host_, *launcher_, this);
    return *flagMap_;
}

PuzzleChartWindow& MainWindow::puzzleChart() {
    if (!puzzleChart_)
        puzzleChart_ = new PuzzleChartWindow(state_, platform_, *host_, *launcher_, this);
    return *puzzleChart_;
}

void MainWindow::showProjectState() {
    const MainWindowState& screen = state_.screen;
    pathBox_->setText(toQString(screen.PathBox));
    pathBox_->setCursorPosition(0);
    projectInfo_->setPlainText(toQString(screen.PInfo));
    for (QPushButton* button : reportButtons_)
        button->setEnabled(screen.ReportsEnabled);
    flagMapButton_->setEnabled(screen.ReportsEnabled);
    puzzleChartButton_->setEnabled(screen.ReportsEnabled);
    setWindowTitle(toQString(screen.Caption));
}

std::optional<std::string> MainWindow::loadChosenProject() {
    MainWindowState& screen = state_.screen;
    LoadedProject& project = state_.project;
    const auto noProject = [&] {
        screen.PathBox = std::string(PathPrompt);
        screen.PInfo.clear();
        screen.ReportsEnabled = false;
        screen.Caption = versionedTitle();
    };
    // The consistency check; a file it could not read is said first, then
    // the security failure, as for a lock that differs.
    Result<ProjectFiles> checked = ProjLockMatch(project.Paths);
    if (!checked) {
        noProject();
        if (checked.failure().kind != FailureKind::LockMismatch)
            platform_.prompts.showMessage(this, toQString(ApplicationTitle),
                                          toQString(UnexpectedError("ProjLockMatch", checked.failure())),
                                          Prompts::Icon::Critical);
        return std::string(SecurityFailureMessage);
    }
    // The scene lists of a project that does not load are empty.
    project.SceneNames = {"(Not A Scene)"};
    Result<OpenProject> loaded = LoadCheckedProject(project.Paths, std::move(*checked), *host_);
    if (!loaded) {
        noProject();
        return FailureMessage("The project could not be loaded.", loaded.failure());
    }
    // The name, and the title with it, change only when the player settings
    // hold one; the data files close as loading ends.
    const std::string formerName = std::move(project.ProjectName);
    project = std::move(loaded->project);
    if (!project.NameRead)
        project.ProjectName = formerName;
    else
        screen.Caption = std::string(ProgramTitle) + " - " + project.ProjectName;
    screen.PInfo = ProjectInformation(project);
    return std::nullopt;
}

void MainWindow::locate() {
    if (busy())
        return;
    const std::optional<QString> file = platform_.prompts.chooseOpenFile(
        this, QStringLiteral("Locate an Orvanta Project"), QStringLiteral("Orvanta Projects (*.orv)"));
    if (file && !file->isEmpty())
        locateFile(*file);
}

void MainWindow::locateFile(const QString& projectFile) {
    if (busy())
        return;
    loading_ = true;
    struct Release {
        bool& flag;
        ~Release() { flag = false; }
    } release{loading_};

    state_.project.Paths = ProjectPaths::fromProjectFile(QFile::encodeName(projectFile).toStdString());
    state_.screen.PathBox = state_.project.Paths.ProjectFilePath.string();
    state_.screen.ReportsEnabled = true;
    platform_.prompts.setProjectFolder({});
    state_.audit = FilesAudit();
    filesManager_->showLists();
    // The preview belongs to the former project's files.
    filesManager_->clearPreview();
    state_.text.clear();
    host_->setProgressValue(0);
    showProjectState();
    if (state_.project.Paths.ProjectFolder.empty())
        return;

    std::optional<std::string> failed;
    {
        struct BusyPointer {
            QtReportHost& host;
            ~BusyPointer() { host.setBusy(false); }
        } busy{*host_};
        host_->setBusy(true);
        try {
            failed = loadChosenProject();
        } catch (const RunAbandoned&) {
            return; // the program is ending
        }
    }

    if (scenePicker_)
        scenePicker_->showScenes(!failed);
    platform_.prompts.setProjectFolder(failed ? QString()
                                              : QFile::decodeName(state_.project.Paths.ProjectFolder.c_str()));
    showProjectState();
    if (failed)
        platform_.prompts.showMessage(this, toQString(ApplicationTitle), toQString(*failed),
                                      Prompts::Icon::Exclamation);
}

void MainWindow::pickReport(int index) {
    // Kinds 0 and 1 run straight from here, with no picker to guard them;
    // they are marked as running too, so that a click during one of their
    // yields starts nothing.
    if (busy())
        return;
    state_.run.CancelRequested = false;
    switch (index) {
    case 0:
        state_.run.ReportRunning = true;
        launcher_->run(ResourceFilesKind);
        break;
    case 1:
        state_.run.ReportRunning = true;
        launcher_->run(UnusedFlagsKind);
        break;
    case 2:
        scenePicker().setPrompt(QStringLiteral("View properties for which scene?"));
        state_.run.ScenePickerPurpose = 1;
        scenePicker().exec();
        break;
    case 3: flagPicker().exec(); break;
    case 4:
        scenePicker().setPrompt(QStringLiteral("View flags for which scene?"));
        state_.run.ScenePickerPurpose = 2;
        scenePicker().exec();
        break;
    default: break;
    }
}

void MainWindow::openFlagMap() {
    if (busy() || !state_.screen.ReportsEnabled)
        return;
    // As a report button does: a cancel left over from a picker stops nothing here.
    state_.run.CancelRequested = false;
    if (flagMap().scan())
        flagMap().exec();
}

void MainWindow::openPuzzleChart() {
    if (busy() || !state_.screen.ReportsEnabled)
        return;
    state_.run.CancelRequested = false;
    if (puzzleChart().scan())
        puzzleChart().exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing ends the program, whatever is running: the windows above this
    // one go now, a run or load on the stack below this event is abandoned
    // at its next yield, and the window closes once the stack has unwound.
    for (QWidget* child : findChildren<QWidget*>())
        if (child->isWindow() && child->isVisible())
            child->hide();
    if (!busy()) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    host_->abandon();
    if (!closeWhenIdle_) {
        closeWhenIdle_ = new QTimer(this);
        connect(closeWhenIdle_, &QTimer::timeout, this, [this] {
            if (!busy()) {
                closeWhenIdle_->stop();
                close();
            }
        });
    }
    closeWhenIdle_->start(10);
}

void MainWindow::adaptToScreen() {
    const QSize room = fittedToScreen(*this, QSize(1 << 20, 1 << 20));
    QWidget* contents = pathBox_->parentWidget();
    contents->layout()->activate();
    int excess = contents->width() - room.width();
    if (excess > 0) {
        // The caption goes above the path box, and the path box and the
        // explanations take what width is left; their text wraps or scrolls.
        pathRow_->removeWidget(pathCaption_);
        pathRow_->addWidget(pathCaption_, 1, 0, 1, 3);
        pathRow_->removeWidget(pathBox_);
        pathRow_->removeWidget(locateButton_);
        pathRow_->addWidget(pathBox_, 2, 0, 1, 2);
        pathRow_->addWidget(locateButton_, 2, 2);
        const int charWidth = fontMetrics().averageCharWidth();
        pathBox_->setMinimumWidth(charWidth * 20);
        const int explanationWidth = qMax(charWidth * 24, explanations_[0]->width() - excess);
        for (QLabel* explanation : explanations_) {
            explanation->setFixedWidth(explanationWidth);
            explanation->setMinimumHeight(explanation->heightForWidth(explanationWidth));
        }
        contents->layout()->activate();
    }
    // The panel scrolls its own text: it gives up lines down to a few before
    // the window has to scroll.
    const int kept = layout()->itemAt(1)->sizeHint().height() + layout()->spacing();
    excess = contents->height() + kept - room.height();
    if (excess > 0) {
        const int fewest = projectInfo_->fontMetrics().lineSpacing() * 4 + 2 * projectInfo_->frameWidth() + 8;
        projectInfo_->setFixedHeight(qMax(fewest, projectInfo_->height() - excess));
        contents->layout()->activate();
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        adaptToScreen();
        fitContentsToScreen(*this, true);
        centreOnScreen(*this);
        locateButton_->setFocus(Qt::OtherFocusReason);
    }
    QWidget::showEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!busy() && !droppedProject(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString file = droppedProject(event->mimeData());
    if (file.isEmpty() || busy())
        return;
    event->acceptProposedAction();
    // The drag source waits for the drop to return; the load follows.
    QMetaObject::invokeMethod(
        this, [this, file] { locateFile(file); }, Qt::QueuedConnection);
}

} // namespace orv::ui
