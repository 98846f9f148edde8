#include "support/RandomProject.h"

#include <random>

namespace orv::testing {

namespace {

struct Random {
    std::mt19937 rng;
    int upTo(int n) { return std::uniform_int_distribution<int>(0, n)(rng); }
    template <typename T> T pick(std::initializer_list<T> values) {
        return values.begin()[upTo(static_cast<int>(values.size()) - 1)];
    }
};

} // namespace

ProjectBuilder randomProject(unsigned seed) {
    Random r{std::mt19937(seed)};
    const auto upTo = [&](int n) { return r.upTo(n); };
    const auto flag = [&] {
        return upTo(4) == 0 ? r.pick<Integer>({-1, 0, 1, 255, 256, 999}) : r.pick<Integer>({1, 2, 3, 12});
    };
    const auto onOff = [&] { return r.pick<Integer>({0, 1, 1, 2}); };
    ProjectBuilder b;
    b.settings.ScoreEnabled = onOff();
    b.settings.ScoreFlag = flag();
    const int scenes = upTo(6);
    for (int s = 1; s <= scenes; ++s) {
        SceneRecord scene =
            makeScene(r.pick<std::string>({"Hall", "", "Long Name Here", "Caf\xC3\xA9", "\"q\" b\\s\tt"}));
        std::tie(scene.CondLoadEnabled, scene.CondLoadFlag, scene.CondLoadOperator, scene.CondLoadValue,
                 scene.CondLoadScene) =
            std::tuple(onOff(), flag(), Integer(upTo(5) - 1), Integer(upTo(6) - 3), Integer(upTo(scenes + 2) - 1));
        std::tie(scene.OnLoadFlagEnabled, scene.OnLoadFlag, scene.OnLoadValue, scene.OnLoadAdds) =
            std::tuple(onOff(), flag(), Integer(upTo(9) - 4), Integer(upTo(2)));
        for (ObjectSlot& slot : scene.Slots) {
            slot.ObjectType = r.pick<Integer>({-1, -1, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 10, -2});
            for (Integer& setting : slot.Settings)
                setting = upTo(3) == 0 ? Integer(upTo(2)) : flag();
            slot.ObjectText[0] =
                r.pick<std::string>({"", "3", "2.5", "3.0", "70000", "12abc", "-1", "255", " 7", "7 to value 9"});
            slot.ObjectText[1] = r.pick<std::string>({"", "1", "-4", "x", "9 to value 0"});
            slot.ObjectText[2] = r.pick<std::string>({"", "0", "1", "0.0"});
        }
        b.scenes.push_back(scene);
    }
    b.cueCards.resize(static_cast<std::size_t>(upTo(3)));
    for (CueCardRecord& card : b.cueCards)
        for (std::size_t c = 0; c < 5; ++c)
            std::tie(card.ChoiceSetsFlag[c], card.ChoiceFlag[c], card.ChoiceValue[c], card.ChoiceAdds[c]) =
                std::tuple(onOff(), flag(), Integer(upTo(5)), Integer(upTo(2)));
    b.items.resize(static_cast<std::size_t>(upTo(3)));
    for (InventoryItemRecord& item : b.items)
        std::tie(item.ExamineSetsFlag, item.ExamineFlag, item.ExamineValue, item.ExamineAdds) =
            std::tuple(onOff(), flag(), Integer(upTo(5) - 2), Integer(upTo(2)));
    b.locations.resize(static_cast<std::size_t>(upTo(2)));
    return b;
}

} // namespace orv::testing
