#pragma once

#include "support/ProjectBuilder.h"

namespace orv {

// "Lighthouse Keeper": the sample adventure in examples/lighthouse. Twelve
// scenes, objects of all ten types, conditional scene loads, on-load flag
// changes, locations, inventory items, cue cards and a score flag; its media
// folders hold some of the files it names, lack a few, and keep a few that
// nothing names.
testing::ProjectBuilder lighthouseKeeper();

} // namespace orv
