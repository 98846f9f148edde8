#pragma once

#include "audit/FolderKind.h"
#include "audit/ReferencePlaces.h"
#include "data/Failure.h"

#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The four lists the resource audit builds, alive as long as the program.
// The files manager shows them; recycling removes entries from the unused
// lists.
struct AuditLists {
    std::vector<std::string> MissingGfx;    // List1: sorted ignoring case
    std::vector<std::string> MissingMmedia; // List2: sorted ignoring case
    // The unused lists hold the real names from disk, bytes unchanged, so a
    // file is always handled under its own name; they are shown through
    // DisplayName (audit/DiskNames.h).
    std::vector<std::string> UnusedGfx;    // List3: folder listing order
    std::vector<std::string> UnusedMmedia; // List4: folder listing order
    bool BuiltInImagesInUse = false;
    // Media folders that exist but could not be listed (no permission, a
    // file or a loop of links where the folder belongs): their unused list
    // is empty because nothing could be read, not because nothing is there.
    std::vector<Failure> UnlistableFolders;
    // Where each name on the missing lists is referenced.
    MissingReferences MissingPlaces;

    void clear() {
        UnlistableFolders.clear();
        MissingPlaces.clear();
        MissingGfx.clear();
        MissingMmedia.clear();
        UnusedGfx.clear();
        UnusedMmedia.clear();
    }

    // The lists of one folder; throws std::invalid_argument for a value that
    // names no folder.
    std::vector<std::string>& missing(FolderKind kind);
    std::vector<std::string>& unused(FolderKind kind);
    const std::vector<std::string>& missing(FolderKind kind) const {
        return const_cast<AuditLists*>(this)->missing(kind);
    }
    const std::vector<std::string>& unused(FolderKind kind) const {
        return const_cast<AuditLists*>(this)->unused(kind);
    }
};

// True when the missing list of `kind` holds exactly `name`, letter case
// included. A value that names no folder gives false.
bool IsListedMissing(const AuditLists& lists, std::string_view name, FolderKind kind);

// Adds a name to a missing list at its place in the list's order (see
// ListedBefore), unless the list already holds exactly that name.
void AddMissing(AuditLists& lists, const std::string& name, FolderKind kind);

// The order of the folder listings and of the missing lists: alphabetical
// ignoring letter case (ASCII and Windows-1252 letters); names that differ
// only in case follow their raw bytes, so the order is always total.
bool ListedBefore(std::string_view a, std::string_view b);

} // namespace orv
