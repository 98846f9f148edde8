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

// The window manager's frame: known once the window has been shown, else
// an allowance for a title bar and borders.
QSize frameAllowance(const QWidget& window) {
    if (window.isVisible() && window.frameGeometry().size() != window.size())
        return window.frameGeometry().size() - window.size();
    return {8, window.fontMetrics().height() * 2 + 8};
}

QScrollArea* scrollAreaOf(QWidget& window) {
    return window.findChild<QScrollArea*>(QStringLiteral("WindowContents"), Qt::FindDirectChildrenOnly);
}

} // namespace

void centreOnScreen(QWidget& window) {
    const QScreen* screen = screenOf(window);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = window.frameGeometry();
    frame.moveCenter(area.center());
    // A window larger than the area keeps its top left corner on it.
    frame.moveLeft(qMax(area.left(), qMin(frame.left(), area.right() - frame.width() + 1)));
    frame.moveTop(qMax(area.top(), qMin(frame.top(), area.bottom() - frame.height() + 1)));
    window.move(frame.topLeft());
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
    auto* contents = new QWidget(area);
    area->setWidget(contents);
    auto* outer = new QVBoxLayout(&window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
    return contents;
}

void fitContentsToScreen(QWidget& window, bool fixed) {
    QScrollArea* area = scrollAreaOf(window);
    if (!area || !area->widget())
        return;
    QWidget* contents = area->widget();
    if (contents->layout())
        contents->layout()->activate();
    const QSize natural = contents->layout() && contents->layout()->sizeConstraint() == QLayout::SetFixedSize
                              ? contents->size()
                              : contents->sizeHint().expandedTo(contents->minimumSizeHint());
    QSize size = fittedToScreen(window, natural);
    // Where the contents are cut, the other scroll bar needs its room.
    const int bar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area);
    if (size.width() < natural.width())
        size.setHeight(qMin(natural.height() + bar, fittedToScreen(window, QSize(natural.width(), 1 << 20)).height()));
    if (size.height() < natural.height())
        size.setWidth(qMin(natural.width() + bar, fittedToScreen(window, QSize(1 << 20, natural.height())).width()));
    if (fixed)
        window.setFixedSize(size);
    else
        window.resize(size);
}

} // namespace orv::ui
