#include "audit/ReferenceCollector.h"

#include "audit/BuiltInImageNames.h"
#include "audit/FileExists.h"
#include "audit/ResourceFolders.h"
#include "data/Text.h"
#include "data/Yield.h"

#include <cerrno>

namespace orv {

ReferenceCollector::ReferenceCollector(AuditLists& lists, const std::filesystem::path& projectFolder, EventLoop& loop)
    : lists_(lists), loop_(loop), recorded_(1) {
    gfx_ = ResourceFolder(projectFolder, FolderKind::Gfx, index_);
    mmedia_ = ResourceFolder(projectFolder, FolderKind::Mmedia, index_);
}

const std::filesystem::path& ReferenceCollector::folder(FolderKind kind) const {
    return kind == FolderKind::Mmedia ? mmedia_ : gfx_;
}

void ReferenceCollector::ListFolders() {
    lists_.clear();
    lists_.UnusedGfx = index_.files(gfx_);
    lists_.UnusedMmedia = index_.files(mmedia_);
    // The scene file's fields are remembered by the scene pass itself; the
    // names that come here one by one are few.
    recorded_.assign(4096, std::string());
    unusedGfx_.reset(lists_.UnusedGfx);
    unusedMmedia_.reset(lists_.UnusedMmedia);
    missingGfx_.reset();
    missingMmedia_.reset();
    // A folder that is not there counts as empty; one that is there but
    // cannot be read is reported.
    for (const std::filesystem::path* folder : {&gfx_, &mmedia_})
        if (const int err = index_.listingError(*folder); err != 0 && err != ENOENT)
            lists_.UnlistableFolders.push_back(systemFailure(FailureKind::FolderUnlistable, err, *folder));
    loop_.yield();
}

void ReferenceCollector::RecordReference(const std::string& name) {
    const auto kind = ReferenceKind(name);
    if (!kind)
        return;
    // A name recorded before, in this very spelling, changes nothing more:
    // its file was looked for and its unused entries are gone. Projects name
    // the same few thousand files over and over, so the names last recorded
    // are kept in a small table (a name pushed out is merely recorded again).
    std::string& seen = recorded_[std::hash<std::string_view>{}(name) & (recorded_.size() - 1)];
    if (seen == name) {
        loop_.yield();
        return;
    }
    seen = name;
    const bool mmedia = *kind == FolderKind::Mmedia;
    UnusedListIndex& unused = mmedia ? unusedMmedia_ : unusedGfx_;
    const std::string folded = foldCase(name);
    // A name of no folder below the media folder is there exactly when the
    // folder's listing holds a visible ordinary file of that name ignoring
    // case: when the unused list began with one.
    const bool inFolder = name.find_first_of("/\\") == std::string::npos;
    bool present = false;
    if (inFolder) {
        present = unused.listed(folded);
        loop_.yield();
    } else {
        present = FileExists(index_, folder(*kind), name, loop_);
    }
    if (!present && (mmedia ? missingMmedia_ : missingGfx_).add(name)) {
        lists_.missing(*kind).push_back(name);
        loop_.yield();
    }
    // Every entry that is the same file ignoring case goes: on a file system
    // that tells case apart there may be more than one.
    if (unused.takeOff(folded) > 0)
        loop_.yield();
}

void ReferenceCollector::CollectSettingsFiles(Integer section, const PlayerSettingsRecord& settings,
                                              FileReferenceSink& via) {
    if (section < 1 || section > 5)
        return;
    for (const std::string& name : settings.SectionFiles[static_cast<std::size_t>(section - 1)])
        via.RecordReference(name);
    if (section == 2)
        lists_.BuiltInImagesInUse = settings.BuiltInImages == 1;
}

void ReferenceCollector::RemoveBuiltInImages() {
    for (std::string_view name : BuiltInImageNames) {
        unusedGfx_.takeOff(std::string(name));
        loop_.yield();
    }
}

void ReferenceCollector::Finish() {
    unusedGfx_.compact(lists_.UnusedGfx);
    unusedMmedia_.compact(lists_.UnusedMmedia);
    MissingListIndex::sort(lists_.MissingGfx);
    MissingListIndex::sort(lists_.MissingMmedia);
}

} // namespace orv
