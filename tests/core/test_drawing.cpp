#include <cmath>

#include "app/redraw.h"
#include "graphics/drawing.h"
#include "graphics/recording_surface.h"
#include "graphics/result_drawing.h"
#include "graphics/svg_surface.h"
#include "test_support.h"

using namespace vortak::test;

using Kind = RecordingSurface::Kind;
using Segments = QList<QLineF>;
using Points = QList<QPointF>;

// With the default view on a 20 x 15 cm area, model (x, y) is drawn at (x + 2, 13 - y).
namespace {

constexpr double kW = 20, kH = 15;

struct Scene {
    Model model;
    ViewSettings settings;
    ViewTransform view;
    RecordingSurface surface{kW, kH};
    // Nodes at the points, node 1 constrained as given, chained by elements of group 1.
    explicit Scene(const Points& points = {}, float cx = 0, float cy = 0) {
        for (const QPointF& p : points)
            addNode(model, p.x(), p.y(), model.nodeCount ? 0 : cx, model.nodeCount ? 0 : cy);
        addGroup(model, 1, 1);
        for (int n = 1; n < points.size(); ++n) addElement(model, n, n + 1);
        markAnalysed(model);  // the results each test writes count as this model's
    }
    DrawingInput in() const { return {model, settings, view}; }
};

bool near(double a, double b) { return std::fabs(a - b) < 1e-9; }

// The lines drawn in the colour, in drawing order.
Segments linesIn(const RecordingSurface& s, Colour colour) {
    Segments found;
    for (const auto& op : s.of(Kind::Line))
        if (op.colour == colour) found << QLineF(op.x1, op.y1, op.x2, op.y2);
    return found;
}

void checkText(const RecordingSurface& s, const std::string& text, QPointF at) {
    const auto* op = s.findText(text);
    QVERIFY2(op && near(op->x1, at.x()) && near(op->y1, at.y()), text.c_str());
}

}  // namespace

class TestDrawing : public QObject {
    Q_OBJECT
private slots:
    // The symbol sits on the side away from the members (below when they cancel out); its
    // first stroke and the node label move with it. A pin has one stroke less than a roller.
    void supportSymbols_data() {
        // fixed: cx, cy
        // nodes: node 1 first, then the far end of its member
        columns<QPointF, Points, QLineF, double>("fixed", "nodes", "apex", "labelX");
        QTest::newRow("x roller, members right")
            << QPointF(1, 0) << Points{{0, 0}, {4, 0}} << QLineF(2, 13, 1.75, 13.25) << 2.0;
        QTest::newRow("x roller, members left")
            << QPointF(1, 0) << Points{{0, 0}, {-4, 0}} << QLineF(2, 13, 2.25, 13.25) << 1.7;
        QTest::newRow("y roller, members below")
            << QPointF(0, 1) << Points{{0, 0}, {0, -3}} << QLineF(2, 13, 2.25, 12.75) << 2.0;
        QTest::newRow("pin without members")
            << QPointF(1, 1) << Points{{0, 0}} << QLineF(2, 13, 2.25, 13.25) << 2.15;
    }
    void supportSymbols() {
        const auto [fixed, nodes, apex, labelX] =
            fetch<QPointF, Points, QLineF, double>("fixed", "nodes", "apex", "labelX");
        Scene sc(nodes, fixed.x(), fixed.y());
        sc.settings.nai_sint_kombon = true;
        drawNode(sc.in(), sc.surface, 1);
        const Segments lines = linesIn(sc.surface, sc.settings.xroma_kombon);
        QVERIFY(lines.size() == (fixed == QPointF(1, 1) ? 8 : 9) && lines[0] == apex);
        checkText(sc.surface, "1", {labelX, 13});
        // The coordinates stay under the node whichever way the label moved.
        checkText(sc.surface, " (0, 0)", {2, 13 + sc.surface.lineHeight()});
        // The node comes last, filled, so that it hides the element ends under it.
        const auto node = sc.surface.of(Kind::Circle).back();
        QVERIFY(node.filled && near(node.x1, 2) && near(node.y1, 13));
    }

    // The shaft of each arrow (the first of four strokes) and the value texts.
    void loadArrows_data() {
        columns<QPointF, Segments, QStringList>("F", "shafts", "texts");
        QTest::newRow("+Fx, -Fy") << QPointF(10, -1e-5)
                                  << Segments{{0.8, 13, 2, 13}, {2, 11.8, 2, 13}}
                                  << QStringList{" 10", " 1E-05"};
        QTest::newRow("-Fx, +Fy") << QPointF(-2.5, 5)
                                  << Segments{{3.2, 13, 2, 13}, {2, 14.2, 2, 13}}
                                  << QStringList{" 2.5", " 5"};
        QTest::newRow("nothing for a zero Fy")
            << QPointF(10, 0) << Segments{{0.8, 13, 2, 13}} << QStringList{" 10"};
    }
    void loadArrows() {
        const auto [F, shafts] = fetch<QPointF, Segments>("F", "shafts");
        Scene sc({{0, 0}});
        sc.model.setLoad(1, {float(F.x()), float(F.y())});
        drawLoads(sc.in(), sc.surface);
        const Segments drawn = linesIn(sc.surface, sc.settings.xroma_sigkentromenon);
        QCOMPARE(drawn.size(), 4 * shafts.size());
        for (int k = 0; k < shafts.size(); ++k) QCOMPARE(drawn[4 * k], shafts[k]);
        QStringList shown;
        for (const auto& op : sc.surface.of(Kind::Text)) shown << QString::fromStdString(op.text);
        QTEST(shown, "texts");
    }

    void labels() {
        Scene sc({{0, 0}, {4, 0}, {4, 3}}, 1, 0);
        addGroup(sc.model, 1, 1);
        sc.model.setElement(2, Element{1, 3, 2});
        ViewSettings& v = sc.settings;
        v.nai_omades = v.nai_miki = v.nai_sint_kombon = true;
        v.nai_graf_stir = false;  // constraints as codes after the number
        drawModel(sc.in(), sc.surface);
        // Element: number and group at the midpoint, the length one line lower; node: number
        // and code at the node, the coordinates one line lower.
        checkText(sc.surface, " 2 (2)", {4, 11.5});
        checkText(sc.surface, " 5", {4, 11.5 + sc.surface.lineHeight()});
        checkText(sc.surface, "1 xo", {2, 13});
        checkText(sc.surface, "3", {6, 10});
        checkText(sc.surface, " (4, 3)", {6, 10 + sc.surface.lineHeight()});

        // Without numbers the code stands alone, and a free node gets no label at all.
        v.nai_arithmisi_kombon = v.nai_sint_kombon = false;
        sc.surface.ops.clear();
        drawNodes(sc.in(), sc.surface);
        QVERIFY(sc.surface.of(Kind::Text).size() == 1 && sc.surface.findText(" xo"));
    }

    void gridLinesOnMultiples_data() {
        columns<float, float, QPointF>("kannab", "scale", "offset");
        QTest::newRow("shifted") << 1.0f << 100.0f << QPointF(-2.3, 1.35);
        QTest::newRow("half units zoomed") << 0.5f << 37.5f << QPointF(7.25, -3.5);
        QTest::newRow("just drawable") << 1.0f << 1000.0f << QPointF(0, 0);
    }
    void gridLinesOnMultiples() {
        const auto [kannab, scale, offset] =
            fetch<float, float, QPointF>("kannab", "scale", "offset");
        Scene sc;
        sc.settings.kannab = kannab;
        sc.view.scale = scale;
        sc.view.offsetX = offset.x();
        sc.view.offsetY = offset.y();
        drawGrid(sc.in(), sc.surface);
        QList<int> counts{0, 0};  // vertical, horizontal
        for (const auto& op : sc.surface.ops) {
            const bool upright = op.x1 == op.x2;
            const double at = upright ? sc.view.toModelX(op.x1) : sc.view.toModelY(op.y1);
            QVERIFY2(std::fabs(std::remainder(at, kannab)) < 1e-6, qPrintable(QString::number(at)));
            ++counts[upright ? 0 : 1];
        }
        // The lines cover the whole area.
        const double pitch = kannab * 100.0 / scale;
        QCOMPARE(counts, (QList<int>{int(kW / pitch) + 1, int(kH / pitch) + 1}));
    }

    // Told once when zooming out has just made the grid too dense, and again after a new
    // zoom-out; not with a single view so far, nor without a grid.
    void gridTooDense() {
        Harness h;
        RecordingSurface s(kW, kH);
        const auto show = [&](float scale, bool push = true) {
            h.app.view.scale = scale;
            if (push) h.app.view.pushView();
            redraw(h.app, s);
            return logLines(h.app).count(" Grid to dense to display.");
        };
        QCOMPARE(show(1001, false), 0);  // pitch 0.0999 cm
        show(100);
        QCOMPARE(show(1001), 1);
        QCOMPARE(show(1001, false), 1);
        show(100);
        QCOMPARE(show(2000), 2);
        h.app.settings.nai_grid = false;
        show(100);
        QCOMPARE(show(3000), 2);
    }

    void nDiagramBands_data() {
        // end: node 2; node 1 is at the origin
        columns<bool, double, QPointF, QPointF, QString>("rightHandSide", "force", "end", "offset",
                                                         "value");
        QTest::newRow("tension, right of i->j: below")
            << true << 50.0 << QPointF(4, 0) << QPointF(0, 0.5) << " 50";
        QTest::newRow("tension, left side: above")
            << false << 50.0 << QPointF(4, 0) << QPointF(0, -0.5) << " 50";
        QTest::newRow("compression, right side: above")
            << true << -25.0 << QPointF(4, 0) << QPointF(0, -0.25) << "-25";
        QTest::newRow("vertical member, rounded value")
            << true << 12.34567 << QPointF(0, 3) << QPointF(0.1234567, 0) << " 12.346";
    }
    void nDiagramBands() {
        const auto [rightHandSide, force, end, offset, value] =
            fetch<bool, double, QPointF, QPointF, QString>("rightHandSide", "force", "end",
                                                           "offset", "value");
        Scene sc({{0, 0}, end}, 1, 1);
        sc.model.results.FL[1][2] = force;
        sc.model.results.extremes[kMinN] = -20.00049;
        sc.settings.N_sin_Ina = rightHandSide;
        drawNDiagram(sc.in(), sc.surface);
        const QPointF i(2, 13), j(2 + end.x(), 13 - end.y());
        QCOMPARE(linesIn(sc.surface, sc.settings.xroma_N),
                 (Segments{{i, i + offset}, {i + offset, j + offset}, {j + offset, j}}));
        checkText(sc.surface, value.toStdString(), (i + j) / 2 + offset + QPointF(0, 0.22));
        QVERIFY(sc.surface.findText("min.= -20"));  // the legend, rounded to the decimals
    }

    // Bars shade from the zero colour towards tension or compression by |value| / R, where
    // 127.5 rounds to even. The legend ticks lie at the largest value (the top), zero and the
    // smallest; without any force all in the middle.
    void colourDiagramAndLegend() {
        Scene sc({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}});
        const double forces[] = {100, -50, 0, 50};
        for (int e = 1; e <= 4; ++e) sc.model.results.FL[e][2] = forces[e - 1];
        // The bars' colours; an unloaded bar, in the background's colour, keeps an outline in
        // the element colour.
        int outlines = 0;
        const auto bars = [&sc, &outlines] {
            sc.surface.ops.clear();
            drawColourDiagram(sc.in(), sc.surface);
            std::vector<Colour> colours;
            outlines = 0;
            for (const auto& op : sc.surface.of(Kind::Line)) {
                if (op.width == 4) colours.push_back(op.colour);
                outlines += op.width == 6 && op.colour == sc.settings.xroma_stoixeion;
            }
            return colours;
        };
        RecordingSurface legend(kColourLegendWidth, kColourLegendBarHeight + 0.1);
        // The tick marks; their texts in order, each a line below the one before, inside the
        // box.
        const auto ticks = [&] {
            legend.ops.clear();
            drawColourLegend(sc.in(), legend);
            const auto lines = legend.of(Kind::Line);  // 510 bar lines first
            double free = 0;                           // where the next text may start
            for (const auto& text : legend.of(Kind::Text)) {
                if (text.y1 < free - 1e-9 || text.y1 + legend.lineHeight() > legend.heightCm())
                    return QList<double>{};
                free = text.y1 + legend.lineHeight();
            }
            return QList<double>{lines.at(510).y1, lines.at(511).y1, lines.at(512).y1};
        };
        QCOMPARE(bars(),
                 (std::vector<Colour>{sc.settings.Xroma_Efelkismou, packColour(255, 128, 128),
                                      sc.settings.Xroma_Afortistou, packColour(128, 128, 255)}));
        QCOMPARE(outlines, 1);
        QCOMPARE(ticks(), (QList<double>{0, 2.55, 2.55 * 1.5}));
        for (int e = 1; e <= 4; ++e) sc.model.results.FL[e][2] = std::abs(forces[e - 1]);
        QCOMPARE(ticks(), (QList<double>{0, 2.55, 2.55}));  // no compression: min at 0
        for (int e = 1; e <= 4; ++e) sc.model.results.FL[e][2] = 0;
        QCOMPARE(bars(), std::vector<Colour>(4, sc.settings.Xroma_Afortistou));
        QCOMPARE(outlines, 4);
        QCOMPARE(ticks(), (QList<double>{2.55, 2.55, 2.55}));
    }

    void deformedAndAnimation() {
        Scene sc({{0, 0}, {4, 0}});  // no support symbols in the colour of the deformation
        sc.model.results.D[3] = 0.01;
        sc.model.results.D[4] = -0.02;
        sc.model.results.extremes[kMaxTotalDisplacement] = 0.0223606798;
        sc.settings.Ena_cm_posa_m_epi_1000 = 100;  // displacements drawn ten times larger
        drawDeformedModel(sc.in(), sc.surface);
        QCOMPARE(linesIn(sc.surface, sc.settings.xroma_paramorfosis),
                 (Segments{{2, 13, 6.1, 13.2}}));
        QVERIFY(sc.surface.findText("max.= 0.022361"));  // rounded to six decimals
        sc.settings.Animation_Frames = 4;
        sc.surface.ops.clear();
        drawAnimationFrame(sc.in(), sc.surface, 2);  // halfway
        QCOMPARE(linesIn(sc.surface, sc.settings.xroma_paramorfosis),
                 (Segments{{2, 13, 6.05, 13.1}}));
    }

    void scaleButtons() {
        Model m;
        m.results.extremes[kMaxAbsN] = 50;
        m.results.extremes[kMaxTotalDisplacement] = 0.01;
        // Force: largest |N| 50 at 100 per cm is 0.5 cm; +0.2 cm makes it 0.7 cm.
        // Deformation: 0.01 * 1000 / 100 = 0.1 cm; +0.2 makes it 0.3. Shrinking the 0.5 cm
        // force ordinate by 0.5 cm (a zero denominator) leaves the scale alone.
        markAnalysed(m);
        ViewSettings v, d, a, same;
        changeResultScale(v, m, ViewMode::NDiagram, 0.2);
        changeResultScale(d, m, ViewMode::Deformed, 0.2);
        changeResultScale(a, m, ViewMode::Animation, 0.2);
        changeResultScale(same, m, ViewMode::NDiagram, -0.5);
        QCOMPARE(v.Ena_cm_posa_FORCE, 71.429f);
        QCOMPARE(d.Ena_cm_posa_m_epi_1000, 33.3333f);
        QCOMPARE(a.Ena_cm_posa_m_epi_1000, 33.3333f);
        QCOMPARE(same.Ena_cm_posa_FORCE, 100.0f);
    }

    // Once the model is edited its results belong to another model: every result view
    // draws the model with the notice in red where the legend goes, and no value at all.
    void resultViewsWithoutResults() {
        Scene sc({{0, 0}, {4, 0}});  // no support symbols in the colour of the deformation
        sc.model.results.FL[1][2] = 50;
        sc.model.results.D[3] = 0.5;
        sc.model.results.extremes[kMaxAbsN] = 50;
        sc.model.nodes.x[2] = 5;
        using Draw = void (*)(const DrawingInput&, Surface&);
        const Draw views[] = {
            drawNDiagram, drawColourDiagram, drawDeformedModel,
            [](const DrawingInput& in, Surface& s) { drawAnimationFrame(in, s, 1); }};
        for (Draw draw : views) {
            sc.surface.ops.clear();
            draw(sc.in(), sc.surface);
            const auto* notice = sc.surface.findText(kNotAnalysedText);
            QVERIFY(notice && notice->colour == packColour(255, 0, 0));
            QVERIFY(linesIn(sc.surface, sc.settings.xroma_N).empty() &&
                    linesIn(sc.surface, sc.settings.xroma_paramorfosis).empty());
            QVERIFY(!sc.surface.findText(" 50") && !sc.surface.findText("max.= 50"));
        }
        RecordingSurface legend(kColourLegendWidth, kColourLegendBarHeight + 0.1);
        drawColourLegend(sc.in(), legend);
        QVERIFY(legend.of(Kind::Line).empty() && legend.of(Kind::Text).empty());
        ViewSettings v;
        changeResultScale(v, sc.model, ViewMode::NDiagram, 0.2);
        QCOMPARE(v.Ena_cm_posa_FORCE, ViewSettings{}.Ena_cm_posa_FORCE);
    }

    // Text is escaped so that the document stays well-formed; one element per line.
    void svgDocument() {
        Scene sc({{0, 0}, {4, 0}, {4, 3}}, 1, 1);
        SvgSurface svg(kW, kH);
        drawModel(sc.in(), sc.surface);
        drawModel(sc.in(), svg);
        svg.text(1, 1, "\"a\" < b & c > d");
        const QString document = QString::fromStdString(svg.document());
        QXmlStreamReader xml(document);
        while (!xml.atEnd()) xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(document.contains(">&quot;a&quot; &lt; b &amp; c &gt; d</text>"));
        QCOMPARE(document.count("<line "), qsizetype(sc.surface.of(Kind::Line).size()));
    }
};

QTEST_APPLESS_MAIN(TestDrawing)
#include "test_drawing.moc"
