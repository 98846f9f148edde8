#pragma once

#include <functional>

namespace CLI {
class App;
}

namespace orv {

struct Invocation;

// Each command of orvanta-scan adds its subcommand, with its own options, to
// `app`; when it is the one chosen, it sets `action` to what it does. One
// file each in cli/commands.
using CommandAction = std::function<int()>;
void AddInfoCommand(CLI::App& app, Invocation& run, CommandAction& action);
void AddFilesCommand(CLI::App& app, Invocation& run, CommandAction& action);
void AddCheckCommand(CLI::App& app, Invocation& run, CommandAction& action);
void AddUnusedFlagsCommand(CLI::App& app, Invocation& run, CommandAction& action);
void AddFlagUsageCommand(CLI::App& app, Invocation& run, CommandAction& action);
void AddTrackFlagCommand(CLI::App& app, Invocation& run, CommandAction& action);
void AddSceneFlagsCommand(CLI::App& app, Invocation& run, CommandAction& action);
void AddScenePropertiesCommand(CLI::App& app, Invocation& run, CommandAction& action);
void AddPuzzleChartCommand(CLI::App& app, Invocation& run, CommandAction& action);

} // namespace orv
