#include "app/undo.h"

#include "app/app_state.h"
#include "app/shell.h"

namespace vortak {

namespace {

bool restore(AppState& app, const ModelTables* tables, const char* verb, std::string label) {
    if (tables == nullptr) return false;
    stopAnimation(app);
    static_cast<ModelTables&>(app.model) = *tables;
    app.model.changed = true;
    app.log.LogMessage(std::string(verb) + ": " + label, LogColour::Black, false);
    app.shell.redraw();
    return true;
}

std::string caption(const char* verb, const std::string& label) {
    return label.empty() ? std::string(verb) : std::string(verb) + " " + label;
}

}  // namespace

bool recordModelChange(AppState& app, std::string label, const ModelTables& before) {
    return app.history.record(std::move(label), before, app.model);
}

bool Undo(AppState& app) {
    std::string label = app.history.undoLabel();
    return restore(app, app.history.undo(), "Undo", std::move(label));
}

bool Redo(AppState& app) {
    std::string label = app.history.redoLabel();
    return restore(app, app.history.redo(), "Redo", std::move(label));
}

std::string undoCaption(const AppState& app) { return caption("Undo", app.history.undoLabel()); }
std::string redoCaption(const AppState& app) { return caption("Redo", app.history.redoLabel()); }

}  // namespace vortak
