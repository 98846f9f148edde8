// The yardsticks the benchmark command holds orvanta-scan to, measured
// in-process and printed in seconds:
//
//   orvanta-bench-limit report PROJECT.orv OUTPUT BYTES
//     one read of every byte of the project file and the five data files,
//     one listing of each media folder, one write of BYTES bytes to OUTPUT;
//   orvanta-bench-limit load PROJECT.orv
//     two figures: loading the project as orvanta-scan does, and one read of
//     every byte of the data files.

#include "data/LoadProject.h"

#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <sys/stat.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Reads every byte of the file through one reused buffer of a megabyte.
std::size_t readWhole(const fs::path& file, std::vector<char>& buffer) {
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0)
        throw std::runtime_error("cannot open " + file.string());
    std::size_t done = 0;
    for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;)
        done += static_cast<std::size_t>(got);
    ::close(fd);
    return done;
}

std::size_t readDataFiles(const fs::path& project, bool withProjectFile) {
    std::vector<char> buffer(std::size_t{1} << 20);
    std::size_t bytes = withProjectFile ? readWhole(project, buffer) : 0;
    for (int n = 1; n <= 5; ++n)
        bytes += readWhole(project.parent_path() / "resource" / ("Orvanta" + std::to_string(n) + ".dat"), buffer);
    return bytes;
}

std::size_t listFolder(const fs::path& folder) {
    std::size_t entries = 0;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (::readdir(dir))
            ++entries;
        ::closedir(dir);
    }
    return entries;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "report" && argc == 5) {
            const fs::path project = argv[2];
            // The report's bytes are in memory before the clock starts.
            const std::vector<char> report(std::stoull(argv[4]), 'x');
            const auto start = std::chrono::steady_clock::now();
            readDataFiles(project, true);
            listFolder(project.parent_path() / "resource" / "gfx");
            listFolder(project.parent_path() / "resource" / "mmedia");
            const int fd = ::open(argv[3], O_WRONLY | O_CREAT | O_TRUNC, 0644);
            std::size_t done = 0;
            while (fd >= 0 && done < report.size()) {
                const ssize_t put = ::write(fd, report.data() + done, report.size() - done);
                if (put <= 0)
                    break;
                done += static_cast<std::size_t>(put);
            }
            if (fd >= 0)
                ::close(fd);
            std::cout << seconds(start) << "\n";
            return 0;
        }
        if (mode == "load" && argc == 3) {
            const fs::path project = argv[2];
            auto start = std::chrono::steady_clock::now();
            if (!orv::LoadProject(orv::ProjectPaths::fromProjectFile(project), orv::noEventLoop()))
                throw std::runtime_error("the project does not load");
            const double load = seconds(start);
            start = std::chrono::steady_clock::now();
            readDataFiles(project, false);
            std::cout << load << " " << seconds(start) << "\n";
            return 0;
        }
        std::cerr << "usage: orvanta-bench-limit report PROJECT.orv OUTPUT BYTES | load PROJECT.orv\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "orvanta-bench-limit: " << e.what() << "\n";
        return 1;
    }
}
