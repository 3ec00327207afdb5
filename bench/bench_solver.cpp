// Solver plus extremes on the 100-node, 197-element Howe truss in both numberings.

#include <benchmark/benchmark.h>

#include "analysis/result_values.h"
#include "analysis/solver.h"
#include "howe_truss.h"
#include "model/model.h"

using namespace vortak;

using namespace vortak::bench;

namespace {

void BM_SolveHoweTruss(benchmark::State& state) {
    Model model = howeTruss(state.range(0) != 0);
    SolverWorkspace workspace;
    for (auto _ : state) {
        const SolveOutcome outcome = SolveTruss(model, model.results, workspace);
        if (!outcome.ok()) state.SkipWithError("solve failed");
        computeExtremes(model);
        benchmark::DoNotOptimize(model.results.extremes.data());
    }
    state.counters["nodes"] = model.nodeCount;
    state.counters["elements"] = model.elementCount;
}
BENCHMARK(BM_SolveHoweTruss)->ArgName("alongSpan")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
