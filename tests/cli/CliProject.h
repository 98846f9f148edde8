#pragma once

// The one project of the command line's tests: a finding of every class, and the flag statements whose
// values the sentences alone would not give a program.

#include "support/FileBytes.h"
#include "support/ProjectBuilder.h"
#include "support/RecordEncoders.h"
#include "support/Scan.h"
#include "support/TempDir.h"
#include "writers/JsonOutput.h"

#include <gtest/gtest.h>

namespace orv::testing {

using Args = std::vector<std::string>;

// Scene 1 (Kitchen) loads scene 2 when flag 4 = 1 and sets flag 300 when it loads; it names door.bmp, which
// is not there (Door.gif is, unused, 5 bytes), and its empty slot 5 names gone.wav. Its Flag Conjunctions
// set the flag "7 to value 9" to "0" (slot 1) and add "x3" to flag 4 (slot 2); its HotSpot (slot 3) is
// visible when flag 12 = 1, which nothing changes; its Delay (slot 4) sets flag 5 to 6 after 30 seconds.
// Scene 2 (Cellar) sets flag 20 to 4 when it loads; scene 3's name needs escaping. The score uses flag 9.
// Six flags in use: 249 unused flags, one dead end, one flag out of range, two missing files, one unused.
inline ProjectBuilder kitchenProject() {
    ProjectBuilder b;
    b.settings.ScoreEnabled = 1;
    b.settings.ScoreFlag = 9;
    SceneRecord kitchen = makeScene("Kitchen");
    std::tie(kitchen.CondLoadEnabled, kitchen.CondLoadFlag, kitchen.CondLoadValue, kitchen.CondLoadScene) =
        std::tuple(1, 4, 1, 2);
    std::tie(kitchen.OnLoadFlagEnabled, kitchen.OnLoadFlag, kitchen.OnLoadValue) = std::tuple(1, 300, 1);
    kitchen.SceneFile[0] = "door.bmp";
    kitchen.Slots[4].ObjectText[0] = "gone.wav";
    kitchen.Slots[0].ObjectType = kitchen.Slots[1].ObjectType = 9;
    kitchen.Slots[0].ObjectText = {"7 to value 9", "0", ""};
    kitchen.Slots[1].ObjectText = {"4", "x3", "1"};
    kitchen.Slots[2].ObjectType = 1;
    for (const auto& [offset, value] : {std::pair{167, 2}, {169, 12}, {171, 0}, {173, 1}})
        setSetting(kitchen.Slots[2], offset, Integer(value));
    kitchen.Slots[3].ObjectType = 6;
    for (const auto& [offset, value] : {std::pair{143, 4}, {149, 30}, {151, 5}, {153, 6}})
        setSetting(kitchen.Slots[3], offset, Integer(value));
    SceneRecord cellar = makeScene("Cellar");
    std::tie(cellar.OnLoadFlagEnabled, cellar.OnLoadFlag, cellar.OnLoadValue) = std::tuple(1, 20, 4);
    b.scenes = {kitchen, cellar, makeScene("Caf\xC3\xA9\x1B[31m")};
    b.gfxFiles = {{"Door.gif", "12345"}};
    return b;
}

class CliTest : public ::testing::Test {
  protected:
    TempDir dir;
    ProjectBuilder builder = kitchenProject();
    std::string project = builder.write(dir.path()).string();

    // One of each command with its arguments.
    std::vector<Args> everyCommand() const {
        return {{"info", project},
                {"files", project}, {"check", project}, {"unused-flags", project}, {"flag-usage", project},
                {"track-flag", project, "12"}, {"scene-flags", project, "all"}, {"scene-properties", project, "2"}};
    }
};

inline std::string fileText(const std::filesystem::path& file) {
    const Bytes bytes = readFileBytes(file);
    return {bytes.begin(), bytes.end()};
}

} // namespace orv::testing
