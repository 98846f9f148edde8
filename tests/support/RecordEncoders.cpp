#include "support/RecordEncoders.h"

#include "data/RecordLayouts.h"
#include "data/Text.h"

#include <algorithm>
#include <stdexcept>

namespace orv::testing {
namespace L = layout;

namespace {

// A record being written: zeros, with every text field of its layout table blank, named or not.
struct Writer {
    std::span<const Field> table;
    Bytes b;

    Writer(std::span<const Field> rows, std::size_t length) : table(rows), b(length, 0) {
        for (const Field& f : table)
            if (f.type.isText)
                put(f.offset, f.size(), "");
    }
    void put(std::size_t offset, Integer value) {
        b.at(offset) = static_cast<std::uint8_t>(value & 0xFF);
        b.at(offset + 1) = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    }
    void put(std::size_t offset, std::size_t width, std::string_view utf8) {
        const std::string padded = encodeAnsi(utf8).substr(0, width) + std::string(width, ' ');
        std::copy_n(padded.begin(), width, b.begin() + offset);
    }
    void put(const Field& f, Integer value, std::size_t k = 1) { put(f.at(k), value); }
    void put(const Field& f, std::string_view utf8, std::size_t k = 1) { put(f.at(k), f.type.width, utf8); }
    template <typename T, std::size_t N> // values[k - 1] goes to element k of an array field
    void put(const Field& f, const std::array<T, N>& values) {
        for (std::size_t k = 1; k <= N; ++k)
            put(f, values[k - 1], k);
    }
    template <typename T> // the field of that name; a name the table lacks throws
    void put(std::string_view name, const T& value) {
        const auto f = std::ranges::find(table, name, &Field::name);
        if (f == table.end())
            throw std::logic_error("no field " + std::string(name) + " in the layout table");
        put(*f, value);
    }
    void put(std::initializer_list<std::pair<std::string_view, Integer>> integers) {
        for (const auto& [name, value] : integers)
            put(name, value);
    }
    // files[d - 1] goes to the field named prefix + d: SceneFile1 to 7, ItemFile1 to 7.
    void putFiles(std::string_view prefix, const std::array<std::string, 7>& files) {
        for (std::size_t d = 1; d <= files.size(); ++d)
            put(std::string(prefix) + std::to_string(d), files[d - 1]);
    }
};

Bytes encodeSlot(const ObjectSlot& slot) {
    Writer w(L::ObjectSlot, L::ObjectSlotLength);
    w.put("ObjectType", slot.ObjectType);
    w.put("ObjectText", slot.ObjectText);
    w.put("Settings", slot.Settings);
    return w.b;
}

} // namespace

Bytes encodeProjectRecord(Integer lock) {
    Writer w(L::ProjectRecord, L::ProjectRecordLength);
    w.put("ProjectLock", lock);
    return w.b;
}

Bytes encodeScene(const SceneRecord& s) {
    Writer w(L::SceneHeader, L::SceneRecordLength);
    w.put("SceneName", s.SceneName);
    w.put({{"CondLoadEnabled", s.CondLoadEnabled}, {"CondLoadFlag", s.CondLoadFlag},
           {"CondLoadOperator", s.CondLoadOperator}, {"CondLoadValue", s.CondLoadValue},
           {"CondLoadScene", s.CondLoadScene}, {"OnLoadFlagEnabled", s.OnLoadFlagEnabled},
           {"OnLoadFlag", s.OnLoadFlag}, {"OnLoadValue", s.OnLoadValue}, {"OnLoadAdds", s.OnLoadAdds},
           {"ProjectLock", s.ProjectLock}});
    w.putFiles("SceneFile", s.SceneFile);
    w.put("HeaderText", s.HeaderText);
    for (std::size_t t = 0; t < L::HeaderTableOffsets.size(); ++t)
        for (std::size_t e = 0; e < L::HeaderTableOffsets[t].size(); ++e)
            w.put(L::HeaderTableOffsets[t][e], s.Tables[t][e]);
    for (std::size_t k = 1; k <= L::ObjectSlotCount; ++k)
        std::ranges::copy(encodeSlot(s.Slots[k - 1]), w.b.begin() + L::objectSlotStart(k));
    return w.b;
}

Bytes encodeLocation(const LocationRecord& r) {
    Writer w(L::LocationRecord, L::LocationRecordLength);
    w.put("LocationFile1", r.LocationFile1);
    w.put("LocationFile2", r.LocationFile2);
    w.put("LocationFile3", r.LocationFile3);
    w.put("ProjectLock", r.ProjectLock);
    return w.b;
}

Bytes encodeInventoryItem(const InventoryItemRecord& r) {
    Writer w(L::InventoryItemRecord, L::InventoryItemRecordLength);
    w.putFiles("ItemFile", r.ItemFile);
    w.put({{"ExamineSetsFlag", r.ExamineSetsFlag}, {"ExamineFlag", r.ExamineFlag},
           {"ExamineValue", r.ExamineValue}, {"ExamineAdds", r.ExamineAdds}, {"ProjectLock", r.ProjectLock}});
    return w.b;
}

Bytes encodePlayerSettings(const PlayerSettingsRecord& r) {
    Writer w(L::PlayerSettingsRecord, L::PlayerSettingsRecordLength);
    w.put("ProjectName", r.ProjectName);
    w.put("ExecutableName", r.ExecutableName);
    w.put({{"ProjectLock", r.ProjectLock}, {"ScoreEnabled", r.ScoreEnabled}, {"ScoreFlag", r.ScoreFlag},
           {"BuiltInImages", r.BuiltInImages}});
    const std::span<const std::size_t> sections[] = {L::SettingsSection1Files, L::SettingsSection2Files,
                                                     L::SettingsSection3Files, L::SettingsSection4Files,
                                                     L::SettingsSection5Files};
    for (std::size_t s = 0; s < 5; ++s) {
        const std::vector<std::string>& names = r.SectionFiles[s];
        if (names.size() > sections[s].size())
            throw std::invalid_argument("too many files for settings section " + std::to_string(s + 1));
        for (std::size_t i = 0; i < names.size(); ++i)
            w.put(sections[s][i], 15, names[i]);
    }
    return w.b;
}

Bytes encodeCueCard(const CueCardRecord& r) {
    Writer w(L::CueCardRecord, L::CueCardRecordLength);
    w.put("ProjectLock", r.ProjectLock);
    w.put("ChoiceSetsFlag", r.ChoiceSetsFlag);
    w.put("ChoiceFlag", r.ChoiceFlag);
    w.put("ChoiceValue", r.ChoiceValue);
    w.put("ChoiceAdds", r.ChoiceAdds);
    w.put("ChoiceFile", r.ChoiceFile);
    return w.b;
}

SceneRecord makeScene(std::string name) {
    SceneRecord s;
    s.SceneName = std::move(name);
    for (ObjectSlot& slot : s.Slots)
        slot.ObjectType = -1;
    return s;
}

ObjectSlot& setSetting(ObjectSlot& slot, std::size_t slotOffset, Integer value) {
    if (slotOffset < 141 || slotOffset > 205 || (slotOffset - 141) % 2 != 0)
        throw std::out_of_range("object settings lie at odd slot offsets 141 to 205, not at " +
                                std::to_string(slotOffset));
    slot.Settings[(slotOffset - 141) / 2] = value;
    return slot;
}

} // namespace orv::testing
