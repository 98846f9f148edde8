#include "reports/RecordStatements.h"

#include "reports/FileReferenceSink.h"
#include "reports/Phrasing.h"
#include "reports/ReportFixture.h"
#include "reports/StatementMode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orv::testing {
namespace {

class CollectedNames : public FileReferenceSink {
public:
    std::vector<std::string> names;
    void RecordReference(const std::string& name) override { names.push_back(name); }
};

class RecordStatementsTest : public ReportFixture {
protected:
    CollectedNames collected;

    void SetUp() override { ctx.references = &collected; }
    void tracking(Integer flag) {
        text.clear();
        state.EveryFlag = false;
        state.TrackedFlag = flag;
    }
    // The flags mode MarkUsed struck off, as the remaining list's size.
    std::size_t struckAfter(void (*describe)(Integer, Integer, ReportContext&), Integer n) {
        ResetUnusedFlags(state);
        describe(n, MarkUsed, ctx);
        return 255 - state.UnusedFlags.size();
    }
    bool stillUnused(int flag) const {
        return std::find(state.UnusedFlags.begin(), state.UnusedFlags.end(), std::to_string(flag)) !=
               state.UnusedFlags.end();
    }
};

// --- Player settings -------------------------------------------------------

TEST_F(RecordStatementsTest, ScoreFlagLineEndsWithALineFeed) {
    builder.settings.ScoreEnabled = 1;
    builder.settings.ScoreFlag = 12;
    loadAndOpen();
    tracking(12);
    DescribePlayerSettings(2, Track, ctx);
    EXPECT_EQ(text.str(), "\n(Customize Player) The score uses flag # 12\n");
    tracking(13);
    DescribePlayerSettings(2, Track, ctx);
    EXPECT_EQ(text.str(), "");
    EXPECT_EQ(struckAfter(DescribePlayerSettings, 2), 1u);
    EXPECT_FALSE(stillUnused(12));
}

TEST_F(RecordStatementsTest, ScoreFlagWithEveryFlagIsWrittenWhateverWasTracked) {
    builder.settings.ScoreEnabled = 1;
    builder.settings.ScoreFlag = -4;
    loadAndOpen();
    tracking(999);
    state.EveryFlag = true;
    DescribePlayerSettings(2, Track, ctx);
    EXPECT_EQ(text.str(), "\n(Customize Player) The score uses flag #-4\n");
    EXPECT_EQ(state.TrackedFlag, -4);
}

TEST_F(RecordStatementsTest, ScoreNotEnabledWritesAndMarksNothing) {
    for (Integer enabled : {Integer{0}, Integer{2}, Integer{-1}}) {
        builder.settings.ScoreEnabled = enabled;
        builder.settings.ScoreFlag = 12;
        loadAndOpen();
        tracking(12);
        state.EveryFlag = true;
        DescribePlayerSettings(2, Track, ctx);
        EXPECT_EQ(text.str(), "") << enabled;
        EXPECT_EQ(state.TrackedFlag, 12);
        EXPECT_EQ(struckAfter(DescribePlayerSettings, 2), 0u);
    }
}

TEST_F(RecordStatementsTest, OnlySectionTwoAndModesOneAndThreeDoAnything) {
    builder.settings.ScoreEnabled = 1;
    builder.settings.ScoreFlag = 12;
    loadAndOpen();
    for (Integer section : {Integer{0}, Integer{1}, Integer{3}, Integer{5}, Integer{6}}) {
        tracking(12);
        DescribePlayerSettings(section, Track, ctx);
        EXPECT_EQ(text.str(), "") << section;
        EXPECT_EQ(struckAfter(DescribePlayerSettings, section), 0u);
    }
    for (Integer mode : {Integer{0}, CollectFiles, Integer{4}}) {
        tracking(12);
        ResetUnusedFlags(state);
        DescribePlayerSettings(2, mode, ctx);
        EXPECT_EQ(text.str(), "") << mode;
        EXPECT_EQ(state.UnusedFlags.size(), 255u);
    }
    EXPECT_TRUE(collected.names.empty());
}

// --- Cue cards -------------------------------------------------------------

void setChoice(CueCardRecord& card, int c, Integer sets, Integer flag, Integer value, Integer adds) {
    const auto i = static_cast<std::size_t>(c - 1);
    card.ChoiceSetsFlag[i] = sets;
    card.ChoiceFlag[i] = flag;
    card.ChoiceValue[i] = value;
    card.ChoiceAdds[i] = adds;
}

TEST_F(RecordStatementsTest, CueCardChoiceSetsAndAdds) {
    builder.cueCards.resize(3);
    setChoice(builder.cueCards[2], 2, 1, 12, 1, 0);
    setChoice(builder.cueCards[2], 3, 1, 12, -6, 1);
    setChoice(builder.cueCards[2], 4, 1, 12, 5, 2); // only 1 means add
    setChoice(builder.cueCards[2], 5, 0, 12, 9, 0); // not switched on
    loadAndOpen();
    tracking(12);
    DescribeCueCard(3, Track, ctx);
    EXPECT_EQ(text.str(), "\n(Cue Card # 3) When choice # 2 is clicked, set flag # 12 to value 1"
                          "\n(Cue Card # 3) When choice # 3 is clicked, add -6 to the current value of flag # 12"
                          "\n(Cue Card # 3) When choice # 4 is clicked, set flag # 12 to value 5");
    EXPECT_EQ(struckAfter(DescribeCueCard, 3), 1u);
    EXPECT_FALSE(stillUnused(12));
}

TEST_F(RecordStatementsTest, CueCardWithFiveMatchingChoicesWritesFiveLinesChoiceOneFirst) {
    builder.cueCards.resize(1);
    for (int c = 1; c <= 5; ++c)
        setChoice(builder.cueCards[0], c, 1, 7, static_cast<Integer>(c * 10), 0);
    loadAndOpen();
    tracking(7);
    DescribeCueCard(1, Track, ctx);
    EXPECT_EQ(text.str(), lines({"(Cue Card # 1) When choice # 1 is clicked, set flag # 7 to value 10",
                                 "(Cue Card # 1) When choice # 2 is clicked, set flag # 7 to value 20",
                                 "(Cue Card # 1) When choice # 3 is clicked, set flag # 7 to value 30",
                                 "(Cue Card # 1) When choice # 4 is clicked, set flag # 7 to value 40",
                                 "(Cue Card # 1) When choice # 5 is clicked, set flag # 7 to value 50"}));
}

TEST_F(RecordStatementsTest, CueCardIgnoresEveryFlag) {
    builder.cueCards.resize(1);
    setChoice(builder.cueCards[0], 1, 1, 30, 1, 0);
    loadAndOpen();
    tracking(12);
    state.EveryFlag = true;
    DescribeCueCard(1, Track, ctx);
    EXPECT_EQ(text.str(), "");
    EXPECT_EQ(state.TrackedFlag, 12);
}

TEST_F(RecordStatementsTest, CueCardHandsEveryChoiceFileOnTrimmed) {
    builder.cueCards.resize(1);
    builder.cueCards[0].ChoiceFile = {"  talk1.wav", "", "talk3.wav", " x.bmp", "talk5.mid"};
    setChoice(builder.cueCards[0], 1, 0, 12, 1, 0);
    loadAndOpen();
    DescribeCueCard(1, CollectFiles, ctx);
    EXPECT_EQ(collected.names, (std::vector<std::string>{"talk1.wav", "", "talk3.wav", "x.bmp", "talk5.mid"}));
    EXPECT_EQ(text.str(), "");
}

// --- Inventory items -------------------------------------------------------

TEST_F(RecordStatementsTest, InventoryItemAddsAndSets) {
    builder.items.resize(2);
    builder.items[0] = {{}, 1, 40, -2, 1, 0};
    builder.items[1] = {{}, 1, 40, 3, 0, 0};
    loadAndOpen();
    tracking(40);
    DescribeInventoryItem(1, Track, ctx);
    DescribeInventoryItem(2, Track, ctx);
    EXPECT_EQ(text.str(), "\n(Inventory Item # 1) When examined, add -2 to the current value of flag # 40"
                          "\n(Inventory Item # 2) When examined, set flag # 40 to value 3");
    tracking(41);
    DescribeInventoryItem(1, Track, ctx);
    EXPECT_EQ(text.str(), "");
    EXPECT_EQ(struckAfter(DescribeInventoryItem, 1), 1u);
    EXPECT_FALSE(stillUnused(40));
}

TEST_F(RecordStatementsTest, InventoryItemNotSwitchedOnWritesAndMarksNothing) {
    builder.items.resize(1);
    builder.items[0] = {{}, 2, 40, 1, 0, 0};
    loadAndOpen();
    tracking(40);
    DescribeInventoryItem(1, Track, ctx);
    EXPECT_EQ(text.str(), "");
    EXPECT_EQ(struckAfter(DescribeInventoryItem, 1), 0u);
}

TEST_F(RecordStatementsTest, InventoryItemHandsItsSevenFilesOnInOrder) {
    builder.items.resize(1);
    builder.items[0].ItemFile = {" a.bmp", "b.bmp", "c.bmp", "d.wav", "e.wav", "f.mid", " g.avi"};
    builder.items[0].ExamineSetsFlag = 1;
    builder.items[0].ExamineFlag = 5;
    loadAndOpen();
    DescribeInventoryItem(1, CollectFiles, ctx);
    EXPECT_EQ(collected.names,
              (std::vector<std::string>{" a.bmp", "b.bmp", "c.bmp", "d.wav", "e.wav", "f.mid", " g.avi"}));
    EXPECT_EQ(text.str(), "");
}

// --- Locations -------------------------------------------------------------

TEST_F(RecordStatementsTest, LocationsHandOnTheirFilesAndOnlyLocationOneItsThird) {
    builder.locations = {{"(None)", "map1.mid", "start.bmp", 0}, {"(none)", "map2.mid", "never.bmp", 0},
                         {"(Del)", "", "", 0}};
    loadAndOpen();
    for (Integer n = 1; n <= 3; ++n)
        DescribeLocation(n, CollectFiles, ctx);
    EXPECT_EQ(collected.names,
              (std::vector<std::string>{"", "map1.mid", "start.bmp", "(none)", "map2.mid", "", ""}));
}

TEST_F(RecordStatementsTest, LocationsDoNothingInOtherModes) {
    builder.locations = {{"room.bmp", "map1.mid", "start.bmp", 0}};
    loadAndOpen();
    for (Integer mode : {Integer{0}, MarkUsed, Track, Integer{4}})
        DescribeLocation(1, mode, ctx);
    EXPECT_TRUE(collected.names.empty());
    EXPECT_EQ(text.str(), "");
}

TEST_F(RecordStatementsTest, ModesZeroAndFourDoNothing) {
    builder.cueCards.resize(1);
    setChoice(builder.cueCards[0], 1, 1, 12, 1, 0);
    builder.items = {{{"a.bmp"}, 1, 12, 1, 0, 0}};
    loadAndOpen();
    for (Integer mode : {Integer{0}, Integer{4}}) {
        tracking(12);
        ResetUnusedFlags(state);
        DescribeCueCard(1, mode, ctx);
        DescribeInventoryItem(1, mode, ctx);
        EXPECT_EQ(text.str(), "");
        EXPECT_EQ(state.UnusedFlags.size(), 255u);
    }
    EXPECT_TRUE(collected.names.empty());
}

} // namespace
} // namespace orv::testing
