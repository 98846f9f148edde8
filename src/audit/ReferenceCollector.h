#pragma once

#include "audit/AuditListIndex.h"
#include "audit/AuditLists.h"
#include "audit/FileReferenceSink.h"
#include "audit/FolderIndex.h"
#include "data/Records.h"
#include "data/Types.h"

#include <filesystem>
#include <string>
#include <vector>

namespace orv {

class EventLoop;

// One collection pass over a project's resource references: it fills the
// audit lists from the two media folders and takes off the unused lists what
// the references name, adding to the missing lists what is not on disk. The
// folders are listed once for the whole pass.
class ReferenceCollector : public FileReferenceSink {
  public:
    ReferenceCollector(AuditLists& lists, const std::filesystem::path& projectFolder, EventLoop& loop);

    // Empties the four lists and puts every ordinary file of each media
    // folder on its unused list, in listing order. A media folder that does
    // not exist counts as an empty one.
    void ListFolders();

    // Records one reference: an empty name or one without a "." is ignored;
    // otherwise it goes on the missing list of its folder when the file is
    // absent (once, exact spelling), and every unused entry that names the
    // same file ignoring case leaves the unused list.
    void RecordReference(const std::string& name) override;

    // True when the pass has put `name`, in this very spelling, on the
    // missing list of `kind`.
    bool IsMissing(const std::string& name, FolderKind kind) const {
        return (kind == FolderKind::Mmedia ? missingMmedia_ : missingGfx_).contains(name);
    }

    // Records the file names of one player settings section (1 to 5) in
    // their order, through `via` (which hands them back here); any other
    // section does nothing. Section 2 also decides BuiltInImagesInUse.
    void CollectSettingsFiles(Integer section, const PlayerSettingsRecord& settings, FileReferenceSink& via);

    // Takes the built-in interface images off the unused gfx list.
    void RemoveBuiltInImages();

    // Ends the pass: the unused lists lose the entries the references took
    // off, and the missing lists are put into listing order. Until then the
    // lists are kept as indexes, so that each reference costs one lookup.
    void Finish();

    // The folder of a kind as found on disk (see ResourceFolder).
    const std::filesystem::path& folder(FolderKind kind) const;

    const AuditLists& lists() const { return lists_; }

  private:
    AuditLists& lists_;
    EventLoop& loop_;
    FolderIndex index_;
    std::filesystem::path gfx_;
    std::filesystem::path mmedia_;
    // A walk of the whole unused list (or an insertion into the sorted
    // missing list) once per reference made the pass grow with the square of
    // the references on a large project.
    UnusedListIndex unusedGfx_;
    UnusedListIndex unusedMmedia_;
    MissingListIndex missingGfx_;
    MissingListIndex missingMmedia_;
    std::vector<std::string> recorded_; // names recorded since the folders were listed, by hash
};

} // namespace orv
