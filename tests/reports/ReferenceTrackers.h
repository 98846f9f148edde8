#pragma once

namespace orv {
struct ReportContext;
}

namespace orv::testing {

// The flag reports written the straightforward way: every scene, cue card and
// item read afresh for every flag, every statement asked of the statement
// generators. Slow, and the yardstick the one-pass reports are held to.
void ReferenceFlagTrackerByFlag(ReportContext& ctx);
void ReferenceFlagTrackerByScene(ReportContext& ctx);
void ReferenceUnusedFlagsReport(ReportContext& ctx);

} // namespace orv::testing
