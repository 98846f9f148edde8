// orvanta-make-sample FOLDER: writes the sample project "Lighthouse Keeper"
// into FOLDER (lighthouse.orv and its resource folder). The output is the
// same, byte for byte, on every run.

#include "make-sample/LighthouseKeeper.h"

#include <QCoreApplication>

#include <exception>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv); // Qt finds its JPEG writer through the application
    if (argc != 2) {
        std::cerr << "usage: orvanta-make-sample FOLDER\n";
        return 2;
    }
    try {
        const fs::path folder = argv[1];
        const orv::testing::ProjectBuilder project = orv::lighthouseKeeper();
        // Regenerating replaces the old sample; any other folder with content
        // is left alone rather than mixed with a project.
        if (fs::exists(folder) && !fs::is_empty(folder) && !fs::exists(folder / project.projectFileName)) {
            std::cerr << "orvanta-make-sample: " << folder.string() << " is not empty and holds no "
                      << project.projectFileName << "; choose an empty folder\n";
            return 1;
        }
        fs::remove_all(folder / "resource");
        const fs::path written = project.write(folder);
        std::cout << written.string() << ": " << project.scenes.size() << " scenes, "
                  << project.locations.size() << " locations, " << project.items.size() << " inventory items, "
                  << project.cueCards.size() << " cue cards, " << project.gfxFiles.size() << " gfx files, "
                  << project.mmediaFiles.size() << " mmedia files\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "orvanta-make-sample: " << e.what() << "\n";
        return 1;
    }
}
