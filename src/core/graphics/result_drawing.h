#pragma once

// The result drawings: the [N] diagram of axial force, stress or strain, the
// compression/tension colour diagram with its legend, the deformed model and the frames of
// the deformation animation; and the +/- arithmetic of their scales.

#include "base/colour.h"
#include "graphics/drawing.h"

namespace vortak {

enum class ResultQuantity { Force, Stress, Strain };

// The quantity the F/s/e choice selects (force when none is set).
ResultQuantity shownQuantity(const ViewSettings& settings);
void showQuantity(ViewSettings& settings, ResultQuantity quantity);
// N, N/A or N/(E*A) of element e.
double elementValue(const Model& model, int e, ResultQuantity quantity);

// The colour of a value in the colour diagram: from the zero colour towards the tension
// colour for positive values and the compression colour for negative ones, reaching them at
// +R and -R. With R = 0 (no force anywhere) everything is in the zero colour.
Colour diagramColour(const ViewSettings& settings, double value, double R);

void drawNDiagram(const DrawingInput& in, Surface& surface);
void drawColourDiagram(const DrawingInput& in, Surface& surface);
void drawDeformedModel(const DrawingInput& in, Surface& surface);
// Frame f of the animation's half-cycle of Animation_Frames frames.
void drawAnimationFrame(const DrawingInput& in, Surface& surface, int frame);

// The colour legend box beside the colour diagram: a colour bar with ticks at the largest,
// zero and smallest values. `labels` adds "Tension" above and "Compression" below the box
// (for pictures that have no separate labels around it).
inline constexpr double kColourLegendWidth = 2.4;
inline constexpr double kColourLegendBarHeight = 5.1;
inline constexpr double kColourLegendLabelHeight = 0.45;
void drawColourLegend(const DrawingInput& in, Surface& surface);
// The box with its two labels, placed with its top-left corner at (x, y) of `surface`.
void drawColourLegendWithLabels(const DrawingInput& in, Surface& surface, double x, double y);

// The +/- buttons: lengthen (+0.2) or shorten (-0.2) the largest ordinate of the [N]
// diagram, or the largest magnified displacement of the deformed model and animation, by
// 0.2 cm. A scale that would not stay positive is left as it is.
void changeResultScale(ViewSettings& settings, const Model& model, ViewMode mode, double step);

}  // namespace vortak
