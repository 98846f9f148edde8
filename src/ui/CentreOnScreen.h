#pragma once

class QWidget;

namespace orv::ui {

// Places a window in the middle of its screen (the parent's screen for a
// dialog). Windows do this once, when first shown.
void centreOnScreen(QWidget& window);

} // namespace orv::ui
