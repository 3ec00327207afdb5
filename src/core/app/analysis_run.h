#pragma once

// The Analyze command around the solver: the check for unconnected nodes, the timed run
// with its log lines, the failure and mechanism messages, the extremes and the changed
// flag; and the stale-results question that every result view asks first.

namespace vortak {

struct AppState;

void Button_Epilisi(AppState& app);
void RunAnalysis(AppState& app);
void ConfirmReanalysis(AppState& app);

}  // namespace vortak
