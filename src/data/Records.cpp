#include "data/Records.h"

#include "data/RecordLayouts.h"

#include <bit>
#include <cstring>

namespace orv {
namespace L = layout;

ProjectRecord decodeProjectRecord(RecordBytes b) {
    return {readInteger(b, field(L::ProjectRecord, "ProjectLock"))};
}

void decodeObjectSettings(RecordBytes b, ObjectSlot& slot) {
    constexpr Field settings = field(L::ObjectSlot, "Settings");
    static_assert(sizeof slot.Settings == settings.size());
    // Every scene pass decodes millions of these: on a little-endian machine
    // the bytes are the values, in one copy.
    if constexpr (std::endian::native == std::endian::little)
        if (b.size() >= settings.end()) {
            std::memcpy(slot.Settings.data(), b.data() + settings.offset, settings.size());
            return;
        }
    for (std::size_t k = 1; k <= settings.count; ++k)
        slot.Settings[k - 1] = readInteger(b, settings, k);
}

void decodeObjectTexts(RecordBytes b, ObjectSlot& slot, std::size_t count) {
    constexpr Field texts = field(L::ObjectSlot, "ObjectText");
    for (std::size_t k = 1; k <= count && k <= texts.count; ++k)
        slot.ObjectText[k - 1] = readText(b, texts, k);
}

SceneHeaderFlags decodeSceneHeaderFlags(RecordBytes b) {
    constexpr auto& H = L::SceneHeader;
    SceneHeaderFlags h;
    h.CondLoadEnabled = readInteger(b, field(H, "CondLoadEnabled"));
    h.CondLoadFlag = readInteger(b, field(H, "CondLoadFlag"));
    h.CondLoadOperator = readInteger(b, field(H, "CondLoadOperator"));
    h.CondLoadValue = readInteger(b, field(H, "CondLoadValue"));
    h.CondLoadScene = readInteger(b, field(H, "CondLoadScene"));
    h.OnLoadFlagEnabled = readInteger(b, field(H, "OnLoadFlagEnabled"));
    h.OnLoadFlag = readInteger(b, field(H, "OnLoadFlag"));
    h.OnLoadValue = readInteger(b, field(H, "OnLoadValue"));
    h.OnLoadAdds = readInteger(b, field(H, "OnLoadAdds"));
    return h;
}

namespace {

ObjectSlot decodeObjectSlot(RecordBytes b) {
    ObjectSlot slot;
    slot.ObjectType = readInteger(b, field(L::ObjectSlot, "ObjectType"));
    decodeObjectTexts(b, slot, field(L::ObjectSlot, "ObjectText").count);
    decodeObjectSettings(b, slot);
    return slot;
}

} // namespace

SceneRecord decodeSceneRecord(RecordBytes b) {
    constexpr auto& H = L::SceneHeader;
    SceneRecord s;
    static_cast<SceneHeaderFlags&>(s) = decodeSceneHeaderFlags(b);
    s.SceneName = readText(b, field(H, "SceneName"));
    for (std::size_t i = 0; i < L::SceneFileFields.size(); ++i)
        s.SceneFile[i] = readText(b, L::SceneFileFields[i]);
    for (std::size_t k = 1; k <= 3; ++k)
        s.HeaderText[k - 1] = readText(b, field(H, "HeaderText"), k);
    s.ProjectLock = readInteger(b, field(H, "ProjectLock"));
    for (std::size_t t = 0; t < L::HeaderTableOffsets.size(); ++t)
        for (std::size_t e = 0; e < 6; ++e)
            s.Tables[t][e] = readInteger(b, L::HeaderTableOffsets[t][e]);
    for (std::size_t k = 1; k <= L::ObjectSlotCount; ++k) {
        const std::size_t start = L::objectSlotStart(k);
        s.Slots[k - 1] = decodeObjectSlot(start < b.size() ? b.subspan(start) : RecordBytes{});
    }
    return s;
}

LocationRecord decodeLocationRecord(RecordBytes b) {
    constexpr auto& R = L::LocationRecord;
    LocationRecord r;
    r.LocationFile1 = readText(b, field(R, "LocationFile1"));
    if (r.LocationFile1 == "(None)" || r.LocationFile1 == "(Del)")
        r.LocationFile1.clear();
    r.LocationFile2 = readText(b, field(R, "LocationFile2"));
    r.LocationFile3 = readText(b, field(R, "LocationFile3"));
    r.ProjectLock = readInteger(b, field(R, "ProjectLock"));
    return r;
}

InventoryItemRecord decodeInventoryItemRecord(RecordBytes b) {
    constexpr auto& R = L::InventoryItemRecord;
    InventoryItemRecord r;
    r.ItemFile[0] = readText(b, field(R, "ItemFile1"), 1, Trim::RightOnly);
    r.ItemFile[1] = readText(b, field(R, "ItemFile2"), 1, Trim::RightOnly);
    r.ItemFile[2] = readText(b, field(R, "ItemFile3"), 1, Trim::RightOnly);
    r.ItemFile[3] = readText(b, field(R, "ItemFile4"));
    r.ItemFile[4] = readText(b, field(R, "ItemFile5"));
    r.ItemFile[5] = readText(b, field(R, "ItemFile6"));
    r.ItemFile[6] = readText(b, field(R, "ItemFile7"), 1, Trim::RightOnly);
    r.ExamineSetsFlag = readInteger(b, field(R, "ExamineSetsFlag"));
    r.ExamineFlag = readInteger(b, field(R, "ExamineFlag"));
    r.ExamineValue = readInteger(b, field(R, "ExamineValue"));
    r.ExamineAdds = readInteger(b, field(R, "ExamineAdds"));
    r.ProjectLock = readInteger(b, field(R, "ProjectLock"));
    return r;
}

PlayerSettingsRecord decodePlayerSettingsRecord(RecordBytes b) {
    constexpr auto& R = L::PlayerSettingsRecord;
    PlayerSettingsRecord r;
    r.ProjectName = readText(b, field(R, "ProjectName"));
    r.ExecutableName = readText(b, field(R, "ExecutableName"));
    r.ProjectLock = readInteger(b, field(R, "ProjectLock"));
    r.ScoreEnabled = readInteger(b, field(R, "ScoreEnabled"));
    r.ScoreFlag = readInteger(b, field(R, "ScoreFlag"));
    r.BuiltInImages = readInteger(b, field(R, "BuiltInImages"));
    auto section = [&](std::vector<std::string>& out, const auto& offsets) {
        for (std::size_t o : offsets)
            out.push_back(readText(b, o, 15));
    };
    section(r.SectionFiles[0], L::SettingsSection1Files);
    section(r.SectionFiles[1], L::SettingsSection2Files);
    section(r.SectionFiles[2], L::SettingsSection3Files);
    section(r.SectionFiles[3], L::SettingsSection4Files);
    section(r.SectionFiles[4], L::SettingsSection5Files);
    return r;
}

CueCardRecord decodeCueCardRecord(RecordBytes b) {
    constexpr auto& R = L::CueCardRecord;
    CueCardRecord r;
    r.ProjectLock = readInteger(b, field(R, "ProjectLock"));
    for (std::size_t c = 1; c <= 5; ++c) {
        r.ChoiceSetsFlag[c - 1] = readInteger(b, field(R, "ChoiceSetsFlag"), c);
        r.ChoiceFlag[c - 1] = readInteger(b, field(R, "ChoiceFlag"), c);
        r.ChoiceValue[c - 1] = readInteger(b, field(R, "ChoiceValue"), c);
        r.ChoiceAdds[c - 1] = readInteger(b, field(R, "ChoiceAdds"), c);
        r.ChoiceFile[c - 1] = readText(b, field(R, "ChoiceFile"), c);
    }
    return r;
}

} // namespace orv
