#pragma once

// Writers for the six record types, the mirror image of the decoders in data/Records.h: every field goes
// to the offset its layout table gives, texts as Windows-1252, blank-padded and cut to the field width.
// Bytes that no struct member holds are zero, except unnamed text fields: blanks, as the tool leaves them.

#include "data/Records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv::testing {

using Bytes = std::vector<std::uint8_t>;

Bytes encodeProjectRecord(Integer lock);
Bytes encodeScene(const SceneRecord& scene);
Bytes encodeLocation(const LocationRecord& location);
Bytes encodeInventoryItem(const InventoryItemRecord& item);
// SectionFiles[s] fills the section's file offsets in audit order; fewer names leave the rest blank, more
// names than offsets throw std::invalid_argument.
Bytes encodePlayerSettings(const PlayerSettingsRecord& settings);
Bytes encodeCueCard(const CueCardRecord& card);

// A scene with the given name and all 20 slots empty (ObjectType -1).
SceneRecord makeScene(std::string name);

// Sets the Integer at a slot offset from 141 to 205 (odd offsets only, the way the object settings are
// described); any other offset throws std::out_of_range.
ObjectSlot& setSetting(ObjectSlot& slot, std::size_t slotOffset, Integer value);

} // namespace orv::testing
