#pragma once

// The mapping between model coordinates (user length units, y up) and the drawing area
// (centimetres from the top-left corner, Y down), with the zoom history and the zoom and
// pan arithmetic of the view commands and mouse drags.

#include <array>

#include "settings/view_settings.h"

namespace vortak {

struct Model;

// v * 10^n rounded to the nearest 32-bit integer (halves to even), divided by 10^n.
double roundTo(double v, int n);
// Rounds v to the nearest multiple of the grid spacing g (halves go up).
double snapToGrid(double v, float g);

// The scale and offsets (inherited) are the current view: scale is 100 x (model length
// units per centimetre), 1:scale for metres; the offsets are centimetres.
class ViewTransform : public ViewValues {
public:
    static constexpr int kHistoryCapacity = 101;

    struct View {
        double scale = kDefaultScale;  // held widened in the history
        double offsetY = kDefaultOffsetY;
        double offsetX = kDefaultOffsetX;
    };

    ViewTransform();

    // The inner size of the drawing area in centimetres; set by the window on resize.
    double SW = 20.0;
    double SH = 15.0;

    double toPictureX(double x) const;
    double toPictureY(double y) const;
    double toModelX(double X) const;
    double toModelY(double Y) const;

    // scale 100, offsets -2 and 2, and the history reset to that one view.
    void resetView();
    // No older entries; entry 0 is the current view.
    void resetHistory();
    // Stores the current view as the newest history entry unless it already is.
    void pushView();
    // Steps back one view; false when there is none (nothing changed).
    bool zoomPrevious();
    int historyTop() const { return top_; }
    const View& historyEntry(int index) const { return history_[index]; }

    // Fits every node into the drawing area; false (the view unchanged) when no scale the
    // view can hold shows them all.
    bool zoomExtents(const Model& model);
    void zoomWindow(double X1, double Y1, double X2, double Y2);

    // Mouse drags in pan and zoom mode.
    void beginDrag(double X, double Y);
    void panDrag(double X, double Y);
    void zoomDrag(double Y);

private:
    View current() const;

    std::array<View, kHistoryCapacity> history_{};
    int top_ = 0;
    // Drag state: the press point shifted by the offsets (32-bit, as stored) and last Y.
    float dragX_ = 0, dragY_ = 0;
    double lastY_ = 0;
};

}  // namespace vortak
