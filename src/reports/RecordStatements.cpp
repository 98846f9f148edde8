#include "reports/RecordStatements.h"

#include "data/DataFiles.h"
#include "data/Text.h"
#include "reports/FileReferenceSink.h"
#include "reports/Phrasing.h"
#include "reports/ReportContext.h"
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

} // namespace

void DescribePlayerSettings(Integer section, Integer mode, ReportContext& ctx) {
    // The record is read whatever the section, so a damaged file fails here
    // for every section alike.
    const PlayerSettingsRecord settings = ReadPlayerSettings(ctx.data());
    if (section != 2 || settings.ScoreEnabled != 1)
        return;
    if (mode == MarkUsed) {
        MarkFlagUsed(ctx.run, settings.ScoreFlag);
    } else if (mode == Track) {
        if (IsTrackedFlag(ctx.run, settings.ScoreFlag))
            ctx.text.append("\n(Customize Player) The score uses flag #" + SignedForm(settings.ScoreFlag) + "\n");
    }
}

void DescribeCueCard(Integer cueCardNo, Integer mode, ReportContext& ctx) {
    const CueCardRecord card = ReadCueCard(ctx.data(), cueCardNo);
    for (std::size_t i = 0; i < 5; ++i) {
        const Integer choice = static_cast<Integer>(i + 1);
        const Integer flag = card.ChoiceFlag[i];
        const Integer value = card.ChoiceValue[i];
        const bool setsFlag = card.ChoiceSetsFlag[i] == 1;
        if (mode == MarkUsed && setsFlag) {
            MarkFlagUsed(ctx.run, flag);
        } else if (mode == Track && setsFlag && flag == ctx.run.TrackedFlag) {
            ctx.text.append("\n(Cue Card #" + SignedForm(cueCardNo) + ") When choice #" + SignedForm(choice) +
                            " is clicked, " +
                            (card.ChoiceAdds[i] == 1 ? AddFlagPhrase(value, flag) : SetFlagPhrase(flag, value)));
        } else if (mode == CollectFiles) {
            // Every choice names its file, whether it changes a flag or not.
            reference(ctx, trimBlanks(card.ChoiceFile[i]));
        }
    }
}

void DescribeInventoryItem(Integer itemNo, Integer mode, ReportContext& ctx) {
    const InventoryItemRecord item = ReadInventoryItem(ctx.data(), itemNo);
    const bool setsFlag = item.ExamineSetsFlag == 1;
    if (mode == MarkUsed && setsFlag) {
        MarkFlagUsed(ctx.run, item.ExamineFlag);
    } else if (mode == Track && setsFlag && item.ExamineFlag == ctx.run.TrackedFlag) {
        ctx.text.append("\n(Inventory Item #" + SignedForm(itemNo) + ") When examined, " +
                        (item.ExamineAdds == 1 ? AddFlagPhrase(item.ExamineValue, item.ExamineFlag)
                                               : SetFlagPhrase(item.ExamineFlag, item.ExamineValue)));
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
