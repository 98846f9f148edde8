#include "reports/UnusedFlagsReport.h"

#include "reports/ReportContext.h"

namespace orv {

// Being written: the unused flags report.
void UnusedFlagsReport(ReportContext&) {}

} // namespace orv
