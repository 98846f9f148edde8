#pragma once

namespace orv {
struct ReportContext;
}

namespace orv::testing {

// The flag reports written the straightforward way, from the statement classifier alone: every record read
// on its own and decoded whole, every flag's section made by a walk of every statement, the bar stepped
// unit by unit; no chunked reader, no gatherer, no sections kept. The yardstick the one-pass reports are
// held to.
void ReferenceFlagTrackerByFlag(ReportContext& ctx);
void ReferenceFlagTrackerByScene(ReportContext& ctx);
void ReferenceUnusedFlagsReport(ReportContext& ctx);

} // namespace orv::testing
