// The statements of the scene header, the player settings, cue cards and
// inventory items.

#include "reports/Phrasing.h"
#include "reports/StatementClassifier.h"
#include "reports/TextConventions.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace orv {

namespace {

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

} // namespace

void ClassifySceneHeader(const SceneHeaderFlags& h, Integer sceneNo, std::string_view sceneReference,
                         std::string_view loadsSceneName, StatementCollector& out) {
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
                text.append(loadsSceneName);
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

} // namespace orv
