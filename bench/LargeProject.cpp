#include "bench/LargeProject.h"

#include "support/RecordEncoders.h"

#include <fstream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace orv::bench {

namespace {

// The settings that switch every statement of an object type on.
std::vector<std::pair<std::size_t, Integer>> switchesOn(Integer type) {
    switch (type) {
    case 0:
    case 4: return {{149, 2}, {157, 1}};
    case 1: return {{167, 2}, {175, 1}};
    case 2: return {{163, 2}, {171, 1}};
    case 3: return {{165, 2}};
    case 5: return {{141, 1}, {165, 1}};
    case 7: return {{149, 1}, {165, 1}, {181, 1}};
    case 8: return {{143, 2}};
    case 9: return {{143, 1}, {151, 1}, {159, 1}, {167, 1}, {175, 1}, {183, 1}};
    default: return {};
    }
}

Integer flagNumber(long n) { return static_cast<Integer>(n % 255 + 1); }

// How many different names of each kind the references use.
long namePool(const LargeProjectShape& shape) {
    const long references = static_cast<long>(shape.scenes) * 20;
    if (shape.distinctFiles > 0)
        return std::max(1L, std::min<long>(shape.distinctFiles / 2, references));
    return std::max(10L, std::min(4000L, references));
}

std::string picture(long i) { return "pic" + std::to_string(i) + ".bmp"; }
std::string sound(long i) { return "snd" + std::to_string(i) + ".wav"; }

std::string upper(std::string name) {
    for (char& c : name)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return name;
}

} // namespace

SceneRecord LargeProjectScene(const LargeProjectShape& shape, int s) {
    const long pool = namePool(shape);
    SceneRecord scene = testing::makeScene("Scene " + std::to_string(s));
    scene.CondLoadEnabled = 1;
    scene.CondLoadFlag = flagNumber(s);
    scene.CondLoadScene = static_cast<Integer>(s % shape.scenes + 1);
    scene.OnLoadFlagEnabled = 1;
    scene.OnLoadFlag = flagNumber(s * 3L);
    scene.OnLoadValue = 1;
    scene.SceneFile[0] = picture(s % pool);
    for (int k = 1; k <= 20; ++k) {
        ObjectSlot& slot = scene.Slots[static_cast<std::size_t>(k - 1)];
        slot.ObjectType = static_cast<Integer>((s + k) % 10);
        for (std::size_t i = 0; i < slot.Settings.size(); ++i)
            slot.Settings[i] = flagNumber(s * 7L + k * 13L + static_cast<long>(i));
        for (const auto& [offset, value] : switchesOn(slot.ObjectType))
            testing::setSetting(slot, offset, value);
        slot.ObjectText[0] = std::to_string(flagNumber(s + k));
        slot.ObjectText[1] = "1";
        const long reference = (static_cast<long>(s) * 20 + k) % pool;
        slot.ObjectText[2] = picture(reference);
        slot.ObjectText[3] = sound(reference);
    }
    return scene;
}

testing::ProjectBuilder LargeProjectBuilder(const LargeProjectShape& shape) {
    testing::ProjectBuilder b;
    b.settings.ProjectName = "Benchmark";
    b.settings.ScoreEnabled = 1;
    b.settings.ScoreFlag = 1;
    b.cueCards.resize(static_cast<std::size_t>(shape.scenes / 6));
    for (std::size_t c = 0; c < b.cueCards.size(); ++c)
        for (std::size_t i = 0; i < 5; ++i) {
            b.cueCards[c].ChoiceSetsFlag[i] = 1;
            b.cueCards[c].ChoiceFlag[i] = flagNumber(static_cast<long>(c * 5 + i));
            b.cueCards[c].ChoiceValue[i] = static_cast<Integer>(i);
            b.cueCards[c].ChoiceAdds[i] = static_cast<Integer>(i % 2);
        }
    b.items.resize(static_cast<std::size_t>(shape.scenes / 6));
    for (std::size_t i = 0; i < b.items.size(); ++i) {
        b.items[i].ExamineSetsFlag = 1;
        b.items[i].ExamineFlag = flagNumber(static_cast<long>(i * 11));
        b.items[i].ExamineValue = 2;
        b.items[i].ExamineAdds = static_cast<Integer>(i % 2);
    }
    b.locations.resize(static_cast<std::size_t>(std::max(1, shape.scenes / 10)));

    const long pool = namePool(shape);
    const long present = shape.distinctFiles > 0 ? pool : pool * 9 / 10;
    const std::string content(shape.distinctFiles > 0 ? 1 : 700, 'x');
    for (long i = 0; i < present; ++i) {
        b.gfxFiles[i % 2 ? upper(picture(i)) : picture(i)] = content;
        b.mmediaFiles[i % 3 ? sound(i) : upper(sound(i))] = content;
    }
    if (shape.distinctFiles == 0)
        for (long i = 0; i < pool / 10; ++i) {
            b.gfxFiles["old" + std::to_string(i) + ".gif"] = content;
            b.mmediaFiles["old" + std::to_string(i) + ".mid"] = content;
        }
    return b;
}

std::filesystem::path WriteLargeProject(const std::filesystem::path& folder, const LargeProjectShape& shape) {
    const std::filesystem::path projectFile = LargeProjectBuilder(shape).write(folder);
    // The scenes file is written last, one record at a time: the largest
    // project's scenes would not sit comfortably in memory as records.
    const std::filesystem::path scenes = folder / "resource" / testing::dataFileName(1);
    std::ofstream out(scenes, std::ios::binary | std::ios::trunc);
    for (int s = 1; s <= shape.scenes; ++s) {
        const testing::Bytes bytes = testing::encodeScene(LargeProjectScene(shape, s));
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + scenes.string());
    return projectFile;
}

} // namespace orv::bench
