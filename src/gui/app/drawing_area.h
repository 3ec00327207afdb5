#pragma once

// The drawing area: shows the persistent picture of the current view and turns the mouse
// into the pan, zoom and zoom-window drags and the coordinates read-out.

#include <QWidget>

#include <memory>

#include "graphics/qt_surface.h"

namespace vortak {

struct AppState;

class DrawingArea : public QWidget {
    Q_OBJECT
public:
    explicit DrawingArea(AppState& app, QWidget* parent = nullptr);

    // Draws the current view from scratch into the persistent picture.
    void redrawPicture();
    // The elements only, while the view is dragged.
    void quickRedrawPicture();
    const QImage& picture() const { return surface_->image(); }
    double widthCm() const { return surface_->widthCm(); }
    double heightCm() const { return surface_->heightCm(); }
    double pixelsPerCm() const { return surface_->dotsPerInch() / 2.54; }
    // The pointer image of the current interaction mode.
    void updatePointer();

signals:
    // The pointer moved to model point (x, y), already snapped when the grid is on.
    void pointerAt(double x, double y);
    // A right click while a zoom or pan mode is on.
    void modeMenuRequested(QPoint globalPosition);
    // A left release ended a pan, zoom or zoom-window drag.
    void viewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointF toCm(QPointF pixels) const;

    AppState& app_;
    std::unique_ptr<QtSurface> surface_;
    bool leftDown_ = false;
    QPointF pressCm_;
    QRectF rubber_;  // zoom window being dragged, in pixels
};

}  // namespace vortak
