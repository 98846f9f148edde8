#include "cli/Command.h"
#include "cli/Commands.h"
#include "writers/JsonOutput.h"
#include "writers/JsonReports.h"

#include <CLI/CLI.hpp>

namespace orv {

// orvanta-scan info: the project information panel, or the project as JSON.
void AddInfoCommand(CLI::App& app, Invocation& run, CommandAction& action) {
    CLI::App* info = app.add_subcommand("info", "Print the project information panel");
    AddProjectOption(*info, run);
    AddFormatOption(*info, run, {"text", "json"});
    info->callback([&] {
        action = [&] {
            int status = ExitOk;
            auto open = LoadForCommand(run, status);
            if (!open)
                return status;
            if (!run.json())
                return WriteToStandardOutput(run.io, ProjectInformation(open->project));
            return WriteJsonOutput(run, open->project.Paths,
                                   [&](JsonStream& json, ReportHost&) -> std::optional<Failure> {
                                       WriteInfoJson(json, open->project);
                                       return std::nullopt;
                                   });
        };
    });
}

} // namespace orv
