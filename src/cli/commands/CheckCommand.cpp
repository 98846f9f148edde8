#include "cli/Command.h"
#include "cli/Commands.h"
#include "cli/OutputFile.h"
#include "findings/Baseline.h"
#include "findings/CheckRun.h"
#include "findings/IgnoreRules.h"
#include "writers/CheckOutput.h"
#include "writers/JsonOutput.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <stdexcept>

namespace orv {

namespace {

struct CheckOptions {
    std::vector<std::string> failOn;
    std::string sarifRoot;
    std::string baseline;
    std::string writeBaseline;
    std::string ignore;
};

FailOn failOnOf(const CheckOptions& options) {
    FailOn failOn;
    try {
        if (options.failOn.empty())
            failOn.add("missing");
        for (const std::string& list : options.failOn)
            failOn.add(list);
    } catch (const std::invalid_argument& e) {
        throw UsageError{std::string("orvanta-scan: --fail-on: ") + e.what()};
    }
    return failOn;
}

CheckNames namesOf(const Invocation& run, const CheckOptions& options) {
    std::error_code ec;
    const std::filesystem::path current = std::filesystem::current_path(ec);
    const ProjectPaths paths = ProjectPaths::fromProjectFile(run.projectFile);
    return {run.projectFile,
            paths.ProjectFolder,
            options.sarifRoot.empty() ? current : std::filesystem::path(options.sarifRoot),
            {}};
}

// The ignore file named, or .orvantaignore beside the project file when
// there is one.
std::optional<IgnoreRules> ignoreRulesOf(const CheckOptions& options, const ProjectPaths& paths) {
    const bool named = !options.ignore.empty();
    Result<IgnoreRules> rules = IgnoreRules::read(
        named ? std::filesystem::path(options.ignore) : paths.ProjectFolder / ".orvantaignore", !named);
    if (!rules)
        throw UsageError{Wording(rules.failure())};
    return std::move(*rules);
}

int writeBaseline(Invocation& run, const ProjectCheck& check, const FailOn& failOn, const IgnoreRules& ignore,
                  const std::string& file) {
    Result<OutputFile> out = OutputFile::create(file);
    if (!out) {
        Say(run.io, "orvanta-scan: could not write the baseline to " + file + " (" + out.failure().reason + ")");
        return ExitOutputFailed;
    }
    WriteBaselineHeader(out->stream());
    CheckRun everything(check, failOn, &ignore);
    everything.forEach([&](const Finding& f, Level level) { WriteBaselineLine(out->stream(), f, level); });
    if (Result<void> closed = out->close(); !closed) {
        Say(run.io, "orvanta-scan: could not write the baseline to " + file + " (" + closed.failure().reason + ")");
        return ExitOutputFailed;
    }
    return ExitOk;
}

// Exit 1 when a reported finding is of a --fail-on class; 5, which
// outranks it, when a media folder could not be listed; 3 when the project
// could not be checked (SARIF and JSON still say so in a document).
int check(Invocation& run, const CheckOptions& options) {
    const FailOn failOn = failOnOf(options);
    const CheckNames names = namesOf(run, options);
    const ProjectPaths paths = ProjectPaths::fromProjectFile(run.projectFile);
    const IgnoreRules ignore = *ignoreRulesOf(options, paths);
    std::optional<Baseline> baseline;
    if (!options.baseline.empty()) {
        Result<Baseline> read = Baseline::read(options.baseline);
        if (!read)
            throw UsageError{Wording(read.failure())};
        baseline = std::move(*read);
    }
    const bool document = run.format == "json" || run.format == "sarif";

    int loaded = ExitOk;
    std::optional<Failure> whyNot;
    auto open = LoadForCommand(run, loaded, true, &whyNot);
    if (!open) {
        if (document)
            WriteJsonOutput(run, paths, [&](JsonStream& json, ReportHost&) -> std::optional<Failure> {
                if (run.format == "sarif")
                    WriteFailedCheckSarif(json, *whyNot, failOn, names);
                else
                    WriteFailedCheckJson(json, *whyNot);
                return std::nullopt;
            });
        return loaded;
    }
    std::optional<ProjectCheck> found;
    std::optional<CheckRun> checked;
    const auto runCheck = [&](ReportHost& host) -> std::optional<Failure> {
        found.emplace(open->source(), host);
        if (found->failure())
            return found->failure();
        checked.emplace(*found, failOn, &ignore, baseline ? &*baseline : nullptr);
        return std::nullopt;
    };
    int written = ExitOk;
    if (!document) {
        written = WriteStreamedOutput(
            run, open->project.Paths,
            [&](std::ostream& out, ReportHost& host) {
                if (auto stopped = runCheck(host))
                    return stopped;
                if (run.format == "github")
                    WriteCheckGithub(out, *checked, names);
                else
                    WriteCheckText(out, *checked, names);
                return std::optional<Failure>();
            },
            "check");
    } else {
        written = WriteJsonOutput(
            run, open->project.Paths,
            [&](JsonStream& json, ReportHost& host) {
                if (auto stopped = runCheck(host))
                    return stopped;
                if (run.format == "json")
                    WriteCheckJson(json, open->project, *checked, names);
                else
                    WriteCheckSarif(json, *checked, names);
                return std::optional<Failure>();
            },
            "check");
    }
    if (written != ExitOk)
        return written;
    if (!options.writeBaseline.empty())
        if (const int status = writeBaseline(run, *found, failOn, ignore, options.writeBaseline); status != ExitOk)
            return status;
    for (const Failure& folder : found->unlistableFolders())
        Say(run.io, Wording(folder) + "; its files are left out of the check");
    if (!found->unlistableFolders().empty())
        return ExitIncomplete;
    return checked->summary().failed ? ExitMissingFiles : ExitOk;
}

} // namespace

// orvanta-scan check: the findings of the files pass and the flag usage
// pass, as compiler-style lines, GitHub workflow commands, JSON or SARIF.
void AddCheckCommand(CLI::App& app, Invocation& run, CommandAction& action) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* command = &AddCommand(app, run, "check",
                                    "Report what is wrong with the project, one line per finding, for build pipelines",
                                    {"text", "json", "sarif", "github"});
    std::string classes;
    for (const FindingClassInfo& info : FindingClasses)
        classes += (classes.empty() ? "" : ", ") + std::string(info.name);
    command->add_option("--fail-on", options->failOn,
                        "The classes that are errors, comma-separated; repeated options add up (default: missing; "
                        "\"\" for none): " +
                            classes);
    command->add_option("--sarif-root", options->sarifRoot,
                        "The folder SARIF paths are relative to (default: the current folder)");
    command->add_option("--baseline", options->baseline, "Report only the findings that are not in this baseline");
    command->add_option("--write-baseline", options->writeBaseline,
                        "Write every finding (but those ignored) to this baseline file");
    command->add_option("--ignore", options->ignore, "The ignore file (default: .orvantaignore beside the project)");
    command->callback([&run, &action, options] { action = [&run, options] { return check(run, *options); }; });
}

} // namespace orv
