// Undo history on a model at capacity: recording a step (with the copy of the tables the
// command takes before it changes anything), undoing one and redoing it.

#include <benchmark/benchmark.h>

#include "app/app_state.h"
#include "app/shell.h"
#include "app/undo.h"
#include "base/scripted_prompter.h"
#include "howe_truss.h"

using namespace vortak;
using namespace vortak::bench;

namespace {

// At capacity: the Howe truss fills the node table; three more elements and 50 groups fill
// the others.
struct FullModel {
    ScriptedPrompter prompter;
    Shell shell;
    AppState app{prompter, shell};

    FullModel() {
        static_cast<ModelTables&>(app.model) = howeTruss(false);
        Model& m = app.model;
        while (m.elementCount < kMaxElements) {
            const int e = ++m.elementCount;
            m.setElement(e, {float(e % 50 + 1), float(e % 50 + 51), 1.0f});
        }
        while (m.groupCount < kMaxGroups) {
            const int g = ++m.groupCount;
            m.setGroup(g, {2.0e8 + g, 0.01});
        }
        // A full history, as after a long session.
        for (std::size_t k = 0; k < kUndoSteps; ++k) record(float(k));
    }

    void record(float x) {
        const ModelTables before = app.model;
        app.model.nodes.x[50] = x;
        recordModelChange(app, "Edit node #50", before);
    }
};

void BM_RecordStep(benchmark::State& state) {
    FullModel full;
    float x = 1e6f;
    for (auto _ : state) full.record(x += 1);
}
BENCHMARK(BM_RecordStep)->Unit(benchmark::kMicrosecond);

void BM_UndoAndRedoStep(benchmark::State& state) {
    FullModel full;
    for (auto _ : state) {
        Undo(full.app);
        Redo(full.app);
    }
    // The log grows by two lines a round; that is part of what a user's undo costs.
}
BENCHMARK(BM_UndoAndRedoStep)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
