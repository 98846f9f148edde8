#pragma once

namespace orv {

struct ReportContext;

// Report kind 4: every place where TrackedFlag (or, with 999, each flag 1 to
// 255 in turn) is tested or changed: scenes, objects, cue cards, items.
void FlagTrackerByFlag(ReportContext& ctx);

// Report kind 5: every flag statement of TrackedScene (or of every scene,
// with 999), whatever the flag.
void FlagTrackerByScene(ReportContext& ctx);

} // namespace orv
