#include "reports/RecordStatements.h"

#include "data/DataFiles.h"
#include "data/ProjectState.h"
#include "data/Text.h"
#include "reports/FileReferenceSink.h"
#include "reports/Phrasing.h"
#include "reports/ReportContext.h"
#include "reports/StatementClassifier.h"
#include "reports/StatementMode.h"
#include "reports/TextConventions.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace orv {

namespace {

void reference(ReportContext& ctx, std::string_view name) {
    if (ctx.references)
        ctx.references->RecordReference(std::string(name));
}

FlagStatement change(StatementPlace place, Integer record, Integer flag, Integer value, bool adds) {
    FlagStatement s;
    s.place = place;
    s.use = FlagUse::Change;
    s.record = record;
    s.flag = s.markedFlag = flag;
    s.value = value;
    s.adds = adds;
    return s;
}

// Runs the classification with `keep` and writes what it keeps.
template <typename Classify>
void describe(ReportContext& ctx, std::function<bool(const FlagStatement&)> keep, Classify&& classify) {
    FlagStatementList list;
    GatherOptions options{std::move(keep)};
    StatementCollector out(list, options);
    classify(out);
    AppendSentences(ctx, list);
}

} // namespace

SceneHeaderFlags HeaderFlagsOf(const SceneRecord& scene) {
    return {scene.CondLoadEnabled, scene.CondLoadFlag,  scene.CondLoadOperator,
            scene.CondLoadValue,   scene.CondLoadScene, scene.OnLoadFlagEnabled,
            scene.OnLoadFlag,      scene.OnLoadValue,   scene.OnLoadAdds};
}

void ClassifySceneHeader(const SceneHeaderFlags& h, Integer sceneNo, std::string_view sceneReference,
                         const ProjectState& project, StatementCollector& out) {
    if (h.CondLoadEnabled == 1) {
        FlagStatement s;
        s.place = StatementPlace::ConditionalLoad;
        s.use = FlagUse::Test;
        s.record = sceneNo;
        s.flag = s.markedFlag = h.CondLoadFlag;
        s.comparison = h.CondLoadOperator;
        s.value = h.CondLoadValue;
        s.loadsScene = h.CondLoadScene;
        out.add(s, [&](std::string& text) {
            text.append(sceneReference);
            text.append(") If ");
            AppendFlagCondition(text, h.CondLoadFlag, h.CondLoadOperator, h.CondLoadValue);
            if (h.CondLoadScene == 0) {
                text.append(" then do nothing (no scene chosen to load)");
            } else {
                // A scene number with no entry in the scene list names the
                // empty text.
                text.append(" then load scene #");
                AppendSigned(text, h.CondLoadScene);
                text.append(" (");
                text.append(project.sceneName(h.CondLoadScene));
                text.push_back(')');
            }
        });
    }
    if (h.OnLoadFlagEnabled == 1) {
        const bool adds = h.OnLoadAdds != 0;
        out.add(change(StatementPlace::OnLoadChange, sceneNo, h.OnLoadFlag, h.OnLoadValue, adds),
                [&](std::string& text) {
                    text.append(sceneReference);
                    text.append(") When this scene is loaded, ");
                    AppendChangePhrase(text, h.OnLoadFlag, h.OnLoadValue, adds);
                });
    }
}

void ClassifyPlayerSettings(const PlayerSettingsRecord& settings, StatementCollector& out) {
    if (settings.ScoreEnabled != 1)
        return;
    FlagStatement s;
    s.place = StatementPlace::PlayerSettings;
    s.use = FlagUse::Score;
    s.flag = s.markedFlag = settings.ScoreFlag;
    out.add(s, [&](std::string& text) {
        text.append("(Customize Player) The score uses flag #");
        AppendSigned(text, settings.ScoreFlag);
        text.push_back('\n');
    });
}

void ClassifyCueCard(const CueCardRecord& card, Integer cueCardNo, StatementCollector& out) {
    for (std::size_t i = 0; i < 5; ++i) {
        if (card.ChoiceSetsFlag[i] != 1)
            continue;
        const Integer choice = static_cast<Integer>(i + 1);
        const bool adds = card.ChoiceAdds[i] == 1;
        FlagStatement s = change(StatementPlace::CueCard, cueCardNo, card.ChoiceFlag[i], card.ChoiceValue[i], adds);
        s.slot = static_cast<std::uint8_t>(choice);
        out.add(s, [&](std::string& text) {
            text.append("(Cue Card #");
            AppendSigned(text, cueCardNo);
            text.append(") When choice #");
            AppendSigned(text, choice);
            text.append(" is clicked, ");
            AppendChangePhrase(text, card.ChoiceFlag[i], card.ChoiceValue[i], adds);
        });
    }
}

void ClassifyInventoryItem(const InventoryItemRecord& item, Integer itemNo, StatementCollector& out) {
    if (item.ExamineSetsFlag != 1)
        return;
    const bool adds = item.ExamineAdds == 1;
    out.add(change(StatementPlace::InventoryItem, itemNo, item.ExamineFlag, item.ExamineValue, adds),
            [&](std::string& text) {
                text.append("(Inventory Item #");
                AppendSigned(text, itemNo);
                text.append(") When examined, ");
                AppendChangePhrase(text, item.ExamineFlag, item.ExamineValue, adds);
            });
}

void DescribeSceneHeader(Integer sceneNo, ReportContext& ctx) {
    RunState& run = ctx.run;
    std::string sceneReference;
    AppendSceneReference(sceneReference, ctx.project, sceneNo);
    describe(
        ctx, [&run](const FlagStatement& s) { return IsTrackedFlag(run, s.flag); },
        [&](StatementCollector& out) {
            ClassifySceneHeader(HeaderFlagsOf(ctx.scene.Scene), sceneNo, sceneReference, ctx.project, out);
        });
}

void DescribePlayerSettings(Integer section, Integer mode, ReportContext& ctx) {
    // The record is read whatever the section, so a damaged file fails here
    // for every section alike.
    const PlayerSettingsRecord settings = ReadPlayerSettings(ctx.data());
    if (section != 2)
        return;
    RunState& run = ctx.run;
    if (mode == MarkUsed) {
        describe(
            ctx, [&run](const FlagStatement& s) { return MarkFlagUsed(run, s.markedFlag), false; },
            [&](StatementCollector& out) { ClassifyPlayerSettings(settings, out); });
    } else if (mode == Track) {
        describe(
            ctx, [&run](const FlagStatement& s) { return IsTrackedFlag(run, s.flag); },
            [&](StatementCollector& out) { ClassifyPlayerSettings(settings, out); });
    }
}

void DescribeCueCard(Integer cueCardNo, Integer mode, ReportContext& ctx) {
    const CueCardRecord card = ReadCueCard(ctx.data(), cueCardNo);
    RunState& run = ctx.run;
    if (mode == MarkUsed) {
        describe(
            ctx, [&run](const FlagStatement& s) { return MarkFlagUsed(run, s.markedFlag), false; },
            [&](StatementCollector& out) { ClassifyCueCard(card, cueCardNo, out); });
    } else if (mode == Track) {
        // Cue cards and items compare with TrackedFlag as it stands; they
        // never consult EveryFlag.
        describe(
            ctx, [&run](const FlagStatement& s) { return s.flag == run.TrackedFlag; },
            [&](StatementCollector& out) { ClassifyCueCard(card, cueCardNo, out); });
    } else if (mode == CollectFiles) {
        // Every choice names its file, whether it changes a flag or not.
        for (const std::string& name : card.ChoiceFile)
            reference(ctx, trimBlanks(name));
    }
}

void DescribeInventoryItem(Integer itemNo, Integer mode, ReportContext& ctx) {
    const InventoryItemRecord item = ReadInventoryItem(ctx.data(), itemNo);
    RunState& run = ctx.run;
    if (mode == MarkUsed) {
        describe(
            ctx, [&run](const FlagStatement& s) { return MarkFlagUsed(run, s.markedFlag), false; },
            [&](StatementCollector& out) { ClassifyInventoryItem(item, itemNo, out); });
    } else if (mode == Track) {
        describe(
            ctx, [&run](const FlagStatement& s) { return s.flag == run.TrackedFlag; },
            [&](StatementCollector& out) { ClassifyInventoryItem(item, itemNo, out); });
    } else if (mode == CollectFiles) {
        // The record keeps the leading blanks of files 1, 2, 3 and 7, as the
        // audit expects them.
        for (const std::string& name : item.ItemFile)
            reference(ctx, name);
    }
}

void DescribeLocation(Integer locationNo, Integer mode, ReportContext& ctx) {
    if (mode != CollectFiles)
        return;
    const LocationRecord location = ReadLocation(ctx.data(), locationNo);
    reference(ctx, location.LocationFile1);
    reference(ctx, location.LocationFile2);
    if (locationNo == 1)
        reference(ctx, location.LocationFile3);
}

} // namespace orv
