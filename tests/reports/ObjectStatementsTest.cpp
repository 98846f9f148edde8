#include "reports/ObjectStatements.h"

#include "reports/Phrasing.h"
#include "reports/ReportFixture.h"
#include "reports/StatementMode.h"
#include "support/RecordEncoders.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace orv::testing {
namespace {

using Settings = std::vector<std::pair<std::size_t, Integer>>;

ObjectSlot objectOf(Integer type, const Settings& settings, std::array<std::string, 3> texts = {}) {
    ObjectSlot slot;
    slot.ObjectType = type;
    for (const auto& [offset, value] : settings)
        setSetting(slot, offset, value);
    for (std::size_t i = 0; i < texts.size(); ++i)
        slot.ObjectText[i] = texts[i];
    return slot;
}

// The object under test sits in slot 3 of scene 4, "Hall".
class DescribeObjectTest : public ReportFixture {
protected:
    void place(const ObjectSlot& slot) {
        builder.scenes = {makeScene("Porch"), makeScene("Yard"), makeScene("Gate"), makeScene("Hall")};
        builder.scenes[3].Slots[2] = slot;
        loadAndOpen();
        ctx.loadScene(4);
        state.CurrentObject = 3;
        type_ = slot.ObjectType;
    }
    std::string track(Integer flag) {
        text.clear();
        state.EveryFlag = false;
        state.TrackedFlag = flag;
        DescribeObject(type_, Track, ctx);
        return text.str();
    }
    std::string trackEvery(Integer trackedBefore = 999) {
        text.clear();
        state.EveryFlag = true;
        state.TrackedFlag = trackedBefore;
        DescribeObject(type_, Track, ctx);
        return text.str();
    }
    // The flags that mode MarkUsed strikes off a full candidate list.
    std::set<int> marked() {
        ResetUnusedFlags(state);
        DescribeObject(type_, MarkUsed, ctx);
        std::set<int> used;
        for (int n = 1; n <= 255; ++n)
            used.insert(n);
        for (const std::string& left : state.UnusedFlags)
            used.erase(std::stoi(left));
        return used;
    }

private:
    Integer type_ = 0;
};

// ---------------------------------------------------------------------------
// Every object type, every statement switched on.

struct Statement {
    Integer flag;
    std::string sentence;
};

struct TypeCase {
    std::string name;
    Integer type;
    std::string label;
    Settings settings;
    std::array<std::string, 3> texts;
    std::vector<Statement> statements; // in the order they are written
};

std::string frame(const std::string& label) { return "\n(Scene # 4 (Hall)" + label + " 3"; }

class EveryObjectType : public DescribeObjectTest, public ::testing::WithParamInterface<TypeCase> {
protected:
    void SetUp() override { place(objectOf(GetParam().type, GetParam().settings, GetParam().texts)); }
    std::string written(Integer onlyFlag, bool all) const {
        std::string out;
        for (const Statement& st : GetParam().statements)
            if (all || st.flag == onlyFlag)
                out += frame(GetParam().label) + st.sentence;
        return out;
    }
};

TEST_P(EveryObjectType, EveryFlagWritesEveryStatementInTableOrder) {
    EXPECT_EQ(trackEvery(), written(0, true));
    EXPECT_EQ(state.TrackedFlag, GetParam().statements.back().flag);
}

TEST_P(EveryObjectType, TrackWritesOnlyTheStatementsAboutTheTrackedFlag) {
    for (const Statement& st : GetParam().statements)
        EXPECT_EQ(track(st.flag), written(st.flag, false)) << "flag " << st.flag;
    EXPECT_EQ(track(250), "");
    EXPECT_EQ(state.TrackedFlag, 250);
}

TEST_P(EveryObjectType, MarkUsedStrikesEveryFlagAndWritesNothing) {
    std::set<int> expected;
    for (const Statement& st : GetParam().statements)
        expected.insert(st.flag);
    EXPECT_EQ(marked(), expected);
    EXPECT_EQ(text.str(), "");
}

TEST_P(EveryObjectType, OtherModesDoNothing) {
    for (Integer mode : {Integer{0}, CollectFiles, Integer{4}, Integer{-1}}) {
        ResetUnusedFlags(state);
        state.EveryFlag = true;
        state.TrackedFlag = 999;
        DescribeObject(GetParam().type, mode, ctx);
        EXPECT_EQ(text.str(), "") << "mode " << mode;
        EXPECT_EQ(state.UnusedFlags.size(), 255u);
        EXPECT_EQ(state.TrackedFlag, 999);
    }
}

const TypeCase Types[] = {
    {"Ambient", 0, " - Ambient Object #",
     {{149, 2}, {151, 11}, {153, 2}, {155, 4}, {157, 1}, {159, 12}, {161, 6}, {163, 0}}, {},
     {{11, ") Visible when flag # 11 < 4"}, {12, ") When this object is visible, set flag # 12 to value 6"}}},
    {"HotSpot", 1, " - HotSpot Object #",
     {{167, 2}, {169, 21}, {171, 3}, {173, -5}, {175, 1}, {177, 22}, {179, 8}, {181, 1}}, {},
     {{21, ") Visible when flag # 21 > -5"},
      {22, ") When this object is clicked, add 8 to the current value of flag # 22"}}},
    {"Goodie", 2, " - Goodie Object #",
     {{163, 2}, {165, 31}, {167, 0}, {169, 1}, {171, 1}, {173, 32}, {175, 2}, {177, 0}}, {},
     {{31, ") Visible when flag # 31 = 1"}, {32, ") When this object is picked up, set flag # 32 to value 2"}}},
    {"Switch", 3, " - Switch Object #", {{141, 41}, {143, 1}, {149, 0}, {165, 2}, {167, 42}, {169, 1}, {171, 3}}, {},
     {{41, ") In position A, flag # 41 is 1. In position B, flag # 41 is 0"},
      {42, ") Visible when flag # 42 <> 3"}}},
    {"Reactor", 4, " - Reactor Object #",
     {{149, 2}, {151, 51}, {153, 0}, {155, 7}, {157, 1}, {159, 52}, {161, -1}, {163, 5}}, {},
     {{51, ") Visible when flag # 51 = 7"},
      {52, ") When this object is clicked, add -1 to the current value of flag # 52"}}},
    {"Responder", 5, " - Responder Object #",
     {{141, 1}, {143, 61}, {145, 3}, {147, 2}, {165, 1}, {167, 62}, {169, 9}, {171, 0}}, {},
     {{61, ") Activated when flag # 61 > 2"}, {62, ") When this object is activated, set flag # 62 to value 9"}}},
    {"Delay", 6, " - Delay Object #", {{143, 71}, {145, 1}, {147, 0}, {149, 30}, {151, 72}, {153, 4}, {155, 1}}, {},
     {{71, ") Activated when flag # 71 <> 0"},
      {72, ") After the delay (30 secs), add 4 to the current value of flag # 72"}}},
    {"DelaySetting", 6, " - Delay Object #", {{143, 71}, {145, 9}, {147, -4}, {149, 0}, {151, 73}, {153, -8}}, {},
     {{71, ") Activated when flag # 71-4"}, {73, ") After the delay (0 secs), set flag # 73 to value -8"}}},
    {"MultiTrigger", 7, " - Multi-Trigger Object #",
     {{143, 81},
      {145, 0},
      {147, 1},
      {149, 1},
      {151, 84},
      {153, 5},
      {155, 0},
      {159, 82},
      {161, 2},
      {163, 2},
      {165, 1},
      {167, 85},
      {169, 6},
      {171, 1},
      {175, 83},
      {177, 3},
      {179, 3},
      {181, 0},
      {183, 86}},
     {},
     {{81, ") Trigger # 1 activated when flag # 81 = 1"},
      {82, ") Trigger # 2 activated when flag # 82 < 2"},
      {83, ") Trigger # 3 activated when flag # 83 > 3"},
      {84, ") Trigger # 1 will set flag # 84 to value 5"},
      {85, ") Trigger # 2 will add 6 to the current value of flag # 85"}}},
    {"Conversation", 8, " - Conversation Object #", {{143, 2}, {145, 91}, {147, 1}, {149, 4}}, {},
     {{91, ") Visible when flag # 91 <> 4"}}},
    {"FlagConjunction", 9, " - Flag Conjunction Object #",
     {{143, 1},
      {145, 101},
      {147, 0},
      {149, 1},
      {151, 0},
      {153, 102},
      {159, 1},
      {161, 103},
      {163, 1},
      {165, 0},
      {167, 2},
      {169, 104},
      {175, 1},
      {177, 105},
      {179, 2},
      {181, 3},
      {183, 1},
      {185, 106},
      {187, 3},
      {189, 4}},
     {"107", "2", ""},
     {{101, ") Condition A is true when flag # 101 = 1"},
      {103, ") Condition C is true when flag # 103 <> 0"},
      {105, ") Condition E is true when flag # 105 < 3"},
      {106, ") Condition F is true when flag # 106 > 4"},
      {107, ") When all conditions are true, object will set flag # 107 to value 2"}}},
};

INSTANTIATE_TEST_SUITE_P(AllTypes, EveryObjectType, ::testing::ValuesIn(Types),
                         [](const auto& param) { return param.param.name; });

// ---------------------------------------------------------------------------
// Single cases.

TEST_F(DescribeObjectTest, AmbientExampleWritesTwoLines) {
    place(objectOf(0, {{149, 2}, {151, 12}, {153, 1}, {155, 0}, {157, 1}, {159, 12}, {161, 5}, {163, 1}}));
    EXPECT_EQ(track(12), "\n(Scene # 4 (Hall) - Ambient Object # 3) Visible when flag # 12 <> 0"
                         "\n(Scene # 4 (Hall) - Ambient Object # 3) When this object is visible, add 5 to the "
                         "current value of flag # 12");
}

TEST_F(DescribeObjectTest, SwitchedOffStatementsWriteAndMarkNothing) {
    // Visibility 0 is "always visible"; 1 is not the "when flag" setting either.
    for (Integer visibility : {Integer{0}, Integer{1}, Integer{3}}) {
        place(objectOf(0, {{149, visibility}, {151, 12}, {157, 0}, {159, 12}}));
        EXPECT_EQ(track(12), "");
        EXPECT_EQ(trackEvery(33), "");
        EXPECT_EQ(state.TrackedFlag, 33) << "a failed switch leaves TrackedFlag alone";
        EXPECT_TRUE(marked().empty());
    }
}

TEST_F(DescribeObjectTest, HotSpotChangeNamesTheFlagAt177) {
    place(objectOf(1, {{175, 1}, {177, 20}, {179, 3}, {181, 0}}));
    EXPECT_EQ(track(20), "\n(Scene # 4 (Hall) - HotSpot Object # 3) When this object is clicked, set flag # 20 to value 3");
}

TEST_F(DescribeObjectTest, ComparisonCodesOutsideTheTableRunFlagAndValueTogether) {
    for (Integer code : {Integer{4}, Integer{-1}, Integer{7}}) {
        place(objectOf(8, {{143, 2}, {145, 12}, {147, code}, {149, 5}}));
        EXPECT_EQ(track(12), "\n(Scene # 4 (Hall) - Conversation Object # 3) Visible when flag # 125") << code;
    }
}

TEST_F(DescribeObjectTest, NegativeNumbersCarryNoBlank) {
    place(objectOf(4, {{149, 2}, {151, -3}, {153, 0}, {155, -7}, {157, 1}, {159, -3}, {161, -2}, {163, 1}}));
    EXPECT_EQ(track(-3), "\n(Scene # 4 (Hall) - Reactor Object # 3) Visible when flag #-3 = -7"
                         "\n(Scene # 4 (Hall) - Reactor Object # 3) When this object is clicked, add -2 to the "
                         "current value of flag #-3");
    EXPECT_TRUE(marked().empty()) << "flags outside 1..255 mark nothing";
}

TEST_F(DescribeObjectTest, SwitchMarksItsFlagEvenWithBothPositionsZero) {
    place(objectOf(3, {{141, 9}}));
    EXPECT_EQ(marked(), std::set<int>{9});
}

TEST_F(DescribeObjectTest, MultiTriggerMarksTriggerChangesOnlyWhenSwitchedOn) {
    place(objectOf(7, {{143, 1}, {159, 2}, {175, 3}, {149, 0}, {151, 4}, {165, 1}, {167, 5}, {181, 2}, {183, 6}}));
    EXPECT_EQ(marked(), (std::set<int>{1, 2, 3, 5}));
}

TEST_F(DescribeObjectTest, ConjunctionResultAddsWhenT3IsNotZero) {
    place(objectOf(9, {}, {"7", "2", "1"}));
    EXPECT_EQ(track(7), "\n(Scene # 4 (Hall) - Flag Conjunction Object # 3) When all conditions are true, object "
                        "will add 2 to the current value of flag # 7");
    EXPECT_EQ(marked(), std::set<int>{7});
}

TEST_F(DescribeObjectTest, ConjunctionResultSetsWhenT3IsEmpty) {
    place(objectOf(9, {}, {"7", "2", ""}));
    EXPECT_EQ(track(7), "\n(Scene # 4 (Hall) - Flag Conjunction Object # 3) When all conditions are true, object "
                        "will set flag # 7 to value 2");
}

TEST_F(DescribeObjectTest, ConjunctionResultWithEmptyT1IsAboutFlagZero) {
    place(objectOf(9, {}, {"", "2", ""}));
    EXPECT_EQ(track(0), "\n(Scene # 4 (Hall) - Flag Conjunction Object # 3) When all conditions are true, object "
                        "will set flag #  to value 2");
    const std::string every = trackEvery();
    EXPECT_EQ(every, track(0));
    EXPECT_TRUE(marked().empty());
}

TEST_F(DescribeObjectTest, ConjunctionResultReadsT1AsLeadingNumber) {
    place(objectOf(9, {}, {"12abc", "1", "0"}));
    EXPECT_EQ(track(12), "\n(Scene # 4 (Hall) - Flag Conjunction Object # 3) When all conditions are true, object "
                         "will set flag # 12abc to value 1");
    EXPECT_EQ(marked(), std::set<int>{12});
}

TEST_F(DescribeObjectTest, ConjunctionResultWithAFractionIsMarkedRoundedButNeverWritten) {
    place(objectOf(9, {}, {"7.5", "2", ""}));
    EXPECT_EQ(marked(), std::set<int>{8});
    EXPECT_EQ(track(8), "");
    EXPECT_EQ(track(7), "");
    EXPECT_EQ(trackEvery(), "");
    EXPECT_EQ(state.TrackedFlag, 8) << "EveryFlag still takes the rounded number";
}

TEST_F(DescribeObjectTest, ConjunctionResultTooLargeForSixteenBits) {
    place(objectOf(9, {{143, 1}, {145, 30}, {147, 0}, {149, 1}}, {"70000", "2", ""}));
    EXPECT_EQ(marked(), std::set<int>{30}) << "the condition still counts; the result marks nothing";
    EXPECT_EQ(track(30), "\n(Scene # 4 (Hall) - Flag Conjunction Object # 3) Condition A is true when flag # 30 = 1");
    const std::string every = trackEvery();
    EXPECT_EQ(state.TrackedFlag, 30);
    EXPECT_EQ(every, track(30)) << "the sentence already written stays; the result writes nothing";
}

TEST_F(DescribeObjectTest, UnknownTypeWritesItsProblemLineInEveryMode) {
    for (Integer type : {Integer{10}, Integer{-2}}) {
        place(objectOf(type, {{149, 2}, {151, 12}}));
        const std::string line = type == 10 ? "\n*** PROBLEM - This project uses an Object Type that is unknown to "
                                              "this Project Scanner.  Object Type = 10 ***"
                                            : "\n*** PROBLEM - This project uses an Object Type that is unknown to "
                                              "this Project Scanner.  Object Type =-2 ***";
        for (Integer mode : {Integer{0}, MarkUsed, CollectFiles, Track, Integer{4}}) {
            text.clear();
            ResetUnusedFlags(state);
            state.TrackedFlag = 12;
            DescribeObject(type, mode, ctx);
            EXPECT_EQ(text.str(), line) << "type " << type << ", mode " << mode;
            EXPECT_EQ(state.UnusedFlags.size(), 255u);
        }
    }
}

} // namespace
} // namespace orv::testing
