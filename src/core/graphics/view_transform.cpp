#include "graphics/view_transform.h"

#include "model/model.h"

namespace vortak {

ViewTransform::ViewTransform() { resetHistory(); }

double ViewTransform::toPictureX(double x) const { return 100.0 * x / double(scale) - offsetX; }

double ViewTransform::toPictureY(double y) const {
    return SH - (offsetY + 100.0 * y / double(scale));
}

double ViewTransform::toPictureLength(double d) const { return 100.0 * d / double(scale); }

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

}  // namespace vortak
