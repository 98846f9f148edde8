#pragma once

#include "data/Records.h"
#include "data/Types.h"

namespace orv {

struct DataFiles;

// One typed copy of one scene; every LoadScene replaces all of it.
struct SceneTables {
    Integer CurrentScene = 0;
    SceneRecord Scene;
};

// Reads scene record sceneNo into the tables and sets CurrentScene last. The
// number is not checked against the scene count: a record past the end reads
// as zeros. Throws FileError on a read failure.
void LoadScene(const DataFiles& files, Integer sceneNo, SceneTables& tables);

} // namespace orv
