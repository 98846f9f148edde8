#include "reports/ObjectStatements.h"

#include "reports/ReportFixture.h"

#include <algorithm>
#include <set>

namespace orv::testing {
namespace {

const char* const Labels[] = {" - Ambient Object #",      " - HotSpot Object #",
                              " - Goodie Object #",       " - Switch Object #",
                              " - Reactor Object #",      " - Responder Object #",
                              " - Delay Object #",        " - Multi-Trigger Object #",
                              " - Conversation Object #", " - Flag Conjunction Object #"};

// One object in slot 3 of scene 4, "Hall". With EveryFlag, Track writes every sentence (each after
// "(Scene # 4 (Hall)", the label and " 3") and leaves TrackedFlag at `lastFlag` (by default the flag
// of the last sentence, else unchanged). Tracking one flag, it writes the sentences about that flag;
// this is checked for every flag of the row, 12 and 250. MarkUsed strikes `marks` (by default the
// row's flags; those outside 1..255 strike nothing).
struct Row {
    const char* name;
    Integer type;
    Settings settings;
    std::vector<Integer> flags; // the flag of each sentence
    std::vector<std::string> sentences;
    std::vector<std::string> texts{}; // T1 to T3
    std::optional<std::set<int>> marks{};
    std::optional<Integer> lastFlag{};
};

class DescribeObjectTest : public ReportFixture, public ::testing::WithParamInterface<Row> {
  protected:
    void SetUp() override {
        builder.scenes = {makeScene("Porch"), makeScene("Yard"), makeScene("Gate"), makeScene("Hall")};
        builder.scenes[3].Slots[2] = objectOf(GetParam().type, GetParam().settings, GetParam().texts);
        loadAndOpen();
        ctx.loadScene(4);
        state.CurrentObject = 3;
    }
    std::string describe(Integer mode, Integer trackedFlag, bool everyFlag) {
        text.clear();
        ResetUnusedFlags(state);
        state.TrackedFlag = trackedFlag;
        state.EveryFlag = everyFlag;
        DescribeObject(GetParam().type, mode, ctx);
        return text.str();
    }
    static std::string written(std::optional<Integer> onlyFlag) {
        std::string out;
        for (std::size_t i = 0; i < GetParam().flags.size(); ++i)
            if (!onlyFlag || GetParam().flags[i] == *onlyFlag)
                out += "\n(Scene # 4 (Hall)" + std::string(Labels[GetParam().type]) + " 3" +
                       GetParam().sentences[i];
        return out;
    }
};

TEST_P(DescribeObjectTest, TrackMarkUsedAndOtherModes) {
    const Row& row = GetParam();
    ASSERT_EQ(row.flags.size(), row.sentences.size());
    EXPECT_EQ(describe(Track, 999, true), written(std::nullopt));
    EXPECT_EQ(state.TrackedFlag, row.lastFlag.value_or(row.flags.empty() ? 999 : row.flags.back()));

    std::set<Integer> tracked(row.flags.begin(), row.flags.end());
    tracked.insert({12, 250});
    for (Integer flag : tracked) {
        EXPECT_EQ(describe(Track, flag, false), written(flag)) << "flag " << flag;
        EXPECT_EQ(state.TrackedFlag, flag);
    }

    EXPECT_EQ(describe(MarkUsed, 999, false), "");
    std::vector<std::string> left; // the candidates MarkUsed leaves
    for (int n = 1; n <= 255; ++n)
        if (row.marks ? !row.marks->contains(n) : std::ranges::find(row.flags, n) == row.flags.end())
            left.push_back(std::to_string(n));
    EXPECT_EQ(state.UnusedFlags, left);

    for (Integer mode : {Integer{0}, CollectFiles, Integer{4}, Integer{-1}}) {
        EXPECT_EQ(describe(mode, 999, true), "") << "mode " << mode;
        EXPECT_EQ(state.UnusedFlags.size(), 255u);
        EXPECT_EQ(state.TrackedFlag, 999);
    }
}

const std::string Result = ") When all conditions are true, object will ";

const Row Rows[] = {
    // Every type, with its statements switched on; settings run from the offset given.
    Row("Ambient", 0, {{149, {2, 11, 2, 4, 1, 12, 6, 0}}}, {11, 12},
        {") Visible when flag # 11 < 4", ") When this object is visible, set flag # 12 to value 6"}),
    Row("HotSpot", 1, {{167, {2, 21, 3, -5, 1, 22, 8, 1}}}, {21, 22},
        {") Visible when flag # 21 > -5",
         ") When this object is clicked, add 8 to the current value of flag # 22"}),
    Row("Goodie", 2, {{163, {2, 31, 0, 1, 1, 32, 2, 0}}}, {31, 32},
        {") Visible when flag # 31 = 1", ") When this object is picked up, set flag # 32 to value 2"}),
    Row("Switch", 3, {{141, {41, 1}}, {149, {0}}, {165, {2, 42, 1, 3}}}, {41, 42},
        {") In position A, flag # 41 is 1. In position B, flag # 41 is 0", ") Visible when flag # 42 <> 3"}),
    Row("Reactor", 4, {{149, {2, 51, 0, 7, 1, 52, -1, 5}}}, {51, 52},
        {") Visible when flag # 51 = 7",
         ") When this object is clicked, add -1 to the current value of flag # 52"}),
    Row("Responder", 5, {{141, {1, 61, 3, 2}}, {165, {1, 62, 9, 0}}}, {61, 62},
        {") Activated when flag # 61 > 2", ") When this object is activated, set flag # 62 to value 9"}),
    Row("Delay", 6, {{143, {71, 1, 0, 30, 72, 4, 1}}}, {71, 72},
        {") Activated when flag # 71 <> 0",
         ") After the delay (30 secs), add 4 to the current value of flag # 72"}),
    Row("MultiTrigger", 7,
        {{143, {81, 0, 1, 1, 84, 5, 0}}, {159, {82, 2, 2, 1, 85, 6, 1}}, {175, {83, 3, 3, 0, 86}}},
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
    // The other wordings, comparison codes outside 0..3 and negative numbers.
    Row("GoodieAddingOperatorFour", 2, {{163, {2, 12, 4, 5, 1, 32, 2, 1}}}, {12, 32},
        {") Visible when flag # 125",
         ") When this object is picked up, add 2 to the current value of flag # 32"}),
    Row("ResponderAddingOperatorMinusOne", 5, {{141, {1, 12, -1, 5}}, {165, {1, 62, 9, 1}}}, {12, 62},
        {") Activated when flag # 125",
         ") When this object is activated, add 9 to the current value of flag # 62"}),
    Row("DelaySettingNegativeNumbers", 6, {{143, {-3, 0, -7, 0, -3, -2, 0}}}, {-3, -3},
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
    // Marked and taken by EveryFlag rounded, but compared unrounded: never written.
    Row("ConjunctionFraction", 9, {}, {}, {}, {"11.6", "2", ""}, std::set<int>{12}, 12),
    // No 16-bit number: the result writes and marks nothing; condition A still counts.
    Row("ConjunctionResultOverflows", 9, {{143, {1, 30, 0, 1}}}, {30},
        {") Condition A is true when flag # 30 = 1"}, {"70000", "2", ""}),
};

INSTANTIATE_TEST_SUITE_P(Objects, DescribeObjectTest, ::testing::ValuesIn(Rows),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace orv::testing
