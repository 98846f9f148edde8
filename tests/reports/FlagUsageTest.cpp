// The flag usage summary: its rules on a list built by hand, the sample project against its expected text,
// and random projects against the two reports that already answer parts of its question: its free flags are
// the unused flags report's list, and each flag's tests and changes are the lines the all-flags tracker
// writes under that flag's heading, in the same order.

#include "reports/FlagUsage.h"

#include "reports/FlagUsageReport.h"
#include "reports/ReportFixture.h"
#include "reports/TextConventions.h"
#include "support/Paths.h"
#include "support/RandomProject.h"
#include "support/StatementListBuilder.h"

#include <regex>

namespace orv::testing {
namespace {

TEST(FlagUsage, EachComparisonCodeIsEvaluatedWithTheFlagAtZero) {
    using enum TestAtZero;
    const std::tuple<Integer, Integer, TestAtZero> cases[] = {
        {0, 0, AlwaysHolds},       {0, 1, NeverHolds},         {0, -1, NeverHolds},  // =
        {1, 0, NeverHolds},        {1, 5, AlwaysHolds},        {1, -2, AlwaysHolds}, // <>
        {2, 1, AlwaysHolds},       {2, 0, NeverHolds},         {2, -1, NeverHolds},  // <
        {3, -1, AlwaysHolds},      {3, 0, NeverHolds},         {3, 1, NeverHolds},   // >
        {4, 0, CannotBeEvaluated}, {-1, 0, CannotBeEvaluated}, {7, 3, CannotBeEvaluated}};
    for (const auto& [code, value, expected] : cases)
        EXPECT_EQ(EvaluateAtZero(code, value), expected) << "code " << code << ", value " << value;
}

// Flag 3 is tested and changed, 4 only tested (one test never holds), 5 only changed, 6 only tested (always
// holds), 9 the score flag and tested only; 8 is named only by a fractional conjunction result; 0, -3 and
// 256 are out of range; an unknown object names no flag.
ListBuilder sampleList() {
    ListBuilder b;
    b.add(FlagUse::Score, 9, "(Customize Player) The score uses flag # 9\n")
        .test(3, 0, 1, "(Scene # 1 (Hall) - Ambient Object # 1) Visible when flag # 3 = 1")
        .change(3, "(Scene # 1 (Hall) - Ambient Object # 1) When this object is visible, set flag # 3 to value 1")
        .test(4, 0, 0, "(Scene # 1 (Hall) - HotSpot Object # 2) Visible when flag # 4 = 0")
        .test(4, 0, 1, "(Scene # 2 (Cellar)) If flag # 4 = 1 then load scene # 1 (Hall)")
        .test(4, 9, 1, "(Scene # 2 (Cellar) - Responder Object # 1) Activated when flag # 41")
        .add(FlagUse::Problem, 0,
             "*** PROBLEM - This project uses an Object Type that is unknown to this Project "
             "Scanner.  Object Type = 12 ***")
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

// Each flag's counts and class, and the order of the dead ends, are in the report written below.
TEST(FlagUsage, StatementsByFlagTheTotalsAndTheFreeList) {
    const FlagStatementList list = sampleList().list;
    const FlagUsage u = SummarizeFlagUsage(list);
    const StatementsByFlag byFlag = SortStatementsByFlag(list);
    EXPECT_EQ(byFlag[4], (std::vector<std::uint32_t>{3, 4, 5}));
    EXPECT_EQ(byFlag[9], (std::vector<std::uint32_t>{10})) << "its test, not the score statement";
    EXPECT_TRUE(byFlag[0].empty() && byFlag[8].empty()) << "out of range, and the fractional result";
    EXPECT_TRUE(u.flag(9).score && !u.testedNeverChanged(9)) << "the score flag is never a dead end";
    EXPECT_EQ(std::tuple(u.inUse, u.free, u.deadEnds, u.deadEndFlags, u.changedNeverTested),
              std::tuple(6, 249, 1, 1, 1));
    EXPECT_EQ(u.outOfRange, 4u);
    EXPECT_EQ(u.freeFlags().size(), 249u);
    EXPECT_EQ(std::tuple(u.freeFlags()[1], u.freeFlags()[2]), std::tuple(2, 7));

    ListBuilder scoreOnly; // used, though neither tested nor changed
    scoreOnly.add(FlagUse::Score, 250, "(Customize Player) The score uses flag # 250\n");
    const FlagUsage score = SummarizeFlagUsage(scoreOnly.list);
    EXPECT_EQ(std::tuple(score.flag(250).use, score.inUse, score.free), std::tuple(FlagClass::OtherUse, 1, 254));
    const FlagUsage none = SummarizeFlagUsage({});
    EXPECT_EQ(std::tuple(none.inUse, none.free, none.deadEnds, none.outOfRange), std::tuple(0, 255, 0, 0u));
}

TEST(FlagUsage, AGatheringKeepsEveryStatementTheReportListsAndAFewOfEachKindForTheRest) {
    // Flag 7: ten tests (the first eight kept), ten changes (the first eight kept), two more tests (not kept).
    // Flag 5 is only changed, twelve times: all kept. Problems kept; out of range and the score not (the
    // report reads flags out of range again).
    ListBuilder b;
    for (int i = 0; i < 10; ++i)
        b.test(7, 0, 1, "t");
    for (int i = 0; i < 10; ++i)
        b.change(7, "c");
    b.test(7, 0, 1, "t").test(7, 0, 1, "t");
    for (int i = 0; i < 12; ++i)
        b.change(5, "c");
    b.change(300, "o").add(FlagUse::Problem, 0, "p").add(FlagUse::Score, 7, "s");
    FlagUsageTally tally;
    std::string kept, expected;
    for (std::uint32_t i = 0; i < b.list.statements.size(); ++i)
        if (const FlagStatement& s = b.list.statements[i]; tally.add(s))
            kept += std::string(b.list.sentence(s)) + std::to_string(s.flag) + " ";
    for (const auto& [piece, times] : {std::pair{"t7 ", KeptPerKind}, {"c7 ", KeptPerKind}, {"c5 ", 12}})
        for (int i = 0; i < times; ++i)
            expected += piece;
    EXPECT_EQ(kept, expected + "p0 ");
    const FlagUsage u = tally.finish();
    EXPECT_EQ(std::tuple(u.flag(7).tests, u.flag(7).changes, u.flag(5).changes, u.flag(7).score, u.outOfRange),
              std::tuple(12, 10, 12, true, 1u));
}

using FlagUsageReportRun = ReportFixture;

// The project of sampleList(), made on disk: the report reads its statements again as it writes them.
TEST_F(FlagUsageReportRun, FindingsFirstThenTheTableOfEveryFlag) {
    builder.settings.ScoreEnabled = 1;
    builder.settings.ScoreFlag = 9;
    SceneRecord hall = makeScene("Hall"), cellar = sceneWith("Cellar", {1, 4, 0, 1, 1}, {0, 0, 0, 0}),
                attic = sceneWith("Attic", {0, 0, 0, 0, 0}, {1, 0, 1, 0});
    hall.Slots[0] = objectOf(0, {{149, {2, 3, 0, 1, 1, 3, 1, 0}}});
    hall.Slots[1] = objectOf(1, {{167, {2, 4, 0, 0}}});
    cellar.Slots[0] = objectOf(5, {{141, {1, 4, 9, 1}}});
    cellar.Slots[1] = objectOf(12, {});
    cellar.Slots[2] = objectOf(2, {{163, {2, 6, 1, 4}}});
    cellar.Slots[3] = objectOf(4, {{149, {2, 9, 3, 10}}});
    cellar.Slots[4] = objectOf(9, {}, {"7.5", "1", ""});
    attic.Slots[0] = objectOf(0, {{149, {2, -3, 0, 0}}});
    builder.scenes = {hall, cellar, attic};
    builder.cueCards = {{0, {1, 0, 0, 0, 0}, {5, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {2, 0, 0, 0, 0}, {}},
                        {0, {0, 0, 0, 1, 0}, {0, 0, 0, 256, 0}, {0, 0, 0, 2, 0}, {0, 0, 0, 2, 0}, {}}};
    builder.items = {{{}, 2, 0, 0, 0, 0}, {{}, 1, 5, 2, 1, 0}};
    load();
    const std::string r = runReport(FlagUsageKind);
    const std::size_t table = r.find("\n\nFlags 1 to 255\n");
    ASSERT_NE(table, std::string::npos);
    EXPECT_NE(r.find("\n*** PROBLEM - This project uses an Object Type that is unknown to this Project Scanner.  Object "
                     "Type = 12 ***\n"),
              std::string::npos);
    EXPECT_TRUE(r.substr(0, table).ends_with(
        "\n\nFlags in use: 6\nFree flags: 249\nDead ends (tests that never hold): 1\nFlag numbers outside 1 to 255: 4"
        "\n\nTested but never changed: possible dead ends"
        "\n\nFlag # 4: tested 3 times, never changed"
        "\n  never holds: (Scene # 2 (Cellar)) If flag # 4 = 1 then load scene # 1 (Hall)"
        "\n  cannot be evaluated: (Scene # 2 (Cellar) - Responder Object # 1) Activated when flag # 41"
        "\n  always holds: (Scene # 1 (Hall) - HotSpot Object # 2) Visible when flag # 4 = 0"
        "\n\nFlag # 6: tested 1 time, never changed"
        "\n  always holds: (Scene # 2 (Cellar) - Goodie Object # 3) Visible when flag # 6 <> 4"
        "\n\nChanged but never tested\n\nFlag # 5: changed 2 times, never tested"
        "\n  (Cue Card # 1) When choice # 1 is clicked, set flag # 5 to value 1"
        "\n  (Inventory Item # 2) When examined, add 2 to the current value of flag # 5"
        "\n\nFlag numbers outside 1 to 255\n"
        "\n  not a whole number: (Scene # 2 (Cellar) - Flag Conjunction Object # 5) When all conditions are true, "
        "object will set flag # 7.5 to value 1"
        "\n  flag # 0: (Scene # 3 (Attic)) When this scene is loaded, set flag # 0 to value 1"
        "\n  flag #-3: (Scene # 3 (Attic) - Ambient Object # 1) Visible when flag #-3 = 0"
        "\n  flag # 256: (Cue Card # 2) When choice # 4 is clicked, set flag # 256 to value 2"))
        << r.substr(0, table);
    EXPECT_TRUE(r.substr(table).starts_with("\n\nFlags 1 to 255\n\nFlag    Tests  Changes  Class\n   1        0        0  "
                                            "free\n   2        0        0  free\n   3        1        1  tested and "
                                            "changed\n   4        3        0  tested only (dead end)\n"));
    EXPECT_NE(r.find("\n   8        0        0  used, not tested or changed\n   9        1        0  tested only "
                     "(score)\n"),
              std::string::npos);
    EXPECT_NE(r.find("\n 255        0        0  free\n\nWhat each flag can reach\n"), std::string::npos);

    builder = {};
    builder.scenes = {makeScene("Hall")};
    load();
    EXPECT_NE(runReport(FlagUsageKind)
                  .find("\n\nTested but never changed: possible dead ends\n(none)\n\nChanged but never tested\n"
                        "(none)\n\nFlag numbers outside 1 to 255\n(none)\n\nFlags 1 to 255\n"),
              std::string::npos);
}

// The lines the all-flags tracker writes under each flag's heading, problem lines left out.
std::array<std::vector<std::string>, 256> trackerLines(const std::string& report) {
    std::array<std::vector<std::string>, 256> lines;
    const std::regex heading(R"(>>>>>> FLAG # (\d+) <<<<<<)");
    int flag = 0;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_match(line, m, heading))
            flag = std::stoi(m[1]);
        else if (line == std::string(70, '='))
            flag = 0;
        else if (flag && !line.empty() && !line.starts_with("*** PROBLEM"))
            lines[std::size_t(flag)].push_back(line);
    }
    return lines;
}

class FlagUsageCrossCheck : public ReportFixture, public ::testing::WithParamInterface<unsigned> {};

TEST_P(FlagUsageCrossCheck, FreeFlagsAreTheUnusedListAndEachFlagsStatementsAreTheTrackersLines) {
    builder = randomProject(GetParam());
    load();
    const std::string unusedReport = runReport(UnusedFlagsKind);
    const std::string lead = "The following flags do not appear to be in use in this project:\n";
    std::istringstream listed(unusedReport.substr(unusedReport.find(lead) + lead.size()));
    std::vector<int> unused;
    for (int n; listed >> n;)
        unused.push_back(n);
    state.TrackedFlag = AllSelector;
    const auto tracked = trackerLines(runReport(FlagsByFlagKind));

    // The whole classified list, and the summary as a report gathers it (keeping few statements), then
    // worded on demand as the flag map does.
    FlagStatementList all;
    GatherFlagStatements(source(), all, {});
    FlagUsageData data = GatherFlagUsage(source(), host);
    // As the report words them: a flag's tests from the reach analysis, its changes from what the gathering kept.
    std::vector<std::vector<std::string>> asListed(256);
    const StatementsByFlag gatheredByFlag = SortStatementsByFlag(data.list);
    for (std::size_t f = 1; f <= 255; ++f) {
        std::vector<std::uint32_t> tests;
        for (std::uint32_t t = 0; t < data.reach.tests.size(); ++t)
            if (data.reach.tests[t].flag == f)
                tests.push_back(t);
        const auto add = [&](std::size_t, const FlagStatement&, std::string_view sentence) {
            asListed[f].emplace_back(sentence);
        };
        if (data.usage.flag(int(f)).changes == 0)
            ForEachWorded(source(), tests.size(), [&](std::size_t at) { return data.reach.testStatement(tests[at]); }, add);
        else
            ForEachWorded(source(), data.list, gatheredByFlag[f], add);
    }
    WordStatements(source(), data.list, [](const FlagStatement&) { return true; });
    const FlagUsage whole = SummarizeFlagUsage(all);
    const FlagUsage& u = data.usage;
    EXPECT_EQ(u.freeFlags(), unused);
    const StatementsByFlag allByFlag = SortStatementsByFlag(all), keptByFlag = SortStatementsByFlag(data.list);
    const auto sentences = [](const FlagStatementList& list, const std::vector<std::uint32_t>& indexes) {
        std::vector<std::string> out;
        for (std::uint32_t i : indexes)
            out.emplace_back(list.sentence(list.statements[i]));
        return out;
    };
    int statements = 0;
    for (std::size_t f = 1; f <= 255; ++f) {
        SCOPED_TRACE(f);
        const FlagUsageEntry& e = u.flag(int(f));
        const auto lines = sentences(all, allByFlag[f]);
        EXPECT_EQ(lines, tracked[f]);
        EXPECT_EQ(std::tuple(e.tests + e.changes, e.use, e.deadEnds),
                  std::tuple(int(lines.size()), whole.flag(int(f)).use, whole.flag(int(f)).deadEnds));
        // What the report lists of a flag used one way (but the score flag): all, worded and in order; what the
        // gathering kept of the others: a few, worded on demand, in the tracker's order.
        const auto kept = sentences(data.list, keptByFlag[f]);
        if ((e.tests == 0 || e.changes == 0) && !e.score)
            EXPECT_EQ(asListed[f], lines);
        else
            EXPECT_LE(kept.size(), std::size_t(2 * KeptPerKind));
        std::size_t at = 0;
        for (const std::string& line : kept) {
            while (at < lines.size() && lines[at] != line)
                ++at;
            EXPECT_LT(at++, lines.size()) << "kept in the tracker's order: " << line;
        }
        statements += e.tests + e.changes;
    }
    EXPECT_EQ(std::tuple(u.inUse, u.deadEnds, u.outOfRange), std::tuple(whole.inUse, whole.deadEnds, whole.outOfRange));
    EXPECT_GT(statements, 0) << "a project that says nothing checks nothing";
    EXPECT_NE(runReport(FlagUsageKind)
                  .find("\nFlags in use:" + SignedForm(255 - long(unused.size())) +
                        "\nFree flags:" + SignedForm(long(unused.size())) + "\n"),
              std::string::npos);
    EXPECT_EQ(std::tuple(state.ReportName, host.progressValue()),
              std::tuple("Flag Usage Report", host.progressMaximum()));
}

INSTANTIATE_TEST_SUITE_P(RandomProjects, FlagUsageCrossCheck, ::testing::Range(1u, 13u));


TEST_F(FlagUsageReportRun, TheSampleProjectHasADeadEndAFlagChangedNeverTestedAndFlagZero) {
    fs::copy(fs::path(ExamplesDir) / "lighthouse", dir.path(), fs::copy_options::recursive);
    load(dir / "lighthouse.orv");
    EXPECT_EQ(runReport(FlagUsageKind), header() + expectedText("flag-usage-lighthouse.txt"));
    EXPECT_EQ(std::tuple(host.progressMaximum(), host.progressValue()), std::tuple(12 + 3 + 6 + 5, 12 + 3 + 6 + 5));
}

// More statements than one batch of wording: 6,000 Ambient objects, each visible when flag 5 (which nothing
// changes) is 1 or 0 by turns. The summary lists the tests that never hold first, then those that always
// hold, each group in the project's order, across the batches; the reach section lists the first group.
TEST_F(FlagUsageReportRun, SectionsLongerThanABatchKeepTheirOrder) {
    for (int s = 1; s <= 300; ++s) {
        SceneRecord scene = makeScene("S" + std::to_string(s));
        for (int k = 0; k < 20; ++k)
            scene.Slots[std::size_t(k)] = objectOf(0, {{149, {2, 5, 0, Integer((s + k) % 2)}}});
        builder.scenes.push_back(scene);
    }
    load();
    std::string never, always, reach;
    for (int s = 1; s <= 300; ++s)
        for (int k = 1; k <= 20; ++k) {
            const std::string test = "(Scene #" + SignedForm(s) + " (S" + std::to_string(s) +
                                     ") - Ambient Object #" + SignedForm(k) + ") Visible when flag # 5 = ";
            ((s + k - 1) % 2 ? never : always) += "\n  " + std::string((s + k - 1) % 2 ? "never" : "always") +
                                                 " holds: " + test + ((s + k - 1) % 2 ? "1" : "0");
            if ((s + k - 1) % 2)
                reach += "\n  " + test + "1\n    because nothing changes flag # 5, so it is always 0";
        }
    const std::string report = runReport(FlagUsageKind);
    EXPECT_NE(report.find("\n\nFlag # 5: tested 6000 times, never changed" + never + always + "\n\n"),
              std::string::npos);
    EXPECT_NE(report.find("\n\nTests that never hold\n" + reach + "\n\n"), std::string::npos);
}

TEST_F(FlagUsageReportRun, UnknownObjectTypesStandAboveTheBodyAndAnUnreadableFileStopsTheSummary) {
    buildTrackerProject(builder); // object types -2 and 10 in scene 3
    builder.cueCards.resize(4);
    load();
    const std::string problem = "\n*** PROBLEM - This project uses an Object Type that is unknown to this Project "
                                "Scanner.  Object Type =";
    const std::string report = runReport(FlagUsageKind);
    EXPECT_TRUE(report.starts_with(header() + problem + "-2 ***" + problem + " 10 ***\n\n" + std::string(70, '=')));
    EXPECT_NE(report.find("\nFlags in use: 3\n"), std::string::npos) << "12, 20 and 40";
    host.breakFile = dir / "resource" / "Orvanta5.dat";
    EXPECT_EQ(runReport(FlagUsageKind),
              header() + "\n\n" + std::string(70, '=') + "\n" + std::string(FlagUsageBanner) +
                  "\n*** The scan stopped: the file " + host.breakFile.string() +
                  " could not be read (Is a directory). No flag usage summary was made. ***\n" + std::string(70, '='));
    EXPECT_TRUE(host.broken);
}

} // namespace
} // namespace orv::testing
