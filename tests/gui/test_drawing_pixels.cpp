#include <QtTest>

#include <QGuiApplication>

#include "graphics/drawing.h"
#include "graphics/qt_surface.h"
#include "../core/test_support.h"

using namespace vortak;
using namespace vortak::test;

// The program's drawing painted to pixels: what is under the pointer on screen.
class TestDrawingPixels : public QObject {
    Q_OBJECT
private slots:
    void elementOverBackground();
};

void TestDrawingPixels::elementOverBackground() {
    Harness h;
    Model& m = h.app.model;
    addNode(m, 0, 0, 1, 1);
    addNode(m, 6, 0);
    addGroup(m, 1, 1);
    addElement(m, 1, 2);
    h.app.settings.nai_grid = false;
    h.app.settings.nai_arithmisi_stoixeion = false;  // nothing on the midpoint but the line
    h.app.settings.xroma_stoixeion = packColour(200, 30, 10);
    h.app.settings.xroma_background = packColour(250, 250, 210);
    QtSurface surface(QSize(800, 600), 96);
    redraw(h.app, surface);
    const QImage& image = surface.image();
    const double pxPerCm = 96 / 2.54;
    // Model (x, y) lies at (x + 2, SH - 2 - y) cm with the default view.
    const auto pixel = [&](double xCm, double yCm) {
        return QColor(image.pixel(int(xCm * pxPerCm), int(yCm * pxPerCm)));
    };
    const double SH = surface.heightCm();
    QCOMPARE(pixel(5, SH - 2), QColor(200, 30, 10));      // the element's midpoint (3, 0)
    QCOMPARE(pixel(15, 2), QColor(250, 250, 210));        // nothing drawn here
    QCOMPARE(pixel(5, SH - 2.3), QColor(250, 250, 210));  // just above the element
}

QTEST_MAIN(TestDrawingPixels)
#include "test_drawing_pixels.moc"
