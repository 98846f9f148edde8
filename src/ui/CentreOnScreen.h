#pragma once

class QSize;
class QWidget;

namespace orv::ui {

// Places a window in the middle of its screen (the parent's screen for a
// dialog), wholly inside the screen's available area. Windows do this once,
// when first shown.
void centreOnScreen(QWidget& window);

// `wanted` (a window's inside, frame not included) bounded by what the
// available area of the window's screen holds with the frame around it.
QSize fittedToScreen(const QWidget& window, const QSize& wanted);

// Gives `window` a frameless scroll area that fills it and returns the
// widget inside, for the window's controls and layout: a window sized to
// its screen then scrolls what it cannot show.
QWidget* scrollingContents(QWidget& window);

// Sizes a window from the contents returned by scrollingContents: their
// size, or the available area of the screen where they do not fit. A fixed
// window keeps that size.
void fitContentsToScreen(QWidget& window, bool fixed);

} // namespace orv::ui
