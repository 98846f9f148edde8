#pragma once

#include <QFont>

namespace orv::ui {

// The fixed-pitch font of reports, on screen and on paper, so that the
// separator lines and columns line up.
QFont reportFont();

} // namespace orv::ui
