#pragma once

namespace orv {

struct ReportContext;

// Report kind 1: the flags 1 to 255 that no enabled statement uses.
void UnusedFlagsReport(ReportContext& ctx);

} // namespace orv
