#include "audit/MissingUnusedFilesReport.h"

#include "audit/AuditLists.h"
#include "audit/DiskNames.h"
#include "audit/NumberPatterns.h"
#include "audit/ReferenceCollector.h"
#include "audit/ResourceFolders.h"
#include "data/FileError.h"
#include "data/FolderHandle.h"
#include "data/Numbers.h"
#include "data/RecordLayouts.h"
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

constexpr std::string_view RuleLine =
    "------------------------------------------------------------------------------------------------------------------------";
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

// Adds the 15-character text field at `offset` to a scene's names. A field of
// blanks, or of zeros, names no file and is passed over without decoding.
// The names one scene record holds, with the slot (0: the scene header) and
// field each stands in.
struct SceneNames {
    std::vector<std::string> names;
    std::vector<std::pair<std::uint8_t, std::uint8_t>> fields;
    void clear() {
        names.clear();
        fields.clear();
    }
};

void addField(SceneNames& out, RecordBytes record, std::size_t offset, std::size_t slot, std::size_t field) {
    const auto bytes = record.subspan(offset, 15);
    if (std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == ' '; }) ||
        std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; }))
        return;
    out.names.push_back(readText(record, offset, 15));
    out.fields.emplace_back(static_cast<std::uint8_t>(slot), static_cast<std::uint8_t>(field));
}

// Notes where the scene's names that are missing stand. Nothing to look up
// while every file so far was found.
void notePlaces(const ReferenceCollector& collector, const SceneNames& scene, Integer sceneNo, RecordBytes record,
                MissingReferences& places) {
    if (!collector.AnyMissing())
        return;
    for (std::size_t i = 0; i < scene.names.size(); ++i) {
        const auto kind = ReferenceKind(scene.names[i]);
        if (!kind || !collector.IsMissing(scene.names[i], *kind))
            continue;
        const auto [slot, fieldNo] = scene.fields[i];
        ReferencePlace place{ReferencePlace::Kind::Scene, 0, fieldNo, sceneNo};
        if (slot != 0) {
            place.kind = ReferencePlace::Kind::Object;
            place.slot = slot;
            place.objectType = readInteger(record, layout::objectSlotStart(slot) +
                                                       field(layout::ObjectSlot, "ObjectType").offset);
        }
        places.add(*kind, scene.names[i], place);
    }
}

// Each scene record in turn, read in large reads into one buffer. Should a
// read fail, the records are read one at a time, so that the failure comes at
// the very scene it concerns.
template <typename Visit>
void forEachSceneRecord(const RecordFile& scenes, long count, Visit&& visit) {
    constexpr long perRead = static_cast<long>((std::size_t{1} << 20) / layout::SceneRecordLength);
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
    // where the missing ones stand; the scenes' names go in bulk and their
    // places are noted afterwards.
    PlaceRecorder recorder(collector, places);
    using Kind = ReferencePlace::Kind;

    for (Integer section = 1; section <= 5; ++section) {
        recorder.enter({Kind::PlayerSettings, 0, 0, section});
        collector.CollectSettingsFiles(section, ctx.data(), &recorder);
        StepProgress(ctx.host);
    }

    SceneNames names;
    Integer sceneNo = 0;
    forEachSceneRecord(ctx.data().Scenes, p.SceneCount, [&](RecordBytes scene) {
        ++sceneNo;
        names.clear();
        for (std::size_t f = 0; f < SceneFileFields.size(); ++f)
            addField(names, scene, SceneFileFields[f].offset, 0, f + 1);
        // Every slot counts, whatever its type and whether it is in use.
        constexpr Field texts = field(layout::ObjectSlot, "ObjectText");
        for (std::size_t k = 1; k <= layout::ObjectSlotCount; ++k)
            for (std::size_t t = 1; t <= texts.count; ++t)
                addField(names, scene, layout::objectSlotStart(k) + texts.at(t), k, t);
        collector.RecordReferences(names.names);
        notePlaces(collector, names, sceneNo, scene, places);
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
