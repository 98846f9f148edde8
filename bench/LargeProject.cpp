#include "bench/LargeProject.h"

#include "reports/ObjectTypes.h"

#include "support/RecordEncoders.h"

#include <cstdint>
#include <fstream>
#include <set>
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

long picturePool(const LargeProjectShape& shape) {
    if (shape.distinctFiles == 0 && shape.nearMisses > 0)
        return std::max(1L, std::min<long>(shape.nearMisses, static_cast<long>(shape.scenes) * 20));
    return namePool(shape);
}

std::string picture(long i) { return "pic" + std::to_string(i) + ".bmp"; }
std::string sound(long i) { return "snd" + std::to_string(i) + ".wav"; }

// Ten letters, give or take one, drawn from i and a seed: names of about
// the same length that have nothing to do with one another.
std::string letters(long i, std::uint64_t seed) {
    // splitmix64, started from a mixed (i, seed) so that no two names share
    // a run of the sequence.
    const auto mix = [](std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    };
    std::uint64_t x = mix(static_cast<std::uint64_t>(i) ^ (seed << 48));
    const auto next = [&] { return mix(x += 0x9E3779B97F4A7C15ull); };
    std::string out(9 + next() % 3, 'a');
    for (char& c : out)
        c = static_cast<char>('a' + next() % 26);
    return out;
}

std::string missingPicture(long i) { return letters(i, 1) + ".bmp"; }

// The unused picture beside missing picture i: for one i in five a slip of
// it, in turn a letter changed, a letter dropped, two letters swapped and
// the stem with another extension in capitals; otherwise an unrelated name.
std::string unusedPicture(long i) {
    if (i % 5 != 0)
        return letters(i, 2) + ".bmp";
    std::string stem = letters(i, 1);
    const std::size_t at = static_cast<std::size_t>(i / 5) % (stem.size() - 1);
    switch (i / 5 % 4) {
    case 0: stem[at] = stem[at] == 'z' ? 'a' : static_cast<char>(stem[at] + 1); break;
    case 1: stem.erase(at, 1); break;
    case 2:
        if (stem[at] == stem[at + 1])
            stem[at + 1] = stem[at] == 'z' ? 'a' : static_cast<char>(stem[at] + 1);
        std::swap(stem[at], stem[at + 1]);
        break;
    default:
        for (char& c : stem)
            c = static_cast<char>(c - 'a' + 'A');
        return stem + ".GIF";
    }
    return stem + ".bmp";
}

std::string upper(std::string name) {
    for (char& c : name)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return name;
}

} // namespace

SceneRecord LargeProjectScene(const LargeProjectShape& shape, int s) {
    if (shape.conjunctions) {
        SceneRecord scene = testing::makeScene("Conjunctions " + std::to_string(s));
        for (ObjectSlot& slot : scene.Slots) {
            slot.ObjectType = static_cast<Integer>(ObjectType::FlagConjunction);
            for (int c = 0; c < 6; ++c) {
                const std::size_t condition = 143 + 8 * static_cast<std::size_t>(c);
                testing::setSetting(slot, condition, 1);                                  // in force
                testing::setSetting(slot, condition + 2, static_cast<Integer>((shape.deadEnds ? 8 : 300) + c));
                testing::setSetting(slot, condition + 6, 1);                              // = 1
            }
            slot.ObjectText[0] = "7";
            slot.ObjectText[1] = "1";
            slot.ObjectText[2] = "0";
        }
        return scene;
    }
    const long pool = namePool(shape);
    const long pictures = picturePool(shape);
    const bool nearMisses = shape.distinctFiles == 0 && shape.nearMisses > 0;
    const auto pictureName = [&](long i) { return nearMisses ? missingPicture(i % pictures) : picture(i % pictures); };
    SceneRecord scene = testing::makeScene("Scene " + std::to_string(s));
    scene.CondLoadEnabled = 1;
    scene.CondLoadFlag = flagNumber(s);
    scene.CondLoadScene = static_cast<Integer>(s % shape.scenes + 1);
    scene.OnLoadFlagEnabled = 1;
    scene.OnLoadFlag = flagNumber(s * 3L);
    scene.OnLoadValue = 1;
    scene.SceneFile[0] = pictureName(s);
    for (int k = 1; k <= 20; ++k) {
        ObjectSlot& slot = scene.Slots[static_cast<std::size_t>(k - 1)];
        slot.ObjectType = static_cast<Integer>((s + k) % 10);
        for (std::size_t i = 0; i < slot.Settings.size(); ++i)
            slot.Settings[i] = flagNumber(s * 7L + k * 13L + static_cast<long>(i));
        for (const auto& [offset, value] : switchesOn(slot.ObjectType))
            testing::setSetting(slot, offset, value);
        slot.ObjectText[0] = std::to_string(flagNumber(s + k));
        slot.ObjectText[1] = "1";
        const long reference = static_cast<long>(s) * 20 + k;
        slot.ObjectText[2] = pictureName(reference);
        slot.ObjectText[3] = sound(reference % pool);
    }
    return scene;
}

testing::ProjectBuilder LargeProjectBuilder(const LargeProjectShape& shape) {
    testing::ProjectBuilder b;
    if (shape.conjunctions)
        return b;
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
    const bool nearMisses = shape.distinctFiles == 0 && shape.nearMisses > 0;
    for (long i = 0; i < present; ++i) {
        if (!nearMisses)
            b.gfxFiles[i % 2 ? upper(picture(i)) : picture(i)] = content;
        b.mmediaFiles[i % 3 ? sound(i) : upper(sound(i))] = content;
    }
    if (nearMisses) {
        const long pictures = picturePool(shape);
        std::set<std::string> named;
        for (long i = 0; i < pictures; ++i)
            named.insert(missingPicture(i));
        for (long i = 0; i < pictures; ++i) {
            const std::string name = unusedPicture(i);
            if (named.count(name) != 0 || !b.gfxFiles.emplace(name, content).second)
                throw std::logic_error("the generated picture " + name + " is not a new unused name");
        }
    }
    if (shape.distinctFiles == 0)
        for (long i = 0; i < pool / 10; ++i) {
            if (!nearMisses)
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
