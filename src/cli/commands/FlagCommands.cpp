// The flag reports: unused flags, the flag usage summary, the flag tracker
// by flag and by scene.

#include "cli/Command.h"
#include "cli/Commands.h"
#include "reports/FlagSections.h"
#include "reports/FlagUsageReport.h"
#include "reports/RunReport.h"
#include "reports/RunState.h"
#include "reports/UnusedFlagsReport.h"
#include "writers/JsonOutput.h"
#include "writers/JsonReports.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace orv {

namespace {

// A command whose text form is the report of `kind` and whose JSON form
// `json` writes.
void addFlagReport(CLI::App& app, Invocation& run, CommandAction& action, const std::string& name,
                   const std::string& description, Integer kind,
                   std::function<std::optional<Failure>(JsonStream&, ReportHost&, OpenProject&)> json) {
    AddCommand(app, run, name, description, {"text", "json"}).callback([&run, &action, kind, json] {
        action = [&run, kind, json] {
            int loaded = ExitOk;
            auto open = LoadForCommand(run, loaded, true);
            if (!open)
                return loaded;
            if (!run.json())
                return RunTextReport(run, *open, kind, {});
            return WriteJsonOutput(run, open->project.Paths,
                                   [&](JsonStream& j, ReportHost& host) { return json(j, host, *open); });
        };
    });
}

} // namespace

void AddUnusedFlagsCommand(CLI::App& app, Invocation& run, CommandAction& action) {
    addFlagReport(app, run, action, "unused-flags", "Print the unused flags report", UnusedFlagsKind,
                  [](JsonStream& json, ReportHost& host, OpenProject& open) -> std::optional<Failure> {
                      WriteUnusedFlagsJson(json, open.project, ScanUnusedFlags(open.source(), host, false));
                      return std::nullopt;
                  });
}

void AddFlagUsageCommand(CLI::App& app, Invocation& run, CommandAction& action) {
    addFlagReport(app, run, action, "flag-usage", "Print the flag usage summary (dead ends, never tested)",
                  FlagUsageKind, [](JsonStream& json, ReportHost& host, OpenProject& open) -> std::optional<Failure> {
                      return WriteFlagUsageJson(json, open.source(), GatherFlagUsage(open.source(), host));
                  });
}

// orvanta-scan track-flag: where a flag (or every flag) is tested or changed.
void AddTrackFlagCommand(CLI::App& app, Invocation& run, CommandAction& action) {
    auto flagText = std::make_shared<std::string>();
    CLI::App& command =
        AddCommand(app, run, "track-flag", "Print where a flag (or every flag) is used", {"text", "json"});
    command.add_option("FLAG", *flagText, "A flag number from 1 to 255, or all")->required();
    command.callback([&run, &action, flagText] {
        action = [&run, flagText] {
            const Integer flag = ParseFlag(*flagText);
            // The all-flags report runs to hundreds of megabytes: its header
            // comes first, from the scene list read at load.
            int loaded = ExitOk;
            auto open = LoadForCommand(run, loaded, flag != AllSelector);
            if (!open)
                return loaded;
            if (!run.json())
                return RunTextReport(run, *open, FlagsByFlagKind, [flag](RunState& s) { s.TrackedFlag = flag; });
            return WriteJsonOutput(run, open->project.Paths,
                                   [&](JsonStream& json, ReportHost& host) -> std::optional<Failure> {
                                       TrackedFlagStatements tracked = GatherTrackedFlag(open->source(), flag, host);
                                       WriteTrackFlagJson(json, open->project, flag, tracked.score, tracked.sections);
                                       return std::nullopt;
                                   });
        };
    });
}

} // namespace orv
