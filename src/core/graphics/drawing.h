#pragma once

// The model drawing and the redraw entry point. Every position goes through the view
// transform; every size is centimetres of the drawing area; colours, show flags and the
// grid spacing come from the display options.

#include "base/colour.h"

namespace vortak {

struct Model;
struct ViewSettings;
class MessageLog;
class Surface;
class ViewTransform;

// What a drawing reads.
struct DrawingInput {
    const Model& model;
    const ViewSettings& settings;
    const ViewTransform& view;
};

inline constexpr double kMinGridPitchCm = 0.1;
inline constexpr const char* kGridTooDenseText = "Grid to dense to display.";
inline constexpr double kLabelPoints = 7;
inline constexpr double kAxesPoints = 8;

// The views of the drawing area.
enum class ViewMode { Model = 0, NDiagram = 1, Deformed = 2, Colour = 3, Animation = 4 };

// Draws a view from scratch (model, [N] diagram, deformed model, colour diagram or the
// given animation frame) on a surface the size of the drawing area.
void drawView(const DrawingInput& in, Surface& surface, ViewMode view, int animationFrame);
// While the view is dragged: background, axes and bare element lines only.
void quickRedraw(const DrawingInput& in, Surface& surface);

// The parts of the model drawing, also used by the result drawings.
void drawModel(const DrawingInput& in, Surface& surface);
void drawGrid(const DrawingInput& in, Surface& surface);
// The axes symbol at the origin; leaves the label font (7 pt) set whether drawn or not.
void drawAxes(const DrawingInput& in, Surface& surface);
// The element line in `colour` and its labels in `labelColour` (the colour diagram paints
// its bars in colours a label would vanish in).
void drawElement(const DrawingInput& in, Surface& surface, int e, Colour colour, int penWidth);
void drawElement(const DrawingInput& in, Surface& surface, int e, Colour colour, int penWidth,
                 Colour labelColour);
void drawElements(const DrawingInput& in, Surface& surface);
void drawLoads(const DrawingInput& in, Surface& surface);
void drawNode(const DrawingInput& in, Surface& surface, int n);
void drawNodes(const DrawingInput& in, Surface& surface);

// The grid pitch in centimetres at a given view scale.
double gridPitch(const ViewSettings& settings, double scale);

// The three label presets of the Labels menu.
enum class LabelPreset { All, Basic, None };
void applyLabelPreset(ViewSettings& settings, LabelPreset preset);

}  // namespace vortak
