#include "cli/Command.h"
#include "cli/Commands.h"
#include "reports/RunReport.h"
#include "reports/RunState.h"
#include "writers/JsonOutput.h"
#include "writers/JsonReports.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace orv {

// orvanta-scan scene-properties: the scene properties report.
void AddScenePropertiesCommand(CLI::App& app, Invocation& run, CommandAction& action) {
    auto sceneText = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand("scene-properties", "Print the scene properties report");
    AddProjectOption(*command, run);
    command->add_option("SCENE", *sceneText, "A scene number, or all")->required();
    AddOutputOption(*command, run);
    AddFormatOption(*command, run, {"text", "json"});
    command->callback([&run, &action, sceneText] {
        action = [&run, sceneText] {
            int loaded = ExitOk;
            auto open = LoadForCommand(run, loaded);
            if (!open)
                return loaded;
            const Integer scene = ParseScene(*sceneText, open->project.SceneCount);
            if (!run.json())
                return RunTextReport(run, *open, ScenePropertiesKind, [scene](RunState& s) {
                    s.ScenePickerPurpose = 1;
                    s.TrackedScene = scene;
                });
            return WriteJsonOutput(run, open->project.Paths,
                                   [&](JsonStream& json, ReportHost&) -> std::optional<Failure> {
                                       WriteScenePropertiesJson(json, open->project, scene);
                                       return std::nullopt;
                                   });
        };
    });
}

} // namespace orv
