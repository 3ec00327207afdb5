#include <QGuiApplication>
#include <QPalette>

#include <cerrno>

#include "../core/test_support.h"
#include "app/redraw.h"
#include "graphics/drawing.h"
#include "graphics/image_file.h"
#include "graphics/qt_surface.h"

using namespace vortak::test;

namespace {

constexpr Colour kWhite = 0xFFFFFF, kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

QRgb rgbOf(Colour c) { return qRgb(redOf(c), greenOf(c), blueOf(c)); }
QRgb at(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }

// The smallest rectangle holding every pixel that is not the background, and how many of
// the pixels in it are exactly `ink`.
std::pair<QRect, int> inkBounds(const QImage& image, QRgb background, QRgb ink = 0) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (at(image, x, y) != background) box |= QRect(x, y, 1, 1);
    int count = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) count += at(image, x, y) == ink;
    return {box, count};
}

}  // namespace

class TestQtSurface : public QObject {
    Q_OBJECT
private slots:
    void straightLinesCoverWholePixels_data() {
        // line: cm; 1 cm is 37.80 px at 96 dpi, 100 px at 254 dpi
        // pixels: all filled, caps included; nothing else is
        columns<double, int, QLineF, QRect>("dpi", "width", "line", "pixels");
        QTest::newRow("96 dpi 1 px") << 96.0 << 1 << QLineF(0.5, 1, 5, 1) << QRect(18, 37, 171, 1);
        // 0.57 and 1.13 cm at 254 dpi are pixel boundaries 57 and 113, computed a hair short.
        QTest::newRow("254 dpi 1 px on a boundary")
            << 254.0 << 1 << QLineF(0.5, 0.57, 2, 0.57) << QRect(50, 57, 151, 1);
        QTest::newRow("254 dpi 4 px upwards on a boundary")
            << 254.0 << 4 << QLineF(1.13, 2, 1.13, 0.5) << QRect(111, 48, 4, 154);
        QTest::newRow("far beyond both sides")
            << 96.0 << 1 << QLineF(-1e9, 1, 1e9, 1) << QRect(0, 37, 241, 1);
    }
    void straightLinesCoverWholePixels() {
        const auto [dpi, width, line, pixels] =
            fetch<double, int, QLineF, QRect>("dpi", "width", "line", "pixels");
        QtSurface surface(QSize(20, 20), dpi);
        surface.resize(QSize(241, 239));  // a fresh white picture, odd sizes included
        surface.setPen(kRed, width);
        surface.line(line.x1(), line.y1(), line.x2(), line.y2());
        // Full strength inside, untouched outside: no half-tone row or column on any side.
        const auto [box, red] = inkBounds(surface.image(), rgbOf(kWhite), rgbOf(kRed));
        QCOMPARE(box, pixels);
        QCOMPARE(red, pixels.width() * pixels.height());
    }

    void filledCircleHidesWhatIsUnderIt() {
        for (const bool filled : {true, false}) {
            QtSurface surface(QSize(100, 100));
            surface.setPen(kRed, 3);
            surface.line(0, 1.0, 2.5, 1.0);  // through pixel row 37
            surface.setPen(kBlue, 2);
            surface.setFillColour(kGreen);
            surface.setFillOn(filled);
            surface.circle(1.0, 1.0, 0.3);  // centre pixel (37, 37), radius 11.3 px
            const QImage& image = surface.image();
            QCOMPARE(at(image, 37, 37), rgbOf(filled ? kGreen : kRed));
            QCOMPARE(at(image, 37, 32), rgbOf(filled ? kGreen : kWhite));
            for (const QRgb rim : {at(image, 48, 37), at(image, 37, 26)})  // a blue rim
                QVERIFY(qBlue(rim) > 230 && qRed(rim) < 25 && qGreen(rim) < 25);
            QCOMPARE(at(image, 60, 37), rgbOf(kRed));  // the line goes on outside
        }
    }

    void textFillsItsLineBox_data() {
        columns<double, double>("dpi", "points");
        QTest::newRow("7 pt") << 96.0 << 7.0;
        QTest::newRow("12 pt at 300 dpi") << 300.0 << 12.0;
    }
    void textFillsItsLineBox() {
        const auto [dpi, points] = fetch<double, double>("dpi", "points");
        QtSurface surface(QSize(900, 300), dpi);
        surface.setFont(points, false);
        surface.text(0.5, 0.5, "Hg|j0");
        const double em = points / 72.0 * 2.54, px = dpi / 2.54;
        // N points are N/72 inch whatever the resolution.
        QVERIFY(surface.lineHeight() >= em && surface.lineHeight() <= 1.5 * em);
        const QRectF box(0.5 * px, 0.5 * px, surface.textWidth("Hg|j0") * px,
                         surface.lineHeight() * px);
        // Antialiasing may reach a pixel beyond the box; capitals start near its top,
        // descenders near its end.
        const QRect ink = inkBounds(surface.image(), rgbOf(kWhite)).first;
        QVERIFY(box.toAlignedRect().adjusted(-2, -2, 2, 2).contains(ink));
        QVERIFY(ink.top() - box.top() < 0.3 * box.height() &&
                ink.bottom() - box.top() > 0.7 * box.height() && ink.width() > 0.8 * box.width());
    }

    void systemColoursComeFromThePalette() {
        const QPalette original = QGuiApplication::palette();
        QPalette palette = original;
        palette.setColor(QPalette::Base, QColor(1, 2, 3));
        QGuiApplication::setPalette(palette);
        QtSurface surface(QSize(4, 4));
        surface.setSystemColours(desktopSystemColour);
        surface.clear(kSystemColourFlag | 5);  // "window": the palette's base
        QGuiApplication::setPalette(original);
        QCOMPARE(at(surface.image(), 2, 2), qRgb(1, 2, 3));
    }

    void saves_data() {
        // target: in the test folder
        // reason: expected in the message; null: the save works
        columns<QString, QByteArray, QString>("target", "format", "reason");
        QTest::newRow("PNG, non-ASCII name") << "σχέδιο.png" << QByteArray("PNG") << QString();
        QTest::newRow("BMP over an old file") << "kept.png" << QByteArray("BMP") << QString();
        QTest::newRow("missing folder")
            << "no folder/picture.png" << QByteArray("PNG") << qt_error_string(ENOENT);
        QTest::newRow("target is a folder") << "folder" << QByteArray("PNG") << "";
        // Over the existing file itself, failing half-way: the old file stays.
        QTest::newRow("unknown format") << "kept.png" << QByteArray("XYZ") << "";
    }
    void saves() {
        const auto [target, format, reason] =
            fetch<QString, QByteArray, QString>("target", "format", "reason");
        QTemporaryDir dir;
        const QString kept = dir.filePath("kept.png");
        QtSurface surface(QSize(123, 45), 300.0);
        surface.clear(kBlue);
        QCOMPARE(saveImageFile(surface.image(), kept.toStdString(), "PNG"), std::nullopt);
        const QImage old = surface.image().copy();
        QVERIFY(QDir(dir.path()).mkpath("folder/inside"));
        const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        surface.setPen(kRed, 3);
        surface.line(0.1, 0.1, 0.9, 0.3);
        const QString path = dir.filePath(target);
        const auto error = saveImageFile(surface.image(), path.toStdString(), format.constData());
        if (reason.isNull()) {
            QCOMPARE(error, std::nullopt);
            QCOMPARE(QImage(path, format).convertToFormat(QImage::Format_RGB32), surface.image());
            return;
        }
        QVERIFY(error && !error->empty() && QString::fromStdString(*error).contains(reason));
        QCOMPARE(QImage(kept).convertToFormat(QImage::Format_RGB32), old);
        QVERIFY(QFileInfo(dir.filePath("folder/inside")).isDir());
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), entries);
    }

    // The program's drawing painted to pixels: what is under the pointer on screen.
    void drawingLandsOnItsPixels() {
        Harness h;
        addBar(h.app.model, 6);
        h.app.settings.nai_grid = false;
        h.app.settings.nai_arithmisi_stoixeion = false;  // nothing on the midpoint but the line
        h.app.settings.xroma_stoixeion = packColour(200, 30, 10);
        h.app.settings.xroma_background = packColour(250, 250, 210);
        QtSurface surface(QSize(800, 600), 96);
        redraw(h.app, surface);
        // At 96 dpi with the default view, model (x, y) m lies x + 2 cm from the left and
        // y + 2 cm from the bottom: the midpoint (3, 0) on pixel (188, 524).
        QCOMPARE(at(surface.image(), 188, 524), qRgb(200, 30, 10));
        QCOMPARE(at(surface.image(), 188, 513), qRgb(250, 250, 210));  // 0.3 cm above it
    }
};

QTEST_MAIN(TestQtSurface)
#include "test_qt_surface.moc"
