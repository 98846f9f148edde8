#pragma once

#include "cli/Cli.h"
#include "data/Failure.h"
#include "data/LoadProject.h"
#include "data/Types.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace CLI {
class App;
}

namespace orv {

class JsonStream;
class ReportHost;
struct ReportContext;
struct RunState;

// One run of orvanta-scan: its streams and the options every command shares.
struct Invocation {
    CliStreams& io;
    std::string projectFile;
    std::string outputFile;
    std::string format = "text";

    bool json() const { return format == "json"; }
};

// A usage error: said on stderr, exit status 2.
struct UsageError {
    std::string message;
};

// A command's subcommand with the options the commands share: PROJECT,
// then -o FILE (unless `output` is false) and --format with `formats` (the
// first is the default).
CLI::App& AddCommand(CLI::App& app, Invocation& run, const std::string& name, const std::string& description,
                     const std::vector<std::string>& formats, bool output = true);

// A message on stderr, one line feed added; on a terminal nothing in it (a
// file name from the project) can drive the terminal.
void Say(CliStreams& io, std::string_view message);
// How the command line words a failure: the file or folder and the system's
// reason; a lock mismatch names the file and both values.
std::string Wording(const Failure& failure);

// Loads the project as the desktop program does, its data files kept open
// for the command. With `deferScenes`, the scene names, objects and lock
// state are left to the command's own pass over the scenes, so that the
// scene file is read once (for a command that names no scene before its pass
// is over). On failure it says which file failed and why (only a real lock
// mismatch gets the security message) and leaves ExitProjectFailed in
// `status`, and the failure itself in `why` when asked for.
std::optional<OpenProject> LoadForCommand(Invocation& run, int& status, bool deferScenes = false,
                                          std::optional<Failure>* why = nullptr);

// The flag picker's reading of a flag: "all", or the leading number rounded
// half to even, which must lie from 1 to 255. A scene: "all", or a number
// from 1 to the scene count. Throw UsageError otherwise.
Integer ParseFlag(const std::string& text);
Integer ParseScene(const std::string& text, Integer sceneCount);

// Runs a text report of `kind` as the desktop program runs it, over the
// files the load left open, and writes it: to standard output, or to the -o
// file (as RTF when its name ends in .rtf). `choose` sets what a picker
// would; `prepare` plugs in routines of other layers.
int RunTextReport(Invocation& run, OpenProject& open, Integer kind, const std::function<void(RunState&)>& choose,
                  const std::function<void(ReportContext&)>& prepare = {});

// Writes a command's output to standard output or to the -o file as
// `write` makes it, with the host it is given (a progress bar on a terminal,
// unless the output streams to the same terminal). `write` gives the
// failure that stopped it, if any: then no half output is left, and the
// status is ExitProjectFailed.
using OutputWriter = std::function<std::optional<Failure>(std::ostream& out, ReportHost& host)>;
int WriteStreamedOutput(Invocation& run, const ProjectPaths& paths, const OutputWriter& write,
                        std::string_view what = "report");
// The same for one JSON document (or SARIF). A terminal gets every
// character outside ASCII escaped; the document is never filtered otherwise.
int WriteJsonOutput(Invocation& run, const ProjectPaths& paths,
                    const std::function<std::optional<Failure>(JsonStream&, ReportHost&)>& write,
                    std::string_view what = "report");

// True, having said why, when the -o file may not be written: it is the
// project's own file or lies in its resource folder, or it names an RTF file
// for a format that has no RTF form (anything but a text report).
bool RefuseOutput(Invocation& run, const ProjectPaths& paths, bool textReport);

// Standard output flushed and checked to the last byte: a full disk or a
// closed output is ExitOutputFailed, with the system's reason.
int CheckStandardOutput(CliStreams& io);
int WriteToStandardOutput(CliStreams& io, std::string_view text);

} // namespace orv
