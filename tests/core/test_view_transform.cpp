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

// The model rectangle (x from left to right, y from top to bottom) fills the fitted
// direction up to `margin` from the edges (the far edge only up to the scale's rounding) and
// is centred in the other.
void verifyFitted(const ViewTransform& v, const QRectF& model, double margin, bool fitsWidth) {
    const double left = v.toPictureX(model.left()), right = v.toPictureX(model.right());
    const double top = v.toPictureY(model.bottom()), bottom = v.toPictureY(model.top());
    const QString where = QString("%1 %2 %3 %4").arg(left).arg(right).arg(top).arg(bottom);
    if (fitsWidth) {
        QVERIFY2(near(left, margin) && near(right, v.SW - margin, 0.01), qPrintable(where));
        QVERIFY2(near(top, v.SH - bottom), qPrintable(where));
    } else {
        QVERIFY2(near(top, margin) && near(bottom, v.SH - margin, 0.01), qPrintable(where));
        QVERIFY2(near(left, v.SW - right), qPrintable(where));
    }
}

}  // namespace

class TestViewTransform : public QObject {
    Q_OBJECT
private slots:
    void mapping_data() {
        QTest::addColumn<float>("scale");
        QTest::addColumn<QPointF>("offsets");
        QTest::addColumn<QPointF>("model");
        QTest::addColumn<QPointF>("picture");
        QTest::addColumn<double>("length");  // picture length of model.x()

        // In a 20 x 15 cm area.
        QTest::newRow("default view, origin")
            << 100.0f << QPointF(-2, 2) << QPointF(0, 0) << QPointF(2, 13) << 0.0;
        QTest::newRow("fractional scale")
            << 0.125f << QPointF(0.5, 0.25) << QPointF(0.1, -0.2) << QPointF(79.5, 174.75) << 80.0;
    }

    void mapping() {
        QFETCH(float, scale);
        QFETCH(QPointF, offsets);
        QFETCH(QPointF, model);
        QFETCH(QPointF, picture);
        QFETCH(double, length);
        const ViewTransform v = makeView(scale, offsets.x(), offsets.y());

        QVERIFY(near(v.toPictureX(model.x()), picture.x()));
        QVERIFY(near(v.toPictureY(model.y()), picture.y()));
        QVERIFY(near(v.toPictureLength(model.x()), length));
        QVERIFY(near(v.toModelX(picture.x()), model.x()));
        QVERIFY(near(v.toModelY(picture.y()), model.y()));
    }

    void roundToNearest_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("expected");

        QTest::newRow("three decimals") << 123.45678 << 3 << 123.457;
        QTest::newRow("half to even, down") << 2.5 << 0 << 2.0;
        QTest::newRow("half at third decimal, up") << 1.1875 << 3 << 1.188;
        QTest::newRow("above 32-bit range") << 3.0e6 << 3 << 2147483.647;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 3 << 0.0;
    }

    void roundToNearest() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(double, expected);
        QCOMPARE(roundTo(value, decimals), expected);
    }

    void snapToGrid_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<float>("spacing");
        QTest::addColumn<double>("expected");

        QTest::newRow("half goes up") << 2.5 << 1.0f << 3.0;
        QTest::newRow("negative, above half") << -2.6 << 1.0f << -3.0;
        QTest::newRow("negative half goes up") << -2.5 << 1.0f << -2.0;
        QTest::newRow("half of a fine grid") << 0.75 << 0.5f << 1.0;
        // Just under half in double precision, exactly half as a float: snaps up.
        QTest::newRow("float comparison") << 0.5 - 1e-12 << 1.0f << 1.0;
        QTest::newRow("no grid spacing") << 2.7 << 0.0f << 2.7;
    }

    void snapToGrid() {
        QFETCH(double, value);
        QFETCH(float, spacing);
        QFETCH(double, expected);
        const double snapped = vortak::snapToGrid(value, spacing);
        QVERIFY2(near(snapped, expected, 1e-12), qPrintable(QString::number(snapped, 'g', 17)));
    }

    // Nothing to fit: without nodes the origin goes to its default place, a single point
    // (or nodes all on one point) to the centre; the scale stays.
    void zoomExtentsWithoutSize_data() {
        QTest::addColumn<QList<QPointF>>("nodes");
        QTest::addColumn<QPointF>("point");  // model
        QTest::addColumn<QPointF>("at");     // picture
        QTest::newRow("no nodes") << QList<QPointF>{} << QPointF(0, 0) << QPointF(2, 13);
        QTest::newRow("one node") << QList<QPointF>{{30, -12}} << QPointF(30, -12)
                                  << QPointF(10, 7.5);
        QTest::newRow("coincident nodes") << QList<QPointF>{{30, -12}, {30, -12}, {30, -12}}
                                          << QPointF(30, -12) << QPointF(10, 7.5);
    }
    void zoomExtentsWithoutSize() {
        QFETCH(QList<QPointF>, nodes);
        QFETCH(QPointF, point);
        QFETCH(QPointF, at);
        ViewTransform v = makeView(250, 7, -3);
        v.zoomExtents(modelWith(nodes));
        QCOMPARE(v.scale, 250.0f);
        QVERIFY(near(v.toPictureX(point.x()), at.x()));
        QVERIFY(near(v.toPictureY(point.y()), at.y()));
    }

    void zoomExtents_data() {
        QTest::addColumn<QList<QPointF>>("nodes");
        QTest::addColumn<QSizeF>("area");  // cm
        QTest::addColumn<bool>("fitsWidth");
        QTest::addColumn<float>("scale");  // 250: no usable scale, the view stays as it was

        // With SW 20 and SH 15 the room inside the margins is 16.4 x 11.4 cm.
        QTest::newRow("wide model") << QList<QPointF>{{10, 25}, {-64, 3}, {100, -5}, {0, 0}}
                                    << QSizeF(20, 15) << true << 1000.0f;
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
        ViewTransform v = makeView(250, 7, -3, area.width(), area.height());
        v.zoomExtents(modelWith(nodes));

        if (scale == 250.0f) return verifyView(v, 250, 7, -3);
        QCOMPARE(v.scale, scale);
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

        if (scale == 100.0f) return verifyView(v, 100, -2, 2);
        QCOMPARE(v.scale, scale);
        verifyFitted(v, model, 0, fitsWidth);
    }

    void historyForgetsOldestViews() {
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
    }

    void repeatedViewIsStoredOnceAndResetForgetsAll() {
        ViewTransform v;
        const Model m = modelWith({{0, 0}, {10, 5}, {4, -2}});
        v.zoomExtents(m);
        v.pushView();
        v.zoomExtents(m);
        v.pushView();
        QCOMPARE(v.historyTop(), 1);
        QVERIFY(v.zoomPrevious());
        verifyView(v, 100, -2, 2);
        v.zoomExtents(m);
        v.pushView();
        v.resetView();  // a new model: none of the old views
        QVERIFY(!v.zoomPrevious());
        verifyView(v, 100, -2, 2);
    }

    void panDragKeepsPointUnderPointer() {
        ViewTransform v = makeView(40, -2, 2);
        v.beginDrag(3.5, 4.25);
        const double x = v.toModelX(3.5), y = v.toModelY(4.25);
        for (const QPointF& p : {QPointF(7.75, 1.5), QPointF(-2, 9)}) {
            v.panDrag(p.x(), p.y());
            QCOMPARE(v.toModelX(p.x()), x);
            QCOMPARE(v.toModelY(p.y()), y);
        }
        QCOMPARE(v.scale, 40.0f);
    }

    void zoomDrag_data() {
        QTest::addColumn<float>("startScale");
        QTest::addColumn<QList<double>>("moves");  // pointer Y after a press at Y = 5
        QTest::addColumn<float>("scale");
        QTest::addColumn<QPointF>("offsets");

        // Default offsets -2 and 2 in a 20 x 15 cm area: the centre is 8 cm right of the
        // origin's X and 5.5 cm above its Y.
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
