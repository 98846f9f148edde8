#pragma once

#include "data/Failure.h"
#include "data/FolderHandle.h"
#include "findings/CheckRun.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv {

class JsonStream;
struct LoadedProject;

// Where the outputs of a check say things are: the project as the user
// named it, and the folder the paths of its files are made relative to (the
// current folder; for SARIF the --sarif-root).
struct CheckNames {
    std::string project;          // the project file as given on the command line
    std::filesystem::path folder; // the project's folder, made absolute
    std::filesystem::path base;   // paths are relative to this folder when they lie in it

    // A file of the project (relative to its folder) as the outputs name
    // it: relative to `base` once both are resolved (".." and links), or
    // absolute when it lies outside, as text. A project can have a million
    // findings in its five data files and as many unused files, so each
    // folder a file lies in is resolved once, and a file that is no link is
    // its resolved folder and its name; one that is not known to be
    // `plainFile` is looked at (once), a link resolved the whole way. What
    // is returned stays valid until the next call.
    const std::string& pathOf(const std::filesystem::path& file, bool plainFile = false) const;
    // The same, shown as one safe line (DisplayName).
    const std::string& shownPathOf(const std::filesystem::path& file, bool plainFile = false) const;

    // What pathOf has worked out.
    struct Memo {
        struct Folder {
            bool usable = false; // resolved and opened
            std::filesystem::path resolved;
            FolderHandle handle;
            // `resolved` relative to the root, "." for the root itself;
            // empty when it lies outside.
            std::string inside;
        };
        struct File {
            std::string path;
            std::string shown;
            bool hasShown = false;
        };
        std::optional<std::filesystem::path> root; // `base` resolved
        std::unordered_map<std::string, Folder> folders;
        // Each file but the plain ones, which cost no look at the disk.
        std::unordered_map<std::string, File> files;
        // The file asked about last: the findings of one data file come in
        // runs, and a plain file's name is made here.
        std::string lastName;
        File* last = nullptr;
        File plain;
    };
    mutable Memo memo;
};

// Each output is written as the findings come, so that memory stays bounded
// whatever their number.

// `FILE:1: LEVEL: PLACE: MESSAGE [CLASS]`, one line per finding, naming the
// file it is about, then the summary line; every name shown so that no line
// can be forged.
void WriteCheckText(std::ostream& out, CheckRun& run, const CheckNames& names);
// GitHub Actions workflow commands: `::error file=FILE,line=1,title=CLASS::PLACE: MESSAGE`,
// then the summary line.
void WriteCheckGithub(std::ostream& out, CheckRun& run, const CheckNames& names);
void WriteCheckJson(JsonStream& json, const LoadedProject& project, CheckRun& run, const CheckNames& names);
// SARIF 2.1.0 for code-scanning services: one rule per class, at most
// MaxSarifResults results (see the README), the incomplete check said in
// the invocation.
inline constexpr std::size_t MaxSarifResults = 25000;
void WriteCheckSarif(JsonStream& json, CheckRun& run, const CheckNames& names);

// The SARIF log and the JSON document of a check that could not be made:
// the project did not load, or stopped being readable.
void WriteFailedCheckSarif(JsonStream& json, const Failure& failure, const FailOn& failOn, const CheckNames& names);
void WriteFailedCheckJson(JsonStream& json, const Failure& failure);

// "PROJECT: 11 errors, 236 warnings (missing 11, ...)", and what the ignore
// file and the baseline left out, without the line feed.
std::string CheckSummaryLine(const CheckSummary& summary, std::string_view project);

} // namespace orv
