#pragma once

#include <QFont>

namespace orv::ui {

// The reports' longest lines, in characters: the report window opens wide
// enough for them, and printing fits them between the margins.
inline constexpr int ReportColumns = 120;

// The fixed-pitch font of reports, on screen and on paper, so that the
// separator lines and columns line up.
QFont reportFont();

} // namespace orv::ui
