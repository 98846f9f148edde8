// One input cut into the .orv file, the five data files and the names of the
// gfx folder's files; orvanta-scan then runs on the project as a build
// pipeline would run it: a few of its commands and formats, chosen by the
// input, every report text, JSON document, check line and SARIF log made
// in memory.

#include "ProjectInput.h"

#include "cli/Cli.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

namespace {
namespace fs = std::filesystem;

void writeFile(const fs::path& file, const std::string& bytes) {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f)
        return; // a name the file system refuses
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// Every command with every format it has; the flag and scene come from the input.
const std::array<std::vector<std::string>, 16> Commands = {{
    {"info"},
    {"info", "--format", "json"},
    {"files"},
    {"files", "--format", "json"},
    {"check"},
    {"check", "--format", "json", "--fail-on", "missing,dead-ends"},
    {"check", "--format", "sarif"},
    {"unused-flags"},
    {"unused-flags", "--format", "json"},
    {"flag-usage"},
    {"flag-usage", "--format", "json"},
    {"track-flag", "FLAG"},
    {"track-flag", "FLAG", "--format", "json"},
    {"scene-flags", "SCENE"},
    {"scene-flags", "SCENE", "--format", "json"},
    {"scene-properties", "SCENE"},
}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const orv::fuzz::ProjectInput input = orv::fuzz::splitProjectInput({reinterpret_cast<const char*>(data), size});
    const fs::path& folder = orv::fuzz::scratchFolder();
    std::error_code ec;
    fs::remove_all(folder / "resource", ec);
    fs::create_directories(folder / "resource" / "gfx");
    fs::create_directories(folder / "resource" / "mmedia");
    writeFile(folder / "game.orv", input.projectFile);
    for (std::size_t n = 0; n < 5; ++n)
        if (input.present[n])
            writeFile(folder / "resource" / ("Orvanta" + std::to_string(n + 1) + ".dat"), input.dataFiles[n]);
    for (const std::string& name : input.gfxNames)
        writeFile(folder / "resource" / "gfx" / name, name);

    const std::string flag = size % 7 == 0 ? "all" : std::to_string(size % 255 + 1);
    const std::string scene = size % 2 ? "all" : "1";
    // Three commands an input, the terminal escapes on for every other one.
    for (std::size_t i = 0; i < 3; ++i) {
        std::vector<std::string> args = Commands[(size + i * 5) % Commands.size()];
        for (std::string& arg : args)
            arg = arg == "FLAG" ? flag : arg == "SCENE" ? scene : arg;
        args.insert(args.begin() + 1, (folder / "game.orv").string());
        std::ostringstream out, err;
        const bool terminal = (size + i) % 2 == 0;
        const int status = orv::runCli(args, {out, err, terminal, terminal});
        if (status < 0 || status > 5)
            std::abort();
    }
    return 0;
}
