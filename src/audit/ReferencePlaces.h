#pragma once

#include "audit/FileReferenceSink.h"
#include "audit/FolderKind.h"
#include "data/Types.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace orv {

class ReferenceCollector;
struct LoadedProject;

// Which record field named a resource file.
struct ReferencePlace {
    enum class Kind : std::uint8_t { PlayerSettings, Scene, Object, CueCard, InventoryItem, Location };
    Kind kind = Kind::Scene;
    std::uint8_t slot = 0;   // Object: the slot, 1 to 20
    std::uint8_t field = 0;  // the field, from 1: section file, SceneFile, ObjectText, choice, ItemFile, LocationFile
    Integer record = 0;      // scene, cue card, inventory item or location number; the settings section 1 to 5
    Integer objectType = -1; // Object: the slot's ObjectType (-1: the slot is empty)
};

// "scene 12 (Kitchen)".
std::string SceneText(const LoadedProject& project, Integer scene);
// "object 3 (HotSpot)", "object 3 (type 42)", or "slot 3 (empty)" for type -1.
std::string SlotText(int slot, Integer objectType);
// "'a'", "'a' or 'b'", "'a', 'b' or 'c'": names from disk, through DisplayName.
std::string QuotedNames(const std::vector<std::string>& names);

// "scene 12 (Kitchen), object 3 (HotSpot)", "scene 12 (Kitchen), slot 3
// (empty)", "scene 2 (Hall), scene file 4", "cue card 4, choice 2",
// "inventory item 3, file 5", "location 2, file 1", "player settings,
// section 2".
std::string DescribeReferencePlace(const ReferencePlace& place, const LoadedProject& project);

// DescribeReferencePlace shown safely (DisplayName), appended to `out`: the
// same text, for the hundreds of thousands of places a check words. Each
// scene's text is shown once; the rest of a place is plain ASCII.
class PlaceWording {
  public:
    explicit PlaceWording(const LoadedProject& project) : project_(project) {}
    void append(std::string& out, const ReferencePlace& place);

  private:
    const std::string& shownScene(Integer scene);
    const LoadedProject& project_;
    std::vector<std::string> scenes_; // by scene number; empty until asked
    std::string other_;               // a scene the project does not have
};

// The note on a missing file: the places that reference it (the first
// `shown` of them, then how many more) and what was probably meant. One
// line each; suggestions are names from disk, shown through DisplayName.
std::string MissingFileNote(const std::vector<ReferencePlace>& places, const std::vector<std::string>& suggestions,
                            const LoadedProject& project, std::size_t shown = 10);

// Where each name on the missing lists is referenced, in the order the
// collection pass met the references. Only references to missing files are
// kept, so a project whose files are all there costs nothing here.
class MissingReferences {
  public:
    void clear();
    void add(FolderKind kind, const std::string& name, const ReferencePlace& place);
    // The places that name `name` exactly (the missing list's spelling).
    const std::vector<ReferencePlace>& of(FolderKind kind, const std::string& name) const;

  private:
    std::unordered_map<std::string, std::vector<ReferencePlace>> gfx_;
    std::unordered_map<std::string, std::vector<ReferencePlace>> mmedia_;
};

// Stands between the collection pass and the collector: hands every
// reference on unchanged, and notes its place when the name ends up on a
// missing list. The pass says which record it is in with enter(); the
// fields of a record are counted in the order they are handed on.
class PlaceRecorder : public FileReferenceSink {
  public:
    PlaceRecorder(ReferenceCollector& collector, MissingReferences& places);
    void enter(const ReferencePlace& place);
    void RecordReference(const std::string& name) override;
    // A field that names no file, passed over without a reference.
    void skip() { ++place_.field; }

  private:
    ReferenceCollector& collector_;
    MissingReferences& places_;
    ReferencePlace place_;
};

} // namespace orv
