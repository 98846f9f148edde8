#include "ui/ReportFont.h"

#include <QFontDatabase>

namespace orv::ui {

QFont reportFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(10);
    return font;
}

} // namespace orv::ui
