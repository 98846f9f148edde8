#pragma once

#include "audit/AuditLists.h"
#include "audit/FolderKind.h"
#include "data/Failure.h"
#include "data/Project.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orv {

class NearMissIndex;
class ReportHost;

// The resource files audit of a project, from one collection pass: the four
// lists with the places that name each missing file, the size of each
// unused file, the media folders as they are on disk and those that could
// not be listed, and what was probably meant by each missing name.
struct FilesAudit {
    FilesAudit();
    FilesAudit(FilesAudit&&) noexcept;
    FilesAudit& operator=(FilesAudit&&) noexcept;
    ~FilesAudit();

    AuditLists lists;
    // resource/gfx and resource/mmedia as they are spelled on disk (as given
    // when they do not exist).
    std::array<std::filesystem::path, 2> folders;
    // The size of each entry of the unused lists as the pass left them, in
    // their order; empty where a file could not be measured.
    std::array<std::vector<std::optional<std::uint64_t>>, 2> unusedSizes;
    // Beside each size: the entry is an ordinary file itself, no link (as
    // measuring found it), so its place on disk is its folder's and its name.
    std::array<std::vector<bool>, 2> unusedPlain;
    // A record that could not be read stopped the pass: the lists are
    // incomplete.
    std::optional<Failure> failure;

    const std::filesystem::path& folder(FolderKind kind) const { return folders[index(kind)]; }
    const std::vector<std::optional<std::uint64_t>>& sizes(FolderKind kind) const { return unusedSizes[index(kind)]; }
    const std::vector<bool>& plain(FolderKind kind) const { return unusedPlain[index(kind)]; }
    // The bytes the unused files of a folder take (those that could be measured).
    std::uint64_t unusedBytes(FolderKind kind) const;
    // The folder's listing failure, when it exists but could not be listed.
    const Failure* unlistable(FolderKind kind) const;

    // Up to three unused files of the folder that were probably meant by the
    // missing `name`: the same name with another extension first, then
    // names within two typing slips, ignoring letter case. Worked out from
    // the unused list as it stands, on first asking.
    std::vector<std::string> suggestionsFor(FolderKind kind, const std::string& name) const;
    // The unused lists changed (files sent to the Trash): suggestions are
    // worked out afresh.
    void unusedChanged();

    static std::size_t index(FolderKind kind) { return kind == FolderKind::Mmedia ? 1 : 0; }

  private:
    mutable std::array<std::unique_ptr<NearMissIndex>, 2> nearMisses_;
};

// The collection pass: lists both media folders, then reads every record
// that names resource files (player settings sections 1 to 5, each scene's
// files and object texts, cue cards, inventory items, locations), then
// measures the unused files. Steps the progress bar once per section,
// scene, cue card, item and location, and yields as it records names.
FilesAudit AuditProjectFiles(ProjectSource source, ReportHost& host);

// The media folders in the order every output lists them.
inline constexpr std::array<FolderKind, 2> MediaFolders = {FolderKind::Gfx, FolderKind::Mmedia};

} // namespace orv
