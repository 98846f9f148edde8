#pragma once

#include "data/RecordFile.h"
#include "data/Records.h"
#include "data/Yield.h"

#include <optional>

namespace orv {

struct ProjectState;

// The five data files of a project, open for the length of one load or one
// report run; closing them is destroying this object.
struct DataFiles {
    RecordFile Scenes;         // Orvanta1.dat
    RecordFile Locations;      // Orvanta2.dat
    RecordFile InventoryItems; // Orvanta3.dat
    RecordFile PlayerSettings; // Orvanta4.dat
    RecordFile CueCards;       // Orvanta5.dat
};

// Opens the five data files of the project's folder in the order player
// settings, cue cards, inventory items, locations, scenes, and refreshes the
// counts of `project`. The project name (and the main window caption) is
// taken from the player settings only when that file is exactly one record
// long. Yields twice, as loading always has. Throws FileError.
DataFiles OpenDataFiles(ProjectState& project, EventLoop& loop);

// Each reader reads its own fresh copy of record n; nothing is cached.
LocationRecord ReadLocation(const DataFiles& files, long n);
InventoryItemRecord ReadInventoryItem(const DataFiles& files, long n);
CueCardRecord ReadCueCard(const DataFiles& files, long n);
PlayerSettingsRecord ReadPlayerSettings(const DataFiles& files); // always record 1

} // namespace orv
