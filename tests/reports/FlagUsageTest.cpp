#include "reports/FlagUsage.h"
#include "reports/FlagUsageReport.h"
#include "reports/ReportText.h"
#include "reports/TextConventions.h"
#include "support/StatementListBuilder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace orv::testing {
namespace {

TEST(FlagUsage, EachComparisonCodeIsEvaluatedWithTheFlagAtZero) {
    using enum TestAtZero;
    const std::tuple<Integer, Integer, TestAtZero> cases[] = {
        {0, 0, AlwaysHolds},        {0, 1, NeverHolds},         {0, -1, NeverHolds},  // =
        {1, 0, NeverHolds},         {1, 5, AlwaysHolds},        {1, -2, AlwaysHolds}, // <>
        {2, 1, AlwaysHolds},        {2, 0, NeverHolds},         {2, -1, NeverHolds},  // <
        {3, -1, AlwaysHolds},       {3, 0, NeverHolds},         {3, 1, NeverHolds},   // >
        {4, 0, CannotBeEvaluated},  {-1, 0, CannotBeEvaluated}, {7, 3, CannotBeEvaluated},
    };
    for (const auto& [code, value, expected] : cases)
        EXPECT_EQ(EvaluateAtZero(code, value), expected) << "code " << code << ", value " << value;
    EXPECT_EQ(TestAtZeroText(NeverHolds), "never holds");
    EXPECT_EQ(TestAtZeroText(AlwaysHolds), "always holds");
    EXPECT_EQ(TestAtZeroText(CannotBeEvaluated), "cannot be evaluated");
}

// Flag 3 is tested and changed, 4 only tested (one test never holds), 5 only changed, 6 only tested (always
// holds), 9 the score flag and tested only, 250 the score's neighbour untouched; 8 is named only by a
// fractional conjunction result; 0, -3 and 256 are out of range; an unknown object names no flag.
ListBuilder sampleList() {
    ListBuilder b;
    b.add(FlagUse::Score, 9, "(Customize Player) The score uses flag # 9\n")
        .test(3, 0, 1, "(Scene # 1 (Hall) - Ambient Object # 1) Visible when flag # 3 = 1")
        .change(3, "(Scene # 1 (Hall) - Ambient Object # 1) When this object is visible, set flag # 3 to value 1")
        .test(4, 0, 0, "(Scene # 1 (Hall) - HotSpot Object # 2) Visible when flag # 4 = 0")
        .test(4, 0, 1, "(Scene # 2 (Cellar)) If flag # 4 = 1 then load scene # 1 (Hall)")
        .test(4, 9, 1, "(Scene # 2 (Cellar) - Responder Object # 1) Activated when flag # 41")
        .add(FlagUse::Problem, 0,
             "*** PROBLEM - This project uses an Object Type that is unknown to this Project Scanner.  Object "
             "Type = 12 ***")
        .change(5, "(Cue Card # 1) When choice # 1 is clicked, set flag # 5 to value 1")
        .change(5, "(Inventory Item # 2) When examined, add 2 to the current value of flag # 5")
        .test(6, 1, 4, "(Scene # 2 (Cellar) - Goodie Object # 3) Visible when flag # 6 <> 4")
        .test(9, 3, 10, "(Scene # 2 (Cellar) - Reactor Object # 4) Visible when flag # 9 > 10")
        .fractionalResult(8, "(Scene # 2 (Cellar) - Flag Conjunction Object # 5) When all conditions are true, "
                             "object will set flag # 7.5 to value 1")
        .change(0, "(Scene # 3 (Attic)) When this scene is loaded, set flag # 0 to value 1")
        .test(-3, 0, 0, "(Scene # 3 (Attic) - Ambient Object # 1) Visible when flag #-3 = 0")
        .change(256, "(Cue Card # 2) When choice # 4 is clicked, set flag # 256 to value 2");
    return b;
}

TEST(FlagUsage, ClassesCountsAndTheFreeList) {
    const FlagStatementList list = sampleList().list;
    const FlagUsage u = SummarizeFlagUsage(list);
    using enum FlagClass;
    const std::tuple<int, int, int, FlagClass, int> flags[] = {
        // flag, tests, changes, class, dead ends
        {3, 1, 1, TestedAndChanged, 0}, {4, 3, 0, TestedOnly, 1}, {5, 0, 2, ChangedOnly, 0},
        {6, 1, 0, TestedOnly, 0},       {8, 0, 0, OtherUse, 0},   {9, 1, 0, TestedOnly, 0},
        {1, 0, 0, Free, 0},             {7, 0, 0, Free, 0},       {255, 0, 0, Free, 0},
    };
    for (const auto& [f, tests, changes, use, deadEnds] : flags) {
        SCOPED_TRACE(f);
        EXPECT_EQ(std::tuple(u.flag(f).tests, u.flag(f).changes, u.flag(f).use, u.flag(f).deadEnds),
                  std::tuple(tests, changes, use, deadEnds));
    }
    EXPECT_EQ(StatementsOfFlag(list, 4), (std::vector<std::uint32_t>{3, 4, 5}));
    const StatementsByFlag byFlag = SortStatementsByFlag(list);
    EXPECT_EQ(byFlag[4], StatementsOfFlag(list, 4));
    EXPECT_EQ(byFlag[9], (std::vector<std::uint32_t>{10})) << "its test, not the score statement";
    EXPECT_TRUE(byFlag[0].empty() && byFlag[8].empty()) << "out of range, and the fractional result";
    EXPECT_TRUE(u.flag(9).score && !u.testedNeverChanged(9)) << "the score flag is never a dead end";
    EXPECT_TRUE(u.testedNeverChanged(4) && u.testedNeverChanged(6) && !u.testedNeverChanged(3));
    EXPECT_TRUE(u.changedNeverTestedFlag(5) && !u.changedNeverTestedFlag(3));
    EXPECT_EQ(std::tuple(u.inUse, u.free, u.deadEnds, u.deadEndFlags, u.changedNeverTested), std::tuple(6, 249, 1, 1, 1));
    EXPECT_EQ(u.outOfRange, (std::vector<std::uint32_t>{11, 12, 13, 14}));
    std::vector<int> free;
    for (int f = 1; f <= 255; ++f)
        if (f < 3 || f == 7 || f > 9) free.push_back(f);
    EXPECT_EQ(u.freeFlags(), free);
}

TEST(FlagUsage, AScoreFlagOnlyUsedAsScoreIsInUseAndAnEmptyListLeavesEveryFlagFree) {
    ListBuilder b;
    b.add(FlagUse::Score, 250, "(Customize Player) The score uses flag # 250\n");
    const FlagUsage u = SummarizeFlagUsage(b.list);
    EXPECT_EQ(std::tuple(u.flag(250).use, u.inUse, u.free), std::tuple(FlagClass::OtherUse, 1, 254));
    const FlagUsage none = SummarizeFlagUsage({});
    EXPECT_EQ(std::tuple(none.inUse, none.free, none.deadEnds, none.outOfRange.size()), std::tuple(0, 255, 0, 0u));
}

TEST(FlagUsage, AGatheringKeepsEveryStatementTheReportListsAndAFewOfEachKindForTheRest) {
    // Flag 7: ten tests (kept: no change yet), ten changes (the first eight kept), two more tests (not kept).
    // Flag 5 is only changed, twelve times: all kept. Out of range and problems kept; the score not.
    ListBuilder b;
    for (int i = 0; i < 10; ++i) b.test(7, 0, 1, "t");
    for (int i = 0; i < 10; ++i) b.change(7, "c");
    b.test(7, 0, 1, "t").test(7, 0, 1, "t");
    for (int i = 0; i < 12; ++i) b.change(5, "c");
    b.change(300, "o").add(FlagUse::Problem, 0, "p").add(FlagUse::Score, 7, "s");
    FlagUsageTally tally;
    std::string kept;
    for (std::uint32_t i = 0; i < b.list.statements.size(); ++i) {
        const FlagStatement& s = b.list.statements[i];
        if (tally.add(s, i)) kept += std::string(b.list.sentence(s)) + std::to_string(s.flag) + " ";
    }
    std::string expected;
    for (int i = 0; i < 10; ++i) expected += "t7 ";
    for (int i = 0; i < 8; ++i) expected += "c7 ";
    for (int i = 0; i < 12; ++i) expected += "c5 ";
    EXPECT_EQ(kept, expected + "o300 p0 ");
    const FlagUsage u = tally.finish();
    const FlagUsage whole = SummarizeFlagUsage(b.list);
    EXPECT_EQ(std::tuple(u.flag(7).tests, u.flag(7).changes, u.flag(5).changes, u.flag(7).score, u.outOfRange.size()),
              std::tuple(12, 10, 12, true, 1u));
    for (int f = 1; f <= 255; ++f)
        EXPECT_EQ(std::tuple(u.flag(f).tests, u.flag(f).changes, u.flag(f).use),
                  std::tuple(whole.flag(f).tests, whole.flag(f).changes, whole.flag(f).use));
}

const std::string Sep(70, '=');

TEST(FlagUsageReport, FindingsFirstThenTheTableOfEveryFlag) {
    FlagUsageData data{sampleList().list, {}};
    data.usage = SummarizeFlagUsage(data.list);
    ReportText text;
    WriteFlagUsageReport(text, data);
    const std::string& r = text.str();
    const std::size_t table = r.find("\n\nFlags 1 to 255\n");
    ASSERT_NE(table, std::string::npos);
    EXPECT_EQ(r.substr(0, table),
              "\n\n" + Sep + "\n======================== FLAG USAGE SUMMARY =========================" +
                  "\nNOTE: Flags that have been specified in properties, but have their governing checkbox "
                  "UNCHECKED, are not counted in this report."
                  "\nNOTE: Assuming that every flag starts at 0 and changes only through the statements this "
                  "scanner knows, each test of a flag that nothing changes is evaluated at 0: a test that never "
                  "holds is a dead end."
                  "\n\nFlags in use: 6\nFree flags: 249\nDead ends (tests that never hold): 1"
                  "\nFlag numbers outside 1 to 255: 4"
                  "\n\nTested but never changed: possible dead ends"
                  "\n\nFlag # 4: tested 3 times, never changed"
                  "\n  never holds: (Scene # 2 (Cellar)) If flag # 4 = 1 then load scene # 1 (Hall)"
                  "\n  cannot be evaluated: (Scene # 2 (Cellar) - Responder Object # 1) Activated when flag # 41"
                  "\n  always holds: (Scene # 1 (Hall) - HotSpot Object # 2) Visible when flag # 4 = 0"
                  "\n\nFlag # 6: tested 1 time, never changed"
                  "\n  always holds: (Scene # 2 (Cellar) - Goodie Object # 3) Visible when flag # 6 <> 4"
                  "\n\nChanged but never tested"
                  "\n\nFlag # 5: changed 2 times, never tested"
                  "\n  (Cue Card # 1) When choice # 1 is clicked, set flag # 5 to value 1"
                  "\n  (Inventory Item # 2) When examined, add 2 to the current value of flag # 5"
                  "\n\nFlag numbers outside 1 to 255\n"
                  "\n  not a whole number: (Scene # 2 (Cellar) - Flag Conjunction Object # 5) When all conditions "
                  "are true, object will set flag # 7.5 to value 1"
                  "\n  flag # 0: (Scene # 3 (Attic)) When this scene is loaded, set flag # 0 to value 1"
                  "\n  flag #-3: (Scene # 3 (Attic) - Ambient Object # 1) Visible when flag #-3 = 0"
                  "\n  flag # 256: (Cue Card # 2) When choice # 4 is clicked, set flag # 256 to value 2");
    std::string rows = "\n\nFlags 1 to 255\n\nFlag    Tests  Changes  Class";
    const char* classes[] = {"free", "free", "tested and changed", "tested only (dead end)", "changed only",
                             "tested only", "free", "used, not tested or changed", "tested only (score)", "free"};
    const int counts[][2] = {{0, 0}, {0, 0}, {1, 1}, {3, 0}, {0, 2}, {1, 0}, {0, 0}, {0, 0}, {1, 0}, {0, 0}};
    for (int f = 1; f <= 10; ++f) {
        char row[64];
        std::snprintf(row, sizeof row, "\n%4d%9d%9d  ", f, counts[f - 1][0], counts[f - 1][1]);
        rows += row + std::string(classes[f - 1]);
    }
    EXPECT_EQ(r.substr(table, rows.size()), rows);
    EXPECT_TRUE(r.ends_with("\n 255        0        0  free\n" + Sep)) << r.substr(r.size() - 200);
    EXPECT_EQ(std::count(r.begin() + static_cast<long>(table), r.end(), '\n'), 4 + 255 + 1);
}

TEST(FlagUsageReport, EmptySectionsSayNone) {
    FlagUsageData data;
    data.usage = SummarizeFlagUsage(data.list);
    ReportText text;
    WriteFlagUsageReport(text, data);
    EXPECT_NE(text.str().find("\n\nFlags in use: 0\nFree flags: 255\nDead ends (tests that never hold): 0"
                              "\nFlag numbers outside 1 to 255: 0"
                              "\n\nTested but never changed: possible dead ends\n(none)"
                              "\n\nChanged but never tested\n(none)"
                              "\n\nFlag numbers outside 1 to 255\n(none)\n\nFlags 1 to 255\n"),
              std::string::npos)
        << text.str();
    EXPECT_EQ(SentenceLine("\n(Customize Player) The score uses flag # 9\n"),
              "(Customize Player) The score uses flag # 9");
}

} // namespace
} // namespace orv::testing
