#include "app/commands.h"

#include <algorithm>

#include "app/analysis_run.h"
#include "app/app_state.h"
#include "app/file_commands.h"
#include "app/recovery.h"
#include "app/shell.h"
#include "model/model_file.h"
#include "settings/settings_values.h"

namespace vortak {

namespace {

constexpr double kPlusMinusTopN = 1.376;  // cm below the top of the drawing area
constexpr double kPlusMinusTopDeformed = 1.8;
constexpr double kPlusMinusTopAnimation = 0.1;

// The model view with no result controls, as New and Open leave it.
void showModelView(AppState& app) {
    WindowState& w = app.window;
    app.currentView = ViewMode::Model;
    w.viewName = kViewNameModel;
    w.optionsVisible = false;
    w.plusMinusVisible = false;
    w.legendShown = false;
    w.axesPanelEnabled = app.settings.nai_aksones;
    w.gridPanelEnabled = app.settings.nai_grid;
}

// The option button that the F/s/e settings select: the last true one of force, stress
// and strain.
ResultQuantity selectedBySettings(const ViewSettings& v) {
    ResultQuantity q = ResultQuantity::Force;
    if (v.Show_FORCE) q = ResultQuantity::Force;
    if (v.Show_STRESS) q = ResultQuantity::Stress;
    if (v.Show_STRAIN) q = ResultQuantity::Strain;
    return q;
}

void showResultView(AppState& app, ViewMode view, const char* name, bool plusMinus,
                    double plusMinusTop, bool options) {
    WindowState& w = app.window;
    app.currentView = view;
    w.viewName = name;
    w.plusMinusVisible = plusMinus;
    if (plusMinus) w.plusMinusTop = plusMinusTop;
    w.optionsVisible = options;
    if (options) w.selectedOption = selectedBySettings(app.settings);
    w.legendShown = view == ViewMode::Colour;
}

// After the reanalysis question of a result command: when the model still has no results
// of its own (never analysed, the answer was No, or the run failed), say so rather than
// let zeros or another model's values pass for results.
void reportIfNotAnalysed(AppState& app) {
    if (!app.model.hasCurrentResults()) app.log.LogMessage(kNotAnalysedText, LogColour::Red);
}

// A drawing command: stop the animation, offer a fresh analysis, show the view.
void resultCommand(AppState& app, ViewMode view, const char* name, bool plusMinus,
                   double plusMinusTop, bool options) {
    stopAnimation(app);
    ConfirmReanalysis(app);
    reportIfNotAnalysed(app);
    showResultView(app, view, name, plusMinus, plusMinusTop, options);
    app.shell.redraw();
}

void toggleMode(AppState& app, InteractionMode mode) {
    WindowState& w = app.window;
    w.mode = w.mode == mode ? InteractionMode::None : mode;
    w.pointerMode = w.mode;
}

// The animation has ended: back to the static deformed model unless a command has shown
// its own drawing meanwhile.
void finishAnimation(AppState& app) {
    WindowState& w = app.window;
    app.animationRunning = false;
    w.animationStopNow = false;
    w.animateEnabled = true;
    if (app.currentView != ViewMode::Animation) return;
    showResultView(app, ViewMode::Deformed, kViewNameDeformed, true, kPlusMinusTopDeformed, false);
    app.shell.redraw();
}

void reportRefusal(AppState& app, const char* text) {
    app.prompter.messageBox(text, MessageIcon::Exclamation, MessageButtons::Ok);
    app.log.LogMessage(text, LogColour::Red);
}

bool ViewSettings::*labelMember(LabelFlag flag) {
    switch (flag) {
        case LabelFlag::NodeNumbers:
            return &ViewSettings::nai_arithmisi_kombon;
        case LabelFlag::NodeCoordinates:
            return &ViewSettings::nai_sint_kombon;
        case LabelFlag::ElementNumbers:
            return &ViewSettings::nai_arithmisi_stoixeion;
        case LabelFlag::ElementGroups:
            return &ViewSettings::nai_omades;
        case LabelFlag::ElementLengths:
            return &ViewSettings::nai_miki;
        case LabelFlag::LoadValues:
            return &ViewSettings::nai_times_fortiseon_si;
        case LabelFlag::NValues:
            break;
    }
    return &ViewSettings::nai_times_N;
}

}  // namespace

void startUp(AppState& app, const SettingsStore& store, const std::string& commandLineFile) {
    app.log.LogMessage(
        std::string(kProgramTitle) + " v" + kVersionText + " - " + kProgramDescription,
        LogColour::Navy, true, true);
    app.log.LogMessage(std::string(kProgramTitle) + " on the web: " + kWebAddress, LogColour::Navy,
                       true);
    app.log.LogMessage("");
    app.log.LogMessage(app.shell.weekdayDateTime());
    app.view.resetView();
    loadViewSettings(store, app.settings);
    showModelView(app);
    // Work a crashed run left unsaved is offered before anything else; a recovered model
    // takes the place of the file named on the command line, which File > Open still reaches.
    const bool recovered = offerRecovery(app);
    if (!recovered && !commandLineFile.empty()) ReadModelFile(app, commandLineFile);
    app.view.resetHistory();
}

std::string caption(const AppState& app) { return windowCaption(app.model); }

bool AskSaveChanges(AppState& app, bool exclamation) {
    const Model& m = app.model;
    const MessageIcon icon = exclamation ? MessageIcon::Exclamation : MessageIcon::None;
    const std::string question = "Do you want to save the changes you made to file:";
    if (!m.fileName.empty()) {
        if (ModelMatchesFile(app)) return true;
        const Answer answer = app.prompter.messageBox(question + " '" + m.fileName + "'?", icon,
                                                      MessageButtons::YesNoCancel);
        if (answer == Answer::No) return true;
        if (answer != Answer::Yes) return false;
        // A save that failed must not be followed by throwing the model away.
        return WriteModelFile(app, m.fileName, false) == FileOutcome::Done;
    }
    if (m.nodeCount == 0 && m.groupCount == 0 && m.elementCount == 0) return true;
    const Answer answer =
        app.prompter.messageBox(question + " 'Untitled.vok'?", icon, MessageButtons::YesNoCancel);
    if (answer == Answer::No) return true;
    if (answer != Answer::Yes) return false;
    // Only go on when the work was really saved (not when the name question was cancelled
    // or the file could not be written).
    return WriteModelFile(app, "", false) == FileOutcome::Done;
}

void Button_Neo_arxeio(AppState& app, const SettingsStore& store) {
    if (!AskSaveChanges(app, false)) return;
    discardRecoveryCopy(app);
    ClearModel(app.model);
    app.history.clear();
    app.model.changed = true;
    app.model.fileName.clear();
    app.view.resetView();
    loadViewSettings(store, app.settings);
    showModelView(app);
    app.window.mode = InteractionMode::None;
    app.shell.redraw();
    app.log.LogMessage("New file", LogColour::Black, true);
    app.view.resetHistory();
}

void Button_Anagnosi_Arxeiou(AppState& app) {
    if (!AskSaveChanges(app, false)) return;
    discardRecoveryCopy(app);
    ReadModelFile(app, "");
    app.model.changed = true;
    showModelView(app);
    app.window.mode = InteractionMode::None;
    app.shell.redraw();
}

void Button_Apothikefsi_Arxeiou(AppState& app) {
    if (WriteModelFile(app, app.model.fileName, false) == FileOutcome::Done) {
        discardRecoveryCopy(app);
    }
}

void SaveAs(AppState& app) {
    if (WriteModelFile(app, "", false) == FileOutcome::Done) discardRecoveryCopy(app);
}

bool confirmShutdown(AppState& app) {
    if (!AskSaveChanges(app, true)) return false;
    finishRecovery(app);
    return true;
}

void Button_Foreas(AppState& app) {
    stopAnimation(app);
    showModelView(app);
    app.shell.redraw();
}

void Button_N(AppState& app) {
    resultCommand(app, ViewMode::NDiagram, kViewNameN, true, kPlusMinusTopN, true);
}

void Button_CT(AppState& app) {
    resultCommand(app, ViewMode::Colour, kViewNameColour, false, 0, true);
}

void Button_Deform(AppState& app) {
    resultCommand(app, ViewMode::Deformed, kViewNameDeformed, true, kPlusMinusTopDeformed, false);
}

void Button_animate(AppState& app) {
    ConfirmReanalysis(app);
    if (app.model.nodeCount < 2) return;
    reportIfNotAnalysed(app);
    showResultView(app, ViewMode::Animation, kViewNameAnimation, true, kPlusMinusTopAnimation,
                   false);
    WindowState& w = app.window;
    app.animationRunning = true;
    app.animationFrame = 0;
    w.animationRising = true;
    w.animationStopNow = false;
    w.animateEnabled = false;
    app.shell.redraw();
}

bool animationTick(AppState& app) {
    WindowState& w = app.window;
    if (app.currentView != ViewMode::Animation || w.animationStopNow) {
        finishAnimation(app);
        return false;
    }
    // A cycle shows frames 0..F rising, then F..0 falling. Esc is looked at once the rising
    // half is complete and before every falling frame.
    const int frames = std::max<int>(1, app.settings.Animation_Frames);
    if (w.animationRising && app.animationFrame < frames) {
        ++app.animationFrame;
    } else {
        if (!app.animationRunning) {
            finishAnimation(app);
            return false;
        }
        if (w.animationRising) {
            w.animationRising = false;  // the falling half starts with frame F again
        } else if (app.animationFrame > 0) {
            --app.animationFrame;
        } else {
            w.animationRising = true;  // and the next cycle with frame 0 again
        }
    }
    app.shell.redraw();
    return true;
}

void escapePressed(AppState& app) { app.animationRunning = false; }

void changeScale(AppState& app, double step) {
    ConfirmReanalysis(app);
    changeResultScale(app.settings, app.model, app.currentView, step);
    if (app.currentView != ViewMode::Animation) app.shell.redraw();
}

void chooseQuantity(AppState& app, ResultQuantity quantity) {
    showQuantity(app.settings, quantity);
    app.window.selectedOption = quantity;
    app.shell.redraw();
}

void Button_Xeraki(AppState& app) { toggleMode(app, InteractionMode::Pan); }
void Button_Zoom(AppState& app) { toggleMode(app, InteractionMode::Zoom); }
void Button_Zoom_Window(AppState& app) { toggleMode(app, InteractionMode::ZoomWindow); }
void Reset_Pointer(AppState& app) {
    app.window.mode = app.window.pointerMode = InteractionMode::None;
}
void leaveMode(AppState& app) { app.window.mode = app.window.pointerMode = InteractionMode::None; }

void Button_Zoom_Previous(AppState& app) {
    if (app.view.zoomPrevious()) app.shell.redraw();
}

void Button_Zoom_Best_Fit(AppState& app) {
    if (!app.view.zoomExtents(app.model)) {
        app.log.LogMessage("The model is too large to be shown whole in the drawing area.",
                           LogColour::Red);
    }
    app.view.pushView();
    app.shell.redraw();
}

void toggleCoordinatesPanel(AppState& app) {
    app.window.coordinatesPanelEnabled = !app.window.coordinatesPanelEnabled;
}

void toggleAxesPanel(AppState& app) {
    WindowState& w = app.window;
    w.axesPanelEnabled = !w.axesPanelEnabled;
    app.settings.nai_aksones = w.axesPanelEnabled;
    app.shell.redraw();
}

void toggleGridPanel(AppState& app) {
    WindowState& w = app.window;
    w.gridPanelEnabled = !w.gridPanelEnabled;
    app.settings.nai_grid = w.gridPanelEnabled;
    app.shell.redraw();
}

bool labelShown(const AppState& app, LabelFlag flag) { return app.settings.*labelMember(flag); }

void toggleLabel(AppState& app, LabelFlag flag) {
    bool& shown = app.settings.*labelMember(flag);
    shown = !shown;
    app.shell.redraw();
}

void chooseLabelPreset(AppState& app, LabelPreset preset) {
    applyLabelPreset(app.settings, preset);
    app.shell.redraw();
}

bool Button_EA(AppState& app) {
    stopAnimation(app);
    return true;
}

bool Button_Komboi(AppState& app) {
    stopAnimation(app);
    return true;
}

bool Button_Stoixeia(AppState& app) {
    stopAnimation(app);
    if (app.model.groupCount == 0) {
        reportRefusal(app,
                      "Before defining an element, at least one E,A Element Group must have "
                      "been defined.");
        return false;
    }
    if (app.model.nodeCount < 2) {
        reportRefusal(app,
                      "Before defining an element, at least two nodes must have been "
                      "defined.");
        return false;
    }
    return true;
}

bool Button_Epikombia(AppState& app) {
    stopAnimation(app);
    if (app.model.nodeCount == 0) {
        reportRefusal(app,
                      "Before defining a nodal load, at least one node must have been "
                      "defined");
        return false;
    }
    return true;
}

bool Button_Rithmiseis(AppState& app) {
    stopAnimation(app);
    return true;
}

bool Button_Apotelesmata(AppState& app) {
    stopAnimation(app);
    ConfirmReanalysis(app);
    reportIfNotAnalysed(app);
    return true;
}

}  // namespace vortak
