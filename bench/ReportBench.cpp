#include "bench/MeasureReport.h"
#include "audit/FilesAudit.h"
#include "audit/MissingUnusedFilesReport.h"
#include "bench/LargeProject.h"
#include "data/LoadProject.h"
#include "reports/FlagReach.h"
#include "reports/ReportContext.h"
#include "reports/RunReport.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace orv {
namespace {

// A generated project of `sceneCount` full scenes, written once per
// benchmark and loaded as the desktop program loads it; each run opens the
// data files again, as the desktop's report runs do.
struct BenchProject {
    testing::TempDir dir;
    LoadedProject project;
    RunState run;
    ReportText text;
    ReportHost host;
    FilesAudit audit;
    ReportContext ctx{project, run, text, host};

    explicit BenchProject(int sceneCount, int distinctFiles = 0) {
        Result<OpenProject> open = LoadProject(
            ProjectPaths::fromProjectFile(bench::WriteLargeProject(dir.path(), {sceneCount, distinctFiles})),
            noEventLoop());
        if (!open)
            throw std::runtime_error("the generated project does not load");
        project = std::move(open->project);
        ctx.resourceFilesReport = [this](ReportContext& c) { MissingUnusedFilesReport(c, audit); };
    }

    void measure(benchmark::State& bench, Integer kind) {
        bench::MeasureReportRuns(bench, kind, ctx);
    }
};

void AllFlagsTracker(benchmark::State& bench) {
    BenchProject(static_cast<int>(bench.range(0))).measure(bench, FlagsByFlagKind);
}

void AllScenesTracker(benchmark::State& bench) {
    BenchProject(static_cast<int>(bench.range(0))).measure(bench, FlagsBySceneKind);
}

void UnusedFlags(benchmark::State& bench) {
    BenchProject(static_cast<int>(bench.range(0))).measure(bench, UnusedFlagsKind);
}

void FlagUsageSummary(benchmark::State& bench) {
    BenchProject(static_cast<int>(bench.range(0))).measure(bench, FlagUsageKind);
}

// The analysis of what each flag can reach, in a pass of its own (the data
// files opened, every statement classified, the fixpoint), against the flag
// usage summary's whole run above.
void FlagReachAnalysis(benchmark::State& bench) {
    BenchProject p(static_cast<int>(bench.range(0)));
    std::size_t findings = 0;
    for (auto _ : bench) {
        const Result<ProjectFiles> files = OpenDataFiles(p.project, noEventLoop());
        const FlagReach reach = GatherFlagReach({p.project, *files});
        findings = reach.neverHolds.size() + reach.alwaysHolds.size() + reach.unreachable.size();
        benchmark::DoNotOptimize(findings);
    }
    bench.counters["findings"] = static_cast<double>(findings);
}

void ResourceFiles(benchmark::State& bench) {
    BenchProject(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1))).measure(bench, ResourceFilesKind);
}

void Load(benchmark::State& bench) {
    testing::TempDir dir;
    const auto projectFile = bench::WriteLargeProject(dir.path(), {static_cast<int>(bench.range(0)), 0});
    for (auto _ : bench)
        benchmark::DoNotOptimize(LoadProject(ProjectPaths::fromProjectFile(projectFile), noEventLoop()).ok());
}

BENCHMARK(AllFlagsTracker)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(AllScenesTracker)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(UnusedFlags)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(FlagUsageSummary)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(FlagReachAnalysis)->Arg(1000)->Unit(benchmark::kMillisecond);
// The format's largest project: the analysis is to cost at most twice the summary.
BENCHMARK(FlagUsageSummary)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(FlagReachAnalysis)->Arg(32767)->Unit(benchmark::kMillisecond);
// The ordinary media folders, and 40,000 different files all named and present.
BENCHMARK(ResourceFiles)->Args({1000, 0})->Args({1000, 50000})->Unit(benchmark::kMillisecond);
BENCHMARK(Load)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orv

BENCHMARK_MAIN();
