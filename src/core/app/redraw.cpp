#include "app/redraw.h"

#include "app/app_state.h"
#include "graphics/drawing.h"
#include "graphics/surface.h"

namespace vortak {

void redraw(AppState& app, Surface& s) {
    app.view.SW = s.widthCm();
    app.view.SH = s.heightCm();
    const DrawingInput in{app.model, app.settings, app.view};

    // Tell once, when zooming out has just made the grid too dense to draw.
    const ViewSettings& v = app.settings;
    const bool tooDense = v.nai_grid && !(gridPitch(v, app.view.scale) >= kMinGridPitchCm);
    const int top = app.view.historyTop();
    if (!tooDense) {
        app.gridTooDenseReported = false;
    } else if (!app.gridTooDenseReported && top >= 1 &&
               gridPitch(v, app.view.historyEntry(top - 1).scale) >= kMinGridPitchCm) {
        app.log.LogMessage(kGridTooDenseText, LogColour::Red);
        app.gridTooDenseReported = true;
    }

    drawView(in, s, app.currentView, app.animationFrame);
}

}  // namespace vortak
