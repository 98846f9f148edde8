// The desktop's Trash on an account that never had one, each case in a
// process of its own: GLib reads HOME once per process.

#include "support/FileBytes.h"
#include "ui/Prompts.h"
#include "ui/QtPlatform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using orv::testing::readFileBytes;

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

fs::path freshFolder(const char* stem) {
    std::string name = (fs::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
    if (!mkdtemp(name.data()))
        std::abort();
    return name;
}

std::string bytesOf(const fs::path& file) {
    const auto bytes = readFileBytes(file);
    return {bytes.begin(), bytes.end()};
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// Runs `body` in a child process whose HOME is a fresh folder with no
// .local/share, with XDG_DATA_HOME unset and another fresh folder as the
// working folder. `body` returns what went wrong; nothing means it passed.
void inFreshHome(const std::function<std::string(const fs::path& home, const fs::path& start)>& body) {
    EXPECT_EXIT(
        {
            const fs::path home = freshFolder("orvanta-home");
            const fs::path start = freshFolder("orvanta-start");
            setenv("HOME", home.c_str(), 1);
            unsetenv("XDG_DATA_HOME");
            if (chdir(start.c_str()) != 0)
                std::abort();
            std::string problems = fs::exists(home / ".local") ? "the home is not fresh\n" : "";
            problems += body(home, start);
            std::error_code ignored;
            fs::remove_all(home, ignored);
            fs::remove_all(start, ignored);
            std::fputs(problems.c_str(), stderr);
            std::fflush(stderr);
            std::_Exit(problems.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// The freedesktop.org Trash's Path key: %XX escapes of the path's bytes.
std::optional<std::string> urlDecoded(const std::string& value) {
    std::string bytes;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        if (c < 0x21 || c > 0x7E)
            return std::nullopt; // raw bytes: not URL-encoded
        if (c != '%') {
            bytes += static_cast<char>(c);
            continue;
        }
        if (i + 2 >= value.size())
            return std::nullopt;
        bytes += static_cast<char>(std::stoi(value.substr(i + 1, 2), nullptr, 16));
        i += 2;
    }
    return bytes;
}

std::string pathKey(const fs::path& infoFile) {
    std::istringstream lines(bytesOf(infoFile));
    std::string line, header;
    std::getline(lines, header);
    if (header != "[Trash Info]")
        return {};
    while (std::getline(lines, line))
        if (line.starts_with("Path="))
            return line.substr(5);
    return {};
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
        writeBytes(file, "the bytes of " + name);
        MessageLog prompts;
        std::string problems;
        if (!orv::ui::QtTrash(prompts).RecycleFile(file))
            problems += "the move failed\n";
        for (const std::string& message : prompts.messages)
            problems += "message: " + message + "\n";
        if (fs::exists(fs::symlink_status(file)))
            problems += "the file is still in the project\n";
        if (!fs::is_empty(start))
            problems += "the working folder got " + fs::begin(fs::directory_iterator(start))->path().string() + "\n";
        const fs::path trash = home / ".local" / "share" / "Trash";
        std::vector<fs::path> infos;
        if (fs::is_directory(trash / "info"))
            for (const auto& entry : fs::directory_iterator(trash / "info"))
                infos.push_back(entry.path());
        if (infos.size() != 1)
            return problems + "expected one info file in the home Trash, found " + std::to_string(infos.size()) + "\n";
        const std::string infoName = infos[0].filename().string();
        const fs::path trashed = trash / "files" / infoName.substr(0, infoName.size() - std::string(".trashinfo").size());
        const std::string key = pathKey(infos[0]);
        const std::optional<std::string> original = urlDecoded(key);
        if (!original)
            return problems + "the Path key is not URL-encoded: " + key + "\n";
        if (*original != file.string())
            problems += "the Path key names " + *original + "\n";
        if (bytesOf(trashed) != "the bytes of " + name)
            problems += "the trashed file lost its bytes\n";
        // Restoring, as a file manager does: back to the decoded path.
        fs::rename(trashed, *original);
        if (bytesOf(file) != "the bytes of " + name)
            problems += "the restored file is not the original\n";
        return problems;
    });
}

INSTANTIATE_TEST_SUITE_P(Names, GioTrash, ::testing::ValuesIn(Names),
                         [](const auto& p) { return std::string(p.param.what); });

TEST(GioTrashFailure, LeavesTheFileAndNamesItWithTheSystemsReason) {
    inFreshHome([](const fs::path& home, const fs::path&) -> std::string {
        const fs::path gone = home / "My Game" / "resource" / "gfx" / "gone meanwhile.bmp";
        MessageLog prompts;
        std::string problems;
        if (orv::ui::QtTrash(prompts).RecycleFile(gone))
            problems += "a missing file was reported as moved\n";
        const std::string expected = "Orvanta Project Scanner | The file could not be sent to the Trash:\r" +
                                     gone.string() + "\r\rNo such file or directory";
        if (prompts.messages != std::vector<std::string>{expected})
            for (const std::string& message : prompts.messages)
                problems += "message: " + message + "\n";
        if (prompts.messages.empty())
            problems += "no message\n";
        return problems;
    });
}

} // namespace
