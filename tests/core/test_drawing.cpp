#include <QtTest>

#include <QLineF>
#include <QXmlStreamReader>

#include <cmath>

#include "analysis/analysis_run.h"
#include "model/model_file.h"
#include "graphics/drawing.h"
#include "graphics/recording_surface.h"
#include "graphics/result_drawing.h"
#include "graphics/svg_surface.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

using Kind = RecordingSurface::Kind;
using Segments = QList<QLineF>;

// With the default view on a 20 x 15 cm area, model (x, y) is drawn at (x + 2, 13 - y).
namespace {

constexpr double kW = 20, kH = 15;

struct Scene {
    Model model;
    ViewSettings settings;
    ViewTransform view;
    RecordingSurface surface{kW, kH};
    Scene() {
        view.SW = kW;
        view.SH = kH;
    }
    DrawingInput in() const { return {model, settings, view}; }
};

bool near(double a, double b) { return std::fabs(a - b) < 1e-9; }

bool sameSegment(const RecordingSurface::Op& op, const QLineF& l) {
    return (near(op.x1, l.x1()) && near(op.y1, l.y1()) && near(op.x2, l.x2()) &&
            near(op.y2, l.y2())) ||
           (near(op.x1, l.x2()) && near(op.y1, l.y2()) && near(op.x2, l.x1()) &&
            near(op.y2, l.y1()));
}

// Every expected segment was drawn, and nothing else in the given colour.
void checkSegments(const RecordingSurface& s, Colour colour, const Segments& expected) {
    std::vector<RecordingSurface::Op> drawn;
    for (const auto& op : s.of(Kind::Line)) {
        if (op.colour == colour) drawn.push_back(op);
    }
    for (const QLineF& l : expected) {
        const bool found = std::any_of(drawn.begin(), drawn.end(),
                                       [&](const auto& op) { return sameSegment(op, l); });
        if (!found) {
            QFAIL(qPrintable(QString("missing line (%1, %2)-(%3, %4)")
                                 .arg(l.x1())
                                 .arg(l.y1())
                                 .arg(l.x2())
                                 .arg(l.y2())));
        }
    }
    QCOMPARE(int(drawn.size()), int(expected.size()));
}

void checkText(const RecordingSurface& s, const std::string& text, double x, double y) {
    const auto* op = s.findText(text);
    QVERIFY2(op != nullptr, text.c_str());
    QVERIFY2(near(op->x1, x) && near(op->y1, y),
             qPrintable(QString("'%1' at (%2, %3)").arg(text.c_str()).arg(op->x1).arg(op->y1)));
}

}  // namespace

Q_DECLARE_METATYPE(Segments)

class TestDrawing : public QObject {
    Q_OBJECT
private slots:
    void supportSymbols_data();
    void supportSymbols();
    void springs();
    void loadArrows_data();
    void loadArrows();
    void labels();
    void symbolicCodes();
    void axesSymbol();
    void everythingOff();
    void quickRedrawDrawsBareElements();
    void gridLinesOnMultiples_data();
    void gridLinesOnMultiples();
    void gridTooDense();
    void nDiagramBands_data();
    void nDiagramBands();
    void colourDiagram();
    void colourLegendTicks();
    void deformedAndAnimation();
    void scaleButtons_data();
    void scaleButtons();
    void labelPresets();
    void svgIsXmlWithOneLinePerSegment();
};

void TestDrawing::supportSymbols_data() {
    QTest::addColumn<float>("cx");
    QTest::addColumn<float>("cy");
    QTest::addColumn<QPointF>("other");  // the far end of the one member, or none
    QTest::addColumn<Segments>("lines");
    QTest::addColumn<QPointF>("roller");  // centre of the roller circle, or none
    QTest::addColumn<QPointF>("label");
    const QPointF none(-99, -99);
    QTest::newRow("x roller, symbol left of members on the right")
        << 1.0f << 0.0f << QPointF(4, 0)
        << Segments{{2, 13, 1.75, 13.25},    {2, 13, 1.75, 12.75},   {1.75, 12.75, 1.75, 13.25},
                    {1.55, 12.75, 1.55, 13.25}, {1.55, 13.25, 1.4, 13.1}, {1.55, 13.15, 1.4, 13},
                    {1.55, 13.05, 1.4, 12.9}, {1.55, 12.95, 1.4, 12.8}, {1.55, 12.85, 1.4, 12.7}}
        << QPointF(1.65, 13) << QPointF(2, 13);
    QTest::newRow("x roller, symbol right of members on the left")
        << 1.0f << 0.0f << QPointF(-4, 0)
        << Segments{{2, 13, 2.25, 13.25},    {2, 13, 2.25, 12.75},   {2.25, 12.75, 2.25, 13.25},
                    {2.45, 12.75, 2.45, 13.25}, {2.45, 13.25, 2.6, 13.1}, {2.45, 13.15, 2.6, 13},
                    {2.45, 13.05, 2.6, 12.9}, {2.45, 12.95, 2.6, 12.8}, {2.45, 12.85, 2.6, 12.7}}
        << QPointF(2.35, 13) << QPointF(1.7, 13);
    QTest::newRow("y roller, symbol below members above")
        << 0.0f << 1.0f << QPointF(0, 3)
        << Segments{{2, 13, 2.25, 13.25},     {2, 13, 1.75, 13.25},     {1.75, 13.25, 2.25, 13.25},
                    {1.75, 13.45, 2.25, 13.45}, {1.85, 13.45, 1.7, 13.6}, {1.95, 13.45, 1.8, 13.6},
                    {2.05, 13.45, 1.9, 13.6},   {2.15, 13.45, 2.0, 13.6}, {2.25, 13.45, 2.1, 13.6}}
        << QPointF(2, 13.35) << QPointF(2.15, 13);
    QTest::newRow("y roller, symbol above members below")
        << 0.0f << 1.0f << QPointF(0, -3)
        << Segments{{2, 13, 2.25, 12.75},     {2, 13, 1.75, 12.75},     {1.75, 12.75, 2.25, 12.75},
                    {1.75, 12.55, 2.25, 12.55}, {1.85, 12.55, 1.7, 12.4}, {1.95, 12.55, 1.8, 12.4},
                    {2.05, 12.55, 1.9, 12.4},   {2.15, 12.55, 2.0, 12.4}, {2.25, 12.55, 2.1, 12.4}}
        << QPointF(2, 12.65) << QPointF(2, 13);
    QTest::newRow("pin without members, below")
        << 1.0f << 1.0f << none
        << Segments{{2, 13, 2.25, 13.25},   {2, 13, 1.75, 13.25},   {1.75, 13.25, 2.25, 13.25},
                    {1.85, 13.25, 1.7, 13.4}, {1.95, 13.25, 1.8, 13.4}, {2.05, 13.25, 1.9, 13.4},
                    {2.15, 13.25, 2.0, 13.4}, {2.25, 13.25, 2.1, 13.4}}
        << none << QPointF(2.15, 13);
}

void TestDrawing::supportSymbols() {
    QFETCH(float, cx);
    QFETCH(float, cy);
    QFETCH(QPointF, other);
    QFETCH(Segments, lines);
    QFETCH(QPointF, roller);
    QFETCH(QPointF, label);
    Scene sc;
    addNode(sc.model, 0, 0, cx, cy);
    if (other.x() > -99) {
        addNode(sc.model, float(other.x()), float(other.y()));
        addGroup(sc.model, 1, 1);
        addElement(sc.model, 1, 2);
    }
    drawNode(sc.in(), sc.surface, 1);
    checkSegments(sc.surface, sc.settings.xroma_kombon, lines);
    const auto circles = sc.surface.of(Kind::Circle);
    QCOMPARE(int(circles.size()), roller.x() > -99 ? 2 : 1);  // the roller and the node
    if (roller.x() > -99) {
        QVERIFY(near(circles[0].x1, roller.x()) && near(circles[0].y1, roller.y()));
        QCOMPARE(circles[0].x2, 0.1);
    }
    QVERIFY(near(circles.back().x1, 2) && near(circles.back().y1, 13));
    QCOMPARE(circles.back().x2, 0.08);
    QVERIFY(circles.back().filled);  // hides the element ends under it
    QCOMPARE(circles.back().fill, Colour(0xFFFFFF));
    checkText(sc.surface, "1", label.x(), label.y());
}

void TestDrawing::springs() {
    Scene sc;
    addNode(sc.model, 0, 0);
    sc.model.nodes.Kx[1] = 5;
    sc.model.nodes.Ky[1] = 7;
    drawNode(sc.in(), sc.surface, 1);
    const auto lines = sc.surface.of(Kind::Line);
    QCOMPARE(int(lines.size()), 18);
    // Each zig-zag is a chain of nine strokes from the node, 0.88 cm long overall.
    for (int chain = 0; chain < 2; ++chain) {
        const auto first = lines.begin() + 9 * chain;
        QVERIFY(near(first->x1, 2) && near(first->y1, 13));
        for (auto op = first + 1; op != first + 9; ++op) {
            QVERIFY(near(op->x1, (op - 1)->x2) && near(op->y1, (op - 1)->y2));
        }
        const auto last = first + 8;
        if (chain == 0) {
            QVERIFY(near(last->x2, 2.88) && near(last->y2, 13));
            QVERIFY(near(first[2].y1, 13.2) && near(first[2].y2, 12.8));
        } else {
            QVERIFY(near(last->x2, 2) && near(last->y2, 13.88));
            QVERIFY(near(first[2].x1, 2.2) && near(first[2].x2, 1.8));
        }
    }
    sc.surface.ops.clear();
    sc.model.nodes.Kx[1] = 0;
    sc.model.nodes.Ky[1] = -3;  // not a spring
    drawNode(sc.in(), sc.surface, 1);
    QVERIFY(sc.surface.of(Kind::Line).empty());
}

void TestDrawing::loadArrows_data() {
    QTest::addColumn<float>("Fx");
    QTest::addColumn<float>("Fy");
    QTest::addColumn<Segments>("lines");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPointF>("at");
    QTest::newRow("Fx positive") << 10.0f << 0.0f
                                 << Segments{{0.8, 13, 2, 13},
                                             {2, 13, 1.65, 13.06},
                                             {1.65, 13.06, 1.65, 12.94},
                                             {1.65, 12.94, 2, 13}}
                                 << " 10" << QPointF(1.2, 13.1);
    QTest::newRow("Fx negative") << -2.5f << 0.0f
                                 << Segments{{3.2, 13, 2, 13},
                                             {2, 13, 2.35, 13.06},
                                             {2.35, 13.06, 2.35, 12.94},
                                             {2.35, 12.94, 2, 13}}
                                 << " 2.5" << QPointF(2.4, 13.1);
    QTest::newRow("Fy positive") << 0.0f << 5.0f
                                 << Segments{{2, 14.2, 2, 13},
                                             {2, 13, 2.06, 13.35},
                                             {2.06, 13.35, 1.94, 13.35},
                                             {1.94, 13.35, 2, 13}}
                                 << " 5" << QPointF(2.1, 13.3);
    QTest::newRow("Fy negative") << 0.0f << -1e-5f
                                 << Segments{{2, 11.8, 2, 13},
                                             {2, 13, 2.06, 12.65},
                                             {2.06, 12.65, 1.94, 12.65},
                                             {1.94, 12.65, 2, 13}}
                                 << " 1E-05" << QPointF(2.1, 12.4);
}

void TestDrawing::loadArrows() {
    QFETCH(float, Fx);
    QFETCH(float, Fy);
    QFETCH(Segments, lines);
    QFETCH(QString, text);
    QFETCH(QPointF, at);
    Scene sc;
    addNode(sc.model, 0, 0);
    sc.model.nodes.Fx[1] = Fx;
    sc.model.nodes.Fy[1] = Fy;
    drawLoads(sc.in(), sc.surface);
    checkSegments(sc.surface, sc.settings.xroma_sigkentromenon, lines);
    for (const auto& op : sc.surface.of(Kind::Line)) QCOMPARE(op.width, 2);
    QCOMPARE(int(sc.surface.of(Kind::Text).size()), 1);  // nothing for the zero component
    checkText(sc.surface, text.toStdString(), at.x(), at.y());
}

void TestDrawing::labels() {
    Scene sc;
    Model& m = sc.model;
    addNode(m, 0, 0);
    addNode(m, 4, 0);
    addNode(m, 4, 3);
    addGroup(m, 1, 1);
    addGroup(m, 1, 1);
    addElement(m, 1, 2, 2);
    addElement(m, 1, 3, 1);
    sc.settings.nai_omades = true;
    sc.settings.nai_miki = true;
    sc.settings.nai_sint_kombon = true;
    drawModel(sc.in(), sc.surface);
    const RecordingSurface& s = sc.surface;
    const double line = s.lineHeight();
    QCOMPARE(s.fontPoints(), 7.0);
    // Element labels: the number and group at the midpoint, the length one line lower.
    checkText(s, " 1 (2)", 4, 13);
    checkText(s, " 4", 4, 13 + line);
    checkText(s, " 2 (1)", 4, 11.5);
    checkText(s, " 5", 4, 11.5 + line);
    // Node labels: the number at the node, the coordinates one line lower.
    checkText(s, "3", 6, 10);
    checkText(s, " (4, 3)", 6, 10 + line);
    QCOMPARE(s.findText("3")->colour, sc.settings.xroma_kombon);
    QCOMPARE(s.findText(" 1 (2)")->colour, sc.settings.xroma_stoixeion);
    QCOMPARE(s.findText(" 1 (2)")->points, 7.0);
}

void TestDrawing::symbolicCodes() {
    Scene sc;
    addNode(sc.model, 0, 0, 1, 0);
    addNode(sc.model, 1, 0, 1, 1);
    addNode(sc.model, 2, 0);
    sc.settings.nai_graf_stir = false;
    drawNodes(sc.in(), sc.surface);
    QVERIFY(sc.surface.findText("1 xo"));
    QVERIFY(sc.surface.findText("2 xx"));
    QVERIFY(sc.surface.findText("3"));
    QCOMPARE(int(sc.surface.of(Kind::Line).size()), 0);  // no symbols
    sc.surface.ops.clear();
    sc.settings.nai_arithmisi_kombon = false;
    drawNodes(sc.in(), sc.surface);
    QVERIFY(sc.surface.findText(" xo"));
    QCOMPARE(int(sc.surface.of(Kind::Text).size()), 2);  // the free node has no label
}

void TestDrawing::axesSymbol() {
    Scene sc;
    drawAxes(sc.in(), sc.surface);
    checkSegments(sc.surface, sc.settings.xroma_aksonon,
                  {{1.8, 13, 3.5, 13},
                   {3.8, 13, 3.5, 13.1},
                   {3.5, 13.1, 3.5, 12.9},
                   {3.5, 12.9, 3.8, 13},
                   {2, 13.2, 2, 11.5},
                   {2, 11.2, 1.9, 11.5},
                   {1.9, 11.5, 2.1, 11.5},
                   {2.1, 11.5, 2, 11.2}});
    checkText(sc.surface, "x", 3.6, 13.1);
    checkText(sc.surface, "y", 1.65, 11.2);
    QCOMPARE(sc.surface.findText("x")->points, 8.0);
    QCOMPARE(sc.surface.fontPoints(), 7.0);  // labels follow at 7 points
}

void TestDrawing::everythingOff() {
    Scene sc;
    addNode(sc.model, 0, 0, 1, 1);
    addNode(sc.model, 4, 0, 0, 1);
    addGroup(sc.model, 1, 1);
    addElement(sc.model, 1, 2);
    sc.model.nodes.Fy[2] = -3;
    sc.model.nodes.Kx[2] = 3;
    ViewSettings& v = sc.settings;
    for (bool* flag : {&v.nai_aksones, &v.nai_grid, &v.nai_komboi, &v.nai_arithmisi_kombon,
                       &v.nai_desmefseis, &v.nai_sint_kombon, &v.nai_springs, &v.nai_stoixeia,
                       &v.nai_arithmisi_stoixeion, &v.nai_omades, &v.nai_miki,
                       &v.nai_fortiseis_si, &v.nai_times_fortiseon_si}) {
        *flag = false;
    }
    drawModel(sc.in(), sc.surface);
    QCOMPARE(int(sc.surface.ops.size()), 1);
    QCOMPARE(sc.surface.ops[0].kind, Kind::Rect);
    QCOMPARE(sc.surface.ops[0].colour, Colour(0xFFFFFF));  // highlighted text: white
}

void TestDrawing::quickRedrawDrawsBareElements() {
    Scene sc;
    addNode(sc.model, 0, 0, 1, 1);
    addNode(sc.model, 4, 3);
    addGroup(sc.model, 1, 1);
    addElement(sc.model, 1, 2);
    sc.model.nodes.Fx[2] = 1;
    quickRedraw(sc.in(), sc.surface);
    checkSegments(sc.surface, sc.settings.xroma_stoixeion, {{2, 13, 6, 10}});
    QCOMPARE(int(sc.surface.of(Kind::Line).size()), 9);  // with the 8 of the axes
    QVERIFY(sc.surface.of(Kind::Text).size() == 2 && sc.surface.of(Kind::Circle).empty());
}

void TestDrawing::gridLinesOnMultiples_data() {
    QTest::addColumn<float>("kannab");
    QTest::addColumn<float>("scale");
    QTest::addColumn<double>("offsetX");
    QTest::addColumn<double>("offsetY");
    QTest::newRow("defaults") << 1.0f << 100.0f << -2.0 << 2.0;
    QTest::newRow("shifted") << 1.0f << 100.0f << -2.3 << 1.35;
    QTest::newRow("half units zoomed") << 0.5f << 37.5f << 7.25 << -3.5;
    QTest::newRow("coarse") << 5.0f << 1000.0f << -0.4 << 0.9;
    QTest::newRow("just drawable") << 1.0f << 1000.0f << 0.0 << 0.0;
}

void TestDrawing::gridLinesOnMultiples() {
    QFETCH(float, kannab);
    QFETCH(float, scale);
    QFETCH(double, offsetX);
    QFETCH(double, offsetY);
    Scene sc;
    sc.settings.kannab = kannab;
    sc.view.scale = scale;
    sc.view.offsetX = offsetX;
    sc.view.offsetY = offsetY;
    drawGrid(sc.in(), sc.surface);
    const auto lines = sc.surface.of(Kind::Line);
    const double pitch = kannab * 100.0 / scale;
    int vertical = 0, horizontal = 0;
    for (const auto& op : lines) {
        QCOMPARE(op.colour, Colour(0xE0E0E0));
        const bool isVertical = near(op.x1, op.x2);
        const double model = isVertical ? sc.view.toModelX(op.x1) : sc.view.toModelY(op.y1);
        const double units = model / kannab;
        QVERIFY2(std::fabs(units - std::round(units)) < 1e-6, qPrintable(QString::number(model)));
        (isVertical ? vertical : horizontal)++;
    }
    // The lines cover the whole area.
    QCOMPARE(vertical, int(std::floor(kW / pitch)) + 1);
    QCOMPARE(horizontal, int(std::floor(kH / pitch)) + 1);
}

void TestDrawing::gridTooDense() {
    Harness h;
    AppState& app = h.app;
    RecordingSurface s(kW, kH);
    const auto messages = [&app] {
        int count = 0;
        for (const std::string& line : app.log.lines()) count += line == " Grid to dense to display.";
        return count;
    };
    app.view.scale = 1001;  // pitch 0.0999 cm, but only one view so far: no message
    app.view.resetHistory();
    redraw(app, s);
    QVERIFY(s.of(Kind::Line).size() == 8);  // the axes only
    QCOMPARE(messages(), 0);
    app.view.scale = 100;
    app.view.pushView();
    redraw(app, s);
    app.view.scale = 1001;  // zoomed out: the grid disappears, said once
    app.view.pushView();
    redraw(app, s);
    redraw(app, s);
    QCOMPARE(messages(), 1);
    QCOMPARE(app.log.runs().back().colour, LogColour::Red);
    app.view.zoomPrevious();
    redraw(app, s);
    app.view.scale = 2000;
    app.view.pushView();
    redraw(app, s);
    QCOMPARE(messages(), 2);  // a new zoom-out is told again
    app.settings.nai_grid = false;
    app.view.scale = 100;
    app.view.pushView();
    app.view.scale = 3000;
    app.view.pushView();
    redraw(app, s);
    QCOMPARE(messages(), 2);  // no grid, no message
}

void TestDrawing::nDiagramBands_data() {
    QTest::addColumn<bool>("rightHandSide");
    QTest::addColumn<double>("force");
    QTest::addColumn<QPointF>("end");  // node 2; node 1 is at the origin
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<QString>("value");
    QTest::newRow("tension, right of i->j: below") << true << 50.0 << QPointF(4, 0)
                                                   << QPointF(0, 0.5) << " 50";
    QTest::newRow("tension, left side: above") << false << 50.0 << QPointF(4, 0)
                                               << QPointF(0, -0.5) << " 50";
    QTest::newRow("compression, right side: above") << true << -25.0 << QPointF(4, 0)
                                                    << QPointF(0, -0.25) << "-25";
    QTest::newRow("vertical member, right of upwards") << true << 50.0 << QPointF(0, 3)
                                                       << QPointF(0.5, 0) << " 50";
    QTest::newRow("rounded value") << true << 12.34567 << QPointF(4, 0)
                                   << QPointF(0, 0.1234567) << " 12.346";
}

void TestDrawing::nDiagramBands() {
    QFETCH(bool, rightHandSide);
    QFETCH(double, force);
    QFETCH(QPointF, end);
    QFETCH(QPointF, offset);
    QFETCH(QString, value);
    Scene sc;
    addNode(sc.model, 0, 0, 1, 1);
    addNode(sc.model, float(end.x()), float(end.y()));
    addGroup(sc.model, 1, 1);
    addElement(sc.model, 1, 2);
    sc.model.results.FL[1][1] = -force;
    sc.model.results.FL[1][2] = force;
    sc.model.results.extremes[kMaxN] = 80;
    sc.model.results.extremes[kMinN] = -20.00049;
    sc.settings.N_sin_Ina = rightHandSide;
    drawNDiagram(sc.in(), sc.surface);
    const QPointF i(2, 13);
    const QPointF j(2 + end.x(), 13 - end.y());
    checkSegments(sc.surface, sc.settings.xroma_N,
                  {{i, i + offset}, {i + offset, j + offset}, {j + offset, j}});
    const QPointF text = (i + j) / 2 + offset + QPointF(0, 0.22);
    checkText(sc.surface, value.toStdString(), text.x(), text.y());
    QCOMPARE(sc.surface.findText(value.toStdString())->colour, sc.settings.xroma_N);
    // The legend: title in 12-point bold at the top-left, then two 8-point lines.
    const auto* title = sc.surface.findText("Axial Force");
    QVERIFY(title && title->bold && title->points == 12 && near(title->x1, 0.1) &&
            near(title->y1, 0.07));
    const auto* max = sc.surface.findText("max.= 80");
    const auto* min = sc.surface.findText("min.= -20");
    QVERIFY(max && min && max->points == 8 && near(max->x1, 0.1) && near(min->x1, 0.1));
    QVERIFY(max->y1 > title->y1 && min->y1 > max->y1);
    QVERIFY(sc.surface.of(Kind::Circle).empty());  // no nodes in the diagram
}

void TestDrawing::colourDiagram() {
    Scene sc;
    Model& m = sc.model;
    for (int n = 0; n < 5; ++n) addNode(m, float(n), 0);
    addGroup(m, 1, 1);
    const double forces[] = {80, -80, 0, 40};
    for (int e = 1; e <= 4; ++e) {
        addElement(m, e, e + 1);
        m.results.FL[e][2] = forces[e - 1];
    }
    const ViewSettings& v = sc.settings;
    drawColourDiagram(sc.in(), sc.surface);
    std::vector<Colour> bars;
    for (const auto& op : sc.surface.of(Kind::Line)) {
        if (op.width == 4) bars.push_back(op.colour);
    }
    QCOMPARE(int(bars.size()), 4);
    QCOMPARE(bars[0], v.Xroma_Efelkismou);  // +R: the tension colour
    QCOMPARE(bars[1], v.Xroma_Thlipsis);    // -R: the compression colour
    QCOMPARE(bars[2], v.Xroma_Afortistou);  // 0: the zero colour
    QCOMPARE(bars[3], packColour(128, 128, 255));  // halfway, 127.5 rounds to even
    QVERIFY(sc.surface.of(Kind::Circle).size() == 5);  // nodes follow

    // No force anywhere: everything in the zero colour.
    for (int e = 1; e <= 4; ++e) m.results.FL[e][2] = 0;
    sc.surface.ops.clear();
    drawColourDiagram(sc.in(), sc.surface);
    for (const auto& op : sc.surface.of(Kind::Line)) {
        if (op.width == 4) QCOMPARE(op.colour, v.Xroma_Afortistou);
    }
}

void TestDrawing::colourLegendTicks() {
    Scene sc;
    Model& m = sc.model;
    for (int n = 0; n < 3; ++n) addNode(m, float(n), 0);
    addGroup(m, 1, 1);
    addElement(m, 1, 2);
    addElement(m, 2, 3);
    m.results.FL[1][2] = 100;
    m.results.FL[2][2] = -50;
    RecordingSurface legend(kColourLegendWidth, kColourLegendBarHeight + 0.1);
    drawColourLegend(sc.in(), legend);
    const auto lines = legend.of(Kind::Line);
    QCOMPARE(int(lines.size()), 510 + 3);
    QCOMPARE(lines[0].colour, packColour(1, 1, 255));  // just below the tension end
    QCOMPARE(lines[254].colour, sc.settings.Xroma_Afortistou);
    QCOMPARE(lines[509].colour, sc.settings.Xroma_Thlipsis);
    QVERIFY(near(lines[509].y1, 5.1));
    // Ticks at the largest value (the top), zero and the smallest (a quarter lower).
    QVERIFY(near(lines[510].y1, 0) && near(lines[511].y1, 2.55) && near(lines[512].y1, 3.825));
    QVERIFY(near(lines[510].x2 - lines[510].x1, 0.35));
    checkText(legend, "max", 1.4, -0.1);
    checkText(legend, " 0", 1.4, 2.35);
    checkText(legend, "min", 1.4, 3.525);
}

void TestDrawing::deformedAndAnimation() {
    Scene sc;
    Model& m = sc.model;
    addNode(m, 0, 0, 1, 1);
    addNode(m, 4, 0);
    addGroup(m, 1, 1);
    addElement(m, 1, 2);
    m.results.D[3] = 0.01;
    m.results.D[4] = -0.02;
    m.results.extremes[kMaxTotalDisplacement] = 0.0223606798;
    m.results.extremes[kMaxAbsUx] = 0.01;
    m.results.extremes[kMaxAbsUy] = 0.02;
    sc.settings.Ena_cm_posa_m_epi_1000 = 100;  // displacements drawn ten times larger
    sc.settings.xroma_paramorfosis = packColour(200, 0, 200);  // apart from the nodes
    drawDeformedModel(sc.in(), sc.surface);
    checkSegments(sc.surface, sc.settings.xroma_paramorfosis, {{2, 13, 6.1, 13.2}});
    checkText(sc.surface, "D", 0.1, 0.07);
    QVERIFY(sc.surface.findText("max.= 0.022361"));
    QVERIFY(sc.surface.findText("max.|x|= 0.01"));
    QVERIFY(sc.surface.findText("max.|y|= 0.02"));

    sc.settings.Animation_Frames = 4;
    for (const auto& [frame, end] : {std::pair{0, QPointF(6, 13)}, {2, QPointF(6.05, 13.1)},
                                     {4, QPointF(6.1, 13.2)}}) {
        sc.surface.ops.clear();
        drawAnimationFrame(sc.in(), sc.surface, frame);
        checkSegments(sc.surface, sc.settings.xroma_stoixeion, {{2, 13, 6, 13}});
        checkSegments(sc.surface, sc.settings.xroma_paramorfosis, {{QPointF(2, 13), end}});
    }
}

void TestDrawing::scaleButtons_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("step");
    QTest::addColumn<float>("expected");
    // Force: largest |N| 50 at 100 per cm is 0.5 cm; +0.2 cm makes it 0.7 cm.
    QTest::newRow("force plus") << int(ViewMode::NDiagram) << 0.2 << 71.429f;
    QTest::newRow("force minus") << int(ViewMode::NDiagram) << -0.2 << 166.667f;
    // Deformation: 0.01 * 1000 / 100 = 0.1 cm; +0.2 makes it 0.3.
    QTest::newRow("deformation plus") << int(ViewMode::Deformed) << 0.2 << 33.3333f;
    QTest::newRow("deformation in animation") << int(ViewMode::Animation) << 0.2 << 33.3333f;
}

void TestDrawing::scaleButtons() {
    QFETCH(int, mode);
    QFETCH(double, step);
    QFETCH(float, expected);
    Model m;
    m.results.extremes[kMaxAbsN] = 50;
    m.results.extremes[kMaxTotalDisplacement] = 0.01;
    ViewSettings v;
    changeResultScale(v, m, ViewMode(mode), step);
    const float changed = ViewMode(mode) == ViewMode::NDiagram ? v.Ena_cm_posa_FORCE
                                                               : v.Ena_cm_posa_m_epi_1000;
    QCOMPARE(changed, expected);

    // Shrinking an ordinate of 0.2 cm or less leaves the scale alone.
    ViewSettings small;
    m.results.extremes[kMaxAbsN] = 20;  // 0.2 cm at 100 per cm
    changeResultScale(small, m, ViewMode::NDiagram, -0.2);
    QCOMPARE(small.Ena_cm_posa_FORCE, 100.0f);
    // Only the quantity on show changes.
    QCOMPARE(v.Ena_cm_posa_STRESS, 10000.0f);
}

void TestDrawing::labelPresets() {
    ViewSettings v;
    applyLabelPreset(v, LabelPreset::None);
    QVERIFY(!v.nai_arithmisi_kombon && !v.nai_sint_kombon && !v.nai_arithmisi_stoixeion &&
            !v.nai_omades && !v.nai_miki && !v.nai_times_fortiseon_si && !v.nai_times_N);
    applyLabelPreset(v, LabelPreset::All);
    QVERIFY(v.nai_arithmisi_kombon && v.nai_sint_kombon && v.nai_arithmisi_stoixeion &&
            v.nai_omades && v.nai_miki && v.nai_times_fortiseon_si && v.nai_times_N);
    applyLabelPreset(v, LabelPreset::Basic);
    QVERIFY(v.nai_arithmisi_kombon && !v.nai_sint_kombon && v.nai_arithmisi_stoixeion &&
            !v.nai_omades && !v.nai_miki && v.nai_times_fortiseon_si && v.nai_times_N);
}

void TestDrawing::svgIsXmlWithOneLinePerSegment() {
    Harness h;
    QVERIFY(ReadModelFile(h.app, VORTAK_EXAMPLES_DIR "/fink-roof-on-spring.vok") ==
            FileOutcome::Done);
    h.app.model.nodes.Fx[5] = 1;  // a label with "&" or "<" would break bad escaping
    RecordingSurface recorded(kW, kH);
    SvgSurface svg(kW, kH);
    redraw(h.app, recorded);
    redraw(h.app, svg);
    QXmlStreamReader xml(QByteArray::fromStdString(svg.document()));
    int lines = 0, texts = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            if (xml.name() == u"svg") {
                QCOMPARE(xml.attributes().value("width").toString(), QString("20cm"));
            }
            lines += xml.name() == u"line";
            texts += xml.name() == u"text";
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(lines, int(recorded.of(Kind::Line).size()));
    QCOMPARE(texts, int(recorded.of(Kind::Text).size()));
    QVERIFY(lines > 50);
}

QTEST_APPLESS_MAIN(TestDrawing)
#include "test_drawing.moc"
