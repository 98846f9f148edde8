#pragma once

// The six record types in typed form, and one decoder each. Decoders never
// fail: they take the whole record's bytes (readRecord pads a short record
// with zeros) and read every named field from its row of the layout table;
// the rows the scanner does not interpret have no member.

#include "data/Types.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orv {

struct ProjectRecord {
    Integer ProjectLock = 0;
};

// The ObjectType of a slot that holds no object.
inline constexpr Integer EmptySlot = -1;

struct ObjectSlot {
    Integer ObjectType = 0;                // 0 to 9; EmptySlot marks an empty slot
    std::array<std::string, 9> ObjectText; // ObjectText1 to ObjectText9, trimmed
    std::array<Integer, 33> Settings{};    // the Integers at slot offsets 141 to 205

    // The setting at a slot offset from 141 to 205 (odd offsets only); any
    // other offset reads 0.
    Integer setting(std::size_t slotOffset) const {
        if (slotOffset < 141 || slotOffset > 205 || (slotOffset - 141) % 2 != 0)
            return 0;
        return Settings[(slotOffset - 141) / 2];
    }
};

// The flag fields of a scene header: its conditional scene load and its
// change on load.
struct SceneHeaderFlags {
    Integer CondLoadEnabled = 0;
    Integer CondLoadFlag = 0;
    Integer CondLoadOperator = 0;
    Integer CondLoadValue = 0;
    Integer CondLoadScene = 0;
    Integer OnLoadFlagEnabled = 0;
    Integer OnLoadFlag = 0;
    Integer OnLoadValue = 0;
    Integer OnLoadAdds = 0;
};

struct SceneRecord : SceneHeaderFlags {
    std::string SceneName;
    std::array<std::string, 7> SceneFile; // SceneFile1 to SceneFile7
    std::array<std::string, 3> HeaderText;
    Integer ProjectLock = 0;
    std::array<std::array<Integer, 6>, 4> Tables{};
    std::array<ObjectSlot, 20> Slots; // slot k is Slots[k - 1]

    const ObjectSlot& slot(int k) const { return Slots.at(static_cast<std::size_t>(k - 1)); }
};

struct LocationRecord {
    std::string LocationFile1; // empty when it reads "(None)" or "(Del)"
    std::string LocationFile2;
    std::string LocationFile3;
    Integer ProjectLock = 0;
};

struct InventoryItemRecord {
    // ItemFile1 to ItemFile7 in report order; 1, 2, 3 and 7 keep leading blanks.
    std::array<std::string, 7> ItemFile;
    Integer ExamineSetsFlag = 0;
    Integer ExamineFlag = 0;
    Integer ExamineValue = 0;
    Integer ExamineAdds = 0;
    Integer ProjectLock = 0;
};

struct PlayerSettingsRecord {
    std::string ProjectName;
    std::string ExecutableName;
    Integer ProjectLock = 0;
    Integer ScoreEnabled = 0;
    Integer ScoreFlag = 0;
    Integer BuiltInImages = 0;
    // The resource file names of sections 1 to 5, trimmed, in audit order.
    std::array<std::vector<std::string>, 5> SectionFiles;
};

struct CueCardRecord {
    Integer ProjectLock = 0;
    std::array<Integer, 5> ChoiceSetsFlag{};
    std::array<Integer, 5> ChoiceFlag{};
    std::array<Integer, 5> ChoiceValue{};
    std::array<Integer, 5> ChoiceAdds{};
    std::array<std::string, 5> ChoiceFile;
};

ProjectRecord decodeProjectRecord(RecordBytes bytes);
SceneRecord decodeSceneRecord(RecordBytes bytes);
// Parts of a scene record, for passes that need no more: the header's flag
// fields, and an object slot's settings and first `texts` texts (the slot's
// own bytes, from its ObjectType on).
SceneHeaderFlags decodeSceneHeaderFlags(RecordBytes scene);
void decodeObjectSettings(RecordBytes slot, ObjectSlot& into);
void decodeObjectTexts(RecordBytes slot, ObjectSlot& into, std::size_t texts);
LocationRecord decodeLocationRecord(RecordBytes bytes);
InventoryItemRecord decodeInventoryItemRecord(RecordBytes bytes);
PlayerSettingsRecord decodePlayerSettingsRecord(RecordBytes bytes);
CueCardRecord decodeCueCardRecord(RecordBytes bytes);

} // namespace orv
