#include "app/drawing_area.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/app_state.h"
#include "app/icons.h"
#include "graphics/drawing.h"

namespace vortak {

DrawingArea::DrawingArea(AppState& app, QWidget* parent)
    : QWidget(parent),
      app_(app),
      surface_(std::make_unique<QtSurface>(QSize(1, 1), double(logicalDpiX()))) {
    surface_->setSystemColours(desktopSystemColour);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 120);
    updatePointer();
}

void DrawingArea::redrawPicture() {
    redraw(app_, *surface_);
    update();
}

void DrawingArea::quickRedrawPicture() {
    quickRedraw({app_.model, app_.settings, app_.view}, *surface_);
    update();
}

void DrawingArea::updatePointer() {
    const InteractionMode mode = app_.window.mode;
    if (mode == InteractionMode::None) {
        setCursor(Qt::CrossCursor);
    } else {
        setCursor(modeCursor(int(mode)));
    }
}

void DrawingArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, surface_->image());
    if (!rubber_.isNull()) {
        const Colour c = surface_->rgb(app_.settings.xroma_stoixeion);
        painter.setPen(QPen(QColor(redOf(c), greenOf(c), blueOf(c)), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rubber_);
    }
}

void DrawingArea::resizeEvent(QResizeEvent*) {
    surface_->resize(size());
    // The view keeps its values; the model keeps its place relative to the bottom-left.
    redrawPicture();
}

QPointF DrawingArea::toCm(QPointF pixels) const { return pixels / pixelsPerCm(); }

void DrawingArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    leftDown_ = true;
    pressCm_ = toCm(event->position());
    app_.view.beginDrag(pressCm_.x(), pressCm_.y());
}

void DrawingArea::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = toCm(event->position());
    double x = app_.view.toModelX(at.x());
    double y = app_.view.toModelY(at.y());
    if (app_.settings.nai_grid) {
        x = snapToGrid(x, app_.settings.kannab);
        y = snapToGrid(y, app_.settings.kannab);
    }
    emit pointerAt(x, y);
    if (!leftDown_) return;
    switch (app_.window.mode) {
        case InteractionMode::Pan:
            app_.view.panDrag(at.x(), at.y());
            quickRedrawPicture();
            break;
        case InteractionMode::Zoom:
            app_.view.zoomDrag(at.y());
            quickRedrawPicture();
            break;
        case InteractionMode::ZoomWindow:
            rubber_ = QRectF(pressCm_ * pixelsPerCm(), event->position()).normalized();
            update();
            break;
        case InteractionMode::None:
            break;
    }
}

void DrawingArea::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = toCm(event->position());
    const InteractionMode mode = app_.window.mode;
    if (event->button() == Qt::RightButton && mode != InteractionMode::None) {
        emit modeMenuRequested(event->globalPosition().toPoint());
    }
    if (event->button() == Qt::LeftButton && leftDown_ && mode != InteractionMode::None) {
        if (mode == InteractionMode::ZoomWindow) {
            app_.view.zoomWindow(pressCm_.x(), pressCm_.y(), at.x(), at.y());
            rubber_ = QRectF();
        }
        app_.view.pushView();
        redrawPicture();
        emit viewChanged();
    }
    if (event->button() == Qt::LeftButton) leftDown_ = false;
}

}  // namespace vortak
