#include "audit/MissingUnusedFilesReport.h"

#include "audit/DiskNames.h"
#include "audit/FilesAudit.h"
#include "audit/NumberPatterns.h"
#include "data/Numbers.h"
#include "reports/ReportContext.h"
#include "reports/TextConventions.h"

#include <cstdint>
#include <string_view>

namespace orv {

namespace {

constexpr std::string_view RuleLine = "--------------------------------------------------------------------------------"
                                      "----------------------------------------";
static_assert(RuleLine.size() == 120);

constexpr std::string_view FirstFootnote = "* Files listed as MISSING are assigned to properties but could not be "
                                           "located in the appropriate resource folder.";
constexpr std::string_view SecondFootnote = "** Files listed as UNUSED are in the resource folders, but no reference "
                                            "to them could be found in the project.";

std::string Heading(std::string_view title, std::size_t count, std::string_view stars) {
    std::string heading(title);
    if (count > 0)
        heading += " (" + PlainForm(static_cast<long>(count)) + ")";
    heading += " ";
    heading += stars;
    heading += ":";
    return heading;
}

// Writes one list: names from disk (which must not forge lines) shown as
// the files manager shows them, references as the project holds them.
void AppendSection(ReportText& text, std::string_view heading, const std::vector<std::string>& list, bool fromDisk) {
    text.append("\n\n");
    text.append(heading);
    if (list.empty())
        text.append("\n(None)");
    for (const std::string& entry : list) {
        text.append("\n");
        text.append(fromDisk ? DisplayName(entry) : entry);
    }
}

} // namespace

void MissingUnusedFilesReport(ReportContext& ctx, FilesAudit& audit) {
    ctx.run.ReportName = "Resource Files Report";
    ctx.run.FilesReportRan = true;
    audit = AuditProjectFiles(ctx.source(), ctx.host);
    if (audit.failure) {
        ctx.text.append("\n*** The report stopped early: " + describeFailure(*audit.failure) + " ***");
        return;
    }
    WriteMissingUnusedFilesReport(ctx.text, audit);
    ctx.host.yield();
}

void WriteMissingUnusedFilesReport(ReportText& text, const FilesAudit& audit) {
    const AuditLists& lists = audit.lists;
    AppendOpening(text, ResourceFilesBanner);
    AppendSection(text, Heading("MISSING FILES FROM GFX FOLDER", lists.MissingGfx.size(), "*"), lists.MissingGfx,
                  false);
    AppendSection(text, Heading("MISSING FILES FROM MMEDIA FOLDER", lists.MissingMmedia.size(), "*"),
                  lists.MissingMmedia, false);
    AppendSection(text, Heading("UNUSED FILES IN GFX FOLDER", lists.UnusedGfx.size(), "**"), lists.UnusedGfx, true);
    AppendSection(text, Heading("UNUSED FILES IN MMEDIA FOLDER", lists.UnusedMmedia.size(), "**"), lists.UnusedMmedia,
                  true);
    const auto unusedBytes =
        static_cast<std::int64_t>(audit.unusedBytes(FolderKind::Gfx) + audit.unusedBytes(FolderKind::Mmedia));
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
}

} // namespace orv
