#include "cli/Cli.h"

#include "cli/Command.h"
#include "cli/Commands.h"
#include "data/ProgramInfo.h"

#include <CLI/CLI.hpp>
#include <new>

namespace orv {

namespace {

// The argument the parser took for an option although none of that name
// exists: a file or flag that starts with "-" (say "-o.orv" or "-inf").
std::optional<std::string> optionLookingArgument(const CLI::App& app, const std::vector<std::string>& args) {
    const CLI::App* command = nullptr;
    for (const std::string& arg : args) {
        if (arg == "--")
            return std::nullopt;
        if (!command) {
            for (const CLI::App* sub : app.get_subcommands({}))
                if (sub->get_name() == arg)
                    command = sub;
            continue;
        }
        if (arg.size() < 2 || arg[0] != '-')
            continue;
        const std::string name = arg.substr(0, arg.find('='));
        bool known = false;
        for (const CLI::Option* option : command->get_options())
            for (const std::string& n : option->get_lnames())
                known = known || name == "--" + n;
        for (const CLI::Option* option : command->get_options())
            for (const std::string& n : option->get_snames())
                known = known || arg.rfind("-" + n, 0) == 0;
        known = known || name == "--help" || name == "-h";
        if (!known)
            return arg;
    }
    return std::nullopt;
}

} // namespace

int runCli(const std::vector<std::string>& args, CliStreams io) {
    CLI::App app{"Checks an Orvanta game project and prints its reports.", "orvanta-scan"};
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Show the help of every command");
    app.set_version_flag("--version", "orvanta-scan " + versionNumber());

    Invocation run{io, {}, {}, "text"};
    CommandAction action;
    AddInfoCommand(app, run, action);
    AddFilesCommand(app, run, action);
    AddCheckCommand(app, run, action);
    AddUnusedFlagsCommand(app, run, action);
    AddFlagUsageCommand(app, run, action);
    AddScenePropertiesCommand(app, run, action);
    AddTrackFlagCommand(app, run, action);
    AddSceneFlagsCommand(app, run, action);
    AddPuzzleChartCommand(app, run, action);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        io.out << app.help();
        return CheckStandardOutput(io);
    } catch (const CLI::CallForAllHelp&) {
        io.out << app.help("", CLI::AppFormatMode::All);
        return CheckStandardOutput(io);
    } catch (const CLI::CallForVersion& e) {
        return WriteToStandardOutput(io, e.what());
    } catch (const CLI::ParseError& e) {
        if (const auto arg = optionLookingArgument(app, args))
            Say(io, "orvanta-scan: '" + *arg +
                        "' is no option of this command; if it is a file or a value, put -- "
                        "before it (orvanta-scan COMMAND -- " +
                        *arg + ")");
        else
            Say(io, std::string("orvanta-scan: ") + e.what());
        io.err << "Usage: orvanta-scan COMMAND PROJECT.orv [ARGS] [-o FILE] [--format FORMAT]\n"
               << "Commands: info, files, check, unused-flags, flag-usage, track-flag, scene-flags, scene-properties, "
                  "puzzle-chart\n"
               << "Run 'orvanta-scan --help' for more.\n";
        return ExitUsage;
    }
    try {
        return action ? action() : ExitUsage;
    } catch (const UsageError& e) {
        Say(io, e.message);
        return ExitUsage;
    } catch (const std::bad_alloc&) {
        Say(io, "orvanta-scan: out of memory: the report is too large for this machine");
        return ExitOutputFailed;
    }
}

} // namespace orv
