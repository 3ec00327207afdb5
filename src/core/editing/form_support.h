#pragma once

// Pieces shared by the editing dialogs' logic: number-box lists and readings, refusals
// and the effects of a change on the main window.

#include <string>
#include <vector>

namespace vortak {

struct AppState;

// "1" .. "count" as the items of a number box.
std::vector<std::string> numberItems(int count);
// The number a box holds, read leniently (empty or non-numeric text is 0).
double boxNumber(const std::string& text);
// True for 1, 2, 3, ...
bool isPositiveWhole(double value);
// A whole number in 1..limit.
bool isNumberUpTo(double value, int limit);
// A refused entry: exclamation box with OK and the same words in red in the log.
void refuse(AppState& app, const std::string& text);
// After a change that shows: redraw in the current view and mark the results stale.
void modelChanged(AppState& app);
// After a node or element deletion: back to the model view without result controls.
void backToModelView(AppState& app);

}  // namespace vortak
