#pragma once

// The one place where flag statements are recognised and worded. Each
// Classify function adds the enabled statements of one record to a
// collector, in the order the trackers write them.

#include "data/Project.h"
#include "data/Records.h"
#include "reports/FlagStatements.h"

#include <string>
#include <string_view>

namespace orv {

class StatementCollector {
  public:
    StatementCollector(FlagStatementList& list, const GatherOptions& options) : list_(list), options_(options) {}

    // Adds `s` when the options keep it; `write` appends its sentence to the
    // string it is given.
    template <typename Write> void add(const FlagStatement& s, Write&& write) {
        if (options_.keep && !options_.keep(s))
            return;
        FlagStatement& kept = list_.statements.emplace_back(s);
        if (options_.sentences) {
            const std::size_t start = list_.sentences.size();
            write(list_.sentences);
            kept.sentenceOffset = static_cast<std::uint32_t>(start);
            kept.sentenceLength = static_cast<std::uint32_t>(list_.sentences.size() - start);
        }
    }

  private:
    FlagStatementList& list_;
    const GatherOptions& options_;
};

// `sceneReference` is "(Scene #", S(sceneNo), " (", name, ")" (see
// AppendSceneReference), made once per scene; `loadsSceneName` the name of
// the scene the conditional load loads (empty for a number with none).
void ClassifySceneHeader(const SceneHeaderFlags& header, Integer sceneNo, std::string_view sceneReference,
                         std::string_view loadsSceneName, StatementCollector& out);
// The object in slot `slotNo`, of type `objectType`. An unknown type gives
// its Problem statement; a known one its enabled statements.
void ClassifyObject(Integer objectType, const ObjectSlot& slot, Integer sceneNo, Integer slotNo,
                    std::string_view sceneReference, StatementCollector& out);
void ClassifyPlayerSettings(const PlayerSettingsRecord& settings, StatementCollector& out);
void ClassifyCueCard(const CueCardRecord& card, Integer cueCardNo, StatementCollector& out);
void ClassifyInventoryItem(const InventoryItemRecord& item, Integer itemNo, StatementCollector& out);

} // namespace orv
