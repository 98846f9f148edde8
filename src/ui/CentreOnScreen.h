#pragma once

class QSize;
class QWidget;

namespace orv::ui {

// Places a window in the middle of its screen (the parent's screen for a
// dialog), or in the middle of `over` when given, with its frame wholly
// inside the screen's available area. Before the window manager has framed
// a window, room is kept for a title bar and borders. Windows do this once,
// when first shown.
void centreOnScreen(QWidget& window, const QWidget* over = nullptr);

// `wanted` (a window's inside, frame not included) bounded by what the
// available area of the window's screen holds with the frame around it.
QSize fittedToScreen(const QWidget& window, const QSize& wanted);

// Gives `window` a frameless scroll area that fills it and returns the
// widget inside, for the window's controls and layout: a window sized to
// its screen then scrolls what it cannot show. Widgets added to the
// window's own layout after the area stay in view below it.
QWidget* scrollingContents(QWidget& window);

// Sizes a window from the contents returned by scrollingContents and the
// widgets kept below them: their size, or the available area of the screen
// where they do not fit. A fixed window keeps that size.
void fitContentsToScreen(QWidget& window, bool fixed);

// A window's placement when first shown: fitted to its screen (see
// fitContentsToScreen), then centred. Later shows leave the window where
// the user put it; `placed` remembers.
void placeOnFirstShow(QWidget& window, bool& placed);

} // namespace orv::ui
