// The desktop's report host against the command line's on the same report,
// and the report view opening a large report. A benchmark, run by hand:
//   build/bench/orvanta-desktop-bench

#include "bench/MeasureReport.h"
#include "audit/FilesAudit.h"
#include "audit/MissingUnusedFilesReport.h"
#include "cli/TerminalProgress.h"
#include "data/LoadProject.h"
#include "reports/ReportContext.h"
#include "reports/RunReport.h"
#include "support/ProjectBuilder.h"
#include "support/RecordEncoders.h"
#include "support/TempDir.h"
#include "ui/Prompts.h"
#include "ui/QtReportHost.h"
#include "ui/ReportFont.h"
#include "ui/ReportView.h"
#include "ui/TextSearch.h"

#include <QApplication>
#include <QProgressBar>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <chrono>

#include <sstream>

namespace orv {
namespace {

struct NoPrompts : ui::Prompts {
    void showMessage(QWidget*, const QString&, const QString&, Icon) override {}
    Answer ask(QWidget*, const QString&, const QString&, Buttons, Icon) override { return Answer::Yes; }
    std::optional<QString> chooseOpenFile(QWidget*, const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
};

Integer flagNumber(long n) { return static_cast<Integer>(n % 255 + 1); }

// Scenes with every slot holding an object whose first flag statements are on.
testing::ProjectBuilder denseProject(int sceneCount) {
    testing::ProjectBuilder b;
    for (int s = 1; s <= sceneCount; ++s) {
        SceneRecord scene = testing::makeScene("Scene " + std::to_string(s));
        scene.OnLoadFlagEnabled = 1;
        scene.OnLoadFlag = flagNumber(s * 3);
        scene.OnLoadValue = 1;
        for (int k = 1; k <= 20; ++k) {
            ObjectSlot& slot = scene.Slots[static_cast<std::size_t>(k - 1)];
            slot.ObjectType = 0;
            for (std::size_t i = 0; i < slot.Settings.size(); ++i)
                slot.Settings[i] = flagNumber(s * 7 + k * 13 + static_cast<long>(i));
            testing::setSetting(slot, 149, 2);
            testing::setSetting(slot, 157, 1);
        }
        b.scenes.push_back(std::move(scene));
    }
    return b;
}

// One project, loaded once; the report run with the host of either program.
struct Project {
    testing::TempDir dir;
    LoadedProject project;
    RunState run;
    ReportText text;
    FilesAudit audit;

    explicit Project(int scenes) {
        Result<OpenProject> open =
            LoadProject(ProjectPaths::fromProjectFile(denseProject(scenes).write(dir.path())), noEventLoop());
        if (!open)
            throw std::runtime_error("the generated project does not load");
        project = std::move(open->project);
    }
    void measure(benchmark::State& bench, ReportHost& host, Integer kind) {
        ReportContext ctx{project, run, text, host};
        ctx.resourceFilesReport = [this](ReportContext& c) { MissingUnusedFilesReport(c, audit); };
        bench::MeasureReportRuns(bench, kind, ctx);
    }
};

void CommandLineHost(benchmark::State& bench) {
    Project p(static_cast<int>(bench.range(1)));
    std::ostringstream err;
    TerminalProgress host(err, false);
    p.measure(bench, host, static_cast<Integer>(bench.range(0)));
}

void DesktopHost(benchmark::State& bench) {
    Project p(static_cast<int>(bench.range(1)));
    QProgressBar bar;
    bar.show();
    NoPrompts prompts;
    ui::QtReportHost host(bar, prompts, nullptr);
    p.measure(bench, host, static_cast<Integer>(bench.range(0)));
}

// Opening a report of `range(0)` MB in the report view and drawing its
// first and its last screen.
void ReportViewOpen(benchmark::State& bench) {
    std::string report;
    const auto bytes = static_cast<std::size_t>(bench.range(0)) << 20;
    for (long i = 0; report.size() < bytes; ++i)
        report += "(Scene # " + std::to_string(i % 32767 + 1) + " (Harbour)) When clicked, set flag # " +
                  std::to_string(i % 255 + 1) + " to value 1.\n";
    ui::ReportView view;
    view.setFont(ui::reportFont());
    view.resize(1000, 700);
    for (auto _ : bench) {
        view.setText(report);
        benchmark::DoNotOptimize(view.grab());
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
        benchmark::DoNotOptimize(view.grab());
    }
    bench.counters["lines"] = static_cast<double>(view.lineCount());
}

// Searching a report of `range(0)` MB from its start for text on its last
// line, case folded: the whole search, and the longest slice of it, which is
// how long the window waits at a time.
void ReportSearch(benchmark::State& bench) {
    std::string report;
    const auto bytes = static_cast<std::size_t>(bench.range(0)) << 20;
    for (long i = 0; report.size() < bytes; ++i)
        report += "(Scene # " + std::to_string(i % 32767 + 1) + " (Harbour)) When clicked, set flag # " +
                  std::to_string(i % 255 + 1) + " to value 1.\n";
    report += "The end of the report";
    double longestSlice = 0;
    for (auto _ : bench) {
        ui::TextSearch search(report, "END OF THE REPORT", 0, true);
        for (;;) {
            const auto start = std::chrono::steady_clock::now();
            const ui::TextSearch::State state = search.step(ui::ReportView::SearchSlice);
            longestSlice = std::max(longestSlice, std::chrono::duration<double, std::milli>(
                                                      std::chrono::steady_clock::now() - start).count());
            if (state != ui::TextSearch::State::Searching) break;
        }
        benchmark::DoNotOptimize(search.matchStart());
    }
    bench.counters["longest_slice_ms"] = longestSlice;
}

// Kinds: 5 all scenes, 1 unused flags, 4 all flags.
BENCHMARK(CommandLineHost)->Args({5, 2000})->Args({1, 2000})->Args({4, 100})->Unit(benchmark::kMillisecond);
BENCHMARK(DesktopHost)->Args({5, 2000})->Args({1, 2000})->Args({4, 100})->Unit(benchmark::kMillisecond);
BENCHMARK(ReportViewOpen)->Arg(50)->Arg(175)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ReportSearch)->Arg(175)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace orv

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
