#include "reports/FlagStatements.h"

#include "data/Layout.h"
#include "data/RecordLayouts.h"
#include "reports/StatementClassifier.h"
#include "reports/TextConventions.h"

#include <algorithm>
#include <optional>
#include <tuple>

namespace orv {

namespace L = layout;

std::pair<std::string_view, std::string_view> FlagStatementList::conjunctionTexts(const FlagStatement& s) const {
    return ConjunctionTexts(s, sentence(s));
}

void FlagStatementList::copy(const FlagStatementList& from, const FlagStatement& s) {
    FlagStatement& added = statements.emplace_back(s);
    added.sentenceOffset = static_cast<std::uint32_t>(sentences.size());
    sentences.append(from.sentence(s));
}

struct FlagStatementGatherer::Impl {
    ProjectSource source;
    RecordReader scenes, cueCards, items;
    std::string sceneReference;
    ObjectSlot slot;

    std::string aheadName;

    explicit Impl(ProjectSource s)
        : source(s), scenes(s.files.Scenes), cueCards(s.files.CueCards), items(s.files.InventoryItems) {}

    // The name of the scene a conditional load loads. While the pass fills
    // the scene table, a scene it has not come to yet is named from the
    // records read ahead, or read alone.
    std::string_view loadsSceneName(const SceneHeaderFlags& header) {
        const Integer target = header.CondLoadScene;
        if (header.CondLoadEnabled != 1 || target == 0)
            return {};
        if (source.pending && !source.pending->completed() && target >= 1 && target <= source.project.SceneCount &&
            static_cast<std::size_t>(target) >= source.project.SceneNames.size())
            if (const auto ahead = scenes.peek(target)) {
                aheadName = readText(*ahead, field(L::SceneHeader, "SceneName"));
                return aheadName;
            }
        return source.sceneName(target);
    }

    // Runs `body` on record n of `reader`, or notes why it could not be read.
    template <typename Body> bool unit(RecordReader& reader, long n, FlagStatementList& list, Body&& body) {
        const Result<RecordBytes> record = reader.record(n);
        if (!record) {
            if (!list.readFailure)
                list.readFailure = record.failure();
            return false;
        }
        body(*record);
        return true;
    }
};

FlagStatementGatherer::FlagStatementGatherer(ProjectSource source) : impl_(std::make_unique<Impl>(source)) {}

FlagStatementGatherer::~FlagStatementGatherer() = default;

bool FlagStatementGatherer::GatherPlayerSettings(FlagStatementList& list, const GatherOptions& options) {
    const Result<PlayerSettingsRecord> settings = ReadPlayerSettings(impl_->source.files);
    if (!settings) {
        if (!list.readFailure)
            list.readFailure = settings.failure();
        return false;
    }
    StatementCollector out(list, options);
    ClassifyPlayerSettings(*settings, out);
    return true;
}

bool FlagStatementGatherer::GatherScene(Integer sceneNo, FlagStatementList& list, const GatherOptions& options) {
    Impl& impl = *impl_;
    return impl.unit(impl.scenes, sceneNo, list, [&](RecordBytes bytes) {
        ++list.scenesRead;
        impl.source.sceneRead(sceneNo, bytes);
        std::string& reference = impl.sceneReference;
        reference.clear();
        AppendSceneReference(reference, impl.source.project, sceneNo);
        StatementCollector out(list, options);
        const SceneHeaderFlags header = decodeSceneHeaderFlags(bytes);
        ClassifySceneHeader(header, sceneNo, reference, impl.loadsSceneName(header), out);
        constexpr Field type = field(L::ObjectSlot, "ObjectType");
        ObjectSlot& slot = impl.slot;
        for (Integer k = 1; k <= static_cast<Integer>(L::ObjectSlotCount); ++k) {
            const RecordBytes slotBytes =
                bytes.subspan(L::objectSlotStart(static_cast<std::size_t>(k)), L::ObjectSlotLength);
            slot.ObjectType = readInteger(slotBytes, type);
            if (slot.ObjectType == EmptySlot)
                continue;
            decodeObjectSettings(slotBytes, slot);
            // Only a Flag Conjunction's statements name texts: its result's
            // flag, value and set-or-add.
            if (IsObjectType(slot.ObjectType, ObjectType::FlagConjunction))
                decodeObjectTexts(slotBytes, slot, 3);
            ClassifyObject(slot.ObjectType, slot, sceneNo, k, reference, out);
        }
    });
}

bool FlagStatementGatherer::GatherCueCard(Integer cueCardNo, FlagStatementList& list, const GatherOptions& options) {
    return impl_->unit(impl_->cueCards, cueCardNo, list, [&](RecordBytes bytes) {
        StatementCollector out(list, options);
        ClassifyCueCard(decodeCueCardRecord(bytes), cueCardNo, out);
    });
}

bool FlagStatementGatherer::GatherInventoryItem(Integer itemNo, FlagStatementList& list, const GatherOptions& options) {
    return impl_->unit(impl_->items, itemNo, list, [&](RecordBytes bytes) {
        StatementCollector out(list, options);
        ClassifyInventoryItem(decodeInventoryItemRecord(bytes), itemNo, out);
    });
}

void GatherUnits(FlagStatementGatherer& gatherer, const LoadedProject& project, FlagStatementList& list,
                 const GatherOptions& options, const std::function<void(FlagStatementList&)>& unitDone) {
    auto done = [&] {
        if (unitDone)
            unitDone(list);
    };
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

void GatherFlagStatements(ProjectSource source, FlagStatementList& list, const GatherOptions& options,
                          const std::function<void(FlagStatementList&)>& unitDone) {
    FlagStatementGatherer gatherer(source);
    gatherer.GatherPlayerSettings(list, options);
    GatherUnits(gatherer, source.project, list, options, unitDone);
}

namespace {

enum class Unit { PlayerSettings, Scene, CueCard, InventoryItem };

Unit unitOf(const FlagStatement& s) {
    switch (s.place) {
    case StatementPlace::PlayerSettings: return Unit::PlayerSettings;
    case StatementPlace::CueCard: return Unit::CueCard;
    case StatementPlace::InventoryItem: return Unit::InventoryItem;
    default: return Unit::Scene;
    }
}

bool sameUnit(const FlagStatement& a, const FlagStatement& b) {
    return unitOf(a) == unitOf(b) && a.record == b.record;
}

bool sameStatement(const FlagStatement& a, const FlagStatement& b) {
    return a.place == b.place && a.record == b.record && a.slot == b.slot && a.row == b.row && a.use == b.use &&
           a.flag == b.flag && a.whole == b.whole;
}

} // namespace

void WordStatements(ProjectSource source, FlagStatementList& list,
                    const std::function<bool(const FlagStatement&)>& wanted) {
    // Sentences name scenes: the table is whole first.
    if (!source.completeScenes())
        return;
    std::vector<std::uint32_t> todo;
    for (std::uint32_t i = 0; i < list.statements.size(); ++i)
        if (list.statements[i].sentenceLength == 0 && wanted(list.statements[i]))
            todo.push_back(i);
    if (todo.empty())
        return;
    FlagStatementGatherer gatherer(source);
    FlagStatementList unit;
    for (std::size_t t = 0; t < todo.size();) {
        const FlagStatement first = list.statements[todo[t]];
        std::size_t end = t;
        while (end < todo.size() && sameUnit(list.statements[todo[end]], first))
            ++end;
        // The unit's statements come in the order the list holds them; each
        // is matched with the next one wanted.
        std::size_t next = t;
        GatherOptions options;
        options.keep = [&](const FlagStatement& s) {
            if (next == end || !sameStatement(s, list.statements[todo[next]]))
                return false;
            ++next;
            return true;
        };
        unit.clear();
        switch (unitOf(first)) {
        case Unit::PlayerSettings: gatherer.GatherPlayerSettings(unit, options); break;
        case Unit::Scene: gatherer.GatherScene(first.record, unit, options); break;
        case Unit::CueCard: gatherer.GatherCueCard(first.record, unit, options); break;
        case Unit::InventoryItem: gatherer.GatherInventoryItem(first.record, unit, options); break;
        }
        // The statement as read again, whole: one made from what an analysis
        // kept gains what it left out (a conjunction's text lengths, the
        // comparison code as the record holds it).
        for (std::size_t j = 0; j < unit.statements.size(); ++j) {
            FlagStatement& target = list.statements[todo[t + j]];
            target = unit.statements[j];
            target.sentenceOffset = static_cast<std::uint32_t>(list.sentences.size());
            list.sentences.append(unit.sentence(unit.statements[j]));
        }
        t = end;
    }
}

namespace {

// Where a statement stands in the list order of a gathering.
auto listPosition(const FlagStatement& s) {
    return std::tuple(unitOf(s), s.record, s.place, s.slot, s.row);
}

} // namespace

void ForEachWorded(ProjectSource source, std::size_t count,
                   const std::function<FlagStatement(std::size_t)>& statementAt, const WordedVisit& visit) {
    constexpr std::size_t Batch = 4096;
    FlagStatementList batch;
    std::vector<std::size_t> order;          // positions asked for, in list order
    std::vector<std::size_t> inBatch(Batch); // where each position stands in the batch
    std::vector<FlagStatement> made;
    for (std::size_t first = 0; first < count; first += Batch) {
        const std::size_t last = std::min(count, first + Batch);
        // Wording reads each record once, its statements in list order.
        made.clear();
        order.clear();
        for (std::size_t at = first; at < last; ++at) {
            made.push_back(statementAt(at));
            order.push_back(at - first);
        }
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return listPosition(made[a]) < listPosition(made[b]); });
        batch.clear();
        for (const std::size_t k : order) {
            inBatch[k] = batch.statements.size();
            batch.statements.push_back(made[k]);
            batch.statements.back().sentenceLength = 0;
        }
        WordStatements(source, batch, [](const FlagStatement&) { return true; });
        for (std::size_t at = first; at < last; ++at) {
            const FlagStatement& s = batch.statements[inBatch[at - first]];
            visit(at, s, batch.sentence(s));
        }
    }
}

void ForEachWorded(ProjectSource source, const FlagStatementList& list, std::span<const std::uint32_t> indexes,
                   const WordedVisit& visit) {
    ForEachWorded(
        source, indexes.size(), [&](std::size_t at) { return list.statements[indexes[at]]; }, visit);
}

std::optional<Failure> ForEachStatement(ProjectSource source, const std::function<bool(const FlagStatement&)>& keep,
                                        const WordedVisit& visit) {
    GatherOptions options;
    options.keep = keep;
    FlagStatementList list;
    std::size_t at = 0;
    const auto visitAll = [&](FlagStatementList& unit) {
        for (const FlagStatement& s : unit.statements)
            visit(at++, s, unit.sentence(s));
        unit.clear();
    };
    // The player settings, read before the first unit, are visited with it.
    GatherFlagStatements(source, list, options, visitAll);
    if (list.readFailure)
        return list.readFailure;
    visitAll(list);
    return std::nullopt;
}

} // namespace orv
