#pragma once

// The drawing area: shows the persistent picture of the current view with the pointer's
// markers over it, and passes the mouse on to the pointer input of the core.

#include <QWidget>

#include <memory>

#include "app/pointer_input.h"
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
    // Esc while a button is down: the gesture is dropped.
    void abandonGesture();
    void hideMarkers();
    PointerInput& input() { return input_; }

signals:
    // The coordinates read-out changed.
    void readoutChanged(const QString& x, const QString& y);
    // A right click while a zoom or pan mode is on.
    void modeMenuRequested(QPoint globalPosition);
    // A right click on a node and/or an element (0 for none).
    void objectMenuRequested(int node, int element, QPoint globalPosition);
    // An element was defined on screen but the model has no E,A group yet.
    void groupsDialogRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPointF toCm(QPointF pixels) const;
    void handle(const PointerRequest& request, QPoint globalPosition);
    void paintOverlay(QPainter& painter);

    AppState& app_;
    std::unique_ptr<QtSurface> surface_;
    PointerInput input_;
};

}  // namespace vortak
