#include "cli/Cli.h"

#include "audit/AuditLists.h"
#include "audit/MissingUnusedFilesReport.h"
#include "cli/TerminalProgress.h"
#include "data/LoadProject.h"
#include "data/Numbers.h"
#include "reports/ReportContext.h"
#include "reports/ReportRtf.h"
#include "reports/RunReport.h"
#include "reports/RunState.h"

#include <CLI/CLI.hpp>

#include <fstream>
#include <functional>
#include <optional>
#include <ostream>

namespace orv {
namespace {

// Message texts use CR as their line break; a terminal wants LF.
std::string withLineFeeds(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// An output file named *.rtf (any letter case) gets the report as RTF.
bool isRtfFile(const std::string& file) {
    if (file.size() < 4)
        return false;
    std::string suffix = file.substr(file.size() - 4);
    for (char& c : suffix)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return suffix == ".rtf";
}

// The program-wide state one invocation works on.
struct Session {
    ProjectState project;
    RunState run;
    ReportText text;
};

struct UsageError {
    std::string message;
};

// Loads the project as the desktop program does; on failure prints the
// messages the desktop would show and returns the exit status.
std::optional<int> loadProject(Session& s, const std::string& projectFile, CliStreams& io) {
    ChooseProjectFile(s.project, projectFile);
    const LoadOutcome outcome = LoadProject(s.project, noEventLoop());
    if (outcome.loaded())
        return std::nullopt;
    if (outcome.unexpectedError)
        io.err << withLineFeeds(*outcome.unexpectedError) << "\n";
    io.err << withLineFeeds(outcome.message) << "\n";
    return ExitProjectFailed;
}

// The flag picker's reading of a flag: "all", or the leading number rounded
// half to even, which must lie from 1 to 255.
Integer parseFlag(const std::string& text) {
    if (text == "all")
        return AllSelector;
    const auto n = ReadFlagNumber(text);
    if (!n || *n < 1 || *n > 255)
        throw UsageError{"Flag number must be between 1 and 255."};
    return static_cast<Integer>(*n);
}

// A scene: "all", or a number from 1 to the scene count.
Integer parseScene(const std::string& text, Integer sceneCount) {
    if (text == "all")
        return AllSelector;
    const bool digits = !text.empty() && text.size() <= 6 &&
                        text.find_first_not_of("0123456789") == std::string::npos;
    const long n = digits ? std::stol(text) : 0;
    if (n < 1 || n > sceneCount)
        throw UsageError{"Please choose a scene."};
    return static_cast<Integer>(n);
}

struct ReportRequest {
    Integer kind = 0;
    std::string projectFile;
    std::string outputFile;
    // Sets the run state the pickers would set, once the project is loaded.
    std::function<void(Session&)> choose;
    // Plugs report routines from other layers into the context.
    std::function<void(ReportContext&)> prepare;
    // Decides the exit status of a report that ran.
    std::function<int(Session&)> status;
};

int outputFailed(const std::string& outputFile, CliStreams& io) {
    io.err << "Could not write the report to " << outputFile << "\n";
    return ExitOutputFailed;
}

int runReport(const ReportRequest& request, CliStreams& io) {
    Session s;
    if (auto failed = loadProject(s, request.projectFile, io))
        return *failed;
    if (request.choose)
        request.choose(s);

    TerminalProgress host(io.err, io.errIsTerminal);
    ReportContext ctx{s.project, s.run, s.text, host};
    if (request.prepare)
        request.prepare(ctx);
    s.run.CancelRequested = false;
    s.run.ReportRunning = true;
    const RunOutcome outcome = RunReport(request.kind, ctx);
    FinishRun(ctx);
    host.clear();
    if (outcome.status == RunOutcome::Status::Failed) {
        io.err << withLineFeeds(outcome.message) << "\n";
        return ExitProjectFailed;
    }

    if (request.outputFile.empty()) {
        io.out << s.text.str() << "\n" << std::flush;
    } else if (isRtfFile(request.outputFile)) {
        // The same document as the desktop's "Save report".
        if (!WriteReportRtf(request.outputFile, s.text.str()))
            return outputFailed(request.outputFile, io);
    } else {
        std::ofstream file(request.outputFile, std::ios::binary | std::ios::trunc);
        file << s.text.str() << "\n";
        file.close();
        if (!file)
            return outputFailed(request.outputFile, io);
    }
    return request.status ? request.status(s) : ExitOk;
}

} // namespace

int runCli(const std::vector<std::string>& args, CliStreams io) {
    CLI::App app{"Checks an Orvanta game project and prints its reports.", "orvanta-scan"};
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Show the help of every command");

    std::string projectFile, flagText, sceneText, outputFile;
    std::function<int()> action;

    auto addProject = [&](CLI::App* cmd) {
        cmd->add_option("PROJECT", projectFile, "The project file (*.orv)")->required()->check(CLI::ExistingFile);
    };
    auto addOutput = [&](CLI::App* cmd) {
        cmd->add_option("-o,--output", outputFile,
                        "Write the report to FILE instead of standard output (as RTF when FILE ends in .rtf)");
    };

    CLI::App* info = app.add_subcommand("info", "Print the project information panel");
    addProject(info);
    info->callback([&] {
        action = [&] {
            Session s;
            if (auto failed = loadProject(s, projectFile, io))
                return *failed;
            io.out << s.project.PInfo << "\n" << std::flush;
            return ExitOk;
        };
    });

    bool failOnMissing = false;
    CLI::App* files = app.add_subcommand("files", "Print the missing and unused resource files report");
    addProject(files);
    addOutput(files);
    files->add_flag("--fail-on-missing", failOnMissing, "Exit with status 1 when a referenced file is missing");
    files->callback([&] {
        action = [&] {
            AuditLists lists;
            auto prepare = [&lists](ReportContext& ctx) {
                ctx.resourceFilesReport = [&lists](ReportContext& c) { MissingUnusedFilesReport(c, lists); };
            };
            auto status = [&](Session&) {
                const bool missing = !lists.MissingGfx.empty() || !lists.MissingMmedia.empty();
                return failOnMissing && missing ? ExitMissingFiles : ExitOk;
            };
            return runReport({ResourceFilesKind, projectFile, outputFile, {}, prepare, status}, io);
        };
    });

    CLI::App* unused = app.add_subcommand("unused-flags", "Print the unused flags report");
    addProject(unused);
    addOutput(unused);
    unused->callback([&] {
        action = [&] { return runReport({UnusedFlagsKind, projectFile, outputFile, {}, {}, {}}, io); };
    });

    CLI::App* usage = app.add_subcommand("flag-usage", "Print the flag usage summary (dead ends, never tested)");
    addProject(usage);
    addOutput(usage);
    usage->callback([&] {
        action = [&] { return runReport({FlagUsageKind, projectFile, outputFile, {}, {}, {}}, io); };
    });

    CLI::App* sceneProps = app.add_subcommand("scene-properties", "Print the scene properties report");
    addProject(sceneProps);
    sceneProps->add_option("SCENE", sceneText, "A scene number, or all")->required();
    addOutput(sceneProps);
    sceneProps->callback([&] {
        action = [&] {
            auto choose = [&](Session& s) {
                s.run.ScenePickerPurpose = 1;
                s.run.TrackedScene = parseScene(sceneText, s.project.SceneCount);
            };
            return runReport({ScenePropertiesKind, projectFile, outputFile, choose, {}, {}}, io);
        };
    });

    CLI::App* trackFlag = app.add_subcommand("track-flag", "Print where a flag (or every flag) is used");
    addProject(trackFlag);
    trackFlag->add_option("FLAG", flagText, "A flag number from 1 to 255, or all")->required();
    addOutput(trackFlag);
    trackFlag->callback([&] {
        action = [&] {
            const Integer flag = parseFlag(flagText);
            auto choose = [flag](Session& s) { s.run.TrackedFlag = flag; };
            return runReport({FlagsByFlagKind, projectFile, outputFile, choose, {}, {}}, io);
        };
    });

    CLI::App* sceneFlags = app.add_subcommand("scene-flags", "Print every flag statement of a scene (or all)");
    addProject(sceneFlags);
    sceneFlags->add_option("SCENE", sceneText, "A scene number, or all")->required();
    addOutput(sceneFlags);
    sceneFlags->callback([&] {
        action = [&] {
            auto choose = [&](Session& s) {
                s.run.ScenePickerPurpose = 2;
                s.run.TrackedScene = parseScene(sceneText, s.project.SceneCount);
            };
            return runReport({FlagsBySceneKind, projectFile, outputFile, choose, {}, {}}, io);
        };
    });

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        io.out << app.help();
        return ExitOk;
    } catch (const CLI::CallForAllHelp&) {
        io.out << app.help("", CLI::AppFormatMode::All);
        return ExitOk;
    } catch (const CLI::ParseError& e) {
        io.err << "orvanta-scan: " << e.what() << "\n"
               << "Usage: orvanta-scan COMMAND PROJECT.orv [ARGS] [-o FILE]\n"
               << "Commands: info, unused-flags, flag-usage, track-flag, scene-flags, scene-properties, files\n"
               << "Run 'orvanta-scan --help' for more.\n";
        return ExitUsage;
    }
    try {
        return action ? action() : ExitUsage;
    } catch (const UsageError& e) {
        io.err << e.message << "\n";
        return ExitUsage;
    }
}

} // namespace orv
