#include "reports/UnusedFlagsReport.h"

#include "data/FileError.h"
#include "reports/FlagStatements.h"
#include "reports/Phrasing.h"
#include "reports/RecordStatements.h"
#include "reports/ReportContext.h"
#include "reports/StatementMode.h"
#include "reports/TextConventions.h"

#include <array>
#include <charconv>
#include <string>

namespace orv {

namespace {

// Strikes every flag that an enabled statement of the project uses off the
// candidate list, reading each scene, cue card and item once. Writes nothing
// itself; only an unknown object type gets its problem line, which then
// stands above the report body. Stops at the first record that cannot be
// read, with the flags found so far struck off.
void scan(ReportContext& ctx) {
    const ProjectState& project = ctx.project;
    RunState& run = ctx.run;
    ReportHost& host = ctx.host;

    host.setProgressMaximum(project.SceneCount + 5 + project.CueCardCount + project.InventoryItemCount +
                            project.LocationCount);
    host.setProgressValue(0);

    DescribePlayerSettings(2, MarkUsed, ctx);
    for (int i = 0; i < 5; ++i)
        StepProgress(host);

    std::array<bool, 256> used{};
    GatherOptions options;
    options.keep = [&used](const FlagStatement& s) {
        if (s.marks && s.markedFlag >= 1 && s.markedFlag <= 255)
            used[static_cast<std::size_t>(s.markedFlag)] = true;
        return s.use == FlagUse::Problem;
    };
    struct StrikeOff {
        RunState& run;
        const std::array<bool, 256>& used;
        ~StrikeOff() {
            std::erase_if(run.UnusedFlags, [&](const std::string& entry) {
                int n = 0;
                const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), n);
                return error == std::errc{} && end == entry.data() + entry.size() && n >= 1 && n <= 255 &&
                       used[static_cast<std::size_t>(n)];
            });
        }
    } strikeOff{run, used};

    FlagStatementGatherer gatherer(ctx);
    FlagStatementList list;
    auto unitDone = [&](bool read) {
        if (!read)
            throw *list.readFailure;
        for (const FlagStatement& s : list.statements) {
            ctx.text.append("\n");
            ctx.text.append(list.sentence(s));
        }
        list.clear();
        StepProgress(host);
    };
    for (int s = 1; s <= project.SceneCount; ++s) {
        unitDone(gatherer.GatherScene(static_cast<Integer>(s), list, options));
        run.CurrentObject = 20; // the last slot examined, as after describing each slot in turn
    }
    for (int c = 1; c <= project.CueCardCount; ++c)
        unitDone(gatherer.GatherCueCard(static_cast<Integer>(c), list, options));
    for (int i = 1; i <= project.InventoryItemCount; ++i)
        unitDone(gatherer.GatherInventoryItem(static_cast<Integer>(i), list, options));
    // Locations hold no flags; they only count toward the progress bar.
    for (int l = 1; l <= project.LocationCount; ++l)
        StepProgress(host);
}

} // namespace

void UnusedFlagsReport(ReportContext& ctx) {
    RunState& run = ctx.run;
    run.ReportName = "Unused Flags Report";
    ResetUnusedFlags(run);
    ctx.host.yield();

    try {
        scan(ctx);
    } catch (const FileError& e) {
        // What is left in the list would name flags as unused that the rest of
        // the project may well use, so no list is written.
        AppendOpening(ctx.text, UnusedFlagsBanner);
        ctx.text.append("\n*** The scan stopped: the file " + e.file().string() + " could not be read (" + e.reason() +
                        "). No list of unused flags was made. ***");
        AppendClosing(ctx.text);
        return;
    }

    AppendOpening(ctx.text, UnusedFlagsBanner);
    ctx.text.append("\nNOTE: Flags that have been specified in properties, but always have their governing checkbox "
                    "UNCHECKED, are listed as UNUSED in this report.");
    ctx.text.append("\n\nTotal unused flags found:" + SignedForm(static_cast<long>(run.UnusedFlags.size())));
    ctx.text.append("\n\nThe following flags do not appear to be in use in this project:\n");
    for (const std::string& entry : run.UnusedFlags) {
        ctx.text.append(entry);
        ctx.text.append("  ");
    }
    AppendClosing(ctx.text);
}

} // namespace orv
