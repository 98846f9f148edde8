#pragma once

#include <QString>

class QPrinter;

namespace orv::ui {

// Lays the report out on the printer's pages with half-inch margins in a
// fixed-pitch font, small enough for 120 characters to a line, and prints
// every page: every character once, in order, no line split across two
// pages; an empty report prints one empty page.
// Returns the number of pages printed (0 when the printer could not start).
int PrintReportText(QPrinter& printer, const QString& reportText);

} // namespace orv::ui
