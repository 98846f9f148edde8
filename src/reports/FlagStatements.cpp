#include "reports/FlagStatements.h"

#include "data/DataFiles.h"
#include "data/Layout.h"
#include "data/RecordLayouts.h"
#include "reports/ReportContext.h"
#include "reports/StatementClassifier.h"
#include "reports/TextConventions.h"

#include <algorithm>
#include <span>

namespace orv {

namespace L = layout;

namespace {

// Sequential reading of one data file in chunks of about a megabyte, one
// read each; a chunk that cannot be read is retried record by record, so that
// only the records that fail are lost.
class ChunkedRecords {
  public:
    explicit ChunkedRecords(const RecordFile& file)
        : file_(file), perChunk_(std::max<std::size_t>(1, (std::size_t{1} << 17) / file.recordLength())) {}

    RecordBytes record(long n) {
        const std::size_t length = file_.recordLength();
        if (n < first_ || n >= first_ + count_) {
            const std::uint64_t inFile = (file_.length() + length - 1) / length;
            const std::uint64_t left = n >= 1 && static_cast<std::uint64_t>(n) <= inFile ? inFile - n + 1 : 1;
            const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(perChunk_, left));
            try {
                file_.readRecords(n, count, bytes_);
                first_ = n;
                count_ = static_cast<long>(count);
            } catch (const FileError&) {
                first_ = count_ = 0;
                bytes_ = file_.readRecord(n); // throws when this record fails too
                first_ = n;
                count_ = 1;
            }
        }
        return RecordBytes(bytes_).subspan(static_cast<std::size_t>(n - first_) * length, length);
    }

  private:
    const RecordFile& file_;
    std::size_t perChunk_;
    std::vector<std::uint8_t> bytes_;
    long first_ = 0;
    long count_ = 0;
};

// Only what the statements need of a scene, straight from its bytes: the
// header's flag fields, each slot's type and settings, and the conjunction
// texts.
SceneHeaderFlags headerFlags(RecordBytes b) {
    constexpr auto& H = L::SceneHeader;
    SceneHeaderFlags h;
    h.CondLoadEnabled = readInteger(b, field(H, "CondLoadEnabled"));
    h.CondLoadFlag = readInteger(b, field(H, "CondLoadFlag"));
    h.CondLoadOperator = readInteger(b, field(H, "CondLoadOperator"));
    h.CondLoadValue = readInteger(b, field(H, "CondLoadValue"));
    h.CondLoadScene = readInteger(b, field(H, "CondLoadScene"));
    h.OnLoadFlagEnabled = readInteger(b, field(H, "OnLoadFlagEnabled"));
    h.OnLoadFlag = readInteger(b, field(H, "OnLoadFlag"));
    h.OnLoadValue = readInteger(b, field(H, "OnLoadValue"));
    h.OnLoadAdds = readInteger(b, field(H, "OnLoadAdds"));
    return h;
}

constexpr Integer FlagConjunctionType = 9;

void readSlot(RecordBytes b, ObjectSlot& slot) {
    constexpr Field settings = field(L::ObjectSlot, "Settings");
    constexpr Field texts = field(L::ObjectSlot, "ObjectText");
    for (std::size_t k = 1; k <= settings.count; ++k)
        slot.Settings[k - 1] = readInteger(b, settings, k);
    if (slot.ObjectType == FlagConjunctionType)
        for (std::size_t k = 1; k <= 3; ++k)
            slot.ObjectText[k - 1] = readText(b, texts, k);
}

} // namespace

struct FlagStatementGatherer::Impl {
    std::optional<ChunkedRecords> scenes, cueCards, items;
    std::string sceneReference;
    ObjectSlot slot;
};

FlagStatementGatherer::FlagStatementGatherer(ReportContext& ctx) : ctx_(ctx), impl_(std::make_unique<Impl>()) {
    const DataFiles& files = ctx.data();
    impl_->scenes.emplace(files.Scenes);
    impl_->cueCards.emplace(files.CueCards);
    impl_->items.emplace(files.InventoryItems);
}

FlagStatementGatherer::~FlagStatementGatherer() = default;

namespace {

template <typename Body> bool gatherUnit(FlagStatementList& list, Body&& body) {
    try {
        body();
        return true;
    } catch (const FileError& e) {
        if (!list.readFailure)
            list.readFailure = e;
        return false;
    }
}

} // namespace

bool FlagStatementGatherer::GatherPlayerSettings(FlagStatementList& list, const GatherOptions& options) {
    return gatherUnit(list, [&] {
        const PlayerSettingsRecord settings = ReadPlayerSettings(ctx_.data());
        StatementCollector out(list, options);
        ClassifyPlayerSettings(settings, out);
    });
}

bool FlagStatementGatherer::GatherScene(Integer sceneNo, FlagStatementList& list, const GatherOptions& options) {
    RecordBytes bytes;
    if (!gatherUnit(list, [&] { bytes = impl_->scenes->record(sceneNo); }))
        return false;
    ++list.scenesRead;
    std::string& reference = impl_->sceneReference;
    reference.clear();
    AppendSceneReference(reference, ctx_.project, sceneNo);
    StatementCollector out(list, options);
    ClassifySceneHeader(headerFlags(bytes), sceneNo, reference, ctx_.project, out);
    constexpr Field type = field(L::ObjectSlot, "ObjectType");
    ObjectSlot& slot = impl_->slot;
    for (Integer k = 1; k <= static_cast<Integer>(L::ObjectSlotCount); ++k) {
        const RecordBytes slotBytes =
            bytes.subspan(L::objectSlotStart(static_cast<std::size_t>(k)), L::ObjectSlotLength);
        slot.ObjectType = readInteger(slotBytes, type);
        if (slot.ObjectType == -1)
            continue;
        readSlot(slotBytes, slot);
        ClassifyObject(slot.ObjectType, slot, sceneNo, k, reference, out);
    }
    return true;
}

bool FlagStatementGatherer::GatherCueCard(Integer cueCardNo, FlagStatementList& list, const GatherOptions& options) {
    return gatherUnit(list, [&] {
        const CueCardRecord card = decodeCueCardRecord(impl_->cueCards->record(cueCardNo));
        StatementCollector out(list, options);
        ClassifyCueCard(card, cueCardNo, out);
    });
}

bool FlagStatementGatherer::GatherInventoryItem(Integer itemNo, FlagStatementList& list, const GatherOptions& options) {
    return gatherUnit(list, [&] {
        const InventoryItemRecord item = decodeInventoryItemRecord(impl_->items->record(itemNo));
        StatementCollector out(list, options);
        ClassifyInventoryItem(item, itemNo, out);
    });
}

void GatherFlagStatements(ReportContext& ctx, FlagStatementList& list, const GatherOptions& options,
                          const std::function<void(FlagStatementList&)>& unitDone) {
    FlagStatementGatherer gatherer(ctx);
    const ProjectState& project = ctx.project;
    auto done = [&] {
        if (unitDone)
            unitDone(list);
    };
    gatherer.GatherPlayerSettings(list, options);
    for (int s = 1; s <= project.SceneCount; ++s) {
        gatherer.GatherScene(static_cast<Integer>(s), list, options);
        done();
    }
    for (int c = 1; c <= project.CueCardCount; ++c) {
        gatherer.GatherCueCard(static_cast<Integer>(c), list, options);
        done();
    }
    for (int i = 1; i <= project.InventoryItemCount; ++i) {
        gatherer.GatherInventoryItem(static_cast<Integer>(i), list, options);
        done();
    }
}

FlagStatementList GatherFlagStatements(ReportContext& ctx, const std::function<void()>& unitDone) {
    FlagStatementList list;
    GatherFlagStatements(ctx, list, {}, [&](FlagStatementList&) {
        if (unitDone)
            unitDone();
    });
    return list;
}

} // namespace orv
