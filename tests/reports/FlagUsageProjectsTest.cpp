#include "reports/FlagUsage.h"
#include "reports/FlagUsageReport.h"
#include "reports/ReportFixture.h"
#include "reports/TextConventions.h"
#include "support/Paths.h"

#include <random>
#include <regex>

// The flag usage summary on whole projects: the sample project against its expected text, and random
// projects against the two reports that already answer parts of its question: its free flags are the
// unused flags report's list, and each flag's tests and changes are the lines the all-flags tracker writes
// under that flag's heading, in the same order.

namespace orv::testing {
namespace {

// A project with every kind of flag statement, switched on and off at random, naming flags mostly from 1
// to 30 and now and then 0, a negative number or one above 255; conjunction results with whole, fractional
// and non-numeric flag texts; an unknown object type now and then.
ProjectBuilder randomProject(unsigned seed) {
    std::mt19937 random(seed);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto value = [&]() -> Integer {
        const int kind = pick(0, 9);
        if (kind < 5) return Integer(pick(1, 30));
        if (kind < 8) return Integer(pick(0, 3));
        const Integer odd[] = {-1, -7, 0, 256, 300, 255};
        return odd[pick(0, 5)];
    };
    ProjectBuilder b;
    b.settings.ScoreEnabled = Integer(pick(0, 2));
    b.settings.ScoreFlag = value();
    const int scenes = pick(2, 6);
    for (int s = 1; s <= scenes; ++s) {
        SceneRecord scene = makeScene("Scene " + std::to_string(s));
        std::tie(scene.CondLoadEnabled, scene.CondLoadFlag, scene.CondLoadOperator, scene.CondLoadValue) =
            std::tuple(Integer(pick(0, 2)), value(), Integer(pick(-1, 4)), value());
        scene.CondLoadScene = Integer(pick(0, scenes));
        std::tie(scene.OnLoadFlagEnabled, scene.OnLoadFlag, scene.OnLoadValue, scene.OnLoadAdds) =
            std::tuple(Integer(pick(0, 2)), value(), value(), Integer(pick(0, 2)));
        for (ObjectSlot& slot : scene.Slots) {
            const int type = pick(-3, 11);
            slot.ObjectType = Integer(type == -3 || type == -2 ? -1 : type == 11 ? 12 : type);
            for (Integer& setting : slot.Settings) setting = value();
            const char* texts[] = {"7", "7.5", "abc", "12abc", " 3", "2.5", "300", "-4", ""};
            slot.ObjectText[0] = texts[pick(0, 8)];
            slot.ObjectText[1] = std::to_string(pick(0, 5));
            slot.ObjectText[2] = std::to_string(pick(0, 1));
        }
        b.scenes.push_back(scene);
    }
    b.cueCards.resize(std::size_t(pick(0, 3)));
    for (CueCardRecord& card : b.cueCards)
        for (std::size_t c = 0; c < 5; ++c)
            std::tie(card.ChoiceSetsFlag[c], card.ChoiceFlag[c], card.ChoiceValue[c], card.ChoiceAdds[c]) =
                std::tuple(Integer(pick(0, 2)), value(), value(), Integer(pick(0, 2)));
    b.items.resize(std::size_t(pick(0, 3)));
    for (InventoryItemRecord& item : b.items)
        std::tie(item.ExamineSetsFlag, item.ExamineFlag, item.ExamineValue, item.ExamineAdds) =
            std::tuple(Integer(pick(0, 2)), value(), value(), Integer(pick(0, 2)));
    return b;
}

// The lines the all-flags tracker writes under each flag's heading, problem lines left out.
std::array<std::vector<std::string>, 256> trackerLines(const std::string& report) {
    std::array<std::vector<std::string>, 256> lines;
    const std::regex heading(R"(>>>>>> FLAG # (\d+) <<<<<<)");
    int flag = 0;
    std::size_t start = 0;
    while (start <= report.size()) {
        std::size_t end = report.find('\n', start);
        if (end == std::string::npos) end = report.size();
        const std::string line = report.substr(start, end - start);
        std::smatch m;
        if (std::regex_match(line, m, heading))
            flag = std::stoi(m[1]);
        else if (line == std::string(70, '='))
            flag = 0;
        else if (flag && !line.empty() && !line.starts_with("*** PROBLEM"))
            lines[std::size_t(flag)].push_back(line);
        start = end + 1;
    }
    return lines;
}

class FlagUsageCrossCheck : public ReportFixture, public ::testing::WithParamInterface<unsigned> {};

TEST_P(FlagUsageCrossCheck, FreeFlagsAreTheUnusedListAndEachFlagsStatementsAreTheTrackersLines) {
    builder = randomProject(GetParam());
    load();
    runReport(UnusedFlagsKind);
    std::vector<int> unused;
    for (const std::string& entry : state.UnusedFlags) unused.push_back(std::stoi(entry));

    state.TrackedFlag = AllSelector;
    const auto tracked = trackerLines(runReport(FlagsByFlagKind));

    // The whole classified list, and the summary as a report gathers it (keeping few statements).
    ctx.files.emplace(OpenDataFiles(project, noEventLoop()));
    const FlagStatementList all = GatherFlagStatements(ctx);
    FlagUsageData data = GatherFlagUsage(ctx);
    const FlagUsageData asGathered = data;
    // The tooltips' statements, worded on demand as the map does.
    WordStatements(ctx, data.list, [](const FlagStatement&) { return true; });
    ctx.files.reset();
    const FlagUsage whole = SummarizeFlagUsage(all);
    const FlagUsage& u = data.usage;
    EXPECT_EQ(u.freeFlags(), unused);
    EXPECT_EQ(whole.freeFlags(), unused);
    const StatementsByFlag allByFlag = SortStatementsByFlag(all), keptByFlag = SortStatementsByFlag(data.list);
    int statements = 0;
    for (int f = 1; f <= 255; ++f) {
        SCOPED_TRACE(f);
        const FlagUsageEntry& e = u.flag(f);
        const auto sentences = [](const FlagStatementList& list, const std::vector<std::uint32_t>& indexes) {
            std::vector<std::string> out;
            for (std::uint32_t i : indexes) out.emplace_back(list.sentence(list.statements[i]));
            return out;
        };
        const auto lines = sentences(all, allByFlag[std::size_t(f)]);
        EXPECT_EQ(lines, tracked[std::size_t(f)]);
        EXPECT_EQ(e.tests + e.changes, int(tracked[std::size_t(f)].size()));
        EXPECT_EQ(std::tuple(e.tests, e.changes, e.use, e.deadEnds),
                  std::tuple(whole.flag(f).tests, whole.flag(f).changes, whole.flag(f).use, whole.flag(f).deadEnds));
        // What the gathering kept: all of a flag used one way (but the score flag), worded and in order; of
        // the others, a few, worded on demand.
        const auto kept = sentences(data.list, keptByFlag[std::size_t(f)]);
        if ((e.tests == 0 || e.changes == 0) && !e.score) // the report lists them all
            EXPECT_EQ(sentences(asGathered.list, keptByFlag[std::size_t(f)]), lines);
        else
            EXPECT_LE(kept.size(), std::size_t(2 * KeptPerKind));
        std::size_t at = 0; // each kept line found after the one before it
        for (const std::string& line : kept) {
            while (at < lines.size() && lines[at] != line) ++at;
            EXPECT_LT(at++, lines.size()) << "kept in the tracker's order: " << line;
        }
        statements += e.tests + e.changes;
    }
    EXPECT_EQ(std::tuple(u.inUse, u.deadEnds, u.outOfRange.size()),
              std::tuple(whole.inUse, whole.deadEnds, whole.outOfRange.size()));
    EXPECT_GT(statements, 0) << "a project that says nothing checks nothing";

    // The report says the same.
    const std::string report = runReport(FlagUsageKind);
    EXPECT_NE(report.find("\nFlags in use:" + SignedForm(255 - long(unused.size())) +
                          "\nFree flags:" + SignedForm(long(unused.size())) + "\n"),
              std::string::npos);
    EXPECT_EQ(state.ReportName, "Flag Usage Report");
    EXPECT_EQ(host.progressValue(), host.progressMaximum());
}

INSTANTIATE_TEST_SUITE_P(RandomProjects, FlagUsageCrossCheck, ::testing::Range(1u, 13u));

using FlagUsageReportRun = ReportFixture;

TEST_F(FlagUsageReportRun, TheSampleProjectHasADeadEndAFlagChangedNeverTestedAndFlagZero) {
    fs::copy(fs::path(ExamplesDir) / "lighthouse", dir.path(), fs::copy_options::recursive);
    ChooseProjectFile(project, dir / "lighthouse.orv");
    ASSERT_TRUE(LoadProject(project, noEventLoop()).loaded());
    EXPECT_EQ(runReport(FlagUsageKind), header() + expectedText("flag-usage-lighthouse.txt"));
    EXPECT_EQ(host.progressMaximum(), 12 + 3 + 6 + 5);
    EXPECT_EQ(host.progressValue(), host.progressMaximum());
}

TEST_F(FlagUsageReportRun, UnknownObjectTypesStandAboveTheBodyAndAnUnreadableFileStopsTheSummary) {
    buildTrackerProject(builder); // object types -2 and 10 in scene 3
    builder.cueCards.resize(4);
    load();
    const std::string problem = "\n*** PROBLEM - This project uses an Object Type that is unknown to this Project "
                                "Scanner.  Object Type =";
    const std::string report = runReport(FlagUsageKind);
    EXPECT_TRUE(report.starts_with(header() + problem + "-2 ***" + problem + " 10 ***\n\n" + std::string(70, '=')))
        << report.substr(0, 600);
    EXPECT_NE(report.find("\nFlags in use: 3\n"), std::string::npos) << "12, 20 and 40";

    host.breakFile = dir / "resource" / "Orvanta5.dat";
    EXPECT_EQ(runReport(FlagUsageKind),
              header() + "\n\n" + std::string(70, '=') + "\n" + std::string(FlagUsageBanner) +
                  "\n*** The scan stopped: the file " + host.breakFile.string() +
                  " could not be read (Is a directory). No flag usage summary was made. ***\n" +
                  std::string(70, '='));
    EXPECT_TRUE(host.broken);
}

} // namespace
} // namespace orv::testing
