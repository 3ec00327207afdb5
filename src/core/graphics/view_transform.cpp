#include "graphics/view_transform.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "base/number_text.h"
#include "model/model.h"
#include "settings/settings_values.h"

namespace vortak {

namespace {

// Zoom extents keeps this much room (cm) between the model and the fitted edges.
constexpr double kExtentsMargin = 1.8;
constexpr double kInt32Min = -2147483648.0;
constexpr double kInt32Max = 2147483647.0;
// In zoom mode a pointer move of d cm down multiplies the scale by 1 + d/20; the same move
// up divides it by that factor.
constexpr double kZoomDragCm = 20.0;

struct Extent {
    double xmin, xmax, ymin, ymax;
};

// Keeps the offsets within the range a model file holds, so that every view the program
// reaches can be saved and opened again, and nothing derived from them overflows.
void keepOffsetsInRange(ViewTransform& view) {
    view.offsetX = std::clamp(view.offsetX, -kMaxViewOffset, kMaxViewOffset);
    view.offsetY = std::clamp(view.offsetY, -kMaxViewOffset, kMaxViewOffset);
}

// The scale that shows `length` model units on `room` centimetres, rounded to three
// decimals in double precision (a 600 m bridge in millimetres needs a scale of millions);
// nothing when there is no room to fit into, when the scale would be below 1, or when it
// is beyond what the single-precision scale can hold.
std::optional<float> fittedScale(double length, double room) {
    if (!(room > 0.0)) return std::nullopt;
    const double rounded = roundDecimals(100.0 * length / room, 3);
    if (!fitsInFloat(rounded)) return std::nullopt;
    const float scale = float(rounded);
    if (!(scale >= 1.0f)) return std::nullopt;
    return scale;
}

// Fits the rectangle `e` (at least one side of non-zero length) into the drawing area: the
// tighter direction fills the area up to `margin` cm from its edges, the other one is
// centred. Ties fill the width. Without a usable scale the view stays as it was and the
// answer is false.
bool fitRectangle(ViewTransform& view, const Extent& e, double margin) {
    const double width = e.xmax - e.xmin;
    const double height = e.ymax - e.ymin;
    const double roomX = view.SW - 2.0 * margin;
    const double roomY = view.SH - 2.0 * margin;

    const ViewTransform before = view;
    bool fitHeight;
    if (width == 0.0) {
        fitHeight = true;
    } else if (height == 0.0) {
        fitHeight = false;
    } else {
        fitHeight = roomX / width > roomY / height;
    }

    if (fitHeight) {
        const std::optional<float> scale = fittedScale(height, roomY);
        if (!scale) return false;
        view.scale = *scale;
        const double s = double(view.scale);
        const double widthCm = 100.0 * width / s;
        view.offsetY = (view.SH - 100.0 * e.ymax / s) - margin;
        view.offsetX = 100.0 * e.xmin / s - (view.SW - widthCm) / 2.0;
    } else {
        const std::optional<float> scale = fittedScale(width, roomX);
        if (!scale) return false;
        view.scale = *scale;
        const double s = double(view.scale);
        const double heightCm = 100.0 * height / s;
        view.offsetX = 100.0 * e.xmin / s - margin;
        view.offsetY = (view.SH - 100.0 * e.ymax / s) - (view.SH - heightCm) / 2.0;
    }
    if (!isValidViewOffset(view.offsetX) || !isValidViewOffset(view.offsetY)) {
        view = before;  // a view no model file could hold
        return false;
    }
    return true;
}

}  // namespace

double roundTo(double v, int n) {
    const double power = std::pow(10.0, n);
    // Exponents beyond the range of double would divide by zero or infinity below.
    if (power == 0.0 || std::isinf(power)) return v;
    const double whole = std::nearbyint(v * power);
    if (std::isnan(whole)) return 0.0;
    // Out-of-range values saturate at the 32-bit limits.
    return std::clamp(whole, kInt32Min, kInt32Max) / power;
}

double snapToGrid(double v, float g) {
    // A grid spacing that is not a positive number has no grid points to snap to.
    if (!(g > 0.0f) || std::isinf(g)) return v;
    const double step = double(g);
    const double r = v - std::floor(v / step) * step;
    // Far outside the float range the grid can no longer be resolved.
    if (!(std::fabs(r) <= double(std::numeric_limits<float>::max()))) return v;
    return g / 2.0f <= float(r) ? v - r + step : v - r;
}

ViewTransform::ViewTransform() { resetHistory(); }

double ViewTransform::toPictureX(double x) const { return 100.0 * x / double(scale) - offsetX; }

double ViewTransform::toPictureY(double y) const {
    return SH - (offsetY + 100.0 * y / double(scale));
}

double ViewTransform::toModelX(double X) const { return (X + offsetX) * double(scale) / 100.0; }

double ViewTransform::toModelY(double Y) const {
    return (SH - Y - offsetY) * double(scale) / 100.0;
}

ViewTransform::View ViewTransform::current() const { return {double(scale), offsetY, offsetX}; }

void ViewTransform::resetView() {
    scale = kDefaultScale;
    offsetX = kDefaultOffsetX;
    offsetY = kDefaultOffsetY;
    resetHistory();
}

void ViewTransform::resetHistory() {
    history_.fill(View{0.0, 0.0, 0.0});
    top_ = 0;
    history_[0] = current();
}

void ViewTransform::pushView() {
    const View& newest = history_[top_];
    if (float(newest.scale) == scale && newest.offsetY == offsetY && newest.offsetX == offsetX) {
        return;
    }
    if (top_ == kHistoryCapacity - 1) {
        for (int k = 1; k < kHistoryCapacity; ++k) history_[k - 1] = history_[k];
        top_ = kHistoryCapacity - 2;
    }
    history_[++top_] = current();
}

bool ViewTransform::zoomPrevious() {
    if (top_ <= 0) return false;
    --top_;
    const View& view = history_[top_];
    scale = float(view.scale);
    offsetY = view.offsetY;
    offsetX = view.offsetX;
    return true;
}

bool ViewTransform::zoomExtents(const Model& model) {
    if (model.nodeCount < 1) {
        offsetX = kDefaultOffsetX;
        offsetY = kDefaultOffsetY;
        return true;
    }
    Extent e{model.nodes.x[1], model.nodes.x[1], model.nodes.y[1], model.nodes.y[1]};
    for (int n = 2; n <= model.nodeCount; ++n) {
        e.xmin = std::min(e.xmin, double(model.nodes.x[n]));
        e.xmax = std::max(e.xmax, double(model.nodes.x[n]));
        e.ymin = std::min(e.ymin, double(model.nodes.y[n]));
        e.ymax = std::max(e.ymax, double(model.nodes.y[n]));
    }
    if (e.xmin == e.xmax && e.ymin == e.ymax) {
        // One node, or nodes that all lie on one point: nothing to fit, so the point is
        // centred at the current scale.
        const double x = 100.0 * e.xmin / double(scale) - SW / 2.0;
        const double y = (SH - 100.0 * e.ymin / double(scale)) - SH / 2.0;
        if (!isValidViewOffset(x) || !isValidViewOffset(y)) return false;
        offsetX = x;
        offsetY = y;
        return true;
    }
    return fitRectangle(*this, e, kExtentsMargin);
}

void ViewTransform::zoomWindow(double X1, double Y1, double X2, double Y2) {
    // Picture Y grows downwards, so the smaller Y is the top (the larger model y).
    const Extent e{toModelX(std::min(X1, X2)), toModelX(std::max(X1, X2)),
                   toModelY(std::max(Y1, Y2)), toModelY(std::min(Y1, Y2))};
    if (e.xmin == e.xmax && e.ymin == e.ymax) return;  // a click, not a rectangle
    fitRectangle(*this, e, 0.0);
}

void ViewTransform::beginDrag(double X, double Y) {
    dragX_ = float(X + offsetX);
    dragY_ = float(Y + offsetY);
    lastY_ = Y;
}

void ViewTransform::panDrag(double X, double Y) {
    offsetX = double(dragX_) - X;
    offsetY = double(dragY_) - Y;
    keepOffsetsInRange(*this);
}

void ViewTransform::zoomDrag(double Y) {
    const double f =
        Y > lastY_ ? 1.0 + (Y - lastY_) / kZoomDragCm : 1.0 / (1.0 + (lastY_ - Y) / kZoomDragCm);
    const double zoomed = double(scale) * f;
    if (zoomed >= 1.0 && zoomed <= double(std::numeric_limits<float>::max())) {
        // Zoom about the centre of the drawing area.
        scale = float(zoomed);
        offsetX = offsetX - (f - 1.0) * (SW / 2.0 + offsetX);
        offsetY = offsetY - (f - 1.0) * (offsetY - SH / 2.0);
        keepOffsetsInRange(*this);
    }
    lastY_ = Y;
}

}  // namespace vortak
