#include <QtTest>

#include <QLineF>
#include <QXmlStreamReader>

#include <cmath>

#include "analysis/analysis_run.h"
#include "graphics/drawing.h"
#include "graphics/recording_surface.h"
#include "graphics/result_drawing.h"
#include "graphics/svg_surface.h"
#include "model/model_file.h"
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
    // Nodes at the points, node 1 fixed as given, joined in a chain by elements of one group.
    explicit Scene(const QList<QPointF>& points = {}, float cx = 0, float cy = 0) {
        view.SW = kW;
        view.SH = kH;
        for (const QPointF& p : points) {
            const bool first = model.nodeCount == 0;
            addNode(model, float(p.x()), float(p.y()), first ? cx : 0, first ? cy : 0);
        }
        addGroup(model, 1, 1);
        for (int n = 1; n < points.size(); ++n) addElement(model, n, n + 1);
    }
    DrawingInput in() const { return {model, settings, view}; }
};

bool near(double a, double b) { return std::fabs(a - b) < 1e-9; }

bool sameSegment(const RecordingSurface::Op& op, const QLineF& l) {
    const auto at = [&op](QPointF a, QPointF b) {
        return near(op.x1, a.x()) && near(op.y1, a.y()) && near(op.x2, b.x()) && near(op.y2, b.y());
    };
    return at(l.p1(), l.p2()) || at(l.p2(), l.p1());
}

// Every expected segment was drawn in the colour, and `total` lines (default: just those)
// in that colour altogether.
void checkSegments(const RecordingSurface& s, Colour colour, const Segments& expected,
                   int total = -1) {
    std::vector<RecordingSurface::Op> drawn;
    for (const auto& op : s.of(Kind::Line)) {
        if (op.colour == colour) drawn.push_back(op);
    }
    for (const QLineF& l : expected) {
        QVERIFY2(std::any_of(drawn.begin(), drawn.end(),
                             [&](const auto& op) { return sameSegment(op, l); }),
                 qPrintable("missing " + QDebug::toString(l)));
    }
    QCOMPARE(int(drawn.size()), total < 0 ? int(expected.size()) : total);
}

void checkText(const RecordingSurface& s, const std::string& text, double x, double y) {
    const auto* op = s.findText(text);
    QVERIFY2(op && near(op->x1, x) && near(op->y1, y), text.c_str());
}

}  // namespace

Q_DECLARE_METATYPE(Segments)

class TestDrawing : public QObject {
    Q_OBJECT
private slots:
    // The symbol sits on the side away from the members: its first stroke and the node label
    // move with it. A roller has one more stroke and its circle.
    void supportSymbols_data() {
        QTest::addColumn<QPointF>("fixed");  // cx, cy
        QTest::addColumn<QPointF>("other");  // the far end of the one member, or none (0, 0)
        QTest::addColumn<QLineF>("apex");
        QTest::addColumn<QPointF>("label");
        const auto add = [](const char* name, QPointF fixed, QPointF other, QLineF apex,
                            QPointF label) {
            QTest::newRow(name) << fixed << other << apex << label;
        };
        add("x roller, members right", {1, 0}, {4, 0}, {2, 13, 1.75, 13.25}, {2, 13});
        add("x roller, members left", {1, 0}, {-4, 0}, {2, 13, 2.25, 13.25}, {1.7, 13});
        add("y roller, members above", {0, 1}, {0, 3}, {2, 13, 2.25, 13.25}, {2.15, 13});
        add("y roller, members below", {0, 1}, {0, -3}, {2, 13, 2.25, 12.75}, {2, 13});
        add("pin without members, below", {1, 1}, {}, {2, 13, 2.25, 13.25}, {2.15, 13});
    }
    void supportSymbols() {
        QFETCH(QPointF, fixed);
        QFETCH(QPointF, other);
        QFETCH(QLineF, apex);
        QFETCH(QPointF, label);
        Scene sc(other.isNull() ? QList<QPointF>{{0, 0}} : QList<QPointF>{{0, 0}, other},
                 float(fixed.x()), float(fixed.y()));
        drawNode(sc.in(), sc.surface, 1);
        const bool pin = fixed == QPointF(1, 1);
        checkSegments(sc.surface, sc.settings.xroma_kombon, {apex}, pin ? 8 : 9);
        const auto circles = sc.surface.of(Kind::Circle);
        QCOMPARE(int(circles.size()), pin ? 1 : 2);
        // The node comes last, filled, so that it hides the element ends under it.
        QVERIFY(near(circles.back().x1, 2) && near(circles.back().y1, 13) && circles.back().filled);
        checkText(sc.surface, "1", label.x(), label.y());
    }

    // A zig-zag of nine strokes from the node, 0.88 cm long: right for Kx, down for Ky; a
    // constant that is not positive draws none.
    void springs() {
        Scene sc({{0, 0}});
        for (const auto& [Kx, Ky, end] :
             {std::tuple{5.f, -3.f, QPointF(2.88, 13)}, std::tuple{0.f, 7.f, QPointF(2, 13.88)}}) {
            sc.model.nodes.Kx[1] = Kx;
            sc.model.nodes.Ky[1] = Ky;
            sc.surface.ops.clear();
            drawNode(sc.in(), sc.surface, 1);
            const auto lines = sc.surface.of(Kind::Line);
            QCOMPARE(int(lines.size()), 9);
            QVERIFY(near(lines[0].x1, 2) && near(lines[0].y1, 13));
            QVERIFY(near(lines[8].x2, end.x()) && near(lines[8].y2, end.y()));
        }
    }

    // The shaft and the tip stroke of each arrow (of four strokes) and the value texts.
    void loadArrows_data() {
        QTest::addColumn<QPointF>("F");
        QTest::addColumn<Segments>("lines");
        QTest::addColumn<QStringList>("texts");
        const Segments right{{0.8, 13, 2, 13}, {2, 13, 1.65, 13.06}};
        const Segments left{{3.2, 13, 2, 13}, {2, 13, 2.35, 13.06}};
        const Segments up{{2, 14.2, 2, 13}, {2, 13, 2.06, 13.35}};
        const Segments down{{2, 11.8, 2, 13}, {2, 13, 2.06, 12.65}};
        QTest::newRow("positive Fx, negative Fy")
            << QPointF(10, -1e-5) << right + down << QStringList{" 10", " 1E-05"};
        QTest::newRow("negative Fx, positive Fy")
            << QPointF(-2.5, 5) << left + up << QStringList{" 2.5", " 5"};
        QTest::newRow("nothing for a zero Fy") << QPointF(10, 0) << right << QStringList{" 10"};
    }
    void loadArrows() {
        QFETCH(QPointF, F);
        QFETCH(Segments, lines);
        QFETCH(QStringList, texts);
        Scene sc({{0, 0}});
        sc.model.nodes.Fx[1] = float(F.x());
        sc.model.nodes.Fy[1] = float(F.y());
        drawLoads(sc.in(), sc.surface);
        checkSegments(sc.surface, sc.settings.xroma_sigkentromenon, lines, 2 * lines.size());
        for (const auto& op : sc.surface.of(Kind::Line)) QCOMPARE(op.width, 2);
        QStringList drawn;
        for (const auto& op : sc.surface.of(Kind::Text)) drawn << QString::fromStdString(op.text);
        QCOMPARE(drawn, texts);
    }

    void labels() {
        Scene sc({{0, 0}, {4, 0}, {4, 3}}, 1, 0);
        Model& m = sc.model;
        addGroup(m, 1, 1);
        m.setElement(1, Element{1, 2, 2});
        m.setElement(2, Element{1, 3, 1});
        ViewSettings& v = sc.settings;
        v.nai_omades = v.nai_miki = v.nai_sint_kombon = true;
        v.nai_graf_stir = false;  // constraints as codes after the number
        drawModel(sc.in(), sc.surface);
        const RecordingSurface& s = sc.surface;
        const double line = s.lineHeight();
        // Element labels: the number and group at the midpoint, the length one line lower.
        checkText(s, " 1 (2)", 4, 13);
        checkText(s, " 4", 4, 13 + line);
        checkText(s, " 2 (1)", 4, 11.5);
        checkText(s, " 5", 4, 11.5 + line);
        // Node labels: the number at the node, the coordinates one line lower.
        checkText(s, "1 xo", 2, 13);
        checkText(s, "3", 6, 10);
        checkText(s, " (4, 3)", 6, 10 + line);
        QCOMPARE(s.findText("3")->colour, v.xroma_kombon);
        QCOMPARE(s.findText(" 1 (2)")->colour, v.xroma_stoixeion);
        checkSegments(s, v.xroma_kombon, {});  // no symbols

        // Without numbers the code stands alone, and a free node gets no label at all.
        v.nai_arithmisi_kombon = v.nai_sint_kombon = false;
        sc.surface.ops.clear();
        drawNodes(sc.in(), sc.surface);
        QCOMPARE(int(s.of(Kind::Text).size()), 1);
        QVERIFY(s.findText(" xo"));
    }

    void everythingOff() {
        Scene sc({{0, 0}, {4, 0}}, 1, 1);
        sc.model.nodes.cy[2] = 1;
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
        QCOMPARE(int(sc.surface.ops.size()), 1);  // only the background
    }

    void gridLinesOnMultiples_data() {
        QTest::addColumn<float>("kannab");
        QTest::addColumn<float>("scale");
        QTest::addColumn<QPointF>("offset");
        QTest::newRow("shifted") << 1.0f << 100.0f << QPointF(-2.3, 1.35);
        QTest::newRow("half units zoomed") << 0.5f << 37.5f << QPointF(7.25, -3.5);
        QTest::newRow("just drawable") << 1.0f << 1000.0f << QPointF(0, 0);
    }
    void gridLinesOnMultiples() {
        QFETCH(float, kannab);
        QFETCH(float, scale);
        QFETCH(QPointF, offset);
        Scene sc;
        sc.settings.kannab = kannab;
        sc.view.scale = scale;
        sc.view.offsetX = offset.x();
        sc.view.offsetY = offset.y();
        drawGrid(sc.in(), sc.surface);
        const double pitch = kannab * 100.0 / scale;
        int vertical = 0, horizontal = 0;
        for (const auto& op : sc.surface.of(Kind::Line)) {
            const bool isVertical = near(op.x1, op.x2);
            const double units =
                (isVertical ? sc.view.toModelX(op.x1) : sc.view.toModelY(op.y1)) / kannab;
            QVERIFY2(std::fabs(units - std::round(units)) < 1e-6,
                     qPrintable(QString::number(units)));
            (isVertical ? vertical : horizontal)++;
        }
        // The lines cover the whole area.
        QCOMPARE(vertical, int(std::floor(kW / pitch)) + 1);
        QCOMPARE(horizontal, int(std::floor(kH / pitch)) + 1);
    }

    void gridTooDense() {
        Harness h;
        AppState& app = h.app;
        RecordingSurface s(kW, kH);
        const auto messages = [&app] {
            const auto lines = app.log.lines();
            return std::count(lines.begin(), lines.end(), " Grid to dense to display.");
        };
        const auto show = [&](float scale) {
            app.view.scale = scale;
            app.view.pushView();
            redraw(app, s);
        };
        app.view.scale = 1001;  // pitch 0.0999 cm, but only one view so far: no message
        app.view.resetHistory();
        redraw(app, s);
        QVERIFY(s.of(Kind::Line).size() == 8);  // the axes only
        QCOMPARE(messages(), 0);
        show(100);
        show(1001);  // zoomed out: the grid disappears, said once
        redraw(app, s);
        QCOMPARE(messages(), 1);
        QCOMPARE(app.log.runs().back().colour, LogColour::Red);
        app.view.zoomPrevious();
        redraw(app, s);
        show(2000);
        QCOMPARE(messages(), 2);  // a new zoom-out is told again
        app.settings.nai_grid = false;
        app.view.scale = 100;
        app.view.pushView();
        show(3000);
        QCOMPARE(messages(), 2);  // no grid, no message
    }

    void nDiagramBands_data() {
        QTest::addColumn<bool>("rightHandSide");
        QTest::addColumn<double>("force");
        QTest::addColumn<QPointF>("end");  // node 2; node 1 is at the origin
        QTest::addColumn<QPointF>("offset");
        QTest::addColumn<QString>("value");
        QTest::newRow("tension, right of i->j: below")
            << true << 50.0 << QPointF(4, 0) << QPointF(0, 0.5) << " 50";
        QTest::newRow("tension, left side: above")
            << false << 50.0 << QPointF(4, 0) << QPointF(0, -0.5) << " 50";
        QTest::newRow("compression, right side: above")
            << true << -25.0 << QPointF(4, 0) << QPointF(0, -0.25) << "-25";
        QTest::newRow("vertical member, right of upwards")
            << true << 50.0 << QPointF(0, 3) << QPointF(0.5, 0) << " 50";
        QTest::newRow("rounded value")
            << true << 12.34567 << QPointF(4, 0) << QPointF(0, 0.1234567) << " 12.346";
    }
    void nDiagramBands() {
        QFETCH(bool, rightHandSide);
        QFETCH(double, force);
        QFETCH(QPointF, end);
        QFETCH(QPointF, offset);
        QFETCH(QString, value);
        Scene sc({{0, 0}, end}, 1, 1);
        sc.model.results.FL[1][1] = -force;
        sc.model.results.FL[1][2] = force;
        sc.model.results.extremes[kMaxN] = 80;
        sc.model.results.extremes[kMinN] = -20.00049;
        sc.settings.N_sin_Ina = rightHandSide;
        drawNDiagram(sc.in(), sc.surface);
        const QPointF i(2, 13), j(2 + end.x(), 13 - end.y());
        checkSegments(sc.surface, sc.settings.xroma_N,
                      {{i, i + offset}, {i + offset, j + offset}, {j + offset, j}});
        const QPointF text = (i + j) / 2 + offset + QPointF(0, 0.22);
        checkText(sc.surface, value.toStdString(), text.x(), text.y());
        // The legend: a bold title, then the extremes rounded to the decimals, in order.
        const auto* title = sc.surface.findText("Axial Force");
        const auto* max = sc.surface.findText("max.= 80");
        const auto* min = sc.surface.findText("min.= -20");
        QVERIFY(title && max && min && title->bold && max->y1 > title->y1 && min->y1 > max->y1);
        QVERIFY(sc.surface.of(Kind::Circle).empty());  // no nodes in the diagram
    }

    void colourDiagram() {
        Scene sc({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}});
        const double forces[] = {80, -80, 0, 40};
        for (int e = 1; e <= 4; ++e) sc.model.results.FL[e][2] = forces[e - 1];
        const ViewSettings& v = sc.settings;
        const auto bars = [&sc] {
            sc.surface.ops.clear();
            drawColourDiagram(sc.in(), sc.surface);
            std::vector<Colour> colours;
            for (const auto& op : sc.surface.of(Kind::Line)) {
                if (op.width == 4) colours.push_back(op.colour);
            }
            return colours;
        };
        // +R, -R, 0 and halfway to tension, where 127.5 rounds to even.
        QCOMPARE(bars(), (std::vector<Colour>{v.Xroma_Efelkismou, v.Xroma_Thlipsis,
                                              v.Xroma_Afortistou, packColour(128, 128, 255)}));
        QVERIFY(sc.surface.of(Kind::Circle).size() == 5);  // nodes follow
        // No force anywhere: everything in the zero colour.
        for (int e = 1; e <= 4; ++e) sc.model.results.FL[e][2] = 0;
        QCOMPARE(bars(), std::vector<Colour>(4, v.Xroma_Afortistou));
    }

    void colourLegendTicks() {
        Scene sc({{0, 0}, {1, 0}, {2, 0}});
        sc.model.results.FL[1][2] = 100;
        sc.model.results.FL[2][2] = -50;
        RecordingSurface legend(kColourLegendWidth, kColourLegendBarHeight + 0.1);
        drawColourLegend(sc.in(), legend);
        const auto lines = legend.of(Kind::Line);
        QCOMPARE(int(lines.size()), 510 + 3);
        // Ticks at the largest value (the top), zero and the smallest (a quarter lower).
        QVERIFY(near(lines[510].y1, 0) && near(lines[511].y1, 2.55) && near(lines[512].y1, 3.825));
        checkText(legend, "max", 1.4, -0.1);
        checkText(legend, " 0", 1.4, 2.35);
        checkText(legend, "min", 1.4, 3.525);
    }

    void deformedAndAnimation() {
        Scene sc({{0, 0}, {4, 0}}, 1, 1);
        AnalysisResults& r = sc.model.results;
        r.D[3] = 0.01;
        r.D[4] = -0.02;
        r.extremes[kMaxTotalDisplacement] = 0.0223606798;
        r.extremes[kMaxAbsUx] = 0.01;
        r.extremes[kMaxAbsUy] = 0.02;
        sc.settings.Ena_cm_posa_m_epi_1000 = 100;  // displacements drawn ten times larger
        sc.settings.xroma_paramorfosis = packColour(200, 0, 200);  // apart from the nodes
        drawDeformedModel(sc.in(), sc.surface);
        checkSegments(sc.surface, sc.settings.xroma_paramorfosis, {{2, 13, 6.1, 13.2}});
        checkText(sc.surface, "D", 0.1, 0.07);
        QVERIFY(sc.surface.findText("max.= 0.022361") && sc.surface.findText("max.|x|= 0.01") &&
                sc.surface.findText("max.|y|= 0.02"));
        sc.settings.Animation_Frames = 4;
        for (const auto& [frame, end] :
             {std::pair{0, QPointF(6, 13)}, {2, QPointF(6.05, 13.1)}, {4, QPointF(6.1, 13.2)}}) {
            sc.surface.ops.clear();
            drawAnimationFrame(sc.in(), sc.surface, frame);
            checkSegments(sc.surface, sc.settings.xroma_stoixeion, {{2, 13, 6, 13}});
            checkSegments(sc.surface, sc.settings.xroma_paramorfosis, {{QPointF(2, 13), end}});
        }
    }

    void scaleButtons() {
        Model m;
        m.results.extremes[kMaxAbsN] = 50;
        m.results.extremes[kMaxTotalDisplacement] = 0.01;
        // Force: largest |N| 50 at 100 per cm is 0.5 cm; +0.2 cm makes it 0.7 cm.
        ViewSettings v;
        changeResultScale(v, m, ViewMode::NDiagram, 0.2);
        QCOMPARE(v.Ena_cm_posa_FORCE, 71.429f);
        QCOMPARE(v.Ena_cm_posa_STRESS, ViewSettings{}.Ena_cm_posa_STRESS);  // not on show
        // Deformation: 0.01 * 1000 / 100 = 0.1 cm; +0.2 makes it 0.3.
        for (ViewMode mode : {ViewMode::Deformed, ViewMode::Animation}) {
            ViewSettings d;
            changeResultScale(d, m, mode, 0.2);
            QCOMPARE(d.Ena_cm_posa_m_epi_1000, 33.3333f);
        }
        // Shrinking an ordinate of 0.2 cm or less (a zero denominator) leaves the scale alone.
        ViewSettings small;
        m.results.extremes[kMaxAbsN] = 20;  // 0.2 cm at 100 per cm
        changeResultScale(small, m, ViewMode::NDiagram, -0.2);
        QCOMPARE(small.Ena_cm_posa_FORCE, 100.0f);
    }

    void svgIsXmlWithOneLinePerSegment() {
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
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == u"svg") QCOMPARE(xml.attributes().value("width"), u"20cm");
            lines += xml.name() == u"line";
            texts += xml.name() == u"text";
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(lines, int(recorded.of(Kind::Line).size()));
        QCOMPARE(texts, int(recorded.of(Kind::Text).size()));
        QVERIFY(lines > 50);
    }
};

QTEST_APPLESS_MAIN(TestDrawing)
#include "test_drawing.moc"
