#include "ui/CentreOnScreen.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>

namespace orv::ui {

namespace {

const QScreen* screenOf(const QWidget& window) {
    const QWidget* parent = window.parentWidget();
    const QScreen* screen = parent ? parent->screen() : window.screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

bool framed(const QWidget& window) {
    return window.isVisible() && window.frameGeometry().size() != window.size();
}

// The window manager's frame: known once the window has been shown, else
// an allowance for a title bar and borders.
QSize frameAllowance(const QWidget& window) {
    if (framed(window))
        return window.frameGeometry().size() - window.size();
    return {8, window.fontMetrics().height() * 2 + 8};
}

QScrollArea* scrollAreaOf(QWidget& window) {
    return window.findChild<QScrollArea*>(QStringLiteral("WindowContents"), Qt::FindDirectChildrenOnly);
}

} // namespace

void centreOnScreen(QWidget& window, const QWidget* over) {
    const QScreen* screen = screenOf(window);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame(window.pos(), window.size() + frameAllowance(window));
    frame.moveCenter(over && over->isVisible() ? over->frameGeometry().center() : area.center());
    // A window larger than the area keeps its top left corner on it.
    frame.moveLeft(qMax(area.left(), qMin(frame.left(), area.right() - frame.width() + 1)));
    frame.moveTop(qMax(area.top(), qMin(frame.top(), area.bottom() - frame.height() + 1)));
    if (framed(window)) {
        window.move(frame.topLeft()); // a framed window's position is its frame's
        return;
    }
    // Before the window manager has framed it, a window's position is that
    // of its inside: the frame will stand around it, the title bar above.
    // Made now, so that this holds whatever the window manager does with a
    // position asked for before the window exists.
    static_cast<void>(window.winId());
    const QSize allowance = frameAllowance(window);
    window.move(frame.topLeft() + QPoint(allowance.width() / 2, allowance.height() - allowance.width() / 2));
}

QSize fittedToScreen(const QWidget& window, const QSize& wanted) {
    const QScreen* screen = screenOf(window);
    if (!screen)
        return wanted;
    return wanted.boundedTo(screen->availableGeometry().size() - frameAllowance(window));
}

QWidget* scrollingContents(QWidget& window) {
    auto* area = new QScrollArea(&window);
    area->setObjectName(QStringLiteral("WindowContents"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    // Not a stop of its own for Tab, where it could show no focus: the
    // controls inside are, and it scrolls each into view as it takes focus.
    area->setFocusPolicy(Qt::NoFocus);
    auto* contents = new QWidget(area);
    area->setWidget(contents);
    auto* outer = new QVBoxLayout(&window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area, 1);
    return contents;
}

void fitContentsToScreen(QWidget& window, bool fixed) {
    QScrollArea* area = scrollAreaOf(window);
    if (!area || !area->widget())
        return;
    QWidget* contents = area->widget();
    if (contents->layout())
        contents->layout()->activate();
    const QSize inside = contents->layout() && contents->layout()->sizeConstraint() == QLayout::SetFixedSize
                             ? contents->size()
                             : contents->sizeHint().expandedTo(contents->minimumSizeHint());
    // What stays in view beside the scroll area.
    QSize kept(0, 0);
    if (QLayout* outer = window.layout()) {
        const QMargins margins = outer->contentsMargins();
        kept = QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
        int keptWidth = 0;
        for (int i = 0; i < outer->count(); ++i) {
            QLayoutItem* item = outer->itemAt(i);
            if (item->widget() == area || item->isEmpty())
                continue;
            keptWidth = qMax(keptWidth, item->sizeHint().width());
            kept.rheight() += item->sizeHint().height() + qMax(0, outer->spacing());
        }
        kept.rwidth() += qMax(0, keptWidth - inside.width());
    }
    const QSize natural = inside + kept;
    const QSize room = fittedToScreen(window, QSize(1 << 20, 1 << 20));
    QSize size = natural.boundedTo(room);
    // Where the contents are cut, the other scroll bar needs its room.
    const int bar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area);
    if (size.width() < natural.width())
        size.setHeight(qMin(natural.height() + bar, room.height()));
    if (size.height() < natural.height())
        size.setWidth(qMin(natural.width() + bar, room.width()));
    if (fixed)
        window.setFixedSize(size);
    else
        window.resize(size);
}

void placeOnFirstShow(QWidget& window, bool& placed) {
    if (placed)
        return;
    placed = true;
    fitContentsToScreen(window, false);
    centreOnScreen(window);
}

} // namespace orv::ui
