#include "cli/Command.h"

#include "cli/FdStreamBuf.h"
#include "cli/OutputFile.h"
#include "cli/TerminalProgress.h"
#include "cli/TerminalText.h"
#include "data/Numbers.h"
#include "data/ProgramInfo.h"
#include "reports/ReportContext.h"
#include "reports/RunReport.h"
#include "reports/RunState.h"
#include "writers/JsonOutput.h"
#include "writers/ReportRtf.h"

#include <CLI/CLI.hpp>
#include <cstring>
#include <ostream>

namespace orv {

namespace {

// Message texts use CR as their line break; a terminal wants LF.
std::string withLineFeeds(std::string_view text) {
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

// An output file named *.rtf (any letter case).
bool isRtfFile(const std::string& file) {
    if (file.size() < 4)
        return false;
    std::string suffix = file.substr(file.size() - 4);
    for (char& c : suffix)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return suffix == ".rtf";
}

int outputFailed(CliStreams& io, const Failure& failure) {
    Say(io, "orvanta-scan: could not write the report to " + failure.path.string() + " (" + failure.reason + ")");
    return ExitOutputFailed;
}

} // namespace

CLI::App& AddCommand(CLI::App& app, Invocation& run, const std::string& name, const std::string& description,
                     const std::vector<std::string>& formats, bool output) {
    CLI::App& command = *app.add_subcommand(name, description);
    command.add_option("PROJECT", run.projectFile, "The project file (*.orv)")->required();
    if (output)
        command.add_option("-o,--output", run.outputFile,
                           "Write to FILE instead of standard output (a text report as RTF when FILE ends in .rtf)");
    std::string list;
    for (const std::string& f : formats)
        list += (list.empty() ? "" : ", ") + f;
    command.add_option("--format", run.format, "One of " + list + " (default: " + formats.front() + ")")
        ->check(CLI::IsMember(formats));
    // Options are parsed before the command runs: the default format is the
    // command's own unless --format named one.
    command.parse_complete_callback([&run, &command, first = formats.front()] {
        if (command.count("--format") == 0)
            run.format = first;
    });
    return command;
}

void Say(CliStreams& io, std::string_view message) {
    io.err << (io.errIsTerminal ? TerminalSafe(message) : std::string(message)) << "\n" << std::flush;
}

std::string Wording(const Failure& f) {
    if (f.kind == FailureKind::LockMismatch)
        return "The project lock of " + f.path.string() + " is " + std::to_string(f.foundLock) +
               "; the project file's is " + std::to_string(f.expectedLock) + ".";
    return "orvanta-scan: " + describeFailure(f);
}

std::optional<OpenProject> LoadForCommand(Invocation& run, int& status, bool deferScenes, std::optional<Failure>* why) {
    const ProjectPaths paths = ProjectPaths::fromProjectFile(run.projectFile);
    Result<OpenProject> open = LoadProject(paths, noEventLoop(), {.deferScenes = deferScenes});
    if (open)
        return std::move(*open);
    const Failure& failure = open.failure();
    if (failure.kind == FailureKind::LockMismatch)
        Say(run.io, withLineFeeds(SecurityFailureMessage));
    Say(run.io, Wording(failure));
    status = ExitProjectFailed;
    if (why)
        *why = failure;
    return std::nullopt;
}

Integer ParseFlag(const std::string& text) {
    if (text == "all")
        return AllSelector;
    const auto n = ReadFlagNumber(text);
    if (!n || *n < 1 || *n > 255)
        throw UsageError{"Flag number must be between 1 and 255."};
    return static_cast<Integer>(*n);
}

Integer ParseScene(const std::string& text, Integer sceneCount) {
    if (text == "all")
        return AllSelector;
    const bool digits = !text.empty() && text.size() <= 6 && text.find_first_not_of("0123456789") == std::string::npos;
    const long n = digits ? std::stol(text) : 0;
    if (n < 1 || n > sceneCount)
        throw UsageError{"Please choose a scene."};
    return static_cast<Integer>(n);
}

bool RefuseOutput(Invocation& run, const ProjectPaths& paths, bool textReport) {
    if (run.outputFile.empty())
        return false;
    if (!textReport && isRtfFile(run.outputFile)) {
        Say(run.io, "orvanta-scan: --format " + run.format + " writes no RTF: name the output file " + run.outputFile +
                        " otherwise");
        return true;
    }
    const auto refused = RefusedOutput(run.outputFile, paths);
    if (refused)
        Say(run.io, "orvanta-scan: will not write to " + run.outputFile + ": " + *refused);
    return refused.has_value();
}

int CheckStandardOutput(CliStreams& io) {
    io.out.flush();
    if (io.out)
        return ExitOk;
    int err = 0;
    if (auto* fd = dynamic_cast<FdStreamBuf*>(io.out.rdbuf()))
        err = fd->error();
    Say(io, "orvanta-scan: cannot write the report to standard output (" +
                std::string(err != 0 ? std::strerror(err) : "write error") + ")");
    return ExitOutputFailed;
}

int WriteToStandardOutput(CliStreams& io, std::string_view text) {
    if (io.outIsTerminal)
        io.out << TerminalSafe(text);
    else
        io.out << text;
    io.out << "\n";
    return CheckStandardOutput(io);
}

int RunTextReport(Invocation& run, OpenProject& open, Integer kind, const std::function<void(RunState&)>& choose,
                  const std::function<void(ReportContext&)>& prepare) {
    RunState state;
    ReportText text;
    if (choose)
        choose(state);
    if (RefuseOutput(run, open.project.Paths, true))
        return ExitUsage;
    TerminalProgress host(run.io.err, run.io.errIsTerminal);
    ReportContext ctx{open.project, state, text, host};
    ctx.files = &open.files;
    ctx.pendingScenes = open.pending.get();
    if (prepare)
        prepare(ctx);
    state.CancelRequested = false;
    state.ReportRunning = true;
    const RunOutcome outcome = RunReport(kind, ctx);
    FinishRun(ctx);
    host.clear();
    if (outcome.failure) {
        Say(run.io, Wording(*outcome.failure));
        return ExitProjectFailed;
    }
    if (run.outputFile.empty())
        return WriteToStandardOutput(run.io, text.str());
    // An .rtf file gets the same document as the desktop's "Save report".
    const auto failed = isRtfFile(run.outputFile) ? WriteOutputFile(run.outputFile, ReportRtf(text.str()), "\r\n")
                                                  : WriteOutputFile(run.outputFile, text.str(), "\n");
    return failed ? outputFailed(run.io, *failed) : ExitOk;
}

int WriteStreamedOutput(Invocation& run, const ProjectPaths& paths, const OutputWriter& write, std::string_view what) {
    if (RefuseOutput(run, paths, false))

        return ExitUsage;
    const bool toFile = !run.outputFile.empty();
    std::optional<OutputFile> file;
    if (toFile) {
        Result<OutputFile> created = OutputFile::create(run.outputFile);
        if (!created)
            return outputFailed(run.io, created.failure());
        file.emplace(std::move(*created));
    }
    // A progress bar would break into output streaming to the same terminal.
    TerminalProgress host(run.io.err, run.io.errIsTerminal && (toFile || !run.io.outIsTerminal));
    const std::optional<Failure> stopped = write(toFile ? file->stream() : run.io.out, host);
    host.clear();
    if (stopped) {
        run.io.out.flush();
        Say(run.io, "orvanta-scan: the " + std::string(what) + " stopped early: " + describeFailure(*stopped) +
                        (file ? "; " + file->abandon() : std::string()));
        return ExitProjectFailed;
    }
    if (!file)
        return CheckStandardOutput(run.io);
    if (Result<void> closed = file->close(); !closed)
        return outputFailed(run.io, closed.failure());
    return ExitOk;
}

int WriteJsonOutput(Invocation& run, const ProjectPaths& paths,
                    const std::function<std::optional<Failure>(JsonStream&, ReportHost&)>& write,
                    std::string_view what) {
    const bool terminal = run.outputFile.empty() && run.io.outIsTerminal;
    return WriteStreamedOutput(
        run, paths,
        [&](std::ostream& out, ReportHost& host) {
            JsonStream json(out, terminal);
            return write(json, host);
        },
        what);
}

} // namespace orv
