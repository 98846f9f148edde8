#include "support/ProjectBuilder.h"

#include "support/FileBytes.h"

#include <stdexcept>

namespace orv::testing {
namespace fs = std::filesystem;

std::string dataFileName(int n) {
    if (n < 1 || n > 5)
        throw std::out_of_range("data files are numbered 1 to 5, not " + std::to_string(n));
    return "Orvanta" + std::to_string(n) + ".dat";
}

namespace {

// Appends one encoded record per element; record 1 carries the lock.
template <typename Record, typename Encode>
Bytes encodeAll(const std::vector<Record>& records, Integer lock, Encode encode) {
    Bytes out;
    for (std::size_t i = 0; i < records.size(); ++i) {
        Record r = records[i];
        if (i == 0)
            r.ProjectLock = lock;
        const Bytes one = encode(r);
        out.insert(out.end(), one.begin(), one.end());
    }
    return out;
}

void writeFolder(const fs::path& folder, const std::map<std::string, std::string>& files) {
    fs::create_directories(folder);
    for (const auto& [name, content] : files)
        writeFileText(folder / name, content);
}

} // namespace

std::vector<std::uint8_t> ProjectBuilder::dataFileBytes(int n) const {
    if (auto raw = rawDataFile.find(n); raw != rawDataFile.end())
        return raw->second;
    switch (n) {
    case 1: return encodeAll(scenes, lock, encodeScene);
    case 2: return encodeAll(locations, lock, encodeLocation);
    case 3: return encodeAll(items, lock, encodeInventoryItem);
    case 4: {
        PlayerSettingsRecord one = settings;
        one.ProjectLock = lock;
        return encodePlayerSettings(one);
    }
    case 5: return encodeAll(cueCards, lock, encodeCueCard);
    default: throw std::out_of_range("data files are numbered 1 to 5, not " + std::to_string(n));
    }
}

fs::path ProjectBuilder::write(const fs::path& folder) const {
    const fs::path resource = folder / "resource";
    fs::create_directories(resource);
    const fs::path projectFile = folder / projectFileName;
    writeFileBytes(projectFile, encodeProjectRecord(lock));
    for (int n = 1; n <= 5; ++n) {
        const fs::path file = resource / dataFileName(n);
        if (omitDataFile.contains(n))
            fs::remove(file);
        else
            writeFileBytes(file, dataFileBytes(n));
    }
    if (writeGfxFolder)
        writeFolder(resource / "gfx", gfxFiles);
    if (writeMmediaFolder)
        writeFolder(resource / "mmedia", mmediaFiles);
    return projectFile;
}

} // namespace orv::testing
