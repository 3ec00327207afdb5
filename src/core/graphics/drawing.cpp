#include "graphics/drawing.h"

#include <cmath>
#include <string>

#include "analysis/solver.h"
#include "base/number_text.h"
#include "graphics/result_drawing.h"
#include "graphics/surface.h"
#include "graphics/view_transform.h"
#include "model/model.h"
#include "settings/view_settings.h"

namespace vortak {

namespace {

struct Point {
    double x, y;
};

Point picture(const DrawingInput& in, int n) {
    return {in.view.toPictureX(in.model.nodes.x[n]), in.view.toPictureY(in.model.nodes.y[n])};
}

void drawXRoller(Surface& s, double X, double Y, double side) {
    s.line(X, Y, X + 0.25 * side, Y + 0.25);
    s.line(X, Y, X + 0.25 * side, Y - 0.25);
    s.line(X + 0.25 * side, Y - 0.25, X + 0.25 * side, Y + 0.25);
    s.circle(X + 0.35 * side, Y, 0.1);
    s.line(X + 0.45 * side, Y - 0.25, X + 0.45 * side, Y + 0.25);
    for (int i = 0; i <= 4; ++i) {
        s.moveTo(X + 0.45 * side, Y + 0.25 - 0.1 * i);
        s.lineBy(0.15 * side, -0.15);
    }
}

// The triangle of a vertical support with its base at Y + 0.25*side.
void drawSupportTriangle(Surface& s, double X, double Y, double side) {
    s.line(X, Y, X + 0.25, Y + 0.25 * side);
    s.line(X, Y, X - 0.25, Y + 0.25 * side);
    s.line(X - 0.25, Y + 0.25 * side, X + 0.25, Y + 0.25 * side);
}

void drawHatch(Surface& s, double X, double groundY, double side) {
    for (int i = 1; i <= 5; ++i) {
        s.moveTo(X - 0.25 + 0.1 * i, groundY);
        s.lineBy(-0.15, 0.15 * side);
    }
}

void drawYRoller(Surface& s, double X, double Y, double side) {
    drawSupportTriangle(s, X, Y, side);
    s.circle(X, Y + 0.35 * side, 0.1);
    s.line(X - 0.25, Y + 0.45 * side, X + 0.25, Y + 0.45 * side);
    drawHatch(s, X, Y + 0.45 * side, side);
}

void drawPin(Surface& s, double X, double Y, double side) {
    drawSupportTriangle(s, X, Y, side);
    drawHatch(s, X, Y + 0.25 * side, side);
}

// A zig-zag spring of 0.88 cm from the node, to the right (horizontal) or downwards.
void drawSpring(Surface& s, double X, double Y, bool horizontal) {
    static constexpr double kSteps[][2] = {{0.2, 0},     {0.04, 0.2},  {0.08, -0.4},
                                           {0.08, 0.4},  {0.08, -0.4}, {0.08, 0.4},
                                           {0.08, -0.4}, {0.04, 0.2},  {0.2, 0}};
    s.moveTo(X, Y);
    for (const auto& step : kSteps) {
        if (horizontal) {
            s.lineBy(step[0], step[1]);
        } else {
            s.lineBy(step[1], step[0]);
        }
    }
}

// The unit directions from node n along the elements that meet it, summed.
Point memberDirections(const Model& m, int n) {
    Point sum{0, 0};
    for (int e = 1; e <= m.elementCount; ++e) {
        const int i = m.nodeI(e);
        const int j = m.nodeJ(e);
        if (i != n && j != n) continue;
        const int other = i == n ? j : i;
        const double dx = double(m.nodes.x[other]) - m.nodes.x[n];
        const double dy = double(m.nodes.y[other]) - m.nodes.y[n];
        const double length = std::sqrt(dx * dx + dy * dy);
        if (length == 0) continue;
        sum.x += dx / length;
        sum.y += dy / length;
    }
    return sum;
}

}  // namespace

double gridPitch(const ViewSettings& settings, double scale) {
    return double(settings.kannab) * 100.0 / scale;
}

void drawGrid(const DrawingInput& in, Surface& s) {
    if (!in.settings.nai_grid) return;
    const double gp = gridPitch(in.settings, in.view.scale);
    if (!(gp >= kMinGridPitchCm)) return;
    const double SW = s.widthCm();
    const double SH = s.heightCm();
    s.setPen(in.settings.xroma_grid, 1);
    const double fx = in.view.offsetX - std::floor(in.view.offsetX / gp) * gp;
    const double fy = in.view.offsetY - std::floor(in.view.offsetY / gp) * gp;
    const int columns = int(std::floor(SW / gp)) + 1;
    for (int i = 1; i <= columns; ++i) {
        const double X = i * gp - fx;
        s.line(X, 0, X, SH);
    }
    const int rows = int(std::floor(SH / gp));
    for (int j = 0; j <= rows; ++j) {
        const double Y = SH - j * gp - fy;
        s.line(0, Y, SW, Y);
    }
}

void drawAxes(const DrawingInput& in, Surface& s) {
    if (in.settings.nai_aksones) {
        const double ox = in.view.toPictureX(0);
        const double oy = in.view.toPictureY(0);
        s.setFont(kAxesPoints);
        s.setPen(in.settings.xroma_aksonon, 1);
        s.line(ox - 0.2, oy, ox + 1.5, oy);
        s.line(ox + 1.8, oy, ox + 1.5, oy + 0.1);
        s.line(ox + 1.5, oy + 0.1, ox + 1.5, oy - 0.1);
        s.line(ox + 1.5, oy - 0.1, ox + 1.8, oy);
        s.text(ox + 1.6, oy + 0.1, "x");
        s.line(ox, oy + 0.2, ox, oy - 1.5);
        s.line(ox, oy - 1.8, ox - 0.1, oy - 1.5);
        s.line(ox - 0.1, oy - 1.5, ox + 0.1, oy - 1.5);
        s.line(ox + 0.1, oy - 1.5, ox, oy - 1.8);
        s.text(ox - 0.35, oy - 1.8, "y");
    }
    s.setFont(kLabelPoints);
}

void drawElement(const DrawingInput& in, Surface& s, int e, Colour colour, int penWidth) {
    drawElement(in, s, e, colour, penWidth, colour);
}

void drawElement(const DrawingInput& in, Surface& s, int e, Colour colour, int penWidth,
                 Colour labelColour) {
    const Model& m = in.model;
    const ViewSettings& v = in.settings;
    const int i = m.nodeI(e);
    const int j = m.nodeJ(e);
    s.setPen(colour, penWidth);
    const Point pi = picture(in, i);
    const Point pj = picture(in, j);
    if (v.nai_stoixeia) s.line(pi.x, pi.y, pj.x, pj.y);

    std::string first;
    if (v.nai_arithmisi_stoixeion) first = " " + whole(e);
    if (v.nai_omades) first += " (" + whole(m.groupOf(e)) + ")";
    std::string second;
    if (v.nai_miki) second = " " + general(roundDecimals(barGeometry(m, e).length, 4));
    if (first.empty() && second.empty()) return;
    const double xm = 0.5 * double(m.nodes.x[i]) + 0.5 * double(m.nodes.x[j]);
    const double ym = 0.5 * double(m.nodes.y[i]) + 0.5 * double(m.nodes.y[j]);
    s.setPen(labelColour, 1);
    s.text(in.view.toPictureX(xm), in.view.toPictureY(ym), first);
    s.textNextLine(second);
}

void drawElements(const DrawingInput& in, Surface& s) {
    s.setFillOn(true);
    for (int e = 1; e <= in.model.elementCount; ++e) {
        drawElement(in, s, e, in.settings.xroma_stoixeion, 1);
    }
}

void drawLoads(const DrawingInput& in, Surface& s) {
    const Model& m = in.model;
    const ViewSettings& v = in.settings;
    s.setPen(v.xroma_sigkentromenon, 2);
    for (int n = 1; n <= m.nodeCount; ++n) {
        const Point p = picture(in, n);
        const double X = p.x;
        const double Y = p.y;
        if (const float Fx = m.nodes.Fx[n]; Fx != 0) {
            const double sign = Fx > 0 ? 1 : -1;
            if (v.nai_fortiseis_si) {
                s.line(X - 1.2 * sign, Y, X, Y);
                s.lineBy(-0.35 * sign, 0.06);
                s.lineBy(0, -0.12);
                s.lineBy(0.35 * sign, 0.06);
            }
            if (v.nai_times_fortiseon_si) {
                s.text(sign > 0 ? X - 0.8 : X + 0.4, Y + 0.1, " " + general(std::fabs(Fx)));
            }
        }
        if (const float Fy = m.nodes.Fy[n]; Fy != 0) {
            const double sign = Fy > 0 ? 1 : -1;
            if (v.nai_fortiseis_si) {
                s.line(X, Y + 1.2 * sign, X, Y);
                s.lineBy(0.06, 0.35 * sign);
                s.lineBy(-0.12, 0);
                s.lineBy(0.06, -0.35 * sign);
            }
            if (v.nai_times_fortiseon_si) {
                s.text(X + 0.1, sign > 0 ? Y + 0.3 : Y - 0.6, " " + general(std::fabs(Fy)));
            }
        }
    }
    s.setPenWidth(1);
}

void drawNode(const DrawingInput& in, Surface& s, int n) {
    const Model& m = in.model;
    const ViewSettings& v = in.settings;
    s.setPen(v.xroma_kombon, 1);
    s.setFillColour(v.xroma_background);
    s.setFillOn(true);
    const Point p = picture(in, n);
    const double X = p.x;
    const double Y = p.y;
    const bool fixedX = m.nodes.cx[n] == 1.0f;
    const bool fixedY = m.nodes.cy[n] == 1.0f;

    std::string label = v.nai_arithmisi_kombon ? whole(n) : std::string();
    double offX = 0;
    const double offY = 0;
    if (v.nai_desmefseis && !v.nai_graf_stir) {
        const std::string code = std::string(fixedX ? "x" : "o") + (fixedY ? "x" : "o");
        if (code != "oo") label += " " + code;
    } else if (v.nai_desmefseis && (fixedX || fixedY)) {
        const Point d = memberDirections(m, n);
        if (fixedX && !fixedY) {
            const double side = d.x > 0 ? -1 : 1;
            if (side > 0) offX = -0.3;
            drawXRoller(s, X, Y, side);
        } else {
            const double side = d.y >= 0 ? 1 : -1;
            if (side > 0) offX = 0.15;
            if (fixedX) {
                drawPin(s, X, Y, side);
            } else {
                drawYRoller(s, X, Y, side);
            }
        }
    }
    if (v.nai_springs) {
        if (m.nodes.Kx[n] > 0) drawSpring(s, X, Y, true);
        if (m.nodes.Ky[n] > 0) drawSpring(s, X, Y, false);
    }
    if (v.nai_komboi) s.circle(X, Y, 0.08);

    const std::string coordinates =
        v.nai_sint_kombon ? " (" + general(m.nodes.x[n]) + ", " + general(m.nodes.y[n]) + ")"
                          : std::string();
    if (label.empty() && coordinates.empty()) return;
    s.text(X + offX, Y + offY, label);
    // The coordinates stand under the node itself, not under the label moved clear of a
    // support symbol.
    s.text(X, Y + offY + s.lineHeight(), coordinates);
}

void drawNodes(const DrawingInput& in, Surface& s) {
    for (int n = 1; n <= in.model.nodeCount; ++n) drawNode(in, s, n);
}

void drawModel(const DrawingInput& in, Surface& s) {
    s.clear(in.settings.xroma_background);
    drawGrid(in, s);
    drawAxes(in, s);
    drawElements(in, s);
    drawLoads(in, s);
    drawNodes(in, s);
}

void quickRedraw(const DrawingInput& in, Surface& s) {
    s.clear(in.settings.xroma_background);
    drawAxes(in, s);
    s.setPen(in.settings.xroma_stoixeion, 1);
    for (int e = 1; e <= in.model.elementCount; ++e) {
        const Point pi = picture(in, in.model.nodeI(e));
        const Point pj = picture(in, in.model.nodeJ(e));
        s.line(pi.x, pi.y, pj.x, pj.y);
    }
}

void drawView(const DrawingInput& in, Surface& s, ViewMode view, int animationFrame) {
    switch (view) {
        case ViewMode::Model:
            drawModel(in, s);
            break;
        case ViewMode::NDiagram:
            drawNDiagram(in, s);
            break;
        case ViewMode::Deformed:
            drawDeformedModel(in, s);
            break;
        case ViewMode::Colour:
            drawColourDiagram(in, s);
            break;
        case ViewMode::Animation:
            drawAnimationFrame(in, s, animationFrame);
            break;
    }
}

void applyLabelPreset(ViewSettings& v, LabelPreset preset) {
    const bool all = preset == LabelPreset::All;
    const bool basic = preset != LabelPreset::None;
    v.nai_arithmisi_kombon = basic;
    v.nai_sint_kombon = all;
    v.nai_arithmisi_stoixeion = basic;
    v.nai_omades = all;
    v.nai_miki = all;
    v.nai_times_fortiseon_si = basic;
    v.nai_times_N = basic;
}

}  // namespace vortak
