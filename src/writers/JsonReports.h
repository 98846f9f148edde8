#pragma once

#include "data/Project.h"
#include "data/Types.h"
#include "reports/FlagStatements.h"

#include <optional>

namespace orv {

class JsonStream;
struct FilesAudit;
struct FlagSections;
struct FlagUsageData;
struct UnusedFlags;

// The JSON documents of orvanta-scan --format json (docs/orvanta-scan.schema.json),
// each written from the model of its report, a statement at a time.

void WriteInfoJson(JsonStream& json, const LoadedProject& project);
void WriteScenePropertiesJson(JsonStream& json, const LoadedProject& project, Integer scene);

// `flag` 1 to 255, or AllSelector; the sections gathered with their statements.
void WriteTrackFlagJson(JsonStream& json, const LoadedProject& project, Integer flag,
                        const std::optional<FlagStatementList>& score, FlagSections& sections);

// The scene-flags document, written a scene at a time as the scenes are read.
class SceneFlagsJson {
  public:
    // `scene` a scene number, or AllSelector.
    SceneFlagsJson(JsonStream& json, const LoadedProject& project, Integer scene,
                   const std::optional<FlagStatementList>& score);
    void scene(int scene, const FlagStatementList& statements);
    void finish();

  private:
    JsonStream& json_;
    const LoadedProject& project_;
    std::string buffer_;
};

void WriteUnusedFlagsJson(JsonStream& json, const LoadedProject& project, const UnusedFlags& scan);
// The summary of a project gathered from `source`; its statements are worded
// (and those outside 1 to 255 read again) as they are written. A record that
// cannot be read again stops the document: the failure.
std::optional<Failure> WriteFlagUsageJson(JsonStream& json, ProjectSource source, const FlagUsageData& data);
// For gfx and mmedia, each missing name with every place that references it
// and what was probably meant, each unused file with its size; then the totals.
void WriteFilesJson(JsonStream& json, const LoadedProject& project, const FilesAudit& audit);

} // namespace orv
