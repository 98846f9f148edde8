#include "audit/FilesAudit.h"

#include "audit/DiskNames.h"
#include "audit/FieldMemo.h"
#include "audit/NearMiss.h"
#include "audit/ReferenceCollector.h"
#include "audit/ReferencePlaces.h"
#include "audit/ResourceFolders.h"
#include "data/FolderHandle.h"
#include "data/RecordLayouts.h"
#include "data/Text.h"
#include "reports/ReportHost.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace orv {

namespace L = layout;

FilesAudit::FilesAudit() = default;
FilesAudit::FilesAudit(FilesAudit&&) noexcept = default;
FilesAudit& FilesAudit::operator=(FilesAudit&&) noexcept = default;
FilesAudit::~FilesAudit() = default;

std::uint64_t FilesAudit::unusedBytes(FolderKind kind) const {
    std::uint64_t bytes = 0;
    for (const auto& size : sizes(kind))
        bytes += size.value_or(0);
    return bytes;
}

const Failure* FilesAudit::unlistable(FolderKind kind) const {
    for (const Failure& f : lists.UnlistableFolders)
        if (f.path == folder(kind))
            return &f;
    return nullptr;
}

std::vector<std::string> FilesAudit::suggestionsFor(FolderKind kind, const std::string& name) const {
    std::unique_ptr<NearMissIndex>& index = nearMisses_[FilesAudit::index(kind)];
    if (!index)
        index = std::make_unique<NearMissIndex>(lists.unused(kind));
    return index->suggestionsFor(name);
}

void FilesAudit::unusedChanged() {
    for (auto& index : nearMisses_)
        index.reset();
}

namespace {

// The text fields of one scene record: the scene files, then the nine texts
// of each slot, whatever its type and whether it is in use. Each field that
// names a file is recorded (once for the same bytes, see FieldMemo), and each
// place of a missing one is noted.
class SceneFields {
  public:
    SceneFields(ReferenceCollector& collector, MissingReferences& places, EventLoop& loop, std::size_t fields)
        : collector_(collector), places_(places), loop_(loop), memo_(fields) {}

    void record(RecordBytes scene, Integer sceneNo) {
        constexpr Field texts = field(L::ObjectSlot, "ObjectText");
        for (std::size_t k = 1; k <= L::ObjectSlotCount; ++k)
            for (std::size_t t = 1; t <= texts.count; ++t)
                memo_.prefetch(scene.subspan(L::objectSlotStart(k) + texts.at(t)).first<FieldMemo::Width>());
        for (std::size_t f = 0; f < L::SceneFileFields.size(); ++f)
            recordField(scene, L::SceneFileFields[f].offset, sceneNo, 0, f + 1);
        for (std::size_t k = 1; k <= L::ObjectSlotCount; ++k)
            for (std::size_t t = 1; t <= texts.count; ++t)
                recordField(scene, L::objectSlotStart(k) + texts.at(t), sceneNo, k, t);
    }

  private:
    void recordField(RecordBytes scene, std::size_t offset, Integer sceneNo, std::size_t slot, std::size_t fieldNo) {
        const auto bytes = scene.subspan(offset).first<FieldMemo::Width>();
        // A field of blanks, or of zeros, names no file: most fields of a
        // project, told apart by two overlapping words of the field.
        std::uint64_t head = 0, tail = 0;
        std::memcpy(&head, bytes.data(), 8);
        std::memcpy(&tail, bytes.data() + FieldMemo::Width - 8, 8);
        constexpr std::uint64_t Blanks = 0x2020202020202020ULL;
        if ((head == Blanks && tail == Blanks) || (head == 0 && tail == 0))
            return;
        const FieldMemo::Entry* entry = memo_.find(bytes);
        if (!entry) {
            std::string name = readText(scene, offset, FieldMemo::Width);
            const auto kind = ReferenceKind(name);
            auto outcome = FieldMemo::Outcome::NoFile;
            if (kind) {
                collector_.RecordReference(name);
                outcome = collector_.IsMissing(name, *kind) ? FieldMemo::Outcome::Missing : FieldMemo::Outcome::Found;
            }
            entry = &memo_.remember(bytes, outcome, kind.value_or(FolderKind::Gfx), std::move(name));
        } else if (entry->outcome != FieldMemo::Outcome::NoFile) {
            loop_.yield(); // as for any name recorded again
        }
        if (entry->outcome != FieldMemo::Outcome::Missing)
            return;
        ReferencePlace place{ReferencePlace::Kind::Scene, 0, static_cast<std::uint8_t>(fieldNo), sceneNo};
        if (slot != 0) {
            place.kind = ReferencePlace::Kind::Object;
            place.slot = static_cast<std::uint8_t>(slot);
            place.objectType = readInteger(scene, L::objectSlotStart(slot) + field(L::ObjectSlot, "ObjectType").offset);
        }
        places_.add(entry->kind, memo_.name(*entry), place);
    }

    ReferenceCollector& collector_;
    MissingReferences& places_;
    EventLoop& loop_;
    FieldMemo memo_;
};

// Every record of one data file in turn, each handed to `visit` with its
// number; stops at the first that cannot be read.
template <typename Visit> Result<void> forEachRecord(const RecordFile& file, long count, Visit&& visit) {
    RecordReader reader(file);
    for (long n = 1; n <= count; ++n) {
        const Result<RecordBytes> record = reader.record(n);
        if (!record)
            return record.failure();
        visit(*record, static_cast<Integer>(n));
    }
    return {};
}

Result<void> collect(ProjectSource source, ReportHost& host, ReferenceCollector& collector, MissingReferences& places) {
    const LoadedProject& p = source.project;
    collector.ListFolders();
    // Every name goes to the collector through the recorder, which notes
    // where the missing ones stand; the scene file's fields go through
    // SceneFields, which notes their places itself.
    PlaceRecorder recorder(collector, places);
    using Kind = ReferencePlace::Kind;

    for (Integer section = 1; section <= 5; ++section) {
        recorder.enter({Kind::PlayerSettings, 0, 0, section});
        const Result<PlayerSettingsRecord> settings = ReadPlayerSettings(source.files);
        if (!settings)
            return settings.failure();
        collector.CollectSettingsFiles(section, *settings, recorder);
        StepProgress(host);
    }

    // Room in the memo for every field of the project, or for as many names
    // as the folders hold files and some more, whichever is less.
    const std::size_t folderFiles = collector.lists().UnusedGfx.size() + collector.lists().UnusedMmedia.size();
    const std::size_t fieldCount =
        static_cast<std::size_t>(std::max<Integer>(p.SceneCount, 0)) *
        (L::SceneFileFields.size() + L::ObjectSlotCount * field(L::ObjectSlot, "ObjectText").count);
    SceneFields fields(collector, places, host, std::min(fieldCount, folderFiles + 1024));
    Result<void> read = forEachRecord(source.files.Scenes, p.SceneCount, [&](RecordBytes scene, Integer n) {
        source.sceneRead(n, scene);
        fields.record(scene, n);
        StepProgress(host);
    });
    if (read)
        read = forEachRecord(source.files.CueCards, p.CueCardCount, [&](RecordBytes bytes, Integer n) {
            recorder.enter({Kind::CueCard, 0, 0, n});
            // Every choice names its file, whether it changes a flag or not.
            for (const std::string& name : decodeCueCardRecord(bytes).ChoiceFile)
                recorder.RecordReference(std::string(trimBlanks(name)));
            StepProgress(host);
        });
    if (read)
        read = forEachRecord(source.files.InventoryItems, p.InventoryItemCount, [&](RecordBytes bytes, Integer n) {
            recorder.enter({Kind::InventoryItem, 0, 0, n});
            // The record keeps the leading blanks of files 1, 2, 3 and 7, as
            // the audit expects them.
            for (const std::string& name : decodeInventoryItemRecord(bytes).ItemFile)
                recorder.RecordReference(name);
            StepProgress(host);
        });
    if (read)
        read = forEachRecord(source.files.Locations, p.LocationCount, [&](RecordBytes bytes, Integer n) {
            recorder.enter({Kind::Location, 0, 0, n});
            const LocationRecord location = decodeLocationRecord(bytes);
            recorder.RecordReference(location.LocationFile1);
            recorder.RecordReference(location.LocationFile2);
            if (n == 1)
                recorder.RecordReference(location.LocationFile3);
            StepProgress(host);
        });
    if (read)
        read = source.completeScenes();
    if (!read)
        return read;
    if (collector.lists().BuiltInImagesInUse)
        collector.RemoveBuiltInImages();
    collector.Finish();
    return {};
}

// Each unused file measured, the folder opened once for its whole list; a
// file that can no longer be measured has no size. The entry itself is
// looked at first: an ordinary file is measured by that look, and only a
// link is followed (as SizeOfFile does).
void measure(const std::filesystem::path& folder, const std::vector<std::string>& names,
             std::vector<std::optional<std::uint64_t>>& sizes, std::vector<bool>& plain) {
    sizes.assign(names.size(), std::nullopt);
    plain.assign(names.size(), false);
    if (names.empty())
        return;
    const Result<FolderHandle> opened = FolderHandle::open(folder);
    if (!opened)
        return; // gone since it was listed
    for (std::size_t i = 0; i < names.size(); ++i) {
        struct stat st {};
        if (::fstatat(opened->fd(), names[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISLNK(st.st_mode)) {
            sizes[i] = SizeOfFile(*opened, names[i]);
            continue;
        }
        plain[i] = true;
        if (S_ISREG(st.st_mode))
            sizes[i] = static_cast<std::uint64_t>(st.st_size);
    }
}

} // namespace

FilesAudit AuditProjectFiles(ProjectSource source, ReportHost& host) {
    const LoadedProject& p = source.project;
    host.setProgressMaximum(p.SceneCount + 5 + p.CueCardCount + p.InventoryItemCount + p.LocationCount);
    host.setProgressValue(0);

    FilesAudit audit;
    ReferenceCollector collector(audit.lists, p.Paths.ProjectFolder, host);
    for (const FolderKind kind : MediaFolders)
        audit.folders[FilesAudit::index(kind)] = collector.folder(kind);
    if (Result<void> collected = collect(source, host, collector, audit.lists.MissingPlaces); !collected) {
        audit.failure = std::move(collected).failure();
        return audit;
    }
    for (const FolderKind kind : MediaFolders)
        measure(audit.folder(kind), audit.lists.unused(kind), audit.unusedSizes[FilesAudit::index(kind)],
                audit.unusedPlain[FilesAudit::index(kind)]);
    return audit;
}

} // namespace orv
