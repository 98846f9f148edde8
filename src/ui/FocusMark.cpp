#include "ui/FocusMark.h"

#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QRect>

namespace orv::ui {

void paintFocusMark(QPainter& painter, const QRect& area, const QPalette& palette) {
    painter.save();
    painter.setPen(QPen(palette.color(QPalette::Active, QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(area).adjusted(1, 1, -1, -1));
    painter.restore();
}

} // namespace orv::ui
