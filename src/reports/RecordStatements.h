#pragma once

#include "data/Types.h"

namespace orv {

struct ReportContext;

// The statement generators of the four record kinds. Each reads its record
// afresh; modes as in StatementMode.h. CollectFiles hands file names to
// ctx.references.
void DescribePlayerSettings(Integer section, Integer mode, ReportContext& ctx);
void DescribeCueCard(Integer cueCardNo, Integer mode, ReportContext& ctx);
void DescribeInventoryItem(Integer itemNo, Integer mode, ReportContext& ctx);
void DescribeLocation(Integer locationNo, Integer mode, ReportContext& ctx);

// The scene-header sentences of the loaded scene (its conditional load and
// its on-load change) in mode Track, about TrackedFlag or, with EveryFlag
// on, about every flag.
void DescribeSceneHeader(Integer sceneNo, ReportContext& ctx);

} // namespace orv
