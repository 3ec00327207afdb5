#include <cmath>

#include "graphics/view_transform.h"
#include "settings/settings_values.h"
#include "test_support.h"

using namespace vortak::test;

using Points = QList<QPointF>;

namespace {

bool near(double actual, double expected, double tolerance = 1e-9) {
    return std::fabs(actual - expected) <= tolerance;
}

// A view on a 20 x 15 cm area.
ViewTransform makeView(float scale, double offsetX, double offsetY) {
    ViewTransform v;
    v.scale = scale;
    v.offsetX = offsetX;
    v.offsetY = offsetY;
    return v;
}

Model modelWith(const Points& points) {
    Model m;
    for (const QPointF& p : points) addNode(m, p.x(), p.y());
    return m;
}

}  // namespace

class TestViewTransform : public QObject {
    Q_OBJECT
private slots:
    void rounding_data() {
        // snap: snapToGrid to a spacing, or roundTo decimals
        columns<bool, double, double, double>("snap", "value", "step", "expected");
        QTest::newRow("half to even") << false << 2.5 << 0.0 << 2.0;
        QTest::newRow("above 32-bit range") << false << 3.0e6 << 3.0 << 2147483.647;
        QTest::newRow("not a number") << false << std::nan("") << 3.0 << 0.0;
        QTest::newRow("snap: negative half goes up") << true << -2.5 << 1.0 << -2.0;
        QTest::newRow("snap: half of a fine grid") << true << 0.75 << 0.5 << 1.0;
        // Just under half in double precision, exactly half as a float: snaps up.
        QTest::newRow("snap: float comparison") << true << 0.5 - 1e-12 << 1.0 << 1.0;
        QTest::newRow("snap: no grid spacing") << true << 2.7 << 0.0 << 2.7;
    }
    void rounding() {
        const auto [snap, value, step, expected] =
            fetch<bool, double, double, double>("snap", "value", "step", "expected");
        const double result = snap ? snapToGrid(value, float(step)) : roundTo(value, int(step));
        QVERIFY2(near(result, expected, 1e-12), qPrintable(QString::number(result, 'g', 17)));
    }

    // Nothing to fit: without nodes the origin goes to its default place, nodes all on one
    // point go to the centre; the scale stays. Picture and model points map both ways.
    void zoomExtentsWithoutSize() {
        ViewTransform v = makeView(250, 7, -3);
        v.zoomExtents(Model{});
        QVERIFY(v.scale == 250 && near(v.toPictureX(0), 2) && near(v.toPictureY(0), 13));
        v.zoomExtents(modelWith({{30, -12}, {30, -12}}));
        QVERIFY(v.scale == 250 && near(v.toPictureX(30), 10) && near(v.toPictureY(-12), 7.5));
        QVERIFY(near(v.toModelX(10), 30) && near(v.toModelY(7.5), -12));
    }

    // Zoom extents (the nodes) and zoom window (from a press to a release at the first two
    // points) fill the tighter direction up to the margin (the far edge up to the scale's
    // rounding) and centre the other. The first two points span the rectangle. Scale 0: no
    // usable scale, the view stays as it was.
    void fitting_data() {
        // points: model units
        columns<bool, Points, bool, float>("window", "points", "fitsWidth", "scale");
        QTest::newRow("vertical") << false << Points{{5, 8.4}, {5, -3}, {5, 0}} << false << 114.0f;
        QTest::newRow("horizontal") << false << Points{{8.2, 2}, {-8.2, 2}} << true << 82.0f;
        // Both directions fit equally; the rounded scale (3.0005 -> 3) makes the two choices
        // land differently, and ties fill the width.
        const double w = 0.6001f;
        QTest::newRow("tie") << false << Points{{0, 0}, {w, w / 2}} << true << 3.0f;
        QTest::newRow("scale below 1") << false << Points{{0, 0}, {0.01, 0.02}} << false << 0.0f;
        // A 600 m bridge entered in millimetres: a scale of millions, rounded in double.
        QTest::newRow("bridge in millimetres")
            << false << Points{{0, 0}, {600000, 0}} << true << 3000000.0f;
        QTest::newRow("scale too large") << false << Points{{-1e38, 0}, {1e38, 0}} << true << 0.0f;
        // Fitted, the offsets would lie beyond what a model file holds.
        QTest::newRow("offsets out of range")
            << false << Points{{1e38, 0}, {1e38, 1}} << false << 0.0f;
        // Dragged from the bottom right to the top left.
        QTest::newRow("window: wide") << true << Points{{12, 3.6}, {2, 6.6}} << true << 42.373f;
        QTest::newRow("window: tall") << true << Points{{8, 3.1}, {4, 10.6}} << false << 55.147f;
        QTest::newRow("window: click") << true << Points{{3, 6.6}, {3, 6.6}} << true << 0.0f;
    }
    void fitting() {
        const auto [window, points, fitsWidth, scale] =
            fetch<bool, Points, bool, float>("window", "points", "fitsWidth", "scale");
        ViewTransform before = window ? ViewTransform() : makeView(250, 7, -3);
        before.SW = 23.6;  // inside the extents margins of 1.8 cm the room is 20 x 10 cm
        before.SH = 13.6;
        ViewTransform v = before;
        const QPointF a = points[0], b = points[1];
        if (window) {
            v.zoomWindow(v.toPictureX(a.x()), v.toPictureY(a.y()), v.toPictureX(b.x()),
                         v.toPictureY(b.y()));
        } else {
            QCOMPARE(v.zoomExtents(modelWith(points)), scale != 0);
        }
        QCOMPARE(v.scale, scale ? scale : before.scale);
        QVERIFY(scale || (v.offsetX == before.offsetX && v.offsetY == before.offsetY));
        if (scale == 0) return;
        const QRectF m = QRectF(a, b).normalized();
        const double margin = window ? 0 : 1.8, tolerance = 1e-6;  // nodes are single precision
        const QRectF pic(QPointF(v.toPictureX(m.left()), v.toPictureY(m.bottom())),
                         QPointF(v.toPictureX(m.right()), v.toPictureY(m.top())));
        const QPointF ends =
            fitsWidth ? QPointF(pic.left(), pic.right()) : QPointF(pic.top(), pic.bottom());
        const double size = fitsWidth ? v.SW : v.SH;
        QVERIFY(near(ends.x(), margin, tolerance) && near(ends.y(), size - margin, 0.01));
        const double centre = fitsWidth ? pic.center().y() - v.SH / 2 : pic.center().x() - v.SW / 2;
        QVERIFY(near(centre, 0, tolerance));
    }

    // Panning, zooming and centring on one far node never leave the range of offsets a model
    // file holds, so every view can be saved and opened again.
    void viewsStayInTheFileRange() {
        ViewTransform v = makeView(1, 0, 0);
        v.beginDrag(0, 0);
        v.panDrag(-3e38, 3e38);
        QVERIFY(isValidViewOffset(v.offsetX) && isValidViewOffset(v.offsetY));
        QCOMPARE(v.offsetX, 1e38);
        v = makeView(1e30f, 9e37, -9e37);
        v.beginDrag(0, 5);
        v.zoomDrag(500);  // the scale grows 26-fold: the offsets would too
        QVERIFY(v.scale > 1e30f && std::fabs(v.offsetX) == 1e38 && std::fabs(v.offsetY) == 1e38);
        v = makeView(1, 7, -3);
        QVERIFY(!v.zoomExtents(modelWith({{1e38, 0}})));
        QVERIFY(v.offsetX == 7 && v.offsetY == -3);
    }

    void history() {
        ViewTransform v;
        for (int k = 1; k <= 150; ++k) {
            v.offsetX = k;
            v.pushView();
        }
        // The oldest views are forgotten.
        int steps = 0;
        while (v.zoomPrevious()) ++steps;
        QVERIFY(steps == 100 && v.offsetX == 50);

        // A repeated view is stored once; a reset forgets them all.
        v.resetView();
        v.zoomExtents(modelWith({{0, 0}, {10, 5}, {4, -2}}));
        v.pushView();
        v.pushView();
        QCOMPARE(v.historyTop(), 1);
        v.resetView();
        QVERIFY(!v.zoomPrevious());
    }

    void zoomDrag_data() {
        // moves: pointer Y after a press at Y = 5
        columns<float, QList<double>, float, QPointF>("startScale", "moves", "scale", "offsets");
        // Default offsets in a 20 x 15 cm area: the centre is 8 cm right of the origin's X
        // and 5.5 cm above its Y.
        QTest::newRow("down 1 cm") << 100.0f << QList<double>{6} << 105.0f << QPointF(-2.4, 2.275);
        QTest::newRow("up 1 cm") << 100.0f << QList<double>{4} << float(100 / 1.05)
                                 << QPointF(-34 / 21.0, 36.5 / 21);
        QTest::newRow("refused below 1, still tracks the pointer")
            << 1.02f << QList<double>{4, 5} << float(1.02f * 1.05) << QPointF(-2.4, 2.275);
    }
    void zoomDrag() {
        const auto [startScale, moves] = fetch<float, QList<double>>("startScale", "moves");
        ViewTransform v = makeView(startScale, -2, 2);
        v.beginDrag(3, 5);
        for (double y : moves) v.zoomDrag(y);
        QTEST(v.scale, "scale");
        QTEST(QPointF(v.offsetX, v.offsetY), "offsets");
    }
};

QTEST_APPLESS_MAIN(TestViewTransform)
#include "test_view_transform.moc"
