#include "audit/AuditLists.h"
#include "audit/MissingUnusedFilesReport.h"
#include "data/LoadProject.h"
#include "reports/ReportContext.h"
#include "reports/RunReport.h"
#include "support/ProjectBuilder.h"
#include "support/RecordEncoders.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace orv {
namespace {

// The settings that switch every statement of an object type on.
std::vector<std::pair<std::size_t, Integer>> switchesOn(Integer type) {
    switch (type) {
    case 0:
    case 4: return {{149, 2}, {157, 1}};
    case 1: return {{167, 2}, {175, 1}};
    case 2: return {{163, 2}, {171, 1}};
    case 3: return {{165, 2}};
    case 5: return {{141, 1}, {165, 1}};
    case 7: return {{149, 1}, {165, 1}, {181, 1}};
    case 8: return {{143, 2}};
    case 9: return {{143, 1}, {151, 1}, {159, 1}, {167, 1}, {175, 1}, {183, 1}};
    default: return {};
    }
}

Integer flagNumber(long n) { return static_cast<Integer>(n % 255 + 1); }

// `sceneCount` scenes with both header statements on and all 20 slots
// holding objects of every type in turn, each statement switched on, the
// flags spread over 1 to 255.
testing::ProjectBuilder fullProject(int sceneCount) {
    testing::ProjectBuilder b;
    b.settings.ScoreEnabled = 1;
    b.settings.ScoreFlag = 1;
    for (int s = 1; s <= sceneCount; ++s) {
        SceneRecord scene = testing::makeScene("Scene " + std::to_string(s));
        scene.CondLoadEnabled = 1;
        scene.CondLoadFlag = flagNumber(s);
        scene.CondLoadScene = static_cast<Integer>(s % sceneCount + 1);
        scene.OnLoadFlagEnabled = 1;
        scene.OnLoadFlag = flagNumber(s * 3);
        scene.OnLoadValue = 1;
        for (int k = 1; k <= 20; ++k) {
            ObjectSlot& slot = scene.Slots[static_cast<std::size_t>(k - 1)];
            slot.ObjectType = static_cast<Integer>((s + k) % 10);
            for (std::size_t i = 0; i < slot.Settings.size(); ++i)
                slot.Settings[i] = flagNumber(s * 7 + k * 13 + static_cast<long>(i));
            for (const auto& [offset, value] : switchesOn(slot.ObjectType))
                testing::setSetting(slot, offset, value);
            slot.ObjectText[0] = std::to_string(flagNumber(s + k));
            slot.ObjectText[1] = "1";
            // Picture and sound references spread over 4,000 names, of which
            // the folders hold 3,000 (see withMedia).
            slot.ObjectText[2] = "pic" + std::to_string((s * 20 + k) % 4000) + ".bmp";
            slot.ObjectText[3] = "snd" + std::to_string((s * 20 + k) % 4000) + ".wav";
        }
        b.scenes.push_back(std::move(scene));
    }
    return b;
}

// A generated project of `sceneCount` full scenes, written once per
// benchmark and loaded as the desktop program loads it.
struct LoadedProject {
    testing::TempDir dir;
    ProjectState project;
    RunState run;
    ReportText text;
    ReportHost host;
    AuditLists lists;
    ReportContext ctx{project, run, text, host};

    explicit LoadedProject(int sceneCount, int mediaFiles = 0) {
        testing::ProjectBuilder b = fullProject(sceneCount);
        for (int i = 0; i < mediaFiles; ++i) {
            b.gfxFiles["PIC" + std::to_string(i * 4 / 3) + ".BMP"] = "x";
            b.mmediaFiles["snd" + std::to_string(i * 4 / 3) + ".wav"] = "x";
        }
        ChooseProjectFile(project, b.write(dir.path()));
        if (!LoadProject(project, noEventLoop()).loaded())
            throw std::runtime_error("the generated project does not load");
        ctx.resourceFilesReport = [this](ReportContext& c) { MissingUnusedFilesReport(c, lists); };
    }

    void measure(benchmark::State& bench, Integer kind) {
        for (auto _ : bench) {
            run.TrackedFlag = AllSelector;
            run.TrackedScene = AllSelector;
            run.CancelRequested = false;
            RunReport(kind, ctx);
            benchmark::DoNotOptimize(text.str().data());
        }
        bench.counters["report_bytes"] = static_cast<double>(text.str().size());
    }
};

void AllFlagsTracker(benchmark::State& bench) {
    LoadedProject(static_cast<int>(bench.range(0))).measure(bench, FlagsByFlagKind);
}

void AllScenesTracker(benchmark::State& bench) {
    LoadedProject(static_cast<int>(bench.range(0))).measure(bench, FlagsBySceneKind);
}

void UnusedFlags(benchmark::State& bench) {
    LoadedProject(static_cast<int>(bench.range(0))).measure(bench, UnusedFlagsKind);
}

void FlagUsageSummary(benchmark::State& bench) {
    LoadedProject(static_cast<int>(bench.range(0))).measure(bench, FlagUsageKind);
}

void ResourceFiles(benchmark::State& bench) {
    LoadedProject(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1))).measure(bench, ResourceFilesKind);
}

void Load(benchmark::State& bench) {
    testing::TempDir dir;
    const auto projectFile = fullProject(static_cast<int>(bench.range(0))).write(dir.path());
    for (auto _ : bench) {
        ProjectState project;
        ChooseProjectFile(project, projectFile);
        benchmark::DoNotOptimize(LoadProject(project, noEventLoop()).loaded());
    }
}

BENCHMARK(AllFlagsTracker)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(AllScenesTracker)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(UnusedFlags)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(FlagUsageSummary)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(ResourceFiles)->Args({1000, 0})->Args({1000, 3000})->Unit(benchmark::kMillisecond);
BENCHMARK(Load)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orv

BENCHMARK_MAIN();
