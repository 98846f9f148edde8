#pragma once

#include "data/Types.h"

namespace orv {

struct ReportContext;

// Describes the object in slot run.CurrentObject of the loaded scene, whose
// type the caller passes. MarkUsed strikes each flag the object uses off the
// candidate list; Track writes a sentence for each statement about
// TrackedFlag (with EveryFlag on, about every flag). An unknown type writes
// its problem line in every mode.
void DescribeObject(Integer objectType, Integer mode, ReportContext& ctx);

} // namespace orv
