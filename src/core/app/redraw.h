#pragma once

// The redraw of the drawing area in the program's current view.

namespace vortak {

struct AppState;
class Surface;

// Draws the current view from scratch (model, [N] diagram, deformed model, colour diagram
// or the current animation frame) on a surface the size of the drawing area, and writes the
// grid message to the log when zooming out has just made the grid too dense.
void redraw(AppState& app, Surface& surface);

}  // namespace vortak
