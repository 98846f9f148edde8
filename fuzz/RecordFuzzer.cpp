// Record decoding and scene loading on arbitrary bytes, and the two texts
// made of names from disk (shown names, terminal escapes), whose promises
// are checked here: one line of valid UTF-8, no control character left.

#include "ProjectInput.h"

#include "audit/DiskNames.h"
#include "cli/TerminalText.h"
#include "data/LoadProject.h"
#include "data/RecordLayouts.h"
#include "data/Records.h"
#include "data/Text.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
namespace fs = std::filesystem;

std::vector<std::uint8_t> window(const std::uint8_t* data, std::size_t size, std::size_t length) {
    std::vector<std::uint8_t> record(length, 0);
    std::copy(data, data + std::min(size, length), record.begin());
    return record;
}

// No control character, every byte part of valid UTF-8; `allowed` control
// bytes excepted.
void checkClean(std::string_view text, std::string_view allowed) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = orv::validUtf8Length(text.substr(i));
        if (n == 0)
            std::abort();
        const auto b = static_cast<unsigned char>(text[i]);
        if (n == 1 && (b < 0x20 || b == 0x7F) && allowed.find(static_cast<char>(b)) == std::string_view::npos)
            std::abort();
        if (n == 2 && b == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0)
            std::abort();
        i += n;
    }
}

const fs::path& projectFolder() {
    static const fs::path& folder = []() -> const fs::path& {
        const fs::path& scratch = orv::fuzz::scratchFolder();
        fs::create_directories(scratch / "resource");
        return scratch;
    }();
    return folder;
}

void writeFile(const fs::path& file, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f)
        std::abort();
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace L = orv::layout;
    (void)orv::decodeProjectRecord(window(data, size, L::ProjectRecordLength));
    (void)orv::decodeSceneRecord(window(data, size, L::SceneRecordLength));
    (void)orv::decodeLocationRecord(window(data, size, L::LocationRecordLength));
    (void)orv::decodeInventoryItemRecord(window(data, size, L::InventoryItemRecordLength));
    (void)orv::decodePlayerSettingsRecord(window(data, size, L::PlayerSettingsRecordLength));
    (void)orv::decodeCueCardRecord(window(data, size, L::CueCardRecordLength));

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkClean(orv::DisplayName(text), "");
    checkClean(orv::TerminalSafe(text), "\t\n");

    // The bytes as the scene file of a project whose other files are empty.
    const fs::path& folder = projectFolder();
    writeFile(folder / "resource" / "Orvanta1.dat", data, size);
    for (const char* name : {"Orvanta2.dat", "Orvanta3.dat", "Orvanta4.dat", "Orvanta5.dat"})
        writeFile(folder / "resource" / name, nullptr, 0);
    // A failure with a file named is an outcome, not a finding.
    orv::LoadedProject project;
    project.Paths = orv::ProjectPaths::fromProjectFile(folder / "game.orv");
    const orv::Result<orv::ProjectFiles> files = orv::OpenDataFiles(project, orv::noEventLoop());
    if (!files)
        return 0;
    orv::RecordReader scenes(files->Scenes);
    for (long s = 1; s <= project.SceneCount + 1; ++s)
        if (const auto record = scenes.record(s))
            (void)orv::decodeSceneRecord(*record);
    return 0;
}
