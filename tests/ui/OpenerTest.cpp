// The desktop's "open" action through GIO, each case in a process of its own
// whose desktop knows only the program the case registers: GIO reads the
// folders of programs and file types once per process.

#include "support/FileBytes.h"
#include "ui/GioDesktop.h"
#include "ui/QtPlatform.h"

#include <QFile>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct OpenCase {
    const char* name;
    bool programRegistered;
    bool fileExists;
    bool opens;
};
const OpenCase OpenCases[] = {
    {"ARegisteredProgramStarts", true, true, true},
    {"NoProgramForTheFile", false, true, false},
    {"AFileThatIsGone", true, false, false},
};
void PrintTo(const OpenCase& c, std::ostream* out) { *out << c.name; }

class GioOpener : public ::testing::TestWithParam<OpenCase> {};

TEST_P(GioOpener, SaysWhetherAProgramWasStartedForTheFile) {
    const OpenCase c = GetParam();
    EXPECT_EXIT(
        {
            std::string root = (fs::temp_directory_path() / "orvanta-open-XXXXXX").string();
            if (!mkdtemp(root.data())) std::abort();
            const fs::path home = root;
            for (const char* folder : {"data/applications", "dirs", "config", "configdirs"})
                fs::create_directories(home / folder);
            setenv("HOME", home.c_str(), 1);
            setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
            setenv("XDG_DATA_DIRS", (home / "dirs").c_str(), 1);
            setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
            setenv("XDG_CONFIG_DIRS", (home / "configdirs").c_str(), 1);
            unsetenv("DBUS_SESSION_BUS_ADDRESS");
            // With no file type database every file is of one of these types.
            const char* types = "application/octet-stream;text/plain;audio/mpeg;";
            if (c.programRegistered) {
                std::ofstream(home / "player") << "#!/bin/sh\nprintf '%s' \"$1\" > '" << (home / "opened").string()
                                               << "'\n";
                fs::permissions(home / "player", fs::perms::owner_all);
                std::ofstream(home / "data/applications/orvanta-test-player.desktop")
                    << "[Desktop Entry]\nType=Application\nName=Player\nExec=" << (home / "player").string()
                    << " %f\nMimeType=" << types << "\n";
                std::ofstream(home / "config/mimeapps.list")
                    << "[Default Applications]\napplication/octet-stream=orvanta-test-player.desktop\n"
                       "text/plain=orvanta-test-player.desktop\naudio/mpeg=orvanta-test-player.desktop\n";
            }
            const fs::path file = home / "mmedia" / "theme song.mp3";
            fs::create_directories(file.parent_path());
            if (c.fileExists) std::ofstream(file) << "ID3";

            std::string problems;
            const bool opened = orv::ui::QtFileOpener().OpenWithShell(QFile::decodeName(file.c_str()));
            if (opened != c.opens) problems += opened ? "reported as opened\n" : "reported as not opened\n";
            if (c.opens) {
                for (int i = 0; i < 200 && !fs::exists(home / "opened"); ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                const auto bytes = orv::testing::readFileBytes(home / "opened");
                if (std::string(bytes.begin(), bytes.end()) != file.string()) problems += "the program got no file\n";
            } else if (c.fileExists && orv::ui::OpenWithGio(file).reason.empty()) {
                problems += "no reason given\n";
            }
            std::error_code ignored;
            fs::remove_all(home, ignored);
            std::fputs(problems.c_str(), stderr);
            std::_Exit(problems.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(Desktop, GioOpener, ::testing::ValuesIn(OpenCases),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
