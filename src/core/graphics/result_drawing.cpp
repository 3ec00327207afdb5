#include "graphics/result_drawing.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/result_values.h"
#include "analysis/solver.h"
#include "base/number_text.h"
#include "graphics/surface.h"
#include "graphics/view_transform.h"
#include "model/model.h"
#include "settings/view_settings.h"

namespace vortak {

namespace {

constexpr double kValueDrop = 0.22;  // clears the element number under the midpoint
constexpr double kLegendTitlePoints = 12;
constexpr double kLegendPoints = 8;
constexpr Colour kNoticeColour = packColour(255, 0, 0);

int decimalsOf(const ViewSettings& v, ResultQuantity q) {
    return q == ResultQuantity::Strain ? v.dekadika_strain : v.dekadika_N;
}

float scaleOf(const ViewSettings& v, ResultQuantity q) {
    switch (q) {
        case ResultQuantity::Stress:
            return v.Ena_cm_posa_STRESS;
        case ResultQuantity::Strain:
            return v.Ena_cm_posa_STRAIN;
        case ResultQuantity::Force:
            break;
    }
    return v.Ena_cm_posa_FORCE;
}

// Index of the largest absolute value of a quantity in the extremes; the largest and the
// smallest signed values follow it.
int extremesOf(ResultQuantity q) {
    switch (q) {
        case ResultQuantity::Stress:
            return kMaxAbsStress;
        case ResultQuantity::Strain:
            return kMaxAbsStrain;
        case ResultQuantity::Force:
            break;
    }
    return kMaxAbsN;
}

const char* titleOf(ResultQuantity q) {
    switch (q) {
        case ResultQuantity::Stress:
            return "Axial Stress";
        case ResultQuantity::Strain:
            return "Axial Strain";
        case ResultQuantity::Force:
            break;
    }
    return "Axial Force";
}

// The legend of the diagrams: a 12-point bold title at the top-left corner and 8-point
// lines below it.
void drawLegend(const DrawingInput& in, Surface& s, const char* title,
                std::initializer_list<std::string> lines) {
    s.setPen(in.settings.xroma_stoixeion, 1);
    s.setFont(kLegendTitlePoints, true);
    s.text(0.1, 0.07, title);
    s.setFont(kLegendPoints, false);
    for (const std::string& line : lines) s.textNextLine(line);
    s.setFont(kLabelPoints, false);
}

void drawQuantityLegend(const DrawingInput& in, Surface& s, ResultQuantity q) {
    const AnalysisResults& r = in.model.results;
    const int first = extremesOf(q);
    const int decimals = decimalsOf(in.settings, q);
    drawLegend(in, s, titleOf(q),
               {"max.= " + general(roundDecimals(r.extremes[first + 1], decimals)),
                "min.= " + general(roundDecimals(r.extremes[first + 2], decimals))});
}

// A result view of a model without results of its own: the model as it is, with the notice
// in red where the legend goes, and no value anywhere.
bool drawnWithoutResults(const DrawingInput& in, Surface& s) {
    if (in.model.hasCurrentResults()) return false;
    drawModel(in, s);
    s.setPen(kNoticeColour, 1);
    s.setFont(kLegendTitlePoints, true);
    s.text(0.1, 0.07, kNotAnalysedText);
    s.setFont(kLabelPoints, false);
    return true;
}

double valueText(double value, int decimals, std::string& text) {
    const double v = roundDecimals(value, decimals);
    text = classic(v);
    return v;
}

struct Displaced {
    double x, y;
};

// Node n moved by its displacements times `factor` (model units).
Displaced displaced(const Model& m, int n, double factor) {
    return {double(m.nodes.x[n]) + factor * m.results.D[2 * n - 1],
            double(m.nodes.y[n]) + factor * m.results.D[2 * n]};
}

void drawDisplacedElements(const DrawingInput& in, Surface& s, double factor) {
    const Model& m = in.model;
    for (int e = 1; e <= m.elementCount; ++e) {
        const Displaced a = displaced(m, m.nodeI(e), factor);
        const Displaced b = displaced(m, m.nodeJ(e), factor);
        s.line(in.view.toPictureX(a.x), in.view.toPictureY(a.y), in.view.toPictureX(b.x),
               in.view.toPictureY(b.y));
    }
}

double magnification(const ViewSettings& v) { return 1000.0 / double(v.Ena_cm_posa_m_epi_1000); }

// The extent of the values of all elements together with 0: vmax >= 0 >= vmin.
struct ValueRange {
    double vmax = 0, vmin = 0;
    double reference() const { return std::max(std::fabs(vmax), std::fabs(vmin)); }
};

ValueRange valueRange(const Model& m, ResultQuantity q) {
    ValueRange range;
    for (int e = 1; e <= m.elementCount; ++e) {
        const double v = elementValue(m, e, q);
        range.vmax = std::max(range.vmax, v);
        range.vmin = std::min(range.vmin, v);
    }
    return range;
}

int channelBetween(int from, int to, double fraction) {
    return int(std::nearbyint(from + (to - from) * fraction));
}

}  // namespace

ResultQuantity shownQuantity(const ViewSettings& v) {
    if (v.Show_STRESS) return ResultQuantity::Stress;
    if (v.Show_STRAIN) return ResultQuantity::Strain;
    return ResultQuantity::Force;
}

void showQuantity(ViewSettings& v, ResultQuantity q) {
    v.Show_FORCE = q == ResultQuantity::Force;
    v.Show_STRESS = q == ResultQuantity::Stress;
    v.Show_STRAIN = q == ResultQuantity::Strain;
}

double elementValue(const Model& m, int e, ResultQuantity q) {
    switch (q) {
        case ResultQuantity::Stress:
            return axialStress(m, e);
        case ResultQuantity::Strain:
            return axialStrain(m, e);
        case ResultQuantity::Force:
            break;
    }
    return axialForce(m, e);
}

Colour diagramColour(const ViewSettings& v, double value, double R) {
    const Colour zero = v.Xroma_Afortistou;
    if (!(R > 0) || value == 0) return zero;
    const Colour end = value > 0 ? v.Xroma_Efelkismou : v.Xroma_Thlipsis;
    const double fraction = std::min(std::fabs(value) / R, 1.0);
    return packColour(channelBetween(redOf(zero), redOf(end), fraction),
                      channelBetween(greenOf(zero), greenOf(end), fraction),
                      channelBetween(blueOf(zero), blueOf(end), fraction));
}

void drawNDiagram(const DrawingInput& in, Surface& s) {
    if (drawnWithoutResults(in, s)) return;
    const Model& m = in.model;
    const ViewSettings& v = in.settings;
    const ViewTransform& t = in.view;
    const ResultQuantity q = shownQuantity(v);
    const double perCm = scaleOf(v, q);
    const int decimals = decimalsOf(v, q);
    const double dir = v.N_sin_Ina ? 1 : -1;

    s.clear(v.xroma_background);
    drawGrid(in, s);
    drawAxes(in, s);
    s.setPen(v.xroma_N, 1);
    for (int e = 1; e <= m.elementCount; ++e) {
        const BarGeometry g = barGeometry(m, e);
        const int i = m.nodeI(e);
        const int j = m.nodeJ(e);
        const double h = elementValue(m, e, q) / perCm;
        const double Xi = t.toPictureX(m.nodes.x[i]), Yi = t.toPictureY(m.nodes.y[i]);
        const double Xj = t.toPictureX(m.nodes.x[j]), Yj = t.toPictureY(m.nodes.y[j]);
        const double px = g.s * h * dir;
        const double py = g.c * h * dir;
        s.line(Xi, Yi, Xi + px, Yi + py);
        s.lineBy(Xj - Xi, Yj - Yi);
        s.lineBy(-px, -py);
        if (v.nai_times_N) {
            std::string text;
            valueText(elementValue(m, e, q), decimals, text);
            const double drop = v.nai_arithmisi_stoixeion ? kValueDrop : 0;
            s.text((Xi + Xj) / 2 + px, (Yi + Yj) / 2 + py + drop, text);
        }
    }
    drawElements(in, s);
    drawQuantityLegend(in, s, q);
}

void drawColourDiagram(const DrawingInput& in, Surface& s) {
    if (drawnWithoutResults(in, s)) return;
    const Model& m = in.model;
    const ViewSettings& v = in.settings;
    const ResultQuantity q = shownQuantity(v);
    const double R = valueRange(m, q).reference();
    const int decimals = decimalsOf(v, q);

    s.clear(v.xroma_background);
    drawGrid(in, s);
    drawAxes(in, s);
    s.setFillOn(true);
    for (int e = 1; e <= m.elementCount; ++e) {
        const double value = elementValue(m, e, q);
        const Colour bar = diagramColour(v, value, R);
        // A bar in the background's own colour (an unloaded bar in the default white on
        // white) would vanish: it gets an outline in the element colour, a wider line
        // under it.
        if (v.nai_stoixeia && s.rgb(bar) == s.rgb(v.xroma_background)) {
            s.setPen(v.xroma_stoixeion, 6);
            const int i = m.nodeI(e);
            const int j = m.nodeJ(e);
            s.line(in.view.toPictureX(m.nodes.x[i]), in.view.toPictureY(m.nodes.y[i]),
                   in.view.toPictureX(m.nodes.x[j]), in.view.toPictureY(m.nodes.y[j]));
        }
        drawElement(in, s, e, bar, 4, v.xroma_stoixeion);
        if (v.nai_times_N) {
            const int i = m.nodeI(e);
            const int j = m.nodeJ(e);
            const double xm = 0.5 * double(m.nodes.x[i]) + 0.5 * double(m.nodes.x[j]);
            const double ym = 0.5 * double(m.nodes.y[i]) + 0.5 * double(m.nodes.y[j]);
            std::string text;
            valueText(value, decimals, text);
            s.setPen(v.xroma_stoixeion, 1);
            const double drop = v.nai_arithmisi_stoixeion ? kValueDrop : 0;
            s.text(in.view.toPictureX(xm), in.view.toPictureY(ym) + drop, text);
        }
    }
    drawQuantityLegend(in, s, q);
    drawNodes(in, s);
}

void drawColourLegend(const DrawingInput& in, Surface& s) {
    const ViewSettings& v = in.settings;
    s.clear(v.xroma_background);
    if (!in.model.hasCurrentResults()) return;  // no values to place on the bar
    const auto bar = [&s](Colour from, Colour to, double top) {
        for (int i = 1; i <= 255; ++i) {
            const double fraction = i / 255.0;
            s.setPen(packColour(channelBetween(redOf(from), redOf(to), fraction),
                                channelBetween(greenOf(from), greenOf(to), fraction),
                                channelBetween(blueOf(from), blueOf(to), fraction)),
                     1);
            const double y = top + i / 100.0;
            s.line(0, y, 1, y);
        }
    };
    bar(v.Xroma_Efelkismou, v.Xroma_Afortistou, 0);
    bar(v.Xroma_Afortistou, v.Xroma_Thlipsis, 2.55);

    // Ticks beside the bar, with their texts after them.
    const ValueRange range = valueRange(in.model, shownQuantity(v));
    const double R = range.reference();
    const double half = kColourLegendBarHeight / 2;
    const double yMax = R > 0 ? half * (1 - range.vmax / R) : half;
    const double yMin = R > 0 ? half * (1 - range.vmin / R) : half;
    s.setPen(v.xroma_stoixeion, 1);
    s.setFont(kLegendPoints);
    const struct {
        double y;
        double raise;
        const char* text;
    } ticks[] = {{yMax, 0.1, "max"}, {half, 0.2, " 0"}, {yMin, 0.3, "min"}};
    // Each text beside its tick; where ticks meet (every value of one sign, or none at all)
    // the texts move apart, a line each, and stay inside the box.
    const double line = s.lineHeight();
    double tops[3];
    for (int k = 0; k < 3; ++k) {
        tops[k] = std::max(ticks[k].y - ticks[k].raise, k == 0 ? 0.0 : tops[k - 1] + line);
    }
    const double overflow = tops[2] + line - s.heightCm();
    for (double& top : tops) top -= std::max(0.0, overflow);
    for (int k = 0; k < 3; ++k) {
        s.line(1.0, ticks[k].y, 1.35, ticks[k].y);
        s.text(1.4, tops[k], ticks[k].text);
    }
    s.setFont(kLabelPoints);
}

void drawColourLegendWithLabels(const DrawingInput& in, Surface& s, double x, double y) {
    s.setPen(in.settings.xroma_stoixeion, 1);
    s.setFont(kLegendPoints);
    s.text(x, y + 0.05, "Tension");
    OffsetSurface box(s, x, y + kColourLegendLabelHeight, kColourLegendWidth,
                      kColourLegendBarHeight + 0.1);
    drawColourLegend(in, box);
    s.setPen(in.settings.xroma_stoixeion, 1);
    s.setFont(kLegendPoints);
    s.text(x, y + kColourLegendLabelHeight + kColourLegendBarHeight + 0.15, "Compression");
    s.setFont(kLabelPoints);
}

void drawDeformedModel(const DrawingInput& in, Surface& s) {
    if (drawnWithoutResults(in, s)) return;
    const ViewSettings& v = in.settings;
    s.clear(v.xroma_background);
    drawGrid(in, s);
    drawAxes(in, s);
    drawElements(in, s);
    drawNodes(in, s);
    if (v.nai_stoixeia) {
        s.setPen(v.xroma_paramorfosis, 2);
        drawDisplacedElements(in, s, magnification(v));
    }
    const AnalysisResults& r = in.model.results;
    drawLegend(in, s, "D",
               {"max.= " + general(roundDecimals(r.extremes[kMaxTotalDisplacement], 6)),
                "max.|x|= " + general(roundDecimals(r.extremes[kMaxAbsUx], 6)),
                "max.|y|= " + general(roundDecimals(r.extremes[kMaxAbsUy], 6))});
    s.setPenWidth(1);
}

void drawAnimationFrame(const DrawingInput& in, Surface& s, int frame) {
    if (drawnWithoutResults(in, s)) return;
    const ViewSettings& v = in.settings;
    const Model& m = in.model;
    const int frames = std::max<int>(1, v.Animation_Frames);
    const double factor = double(std::clamp(frame, 0, frames)) / frames * magnification(v);
    s.clear(v.xroma_background);
    for (int e = 1; e <= m.elementCount; ++e) {
        const int i = m.nodeI(e);
        const int j = m.nodeJ(e);
        s.setPen(v.xroma_stoixeion, 1);
        s.line(in.view.toPictureX(m.nodes.x[i]), in.view.toPictureY(m.nodes.y[i]),
               in.view.toPictureX(m.nodes.x[j]), in.view.toPictureY(m.nodes.y[j]));
        s.setPen(v.xroma_paramorfosis, 2);
        const Displaced a = displaced(m, i, factor);
        const Displaced b = displaced(m, j, factor);
        s.line(in.view.toPictureX(a.x), in.view.toPictureY(a.y), in.view.toPictureX(b.x),
               in.view.toPictureY(b.y));
    }
    s.setPenWidth(1);
}

void changeResultScale(ViewSettings& v, const Model& m, ViewMode mode, double step) {
    if (!m.hasCurrentResults()) return;  // no largest value to measure the step on
    const AnalysisResults& r = m.results;
    // A positive, finite replacement, or nothing.
    const auto replacement = [](double C, double M, double spread, int decimals) {
        const double denominator = M + spread;
        if (!(denominator > 0)) return 0.0;
        const double next = roundTo(C * M / denominator, decimals);
        return std::isfinite(next) && next > 0 ? next : 0.0;
    };
    if (mode == ViewMode::NDiagram) {
        const struct {
            bool shown;
            float ViewSettings::*scale;
            int extreme;
            int decimals;
        } quantities[] = {
            {v.Show_FORCE, &ViewSettings::Ena_cm_posa_FORCE, kMaxAbsN, 3},
            {v.Show_STRESS, &ViewSettings::Ena_cm_posa_STRESS, kMaxAbsStress, 3},
            {v.Show_STRAIN, &ViewSettings::Ena_cm_posa_STRAIN, kMaxAbsStrain, 7},
        };
        for (const auto& q : quantities) {
            if (!q.shown) continue;
            const double C = v.*(q.scale);
            const double next = replacement(C, r.extremes[q.extreme], step * C, q.decimals);
            if (next > 0 && fitsInFloat(next) && float(next) > 0) v.*(q.scale) = float(next);
        }
    } else if (mode == ViewMode::Deformed || mode == ViewMode::Animation) {
        const double D = v.Ena_cm_posa_m_epi_1000;
        const double next = replacement(D, r.extremes[kMaxTotalDisplacement], step * D / 1000.0, 4);
        if (next > 0 && fitsInFloat(next) && float(next) > 0) {
            v.Ena_cm_posa_m_epi_1000 = float(next);
        }
    }
}

}  // namespace vortak
