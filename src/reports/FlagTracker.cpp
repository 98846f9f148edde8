#include "reports/FlagTracker.h"

#include "reports/ReportContext.h"

namespace orv {

// Being written: the flag trackers.
void FlagTrackerByFlag(ReportContext&) {}
void FlagTrackerByScene(ReportContext&) {}

} // namespace orv
