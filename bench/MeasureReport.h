#pragma once

#include "reports/ReportContext.h"
#include "reports/RunReport.h"

#include <benchmark/benchmark.h>

namespace orv::bench {

// Runs report `kind` once per benchmark iteration as a user starts it (every
// flag and every scene, nothing cancelled), and counts the report's bytes.
inline void MeasureReportRuns(benchmark::State& bench, Integer kind, ReportContext& ctx) {
    for (auto _ : bench) {
        ctx.run.TrackedFlag = AllSelector;
        ctx.run.TrackedScene = AllSelector;
        ctx.run.CancelRequested = false;
        RunReport(kind, ctx);
        benchmark::DoNotOptimize(ctx.text.str().data());
    }
    bench.counters["report_bytes"] = static_cast<double>(ctx.text.str().size());
}

} // namespace orv::bench
