#include <QtTest>

#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/view_transform.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

namespace {

bool near(double actual, double expected, double tolerance = 1e-9) {
    return std::fabs(actual - expected) <= tolerance;
}

ViewTransform makeView(float scale, double offsetX, double offsetY, QSizeF area = {20, 15}) {
    ViewTransform v;
    v.scale = scale;
    v.offsetX = offsetX;
    v.offsetY = offsetY;
    v.SW = area.width();
    v.SH = area.height();
    v.resetHistory();
    return v;
}

Model modelWith(const QList<QPointF>& points) {
    Model m;
    for (const QPointF& p : points) addNode(m, float(p.x()), float(p.y()));
    return m;
}

bool isView(const ViewTransform& v, float scale, double offsetX, double offsetY) {
    return v.scale == scale && v.offsetX == offsetX && v.offsetY == offsetY;
}

// The model rectangle fills the fitted direction up to `margin` from the edges (the far edge
// only up to the scale's rounding) and is centred in the other.
void verifyFitted(const ViewTransform& v, const QRectF& m, double margin, bool fitsWidth) {
    const double edges[] = {v.toPictureX(m.left()), v.toPictureX(m.right()),
                            v.toPictureY(m.bottom()), v.toPictureY(m.top())};
    const double* fit = fitsWidth ? edges : edges + 2;
    const double* centred = fitsWidth ? edges + 2 : edges;
    const double fitSize = fitsWidth ? v.SW : v.SH, centredSize = fitsWidth ? v.SH : v.SW;
    QVERIFY2(
        near(fit[0], margin) && near(fit[1], fitSize - margin, 0.01) &&
            near(centred[0], centredSize - centred[1]),
        qPrintable(QString("%1 %2 %3 %4").arg(edges[0]).arg(edges[1]).arg(edges[2]).arg(edges[3])));
}

}  // namespace

class TestViewTransform : public QObject {
    Q_OBJECT
private slots:
    void mapping() {
        const ViewTransform v = makeView(0.125f, 0.5, 0.25);
        QVERIFY(near(v.toPictureX(0.1), 79.5) && near(v.toPictureY(-0.2), 174.75));
        QVERIFY(near(v.toPictureLength(0.1), 80));
        QVERIFY(near(v.toModelX(79.5), 0.1) && near(v.toModelY(174.75), -0.2));
    }

    void rounding_data() {
        QTest::addColumn<bool>("snap");  // snapToGrid to a spacing, or roundTo decimals
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("step");
        QTest::addColumn<double>("expected");
        QTest::newRow("three decimals") << false << 123.45678 << 3.0 << 123.457;
        QTest::newRow("half to even") << false << 2.5 << 0.0 << 2.0;
        QTest::newRow("above 32-bit range") << false << 3.0e6 << 3.0 << 2147483.647;
        QTest::newRow("not a number") << false << std::nan("") << 3.0 << 0.0;
        QTest::newRow("snap: half goes up") << true << 2.5 << 1.0 << 3.0;
        QTest::newRow("snap: negative half goes up") << true << -2.5 << 1.0 << -2.0;
        QTest::newRow("snap: half of a fine grid") << true << 0.75 << 0.5 << 1.0;
        // Just under half in double precision, exactly half as a float: snaps up.
        QTest::newRow("snap: float comparison") << true << 0.5 - 1e-12 << 1.0 << 1.0;
        QTest::newRow("snap: no grid spacing") << true << 2.7 << 0.0 << 2.7;
    }
    void rounding() {
        QFETCH(bool, snap);
        QFETCH(double, value);
        QFETCH(double, step);
        QFETCH(double, expected);
        const double result = snap ? snapToGrid(value, float(step)) : roundTo(value, int(step));
        QVERIFY2(near(result, expected, 1e-12), qPrintable(QString::number(result, 'g', 17)));
    }

    // Nothing to fit: without nodes the origin goes to its default place, nodes all on one
    // point go to the centre; the scale stays.
    void zoomExtentsWithoutSize() {
        ViewTransform v = makeView(250, 7, -3);
        v.zoomExtents(Model{});
        QVERIFY(v.scale == 250 && near(v.toPictureX(0), 2) && near(v.toPictureY(0), 13));
        v.zoomExtents(modelWith({{30, -12}, {30, -12}}));
        QVERIFY(v.scale == 250 && near(v.toPictureX(30), 10) && near(v.toPictureY(-12), 7.5));
    }

    void zoomExtents_data() {
        QTest::addColumn<QList<QPointF>>("nodes");
        QTest::addColumn<QSizeF>("area");  // cm
        QTest::addColumn<bool>("fitsWidth");
        QTest::addColumn<float>("scale");  // 250: no usable scale, the view stays as it was
        // With SW 20 and SH 15 the room inside the margins is 16.4 x 11.4 cm.
        QTest::newRow("vertical line")
            << QList<QPointF>{{5, 0}, {5, 8.4}, {5, -3}} << QSizeF(20, 15) << false << 100.0f;
        QTest::newRow("horizontal line")
            << QList<QPointF>{{1, 2}, {8.2, 2}, {-8.2, 2}} << QSizeF(20, 15) << true << 100.0f;
        // A room of 20 x 10 cm and a model twice as wide as tall: both directions fit equally.
        // The rounded scale (3.0005 -> 3) makes the two choices land differently.
        const double w = 0.6001f;
        QTest::newRow("tie fits the width")
            << QList<QPointF>{{0, 0}, {w, w / 2}} << QSizeF(23.6, 13.6) << true << 3.0f;
        QTest::newRow("scale below 1")
            << QList<QPointF>{{0, 0}, {0.01, 0.02}} << QSizeF(20, 15) << false << 250.0f;
        QTest::newRow("scale beyond rounding range")
            << QList<QPointF>{{0, 0}, {1e9, 0}} << QSizeF(20, 15) << true << 250.0f;
    }
    void zoomExtents() {
        QFETCH(QList<QPointF>, nodes);
        QFETCH(QSizeF, area);
        QFETCH(bool, fitsWidth);
        QFETCH(float, scale);
        ViewTransform v = makeView(250, 7, -3, area);
        v.zoomExtents(modelWith(nodes));
        QVERIFY(scale == 250.0f ? isView(v, 250, 7, -3) : v.scale == scale);
        if (scale == 250.0f) return;
        std::vector<double> xs, ys;  // the nodes as the model holds them, in single precision
        for (const QPointF& p : nodes) xs.push_back(float(p.x())), ys.push_back(float(p.y()));
        const auto [xmin, xmax] = std::minmax_element(xs.begin(), xs.end());
        const auto [ymin, ymax] = std::minmax_element(ys.begin(), ys.end());
        verifyFitted(v, QRectF(QPointF(*xmin, *ymin), QPointF(*xmax, *ymax)), 1.8, fitsWidth);
    }

    void zoomWindow_data() {
        QTest::addColumn<QRectF>("rect");  // press point = topLeft, release point = bottomRight
        QTest::addColumn<bool>("fitsWidth");
        QTest::addColumn<float>("scale");  // 100: no zoom, the default view stays
        // Default view in a 20 x 15 cm area: one model unit per centimetre.
        QTest::newRow("wide, dragged backwards")
            << QRectF(QPointF(14, 8), QPointF(4, 5)) << true << 50.0f;
        QTest::newRow("tall") << QRectF(QPointF(10, 8.5), QPointF(6, 1)) << false << 50.0f;
        QTest::newRow("zero width") << QRectF(QPointF(5, 3), QPointF(5, 9)) << false << 40.0f;
        QTest::newRow("click") << QRectF(QPointF(5, 5), QPointF(5, 5)) << true << 100.0f;
    }
    void zoomWindow() {
        QFETCH(QRectF, rect);
        QFETCH(bool, fitsWidth);
        QFETCH(float, scale);
        ViewTransform v;
        const QRectF model = QRectF(QPointF(v.toModelX(rect.left()), v.toModelY(rect.top())),
                                    QPointF(v.toModelX(rect.right()), v.toModelY(rect.bottom())))
                                 .normalized();
        v.zoomWindow(rect.left(), rect.top(), rect.right(), rect.bottom());
        QVERIFY(scale == 100.0f ? isView(v, 100, -2, 2) : v.scale == scale);
        if (scale == 100.0f) return;
        verifyFitted(v, model, 0, fitsWidth);
    }

    void history() {
        ViewTransform v;
        for (int k = 1; k <= 150; ++k) {
            v.scale = 100.0f + k;
            v.offsetX = k;
            v.pushView();
        }
        // The oldest views are forgotten.
        QCOMPARE(v.historyTop(), ViewTransform::kHistoryCapacity - 1);
        int steps = 0;
        while (v.zoomPrevious()) ++steps;
        QVERIFY(steps == 100 && isView(v, 150, 50, 2));

        // A repeated view is stored once; a reset forgets them all.
        v.resetView();
        const Model m = modelWith({{0, 0}, {10, 5}, {4, -2}});
        for (int k = 0; k < 2; ++k) {
            v.zoomExtents(m);
            v.pushView();
        }
        QCOMPARE(v.historyTop(), 1);
        QVERIFY(v.zoomPrevious() && isView(v, 100, -2, 2));
        v.zoomExtents(m);
        v.pushView();
        v.resetView();
        QVERIFY(!v.zoomPrevious() && isView(v, 100, -2, 2));
    }

    void panDragKeepsPointUnderPointer() {
        ViewTransform v = makeView(40, -2, 2);
        v.beginDrag(3.5, 4.25);
        const double x = v.toModelX(3.5), y = v.toModelY(4.25);
        for (const QPointF& p : {QPointF(7.75, 1.5), QPointF(-2, 9)}) {
            v.panDrag(p.x(), p.y());
            QVERIFY(v.toModelX(p.x()) == x && v.toModelY(p.y()) == y && v.scale == 40.0f);
        }
    }

    void zoomDrag_data() {
        QTest::addColumn<float>("startScale");
        QTest::addColumn<QList<double>>("moves");  // pointer Y after a press at Y = 5
        QTest::addColumn<float>("scale");
        QTest::addColumn<QPointF>("offsets");
        // Default offsets in a 20 x 15 cm area: the centre is 8 cm right of the origin's X
        // and 5.5 cm above its Y.
        QTest::newRow("down 1 cm") << 100.0f << QList<double>{6} << 105.0f << QPointF(-2.4, 2.275);
        QTest::newRow("up 1 cm") << 100.0f << QList<double>{4} << float(100 / 1.05)
                                 << QPointF(-34 / 21.0, 36.5 / 21);
        QTest::newRow("below 1 refused") << 1.02f << QList<double>{4} << 1.02f << QPointF(-2, 2);
        QTest::newRow("refused move still tracks the pointer")
            << 1.02f << QList<double>{4, 5} << float(1.02f * 1.05) << QPointF(-2.4, 2.275);
    }
    void zoomDrag() {
        QFETCH(float, startScale);
        QFETCH(QList<double>, moves);
        QFETCH(float, scale);
        QFETCH(QPointF, offsets);
        ViewTransform v = makeView(startScale, -2, 2);
        v.beginDrag(3, 5);
        for (double y : moves) v.zoomDrag(y);
        QCOMPARE(v.scale, scale);
        QVERIFY2(
            near(v.offsetX, offsets.x()) && near(v.offsetY, offsets.y()),
            qPrintable(QString("%1 %2").arg(v.offsetX, 0, 'g', 17).arg(v.offsetY, 0, 'g', 17)));
    }
};

QTEST_APPLESS_MAIN(TestViewTransform)
#include "test_view_transform.moc"
