#pragma once

#include "data/Types.h"

namespace orv {

class JsonStream;
struct ProjectState;
struct ReportContext;

// The JSON documents of orvanta-scan --format json (docs/orvanta-scan.schema.json),
// each written whole into `json` a statement at a time. Those that read the
// project need ctx's data files open, and step ctx's progress bar as the text
// reports do.

void WriteInfoJson(JsonStream& json, const ProjectState& project);
// `flag` 1 to 255, or AllSelector.
void WriteTrackFlagJson(JsonStream& json, ReportContext& ctx, Integer flag);
// `scene` a scene number, or AllSelector.
void WriteSceneFlagsJson(JsonStream& json, ReportContext& ctx, Integer scene);
void WriteUnusedFlagsJson(JsonStream& json, ReportContext& ctx);
void WriteFlagUsageJson(JsonStream& json, ReportContext& ctx);
void WriteScenePropertiesJson(JsonStream& json, const ProjectState& project, Integer scene);

} // namespace orv
