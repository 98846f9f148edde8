// The classified flag statements: what each object type and record says, in the order the trackers write
// it, and how a gathering chooses and words them.

#include "reports/FlagStatements.h"
#include "reports/ReportFixture.h"
#include "reports/TextConventions.h"

#include <set>

namespace orv::testing {
namespace {

using enum StatementPlace;
using enum FlagUse;

class StatementsTest : public ReportFixture {
  protected:
    FlagStatementList gather(const GatherOptions& options = {}, int* units = nullptr) {
        FlagStatementList list;
        GatherFlagStatements(source(), list, options, [units](FlagStatementList&) {
            if (units)
                ++*units;
        });
        return list;
    }
};

const char* const Labels[] = {" - Ambient Object #",         " - HotSpot Object #",       " - Goodie Object #",
                              " - Switch Object #",          " - Reactor Object #",       " - Responder Object #",
                              " - Delay Object #",           " - Multi-Trigger Object #", " - Conversation Object #",
                              " - Flag Conjunction Object #"};

// One object in slot 3 of scene 4, "Hall": the flag and sentence of each statement it makes (each sentence
// after "(Scene # 4 (Hall)", the label and " 3"), and the flags it strikes off the unused list (by default
// the row's flags from 1 to 255).
struct Row {
    const char* name;
    Integer type;
    Settings settings;
    std::vector<Integer> flags;
    std::vector<std::string> sentences;
    std::vector<std::string> texts{}; // T1 to T3
    std::optional<std::set<int>> marks{};
};

class ObjectStatements : public StatementsTest, public ::testing::WithParamInterface<Row> {};

TEST_P(ObjectStatements, EachTypeSaysWhatItsSwitchedOnSettingsSay) {
    const Row& row = GetParam();
    builder.scenes = {makeScene("Porch"), makeScene("Yard"), makeScene("Gate"), makeScene("Hall")};
    builder.scenes[3].Slots[2] = objectOf(row.type, row.settings, row.texts);
    load();
    const FlagStatementList list = gather();
    std::vector<Integer> flags;
    std::vector<std::string> sentences;
    std::set<int> marked;
    for (const FlagStatement& s : list.statements) {
        EXPECT_EQ(std::tuple(s.place, s.record, s.slot, s.objectType), std::tuple(Object, 4, 3, row.type));
        if (s.marks && s.markedFlag >= 1 && s.markedFlag <= 255)
            marked.insert(s.markedFlag);
        if (!s.whole)
            continue;
        flags.push_back(s.flag);
        sentences.push_back(std::string(list.sentence(s)));
    }
    std::vector<std::string> expected;
    for (const std::string& sentence : row.sentences)
        expected.push_back("(Scene # 4 (Hall)" + std::string(Labels[row.type]) + " 3" + sentence);
    EXPECT_EQ(flags, row.flags);
    EXPECT_EQ(sentences, expected);
    std::set<int> marks;
    for (Integer f : row.flags)
        if (f >= 1 && f <= 255)
            marks.insert(f);
    EXPECT_EQ(marked, row.marks.value_or(marks));
}

const std::string Result = ") When all conditions are true, object will ";

const Row Rows[] = {
    // Every type, with its statements switched on; settings run from the offset given.
    Row("Ambient", 0, {{149, {2, 11, 2, 4, 1, 12, 6, 0}}}, {11, 12},
        {") Visible when flag # 11 < 4", ") When this object is visible, set flag # 12 to value 6"}),
    Row("HotSpot", 1, {{167, {2, 21, 3, -5, 1, 22, 8, 1}}}, {21, 22},
        {") Visible when flag # 21 > -5", ") When this object is clicked, add 8 to the current value of flag # 22"}),
    Row("Goodie", 2, {{163, {2, 31, 0, 1, 1, 32, 2, 0}}}, {31, 32},
        {") Visible when flag # 31 = 1", ") When this object is picked up, set flag # 32 to value 2"}),
    Row("Switch", 3, {{141, {41, 1}}, {149, {0}}, {165, {2, 42, 1, 3}}}, {41, 42},
        {") In position A, flag # 41 is 1. In position B, flag # 41 is 0", ") Visible when flag # 42 <> 3"}),
    Row("Reactor", 4, {{149, {2, 51, 0, 7, 1, 52, -1, 5}}}, {51, 52},
        {") Visible when flag # 51 = 7", ") When this object is clicked, add -1 to the current value of flag # 52"}),
    Row("Responder", 5, {{141, {1, 61, 3, 2}}, {165, {1, 62, 9, 0}}}, {61, 62},
        {") Activated when flag # 61 > 2", ") When this object is activated, set flag # 62 to value 9"}),
    Row("Delay", 6, {{143, {71, 1, 0, 30, 72, 4, 1}}}, {71, 72},
        {") Activated when flag # 71 <> 0", ") After the delay (30 secs), add 4 to the current value of flag # 72"}),
    Row("MultiTrigger", 7, {{143, {81, 0, 1, 1, 84, 5, 0}}, {159, {82, 2, 2, 1, 85, 6, 1}}, {175, {83, 3, 3, 0, 86}}},
        {81, 82, 83, 84, 85},
        {") Trigger # 1 activated when flag # 81 = 1", ") Trigger # 2 activated when flag # 82 < 2",
         ") Trigger # 3 activated when flag # 83 > 3", ") Trigger # 1 will set flag # 84 to value 5",
         ") Trigger # 2 will add 6 to the current value of flag # 85"}),
    Row("Conversation", 8, {{143, {2, 91, 1, 4}}}, {91}, {") Visible when flag # 91 <> 4"}),
    Row("FlagConjunction", 9,
        {{143, {1, 101, 0, 1, 0, 102}}, {159, {1, 103, 1, 0, 2, 104}}, {175, {1, 105, 2, 3, 1, 106, 3, 4}}},
        {101, 103, 105, 106, 107},
        {") Condition A is true when flag # 101 = 1", ") Condition C is true when flag # 103 <> 0",
         ") Condition E is true when flag # 105 < 3", ") Condition F is true when flag # 106 > 4",
         Result + "set flag # 107 to value 2"},
        {"107", "2", ""}),
    // The other wordings, comparison codes outside 0..3, negative numbers, switches of other values.
    Row("GoodieAddingOperatorFour", 2, {{163, {2, 12, 4, 5, 1, 32, 2, 1}}}, {12, 32},
        {") Visible when flag # 125", ") When this object is picked up, add 2 to the current value of flag # 32"}),
    Row("ResponderOperatorMinusOne", 5, {{141, {1, 12, -1, 5}}, {165, {1, 62, 9, 1}}}, {12, 62},
        {") Activated when flag # 125", ") When this object is activated, add 9 to the current value of flag # 62"}),
    Row("DelayNegativeNumbers", 6, {{143, {-3, 0, -7, 0, -3, -2, 0}}}, {-3, -3},
        {") Activated when flag #-3 = -7", ") After the delay (0 secs), set flag #-3 to value -2"}),
    Row("MultiTriggerThirdOnly", 7, {{149, {0}}, {165, {0}}, {175, {83, 1, 3, 1, 86, 7, 0}}}, {0, 0, 83, 86},
        {") Trigger # 1 activated when flag # 0 = 0", ") Trigger # 2 activated when flag # 0 = 0",
         ") Trigger # 3 activated when flag # 83 <> 3", ") Trigger # 3 will set flag # 86 to value 7"}),
    Row("SwitchPositionsBothZero", 3, {{141, {9}}}, {9},
        {") In position A, flag # 9 is 0. In position B, flag # 9 is 0"}),
    Row("AlwaysVisibleAndNoChange", 0, {{149, {0, 12}}, {157, {0, 12}}}, {}, {}),
    Row("SwitchesOneAndTwoAreOff", 0, {{149, {1, 12}}, {157, {2, 12}}}, {}, {}),
    Row("ConjunctionAddsWhenT3IsNotZero", 9, {}, {7}, {Result + "add 2 to the current value of flag # 7"},
        {"7", "2", "1"}),
    Row("ConjunctionEmptyT1IsFlagZero", 9, {}, {0}, {Result + "set flag #  to value 2"}, {"", "2", ""}),
    Row("ConjunctionT1IsReadAsLeadingNumber", 9, {}, {12}, {Result + "set flag # 12abc to value 1"},
        {"12abc", "1", "0"}),
    // Marked rounded, but compared unrounded: never written.
    Row("ConjunctionFraction", 9, {}, {}, {}, {"11.6", "2", ""}, std::set<int>{12}),
    // No 16-bit number: the result marks nothing; condition A still counts.
    Row("ConjunctionResultOverflows", 9, {{143, {1, 30, 0, 1}}}, {30}, {") Condition A is true when flag # 30 = 1"},
        {"70000", "2", ""}),
};

INSTANTIATE_TEST_SUITE_P(Objects, ObjectStatements, ::testing::ValuesIn(Rows),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(StatementsTest, TheTrackerProjectInWritingOrderWithWhereAndWhatEachSays) {
    buildTrackerProject(builder);
    load();
    int units = 0;
    const FlagStatementList list = gather({}, &units);
    EXPECT_EQ(std::tuple(units, list.scenesRead, list.readFailure.has_value()), std::tuple(4 + 1 + 3, 4, false));
    // Place, use, slot, record, object type, flag, comparison, value, adds, loads scene (the sentences are those
    // of the expected tracker texts).
    using F = std::tuple<StatementPlace, FlagUse, int, int, int, int, int, int, bool, int>;
    const FlagUse T = FlagUse::Test;
    const F expected[] = {
        {PlayerSettings, Score, 0, 0, -1, 12, 0, 0, false, 0}, {ConditionalLoad, T, 0, 1, -1, 12, 0, 1, false, 2},
        {OnLoadChange, Change, 0, 1, -1, 12, 0, 5, true, 0},   {Object, T, 3, 1, 0, 12, 1, 0, false, 0},
        {Object, Change, 3, 1, 0, 12, 0, 5, true, 0},          {ConditionalLoad, T, 0, 2, -1, 12, 3, 4, false, 0},
        {Object, T, 1, 2, 1, 12, 7, 9, false, 0},              {Object, Change, 1, 2, 1, 20, 0, 3, false, 0},
        {ConditionalLoad, T, 0, 3, -1, 20, 2, -1, false, 9},   {OnLoadChange, Change, 0, 3, -1, 20, 0, 3, false, 0},
        {Object, Problem, 5, 3, -2, 0, 0, 0, false, 0},        {Object, Problem, 20, 3, 10, 0, 0, 0, false, 0},
        {CueCard, Change, 2, 1, -1, 12, 0, 1, false, 0},       {CueCard, Change, 4, 1, -1, 12, 0, 3, true, 0},
        {InventoryItem, Change, 0, 1, -1, 40, 0, -2, true, 0}, {InventoryItem, Change, 0, 2, -1, 12, 0, 7, false, 0}};
    ASSERT_EQ(list.statements.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const FlagStatement& s = list.statements[i];
        EXPECT_EQ(F(s.place, s.use, s.slot, s.record, s.objectType, s.flag, s.comparison, s.value, s.adds, s.loadsScene),
                  expected[i])
            << list.sentence(s);
        EXPECT_EQ(s.marks, s.use != Problem) << i;
    }
    EXPECT_EQ(list.sentence(list.statements[0]), "(Customize Player) The score uses flag # 12\n");
}

TEST_F(StatementsTest, OptionsChooseStatementsAndSentencesAndWordingComesLater) {
    buildTrackerProject(builder);
    load();
    const FlagStatementList list = gather({[](const FlagStatement& s) { return s.flag == 20; }});
    ASSERT_EQ(list.statements.size(), 3u);
    EXPECT_EQ(list.sentence(list.statements[2]),
              "(Scene # 3 (Attic)) When this scene is loaded, set flag # 20 to value 3");
    EXPECT_EQ(list.sentences.size(), list.statements[2].sentenceOffset + list.statements[2].sentenceLength)
        << "declined statements write no sentence";

    FlagStatementList bare = gather(GatherOptions{nullptr, false});
    const FlagStatementList full = gather();
    EXPECT_EQ(std::tuple(bare.statements.size(), bare.sentences.size()), std::tuple(16u, 0u));
    WordStatements(source(), bare, [](const FlagStatement& s) { return s.use != FlagUse::Test; });
    for (std::size_t i = 0; i < full.statements.size(); ++i)
        EXPECT_EQ(bare.sentence(bare.statements[i]),
                  full.statements[i].use == FlagUse::Test ? "" : full.sentence(full.statements[i]))
            << i;
}

} // namespace
} // namespace orv::testing
