#include "app/drawing_area.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/app_state.h"
#include "app/icons.h"
#include "app/redraw.h"
#include "graphics/drawing.h"

namespace vortak {

namespace {

QColor qcolor(Colour rgb) { return QColor(redOf(rgb), greenOf(rgb), blueOf(rgb)); }

PointerButton buttonOf(const QMouseEvent* event) {
    return event->button() == Qt::RightButton ? PointerButton::Right : PointerButton::Left;
}

}  // namespace

DrawingArea::DrawingArea(AppState& app, QWidget* parent)
    : QWidget(parent),
      app_(app),
      surface_(std::make_unique<QtSurface>(QSize(1, 1), double(logicalDpiX()))),
      input_(app) {
    surface_->setSystemColours(desktopSystemColour);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 120);
    updatePointer();
}

void DrawingArea::redrawPicture() {
    redraw(app_, *surface_);
    input_.refresh();  // every change of the model comes with a redraw
    update();
}

void DrawingArea::abandonGesture() {
    input_.abandon();
    update();
}

void DrawingArea::quickRedrawPicture() {
    quickRedraw({app_.model, app_.settings, app_.view}, *surface_);
    update();
}

void DrawingArea::updatePointer() {
    const InteractionMode mode = app_.window.pointerMode;
    if (mode == InteractionMode::None) {
        setCursor(Qt::CrossCursor);
    } else {
        setCursor(modeCursor(int(mode)));
    }
}

void DrawingArea::hideMarkers() {
    input_.hideMarkers();
    update();
}

void DrawingArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, surface_->image());
    paintOverlay(painter);
}

void DrawingArea::paintOverlay(QPainter& painter) {
    const PointerOverlay& o = input_.overlay();
    const double k = pixelsPerCm();
    const QColor ink = qcolor(surface_->rgb(app_.settings.xroma_stoixeion));
    const QColor nodes = qcolor(surface_->rgb(app_.settings.xroma_kombon));
    const QColor highlight = palette().color(QPalette::Highlight);
    // The labels stand on the drawing in its own colours, whatever the desktop's scheme.
    const QColor paper = qcolor(surface_->rgb(app_.settings.xroma_background));
    painter.setRenderHint(QPainter::Antialiasing);
    const auto label = [&](const std::string& text, double x, double y, const QColor& colour) {
        if (text.empty()) return;
        const QStringList lines = QString::fromStdString(text).split('\n');
        const QFontMetrics metrics(painter.font());
        int width = 0;
        for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
        const QRect box(int(x * k), int(y * k), width + 8,
                        metrics.height() * int(lines.size()) + 2);
        painter.fillRect(box, paper);
        painter.setPen(QPen(colour.darker(110), 1));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(colour);
        painter.drawText(box.adjusted(4, 1, -4, -1), Qt::AlignLeft | Qt::AlignTop,
                         lines.join('\n'));
    };
    if (o.elementShown) {
        painter.setPen(QPen(highlight, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(o.elementX1, o.elementY1) * k,
                         QPointF(o.elementX2, o.elementY2) * k);
        label(o.elementLabel, o.elementLabelX, o.elementLabelY, highlight);
    }
    if (o.bandShown) {
        painter.setPen(QPen(ink, 1, Qt::DashLine));
        painter.drawLine(QPointF(o.bandX1, o.bandY1) * k, QPointF(o.bandX2, o.bandY2) * k);
        label(o.bandLabel, o.bandLabelX, o.bandLabelY, ink);
    }
    if (o.rectangleShown) {
        painter.setPen(QPen(ink, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(o.rectangleX * k, o.rectangleY * k, o.rectangleWidth * k,
                                o.rectangleHeight * k));
    }
    if (o.markerVisible) {
        const QRectF marker((o.markerX - o.markerSize / 2) * k, (o.markerY - o.markerSize / 2) * k,
                            o.markerSize * k, o.markerSize * k);
        painter.setPen(QPen(nodes, o.markerBorder));
        painter.setBrush(Qt::NoBrush);
        if (o.markerOnNode) {
            painter.drawEllipse(marker);
        } else {
            painter.drawRoundedRect(marker, 2, 2);
        }
        label(o.nodeLabel, o.nodeLabelX, o.nodeLabelY, nodes);
    }
}

void DrawingArea::resizeEvent(QResizeEvent*) {
    surface_->resize(size());
    // The view keeps its values; the model keeps its place relative to the bottom-left.
    redrawPicture();
}

QPointF DrawingArea::toCm(QPointF pixels) const { return pixels / pixelsPerCm(); }

void DrawingArea::handle(const PointerRequest& request, QPoint globalPosition) {
    switch (request.kind) {
        case PointerRequest::Kind::ModeMenu:
            emit modeMenuRequested(globalPosition);
            break;
        case PointerRequest::Kind::ObjectMenu:
            emit objectMenuRequested(request.node, request.element, globalPosition);
            break;
        case PointerRequest::Kind::GroupsDialog:
            emit groupsDialogRequested();
            break;
        case PointerRequest::Kind::None:
            break;
    }
}

void DrawingArea::mousePressEvent(QMouseEvent* event) {
    const QPointF at = toCm(event->position());
    handle(input_.press(buttonOf(event), at.x(), at.y()), event->globalPosition().toPoint());
    update();
}

void DrawingArea::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = toCm(event->position());
    input_.move(at.x(), at.y());
    emit readoutChanged(QString::fromStdString(input_.readoutX),
                        QString::fromStdString(input_.readoutY));
    update();
}

void DrawingArea::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = toCm(event->position());
    // The drawing area keeps the pointer while a button is down, so a release over the log
    // or outside the window still arrives here, outside the area.
    const bool inside = rect().contains(event->position().toPoint());
    handle(input_.release(buttonOf(event), at.x(), at.y(), inside),
           event->globalPosition().toPoint());
    update();
}

void DrawingArea::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    input_.doubleClick();
    update();
}

}  // namespace vortak
