#include "reports/FlagStatements.h"

#include "reports/ReportFixture.h"
#include "reports/TextConventions.h"

#include <algorithm>

namespace orv::testing {
namespace {

using enum StatementPlace;
using enum FlagUse;

class FlagStatementsTest : public ReportFixture {
  protected:
    FlagStatementList gather(int* units = nullptr) {
        loadAndOpen();
        return GatherFlagStatements(ctx, [units] {
            if (units) ++*units;
        });
    }
};

// What the gatherer says of one statement.
struct Expected {
    StatementPlace place;
    FlagUse use;
    int slot, record, objectType, flag, comparison, value;
    bool adds;
    std::string sentence;
};

void expectStatements(const FlagStatementList& list, const std::vector<Expected>& expected) {
    ASSERT_EQ(list.statements.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const FlagStatement& s = list.statements[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(e.sentence);
        EXPECT_EQ(s.place, e.place);
        EXPECT_EQ(s.use, e.use);
        EXPECT_EQ(std::tuple(int{s.slot}, int{s.record}, int{s.objectType}, int{s.flag}),
                  std::tuple(e.slot, e.record, e.objectType, e.flag));
        if (e.use == FlagUse::Test) {
            EXPECT_EQ(s.comparison, e.comparison);
        }
        EXPECT_EQ(s.value, e.value);
        EXPECT_EQ(s.adds, e.adds);
        EXPECT_EQ(list.sentence(s), e.sentence);
        EXPECT_EQ(s.marks, e.use != Problem);
        if (s.marks) {
            EXPECT_EQ(s.markedFlag, s.flag);
        }
    }
}

TEST_F(FlagStatementsTest, TheTrackerProjectInWritingOrder) {
    buildTrackerProject(builder);
    int units = 0;
    const FlagStatementList list = gather(&units);
    EXPECT_EQ(units, 4 + 1 + 3) << "one call per scene, cue card and item";
    EXPECT_EQ(list.scenesRead, 4);
    EXPECT_FALSE(list.readFailure.has_value());
    const std::string problem = "*** PROBLEM - This project uses an Object Type that is unknown to this Project "
                                "Scanner.  Object Type =";
    expectStatements(
        list,
        {
            {PlayerSettings, Score, 0, 0, -1, 12, 0, 0, false, "(Customize Player) The score uses flag # 12\n"},
            {ConditionalLoad, FlagUse::Test, 0, 1, -1, 12, 0, 1, false,
             "(Scene # 1 (Hall)) If flag # 12 = 1 then load scene # 2 (Cellar)"},
            {OnLoadChange, Change, 0, 1, -1, 12, 0, 5, true,
             "(Scene # 1 (Hall)) When this scene is loaded, add 5 to the current value of flag # 12"},
            {Object, FlagUse::Test, 3, 1, 0, 12, 1, 0, false,
             "(Scene # 1 (Hall) - Ambient Object # 3) Visible when flag # 12 <> 0"},
            {Object, Change, 3, 1, 0, 12, 0, 5, true,
             "(Scene # 1 (Hall) - Ambient Object # 3) When this object is visible, add 5 to the current value of "
             "flag # 12"},
            {ConditionalLoad, FlagUse::Test, 0, 2, -1, 12, 3, 4, false,
             "(Scene # 2 (Cellar)) If flag # 12 > 4 then do nothing (no scene chosen to load)"},
            {Object, FlagUse::Test, 1, 2, 1, 12, 7, 9, false, "(Scene # 2 (Cellar) - HotSpot Object # 1) Visible when flag # 129"},
            {Object, Change, 1, 2, 1, 20, 0, 3, false,
             "(Scene # 2 (Cellar) - HotSpot Object # 1) When this object is clicked, set flag # 20 to value 3"},
            {ConditionalLoad, FlagUse::Test, 0, 3, -1, 20, 2, -1, false,
             "(Scene # 3 (Attic)) If flag # 20 < -1 then load scene # 9 ()"},
            {OnLoadChange, Change, 0, 3, -1, 20, 0, 3, false,
             "(Scene # 3 (Attic)) When this scene is loaded, set flag # 20 to value 3"},
            {Object, Problem, 5, 3, -2, 0, 0, 0, false, problem + "-2 ***"},
            {Object, Problem, 20, 3, 10, 0, 0, 0, false, problem + " 10 ***"},
            {CueCard, Change, 2, 1, -1, 12, 0, 1, false, "(Cue Card # 1) When choice # 2 is clicked, set flag # 12 to value 1"},
            {CueCard, Change, 4, 1, -1, 12, 0, 3, true,
             "(Cue Card # 1) When choice # 4 is clicked, add 3 to the current value of flag # 12"},
            {InventoryItem, Change, 0, 1, -1, 40, 0, -2, true,
             "(Inventory Item # 1) When examined, add -2 to the current value of flag # 40"},
            {InventoryItem, Change, 0, 2, -1, 12, 0, 7, false, "(Inventory Item # 2) When examined, set flag # 12 to value 7"},
        });
    EXPECT_EQ(list.statements[1].loadsScene, 2);
    EXPECT_EQ(list.statements[8].loadsScene, 9);
}

// A conjunction result names its flag in text T1: compared unrounded by the trackers (a fraction is never
// written), marked rounded, and a number beyond 16 bits marks nothing.
TEST_F(FlagStatementsTest, ConjunctionResultsCompareUnroundedAndMarkRounded) {
    struct Case {
        const char* t1;
        bool whole, marks;
        int flag, markedFlag;
    };
    const Case cases[] = {{"7", true, true, 7, 7},       {"7.0", true, true, 7, 7},  {"11.6", false, true, 12, 12},
                          {"2.5", false, true, 2, 2},    {"70000", false, false, 0, 0}, {"", true, true, 0, 0},
                          {"12abc", true, true, 12, 12}, {"-4", true, true, -4, -4}};
    SceneRecord scene = makeScene("Vault");
    for (std::size_t i = 0; i < std::size(cases); ++i)
        scene.Slots[i] = objectOf(9, {}, {cases[i].t1, "2", i % 2 ? "1" : ""});
    builder.scenes = {scene};
    const FlagStatementList list = gather();
    ASSERT_EQ(list.statements.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const FlagStatement& s = list.statements[i];
        SCOPED_TRACE(cases[i].t1);
        EXPECT_EQ(s.use, Change);
        EXPECT_EQ(s.row, 6) << "the result is the seventh statement of its type";
        EXPECT_EQ(s.whole, cases[i].whole);
        EXPECT_EQ(s.marks, cases[i].marks);
        EXPECT_EQ(s.markedFlag, cases[i].markedFlag);
        if (s.whole) {
            EXPECT_EQ(s.flag, cases[i].flag);
        }
        EXPECT_EQ(s.adds, i % 2 == 1);
        EXPECT_EQ(s.value, 2);
        const std::string t1 = cases[i].t1;
        EXPECT_EQ(list.sentence(s), "(Scene # 1 (Vault) - Flag Conjunction Object #" + SignedForm(long(i + 1)) +
                                        (i % 2 ? ") When all conditions are true, object will add 2 to the current "
                                                 "value of flag # " + t1
                                               : ") When all conditions are true, object will set flag # " + t1 +
                                                     " to value 2"));
    }
}

TEST_F(FlagStatementsTest, OptionsChooseStatementsAndSentences) {
    buildTrackerProject(builder);
    loadAndOpen();
    FlagStatementList list;
    GatherOptions options;
    std::vector<int> asked;
    options.keep = [&](const FlagStatement& s) {
        asked.push_back(s.flag);
        return s.flag == 20;
    };
    int units = 0;
    GatherFlagStatements(ctx, list, options, [&](FlagStatementList& l) {
        ++units;
        EXPECT_EQ(&l, &list);
    });
    EXPECT_EQ(units, 8);
    EXPECT_EQ(asked, (std::vector<int>{12, 12, 12, 12, 12, 12, 12, 20, 20, 20, 0, 0, 12, 12, 40, 12}));
    ASSERT_EQ(list.statements.size(), 3u);
    EXPECT_EQ(list.sentence(list.statements[2]),
              "(Scene # 3 (Attic)) When this scene is loaded, set flag # 20 to value 3");
    EXPECT_EQ(list.sentences.size(), list.statements[2].sentenceOffset + list.statements[2].sentenceLength)
        << "declined statements write no sentence";

    FlagStatementList bare;
    GatherFlagStatements(ctx, bare, GatherOptions{nullptr, false}, nullptr);
    EXPECT_EQ(bare.statements.size(), 16u);
    EXPECT_TRUE(bare.sentences.empty());
}

TEST_F(FlagStatementsTest, AnUnreadableRecordIsLeftOutAndNamed) {
    buildTrackerProject(builder);
    builder.cueCards.resize(4);
    loadAndOpen();
    host.breakFile = dir / "resource" / "Orvanta5.dat";
    host.yield();
    ASSERT_TRUE(host.broken);
    int units = 0;
    const FlagStatementList list = GatherFlagStatements(ctx, [&] { ++units; });
    EXPECT_EQ(units, 4 + 4 + 3) << "an unreadable unit still counts";
    ASSERT_TRUE(list.readFailure.has_value());
    EXPECT_EQ(list.readFailure->file(), host.breakFile);
    EXPECT_EQ(std::ranges::count(list.statements, CueCard, &FlagStatement::place), 0);
    EXPECT_EQ(std::ranges::count(list.statements, InventoryItem, &FlagStatement::place), 2);
}

TEST_F(FlagStatementsTest, ScenesAreReadInChunksYetOneAtATimeWhenAsked) {
    for (int s = 1; s <= 600; ++s) { // more than one chunk of scene records
        SceneRecord scene = sceneWith("S" + std::to_string(s), {1, Integer(s % 255 + 1), 0, 0, 0}, {0, 0, 0, 0});
        builder.scenes.push_back(scene);
    }
    loadAndOpen();
    FlagStatementGatherer gatherer(ctx);
    FlagStatementList list;
    for (int s : {1, 2, 599, 600, 300, 601}) {
        list.clear();
        ASSERT_TRUE(gatherer.GatherScene(Integer(s), list));
        if (s == 601) { // past the end: zeros, no statement
            EXPECT_TRUE(list.statements.empty());
            continue;
        }
        ASSERT_EQ(list.statements.size(), 1u);
        EXPECT_EQ(list.statements[0].flag, s % 255 + 1);
        EXPECT_EQ(list.statements[0].record, s);
    }
}

} // namespace
} // namespace orv::testing
