#include "app/icons.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPalette>
#include <QPixmap>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace vortak {
namespace {

// The palette follows the drawings: black bars, blue nodes, supports and deformed shape,
// green loads and [N] bands, blue for tension and red for compression.
const QColor kInk(0x24, 0x29, 0x30);
const QColor kBlue(0x1f, 0x5f, 0xc4);
const QColor kGreen(0x2e, 0x8b, 0x3a);
const QColor kRed(0xd3, 0x2f, 0x2f);
const QColor kAmber(0xf2, 0xa9, 0x2c);
const QColor kDarkAmber(0xc9, 0x80, 0x14);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kGlass(0xd8, 0xe8, 0xfa);
const QColor kMuted(0x9a, 0xa3, 0xad);

// Toolbar icons are designed on a 24-unit grid (one unit is one pixel at the toolbar size):
// one-unit lines sit on half units and two-unit lines on whole units, so they are crisp at
// 24 and 48 px. The application icon has a 48-unit grid, the same as packaging/vortak.svg.
constexpr qreal kIconGrid = 24;
constexpr qreal kAppGrid = 48;
constexpr qreal kDiagonal = 0.70710678118654752;  // cos 45°

// A round-capped pen `width` grid units wide but never thinner than one device pixel, so
// the hairlines survive at 16 px.
QPen pen(const QPainter& p, const QColor& colour, qreal width) {
    const qreal scale = p.transform().m11();
    return QPen(colour, std::max(width, 1.0 / scale), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPen dashed(const QPainter& p, const QColor& colour, qreal width, qreal dash, qreal gap) {
    QPen result = pen(p, colour, width);
    result.setCapStyle(Qt::FlatCap);
    result.setDashPattern({dash / result.widthF(), gap / result.widthF()});
    return result;
}

void shape(QPainter& p, const QPainterPath& path, const QColor& fill, const QColor& edge,
           qreal width = 1) {
    p.setPen(pen(p, edge, width));
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    return path;
}

QPainterPath circle(QPointF centre, qreal radius) {
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath rectangle(const QRectF& box) {
    QPainterPath path;
    path.addRect(box);
    return path;
}

// The outline of a stroke as a shape of its own.
QPainterPath thick(const QPainterPath& path, qreal width, Qt::PenCapStyle cap = Qt::RoundCap) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path);
}

void dot(QPainter& p, QPointF centre, qreal radius, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
}

// The filled head of an arrow pointing at `tip` from the direction of `from`.
QPainterPath arrowHead(QPointF from, QPointF tip, qreal length) {
    const QLineF line(from, tip);
    const QPointF along = (tip - from) / line.length();
    const QPointF across(-along.y(), along.x());
    const QPointF base = tip - along * length;
    return polygon({tip, base + across * length * 0.55, base - across * length * 0.55});
}

void arrow(QPainter& p, QPointF from, QPointF tip, const QColor& colour, qreal width, qreal head) {
    const QPointF along = (tip - from) / QLineF(from, tip).length();
    QPen shaft = pen(p, colour, width);
    shaft.setCapStyle(Qt::FlatCap);
    p.setPen(shaft);
    p.drawLine(from, tip - along * head * 0.6);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(arrowHead(from, tip, head));
}

// A hatched ground or wall line from `from` to `to`, the hatching going down to the left.
void ground(QPainter& p, QPointF from, QPointF to) {
    p.setPen(pen(p, kBlue, 1));
    p.drawLine(from, to);
    const QLineF line(from, to);
    for (qreal at = 1; at <= line.length(); at += 2) {
        const QPointF tick = line.pointAt(at / line.length());
        p.drawLine(tick, tick + QPointF(-1.5, 1.5));
    }
}

// A pinned support under a node: a blue triangle, on a hatched ground line if asked.
void support(QPainter& p, QPointF node, qreal half, qreal height, bool grounded) {
    shape(p, polygon({node, node + QPointF(-half, height), node + QPointF(half, height)}), kBlue,
          kBlue, 0.5);
    const qreal base = std::floor(node.y() + height + 1) + 0.5;
    if (grounded)
        ground(p, QPointF(node.x() - half - 0.5, base), QPointF(node.x() + half + 0.5, base));
}

// A Warren truss of three bottom and two top nodes spanning `box`; kBars lists its bars
// as node pairs: bottom chord, top chord, then the diagonals from left to right.
using Truss = std::array<QPointF, 5>;
constexpr std::array<std::pair<int, int>, 7> kBars{
    {{0, 1}, {1, 2}, {3, 4}, {0, 3}, {3, 1}, {1, 4}, {4, 2}}};

Truss warren(const QRectF& box) {
    const qreal quarter = box.width() / 4;
    return {box.bottomLeft(), QPointF(box.center().x(), box.bottom()), box.bottomRight(),
            QPointF(box.left() + quarter, box.top()), QPointF(box.right() - quarter, box.top())};
}

void bars(QPainter& p, const Truss& truss, const QPen& barPen) {
    p.setPen(barPen);
    for (const auto& [from, to] : kBars) p.drawLine(truss[from], truss[to]);
}

void nodes(QPainter& p, const Truss& truss, qreal radius, const QColor& colour = kBlue) {
    for (const QPointF& node : truss) dot(p, node, radius, colour);
}

// A magnifier: a glass lens of `radius` round `centre` and a handle going down to the right.
void magnifier(QPainter& p, const QColor& ink, QPointF centre, qreal radius, qreal handle) {
    const QPointF down(kDiagonal, kDiagonal);
    p.setPen(pen(p, ink, 3));
    p.drawLine(centre + down * (radius + 1.5), centre + down * (radius + handle));
    p.setPen(pen(p, ink, 2));
    p.setBrush(kGlass);
    p.drawEllipse(centre, radius, radius);
}

// A band beside the bar from `a` to `b`, `depth` wide on the side the normal points to.
void band(QPainter& p, QPointF a, QPointF b, qreal depth) {
    const QPointF along = (b - a) / QLineF(a, b).length();
    const QPointF normal = QPointF(along.y(), -along.x()) * depth;
    QColor fill = kGreen;
    fill.setAlpha(70);
    shape(p, polygon({a, b, b + normal, a + normal}), fill, kGreen);
}

// An open hand on the icon grid, palm towards the viewer; the lines that part the fingers
// are separate so that they can be drawn over the fill.
QPainterPath handOutline() {
    auto finger = [](qreal x, qreal top, qreal bottom) {
        return thick(polyline({QPointF(x, top + 1.5), QPointF(x, bottom)}), 3);
    };
    QPainterPath palm;
    palm.addRoundedRect(QRectF(7.5, 11.5, 12, 10), 3.5, 3.5);
    return palm.united(finger(9, 4.5, 13))
        .united(finger(12, 3, 13))
        .united(finger(15, 4, 13))
        .united(finger(18, 6.5, 14))
        .united(thick(polyline({QPointF(4.5, 11.5), QPointF(8.5, 17.5)}), 3.2));
}

QPainterPath handCreases() {
    QPainterPath creases;
    for (const auto& [x, top] : {std::pair{10.5, 7.0}, {13.5, 6.5}, {16.5, 8.5}}) {
        creases.moveTo(x, top);
        creases.lineTo(x, 12.5);
    }
    return creases;
}

constexpr QPointF kPalmCentre(13.5, 16);

// --- the toolbar pictures, one per key, on the 24-unit grid ---

void paintNew(QPainter& p, const QColor&) {
    shape(p, polygon({{4.5, 2.5}, {13.5, 2.5}, {18.5, 7.5}, {18.5, 21.5}, {4.5, 21.5}}), kPaper,
          kInk);
    shape(p, polygon({{13.5, 2.5}, {13.5, 7.5}, {18.5, 7.5}}), kGlass, kInk);
    shape(p, circle(QPointF(17, 17), 5), kBlue, kPaper);
    p.setPen(pen(p, kPaper, 2));
    p.drawLine(QPointF(17, 14), QPointF(17, 20));
    p.drawLine(QPointF(14, 17), QPointF(20, 17));
}

void paintOpen(QPainter& p, const QColor&) {
    shape(p, polygon({{2.5, 19.5}, {2.5, 4.5}, {8.5, 4.5}, {10.5, 6.5}, {18.5, 6.5}, {18.5, 19.5}}),
          kDarkAmber, kInk);
    shape(p, polygon({{5.5, 8.5}, {16.5, 8.5}, {16.5, 12.5}, {5.5, 12.5}}), kPaper, kInk);
    shape(p, polygon({{2.5, 19.5}, {6.5, 11.5}, {22.5, 11.5}, {18.5, 19.5}}), kAmber, kInk);
}

void paintSave(QPainter& p, const QColor&) {
    shape(p, polygon({{3.5, 3.5}, {17.5, 3.5}, {20.5, 6.5}, {20.5, 20.5}, {3.5, 20.5}}), kBlue,
          kInk);
    shape(p, polygon({{7.5, 3.5}, {15.5, 3.5}, {15.5, 9.5}, {7.5, 9.5}}), kGlass, kInk);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(12, 5, 2, 3));
    shape(p, polygon({{6.5, 13.5}, {17.5, 13.5}, {17.5, 20.5}, {6.5, 20.5}}), kPaper, kInk);
    p.setPen(pen(p, kMuted, 1));
    p.drawLine(QPointF(8.5, 16.5), QPointF(15.5, 16.5));
}

void paintPan(QPainter& p, const QColor&) {
    shape(p, handOutline(), kPaper, kInk);
    p.setPen(pen(p, kInk, 1));
    p.drawPath(handCreases());
}

void paintZoom(QPainter& p, const QColor& ink) {
    magnifier(p, ink, QPointF(10, 10), 6, 10);
    arrow(p, QPointF(20.5, 7), QPointF(20.5, 1.5), kBlue, 1.5, 4);
    arrow(p, QPointF(20.5, 7), QPointF(20.5, 12.5), kBlue, 1.5, 4);
}

void paintZoomWindow(QPainter& p, const QColor& ink) {
    p.setPen(dashed(p, ink, 1, 2, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2.5, 3.5, 15, 11));
    magnifier(p, ink, QPointF(15, 14.5), 4.5, 4.5);
}

void paintZoomPrevious(QPainter& p, const QColor& ink) {
    magnifier(p, ink, QPointF(13.5, 13.5), 5.5, 5.5);
    // A hook turning back over the top to the left: the way to the previous view.
    QPainterPath hook;
    hook.moveTo(11, 6.5);
    hook.arcTo(QRectF(3.5, 2.5, 7.5, 8), 0, 180);
    p.setPen(pen(p, kBlue, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPath(arrowHead(QPointF(3.5, 5.5), QPointF(3.5, 11.5), 5));
}

// A curved arrow going back to the left; mirrored, forward again to the right.
void paintStepArrow(QPainter& p, const QColor& ink, bool forward) {
    if (forward) p.setTransform(QTransform(-1, 0, 0, 1, kIconGrid, 0), true);
    QPainterPath path;
    path.moveTo(20, 20);
    path.cubicTo(20.5, 12, 16, 8.5, 9, 8.5);
    p.setPen(pen(p, ink, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(pen(p, kBlue, 1));
    p.setBrush(kBlue);
    p.drawPath(arrowHead(QPointF(10, 8.5), QPointF(2.5, 8.5), 7));
}

void paintUndo(QPainter& p, const QColor& ink) { paintStepArrow(p, ink, false); }
void paintRedo(QPainter& p, const QColor& ink) { paintStepArrow(p, ink, true); }

void paintZoomExtents(QPainter& p, const QColor& ink) {
    p.setPen(pen(p, ink, 2));
    p.setBrush(Qt::NoBrush);
    for (const QPointF& corner : {QPointF(3, 3), QPointF(21, 3), QPointF(21, 21), QPointF(3, 21)}) {
        const qreal dx = corner.x() < 12 ? 4 : -4, dy = corner.y() < 12 ? 4 : -4;
        p.drawPath(polyline({corner + QPointF(dx, 0), corner, corner + QPointF(0, dy)}));
    }
    magnifier(p, ink, QPointF(11, 11), 4, 6.5);
}

void paintGroups(QPainter& p, const QColor& ink) {
    QPen letters = pen(p, ink, 2);
    letters.setCapStyle(Qt::FlatCap);
    letters.setJoinStyle(Qt::MiterJoin);
    p.setPen(letters);
    p.setBrush(Qt::NoBrush);
    p.drawPath(polyline({{10.5, 4}, {4, 4}, {4, 14}, {10.5, 14}}));
    p.drawLine(QPointF(4, 9), QPointF(9, 9));
    p.drawPath(polyline({{12.5, 14.5}, {16.5, 3.5}, {20.5, 14.5}}));
    p.drawLine(QPointF(14, 11), QPointF(19, 11));
    p.setPen(pen(p, ink, 2));
    p.drawLine(QPointF(4, 19.5), QPointF(20, 19.5));
    dot(p, QPointF(4, 19.5), 2.25, kBlue);
    dot(p, QPointF(20, 19.5), 2.25, kBlue);
}

void paintNodes(QPainter& p, const QColor&) {
    arrow(p, QPointF(4.5, 20.5), QPointF(4.5, 2), kMuted, 1, 3.5);
    arrow(p, QPointF(3.5, 19.5), QPointF(22, 19.5), kMuted, 1, 3.5);
    p.setPen(dashed(p, kBlue, 1, 1.5, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(polyline({{4.5, 8.5}, {14.5, 8.5}, {14.5, 19.5}}));
    dot(p, QPointF(14.5, 8.5), 2.5, kBlue);
    dot(p, QPointF(9.5, 14.5), 2.5, kBlue);
    dot(p, QPointF(19.5, 13.5), 2.5, kBlue);
}

void paintElements(QPainter& p, const QColor& ink) {
    p.setPen(pen(p, ink, 2.5));
    p.drawLine(QPointF(5, 18), QPointF(19, 6));
    dot(p, QPointF(5, 18), 2.75, kBlue);
    dot(p, QPointF(19, 6), 2.75, kBlue);
}

void paintLoads(QPainter& p, const QColor& ink) {
    // Two loads on the top node of a pair of bars.
    const QPointF node(14, 12);
    p.setPen(pen(p, ink, 2));
    p.drawLine(node, QPointF(7, 21));
    p.drawLine(node, QPointF(21, 21));
    arrow(p, QPointF(14, 1), node - QPointF(0, 3), kGreen, 2, 5);
    arrow(p, QPointF(2, 12), node - QPointF(3, 0), kGreen, 2, 5);
    dot(p, node, 2.5, kBlue);
}

void paintModel(QPainter& p, const QColor& ink) {
    const Truss truss = warren(QRectF(4, 6, 16, 9));
    bars(p, truss, pen(p, ink, 2));
    support(p, truss[0], 2.5, 4, true);
    support(p, truss[2], 2.5, 4, true);
    nodes(p, truss, 1.75);
}

void paintAxialForce(QPainter& p, const QColor& ink) {
    // Bands above the compressed top chord and below the stretched bottom chord.
    const Truss truss = warren(QRectF(3, 9, 18, 6));
    band(p, truss[3], truss[4], 5);
    band(p, truss[1], truss[0], 3.5);
    band(p, truss[2], truss[1], 3.5);
    bars(p, truss, pen(p, ink, 1.25));
    nodes(p, truss, 1.4);
}

void paintColourForces(QPainter& p, const QColor& ink) {
    const Truss truss = warren(QRectF(3, 6, 18, 11));
    // A simply supported Warren truss under a load at midspan: top chord and end diagonals
    // in compression, bottom chord and inner diagonals in tension.
    const std::array<QColor, 7> colours{kBlue, kBlue, kRed, kRed, kBlue, kBlue, kRed};
    for (std::size_t i = 0; i < kBars.size(); ++i) {
        p.setPen(pen(p, colours[i], 2.5));
        p.drawLine(truss[kBars[i].first], truss[kBars[i].second]);
    }
    nodes(p, truss, 1.5, ink);
}

void paintDeformed(QPainter& p, const QColor& ink) {
    // A cantilever on a wall, straight, and dashed as it bends under load.
    const QPointF root(4, 5.5), tip(21, 5.5), moved(19.5, 19);
    ground(p, QPointF(3.5, 1.5), QPointF(3.5, 12.5));
    QPainterPath bent;
    bent.moveTo(root);
    bent.quadTo(12, 5.5, moved.x(), moved.y());
    p.setPen(pen(p, ink, 1));
    p.drawLine(root, tip);
    p.setPen(dashed(p, kBlue, 2, 3, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bent);
    dot(p, QPointF(12.5, 5.5), 1.5, ink);
    dot(p, tip, 1.5, ink);
    dot(p, bent.pointAtPercent(0.5), 2, kBlue);
    dot(p, moved, 2, kBlue);
}

void paintAnimation(QPainter& p, const QColor& ink) {
    // A play button over a beam swinging between its supports, the earlier moments fading.
    for (const auto& [sag, alpha] : {std::pair{1.0, 60}, {3.5, 130}, {6.0, 255}}) {
        QColor colour = kBlue;
        colour.setAlpha(alpha);
        QPainterPath beam;
        beam.moveTo(3, 14);
        beam.quadTo(12, 14 + 2 * sag, 21, 14);
        p.setPen(pen(p, colour, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(beam);
    }
    dot(p, QPointF(3, 14), 1.75, ink);
    dot(p, QPointF(21, 14), 1.75, ink);
    dot(p, QPointF(8, 7.5), 5.5, ink);
    // The triangle is cut out of the disc, so that it shows the toolbar behind.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    shape(p, polygon({{6.5, 4.5}, {6.5, 10.5}, {11.5, 7.5}}), Qt::black, Qt::black, 0.5);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void paintOptions(QPainter& p, const QColor& ink) {
    for (const auto& [y, knob] : {std::pair{5.5, 15.5}, {12.0, 8.0}, {18.5, 13.5}}) {
        p.setPen(pen(p, ink, 1.5));
        p.drawLine(QPointF(3, y), QPointF(21, y));
        shape(p, circle(QPointF(knob, y), 2.75), kBlue, ink);
    }
}

void paintAnalyse(QPainter& p, const QColor& ink) {
    // The truss, and a flash coming down on it: the analysis runs.
    const Truss truss = warren(QRectF(3, 14, 18, 7));
    bars(p, truss, pen(p, ink, 1.5));
    nodes(p, truss, 1.4);
    shape(
        p,
        polygon({{15.5, 1.5}, {11, 8.5}, {14.5, 8.5}, {12.5, 13.5}, {19.5, 6}, {16, 6}, {19, 1.5}}),
        kAmber, ink);
}

void paintResults(QPainter& p, const QColor&) {
    const QRectF table(3.5, 4.5, 17, 15);
    shape(p, rectangle(table), kPaper, kInk);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRect(QRectF(table.left(), table.top(), table.width(), 4));
    p.setPen(pen(p, kMuted, 1));
    for (qreal y : {12.5, 16.5}) p.drawLine(QPointF(table.left(), y), QPointF(table.right(), y));
    for (qreal x : {9.5, 15.5}) p.drawLine(QPointF(x, 8.5), QPointF(x, table.bottom()));
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(p, kInk, 1));
    p.drawRect(table);
}

using Painting = void (*)(QPainter&, const QColor& ink);

struct Picture {
    const char* key;
    Painting paint;
};

constexpr std::array<Picture, 22> kToolbar{{
    {"New", paintNew},
    {"Open", paintOpen},
    {"Save", paintSave},
    {"Undo", paintUndo},
    {"Redo", paintRedo},
    {"Xeraki", paintPan},
    {"Zoom", paintZoom},
    {"Zoom_Window", paintZoomWindow},
    {"Zoom_Previous", paintZoomPrevious},
    {"ZoomBestFit", paintZoomExtents},
    {"EA", paintGroups},
    {"Komboi", paintNodes},
    {"Stoixeia", paintElements},
    {"Epikombia", paintLoads},
    {"Foreas", paintModel},
    {"N", paintAxialForce},
    {"CT", paintColourForces},
    {"Deform", paintDeformed},
    {"Animate", paintAnimation},
    {"Rithmiseis", paintOptions},
    {"Epilisi", paintAnalyse},
    {"Apotelesmata", paintResults},
}};

template <typename Paint>
QPixmap render(int size, qreal grid, Paint paint) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / grid, size / grid);
    paint(painter);
    return pixmap;
}

// Line drawings are dark on a light toolbar and light on a dark one; filled pictures
// (page, folder, disk, hand, table) keep their dark outline on either.
QColor lineInk() {
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    return window.lightness() < 128 ? QColor(0xe3, 0xe6, 0xea) : kInk;
}

// The application icon on its 48-unit grid; packaging/vortak.svg repeats these numbers.
void paintApplication(QPainter& p) {
    QLinearGradient background(0, 2.5, 0, 45.5);
    background.setColorAt(0, QColor(0xff, 0xff, 0xff));
    background.setColorAt(1, QColor(0xdc, 0xe6, 0xf2));
    QPainterPath square;
    square.addRoundedRect(QRectF(2.5, 2.5, 43, 43), 8, 8);
    p.setPen(pen(p, QColor(0x8d, 0xa2, 0xb8), 1));
    p.setBrush(background);
    p.drawPath(square);

    const Truss truss = warren(QRectF(10, 13, 28, 15));
    bars(p, truss, pen(p, kInk, 2.5));
    for (const QPointF& node : {truss[0], truss[2]}) {
        shape(p, polygon({node, node + QPointF(-4, 7), node + QPointF(4, 7)}), kBlue, kBlue, 0.5);
        p.setPen(pen(p, kBlue, 1.5));
        p.drawLine(node + QPointF(-5, 8.5), node + QPointF(5, 8.5));
    }
    nodes(p, truss, 2.5);
}

// Pointer images are drawn in device pixels: black shapes inside a white rim.
constexpr int kCursorSize = 32;

void blackOnWhite(QPainter& p, const QPainterPath& ink) {
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(ink);
    p.fillPath(ink, Qt::black);
}

QCursor panCursor() {
    QPixmap pixmap(kCursorSize, kCursorSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // The hand's box is centred in the image, 4/3 of its toolbar size.
    const QPainterPath hand = handOutline();
    const qreal scale = 4.0 / 3.0;
    const QPointF shift =
        QPointF(kCursorSize, kCursorSize) / 2 - hand.boundingRect().center() * scale;
    const QTransform place = QTransform::fromTranslate(shift.x(), shift.y()).scale(scale, scale);
    const QPainterPath outline = place.map(hand);
    p.fillPath(outline, Qt::white);
    blackOnWhite(p, thick(outline, 1.5).united(thick(place.map(handCreases()), 1.2)));
    const QPoint hot = place.map(kPalmCentre).toPoint();
    return QCursor(pixmap, hot.x(), hot.y());
}

QCursor zoomCursor() {
    QPixmap pixmap(kCursorSize, kCursorSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(12.5, 12.5);
    const qreal radius = 8.5;
    const QPainterPath lens = circle(centre, radius);
    p.fillPath(lens, QColor(255, 255, 255, 120));
    const QPointF down(kDiagonal, kDiagonal);
    QPainterPath ink = thick(lens, 2);
    ink = ink.united(thick(polyline({centre + down * (radius + 1), QPointF(28, 28)}), 4));
    // The up and down arrow in the lens: drag up to zoom in, down to zoom out.
    const QPointF up(12.5, 6), bottom(12.5, 19);
    ink = ink.united(thick(polyline({up + QPointF(0, 2), bottom - QPointF(0, 2)}), 1.5))
              .united(arrowHead(bottom, up, 4.5))
              .united(arrowHead(up, bottom, 4.5));
    blackOnWhite(p, ink);
    return QCursor(pixmap, 12, 12);
}

QCursor zoomWindowCursor() {
    QPixmap pixmap(kCursorSize, kCursorSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    // Without antialiasing: the cross and the frame are whole pixels, and so is their rim.
    const QPainterPath cross =
        rectangle(QRectF(1, 11, 21, 1)).united(rectangle(QRectF(11, 1, 1, 21)));
    const QPainterPath frame =
        rectangle(QRectF(17, 18, 12, 9)).subtracted(rectangle(QRectF(18, 19, 10, 7)));
    const QPainterPath ink = cross.united(frame);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(thick(ink, 2, Qt::SquareCap).united(ink));
    p.fillPath(ink, Qt::black);
    return QCursor(pixmap, 11, 11);
}

}  // namespace

QIcon toolbarIcon(const QString& key) {
    const auto picture = std::find_if(kToolbar.begin(), kToolbar.end(),
                                      [&](const Picture& entry) { return key == entry.key; });
    if (picture == kToolbar.end()) return QIcon();
    const QColor ink = lineInk();
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(render(size, kIconGrid, [&](QPainter& p) { picture->paint(p, ink); }));
    return icon;
}

QCursor modeCursor(int mode) {
    switch (mode) {
        case 1:
            return panCursor();
        case 2:
            return zoomCursor();
        case 3:
            return zoomWindowCursor();
        default:
            return QCursor(Qt::ArrowCursor);
    }
}

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(render(size, kAppGrid, paintApplication));
    return icon;
}

QImage applicationIconImage(int size) { return render(size, kAppGrid, paintApplication).toImage(); }

}  // namespace vortak
