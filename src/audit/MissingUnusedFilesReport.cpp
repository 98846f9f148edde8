#include "audit/MissingUnusedFilesReport.h"

#include "audit/AuditLists.h"
#include "audit/DiskNames.h"
#include "audit/FieldMemo.h"
#include "audit/NumberPatterns.h"
#include "audit/ReferenceCollector.h"
#include "audit/ResourceFolders.h"
#include "data/FileError.h"
#include "data/FolderHandle.h"
#include "data/Numbers.h"
#include "data/RecordLayouts.h"
#include "data/Yield.h"
#include "reports/RecordStatements.h"
#include "reports/ReportContext.h"
#include "reports/StatementMode.h"
#include "reports/TextConventions.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>

namespace orv {

namespace {

constexpr std::string_view RuleLine = "--------------------------------------------------------------------------------"
                                      "----------------------------------------";
static_assert(RuleLine.size() == 120);

constexpr std::string_view FirstFootnote = "* Files listed as MISSING are assigned to properties but could not be "
                                           "located in the appropriate resource folder.";
constexpr std::string_view SecondFootnote = "** Files listed as UNUSED are in the resource folders, but no reference "
                                            "to them could be found in the project.";

// Points the generators' CollectFiles output at the collector for the
// length of the pass, and never leaves a dangling sink behind.
class SinkInstalled {
  public:
    SinkInstalled(ReportContext& ctx, FileReferenceSink& sink) : ctx_(ctx), previous_(ctx.references) {
        ctx_.references = &sink;
    }
    ~SinkInstalled() { ctx_.references = previous_; }
    SinkInstalled(const SinkInstalled&) = delete;
    SinkInstalled& operator=(const SinkInstalled&) = delete;

  private:
    ReportContext& ctx_;
    FileReferenceSink* previous_;
};

constexpr std::array<Field, 7> SceneFileFields = {
    field(layout::SceneHeader, "SceneFile1"), field(layout::SceneHeader, "SceneFile2"),
    field(layout::SceneHeader, "SceneFile3"), field(layout::SceneHeader, "SceneFile4"),
    field(layout::SceneHeader, "SceneFile5"), field(layout::SceneHeader, "SceneFile6"),
    field(layout::SceneHeader, "SceneFile7")};

// The text fields of one scene record: the scene files, then the nine texts
// of each slot, whatever its type and whether it is in use. Each field that
// names a file is recorded (once for the same bytes, see FieldMemo), and each
// place of a missing one is noted.
class SceneFields {
  public:
    SceneFields(ReferenceCollector& collector, MissingReferences& places, EventLoop& loop, std::size_t fields)
        : collector_(collector), places_(places), loop_(loop), memo_(fields) {}

    void record(RecordBytes scene, Integer sceneNo) {
        constexpr Field texts = field(layout::ObjectSlot, "ObjectText");
        for (std::size_t k = 1; k <= layout::ObjectSlotCount; ++k)
            for (std::size_t t = 1; t <= texts.count; ++t)
                memo_.prefetch(scene.subspan(layout::objectSlotStart(k) + texts.at(t)).first<FieldMemo::Width>());
        for (std::size_t f = 0; f < SceneFileFields.size(); ++f)
            recordField(scene, SceneFileFields[f].offset, sceneNo, 0, f + 1);
        for (std::size_t k = 1; k <= layout::ObjectSlotCount; ++k)
            for (std::size_t t = 1; t <= texts.count; ++t)
                recordField(scene, layout::objectSlotStart(k) + texts.at(t), sceneNo, k, t);
    }

  private:
    void recordField(RecordBytes scene, std::size_t offset, Integer sceneNo, std::size_t slot, std::size_t fieldNo) {
        const auto bytes = scene.subspan(offset).first<FieldMemo::Width>();
        // A field of blanks, or of zeros, names no file.
        if (std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == ' '; }) ||
            std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; }))
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
            place.objectType =
                readInteger(scene, layout::objectSlotStart(slot) + field(layout::ObjectSlot, "ObjectType").offset);
        }
        places_.add(entry->kind, memo_.name(*entry), place);
    }

    ReferenceCollector& collector_;
    MissingReferences& places_;
    EventLoop& loop_;
    FieldMemo memo_;
};

// Each scene record in turn, read in large reads into one buffer. Should a
// read fail, the records are read one at a time, so that the failure comes at
// the very scene it concerns.
template <typename Visit> void forEachSceneRecord(const RecordFile& scenes, long count, Visit&& visit) {
    constexpr long perRead = static_cast<long>((std::size_t{1} << 17) / layout::SceneRecordLength);
    std::vector<std::uint8_t> buffer;
    for (long first = 1; first <= count; first += perRead) {
        const long n = std::min(perRead, count - first + 1);
        bool whole = true;
        try {
            scenes.readRecords(first, static_cast<std::size_t>(n), buffer);
        } catch (const FileError&) {
            whole = false;
        }
        for (long i = 0; i < n; ++i) {
            if (!whole)
                scenes.readRecords(first + i, 1, buffer);
            const std::size_t at = whole ? static_cast<std::size_t>(i) * layout::SceneRecordLength : 0;
            visit(RecordBytes(buffer).subspan(at, layout::SceneRecordLength));
        }
    }
}

void CollectionPass(ReportContext& ctx, ReferenceCollector& collector, MissingReferences& places) {
    const ProjectState& p = ctx.project;
    ctx.host.setProgressMaximum(p.SceneCount + 5 + p.CueCardCount + p.InventoryItemCount + p.LocationCount);
    ctx.host.setProgressValue(0);

    collector.ListFolders();
    // Every name goes to the collector through the recorder, which notes
    // where the missing ones stand; the scene file's fields go through
    // SceneFields, which notes their places itself.
    PlaceRecorder recorder(collector, places);
    using Kind = ReferencePlace::Kind;

    for (Integer section = 1; section <= 5; ++section) {
        recorder.enter({Kind::PlayerSettings, 0, 0, section});
        collector.CollectSettingsFiles(section, ctx.data(), &recorder);
        StepProgress(ctx.host);
    }

    // Room in the memo for every field of the project, or for as many names
    // as the folders hold files and some more, whichever is less.
    const std::size_t folderFiles = collector.lists().UnusedGfx.size() + collector.lists().UnusedMmedia.size();
    const std::size_t fieldCount =
        static_cast<std::size_t>(std::max<Integer>(p.SceneCount, 0)) *
        (SceneFileFields.size() + layout::ObjectSlotCount * field(layout::ObjectSlot, "ObjectText").count);
    SceneFields fields(collector, places, ctx.host, std::min(fieldCount, folderFiles + 1024));
    Integer sceneNo = 0;
    forEachSceneRecord(ctx.data().Scenes, p.SceneCount, [&](RecordBytes scene) {
        fields.record(scene, ++sceneNo);
        StepProgress(ctx.host);
    });

    SinkInstalled sink(ctx, recorder);
    for (int n = 1; n <= p.CueCardCount; ++n) {
        recorder.enter({Kind::CueCard, 0, 0, static_cast<Integer>(n)});
        DescribeCueCard(static_cast<Integer>(n), CollectFiles, ctx);
        StepProgress(ctx.host);
    }
    for (int n = 1; n <= p.InventoryItemCount; ++n) {
        recorder.enter({Kind::InventoryItem, 0, 0, static_cast<Integer>(n)});
        DescribeInventoryItem(static_cast<Integer>(n), CollectFiles, ctx);
        StepProgress(ctx.host);
    }
    for (int n = 1; n <= p.LocationCount; ++n) {
        recorder.enter({Kind::Location, 0, 0, static_cast<Integer>(n)});
        DescribeLocation(static_cast<Integer>(n), CollectFiles, ctx);
        StepProgress(ctx.host);
    }

    if (collector.lists().BuiltInImagesInUse)
        collector.RemoveBuiltInImages();
    collector.Finish();
}

std::string Heading(std::string_view title, std::size_t count, std::string_view stars) {
    std::string heading(title);
    if (count > 0)
        heading += " (" + PlainForm(static_cast<long>(count)) + ")";
    heading += " ";
    heading += stars;
    heading += ":";
    return heading;
}

// Writes one list; for an unused list, returns the bytes its files take. A
// file that can no longer be measured adds nothing.
std::int64_t AppendSection(ReportText& text, std::string_view heading, const std::vector<std::string>& list,
                           const std::filesystem::path* folder) {
    text.append("\n\n");
    text.append(heading);
    if (list.empty())
        text.append("\n(None)");
    std::int64_t bytes = 0;
    // The folder is opened once for the whole list, each file measured in it.
    std::optional<FolderHandle> opened;
    if (folder && !list.empty()) {
        try {
            opened = FolderHandle::open(*folder);
        } catch (const std::exception&) {
            // Gone since it was listed: nothing can be measured.
        }
    }
    for (const std::string& entry : list) {
        text.append("\n");
        if (folder) {
            // A name from disk, which must not forge lines; a reference is a
            // project text and is written as it stands.
            text.append(DisplayName(entry));
            if (const auto size = opened ? SizeOfFile(*opened, entry) : std::nullopt)
                bytes += static_cast<std::int64_t>(*size);
        } else {
            text.append(entry);
        }
    }
    return bytes;
}

} // namespace

void CollectResourceFiles(ReportContext& ctx, AuditLists& lists) {
    ReferenceCollector collector(lists, ctx.project.Paths.ProjectFolder, ctx.host);
    CollectionPass(ctx, collector, lists.MissingPlaces);
}

void MissingUnusedFilesReport(ReportContext& ctx, AuditLists& lists) {
    ctx.run.ReportName = "Resource Files Report";
    ctx.run.FilesReportRan = true;

    ReferenceCollector collector(lists, ctx.project.Paths.ProjectFolder, ctx.host);
    CollectionPass(ctx, collector, lists.MissingPlaces);

    ReportText& text = ctx.text;
    AppendOpening(text, ResourceFilesBanner);
    const auto& gfx = collector.folder(FolderKind::Gfx);
    const auto& mmedia = collector.folder(FolderKind::Mmedia);
    AppendSection(text, Heading("MISSING FILES FROM GFX FOLDER", lists.MissingGfx.size(), "*"), lists.MissingGfx,
                  nullptr);
    AppendSection(text, Heading("MISSING FILES FROM MMEDIA FOLDER", lists.MissingMmedia.size(), "*"),
                  lists.MissingMmedia, nullptr);
    std::int64_t unusedBytes =
        AppendSection(text, Heading("UNUSED FILES IN GFX FOLDER", lists.UnusedGfx.size(), "**"), lists.UnusedGfx, &gfx);
    unusedBytes += AppendSection(text, Heading("UNUSED FILES IN MMEDIA FOLDER", lists.UnusedMmedia.size(), "**"),
                                 lists.UnusedMmedia, &mmedia);

    const std::int64_t unusedSpaceKB = divideHalfEven(unusedBytes, 1000);

    text.append("\n\n");
    text.append(RuleLine);
    text.append("\nMISSING & UNUSED FILES SUMMARY:");
    const std::size_t missing = lists.MissingGfx.size() + lists.MissingMmedia.size();
    const std::size_t unused = lists.UnusedGfx.size() + lists.UnusedMmedia.size();
    text.append("\n\nTotal missing files: " + PlainForm(static_cast<long>(missing)));
    text.append("\nTotal unused files: " + PlainForm(static_cast<long>(unused)));
    if (unusedSpaceKB != 0)
        text.append("\nTotal space consumed by unused files: " + GroupedNumber(unusedSpaceKB) + " KB (" +
                    HundredthsNumber(unusedSpaceKB, 1024) + " MB)");
    else
        text.append("\nTotal space consumed by unused files: 0 KB (0.00 MB)");
    if (missing == 0 && unused == 0)
        text.append("\n*** Congratulations!  No files missing, no files unused! ***");
    text.append("\n");
    text.append(RuleLine);
    text.append("\n\n");
    text.append(FirstFootnote);
    text.append("\n");
    text.append(SecondFootnote);
    text.append("\n");
    text.append(SeparatorLine);
    ctx.host.yield();
}

} // namespace orv
