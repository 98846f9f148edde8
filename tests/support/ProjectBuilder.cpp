#include "support/ProjectBuilder.h"

#include "support/FileBytes.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace orv::testing {
namespace fs = std::filesystem;

std::string dataFileName(int n) {
    if (n < 1 || n > 5)
        throw std::out_of_range("data files are numbered 1 to 5, not " + std::to_string(n));
    return "Orvanta" + std::to_string(n) + ".dat";
}

std::vector<std::uint8_t> ProjectBuilder::dataFileBytes(int n) const {
    (void)dataFileName(n); // throws for a number outside 1 to 5
    if (auto raw = rawDataFile.find(n); raw != rawDataFile.end())
        return raw->second;
    // One encoded record per element; record 1 carries the lock.
    const auto encodeAll = [this](auto records, auto encode) {
        if (!records.empty())
            records[0].ProjectLock = lock;
        Bytes out;
        for (const auto& r : records)
            std::ranges::copy(encode(r), std::back_inserter(out));
        return out;
    };
    switch (n) {
    case 1: return encodeAll(scenes, encodeScene);
    case 2: return encodeAll(locations, encodeLocation);
    case 3: return encodeAll(items, encodeInventoryItem);
    case 4: return encodeAll(std::vector{settings}, encodePlayerSettings);
    default: return encodeAll(cueCards, encodeCueCard);
    }
}

fs::path ProjectBuilder::write(const fs::path& folder) const {
    const fs::path resource = folder / "resource";
    fs::create_directories(resource);
    writeFileBytes(folder / projectFileName, encodeProjectRecord(lock));
    for (int n = 1; n <= 5; ++n) {
        if (omitDataFile.contains(n))
            fs::remove(resource / dataFileName(n));
        else
            writeFileBytes(resource / dataFileName(n), dataFileBytes(n));
    }
    const auto writeFolder = [&](bool wanted, const char* name,
                                 const std::map<std::string, std::string>& files) {
        if (!wanted)
            return;
        fs::create_directories(resource / name);
        for (const auto& [file, content] : files)
            writeFileText(resource / name / file, content);
    };
    writeFolder(writeGfxFolder, "gfx", gfxFiles);
    writeFolder(writeMmediaFolder, "mmedia", mmediaFiles);
    return folder / projectFileName;
}

} // namespace orv::testing
