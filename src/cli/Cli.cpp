#include "cli/Cli.h"

#include "audit/AuditLists.h"
#include "audit/MissingUnusedFilesReport.h"
#include "cli/CheckFindings.h"
#include "cli/FdStreamBuf.h"
#include "cli/JsonOutput.h"
#include "cli/JsonReports.h"
#include "cli/OutputFile.h"
#include "cli/ProjectFindings.h"
#include "cli/TerminalProgress.h"
#include "cli/TerminalText.h"
#include "data/LoadProject.h"
#include "data/Numbers.h"
#include "data/ProgramInfo.h"
#include "reports/ReportContext.h"
#include "reports/ReportRtf.h"
#include "reports/RunReport.h"
#include "reports/RunState.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <unistd.h>

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

// A message on stderr, one line feed added; on a terminal nothing in it
// (a file name from the project) can drive the terminal.
void say(CliStreams& io, const std::string& message) {
    io.err << (io.errIsTerminal ? TerminalSafe(message) : message) << "\n" << std::flush;
}

// How the command line words a failure: the file or folder and the
// system's reason; a lock mismatch names the file and both values.
std::string wording(const Failure& f) {
    if (f.kind == FailureKind::LockMismatch)
        return "The project lock of " + f.path.string() + " is " + std::to_string(f.foundLock) +
               "; the project file's is " + std::to_string(f.expectedLock) + ".";
    return "orvanta-scan: " + describeFailure(f);
}

// Loads the project as the desktop program does. On failure it says which
// file failed and why; only a real lock mismatch gets the security message.
std::optional<int> loadProject(Session& s, const std::string& projectFile, CliStreams& io) {
    ChooseProjectFile(s.project, projectFile);
    const LoadOutcome outcome = LoadProject(s.project, noEventLoop());
    if (outcome.loaded())
        return std::nullopt;
    if (outcome.failure && outcome.failure->kind == FailureKind::LockMismatch) {
        say(io, withLineFeeds(outcome.message));
        say(io, wording(*outcome.failure));
    } else if (outcome.failure) {
        say(io, wording(*outcome.failure));
    } else {
        if (outcome.unexpectedError)
            say(io, withLineFeeds(*outcome.unexpectedError));
        say(io, withLineFeeds(outcome.message));
    }
    return ExitProjectFailed;
}

// Standard output flushed and checked to the last byte: a full disk or a
// closed output is an exit with status 4 and the system's reason.
int checkStandardOutput(CliStreams& io) {
    io.out.flush();
    if (io.out)
        return ExitOk;
    int err = 0;
    if (auto* fd = dynamic_cast<FdStreamBuf*>(io.out.rdbuf()))
        err = fd->error();
    say(io, "orvanta-scan: cannot write the report to standard output (" +
                std::string(err != 0 ? std::strerror(err) : "write error") + ")");
    return ExitOutputFailed;
}

int writeToStandardOutput(const std::string& text, CliStreams& io) {
    io.out << (io.outIsTerminal ? TerminalSafe(text) : text) << "\n";
    return checkStandardOutput(io);
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
    const bool digits = !text.empty() && text.size() <= 6 && text.find_first_not_of("0123456789") == std::string::npos;
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

int outputFailed(const Failure& failure, CliStreams& io) {
    say(io, "orvanta-scan: could not write the report to " + failure.path.string() + " (" + failure.reason + ")");
    return ExitOutputFailed;
}

// True, having said why, when `outputFile` (given) may not be written: it
// is the project's own file or lies in its resource folder. `what` is what
// would have gone there: "report" or "findings".
bool refuseOutput(const std::string& outputFile, const ProjectPaths& paths, std::string_view what, CliStreams& io) {
    if (outputFile.empty())
        return false;
    const auto refused = RefusedOutput(outputFile, paths);
    if (refused)
        say(io, "orvanta-scan: will not write the " + std::string(what) + " to " + outputFile + ": " + *refused);
    return refused.has_value();
}

int runReport(const ReportRequest& request, CliStreams& io) {
    Session s;
    if (auto failed = loadProject(s, request.projectFile, io))
        return *failed;
    if (request.choose)
        request.choose(s);
    if (refuseOutput(request.outputFile, s.project.Paths, "report", io))
        return ExitUsage;

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
        if (const int written = writeToStandardOutput(s.text.str(), io); written != ExitOk)
            return written;
    } else {
        // An .rtf file gets the same document as the desktop's "Save report".
        const auto failed = isRtfFile(request.outputFile)
                                ? WriteOutputFile(request.outputFile, ReportRtf(s.text.str()), "\r\n")
                                : WriteOutputFile(request.outputFile, s.text.str(), "\n");
        if (failed)
            return outputFailed(*failed, io);
    }
    return request.status ? request.status(s) : ExitOk;
}

// A report as one JSON document, written as it is made, so that memory
// stays bounded on the largest project; every write is checked, the close of
// an -o file included. `readsProject` opens the data files for the writer.
struct JsonRequest {
    std::string projectFile;
    std::string outputFile;
    std::function<void(Session&)> choose;
    std::function<void(JsonStream&, ReportContext&)> write;
    bool readsProject = true;
};

int runJsonReport(const JsonRequest& request, CliStreams& io) {
    if (isRtfFile(request.outputFile)) {
        say(io, "orvanta-scan: --format json writes no RTF: name the output file " + request.outputFile + " otherwise");
        return ExitUsage;
    }
    Session s;
    if (auto failed = loadProject(s, request.projectFile, io))
        return *failed;
    if (request.choose)
        request.choose(s);
    const bool toFile = !request.outputFile.empty();
    if (refuseOutput(request.outputFile, s.project.Paths, "report", io))
        return ExitUsage;

    // A progress bar would break into a document streaming to the same terminal.
    TerminalProgress host(io.err, io.errIsTerminal && (toFile || !io.outIsTerminal));
    ReportContext ctx{s.project, s.run, s.text, host};
    if (request.readsProject) {
        try {
            ctx.files.emplace(OpenDataFiles(ctx.project, ctx.host));
        } catch (const std::exception& e) {
            io.err << "The report could not be run.\n" << withLineFeeds(e.what()) << "\n";
            return ExitProjectFailed;
        }
    }
    // The document streams to the file as it is made, so that memory stays
    // bounded; should the report stop early, no half document is left: a
    // file made for it is removed, one that was there is left empty.
    int fd = -1;
    bool created = false;
    if (toFile) {
        fd = ::open(request.outputFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = fd >= 0;
        if (fd < 0 && errno == EEXIST)
            fd = ::open(request.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0)
            return outputFailed(systemFailure(FailureKind::WriteFailed, errno, request.outputFile), io);
    }
    int writeError = 0;
    {
        std::optional<FdStreamBuf> fileBuf;
        std::optional<std::ostream> file;
        if (toFile) {
            fileBuf.emplace(fd);
            file.emplace(&*fileBuf);
        }
        // On a terminal nothing from the project may drive it: every
        // character outside ASCII is escaped.
        JsonStream json(toFile ? *file : io.out, !toFile && io.outIsTerminal);
        try {
            request.write(json, ctx);
        } catch (const std::exception& e) {
            host.clear();
            io.out.flush();
            if (fd >= 0) {
                file->flush(); // what it still holds goes out before the file is emptied
                if (::ftruncate(fd, 0) != 0) {
                    // Nothing more can be done than to say so below.
                }
                ::close(fd);
                if (created)
                    ::unlink(request.outputFile.c_str());
            }
            say(io, std::string("orvanta-scan: the report stopped early: ") + e.what() +
                        (fd >= 0 ? (created ? "; " + request.outputFile + " was removed"
                                            : "; " + request.outputFile + " was left empty")
                                 : std::string()));
            return ExitProjectFailed;
        }
        ctx.files.reset();
        host.clear();
        if (!toFile)
            return checkStandardOutput(io);
        file->flush();
        writeError = fileBuf->error();
    }
    if (::close(fd) != 0 && writeError == 0)
        writeError = errno;
    if (writeError != 0)
        return outputFailed(systemFailure(FailureKind::WriteFailed, writeError, request.outputFile), io);
    return ExitOk;
}

struct CheckRequest {
    std::string projectFile;
    std::string outputFile;
    std::string format; // text, json or sarif
    FailOn failOn;
};

// orvanta-scan check: the findings of the files pass and the flag usage
// pass, as compiler-style lines, JSON or SARIF. Exit 1 when a finding of a
// --fail-on class was made; 5, which outranks it, when a media folder could
// not be listed.
int runCheck(const CheckRequest& request, CliStreams& io) {
    Session s;
    if (auto failed = loadProject(s, request.projectFile, io))
        return *failed;
    const bool toFile = !request.outputFile.empty();
    if (refuseOutput(request.outputFile, s.project.Paths, "findings", io))
        return ExitUsage;
    TerminalProgress host(io.err, io.errIsTerminal && (toFile || !io.outIsTerminal));
    ReportContext ctx{s.project, s.run, s.text, host};
    AuditLists lists;
    std::vector<Finding> findings;
    try {
        ctx.files.emplace(OpenDataFiles(ctx.project, ctx.host));
        findings = GatherFindings(ctx, lists);
    } catch (const std::exception& e) {
        host.clear();
        say(io, std::string("orvanta-scan: the check stopped early: ") + e.what());
        return ExitProjectFailed;
    }
    ctx.files.reset();
    host.clear();

    // Findings name the project as the user named it, as compilers do.
    const std::string& project = request.projectFile;
    // The findings of a large project run to megabytes: made once, never
    // copied.
    std::string text;
    if (request.format == "text") {
        text = CheckText(project, findings, request.failOn);
    } else {
        std::ostringstream out;
        if (request.format == "json")
            WriteCheckJson(out, project, findings, request.failOn);
        else
            WriteCheckSarif(out, project, findings, request.failOn);
        text = std::move(out).str();
    }
    if (toFile) {
        if (text.empty() || text.back() != '\n')
            text.push_back('\n');
        if (const auto failed = WriteOutputFile(request.outputFile, text))
            return outputFailed(*failed, io);
    } else {
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        if (const int written = writeToStandardOutput(text, io); written != ExitOk)
            return written;
    }
    for (const Failure& folder : lists.UnlistableFolders)
        say(io, wording(folder) + "; its files are left out of the check");
    if (!lists.UnlistableFolders.empty())
        return ExitIncomplete;
    return CheckFailed(findings, request.failOn) ? ExitMissingFiles : ExitOk;
}

} // namespace

int runCli(const std::vector<std::string>& args, CliStreams io) {
    CLI::App app{"Checks an Orvanta game project and prints its reports.", "orvanta-scan"};
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Show the help of every command");
    app.set_version_flag("--version", "orvanta-scan " + versionNumber());

    std::string projectFile, flagText, sceneText, outputFile, format = "text";
    std::function<int()> action;

    auto addProject = [&](CLI::App* cmd) {
        cmd->add_option("PROJECT", projectFile, "The project file (*.orv)")->required()->check(CLI::ExistingFile);
    };
    auto addOutput = [&](CLI::App* cmd) {
        cmd->add_option("-o,--output", outputFile,
                        "Write the report to FILE instead of standard output (as RTF when FILE ends in .rtf)");
    };

    // --format text|json; json() tells which was chosen.
    auto addFormat = [&](CLI::App* cmd) {
        cmd->add_option("--format", format, "text (the default) or json")->check(CLI::IsMember({"text", "json"}));
    };
    auto json = [&format] { return format == "json"; };

    CLI::App* info = app.add_subcommand("info", "Print the project information panel");
    addProject(info);
    addFormat(info);
    info->callback([&] {
        action = [&] {
            if (json())
                return runJsonReport({projectFile,
                                      {},
                                      {},
                                      [](JsonStream& j, ReportContext& ctx) { WriteInfoJson(j, ctx.project); },
                                      false},
                                     io);
            Session s;
            if (auto failed = loadProject(s, projectFile, io))
                return *failed;
            return writeToStandardOutput(s.project.PInfo, io);
        };
    });

    bool failOnMissing = false;
    CLI::App* files = app.add_subcommand("files", "Print the missing and unused resource files report");
    addProject(files);
    addOutput(files);
    files->add_flag("--fail-on-missing", failOnMissing, "Exit with status 1 when a referenced file is missing");
    addFormat(files);
    files->callback([&] {
        action = [&] {
            AuditLists lists;
            auto prepare = [&lists](ReportContext& ctx) {
                ctx.resourceFilesReport = [&lists](ReportContext& c) { MissingUnusedFilesReport(c, lists); };
            };
            auto finish = [&] {
                // Checked incompletely outweighs a missing file: the report
                // may miss files, and may call present ones missing.
                for (const Failure& folder : lists.UnlistableFolders)
                    say(io, wording(folder) + "; its files are left out of the report");
                if (!lists.UnlistableFolders.empty())
                    return ExitIncomplete;
                const bool missing = !lists.MissingGfx.empty() || !lists.MissingMmedia.empty();
                return failOnMissing && missing ? ExitMissingFiles : ExitOk;
            };
            auto status = [&](Session&) { return finish(); };
            if (json()) {
                const int written =
                    runJsonReport({projectFile,
                                   outputFile,
                                   {},
                                   [&lists](JsonStream& j, ReportContext& ctx) { WriteFilesJson(j, ctx, lists); }},
                                  io);
                return written != ExitOk ? written : finish();
            }
            return runReport({ResourceFilesKind, projectFile, outputFile, {}, prepare, status}, io);
        };
    });

    std::string checkFormat = "text", failOnText = "missing";
    CLI::App* check =
        app.add_subcommand("check", "Report what is wrong with the project, one line per finding, for build pipelines");
    addProject(check);
    addOutput(check);
    check->add_option("--format", checkFormat, "text (the default), json or sarif")
        ->check(CLI::IsMember({"text", "json", "sarif"}));
    check->add_option("--fail-on", failOnText,
                      "The classes that are errors, comma-separated (default: missing): missing, unused-files, "
                      "unused-flags, dead-ends, out-of-range");
    check->callback([&] {
        action = [&] {
            FailOn failOn;
            try {
                failOn = FailOn::parse(failOnText);
            } catch (const std::invalid_argument& e) {
                throw UsageError{std::string("orvanta-scan: --fail-on: ") + e.what()};
            }
            return runCheck({projectFile, outputFile, checkFormat, failOn}, io);
        };
    });

    CLI::App* unused = app.add_subcommand("unused-flags", "Print the unused flags report");
    addProject(unused);
    addOutput(unused);
    addFormat(unused);
    unused->callback([&] {
        action = [&] {
            if (json())
                return runJsonReport({projectFile, outputFile, {}, WriteUnusedFlagsJson}, io);
            return runReport({UnusedFlagsKind, projectFile, outputFile, {}, {}, {}}, io);
        };
    });

    CLI::App* usage = app.add_subcommand("flag-usage", "Print the flag usage summary (dead ends, never tested)");
    addProject(usage);
    addOutput(usage);
    addFormat(usage);
    usage->callback([&] {
        action = [&] {
            if (json())
                return runJsonReport({projectFile, outputFile, {}, WriteFlagUsageJson}, io);
            return runReport({FlagUsageKind, projectFile, outputFile, {}, {}, {}}, io);
        };
    });

    CLI::App* sceneProps = app.add_subcommand("scene-properties", "Print the scene properties report");
    addProject(sceneProps);
    sceneProps->add_option("SCENE", sceneText, "A scene number, or all")->required();
    addOutput(sceneProps);
    addFormat(sceneProps);
    sceneProps->callback([&] {
        action = [&] {
            auto choose = [&](Session& s) {
                s.run.ScenePickerPurpose = 1;
                s.run.TrackedScene = parseScene(sceneText, s.project.SceneCount);
            };
            if (json())
                return runJsonReport({projectFile, outputFile, choose,
                                      [](JsonStream& j, ReportContext& ctx) {
                                          WriteScenePropertiesJson(j, ctx.project, ctx.run.TrackedScene);
                                      },
                                      false},
                                     io);
            return runReport({ScenePropertiesKind, projectFile, outputFile, choose, {}, {}}, io);
        };
    });

    CLI::App* trackFlag = app.add_subcommand("track-flag", "Print where a flag (or every flag) is used");
    addProject(trackFlag);
    trackFlag->add_option("FLAG", flagText, "A flag number from 1 to 255, or all")->required();
    addOutput(trackFlag);
    addFormat(trackFlag);
    trackFlag->callback([&] {
        action = [&] {
            const Integer flag = parseFlag(flagText);
            auto choose = [flag](Session& s) { s.run.TrackedFlag = flag; };
            if (json())
                return runJsonReport({projectFile, outputFile, choose,
                                      [flag](JsonStream& j, ReportContext& ctx) { WriteTrackFlagJson(j, ctx, flag); }},
                                     io);
            return runReport({FlagsByFlagKind, projectFile, outputFile, choose, {}, {}}, io);
        };
    });

    CLI::App* sceneFlags = app.add_subcommand("scene-flags", "Print every flag statement of a scene (or all)");
    addProject(sceneFlags);
    sceneFlags->add_option("SCENE", sceneText, "A scene number, or all")->required();
    addOutput(sceneFlags);
    addFormat(sceneFlags);
    sceneFlags->callback([&] {
        action = [&] {
            auto choose = [&](Session& s) {
                s.run.ScenePickerPurpose = 2;
                s.run.TrackedScene = parseScene(sceneText, s.project.SceneCount);
            };
            if (json())
                return runJsonReport(
                    {projectFile, outputFile, choose,
                     [](JsonStream& j, ReportContext& ctx) { WriteSceneFlagsJson(j, ctx, ctx.run.TrackedScene); }},
                    io);
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
    } catch (const CLI::CallForVersion& e) {
        return writeToStandardOutput(e.what(), io);
    } catch (const CLI::ParseError& e) {
        say(io, std::string("orvanta-scan: ") + e.what());
        io.err << "Usage: orvanta-scan COMMAND PROJECT.orv [ARGS] [-o FILE] [--format text|json]\n"
               << "Commands: info, files, check, unused-flags, flag-usage, track-flag, scene-flags, scene-properties\n"
               << "Run 'orvanta-scan --help' for more.\n";
        return ExitUsage;
    }
    try {
        return action ? action() : ExitUsage;
    } catch (const UsageError& e) {
        say(io, e.message);
        return ExitUsage;
    }
}

} // namespace orv
