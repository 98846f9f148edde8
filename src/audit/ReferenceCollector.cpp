#include "audit/ReferenceCollector.h"

#include "audit/BuiltInImageNames.h"
#include "audit/FileExists.h"
#include "audit/ResourceFolders.h"
#include "data/DataFiles.h"
#include "data/Text.h"
#include "data/Yield.h"

#include <cerrno>

namespace orv {

ReferenceCollector::ReferenceCollector(AuditLists& lists, const std::filesystem::path& projectFolder,
                                       EventLoop& loop)
    : lists_(lists), loop_(loop) {
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
    unusedGfxNames_.clear();
    unusedMmediaNames_.clear();
    for (const std::string& name : lists_.UnusedGfx)
        unusedGfxNames_.insert(foldCase(name));
    for (const std::string& name : lists_.UnusedMmedia)
        unusedMmediaNames_.insert(foldCase(name));
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
    if (!FileExists(index_, folder(*kind), name, loop_) && !IsListedMissing(lists_, name, *kind)) {
        AddMissing(lists_, name, *kind);
        loop_.yield();
    }
    // Every entry that is the same file ignoring case goes: on a file system
    // that tells case apart there may be more than one.
    const std::string wanted = foldCase(name);
    auto& names = *kind == FolderKind::Mmedia ? unusedMmediaNames_ : unusedGfxNames_;
    if (names.erase(wanted) == 0)
        return;
    auto& unused = lists_.unused(*kind);
    for (auto it = unused.begin(); it != unused.end();) {
        const bool same = foldCase(*it) == wanted;
        loop_.yield();
        it = same ? unused.erase(it) : it + 1;
    }
}

void ReferenceCollector::CollectSettingsFiles(Integer section, const DataFiles& files) {
    if (section < 1 || section > 5)
        return;
    const PlayerSettingsRecord settings = ReadPlayerSettings(files);
    for (const std::string& name : settings.SectionFiles[static_cast<std::size_t>(section - 1)])
        RecordReference(name);
    if (section == 2)
        lists_.BuiltInImagesInUse = settings.BuiltInImages == 1;
}

void ReferenceCollector::RemoveBuiltInImages() {
    auto& unused = lists_.UnusedGfx;
    for (std::string_view name : BuiltInImageNames) {
        std::erase_if(unused, [&](const std::string& entry) { return foldCase(entry) == name; });
        loop_.yield();
    }
}

} // namespace orv
