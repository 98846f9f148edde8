#include "ui/PuzzleChartWindow.h"

#include "data/LoadProject.h"
#include "data/Numbers.h"
#include "data/ProgramInfo.h"
#include "reports/ReportHost.h"
#include "reports/RunReport.h"
#include "ui/CentreOnScreen.h"
#include "ui/Platform.h"
#include "ui/ProgramState.h"
#include "ui/Prompts.h"
#include "ui/QtReportHost.h"
#include "ui/QtText.h"
#include "ui/ReportLauncher.h"
#include "ui/Wording.h"
#include "writers/ChartLayout.h"
#include "writers/PuzzleChartOutput.h"

#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSvgRenderer>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace orv::ui {

namespace {

constexpr double ZoomStep = 1.25;
constexpr double MinZoom = 0.05;
constexpr double MaxZoom = 8.0;
constexpr int MaxPictureSide = 16384; // a PNG larger than this is drawn smaller

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

int flagOfNode(const QString& id) {
    bool ok = false;
    const int flag = id.startsWith(QLatin1Char('f')) ? id.mid(1).toInt(&ok) : 0;
    return ok ? flag : 0;
}

} // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent), renderer_(new QSvgRenderer(this)) {
    setObjectName(QStringLiteral("ChartView"));
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

bool ChartView::setChart(const QByteArray& svg, std::vector<QString> nodeIds) {
    ids_ = std::move(nodeIds);
    const bool loaded = svg.isEmpty() ? (renderer_->load(QByteArray()), true) : renderer_->load(svg);
    resize(sizeHint());
    update();
    return loaded;
}

QSize ChartView::naturalSize() const {
    return renderer_->isValid() ? renderer_->defaultSize() : QSize(0, 0);
}

void ChartView::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, MinZoom, MaxZoom);
    resize(sizeHint());
    update();
}

QSize ChartView::sizeHint() const {
    const QSize natural = naturalSize();
    return {qRound(natural.width() * zoom_), qRound(natural.height() * zoom_)};
}

QRectF ChartView::documentRect(const QString& id) const {
    if (!renderer_->isValid() || !renderer_->elementExists(id))
        return {};
    // The bounds leave out the transforms of the groups around the node
    // (Graphviz's graph group moves everything); those are added back.
    return renderer_->transformForElement(id).mapRect(renderer_->boundsOnElement(id));
}

QRectF ChartView::nodeRect(const QString& id) const {
    const QRectF doc = documentRect(id);
    const QRectF box = renderer_->viewBoxF();
    if (doc.isEmpty() || box.isEmpty())
        return {};
    const double sx = width() / box.width(), sy = height() / box.height();
    return {(doc.left() - box.left()) * sx, (doc.top() - box.top()) * sy, doc.width() * sx, doc.height() * sy};
}

QString ChartView::nodeAt(QPointF point) const {
    const QRectF box = renderer_->viewBoxF();
    if (box.isEmpty() || width() == 0 || height() == 0)
        return {};
    const QPointF doc(box.left() + point.x() * box.width() / width(), box.top() + point.y() * box.height() / height());
    for (const QString& id : ids_)
        if (documentRect(id).contains(doc))
            return id;
    return {};
}

QImage ChartView::image(double scale) const {
    const QSize natural = naturalSize();
    QSize size(qRound(natural.width() * scale), qRound(natural.height() * scale));
    size = size.boundedTo(QSize(MaxPictureSide, MaxPictureSide));
    if (size.isEmpty())
        return {};
    QImage picture(natural.scaled(size, Qt::KeepAspectRatio), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    QPainter p(&picture);
    renderer_->render(&p, QRectF(QPointF(0, 0), picture.size()));
    return picture;
}

void ChartView::paintEvent(QPaintEvent*) {
    if (!renderer_->isValid())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    renderer_->render(&p, QRectF(rect()));
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    const QString id = nodeAt(event->position());
    if (event->button() == Qt::LeftButton && !id.isEmpty()) {
        emit nodeClicked(id);
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    setCursor(flagOfNode(nodeAt(event->position())) != 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void ChartView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y();
    if (steps == 0) {
        QWidget::wheelEvent(event);
        return;
    }
    emit zoomRequested(std::pow(ZoomStep, steps / 120.0), event->position());
    event->accept();
}

PuzzleChartWindow::PuzzleChartWindow(ProgramState& state, Platform& platform, QtReportHost& host,
                                     ReportLauncher& launcher, QWidget* parent)
    : QDialog(parent), state_(state), platform_(platform), host_(host), launcher_(launcher) {
    setObjectName(QStringLiteral("PuzzleChart"));
    setWindowTitle(QStringLiteral("Puzzle Chart"));
    setModal(true);
    setSizeGripEnabled(true);

    auto* flagLabel = new QLabel(QStringLiteral("&Flag:"), this);
    flagBox_ = new QLineEdit(this);
    flagBox_->setObjectName(QStringLiteral("FlagBox"));
    flagBox_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    flagLabel->setBuddy(flagBox_);
    auto* showFlag = makeButton(this, "ShowFlagButton", QStringLiteral("Show this flag's part"));
    auto* whole = makeButton(this, "WholeChartButton", QStringLiteral("Whole chart"));
    auto* top = new QHBoxLayout;
    top->addWidget(flagLabel);
    top->addWidget(flagBox_);
    top->addWidget(showFlag);
    top->addWidget(whole);
    top->addStretch(1);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("ChartMessage"));
    message_->setWordWrap(true);

    area_ = new QScrollArea(this);
    area_->setObjectName(QStringLiteral("ChartArea"));
    // Scrolled by the wheel, the bars and the zoom keys; like the other
    // windows' scroll areas it is no Tab stop.
    area_->setFocusPolicy(Qt::ClickFocus);
    area_->setWidgetResizable(false);
    area_->setAlignment(Qt::AlignCenter);
    area_->setBackgroundRole(QPalette::Base);
    view_ = new ChartView(area_);
    area_->setWidget(view_);

    auto* zoomIn = makeButton(this, "ZoomInButton", QStringLiteral("Zoom in"));
    auto* zoomOut = makeButton(this, "ZoomOutButton", QStringLiteral("Zoom out"));
    auto* fit = makeButton(this, "FitButton", QStringLiteral("Fit to window"));
    auto* saveSvgButton = makeButton(this, "SaveSvgButton", QStringLiteral("Save as SVG..."));
    auto* savePngButton = makeButton(this, "SavePngButton", QStringLiteral("Save as PNG..."));
    auto* close = makeButton(this, "CloseButton", QStringLiteral("Close"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {zoomIn, zoomOut, fit, saveSvgButton, savePngButton})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* hint = new QLabel(QStringLiteral("Click a flag to track it. Grey dashed: can never happen; red: a test "
                                           "that never holds. The wheel zooms."),
                            this);
    hint->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(hint);
    layout->addWidget(message_);
    layout->addWidget(area_, 1);
    layout->addLayout(buttons);

    connect(showFlag, &QPushButton::clicked, this, &PuzzleChartWindow::showFlagFromBox);
    connect(flagBox_, &QLineEdit::returnPressed, this, &PuzzleChartWindow::showFlagFromBox);
    connect(whole, &QPushButton::clicked, this, [this] { showChart(0); });
    connect(zoomIn, &QPushButton::clicked, this, [this] { zoomBy(ZoomStep); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { zoomBy(1 / ZoomStep); });
    connect(fit, &QPushButton::clicked, this, &PuzzleChartWindow::fitToWindow);
    connect(saveSvgButton, &QPushButton::clicked, this, &PuzzleChartWindow::saveSvg);
    connect(savePngButton, &QPushButton::clicked, this, &PuzzleChartWindow::savePng);
    connect(close, &QPushButton::clicked, this, &PuzzleChartWindow::reject);
    connect(view_, &ChartView::nodeClicked, this, &PuzzleChartWindow::nodeClicked);
    connect(view_, &ChartView::zoomRequested, this, [this](double factor, QPointF at) { zoomBy(factor, at); });
    for (const auto& [keys, slot] : {std::pair{QKeySequence::ZoomIn, 0}, {QKeySequence::ZoomOut, 1}}) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        connect(shortcut, &QShortcut::activated, this,
                [this, slot = slot] { zoomBy(slot == 0 ? ZoomStep : 1 / ZoomStep); });
    }
    // Ctrl+= as well: on many keyboards plus needs Shift.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), this), &QShortcut::activated, this,
            [this] { zoomBy(ZoomStep); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_0), this), &QShortcut::activated, this,
            &PuzzleChartWindow::fitToWindow);
}

bool PuzzleChartWindow::scan() {
    return RunWindowPass(parentWidget(), state_, platform_, host_, "The puzzle chart could not be made.",
                         [this]() -> std::optional<Failure> {
                             Result<FlagReach> reach = ScanFlagReach(state_.project, host_);
                             if (!reach)
                                 return reach.failure();
                             setReach(std::move(*reach));
                             return std::nullopt;
                         });
}

void PuzzleChartWindow::setReach(FlagReach reach) {
    reach_ = std::move(reach);
    showChart(0);
}

QString PuzzleChartWindow::message() const {
    return message_->text();
}

void PuzzleChartWindow::showChart(int focus) {
    chart_ = {};
    svg_.clear();
    QString note;
    const std::size_t whole = PuzzleChartNodeCount(reach_);
    if (focus == 0 && whole > MaxChartNodes) {
        note = QStringLiteral("The chart has %1 nodes, more than %2: type a flag number above to draw only what it "
                              "depends on and what depends on it.")
                   .arg(QLocale().toString(qulonglong(whole)), QLocale().toString(qulonglong(MaxChartNodes)));
    } else if (const std::size_t nodes = focus == 0 ? whole : PuzzleChartNodeCount(reach_, focus);
               nodes > MaxChartNodes) {
        note = QStringLiteral("Flag # %1: what it depends on and what depends on it has %2 nodes, more than %3: too "
                              "many to draw.")
                   .arg(focus)
                   .arg(QLocale().toString(qulonglong(nodes)), QLocale().toString(qulonglong(MaxChartNodes)));
    } else {
        chart_ = BuildPuzzleChart(reach_, state_.project, focus);
        if (chart_.nodes.empty())
            note = QStringLiteral("No change in this project depends on a flag test: there is nothing to chart.");
        else if (focus != 0)
            note = QStringLiteral("Flag # %1: what it depends on and what depends on it (%2 nodes).")
                       .arg(focus)
                       .arg(chart_.nodes.size());
        else
            note = QStringLiteral("The whole chart: %1 nodes.").arg(chart_.nodes.size());
        try {
            if (!chart_.nodes.empty())
                svg_ = QByteArray::fromStdString(LayOutSvg(PuzzleChartDot(chart_)));
        } catch (const ChartLayoutError& e) {
            note = QStringLiteral("The chart could not be laid out: ") + toQString(e.what());
        }
    }
    message_->setText(note);
    std::vector<QString> ids;
    for (const ChartNode& n : chart_.nodes)
        ids.push_back(toQString(n.id));
    view_->setChart(svg_, std::move(ids));
    view_->setZoom(1.0);
    if (isVisible())
        fitWithin(1.0);
}

void PuzzleChartWindow::showFlagFromBox() {
    const std::optional<Integer> flag = ReadFlagNumber(flagBox_->text().toStdString());
    if (!flag || *flag < 1 || *flag > 255) {
        platform_.prompts.showMessage(this, toQString(ApplicationTitle),
                                      QStringLiteral("Flag number must be between 1 and 255."),
                                      Prompts::Icon::Exclamation);
        return;
    }
    showChart(*flag);
}

void PuzzleChartWindow::nodeClicked(const QString& id) {
    if (const int flag = flagOfNode(id))
        trackFlag(flag);
}

void PuzzleChartWindow::trackFlag(int flag) {
    if (state_.run.ReportRunning || launcher_.busy() || flag < 1 || flag > 255)
        return;
    state_.run.TrackedFlag = static_cast<Integer>(flag);
    state_.run.ReportRunning = true;
    launcher_.run(FlagsByFlagKind);
}

void PuzzleChartWindow::zoomBy(double factor, std::optional<QPointF> at) {
    QScrollBar* h = area_->horizontalScrollBar();
    QScrollBar* v = area_->verticalScrollBar();
    // The point under the mouse (else the middle of what shows) stays put.
    const QPointF inView = at ? *at : view_->mapFrom(area_->viewport(), area_->viewport()->rect().center());
    const QPointF onViewport = view_->mapTo(area_->viewport(), inView.toPoint());
    const double before = view_->zoom();
    view_->setZoom(before * factor);
    const double ratio = view_->zoom() / before;
    h->setValue(qRound(inView.x() * ratio - onViewport.x()));
    v->setValue(qRound(inView.y() * ratio - onViewport.y()));
}

void PuzzleChartWindow::fitToWindow() {
    fitWithin(2.0);
}

void PuzzleChartWindow::fitWithin(double largest) {
    const QSize natural = view_->naturalSize();
    if (natural.isEmpty())
        return;
    const QSize room = area_->maximumViewportSize();
    view_->setZoom(std::min({largest, 1.0 * room.width() / natural.width(), 1.0 * room.height() / natural.height()}));
}

bool PuzzleChartWindow::save(const QString& title, const QString& proposed, const QString& filter,
                             const std::function<bool(const QString&)>& write) {
    for (;;) {
        const std::optional<QString> path = platform_.prompts.chooseSaveFile(this, title, proposed, filter);
        if (!path || path->isEmpty())
            return false;
        const Prompts::Answer answer = askToOverwrite(platform_.prompts, this, *path);
        if (answer == Prompts::Answer::No)
            continue;
        if (answer == Prompts::Answer::Cancel)
            return false;
        if (!write(*path))
            platform_.prompts.showMessage(this, toQString(ApplicationTitle),
                                          QStringLiteral("The puzzle chart could not be saved to\r") + *path,
                                          Prompts::Icon::Exclamation);
        return true;
    }
}

void PuzzleChartWindow::saveSvg() {
    if (svg_.isEmpty())
        return;
    save(QStringLiteral("Save Puzzle Chart"), QStringLiteral("Puzzle Chart.svg"), QStringLiteral("SVG Image (*.svg)"),
         [this](const QString& path) {
             QFile file(path);
             return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(svg_) == svg_.size() &&
                    file.flush();
         });
}

void PuzzleChartWindow::savePng() {
    if (svg_.isEmpty())
        return;
    save(QStringLiteral("Save Puzzle Chart"), QStringLiteral("Puzzle Chart.png"), QStringLiteral("PNG Image (*.png)"),
         [this](const QString& path) { return view_->image(2.0).save(path, "PNG"); });
}

void PuzzleChartWindow::reject() {
    // A report it started is still on the stack below; it closes after.
    if (launcher_.busy() || state_.run.ReportRunning)
        return;
    QDialog::reject();
}

void PuzzleChartWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        const QSize natural = view_->naturalSize();
        const QSize wanted(std::max(natural.width() + 40, fontMetrics().averageCharWidth() * 90),
                           std::max(natural.height() + 160, fontMetrics().height() * 30));
        resize(fittedToScreen(*this, wanted));
        centreOnScreen(*this);
    }
    QDialog::showEvent(event);
    fitWithin(1.0); // a small chart keeps its size
}

} // namespace orv::ui
