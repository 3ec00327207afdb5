#pragma once

// What the main window shows besides the drawing: the view name in the status bar, the
// result controls on the drawing area, the toggle panels, the enabled buttons and the
// mouse mode. Commands decide these here; the window only mirrors them.

#include <string>

#include "graphics/result_drawing.h"

namespace vortak {

enum class InteractionMode { None = 0, Pan = 1, Zoom = 2, ZoomWindow = 3 };

inline constexpr const char* kViewNameModel = " Model";
inline constexpr const char* kViewNameN = " Axial force Diagram [N]";
inline constexpr const char* kViewNameDeformed = " Deformed model";
inline constexpr const char* kViewNameColour = " Color Diagram: Compression / Tension";
inline constexpr const char* kViewNameAnimation = " Deformation Animation: Press [ESC] to Cancel";

struct WindowState {
    std::string viewName = kViewNameModel;  // status-bar panel 7
    bool plusMinusVisible = false;          // the "+" and "-" buttons
    double plusMinusTop = 0;                // their top, cm below the top of the drawing
    bool optionsVisible = false;            // "Force F", "Stress s", "Strain e"
    ResultQuantity selectedOption = ResultQuantity::Force;
    bool legendShown = false;             // the colour legend box beside the drawing
    bool coordinatesPanelEnabled = true;  // panel 3; panels 1 and 2 shown with it
    bool axesPanelEnabled = true;         // panel 4, mirrors nai_aksones
    bool gridPanelEnabled = true;         // panel 5, mirrors nai_grid
    bool animateEnabled = true;
    InteractionMode mode = InteractionMode::None;
    // The mode whose pointer image the drawing area shows. The mode commands set it with
    // the mode; New and Open clear the mode but leave the image as it is.
    InteractionMode pointerMode = InteractionMode::None;
    bool logShown = true;
    // The deformation animation: which half-cycle runs, and whether a command (rather
    // than Esc, which lets the half-cycle finish) has stopped it.
    bool animationRising = true;
    bool animationStopNow = false;
};

}  // namespace vortak
