#pragma once

#include "ui/ReportPrinter.h"

namespace orv::ui {

// Prints on the default printer at once. Where no printer is installed the
// system print dialog is offered instead, so that the report can still go
// to a PDF file.
class QtReportPrinter : public ReportPrinter {
  public:
    void PrintReport(QWidget* parent, const QString& documentName, const QString& reportText) override;
};

} // namespace orv::ui
