#include "audit/DiskNames.h"
#include "cli/Command.h"
#include "cli/Commands.h"
#include "findings/Findings.h"
#include "writers/CheckOutput.h"
#include "writers/JsonOutput.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <stdexcept>

namespace orv {

namespace {

// Exit 1 when a finding of a --fail-on class was made; 5, which outranks
// it, when a media folder could not be listed.
int check(Invocation& run, const FailOn& failOn) {
    int loaded = ExitOk;
    auto open = LoadForCommand(run, loaded, true);
    if (!open)
        return loaded;
    std::optional<ProjectCheck> found;
    const auto checked = [&](ReportHost& host) {
        found.emplace(open->source(), host);
        return found->failure();
    };
    int written = ExitOk;
    if (run.format == "text") {
        // Findings name the project as the user named it, as compilers do,
        // shown as every other name is, so that no name can forge a line.
        const std::string project = DisplayName(run.projectFile);
        written = WriteStreamedOutput(
            run, *open,
            [&](std::ostream& out, ReportHost& host) {
                if (auto stopped = checked(host))
                    return stopped;
                WriteCheckText(out, project, *found, failOn);
                return std::optional<Failure>();
            },
            "check");
    } else {
        written = WriteJsonOutput(
            run, *open,
            [&](JsonStream& json, ReportHost& host) {
                if (auto stopped = checked(host))
                    return stopped;
                if (run.format == "json")
                    WriteCheckJson(json, open->project, *found, failOn);
                else
                    WriteCheckSarif(json, run.projectFile, *found, failOn);
                return std::optional<Failure>();
            },
            "check");
    }
    if (written != ExitOk)
        return written;
    for (const Failure& folder : found->unlistableFolders())
        Say(run.io, Wording(folder) + "; its files are left out of the check");
    if (!found->unlistableFolders().empty())
        return ExitIncomplete;
    return CheckFailed(found->counts(), failOn) ? ExitMissingFiles : ExitOk;
}

} // namespace

// orvanta-scan check: the findings of the files pass and the flag usage
// pass, as compiler-style lines, JSON or SARIF.
void AddCheckCommand(CLI::App& app, Invocation& run, CommandAction& action) {
    auto failOnText = std::make_shared<std::string>("missing");
    CLI::App* command =
        app.add_subcommand("check", "Report what is wrong with the project, one line per finding, for build pipelines");
    AddProjectOption(*command, run);
    AddOutputOption(*command, run);
    AddFormatOption(*command, run, {"text", "json", "sarif"});
    std::string classes;
    for (const FindingClassInfo& info : FindingClasses)
        classes += (classes.empty() ? "" : ", ") + std::string(info.name);
    command->add_option("--fail-on", *failOnText,
                        "The classes that are errors, comma-separated (default: missing): " + classes);
    command->callback([&run, &action, failOnText] {
        action = [&run, failOnText] {
            FailOn failOn;
            try {
                failOn = FailOn::parse(*failOnText);
            } catch (const std::invalid_argument& e) {
                throw UsageError{std::string("orvanta-scan: --fail-on: ") + e.what()};
            }
            return check(run, failOn);
        };
    });
}

} // namespace orv
