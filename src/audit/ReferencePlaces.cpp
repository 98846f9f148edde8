#include "audit/ReferencePlaces.h"

#include "audit/DiskNames.h"
#include "audit/ReferenceCollector.h"
#include "audit/ResourceFolders.h"
#include "data/Project.h"
#include "reports/ObjectTypes.h"

#include <string_view>

namespace orv {

std::string SceneText(const LoadedProject& project, Integer scene) {
    return "scene " + std::to_string(scene) + " (" + project.sceneName(scene) + ")";
}

std::string SlotText(int slot, Integer objectType) {
    const std::string number = std::to_string(slot);
    if (objectType == EmptySlot)
        return "slot " + number + " (empty)";
    if (const auto name = ObjectTypeName(objectType))
        return "object " + number + " (" + std::string(*name) + ")";
    return "object " + number + " (type " + std::to_string(objectType) + ")";
}

std::string QuotedNames(const std::vector<std::string>& names) {
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i)
        out += (i == 0 ? "'" : i + 1 == names.size() ? " or '" : ", '") + DisplayName(names[i]) + "'";
    return out;
}

std::string DescribeReferencePlace(const ReferencePlace& place, const LoadedProject& project) {
    const std::string field = std::to_string(place.field);
    const std::string record = std::to_string(place.record);
    using Kind = ReferencePlace::Kind;
    switch (place.kind) {
    case Kind::PlayerSettings: return "player settings, section " + record;
    case Kind::Scene: return SceneText(project, place.record) + ", scene file " + field;
    case Kind::Object: return SceneText(project, place.record) + ", " + SlotText(place.slot, place.objectType);
    case Kind::CueCard: return "cue card " + record + ", choice " + field;
    case Kind::InventoryItem: return "inventory item " + record + ", file " + field;
    case Kind::Location: return "location " + record + ", file " + field;
    }
    return {};
}

std::string MissingFileNote(const std::vector<ReferencePlace>& places, const std::vector<std::string>& suggestions,
                            const LoadedProject& project, std::size_t shown) {
    std::string note =
        places.size() == 1 ? "Referenced by:" : "Referenced by " + std::to_string(places.size()) + " places:";
    for (std::size_t i = 0; i < places.size() && i < shown; ++i)
        note += "\n  " + DescribeReferencePlace(places[i], project);
    if (places.size() > shown)
        note += "\n  ... and " + std::to_string(places.size() - shown) + " more";
    if (!suggestions.empty())
        note += "\nDid you mean " + QuotedNames(suggestions) + "?";
    return note;
}

void MissingReferences::clear() {
    gfx_.clear();
    mmedia_.clear();
}

void MissingReferences::add(FolderKind kind, const std::string& name, const ReferencePlace& place) {
    (kind == FolderKind::Mmedia ? mmedia_ : gfx_)[name].push_back(place);
}

const std::vector<ReferencePlace>& MissingReferences::of(FolderKind kind, const std::string& name) const {
    static const std::vector<ReferencePlace> None;
    const auto& map = kind == FolderKind::Mmedia ? mmedia_ : gfx_;
    const auto it = map.find(name);
    return it == map.end() ? None : it->second;
}

PlaceRecorder::PlaceRecorder(ReferenceCollector& collector, MissingReferences& places)
    : collector_(collector), places_(places) {}

void PlaceRecorder::enter(const ReferencePlace& place) {
    place_ = place;
    place_.field = 0;
}

void PlaceRecorder::RecordReference(const std::string& name) {
    ++place_.field;
    collector_.RecordReference(name);
    if (const auto kind = ReferenceKind(name); kind && collector_.IsMissing(name, *kind))
        places_.add(*kind, name, place_);
}

} // namespace orv
