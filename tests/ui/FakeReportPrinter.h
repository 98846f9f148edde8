#pragma once

#include "ui/ReportPrinter.h"

#include <QStringList>

namespace orv::testing {

class FakeReportPrinter : public ui::ReportPrinter {
public:
    void PrintReport(QWidget*, const QString& documentName, const QString& reportText) override {
        documentNames.append(documentName);
        printed.append(reportText);
    }
    QStringList documentNames;
    QStringList printed;
};

} // namespace orv::testing
