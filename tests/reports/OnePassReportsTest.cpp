// The one-pass flag reports against the straightforward ones, on many random projects: the same text, the
// same progress bar at the end, the same run state, and a cancel at any point taking effect at the same
// flag or scene boundary.

#include "reports/FlagTracker.h"
#include "reports/ReferenceTrackers.h"
#include "reports/ReportFixture.h"
#include "reports/TextConventions.h"
#include "reports/UnusedFlagsReport.h"

#include <random>

namespace orv::testing {
namespace {

// Small random projects in which flags, switches and texts collide often, so that every kind of statement
// meets every other in one section.
class RandomProject {
  public:
    explicit RandomProject(unsigned seed) : rng_(seed) {}

    void fill(ProjectBuilder& b) {
        b.settings.ScoreEnabled = pick<Integer>({0, 1, 1, 2});
        b.settings.ScoreFlag = flag();
        const int scenes = upTo(6);
        for (int s = 1; s <= scenes; ++s) {
            SceneRecord scene = makeScene(pick<std::string>({"Hall", "Cellar", "", "Long Name Here", "Caf\xc3\xa9"}));
            std::tie(scene.CondLoadEnabled, scene.CondLoadFlag, scene.CondLoadOperator, scene.CondLoadValue,
                     scene.CondLoadScene) = std::tuple(pick<Integer>({0, 1, 1, 2}), flag(), Integer(upTo(5) - 1),
                                                       Integer(upTo(6) - 3), Integer(upTo(scenes + 2) - 1));
            std::tie(scene.OnLoadFlagEnabled, scene.OnLoadFlag, scene.OnLoadValue, scene.OnLoadAdds) =
                std::tuple(pick<Integer>({0, 1, 1, 2}), flag(), Integer(upTo(9) - 4), pick<Integer>({0, 1, 2}));
            for (ObjectSlot& slot : scene.Slots) {
                slot.ObjectType = pick<Integer>({-1, -1, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 10, -2});
                for (Integer& setting : slot.Settings)
                    setting = upTo(3) == 0 ? pick<Integer>({0, 1, 2}) : flag();
                slot.ObjectText[0] = pick<std::string>({"", "3", "2.5", "3.0", "70000", "12abc", "-1", "255", " 7"});
                slot.ObjectText[1] = pick<std::string>({"", "1", "-4", "x"});
                slot.ObjectText[2] = pick<std::string>({"", "0", "1", "0.0"});
            }
            b.scenes.push_back(scene);
        }
        b.cueCards.resize(static_cast<std::size_t>(upTo(4)));
        for (CueCardRecord& card : b.cueCards)
            for (std::size_t c = 0; c < 5; ++c)
                std::tie(card.ChoiceSetsFlag[c], card.ChoiceFlag[c], card.ChoiceValue[c], card.ChoiceAdds[c]) =
                    std::tuple(pick<Integer>({0, 1, 1, 2}), flag(), Integer(upTo(5)), pick<Integer>({0, 1, 2}));
        b.items.resize(static_cast<std::size_t>(upTo(4)));
        for (InventoryItemRecord& item : b.items)
            std::tie(item.ExamineSetsFlag, item.ExamineFlag, item.ExamineValue, item.ExamineAdds) =
                std::tuple(pick<Integer>({0, 1, 1, 2}), flag(), Integer(upTo(5) - 2), pick<Integer>({0, 1, 2}));
        b.locations.resize(static_cast<std::size_t>(upTo(3)));
    }

  private:
    std::mt19937 rng_;
    int upTo(int n) { return std::uniform_int_distribution<int>(0, n)(rng_); }
    template <typename T>
    T pick(std::initializer_list<T> values) {
        return values.begin()[upTo(static_cast<int>(values.size()) - 1)];
    }
    // Mostly a few flags, so that sections fill; sometimes the edges and numbers outside 1..255.
    Integer flag() { return upTo(4) == 0 ? pick<Integer>({-1, 0, 1, 255, 256, 999}) : pick<Integer>({1, 2, 3, 12}); }
};

// Everything a run leaves that a user or a later run can see.
struct Outcome {
    std::string text;
    int maximum, value;
    Integer trackedFlag, trackedScene, currentObject;
    bool everyFlag;
    std::string reportName;
    std::vector<std::string> unusedFlags;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
    *os << "max " << o.maximum << " value " << o.value << " flag " << o.trackedFlag << " scene " << o.trackedScene
        << " object " << o.currentObject << "\n" << o.text;
}

class OnePassReportsTest : public ReportFixture {
  protected:
    // Runs a report routine as RunReport does (data files open, header first), from the same run state.
    Outcome run(void (*routine)(ReportContext&), Integer flag, Integer scene, std::optional<int> cancelAt = {}) {
        state = RunState{};
        state.TrackedFlag = flag;
        state.TrackedScene = scene;
        state.CurrentObject = 7;
        host.setProgressValue(0);
        host.cancelAtProgress = cancelAt;
        ctx.files.emplace(OpenDataFiles(project, host));
        text.clear();
        text.append(ReportHeader(host.today(), project.PInfo));
        routine(ctx);
        ctx.files.reset();
        return {text.str(),         host.progressMaximum(), host.progressValue(), state.TrackedFlag,
                state.TrackedScene, state.CurrentObject,    state.EveryFlag,      state.ReportName,
                state.UnusedFlags};
    }
};

TEST_F(OnePassReportsTest, EveryReportMatchesTheStraightforwardOneOnRandomProjects) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        builder = ProjectBuilder{};
        RandomProject(seed).fill(builder);
        load();
        for (Integer flag : {Integer{999}, Integer{1}, Integer{3}, Integer{12}, Integer{255}, Integer{0}, Integer{-1}})
            ASSERT_EQ(run(FlagTrackerByFlag, flag, 0), run(ReferenceFlagTrackerByFlag, flag, 0)) << "flag " << flag;
        std::vector<Integer> scenes{999};
        for (int s = 1; s <= project.SceneCount; ++s)
            scenes.push_back(static_cast<Integer>(s));
        for (Integer scene : scenes)
            ASSERT_EQ(run(FlagTrackerByScene, 0, scene), run(ReferenceFlagTrackerByScene, 0, scene)) << "scene " << scene;
        ASSERT_EQ(run(UnusedFlagsReport, 0, 0), run(ReferenceUnusedFlagsReport, 0, 0));
    }
}

TEST_F(OnePassReportsTest, ACancelTakesEffectAtTheSameFlagOrScene) {
    for (unsigned seed = 100; seed <= 101; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        builder = ProjectBuilder{};
        RandomProject(seed).fill(builder);
        load();
        const int units = project.SceneCount + project.CueCardCount + project.InventoryItemCount;
        // At every flag boundary, and inside the first sections, where the one-pass report reads the project.
        std::vector<int> points{0, 1, 5, 6, 7};
        for (int f = 1; f <= 255; ++f)
            points.push_back(5 + units * f);
        for (int at : points)
            ASSERT_EQ(run(FlagTrackerByFlag, 999, 0, at), run(ReferenceFlagTrackerByFlag, 999, 0, at)) << "at " << at;
        for (int at = 0; at <= project.SceneCount + 6; ++at)
            ASSERT_EQ(run(FlagTrackerByScene, 0, 999, at), run(ReferenceFlagTrackerByScene, 0, 999, at)) << "at " << at;
    }
}

// From 4,096 scenes on, the sections are kept in regions of large pages: the same text all the same.
TEST_F(OnePassReportsTest, LargeProjectsGiveTheSameSections) {
    RandomProject(7).fill(builder);
    builder.scenes.resize(4100, builder.scenes.empty() ? makeScene("Hall") : builder.scenes.front());
    for (std::size_t s = 0; s < builder.scenes.size(); ++s)
        builder.scenes[s].OnLoadFlag = static_cast<Integer>(s % 5 + 1);
    load();
    const Outcome all = run(FlagTrackerByFlag, 999, 0);
    EXPECT_EQ(all.value, all.maximum);
    for (Integer flag : {Integer{1}, Integer{3}, Integer{255}}) {
        const Outcome one = run(FlagTrackerByFlag, flag, 0);
        ASSERT_EQ(one, run(ReferenceFlagTrackerByFlag, flag, 0)) << "flag " << flag;
        // The single flag's section, from its heading to the empty line that ends it.
        const std::string heading = "\n>>>>>> FLAG #" + SignedForm(flag) + " <<<<<<";
        const std::size_t start = one.text.find(heading);
        const std::string section = one.text.substr(start, one.text.rfind("\n\n") + 2 - start);
        EXPECT_NE(all.text.find(section), std::string::npos) << "flag " << flag;
    }
}

TEST_F(OnePassReportsTest, TheExpectedTextsComeOutOfBoth) {
    buildTrackerProject(builder);
    load();
    const Outcome all = run(FlagTrackerByFlag, 999, 0);
    EXPECT_EQ(all.text, header() + expectedText("tracker-all-flags.txt"));
    EXPECT_EQ(all, run(ReferenceFlagTrackerByFlag, 999, 0));
    EXPECT_EQ(all.trackedFlag, 255);
    EXPECT_EQ(all.value, 8 * 255 + 5);
    EXPECT_EQ(all.currentObject, 20);
    EXPECT_EQ(run(FlagTrackerByScene, 0, 999), run(ReferenceFlagTrackerByScene, 0, 999));
}

} // namespace
} // namespace orv::testing
