// A full redraw of the drawing area at 1920x1080 through QtSurface, the size of picture a
// 100-node, 200-element truss makes on every mouse-drag step: the background, 200 element
// lines of 1 px, 200 colour-diagram bars of 4 px, 100 node circles filled with the
// background and 400 labels of 7 pt.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "app/analysis_run.h"
#include "app/app_state.h"
#include "app/redraw.h"
#include "app/shell.h"
#include "base/scripted_prompter.h"
#include "graphics/drawing.h"
#include "graphics/svg_surface.h"
#include "howe_truss.h"

#include <string>
#include <utility>
#include <vector>

#include "graphics/qt_surface.h"

using namespace vortak;

namespace {

struct Segment {
    double x1, y1, x2, y2;
};

struct Label {
    double x, y;
    std::string text;
};

struct Drawing {
    std::vector<Segment> elements;
    std::vector<std::pair<double, double>> nodes;
    std::vector<Label> labels;
};

// Two chords of 50 nodes, 4 cm apart, with verticals and diagonals: the truss shape of the
// solver benchmark, scaled to fill the width of the area.
Drawing makeDrawing() {
    constexpr int kPoints = 50;
    constexpr double left = 2.0, panel = 0.95, bottom = 12.0, top = 8.0;
    Drawing d;
    for (int k = 0; k < kPoints; ++k) {
        d.nodes.push_back({left + k * panel, bottom});
        d.nodes.push_back({left + k * panel, top});
    }
    auto bar = [&d](int a, int b) {
        d.elements.push_back(
            {d.nodes[a].first, d.nodes[a].second, d.nodes[b].first, d.nodes[b].second});
    };
    for (int k = 0; k + 1 < kPoints; ++k) bar(2 * k, 2 * k + 2);      // bottom chord
    for (int k = 0; k + 1 < kPoints; ++k) bar(2 * k + 1, 2 * k + 3);  // top chord
    for (int k = 0; k < kPoints; ++k) bar(2 * k, 2 * k + 1);          // verticals
    for (int k = 0; k + 1 < kPoints; ++k) bar(2 * k + 2, 2 * k + 1);  // diagonals
    for (int k = 0; k < 3; ++k) bar(2 * k, 2 * k + 3);  // counter-diagonals: 200 in all

    for (std::size_t n = 0; n < d.nodes.size(); ++n) {
        d.labels.push_back(
            {d.nodes[n].first + 0.1, d.nodes[n].second - 0.4, std::to_string(n + 1)});
    }
    for (std::size_t e = 0; e < d.elements.size(); ++e) {
        const Segment& s = d.elements[e];
        const double mx = (s.x1 + s.x2) / 2, my = (s.y1 + s.y2) / 2;
        d.labels.push_back({mx, my, std::to_string(e + 1)});
        if (e % 2 == 0) {
            d.labels.push_back({mx, my + 10.0, std::to_string(-12.345 * double(e + 1))});
        }
    }
    return d;
}

enum Part { kClear = 1, kThinLines = 2, kBars = 4, kCircles = 8, kLabels = 16, kAll = 31 };

void draw(QtSurface& surface, const Drawing& d, int parts) {
    static constexpr Colour kBands[] = {0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF00,
                                        0xFFFF00, 0xFF8000, 0xFF0000, 0x800080};
    if (parts & kClear) surface.clear(0xFFFFFF);
    surface.setPen(0x000000, 1);
    if (parts & kThinLines) {
        for (const Segment& s : d.elements) surface.line(s.x1, s.y1, s.x2, s.y2);
    }
    // The colour diagram below the model.
    for (std::size_t e = 0; (parts & kBars) && e < d.elements.size(); ++e) {
        const Segment& s = d.elements[e];
        surface.setPen(kBands[e % std::size(kBands)], 4);
        surface.line(s.x1, s.y1 + 10.0, s.x2, s.y2 + 10.0);
    }
    surface.setPen(0x000000, 1);
    surface.setFillColour(0xFFFFFF);
    surface.setFillOn(true);
    if (parts & kCircles) {
        for (const auto& [x, y] : d.nodes) surface.circle(x, y, 0.08);
    }
    surface.setFillOn(false);
    surface.setPenColour(0x800000);
    surface.setFont(7);
    if (parts & kLabels) {
        for (const Label& label : d.labels) surface.text(label.x, label.y, label.text);
    }
}

void BM_FullRedraw1920x1080(benchmark::State& state) {
    QtSurface surface(QSize(1920, 1080));
    const Drawing drawing = makeDrawing();
    for (auto _ : state) {
        draw(surface, drawing, kAll);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
    state.counters["lines"] = double(2 * drawing.elements.size());
    state.counters["circles"] = double(drawing.nodes.size());
    state.counters["labels"] = double(drawing.labels.size());
}
BENCHMARK(BM_FullRedraw1920x1080)->Unit(benchmark::kMicrosecond);

// Each part of the drawing alone, to see where the time goes.
void BM_OnePart(benchmark::State& state) {
    QtSurface surface(QSize(1920, 1080));
    const Drawing drawing = makeDrawing();
    const int part = int(state.range(0));
    for (auto _ : state) {
        draw(surface, drawing, part);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(BM_OnePart)
    ->ArgName("part")
    ->Arg(kClear)
    ->Arg(kThinLines)
    ->Arg(kBars)
    ->Arg(kCircles)
    ->Arg(kLabels)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

// The program's own drawings of the 100-node, 197-element Howe truss at 1920x1080, fitted
// to the area as zoom extents would, through the same redraw the window uses.
void BM_RedrawHowe(benchmark::State& state) {
    ScriptedPrompter prompter;
    Shell shell;
    AppState app(prompter, shell);
    app.model = bench::howeTruss(true);
    app.currentView = ViewMode::NDiagram;
    Button_Epilisi(app);
    app.currentView = ViewMode(state.range(0));
    app.animationFrame = app.settings.Animation_Frames / 2;
    QtSurface surface(QSize(1920, 1080));
    app.view.SW = surface.widthCm();
    app.view.SH = surface.heightCm();
    app.view.zoomExtents(app.model);
    for (auto _ : state) {
        redraw(app, surface);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(BM_RedrawHowe)
    ->ArgName("view")
    ->Arg(int(ViewMode::Model))
    ->Arg(int(ViewMode::NDiagram))
    ->Arg(int(ViewMode::Deformed))
    ->Arg(int(ViewMode::Colour))
    ->Arg(int(ViewMode::Animation))
    ->Unit(benchmark::kMillisecond);

// What a pan or zoom drag draws on every pointer move.
void BM_QuickRedrawHowe(benchmark::State& state) {
    const Model model = bench::howeTruss(true);
    const ViewSettings settings;
    ViewTransform view;
    QtSurface surface(QSize(1920, 1080));
    view.SW = surface.widthCm();
    view.SH = surface.heightCm();
    view.zoomExtents(model);
    for (auto _ : state) {
        quickRedraw({model, settings, view}, surface);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(BM_QuickRedrawHowe)->Unit(benchmark::kMillisecond);

// The same model view as an SVG document.
void BM_SvgHowe(benchmark::State& state) {
    ScriptedPrompter prompter;
    Shell shell;
    AppState app(prompter, shell);
    app.model = bench::howeTruss(true);
    const double width = 1920 / 96.0 * 2.54, height = 1080 / 96.0 * 2.54;
    app.view.SW = width;
    app.view.SH = height;
    app.view.zoomExtents(app.model);
    for (auto _ : state) {
        SvgSurface svg(width, height);
        redraw(app, svg);
        std::string text = svg.document();
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_SvgHowe)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Fonts need a QGuiApplication; the offscreen platform needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
