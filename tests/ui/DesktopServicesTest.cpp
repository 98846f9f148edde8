// The desktop's Trash and its "open" action through GIO, each case in a
// process of its own on an account that never had a Trash, whose desktop
// knows only the program a case registers: GLib reads HOME, and GIO the
// folders of programs and file types, once per process.

#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "ui/GioDesktop.h"
#include "ui/Prompts.h"
#include "ui/QtPlatform.h"

#include <QByteArray>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace orv::testing;

namespace {

// Records the messages; the Trash asks no questions.
struct MessageLog : orv::ui::Prompts {
    std::vector<std::string> messages;
    void showMessage(QWidget*, const QString& title, const QString& text, Icon) override {
        messages.push_back((title + " | " + text).toStdString());
    }
    Answer ask(QWidget*, const QString&, const QString&, Buttons, Icon) override { return Answer::No; }
    std::optional<QString> chooseOpenFile(QWidget*, const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
};

std::string bytesOf(const fs::path& file) {
    const auto bytes = readFileBytes(file);
    return {bytes.begin(), bytes.end()};
}

// Runs `body` in a child process whose HOME is a fresh folder with no
// .local/share (XDG_DATA_HOME and XDG_CONFIG_HOME unset, no system folders of
// programs or settings, no session bus) and another fresh folder as the
// working folder. `body` returns what went wrong; nothing means it passed.
void inFreshHome(const std::function<std::string(const fs::path& home, const fs::path& start)>& body) {
    EXPECT_EXIT(
        {
            std::string problems;
            {
                const TempDir home;
                const TempDir start;
                setenv("HOME", home.path().c_str(), 1);
                for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "DBUS_SESSION_BUS_ADDRESS"})
                    unsetenv(name);
                setenv("XDG_DATA_DIRS", (home / "no-dirs").c_str(), 1);
                setenv("XDG_CONFIG_DIRS", (home / "no-dirs").c_str(), 1);
                if (chdir(start.path().c_str()) != 0) std::abort();
                problems = fs::exists(home / ".local") ? "the home is not fresh\n" : "";
                problems += body(home.path(), start.path());
            }
            std::fputs(problems.c_str(), stderr);
            std::fflush(stderr);
            std::_Exit(problems.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Names a project of a Windows author may well hold, and some hostile ones.
struct Name {
    const char* what;
    const char* name;
};
const Name Names[] = {
    {"Plain", "harbour.bmp"},
    {"Blanks", "harbour view at dusk.bmp"},
    {"Accents", "Caf\xC3\xA9 \xC3\x9C" "ber Mitternacht.wav"},
    {"LineFeed", "line\nfeed.gif"},
    {"Escape", "escape\x1B[31mred.jpg"},
    {"NotUtf8", "not utf-8 \xFF\xFE\xE9.mp3"},
    {"Punctuation", "100% sure #1 & a+b=c; (x,y) [z] ~ 'q'.avi"},
};

void PrintTo(const Name& n, std::ostream* out) { *out << n.what; }

class GioTrash : public ::testing::TestWithParam<Name> {};

TEST_P(GioTrash, CreatesTheHomeTrashAndTheFileComesBackByteIdenticalFromItsInfoFile) {
    const std::string name = GetParam().name;
    inFreshHome([&](const fs::path& home, const fs::path& start) -> std::string {
        const fs::path folder = home / "My Game" / "resource" / "mmedia";
        fs::create_directories(folder);
        const fs::path file = folder / name;
        writeFileText(file, "the bytes of " + name);
        MessageLog prompts;
        std::string problems;
        if (!orv::ui::QtTrash(prompts).RecycleFile(file)) problems += "the move failed\n";
        for (const std::string& message : prompts.messages) problems += "message: " + message + "\n";
        if (fs::exists(fs::symlink_status(file))) problems += "the file is still in the project\n";
        if (!fs::is_empty(start))
            problems += "the working folder got " + fs::begin(fs::directory_iterator(start))->path().string() + "\n";
        const fs::path trash = home / ".local" / "share" / "Trash";
        std::vector<fs::path> infos;
        if (fs::is_directory(trash / "info"))
            for (const auto& entry : fs::directory_iterator(trash / "info")) infos.push_back(entry.path());
        if (infos.size() != 1)
            return problems + "expected one info file in the home Trash, found " + std::to_string(infos.size()) + "\n";
        const fs::path trashed = trash / "files" / infos[0].stem();
        // The freedesktop.org Trash's Path key: %XX escapes of the path's bytes, no raw ones.
        const std::string info = bytesOf(infos[0]);
        const std::size_t at = info.find("\nPath=");
        const std::string key = at == info.npos ? "" : info.substr(at + 6, info.find('\n', at + 1) - at - 6);
        if (!info.starts_with("[Trash Info]\n") || key.empty() ||
            std::ranges::any_of(key, [](unsigned char c) { return c < 0x21 || c > 0x7E; }))
            return problems + "the Path key is not URL-encoded: " + key + "\n";
        const std::string restoreTo = QByteArray::fromPercentEncoding(QByteArray::fromStdString(key)).toStdString();
        if (restoreTo != file.string()) problems += "the Path key names " + restoreTo + "\n";
        if (bytesOf(trashed) != "the bytes of " + name) problems += "the trashed file lost its bytes\n";
        // Restoring, as a file manager does: back to the decoded path.
        fs::rename(trashed, restoreTo);
        if (bytesOf(file) != "the bytes of " + name) problems += "the restored file lost its bytes\n";
        return problems;
    });
}

INSTANTIATE_TEST_SUITE_P(Names, GioTrash, ::testing::ValuesIn(Names),
                         [](const auto& p) { return std::string(p.param.what); });

TEST(GioTrashFailure, LeavesTheFileAndNamesItWithTheSystemsReason) {
    inFreshHome([](const fs::path& home, const fs::path&) -> std::string {
        const fs::path gone = home / "My Game" / "resource" / "gfx" / "gone meanwhile.bmp";
        MessageLog prompts;
        std::string problems =
            orv::ui::QtTrash(prompts).RecycleFile(gone) ? "a missing file was reported as moved\n" : "";
        const std::string expected = "Orvanta Project Scanner | The file could not be sent to the Trash:\r" +
                                     gone.string() + "\r\rNo such file or directory";
        if (prompts.messages != std::vector<std::string>{expected}) {
            problems += "not the one message expected:\n";
            for (const std::string& message : prompts.messages) problems += "message: " + message + "\n";
        }
        return problems;
    });
}

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
    inFreshHome([&](const fs::path& home, const fs::path&) -> std::string {
        if (c.programRegistered) {
            fs::create_directories(home / ".local/share/applications");
            fs::create_directories(home / ".config");
            // The name is written whole, then moved into place, so the test never reads a half-written file.
            const std::string opened = (home / "opened").string();
            writeFileText(home / "player",
                          "#!/bin/sh\nprintf '%s' \"$1\" > '" + opened + ".new' && mv '" + opened + ".new' '" + opened + "'\n");
            fs::permissions(home / "player", fs::perms::owner_all);
            // With no file type database every file is of one of these types.
            writeFileText(home / ".local/share/applications/orvanta-test-player.desktop",
                          "[Desktop Entry]\nType=Application\nName=Player\nExec=" + (home / "player").string() +
                              " %f\nMimeType=application/octet-stream;text/plain;audio/mpeg;\n");
            writeFileText(home / ".config/mimeapps.list",
                          "[Default Applications]\napplication/octet-stream=orvanta-test-player.desktop\n"
                          "text/plain=orvanta-test-player.desktop\naudio/mpeg=orvanta-test-player.desktop\n");
        }
        const fs::path file = home / "mmedia" / "theme song.mp3";
        fs::create_directories(file.parent_path());
        if (c.fileExists) writeFileText(file, "ID3");
        std::string problems;
        const bool opened = orv::ui::QtFileOpener().OpenWithShell(QFile::decodeName(file.c_str()));
        if (opened != c.opens) problems += opened ? "reported as opened\n" : "reported as not opened\n";
        if (c.opens) {
            for (int i = 0; i < 200 && !fs::exists(home / "opened"); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (!fs::exists(home / "opened") || bytesOf(home / "opened") != file.string())
                problems += "the program got no file\n";
        } else if (c.fileExists && orv::ui::OpenWithGio(file).reason.empty()) {
            problems += "no reason given\n";
        }
        return problems;
    });
}

INSTANTIATE_TEST_SUITE_P(Desktop, GioOpener, ::testing::ValuesIn(OpenCases),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
