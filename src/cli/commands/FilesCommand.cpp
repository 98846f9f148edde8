#include "audit/FilesAudit.h"
#include "audit/MissingUnusedFilesReport.h"
#include "cli/Command.h"
#include "cli/Commands.h"
#include "reports/ReportContext.h"
#include "reports/RunReport.h"
#include "writers/JsonOutput.h"
#include "writers/JsonReports.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace orv {

namespace {

// Checked incompletely outweighs a missing file: the report may miss files,
// and may call present ones missing.
int status(CliStreams& io, const FilesAudit& audit, bool failOnMissing) {
    for (const Failure& folder : audit.lists.UnlistableFolders)
        Say(io, Wording(folder) + "; its files are left out of the report");
    if (!audit.lists.UnlistableFolders.empty())
        return ExitIncomplete;
    const bool missing = !audit.lists.MissingGfx.empty() || !audit.lists.MissingMmedia.empty();
    return failOnMissing && missing ? ExitMissingFiles : ExitOk;
}

} // namespace

// orvanta-scan files: the missing and unused resource files report, or the
// files audit as JSON.
void AddFilesCommand(CLI::App& app, Invocation& run, CommandAction& action) {
    auto failOnMissing = std::make_shared<bool>(false);
    CLI::App* files = app.add_subcommand("files", "Print the missing and unused resource files report");
    AddProjectOption(*files, run);
    AddOutputOption(*files, run);
    files->add_flag("--fail-on-missing", *failOnMissing, "Exit with status 1 when a referenced file is missing");
    AddFormatOption(*files, run, {"text", "json"});
    files->callback([&run, &action, failOnMissing] {
        action = [&run, failOnMissing] {
            int loaded = ExitOk;
            auto open = LoadForCommand(run, loaded, true);
            if (!open)
                return loaded;
            FilesAudit audit;
            int written = ExitOk;
            if (run.json()) {
                written = WriteJsonOutput(run, open->project.Paths, [&](JsonStream& json, ReportHost& host) {
                    audit = AuditProjectFiles(open->source(), host);
                    if (!audit.failure)
                        WriteFilesJson(json, open->project, audit);
                    return audit.failure;
                });
            } else {
                written = RunTextReport(run, *open, ResourceFilesKind, {}, [&audit](ReportContext& ctx) {
                    ctx.resourceFilesReport = [&audit](ReportContext& c) { MissingUnusedFilesReport(c, audit); };
                });
            }
            return written != ExitOk ? written : status(run.io, audit, *failOnMissing);
        };
    });
}

} // namespace orv
