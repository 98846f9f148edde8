// The reports of a scene, or of every scene: the flag tracker by scene and
// the scene properties.

#include "cli/Command.h"
#include "cli/Commands.h"
#include "reports/FlagSections.h"
#include "reports/RunReport.h"
#include "reports/RunState.h"
#include "writers/JsonOutput.h"
#include "writers/JsonReports.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace orv {

namespace {

using SceneJson = std::function<void(JsonStream&, ReportHost&, OpenProject&, Integer scene)>;

// A command of SCENE, a number or all: the text report of `kind`, as the
// scene picker runs it for `purpose`, or the JSON `json` writes.
void addSceneReport(CLI::App& app, Invocation& run, CommandAction& action, const std::string& name,
                    const std::string& description, Integer purpose, Integer kind, SceneJson json) {
    auto sceneText = std::make_shared<std::string>();
    CLI::App& command = AddCommand(app, run, name, description, {"text", "json"});
    command.add_option("SCENE", *sceneText, "A scene number, or all")->required();
    command.callback([&run, &action, sceneText, purpose, kind, json] {
        action = [&run, sceneText, purpose, kind, json] {
            int loaded = ExitOk;
            auto open = LoadForCommand(run, loaded);
            if (!open)
                return loaded;
            const Integer scene = ParseScene(*sceneText, open->project.SceneCount);
            if (!run.json())
                return RunTextReport(run, *open, kind, [&](RunState& s) {
                    s.ScenePickerPurpose = purpose;
                    s.TrackedScene = scene;
                });
            return WriteJsonOutput(run, open->project.Paths,
                                   [&](JsonStream& j, ReportHost& host) -> std::optional<Failure> {
                                       json(j, host, *open, scene);
                                       return std::nullopt;
                                   });
        };
    });
}

} // namespace

// orvanta-scan scene-flags: every flag statement of a scene (or of all).
void AddSceneFlagsCommand(CLI::App& app, Invocation& run, CommandAction& action) {
    addSceneReport(app, run, action, "scene-flags", "Print every flag statement of a scene (or all)", 2,
                   FlagsBySceneKind, [](JsonStream& json, ReportHost& host, OpenProject& open, Integer scene) {
                       const ProjectSource source = open.source();
                       SceneFlagsJson document(json, open.project, scene, TrackedScoreStatement(source, std::nullopt));
                       ForEachTrackedScene(source, scene, host,
                                           [&](int s, const FlagStatementList& list) { document.scene(s, list); });
                       document.finish();
                   });
}

// orvanta-scan scene-properties: the scene properties report.
void AddScenePropertiesCommand(CLI::App& app, Invocation& run, CommandAction& action) {
    addSceneReport(app, run, action, "scene-properties", "Print the scene properties report", 1, ScenePropertiesKind,
                   [](JsonStream& json, ReportHost&, OpenProject& open, Integer scene) {
                       WriteScenePropertiesJson(json, open.project, scene);
                   });
}

} // namespace orv
