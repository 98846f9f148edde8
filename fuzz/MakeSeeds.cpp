// Writes the seed corpora of the two fuzz targets: the sample project's
// files, and projects from the test suite's project builder.

#include "ProjectInput.h"

#include "support/ProjectBuilder.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {
namespace fs = std::filesystem;
using orv::testing::ProjectBuilder;

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeSeed(const fs::path& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::string asText(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: orvanta-fuzz-seeds SAMPLE_PROJECT_FOLDER RECORD_CORPUS PROJECT_CORPUS\n";
        return 2;
    }
    const fs::path sample = argv[1], records = argv[2], projects = argv[3];

    orv::fuzz::ProjectInput input;
    input.projectFile = readAll(sample / "lighthouse.orv");
    for (int n = 1; n <= 5; ++n) {
        const std::string bytes = readAll(sample / "resource" / ("Orvanta" + std::to_string(n) + ".dat"));
        input.dataFiles[static_cast<std::size_t>(n - 1)] = bytes;
        input.present[static_cast<std::size_t>(n - 1)] = true;
        writeSeed(records, "sample-" + std::to_string(n), bytes);
    }
    input.gfxNames = {"harbour.bmp", "x\nMISSING FILES FROM GFX FOLDER (9) *:", "bad\xFF.gif"};
    writeSeed(projects, "sample", orv::fuzz::joinProjectInput(input));

    // Builder projects: references in every kind of record, lock values,
    // a name with a line feed, built-in images on.
    ProjectBuilder b;
    b.lock = 77;
    b.settings.ProjectName = "Seed\x1B[2J";
    b.settings.BuiltInImages = 1;
    b.settings.SectionFiles[0] = {"menu.bmp", "click.wav"};
    b.scenes = {orv::testing::makeScene("Hall"), orv::testing::makeScene("Line\nFeed")};
    b.scenes[0].SceneFile[0] = "hall.bmp";
    b.scenes[0].Slots[0].ObjectType = 1;
    b.scenes[0].Slots[0].ObjectText[0] = "door.gif";
    b.scenes[1].OnLoadFlagEnabled = 1;
    b.scenes[1].OnLoadFlag = 12;
    b.locations.resize(2);
    b.locations[0].LocationFile1 = "map.bmp";
    b.items.resize(1);
    b.items[0].ItemFile[0] = " key.gif";
    b.cueCards.resize(1);
    b.cueCards[0].ChoiceFile[0] = "yes.wav";
    orv::fuzz::ProjectInput built;
    built.projectFile = asText(orv::testing::encodeProjectRecord(b.lock));
    for (int n = 1; n <= 5; ++n) {
        built.dataFiles[static_cast<std::size_t>(n - 1)] = asText(b.dataFileBytes(n));
        built.present[static_cast<std::size_t>(n - 1)] = true;
        writeSeed(records, "builder-" + std::to_string(n), asText(b.dataFileBytes(n)));
    }
    built.gfxNames = {"hall.bmp", "unused.gif", "BTNQUIT.GIF"};
    writeSeed(projects, "builder", orv::fuzz::joinProjectInput(built));
    built.present[2] = false; // a missing data file
    built.dataFiles[4].resize(built.dataFiles[4].size() / 2 + 1); // a cut one
    writeSeed(projects, "builder-damaged", orv::fuzz::joinProjectInput(built));
    return 0;
}
