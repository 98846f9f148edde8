#include "ui/FlagMapWindow.h"

#include "data/LoadProject.h"
#include "data/ProgramInfo.h"
#include "reports/FlagUsageReport.h"
#include "reports/FlagValues.h"
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

#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShortcut>
#include <QTextDocument>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace orv::ui {

namespace {

constexpr FlagClass Classes[] = {FlagClass::Free, FlagClass::TestedOnly, FlagClass::ChangedOnly,
                                 FlagClass::TestedAndChanged, FlagClass::OtherUse};
constexpr int TooltipLines = KeptPerKind; // statements of each kind a tooltip lists

double luminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

QString capitalised(std::string_view text) {
    QString s = toQString(text);
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

// The black corner that marks a dead end, so that colour is not the only cue.
QPainterPath deadEndCorner(const QRectF& cell) {
    const qreal side = cell.width() * 0.45;
    QPainterPath corner;
    corner.moveTo(cell.topRight());
    corner.lineTo(cell.topRight() - QPointF(side, 0));
    corner.lineTo(cell.topRight() + QPointF(0, side));
    corner.closeSubpath();
    return corner;
}

// The black corner at the foot of a flag that is changed, but by no change
// that can happen.
QPainterPath unreachableCorner(const QRectF& cell) {
    const qreal side = std::min(cell.width(), cell.height()) / 3;
    QPainterPath corner;
    corner.moveTo(cell.bottomLeft());
    corner.lineTo(cell.bottomLeft() + QPointF(side, 0));
    corner.lineTo(cell.bottomLeft() - QPointF(0, side));
    corner.closeSubpath();
    return corner;
}

QPixmap swatch(const QColor& fill, bool deadEnd, int side, bool unreachable = false) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF cell(0.5, 0.5, side - 1, side - 1);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(fill);
    p.drawRect(cell);
    if (deadEnd)
        p.fillPath(deadEndCorner(cell), Qt::black);
    if (unreachable)
        p.fillPath(unreachableCorner(cell), Qt::black);
    return pixmap;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

QColor FlagClassColour(FlagClass c) {
    switch (c) {
    case FlagClass::Free: return {238, 238, 238};
    case FlagClass::TestedOnly: return {230, 159, 0};       // orange
    case FlagClass::ChangedOnly: return {86, 180, 233};     // sky blue
    case FlagClass::TestedAndChanged: return {0, 158, 115}; // bluish green
    case FlagClass::OtherUse: return {204, 121, 167};       // reddish purple
    }
    return {};
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor FlagClassTextColour(FlagClass c) {
    const QColor fill = FlagClassColour(c);
    if (c == FlagClass::Free)
        return {90, 90, 90};
    const QColor black(Qt::black), white(Qt::white);
    return ContrastRatio(black, fill) >= ContrastRatio(white, fill) ? black : white;
}

FlagGrid::FlagGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FlagGrid"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setMaximumSize(sizeHint());
}

void FlagGrid::setUsage(const FlagUsageData* usage) {
    data_ = usage;
    update();
}

QSize FlagGrid::preferredCell() const {
    const QFontMetrics metrics(font());
    const int width = qMax(metrics.horizontalAdvance(QStringLiteral("255")) * 3 / 2 + 6, metrics.height() * 2);
    return {width, metrics.height() * 2};
}

QSize FlagGrid::smallestCell() const {
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return {metrics.horizontalAdvance(QStringLiteral("255")) + 10, metrics.height() + 8};
}

QSize FlagGrid::cellSize() const {
    // As large as the room allows, from the smallest that shows a number
    // whole to the size the grid asks for.
    const QSize preferred = preferredCell(), smallest = smallestCell();
    return {std::clamp((width() - 1) / Columns, smallest.width(), preferred.width()),
            std::clamp((height() - 1) / Rows, smallest.height(), preferred.height())};
}

QSize FlagGrid::sizeHint() const {
    const QSize cell = preferredCell();
    return {cell.width() * Columns + 1, cell.height() * Rows + 1};
}

QSize FlagGrid::minimumSizeHint() const {
    const QSize cell = smallestCell();
    return {cell.width() * Columns + 1, cell.height() * Rows + 1};
}

QRect FlagGrid::cellRect(int flag) const {
    if (flag < 1 || flag > 255)
        return {};
    const QSize cell = cellSize();
    const int row = (flag - 1) / Columns;
    const int column = (flag - 1) % Columns;
    return {column * cell.width(), row * cell.height(), cell.width(), cell.height()};
}

int FlagGrid::flagAt(QPoint point) const {
    const QSize cell = cellSize();
    if (point.x() < 0 || point.y() < 0)
        return 0;
    const int column = point.x() / cell.width();
    const int row = point.y() / cell.height();
    if (column >= Columns || row >= Rows)
        return 0;
    return row * Columns + column + 1;
}

FlagClass FlagGrid::classOf(int flag) const {
    return data_ ? data_->usage.flag(flag).use : FlagClass::Free;
}

QColor FlagGrid::cellColour(int flag) const {
    return FlagClassColour(classOf(flag));
}

QColor FlagGrid::cellTextColour(int flag) const {
    return FlagClassTextColour(classOf(flag));
}

bool FlagGrid::hasDeadEndMark(int flag) const {
    return data_ && data_->reach.flag(flag).neverHolds > 0;
}

bool FlagGrid::hasUnreachableMark(int flag) const {
    return data_ && data_->reach.flag(flag).everyChangeUnreachable();
}

QString FlagGrid::toolTipFor(int flag) const {
    if (flag < 1 || flag > 255)
        return {};
    QString tip = QStringLiteral("Flag # %1: %2").arg(flag).arg(toQString(FlagClassText(classOf(flag))));
    if (!data_)
        return tip;
    const FlagUsageEntry& entry = data_->usage.flag(flag);
    const FlagStatementList& list = data_->list;
    if (entry.score)
        tip += QStringLiteral("\nThe score uses this flag.");
    if (entry.use == FlagClass::Free)
        tip += QStringLiteral("\nNothing in the project tests or changes it.");
    const FlagReachEntry& reach = data_->reach.flag(flag);
    if (entry.use != FlagClass::Free)
        tip += QStringLiteral("\nIt can be: %1.").arg(toQString(DescribeFlagValues(reach.values)));
    if (reach.neverHolds > 0)
        tip += QStringLiteral("\nDead end: %1 of its tests never hold%2.")
                   .arg(reach.neverHolds)
                   .arg(reach.neverHolds == 1 ? "s" : "");
    if (reach.everyChangeUnreachable())
        tip += QStringLiteral("\nNone of its changes can happen: each waits for a test that never holds.");
    const bool neverChanged = data_->usage.testedNeverChanged(flag);
    for (const FlagUse use : {FlagUse::Test, FlagUse::Change}) {
        const int count = use == FlagUse::Test ? entry.tests : entry.changes;
        if (count == 0)
            continue;
        tip += use == FlagUse::Test ? QStringLiteral("\nTests (%1):").arg(count)
                                    : QStringLiteral("\nChanges (%1):").arg(count);
        // The gathering may have kept no more than the tooltip lists; the
        // count says how many there are in all.
        int shown = 0;
        for (std::uint32_t i : StatementsOfFlag(list, flag)) {
            const FlagStatement& s = list.statements[i];
            if (s.use != use)
                continue;
            if (shown == TooltipLines)
                break;
            ++shown;
            tip += QStringLiteral("\n  ");
            if (s.sentenceLength == 0) {
                tip += QStringLiteral("(its record could not be read again)");
                continue;
            }
            if (neverChanged)
                tip += toQString(TestAtZeroText(EvaluateAtZero(s.comparison, s.value))) + QStringLiteral(": ");
            tip += toQString(SentenceLine(list.sentence(s)));
        }
        if (count > shown)
            tip += QStringLiteral("\n  ... and %1 more").arg(count - shown);
    }
    return tip + QStringLiteral("\nClick to track this flag.");
}

bool FlagGrid::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int flag = flagAt(help->pos());
        if (flag && beforeTooltip_)
            beforeTooltip_(flag);
        if (flag)
            QToolTip::showText(help->globalPos(), Qt::convertFromPlainText(toolTipFor(flag), Qt::WhiteSpaceNoWrap),
                               this, cellRect(flag));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void FlagGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont bold = font();
    bold.setBold(true);
    for (int flag = 1; flag <= 255; ++flag) {
        const QRectF cell = QRectF(cellRect(flag)).adjusted(1.5, 1.5, -1.5, -1.5);
        const FlagClass use = classOf(flag);
        p.setPen(QPen(QColor(70, 70, 70), 1));
        p.setBrush(FlagClassColour(use));
        p.drawRect(cell);
        if (hasDeadEndMark(flag))
            p.fillPath(deadEndCorner(cell), Qt::black);
        if (hasUnreachableMark(flag))
            p.fillPath(unreachableCorner(cell), Qt::black);
        p.setPen(FlagClassTextColour(use));
        p.setFont(use == FlagClass::Free ? font() : bold);
        p.drawText(cell, Qt::AlignCenter, QString::number(flag));
        if (flag == hovered_ || (flag == focused_ && hasFocus())) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::black, 2, flag == hovered_ ? Qt::SolidLine : Qt::DashLine));
            p.drawRect(cell.adjusted(1, 1, -1, -1));
        }
    }
}

void FlagGrid::mouseMoveEvent(QMouseEvent* event) {
    const int flag = flagAt(event->position().toPoint());
    if (flag != hovered_) {
        hovered_ = flag;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void FlagGrid::leaveEvent(QEvent* event) {
    hovered_ = 0;
    update();
    QWidget::leaveEvent(event);
}

void FlagGrid::mouseReleaseEvent(QMouseEvent* event) {
    const int flag = flagAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && flag) {
        focused_ = flag;
        update();
        emit flagPicked(flag);
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void FlagGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update(cellRect(focused_));
}

void FlagGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update(cellRect(focused_));
}

void FlagGrid::keyPressEvent(QKeyEvent* event) {
    int next = focused_;
    switch (event->key()) {
    case Qt::Key_Left: next -= 1; break;
    case Qt::Key_Right: next += 1; break;
    case Qt::Key_Up: next -= Columns; break;
    case Qt::Key_Down: next += Columns; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: emit flagPicked(focused_); return;
    default: QWidget::keyPressEvent(event); return;
    }
    if (next >= 1 && next <= 255) {
        focused_ = next;
        update();
    }
}

// The grid with its legend: the map the window shows, and the picture it
// saves, made afresh so that it shows no pointer or focus.
class FlagMapPanel : public QWidget {
  public:
    explicit FlagMapPanel(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("MapArea"));
        setAutoFillBackground(true);
        caption_ = new QLabel(this);
        QFont bold = caption_->font();
        bold.setBold(true);
        caption_->setFont(bold);
        caption_->hide();
        grid_ = new FlagGrid(this);

        auto* legend = new QGridLayout;
        legend->setHorizontalSpacing(fontMetrics().averageCharWidth());
        const int side = fontMetrics().height();
        for (std::size_t i = 0; i < legend_.size(); ++i) {
            const bool deadEnd = i == std::size(Classes);
            const bool unreachable = i == std::size(Classes) + 1;
            auto* mark = new QLabel(this);
            mark->setPixmap(swatch(FlagClassColour(deadEnd || unreachable ? FlagClass::TestedOnly : Classes[i]),
                                   deadEnd, side, unreachable));
            legend_[i] = new QLabel(this);
            legend_[i]->setObjectName(QStringLiteral("Legend_%1").arg(i));
            const int row = static_cast<int>(i) / 2, column = static_cast<int>(i) % 2 * 2;
            legend->addWidget(mark, row, column);
            legend->addWidget(legend_[i], row, column + 1);
        }
        legend->setColumnStretch(3, 1);
        outOfRange_ = new QLabel(this);
        outOfRange_->setObjectName(QStringLiteral("OutOfRange"));

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(caption_);
        layout->addWidget(grid_, 0, Qt::AlignHCenter);
        layout->addLayout(legend);
        layout->addWidget(outOfRange_);
    }

    FlagGrid& grid() { return *grid_; }

    void setCaption(const QString& text) {
        caption_->setText(text);
        caption_->setVisible(!text.isEmpty());
    }

    void setUsage(const FlagUsageData& usage) {
        grid_->setUsage(&usage);
        std::array<int, std::size(Classes)> counts{};
        for (int f = 1; f <= 255; ++f)
            ++counts[static_cast<std::size_t>(usage.usage.flag(f).use)];
        for (std::size_t i = 0; i < counts.size(); ++i)
            legend_[i]->setText(QStringLiteral("%1 (%2)").arg(capitalised(FlagClassText(Classes[i]))).arg(counts[i]));
        int deadEnds = 0, unreachable = 0;
        for (int f = 1; f <= 255; ++f) {
            deadEnds += usage.reach.flag(f).neverHolds > 0;
            unreachable += usage.reach.flag(f).everyChangeUnreachable();
        }
        legend_[std::size(Classes)]->setText(QStringLiteral("Dead end: a test that never holds (%1)").arg(deadEnds));
        legend_[std::size(Classes) + 1]->setText(
            QStringLiteral("Changed, but no change can happen (%1)").arg(unreachable));
        outOfRange_->setText(QStringLiteral("Flag numbers outside 1 to 255: %1 (listed in the flag usage summary)")
                                 .arg(usage.usage.outOfRange));
    }

  private:
    QLabel* caption_ = nullptr;
    FlagGrid* grid_ = nullptr;
    std::array<QLabel*, 7> legend_{}; // the five classes, then dead ends and flags no change reaches
    QLabel* outOfRange_ = nullptr;
};

FlagMapWindow::FlagMapWindow(ProgramState& state, Platform& platform, QtReportHost& host, ReportLauncher& launcher,
                             QWidget* parent)
    : QDialog(parent), state_(state), platform_(platform), host_(host), launcher_(launcher) {
    setObjectName(QStringLiteral("FlagMap"));
    setWindowTitle(QStringLiteral("Flag Map"));
    setModal(true);

    auto* summary = makeButton(this, "SummaryButton", QStringLiteral("Flag usage summary"));
    auto* save = makeButton(this, "SaveButton", QStringLiteral("Save as PNG..."));
    save->setToolTip(QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText));
    auto* close = makeButton(this, "CloseButton", QStringLiteral("Close"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(summary);
    buttons->addWidget(save);
    buttons->addStretch(1);
    buttons->addWidget(close);

    // The map scrolls where the screen is too small for it; the buttons stay
    // in view below.
    QWidget* contents = scrollingContents(*this);
    auto* hint =
        new QLabel(QStringLiteral("Click a flag to track it; hover over it to see its tests and changes."), contents);
    hint->setWordWrap(true);
    map_ = new FlagMapPanel(contents);
    grid_ = &map_->grid();
    auto* layout = new QVBoxLayout(contents);
    layout->addWidget(hint);
    layout->addWidget(map_, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    buttons->setContentsMargins(layout->contentsMargins());
    static_cast<QVBoxLayout*>(this->layout())->addLayout(buttons);

    connect(grid_, &FlagGrid::flagPicked, this, &FlagMapWindow::trackFlag);
    grid_->setBeforeTooltip([this](int flag) { wordFlag(flag); });
    connect(summary, &QPushButton::clicked, this, &FlagMapWindow::runSummary);
    connect(save, &QPushButton::clicked, this, &FlagMapWindow::saveMap);
    connect(close, &QPushButton::clicked, this, &FlagMapWindow::reject);
    auto* saveKey = new QShortcut(QKeySequence::Save, this);
    connect(saveKey, &QShortcut::activated, this, &FlagMapWindow::saveMap);

    data_.usage = SummarizeFlagUsage(data_.list);
    map_->setUsage(data_);
}

FlagMapWindow::~FlagMapWindow() = default;

void FlagMapWindow::setUsage(FlagUsageData usage) {
    data_ = std::move(usage);
    map_->setUsage(data_);
}

bool FlagMapWindow::scan() {
    return RunWindowPass(parentWidget(), state_, platform_, host_, "The flag map could not be made.",
                         [this]() -> std::optional<Failure> {
                             Result<FlagUsageData> usage = ScanFlagUsage(state_.project, host_);
                             if (!usage)
                                 return usage.failure();
                             setUsage(std::move(*usage));
                             return std::nullopt;
                         });
}

QString FlagMapWindow::toolTipFor(int flag) {
    wordFlag(flag);
    return grid_->toolTipFor(flag);
}

void FlagMapWindow::wordFlag(int flag) {
    // A record that cannot be read again leaves its statements unworded; the
    // tooltip says so.
    if (!state_.run.ReportRunning && !launcher_.busy())
        WordFlagStatements(state_.project, data_, flag);
}

void FlagMapWindow::trackFlag(int flag) {
    if (state_.run.ReportRunning || launcher_.busy() || flag < 1 || flag > 255)
        return;
    state_.run.TrackedFlag = static_cast<Integer>(flag);
    state_.run.ReportRunning = true;
    launcher_.run(FlagsByFlagKind);
}

void FlagMapWindow::runSummary() {
    if (state_.run.ReportRunning || launcher_.busy())
        return;
    state_.run.ReportRunning = true;
    launcher_.run(FlagUsageKind);
}

QImage FlagMapWindow::mapImage() {
    const QString title =
        QStringLiteral("%1 - Flag map - %2").arg(toQString(state_.project.ProjectName), toQString(host_.today()));
    FlagMapPanel picture(nullptr);
    picture.setFont(map_->font());
    picture.setCaption(title);
    picture.setUsage(data_);
    picture.resize(picture.sizeHint());
    QImage image = picture.grab().toImage();
    image.setText(QStringLiteral("Title"), title);
    image.setText(QStringLiteral("Software"), toQString(ApplicationTitle));
    return image;
}

void FlagMapWindow::saveMap() {
    for (;;) {
        const std::optional<QString> path = platform_.prompts.chooseSaveFile(
            this, QStringLiteral("Save Flag Map"), QStringLiteral("Flag Map.png"), QStringLiteral("PNG Image (*.png)"));
        if (!path || path->isEmpty())
            return;
        if (saveMapFile(*path))
            return;
    }
}

bool FlagMapWindow::saveMapFile(const QString& path) {
    switch (askToOverwrite(platform_.prompts, this, path)) {
    case Prompts::Answer::Yes: break;
    case Prompts::Answer::No: return false;
    case Prompts::Answer::Cancel: return true;
    }
    if (!mapImage().save(path, "PNG"))
        platform_.prompts.showMessage(this, toQString(ApplicationTitle),
                                      QStringLiteral("The flag map could not be saved to\r") + path,
                                      Prompts::Icon::Exclamation);
    return true;
}

void FlagMapWindow::reject() {
    // A report it started is still on the stack below; it closes after.
    if (launcher_.busy() || state_.run.ReportRunning)
        return;
    QDialog::reject();
}

void FlagMapWindow::showEvent(QShowEvent* event) {
    placeOnFirstShow(*this, placed_);
    QDialog::showEvent(event);
}

} // namespace orv::ui
