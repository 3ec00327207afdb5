#include <QtTest>

#include <cmath>

#include "graphics/view_transform.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

namespace {

bool near(double actual, double expected, double tolerance = 1e-9) {
    return std::fabs(actual - expected) <= tolerance;
}

ViewTransform makeView(float scale, double offsetX, double offsetY, double SW = 20,
                       double SH = 15) {
    ViewTransform v;
    v.scale = scale;
    v.offsetX = offsetX;
    v.offsetY = offsetY;
    v.SW = SW;
    v.SH = SH;
    v.resetHistory();
    return v;
}

Model modelWith(const QList<QPointF>& points) {
    Model m;
    for (const QPointF& p : points) addNode(m, float(p.x()), float(p.y()));
    return m;
}

void verifyView(const ViewTransform& v, float scale, double offsetX, double offsetY) {
    QCOMPARE(v.scale, scale);
    QCOMPARE(v.offsetX, offsetX);
    QCOMPARE(v.offsetY, offsetY);
}

// The model rectangle [xmin, xmax] x [ymin, ymax] fills the fitted direction up to `margin`
// from the edges (the far edge only up to the scale's rounding) and is centred in the other.
void verifyFitted(const ViewTransform& v, double xmin, double xmax, double ymin, double ymax,
                  double margin, bool fitsWidth) {
    const double left = v.toPictureX(xmin), right = v.toPictureX(xmax);
    const double top = v.toPictureY(ymax), bottom = v.toPictureY(ymin);
    if (fitsWidth) {
        QVERIFY2(near(left, margin), qPrintable(QString::number(left)));
        QVERIFY2(near(right, v.SW - margin, 0.01), qPrintable(QString::number(right)));
        QVERIFY2(near(top, v.SH - bottom), qPrintable(QString("%1 %2").arg(top).arg(bottom)));
    } else {
        QVERIFY2(near(top, margin), qPrintable(QString::number(top)));
        QVERIFY2(near(bottom, v.SH - margin, 0.01), qPrintable(QString::number(bottom)));
        QVERIFY2(near(left, v.SW - right), qPrintable(QString("%1 %2").arg(left).arg(right)));
    }
}

}  // namespace

class TestViewTransform : public QObject {
    Q_OBJECT
private slots:
    void mapping_data();
    void mapping();
    void roundToNearest_data();
    void roundToNearest();
    void snapToGrid_data();
    void snapToGrid();
    void zoomExtentsWithoutNodes();
    void zoomExtentsCentresSinglePoint_data();
    void zoomExtentsCentresSinglePoint();
    void zoomExtentsFits_data();
    void zoomExtentsFits();
    void zoomExtentsWithoutUsableScale_data();
    void zoomExtentsWithoutUsableScale();
    void zoomWindow_data();
    void zoomWindow();
    void zoomWindowWithoutUsableScale_data();
    void zoomWindowWithoutUsableScale();
    void historyForgetsOldestViews();
    void repeatedZoomExtentsStoresOneView();
    void zoomPreviousAfterReset();
    void panDragKeepsPointUnderPointer();
    void zoomDrag_data();
    void zoomDrag();
};

void TestViewTransform::mapping_data() {
    QTest::addColumn<float>("scale");
    QTest::addColumn<double>("offsetX");
    QTest::addColumn<double>("offsetY");
    QTest::addColumn<double>("SH");
    QTest::addColumn<QPointF>("model");
    QTest::addColumn<QPointF>("picture");
    QTest::addColumn<double>("length");  // picture length of model.x()

    QTest::newRow("default view, origin")
        << 100.0f << -2.0 << 2.0 << 15.0 << QPointF(0, 0) << QPointF(2, 13) << 0.0;
    QTest::newRow("zoomed in") << 50.0f << -3.0 << 1.0 << 15.0 << QPointF(4, 4) << QPointF(11, 6)
                               << 8.0;
    QTest::newRow("zoomed out, negative x")
        << 2500.0f << 10.0 << -4.0 << 12.0 << QPointF(-50, 125) << QPointF(-12, 11) << -2.0;
    QTest::newRow("fractional scale")
        << 0.125f << 0.5 << 0.25 << 10.0 << QPointF(0.1, -0.2) << QPointF(79.5, 169.75) << 80.0;
}

void TestViewTransform::mapping() {
    QFETCH(float, scale);
    QFETCH(double, offsetX);
    QFETCH(double, offsetY);
    QFETCH(double, SH);
    QFETCH(QPointF, model);
    QFETCH(QPointF, picture);
    QFETCH(double, length);
    const ViewTransform v = makeView(scale, offsetX, offsetY, 20, SH);

    QVERIFY(near(v.toPictureX(model.x()), picture.x()));
    QVERIFY(near(v.toPictureY(model.y()), picture.y()));
    QVERIFY(near(v.toPictureLength(model.x()), length));
    QVERIFY(near(v.toModelX(picture.x()), model.x()));
    QVERIFY(near(v.toModelY(picture.y()), model.y()));
    QVERIFY(near(v.toModelX(v.toPictureX(model.x())), model.x(), 1e-12));
    QVERIFY(near(v.toModelY(v.toPictureY(model.y())), model.y(), 1e-12));
}

void TestViewTransform::roundToNearest_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("expected");

    QTest::newRow("three decimals") << 123.45678 << 3 << 123.457;
    QTest::newRow("negative") << -0.98767 << 4 << -0.9877;
    QTest::newRow("half to even, down") << 2.5 << 0 << 2.0;
    QTest::newRow("negative half to even") << -2.5 << 0 << -2.0;
    QTest::newRow("half at third decimal, down") << 1.0625 << 3 << 1.062;
    QTest::newRow("half at third decimal, up") << 1.1875 << 3 << 1.188;
    QTest::newRow("above 32-bit range") << 3.0e6 << 3 << 2147483.647;
    QTest::newRow("below 32-bit range") << -3.0e6 << 3 << -2147483.648;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 3 << 0.0;
}

void TestViewTransform::roundToNearest() {
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(double, expected);
    QCOMPARE(roundTo(value, decimals), expected);
}

void TestViewTransform::snapToGrid_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<float>("spacing");
    QTest::addColumn<double>("expected");

    QTest::newRow("below half") << 2.4 << 1.0f << 2.0;
    QTest::newRow("half goes up") << 2.5 << 1.0f << 3.0;
    QTest::newRow("above half") << 2.6 << 1.0f << 3.0;
    QTest::newRow("negative, below half") << -2.4 << 1.0f << -2.0;
    QTest::newRow("negative half goes up") << -2.5 << 1.0f << -2.0;
    QTest::newRow("negative, above half") << -2.6 << 1.0f << -3.0;
    QTest::newRow("on a grid point") << 7.0 << 0.5f << 7.0;
    QTest::newRow("half of a fine grid") << 0.75 << 0.5f << 1.0;
    // Just under half in double precision, exactly half as a float: snaps up.
    QTest::newRow("float comparison") << 0.5 - 1e-12 << 1.0f << 1.0;
    QTest::newRow("no grid spacing") << 2.7 << 0.0f << 2.7;
}

void TestViewTransform::snapToGrid() {
    QFETCH(double, value);
    QFETCH(float, spacing);
    QFETCH(double, expected);
    const double snapped = vortak::snapToGrid(value, spacing);
    QVERIFY2(near(snapped, expected, 1e-12), qPrintable(QString::number(snapped, 'g', 17)));
}

void TestViewTransform::zoomExtentsWithoutNodes() {
    ViewTransform v = makeView(250, 7, -3);
    v.zoomExtents(Model{});
    verifyView(v, 250, -2, 2);
    QVERIFY(near(v.toPictureX(0), 2));
    QVERIFY(near(v.toPictureY(0), v.SH - 2));
}

void TestViewTransform::zoomExtentsCentresSinglePoint_data() {
    QTest::addColumn<QList<QPointF>>("nodes");
    QTest::newRow("one node") << QList<QPointF>{{30, -12}};
    QTest::newRow("coincident nodes") << QList<QPointF>{{30, -12}, {30, -12}, {30, -12}};
}

void TestViewTransform::zoomExtentsCentresSinglePoint() {
    QFETCH(QList<QPointF>, nodes);
    ViewTransform v = makeView(250, 7, -3);
    v.zoomExtents(modelWith(nodes));
    QCOMPARE(v.scale, 250.0f);
    QVERIFY(near(v.toPictureX(30), v.SW / 2));
    QVERIFY(near(v.toPictureY(-12), v.SH / 2));
}

void TestViewTransform::zoomExtentsFits_data() {
    QTest::addColumn<QList<QPointF>>("nodes");
    QTest::addColumn<double>("SW");
    QTest::addColumn<double>("SH");
    QTest::addColumn<bool>("fitsWidth");
    QTest::addColumn<float>("scale");

    // With SW 20 and SH 15 the room inside the margins is 16.4 x 11.4 cm.
    QTest::newRow("wide model") << QList<QPointF>{{10, 25}, {-64, 3}, {100, -5}, {0, 0}} << 20.0
                                << 15.0 << true << 1000.0f;
    QTest::newRow("tall model") << QList<QPointF>{{210, 414}, {200, 350}, {220, 300}, {205, 360}}
                                << 20.0 << 15.0 << false << 1000.0f;
    QTest::newRow("vertical line")
        << QList<QPointF>{{5, 0}, {5, 8.4}, {5, -3}} << 20.0 << 15.0 << false << 100.0f;
    QTest::newRow("horizontal line")
        << QList<QPointF>{{1, 2}, {8.2, 2}, {-8.2, 2}} << 20.0 << 15.0 << true << 100.0f;
    // A room of 20 x 10 cm and a model twice as wide as tall: both directions fit equally.
    // The rounded scale (3.0005 -> 3) makes the two choices land differently.
    const double w = 0.6001f;
    QTest::newRow("tie fits the width")
        << QList<QPointF>{{0, 0}, {w, w / 2}} << 23.6 << 13.6 << true << 3.0f;
}

void TestViewTransform::zoomExtentsFits() {
    QFETCH(QList<QPointF>, nodes);
    QFETCH(double, SW);
    QFETCH(double, SH);
    QFETCH(bool, fitsWidth);
    QFETCH(float, scale);
    ViewTransform v = makeView(250, 7, -3, SW, SH);
    const Model m = modelWith(nodes);
    v.zoomExtents(m);

    QCOMPARE(v.scale, scale);
    double xmin = m.nodes.x[1], xmax = xmin, ymin = m.nodes.y[1], ymax = ymin;
    for (int n = 2; n <= m.nodeCount; ++n) {
        xmin = std::min<double>(xmin, m.nodes.x[n]);
        xmax = std::max<double>(xmax, m.nodes.x[n]);
        ymin = std::min<double>(ymin, m.nodes.y[n]);
        ymax = std::max<double>(ymax, m.nodes.y[n]);
    }
    verifyFitted(v, xmin, xmax, ymin, ymax, 1.8, fitsWidth);
}

void TestViewTransform::zoomExtentsWithoutUsableScale_data() {
    QTest::addColumn<QList<QPointF>>("nodes");
    QTest::addColumn<double>("SW");

    QTest::newRow("scale below 1") << QList<QPointF>{{0, 0}, {0.01, 0.02}} << 20.0;
    QTest::newRow("scale beyond rounding range") << QList<QPointF>{{0, 0}, {1e9, 0}} << 20.0;
    QTest::newRow("no room inside the margins") << QList<QPointF>{{0, 0}, {10, 0}} << 3.6;
}

void TestViewTransform::zoomExtentsWithoutUsableScale() {
    QFETCH(QList<QPointF>, nodes);
    QFETCH(double, SW);
    ViewTransform v = makeView(250, 7, -3, SW);
    v.zoomExtents(modelWith(nodes));
    verifyView(v, 250, 7, -3);
}

void TestViewTransform::zoomWindow_data() {
    QTest::addColumn<QRectF>("rect");  // press point = topLeft, release point = bottomRight
    QTest::addColumn<bool>("fitsWidth");
    QTest::addColumn<float>("scale");

    // Default view in a 20 x 15 cm area: one model unit per centimetre.
    QTest::newRow("wide, top-left to bottom-right")
        << QRectF(QPointF(4, 5), QPointF(14, 8)) << true << 50.0f;
    QTest::newRow("wide, bottom-right to top-left")
        << QRectF(QPointF(14, 8), QPointF(4, 5)) << true << 50.0f;
    QTest::newRow("wide, bottom-left to top-right")
        << QRectF(QPointF(4, 8), QPointF(14, 5)) << true << 50.0f;
    QTest::newRow("wide, top-right to bottom-left")
        << QRectF(QPointF(14, 5), QPointF(4, 8)) << true << 50.0f;
    QTest::newRow("tall") << QRectF(QPointF(10, 8.5), QPointF(6, 1)) << false << 50.0f;
    QTest::newRow("zero width") << QRectF(QPointF(5, 3), QPointF(5, 9)) << false << 40.0f;
    QTest::newRow("zero height") << QRectF(QPointF(4, 5), QPointF(14, 5)) << true << 50.0f;
}

void TestViewTransform::zoomWindow() {
    QFETCH(QRectF, rect);
    QFETCH(bool, fitsWidth);
    QFETCH(float, scale);
    ViewTransform v;
    const double xa = v.toModelX(rect.left()), xb = v.toModelX(rect.right());
    const double ya = v.toModelY(rect.top()), yb = v.toModelY(rect.bottom());
    v.zoomWindow(rect.left(), rect.top(), rect.right(), rect.bottom());

    QCOMPARE(v.scale, scale);
    verifyFitted(v, std::min(xa, xb), std::max(xa, xb), std::min(ya, yb), std::max(ya, yb), 0,
                 fitsWidth);
}

void TestViewTransform::zoomWindowWithoutUsableScale_data() {
    QTest::addColumn<float>("scale");
    QTest::addColumn<double>("SW");
    QTest::addColumn<QRectF>("rect");

    QTest::newRow("click") << 100.0f << 20.0 << QRectF(QPointF(5, 5), QPointF(5, 5));
    QTest::newRow("scale below 1") << 1.5f << 20.0 << QRectF(QPointF(5, 5), QPointF(6, 6));
    QTest::newRow("drawing area without width")
        << 100.0f << 0.0 << QRectF(QPointF(1, 1), QPointF(2, 2));
}

void TestViewTransform::zoomWindowWithoutUsableScale() {
    QFETCH(float, scale);
    QFETCH(double, SW);
    QFETCH(QRectF, rect);
    ViewTransform v = makeView(scale, -2, 2, SW);
    v.zoomWindow(rect.left(), rect.top(), rect.right(), rect.bottom());
    verifyView(v, scale, -2, 2);
}

void TestViewTransform::historyForgetsOldestViews() {
    ViewTransform v;
    for (int k = 1; k <= 150; ++k) {
        v.scale = 100.0f + k;
        v.offsetX = k;
        v.pushView();
    }
    QCOMPARE(v.historyTop(), ViewTransform::kHistoryCapacity - 1);
    int steps = 0;
    while (v.zoomPrevious()) ++steps;
    QCOMPARE(steps, 100);
    verifyView(v, 150, 50, 2);
    QVERIFY(!v.zoomPrevious());
    verifyView(v, 150, 50, 2);
}

void TestViewTransform::repeatedZoomExtentsStoresOneView() {
    ViewTransform v;
    const Model m = modelWith({{0, 0}, {10, 5}, {4, -2}});
    v.zoomExtents(m);
    v.pushView();
    v.zoomExtents(m);
    v.pushView();
    QCOMPARE(v.historyTop(), 1);
    QVERIFY(v.zoomPrevious());
    verifyView(v, 100, -2, 2);
}

void TestViewTransform::zoomPreviousAfterReset() {
    ViewTransform v;
    v.offsetX = 4;
    v.pushView();
    v.resetView();
    QVERIFY(!v.zoomPrevious());
    verifyView(v, 100, -2, 2);

    // A view read from a file becomes the only history entry.
    v.scale = 250;
    v.offsetX = 1;
    v.offsetY = 3;
    v.resetHistory();
    QVERIFY(!v.zoomPrevious());
    verifyView(v, 250, 1, 3);
}

void TestViewTransform::panDragKeepsPointUnderPointer() {
    ViewTransform v = makeView(40, -2, 2);
    v.beginDrag(3.5, 4.25);
    const double x = v.toModelX(3.5), y = v.toModelY(4.25);
    const QPointF moves[] = {{7.75, 1.5}, {-2, 9}};
    for (const QPointF& p : moves) {
        v.panDrag(p.x(), p.y());
        QCOMPARE(v.toModelX(p.x()), x);
        QCOMPARE(v.toModelY(p.y()), y);
    }
    QCOMPARE(v.scale, 40.0f);
}

void TestViewTransform::zoomDrag_data() {
    QTest::addColumn<float>("startScale");
    QTest::addColumn<QList<double>>("moves");  // pointer Y after a press at Y = 5
    QTest::addColumn<float>("scale");
    QTest::addColumn<double>("offsetX");
    QTest::addColumn<double>("offsetY");

    // Default offsets -2 and 2 in a 20 x 15 cm area: the centre is 8 cm right of the
    // origin's X and 5.5 cm above its Y.
    QTest::newRow("down 1 cm") << 100.0f << QList<double>{6} << 105.0f << -2.4 << 2.275;
    QTest::newRow("up 1 cm") << 100.0f << QList<double>{4} << float(100 / 1.05) << -34 / 21.0
                             << 36.5 / 21;
    QTest::newRow("successive moves compound")
        << 100.0f << QList<double>{6, 7} << 110.25f << -2.78 << 2.53625;
    QTest::newRow("below 1 refused") << 1.02f << QList<double>{4} << 1.02f << -2.0 << 2.0;
    QTest::newRow("refused move still tracks the pointer")
        << 1.02f << QList<double>{4, 5} << float(1.02f * 1.05) << -2.4 << 2.275;
}

void TestViewTransform::zoomDrag() {
    QFETCH(float, startScale);
    QFETCH(QList<double>, moves);
    QFETCH(float, scale);
    QFETCH(double, offsetX);
    QFETCH(double, offsetY);
    ViewTransform v = makeView(startScale, -2, 2);
    v.beginDrag(3, 5);
    for (double y : moves) v.zoomDrag(y);
    QCOMPARE(v.scale, scale);
    QVERIFY2(near(v.offsetX, offsetX), qPrintable(QString::number(v.offsetX, 'g', 17)));
    QVERIFY2(near(v.offsetY, offsetY), qPrintable(QString::number(v.offsetY, 'g', 17)));
}

QTEST_APPLESS_MAIN(TestViewTransform)
#include "test_view_transform.moc"
