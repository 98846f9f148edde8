#include "data/SceneTables.h"

#include "data/DataFiles.h"

namespace orv {

void LoadScene(const DataFiles& files, Integer sceneNo, SceneTables& tables) {
    tables.Scene = decodeSceneRecord(files.Scenes.readRecord(sceneNo));
    tables.CurrentScene = sceneNo;
}

} // namespace orv
