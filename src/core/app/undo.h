#pragma once

// Undo and redo as commands: recording a change of the model as one step, and taking
// steps back or making them again with their message-log lines and menu captions.

#include <string>

#include "model/model_tables.h"

namespace vortak {

struct AppState;

// Records the change of the model's tables since `before` as one step named `label`; a
// command that changed nothing records nothing. Returns whether a step was recorded.
bool recordModelChange(AppState& app, std::string label, const ModelTables& before);

// Takes back the latest step ("Undo: <label>" in the log) or makes the latest undone step
// again ("Redo: <label>"). The model counts as changed afterwards, exactly as after an
// edit, and the window redraws. Returns false, doing nothing, when there is no such step.
bool Undo(AppState& app);
bool Redo(AppState& app);

// "Undo <label>" / "Redo <label>", or just "Undo" / "Redo" when there is nothing to do.
std::string undoCaption(const AppState& app);
std::string redoCaption(const AppState& app);

}  // namespace vortak
