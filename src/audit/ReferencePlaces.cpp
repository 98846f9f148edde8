#include "audit/ReferencePlaces.h"

#include "audit/DiskNames.h"
#include "audit/ReferenceCollector.h"
#include "audit/ResourceFolders.h"
#include "data/Project.h"
#include "reports/ObjectTypes.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace orv {

namespace {

void appendNumber(std::string& out, long n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out.append(digits, end);
}

void appendSlot(std::string& out, int slot, Integer objectType) {
    if (objectType == EmptySlot) {
        out += "slot ";
        appendNumber(out, slot);
        out += " (empty)";
        return;
    }
    out += "object ";
    appendNumber(out, slot);
    if (const auto name = ObjectTypeName(objectType)) {
        out.append(" (").append(*name).append(")");
    } else {
        out += " (type ";
        appendNumber(out, objectType);
        out += ")";
    }
}

constexpr bool plainAscii(std::string_view text) {
    for (const char c : text)
        if (c < 0x20 || c > 0x7E)
            return false;
    return true;
}
// PlaceWording shows only the scene names: every other piece of a place is
// as it would be shown.
static_assert(std::all_of(ObjectTypeNames.begin(), ObjectTypeNames.end(), plainAscii));

// The one wording of a place; `scene` gives a scene's text.
template <class SceneText> void appendPlace(std::string& out, const ReferencePlace& place, SceneText&& scene) {
    using Kind = ReferencePlace::Kind;
    switch (place.kind) {
    case Kind::PlayerSettings:
        out += "player settings, section ";
        appendNumber(out, place.record);
        return;
    case Kind::Scene:
        out += scene(place.record);
        out += ", scene file ";
        appendNumber(out, place.field);
        return;
    case Kind::Object:
        out += scene(place.record);
        out += ", ";
        appendSlot(out, place.slot, place.objectType);
        return;
    case Kind::CueCard:
        out += "cue card ";
        appendNumber(out, place.record);
        out += ", choice ";
        appendNumber(out, place.field);
        return;
    case Kind::InventoryItem:
        out += "inventory item ";
        appendNumber(out, place.record);
        out += ", file ";
        appendNumber(out, place.field);
        return;
    case Kind::Location:
        out += "location ";
        appendNumber(out, place.record);
        out += ", file ";
        appendNumber(out, place.field);
        return;
    }
}

} // namespace

std::string SceneText(const LoadedProject& project, Integer scene) {
    std::string out = "scene ";
    appendNumber(out, scene);
    out.append(" (").append(project.sceneName(scene)).append(")");
    return out;
}

std::string SlotText(int slot, Integer objectType) {
    std::string out;
    appendSlot(out, slot, objectType);
    return out;
}

std::string QuotedNames(const std::vector<std::string>& names) {
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i)
        out += (i == 0 ? "'" : i + 1 == names.size() ? " or '" : ", '") + DisplayName(names[i]) + "'";
    return out;
}

std::string DescribeReferencePlace(const ReferencePlace& place, const LoadedProject& project) {
    std::string out;
    appendPlace(out, place, [&](Integer scene) { return SceneText(project, scene); });
    return out;
}

void PlaceWording::append(std::string& out, const ReferencePlace& place) {
    appendPlace(out, place, [this](Integer scene) -> const std::string& { return shownScene(scene); });
}

const std::string& PlaceWording::shownScene(Integer scene) {
    // The text around the name is ASCII, which no UTF-8 sequence runs into:
    // showing the whole text shows the name alone.
    if (scene < 0 || static_cast<std::size_t>(scene) >= project_.SceneNames.size()) {
        other_ = DisplayName(SceneText(project_, scene));
        return other_;
    }
    if (scenes_.empty())
        scenes_.resize(project_.SceneNames.size());
    std::string& text = scenes_[static_cast<std::size_t>(scene)];
    if (text.empty())
        text = DisplayName(SceneText(project_, scene));
    return text;
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
