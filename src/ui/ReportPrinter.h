#pragma once

#include <QString>

class QWidget;

namespace orv::ui {

// Prints a report's text at once, with no page setup.
class ReportPrinter {
  public:
    virtual ~ReportPrinter() = default;
    // `documentName` names the print job (and a PDF file the user may be
    // offered instead of a printer).
    virtual void PrintReport(QWidget* parent, const QString& documentName, const QString& reportText) = 0;
};

} // namespace orv::ui
