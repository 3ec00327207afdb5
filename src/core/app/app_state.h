#pragma once

// The running program's state: the model (with its results), the message log, the current
// view and the animation flag, plus the two interfaces through which core asks the user
// and drives the window. Created once by main() (or by each test) and passed by reference.

#include "analysis/solver.h"
#include "app/history.h"
#include "app/window_state.h"
#include "base/prompter.h"
#include "graphics/view_transform.h"
#include "log/message_log.h"
#include "model/model.h"
#include "settings/view_settings.h"

namespace vortak {

class Shell;
class RecoveryKeeper;

struct AppState {
    AppState(Prompter& prompter, Shell& shell) : prompter(prompter), shell(shell) {}
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    Prompter& prompter;
    Shell& shell;

    Model model;
    MessageLog log;
    ViewSettings settings;
    ViewTransform view;
    ViewMode currentView = ViewMode::Model;
    bool animationRunning = false;
    int animationFrame = 0;  // the frame the animation view shows, 0..Animation_Frames
    // Set once "Grid to dense to display." has been written for the present zoom-out.
    bool gridTooDenseReported = false;

    WindowState window;

    SolverWorkspace solverWorkspace;

    // The model's undo and redo steps; New and Open start it afresh.
    ModelHistory history;

    // Keeps the crash-recovery copy of unsaved work; none in tests and the command-line tool
    // unless they set one.
    RecoveryKeeper* recovery = nullptr;
};

// Stops a running deformation animation at once, as every drawing and editing command
// does before its own work (Esc instead lets the current half-cycle finish).
inline void stopAnimation(AppState& app) {
    if (app.animationRunning) app.window.animationStopNow = true;
    app.animationRunning = false;
}

}  // namespace vortak
