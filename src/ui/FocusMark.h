#pragma once

class QPainter;
class QPalette;
class QRect;

namespace orv::ui {

// The mark of a focused text view, whose style draws no focus frame and
// which, read-only, shows no blinking caret: a frame in the highlight
// colour just inside `area`.
void paintFocusMark(QPainter& painter, const QRect& area, const QPalette& palette);

} // namespace orv::ui
