#include "support/RecordEncoders.h"

#include "data/RecordLayouts.h"
#include "data/Text.h"

#include <algorithm>
#include <stdexcept>

namespace orv::testing {
namespace L = layout;

namespace {

void putInteger(Bytes& b, std::size_t offset, Integer value) {
    const auto u = static_cast<std::uint16_t>(value);
    b.at(offset) = static_cast<std::uint8_t>(u & 0xFF);
    b.at(offset + 1) = static_cast<std::uint8_t>(u >> 8);
}

void putText(Bytes& b, std::size_t offset, std::size_t width, std::string_view utf8) {
    std::string ansi = encodeAnsi(utf8);
    if (ansi.size() > width)
        ansi.resize(width);
    std::fill_n(b.begin() + static_cast<std::ptrdiff_t>(offset), width, std::uint8_t{' '});
    std::copy(ansi.begin(), ansi.end(), b.begin() + static_cast<std::ptrdiff_t>(offset));
}

void putInteger(Bytes& b, const Field& f, std::size_t k, Integer value) { putInteger(b, f.at(k), value); }
void putText(Bytes& b, const Field& f, std::size_t k, std::string_view utf8) {
    putText(b, f.at(k), f.type.width, utf8);
}

// Every text field of a table starts out as blanks, named or not.
template <std::size_t N>
void blankTexts(Bytes& b, const Field (&table)[N], std::size_t base = 0) {
    for (const Field& f : table)
        if (f.type.isText)
            std::fill_n(b.begin() + static_cast<std::ptrdiff_t>(base + f.offset), f.size(), std::uint8_t{' '});
}

// The offsets of the unnamed Integers of the scene header, in offset order:
// the places of SceneRecord::OtherIntegers.
std::vector<std::size_t> otherHeaderIntegers() {
    std::vector<std::size_t> offsets;
    for (const Field& f : L::SceneHeader)
        if (!f.type.isText && f.name.empty())
            for (std::size_t k = 1; k <= f.count; ++k)
                offsets.push_back(f.at(k));
    return offsets;
}

void putSlot(Bytes& b, std::size_t start, const ObjectSlot& slot) {
    constexpr auto& S = L::ObjectSlot;
    // ObjectSlot::Reserved is the unnamed pair of Integers after the type.
    static_assert(S[1].offset == 2 && S[1].count == 2 && S[1].name.empty());
    Bytes one(L::ObjectSlotLength, 0);
    blankTexts(one, S);
    putInteger(one, field(S, "ObjectType"), 1, slot.ObjectType);
    for (std::size_t k = 1; k <= slot.Reserved.size(); ++k)
        putInteger(one, S[1], k, slot.Reserved[k - 1]);
    for (std::size_t k = 1; k <= slot.ObjectText.size(); ++k)
        putText(one, field(S, "ObjectText"), k, slot.ObjectText[k - 1]);
    for (std::size_t k = 1; k <= slot.Settings.size(); ++k)
        putInteger(one, field(S, "Settings"), k, slot.Settings[k - 1]);
    std::copy(one.begin(), one.end(), b.begin() + static_cast<std::ptrdiff_t>(start));
}

template <std::size_t N>
void putSection(Bytes& b, const std::array<std::size_t, N>& offsets, const std::vector<std::string>& names,
                int section) {
    if (names.size() > N)
        throw std::invalid_argument("player settings section " + std::to_string(section) + " holds only " +
                                    std::to_string(N) + " file names");
    for (std::size_t i = 0; i < names.size(); ++i)
        putText(b, offsets[i], 15, names[i]);
}

} // namespace

Bytes encodeProjectRecord(Integer lock) {
    Bytes b(L::ProjectRecordLength, 0);
    blankTexts(b, L::ProjectRecord);
    putInteger(b, field(L::ProjectRecord, "ProjectLock"), 1, lock);
    return b;
}

Bytes encodeScene(const SceneRecord& s) {
    constexpr auto& H = L::SceneHeader;
    Bytes b(L::SceneRecordLength, 0);
    blankTexts(b, H);
    putText(b, field(H, "SceneName"), 1, s.SceneName);
    putInteger(b, field(H, "CondLoadEnabled"), 1, s.CondLoadEnabled);
    putInteger(b, field(H, "CondLoadFlag"), 1, s.CondLoadFlag);
    putInteger(b, field(H, "CondLoadOperator"), 1, s.CondLoadOperator);
    putInteger(b, field(H, "CondLoadValue"), 1, s.CondLoadValue);
    putInteger(b, field(H, "CondLoadScene"), 1, s.CondLoadScene);
    constexpr std::array<Field, 7> files = {field(H, "SceneFile1"), field(H, "SceneFile2"), field(H, "SceneFile3"),
                                            field(H, "SceneFile4"), field(H, "SceneFile5"), field(H, "SceneFile6"),
                                            field(H, "SceneFile7")};
    for (std::size_t i = 0; i < files.size(); ++i)
        putText(b, files[i], 1, s.SceneFile[i]);
    putInteger(b, field(H, "OnLoadFlagEnabled"), 1, s.OnLoadFlagEnabled);
    putInteger(b, field(H, "OnLoadFlag"), 1, s.OnLoadFlag);
    putInteger(b, field(H, "OnLoadValue"), 1, s.OnLoadValue);
    putInteger(b, field(H, "OnLoadAdds"), 1, s.OnLoadAdds);
    for (std::size_t k = 1; k <= s.HeaderText.size(); ++k)
        putText(b, field(H, "HeaderText"), k, s.HeaderText[k - 1]);
    putInteger(b, field(H, "ProjectLock"), 1, s.ProjectLock);
    for (std::size_t t = 0; t < L::HeaderTableOffsets.size(); ++t)
        for (std::size_t e = 0; e < L::HeaderTableOffsets[t].size(); ++e)
            putInteger(b, L::HeaderTableOffsets[t][e], s.Tables[t][e]);
    const auto others = otherHeaderIntegers();
    if (others.size() != s.OtherIntegers.size())
        throw std::logic_error("the scene header's unnamed Integers do not match SceneRecord::OtherIntegers");
    for (std::size_t i = 0; i < others.size(); ++i)
        putInteger(b, others[i], s.OtherIntegers[i]);
    for (std::size_t k = 1; k <= L::ObjectSlotCount; ++k)
        putSlot(b, L::objectSlotStart(k), s.Slots[k - 1]);
    return b;
}

Bytes encodeLocation(const LocationRecord& r) {
    constexpr auto& R = L::LocationRecord;
    Bytes b(L::LocationRecordLength, 0);
    blankTexts(b, R);
    putText(b, field(R, "LocationFile1"), 1, r.LocationFile1);
    putText(b, field(R, "LocationFile2"), 1, r.LocationFile2);
    putText(b, field(R, "LocationFile3"), 1, r.LocationFile3);
    putInteger(b, field(R, "ProjectLock"), 1, r.ProjectLock);
    return b;
}

Bytes encodeInventoryItem(const InventoryItemRecord& r) {
    constexpr auto& R = L::InventoryItemRecord;
    Bytes b(L::InventoryItemRecordLength, 0);
    blankTexts(b, R);
    constexpr std::array<Field, 7> files = {field(R, "ItemFile1"), field(R, "ItemFile2"), field(R, "ItemFile3"),
                                            field(R, "ItemFile4"), field(R, "ItemFile5"), field(R, "ItemFile6"),
                                            field(R, "ItemFile7")};
    for (std::size_t i = 0; i < files.size(); ++i)
        putText(b, files[i], 1, r.ItemFile[i]);
    putInteger(b, field(R, "ExamineSetsFlag"), 1, r.ExamineSetsFlag);
    putInteger(b, field(R, "ExamineFlag"), 1, r.ExamineFlag);
    putInteger(b, field(R, "ExamineValue"), 1, r.ExamineValue);
    putInteger(b, field(R, "ExamineAdds"), 1, r.ExamineAdds);
    putInteger(b, field(R, "ProjectLock"), 1, r.ProjectLock);
    return b;
}

Bytes encodePlayerSettings(const PlayerSettingsRecord& r) {
    constexpr auto& R = L::PlayerSettingsRecord;
    Bytes b(L::PlayerSettingsRecordLength, 0);
    blankTexts(b, R);
    putText(b, field(R, "ProjectName"), 1, r.ProjectName);
    putText(b, field(R, "ExecutableName"), 1, r.ExecutableName);
    putInteger(b, field(R, "ProjectLock"), 1, r.ProjectLock);
    putInteger(b, field(R, "ScoreEnabled"), 1, r.ScoreEnabled);
    putInteger(b, field(R, "ScoreFlag"), 1, r.ScoreFlag);
    putInteger(b, field(R, "BuiltInImages"), 1, r.BuiltInImages);
    putSection(b, L::SettingsSection1Files, r.SectionFiles[0], 1);
    putSection(b, L::SettingsSection2Files, r.SectionFiles[1], 2);
    putSection(b, L::SettingsSection3Files, r.SectionFiles[2], 3);
    putSection(b, L::SettingsSection4Files, r.SectionFiles[3], 4);
    putSection(b, L::SettingsSection5Files, r.SectionFiles[4], 5);
    return b;
}

Bytes encodeCueCard(const CueCardRecord& r) {
    constexpr auto& R = L::CueCardRecord;
    Bytes b(L::CueCardRecordLength, 0);
    blankTexts(b, R);
    putInteger(b, field(R, "ProjectLock"), 1, r.ProjectLock);
    for (std::size_t c = 1; c <= 5; ++c) {
        putInteger(b, field(R, "ChoiceSetsFlag"), c, r.ChoiceSetsFlag[c - 1]);
        putInteger(b, field(R, "ChoiceFlag"), c, r.ChoiceFlag[c - 1]);
        putInteger(b, field(R, "ChoiceValue"), c, r.ChoiceValue[c - 1]);
        putInteger(b, field(R, "ChoiceAdds"), c, r.ChoiceAdds[c - 1]);
        putText(b, field(R, "ChoiceFile"), c, r.ChoiceFile[c - 1]);
    }
    return b;
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
