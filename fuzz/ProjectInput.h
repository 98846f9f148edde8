#pragma once

// How one fuzz input stands for a whole project: the .orv file, the five
// data files and the names of the gfx folder's files, one after another,
// separated by Separator. Missing parts are empty (a data file then is
// left out, so loading creates it).

#include <array>
#include <cstdlib>
#include <filesystem>
#include <cstdint>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace orv::fuzz {

inline constexpr std::string_view Separator = "#ORV#";

struct ProjectInput {
    std::string projectFile;
    std::array<std::string, 5> dataFiles;
    std::array<bool, 5> present{};
    std::vector<std::string> gfxNames; // split at '/', as no name can hold one
};

inline ProjectInput splitProjectInput(std::string_view bytes) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = bytes.find(Separator);
        if (at == std::string_view::npos || parts.size() == 6) {
            parts.push_back(bytes);
            break;
        }
        parts.push_back(bytes.substr(0, at));
        bytes.remove_prefix(at + Separator.size());
    }
    ProjectInput input;
    input.projectFile = std::string(parts[0]);
    for (std::size_t n = 0; n < 5; ++n)
        if (n + 1 < parts.size()) {
            input.dataFiles[n] = std::string(parts[n + 1]);
            input.present[n] = true;
        }
    if (parts.size() == 7) {
        std::string_view names = parts[6];
        while (!names.empty()) {
            const std::size_t slash = names.find('/');
            const std::string_view name = names.substr(0, slash);
            if (!name.empty() && name != "." && name != ".." && name.find('\0') == std::string_view::npos &&
                input.gfxNames.size() < 64)
                input.gfxNames.emplace_back(name);
            if (slash == std::string_view::npos)
                break;
            names.remove_prefix(slash + 1);
        }
    }
    return input;
}

inline std::string joinProjectInput(const ProjectInput& input) {
    std::string bytes = input.projectFile;
    for (std::size_t n = 0; n < 5; ++n)
        bytes.append(Separator).append(input.dataFiles[n]);
    bytes.append(Separator);
    for (std::size_t i = 0; i < input.gfxNames.size(); ++i)
        bytes.append(i ? "/" : "").append(input.gfxNames[i]);
    return bytes;
}

// A scratch folder of the fuzz process's own, made on first use and removed
// when the process ends.
inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string name = (std::filesystem::temp_directory_path() / "orvanta-fuzz-XXXXXX").string();
        if (!mkdtemp(name.data()))
            std::abort();
        static std::string removeAtExit = name;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(removeAtExit, ignored);
        });
        return std::filesystem::path(name);
    }();
    return folder;
}

} // namespace orv::fuzz
