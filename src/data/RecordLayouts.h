#pragma once

// The layouts of the six record types, each declared once as a table of
// (offset, type, count, field). Rows without a name are not interpreted by
// the scanner; they are listed so that every byte has its place, and the
// static_asserts prove that each table packs its record exactly.

#include "data/Layout.h"

#include <array>

namespace orv::layout {

// The project file (*.orv): one record of 342 bytes.
inline constexpr std::size_t ProjectRecordLength = 342;
inline constexpr Field ProjectRecord[] = {
    //  offset  type         count  field
    {0, String(50)},      {50, String(50)}, {100, String(200)},
    {300, Integer16},     {302, Integer16}, {304, Integer16, 1, "ProjectLock"},
    {306, Integer16, 18},
};
static_assert(tilesRecord(ProjectRecord, ProjectRecordLength));

// Scene header: bytes 0 to 254 of a scene record.
inline constexpr std::size_t SceneHeaderLength = 255;
inline constexpr Field SceneHeader[] = {
    //  offset  type         count  field
    {0, String(15), 1, "SceneName"},
    {15, Integer16, 1, "CondLoadEnabled"},
    {17, Integer16, 1, "CondLoadFlag"},
    {19, Integer16, 1, "CondLoadOperator"},
    {21, Integer16, 1, "CondLoadValue"},
    {23, Integer16, 1, "CondLoadScene"},
    {25, String(15), 1, "SceneFile1"},
    {40, String(15), 1, "SceneFile2"},
    {55, Integer16},
    {57, String(15), 1, "SceneFile3"},
    {72, Integer16, 2},
    {76, String(15), 1, "SceneFile4"},
    {91, Integer16, 2},
    {95, String(15), 1, "SceneFile5"},
    {110, Integer16, 2},
    {114, String(15), 1, "SceneFile6"},
    {129, Integer16},
    {131, String(15), 1, "SceneFile7"},
    {146, Integer16},
    {148, Integer16, 1, "OnLoadFlagEnabled"},
    {150, Integer16, 1, "OnLoadFlag"},
    {152, Integer16, 1, "OnLoadValue"},
    {154, Integer16, 1, "OnLoadAdds"},
    {156, String(15), 3, "HeaderText"}, // not file names
    {201, Integer16, 2},
    {205, Integer16, 1, "ProjectLock"},
    {207, Integer16, 24, "HeaderTables"},
};
static_assert(tilesRecord(SceneHeader, SceneHeaderLength));

// The seven scene files, in the order the audit reads them.
inline constexpr std::array<Field, 7> SceneFileFields = {
    field(SceneHeader, "SceneFile1"), field(SceneHeader, "SceneFile2"), field(SceneHeader, "SceneFile3"),
    field(SceneHeader, "SceneFile4"), field(SceneHeader, "SceneFile5"), field(SceneHeader, "SceneFile6"),
    field(SceneHeader, "SceneFile7")};

// The 24 Integers at 207 to 253 form four tables of six values; element e
// (from 1) of table t (from 1) is the Integer at HeaderTableOffsets[t-1][e-1].
inline constexpr std::array<std::array<std::size_t, 6>, 4> HeaderTableOffsets = {{
    {207, 209, 223, 225, 227, 229},
    {211, 213, 231, 233, 235, 237},
    {215, 217, 239, 241, 243, 245},
    {219, 221, 247, 249, 251, 253},
}};

// Object slot k (1 to 20) starts at byte 255 + 207 x (k - 1) of the scene
// record. Offsets below are within the slot.
inline constexpr std::size_t ObjectSlotLength = 207;
inline constexpr std::size_t ObjectSlotCount = 20;
inline constexpr Field ObjectSlot[] = {
    //  offset  type         count  field
    {0, Integer16, 1, "ObjectType"}, // -1 = empty slot
    {2, Integer16, 2},
    {6, String(15), 9, "ObjectText"}, // ObjectText1 to ObjectText9
    {141, Integer16, 33, "Settings"}, // meaning depends on ObjectType
};
static_assert(tilesRecord(ObjectSlot, ObjectSlotLength));

inline constexpr std::size_t SceneRecordLength = SceneHeaderLength + ObjectSlotCount * ObjectSlotLength;
constexpr std::size_t objectSlotStart(std::size_t k) {
    return SceneHeaderLength + ObjectSlotLength * (k - 1);
}
static_assert(SceneRecordLength == 4395);
static_assert(objectSlotStart(20) == 4188 && objectSlotStart(20) + ObjectSlotLength == SceneRecordLength);

// Locations (Orvanta2.dat).
inline constexpr std::size_t LocationRecordLength = 112;
inline constexpr Field LocationRecord[] = {
    //  offset  type         count  field
    {0, String(15)},     {15, String(15), 1, "LocationFile1"}, // "(None)" / "(Del)": no file
    {30, Integer16, 6},  {42, String(15), 1, "LocationFile2"},
    {57, Integer16, 2},  {61, String(15), 1, "LocationFile3"}, // read from record 1 only
    {76, String(15)},    {91, String(15)},
    {106, Integer16, 2}, {110, Integer16, 1, "ProjectLock"}, // in record 1
};
static_assert(tilesRecord(LocationRecord, LocationRecordLength));

// Inventory items (Orvanta3.dat). ItemFile1 to ItemFile7 are numbered in the
// order the audit reports them, not in offset order.
inline constexpr std::size_t InventoryItemRecordLength = 209;
inline constexpr Field InventoryItemRecord[] = {
    //  offset  type         count  field
    {0, String(15)},
    {15, String(15), 1, "ItemFile1"}, // right end trimmed only
    {30, String(15), 1, "ItemFile2"}, // right end trimmed only
    {45, Integer16, 4},
    {53, String(15), 1, "ItemFile5"},
    {68, Integer16, 2},
    {72, String(15), 1, "ItemFile6"},
    {87, Integer16, 3},
    {93, String(30)},
    {123, Integer16},
    {125, String(15), 1, "ItemFile7"}, // right end trimmed only
    {140, Integer16, 5},
    {150, Integer16, 1, "ExamineSetsFlag"},
    {152, Integer16, 1, "ExamineFlag"},
    {154, Integer16, 1, "ExamineValue"},
    {156, Integer16, 1, "ExamineAdds"},
    {158, String(15), 1, "ItemFile3"}, // right end trimmed only
    {173, String(15), 1, "ItemFile4"},
    {188, String(15)},
    {203, Integer16, 2},
    {207, Integer16, 1, "ProjectLock"}, // in record 1
};
static_assert(tilesRecord(InventoryItemRecord, InventoryItemRecordLength));

// Player settings (Orvanta4.dat): exactly one record. The section column of
// the authoring tool's layout is kept in the comments; the resource file
// names of each section are listed in PlayerSettingsSectionFiles.
inline constexpr std::size_t PlayerSettingsRecordLength = 908;
inline constexpr Field PlayerSettingsRecord[] = {
    //  offset  type         count  field                   section
    {0, String(20), 1, "ProjectName"},     // 1
    {20, String(15)},                      // 1, resource file
    {35, Integer16, 2},                    // 1
    {39, String(15)},                      // 1, resource file
    {54, Integer16, 2},                    // 1
    {58, String(15)},                      // 1, resource file
    {73, Integer16, 3},                    // 1
    {79, String(15)},                      // 1, resource file
    {94, Integer16},                       // 1
    {96, String(15), 1, "ExecutableName"}, // 1
    {111, Integer16},                      // 1
    {113, String(20), 4},                  // 1
    {193, Integer16, 12},                  // 1
    {217, Integer16, 1, "ProjectLock"},    // -
    {219, String(15), 2},                  // 1, resource files
    {249, String(15)},                     // -
    {264, Integer16, 5},                   // 2
    {274, Integer16, 5},                   // -
    {284, String(15), 5},                  // 2, resource files
    {359, Integer16, 2},                   // 2
    {363, Integer16, 2},                   // -
    {367, String(15), 2},                  // 2, resource files
    {397, Integer16, 2},                   // 2
    {401, Integer16, 1, "ScoreEnabled"},   // 2
    {403, Integer16, 1, "ScoreFlag"},      // 2
    {405, Integer16},                      // 2
    {407, Integer16, 2},                   // -
    {411, String(15)},                     // 2, resource file
    {426, Integer16},                      // -
    {428, String(15)},                     // 2, resource file
    {443, Integer16},                      // -
    {445, Integer16},                      // 1
    {447, Integer16, 2},                   // -
    {451, Integer16, 1, "BuiltInImages"},  // 2
    {453, String(15)},                     // 2, resource file
    {468, String(15)},                     // 2
    {483, String(15)},                     // -
    {498, String(15), 15},                 // 3, resource files
    {723, String(15), 3},                  // -
    {768, Integer16, 2},                   // -
    {772, String(15)},                     // -
    {787, Integer16},                      // -
    {789, String(15)},                     // 4, resource file
    {804, String(15)},                     // -
    {819, Integer16},                      // -
    {821, String(15), 2},                  // -
    {851, Integer16},                      // 4
    {853, Integer16, 2},                   // 5
    {857, Integer16},                      // -
    {859, String(15)},                     // 5, resource file
    {874, Integer16},                      // 5
    {876, String(15), 2},                  // -
    {906, Integer16},                      // -
};
static_assert(tilesRecord(PlayerSettingsRecord, PlayerSettingsRecordLength));

// The resource file names of the five sections, in the order the audit reads
// them (which is not offset order in section 1 and 2).
inline constexpr std::array<std::size_t, 6> SettingsSection1Files = {20, 39, 58, 219, 234, 79};
inline constexpr std::array<std::size_t, 10> SettingsSection2Files = {284, 299, 314, 329, 344, 367, 382, 453, 411, 428};
inline constexpr std::array<std::size_t, 15> SettingsSection3Files = {498, 513, 528, 543, 558, 573, 588, 603,
                                                                      618, 633, 648, 663, 678, 693, 708};
inline constexpr std::array<std::size_t, 1> SettingsSection4Files = {789};
inline constexpr std::array<std::size_t, 1> SettingsSection5Files = {859};

template <std::size_t N> consteval bool allTextFields(const std::array<std::size_t, N>& offsets) {
    for (std::size_t o : offsets)
        if (!hasTextAt(PlayerSettingsRecord, o, 15))
            return false;
    return true;
}
static_assert(allTextFields(SettingsSection1Files) && allTextFields(SettingsSection2Files) &&
              allTextFields(SettingsSection3Files) && allTextFields(SettingsSection4Files) &&
              allTextFields(SettingsSection5Files));

// Cue cards (Orvanta5.dat). Element c (1 to 5) of each array belongs to
// choice c.
inline constexpr std::size_t CueCardRecordLength = 1712;
inline constexpr Field CueCardRecord[] = {
    //  offset  type         count  field
    {0, Integer16, 1, "ProjectLock"}, // in record 1
    {2, String(15)},
    {17, String(50), 5},
    {267, Integer16, 5, "ChoiceSetsFlag"},
    {277, Integer16, 5, "ChoiceFlag"},
    {287, Integer16, 5, "ChoiceValue"},
    {297, Integer16, 5, "ChoiceAdds"},
    {307, Integer16, 5},
    {317, String(15), 5, "ChoiceFile"},
    {392, Integer16, 5},
    {402, Integer16, 5},
    {412, String(50), 5},
    {662, String(50), 5},
    {912, String(50), 5},
    {1162, String(50), 5},
    {1412, String(50), 5},
    {1662, Integer16, 5},
    {1672, Integer16, 5},
    {1682, Integer16, 5},
    {1692, Integer16, 5},
    {1702, Integer16, 5},
};
static_assert(tilesRecord(CueCardRecord, CueCardRecordLength));
static_assert(field(CueCardRecord, "ChoiceFlag").at(3) == 281);

} // namespace orv::layout
