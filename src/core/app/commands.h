#pragma once

// The main window's commands, as operations on the program state. Menus, toolbar buttons,
// status-bar panels and pop-up menus call these; the window then mirrors AppState::window
// and the Shell redraws the drawing area when a command asks for it.

#include <string>

#include "graphics/drawing.h"
#include "graphics/result_drawing.h"

namespace vortak {

struct AppState;
class SettingsStore;

inline constexpr const char* kVersionText = "1.0";
inline constexpr const char* kProgramDescription = "Linear analysis of plane trusses program";
inline constexpr const char* kWebAddress = "https://vortak.example.org";

// --- Start-up and documents ------------------------------------------------------------
// The start-up sequence: the four log lines, the default view, the stored display options,
// the model view, the offer of work a crashed run left unsaved (when AppState has a
// recovery keeper), the file named on the command line (if any, and unless a model was
// recovered) and a fresh zoom history.
void startUp(AppState& app, const SettingsStore& store, const std::string& commandLineFile);

// Asks whether to save unsaved work before it is discarded; false means the user (or a
// save that did not happen) called the command off.
bool AskSaveChanges(AppState& app, bool exclamation);
void Button_Neo_arxeio(AppState& app, const SettingsStore& store);
void Button_Anagnosi_Arxeiou(AppState& app);
void Button_Apothikefsi_Arxeiou(AppState& app);
void SaveAs(AppState& app);
// The close of the main window; false keeps the program running. Save, Save As, New and
// Open (once the old model is saved or given up) and the close delete the recovery copy.
bool confirmShutdown(AppState& app);
// The window caption.
std::string caption(const AppState& app);

// --- Views -----------------------------------------------------------------------------
void Button_Foreas(AppState& app);
void Button_N(AppState& app);
void Button_CT(AppState& app);
void Button_Deform(AppState& app);
void Button_animate(AppState& app);
// One frame of the running animation (called about 60 times a second); false once it has
// stopped.
bool animationTick(AppState& app);
// Esc: the animation stops when its current half-cycle is complete.
void escapePressed(AppState& app);
// The "+" (step 0.2) and "-" (step -0.2) buttons.
void changeScale(AppState& app, double step);
// The "Force F", "Stress s" and "Strain e" options.
void chooseQuantity(AppState& app, ResultQuantity quantity);

// --- Zoom and mouse modes --------------------------------------------------------------
void Button_Xeraki(AppState& app);
void Button_Zoom(AppState& app);
void Button_Zoom_Window(AppState& app);
void Reset_Pointer(AppState& app);
// "Exit" of the view-mode pop-up menu: leaves whichever mode is on.
void leaveMode(AppState& app);
void Button_Zoom_Previous(AppState& app);
void Button_Zoom_Best_Fit(AppState& app);

// --- Status-bar panels and labels ------------------------------------------------------
void toggleCoordinatesPanel(AppState& app);
void toggleAxesPanel(AppState& app);
void toggleGridPanel(AppState& app);
enum class LabelFlag {
    NodeNumbers,
    NodeCoordinates,
    ElementNumbers,
    ElementGroups,
    ElementLengths,
    LoadValues,
    NValues,
};
bool labelShown(const AppState& app, LabelFlag flag);
void toggleLabel(AppState& app, LabelFlag flag);
void chooseLabelPreset(AppState& app, LabelPreset preset);

// --- Model commands: true when the window should open the command's dialog or window ---
bool Button_EA(AppState& app);
bool Button_Komboi(AppState& app);
bool Button_Stoixeia(AppState& app);
bool Button_Epikombia(AppState& app);
bool Button_Rithmiseis(AppState& app);
bool Button_Apotelesmata(AppState& app);

}  // namespace vortak
