// Model file text, parsing, saving to disk and the four report sections on the 100-node,
// 197-element Howe truss.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "analysis/solver.h"
#include "base/file_io.h"
#include "graphics/view_transform.h"
#include "howe_truss.h"
#include "model/model_file.h"
#include "report/report.h"
#include "settings/view_settings.h"

using namespace vortak;
using namespace vortak::bench;

namespace {

void BM_ModelFileText(benchmark::State& state) {
    const Model model = howeTruss(true);
    const ViewSettings settings;
    const ViewTransform view;
    for (auto _ : state) {
        std::string text = modelFileText(model, settings, view);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ModelFileText)->Unit(benchmark::kMicrosecond);

void BM_ParseModelFile(benchmark::State& state) {
    const std::string text = modelFileText(howeTruss(true), ViewSettings{}, ViewTransform{});
    for (auto _ : state) {
        ParsedModelFile parsed = parseModelFile(text);
        if (!parsed.content) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(parsed.content->model.nodes.x.data());
    }
    state.counters["bytes"] = double(text.size());
}
BENCHMARK(BM_ParseModelFile)->Unit(benchmark::kMicrosecond);

// Includes flushing the file to the disk before it replaces the old one.
void BM_SaveModelFile(benchmark::State& state) {
    const std::string text = modelFileText(howeTruss(true), ViewSettings{}, ViewTransform{});
    char path[] = "/tmp/vortak-bench-XXXXXX";
    const int fd = mkstemp(path);
    if (fd >= 0) close(fd);
    for (auto _ : state) {
        if (writeFileAtomically(path, text)) state.SkipWithError("write failed");
    }
    std::remove(path);
}
BENCHMARK(BM_SaveModelFile)->Unit(benchmark::kMicrosecond);

void BM_ReportSections(benchmark::State& state) {
    Model model = howeTruss(true);
    SolveTruss(model, model.results);
    for (auto _ : state) {
        std::string report = assembleReport(model, "1234");
        benchmark::DoNotOptimize(report.data());
    }
}
BENCHMARK(BM_ReportSections)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
