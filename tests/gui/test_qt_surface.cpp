#include <QtTest>

#include <QGuiApplication>
#include <QPalette>
#include <QTemporaryDir>

#include <cerrno>

#include "graphics/image_file.h"
#include "graphics/qt_surface.h"

using namespace vortak;

namespace {

constexpr Colour kWhite = 0xFFFFFF, kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

QRgb rgbOf(Colour c) { return qRgb(redOf(c), greenOf(c), blueOf(c)); }
QRgb at(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }
bool near(QRgb a, QRgb b, int tolerance) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))}) <= tolerance;
}

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

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestQtSurface : public QObject {
    Q_OBJECT
private slots:
    void straightLinesCoverWholePixels_data() {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("width");
        QTest::addColumn<QLineF>("line");   // cm; 1 cm is 37.80 px at 96 dpi, 100 px at 254 dpi
        QTest::addColumn<QRect>("pixels");  // all filled, caps included; nothing else is
        QTest::newRow("96 dpi 1 px")
            << 96.0 << 1 << QLineF(0.5, 1, 5, 1) << QRect(QPoint(18, 37), QPoint(188, 37));
        QTest::newRow("96 dpi 4 px upwards")
            << 96.0 << 4 << QLineF(1, 5, 1, 0.5) << QRect(QPoint(36, 17), QPoint(39, 190));
        // 0.57 and 1.13 cm at 254 dpi are pixel boundaries 57 and 113, computed a hair short.
        QTest::newRow("254 dpi 1 px on a boundary")
            << 254.0 << 1 << QLineF(0.5, 0.57, 2, 0.57) << QRect(QPoint(50, 57), QPoint(200, 57));
        QTest::newRow("254 dpi 4 px on a boundary")
            << 254.0 << 4 << QLineF(1.13, 0.5, 1.13, 2) << QRect(QPoint(111, 48), QPoint(114, 201));
        QTest::newRow("far beyond both sides")
            << 96.0 << 1 << QLineF(-1e9, 1, 1e9, 1) << QRect(QPoint(0, 37), QPoint(239, 37));
    }
    void straightLinesCoverWholePixels() {
        QFETCH(double, dpi);
        QFETCH(int, width);
        QFETCH(QLineF, line);
        QFETCH(QRect, pixels);
        QtSurface surface(QSize(240, 240), dpi);
        surface.clear(kWhite);
        surface.setPen(kRed, width);
        surface.line(line.x1(), line.y1(), line.x2(), line.y2());
        // Full strength inside, untouched outside: no half-tone row or column on any side.
        const auto [box, red] = inkBounds(surface.image(), rgbOf(kWhite), rgbOf(kRed));
        QCOMPARE(box, pixels);
        QCOMPARE(red, pixels.width() * pixels.height());
    }

    void resizedSurfacePaintsAndClearsEveryPixel() {
        QtSurface surface(QSize(50, 50), 150.0);
        surface.resize(QSize(333, 217));  // an odd size: the last row and column count too
        surface.setPen(kRed, 1);
        surface.line(5.0, 0.0, 5.0, 1.0);  // column 295, beyond the old width
        QCOMPARE(inkBounds(surface.image(), rgbOf(kWhite)).first, QRect(295, 0, 1, 60));
        surface.text(0, 0, "covered");
        surface.clear(0x336699);
        QVERIFY(inkBounds(surface.image(), rgbOf(0x336699)).first.isEmpty());
    }

    void filledCircleHidesWhatIsUnderIt() {
        for (const bool filled : {true, false}) {
            QtSurface surface(QSize(100, 100));
            surface.clear(kWhite);
            surface.setPen(kRed, 3);
            surface.line(0, 1.0, 2.5, 1.0);  // through pixel row 37
            surface.setPen(kBlue, 2);
            surface.setFillColour(kGreen);
            surface.setFillOn(filled);
            surface.circle(1.0, 1.0, 0.3);  // centre pixel (37, 37), radius 11.3 px
            const QImage& image = surface.image();
            QCOMPARE(at(image, 37, 37), rgbOf(filled ? kGreen : kRed));
            QCOMPARE(at(image, 37, 32), rgbOf(filled ? kGreen : kWhite));
            for (const QPoint rim :
                 {QPoint(48, 37), QPoint(26, 37), QPoint(37, 48), QPoint(37, 26)})
                QVERIFY(near(at(image, rim.x(), rim.y()), rgbOf(kBlue), 24));
            QCOMPARE(at(image, 60, 37), rgbOf(kRed));  // the line goes on outside
        }
    }

    void textFillsItsLineBox_data() {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::newRow("7 pt") << 96.0 << 7.0 << false;
        QTest::newRow("12 pt bold at 300 dpi") << 300.0 << 12.0 << true;
    }
    void textFillsItsLineBox() {
        QFETCH(double, dpi);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QtSurface surface(QSize(900, 300), dpi), screen(QSize(10, 10), 96.0);
        const std::string text = "Hg|j0";
        const double x = 0.5, y = 0.4, pxPerCm = dpi / 2.54, em = points / 72.0 * 2.54;
        surface.setFont(points, bold);
        screen.setFont(points, bold);
        // N points are N/72 inch whatever the resolution.
        QVERIFY(surface.lineHeight() >= em && surface.lineHeight() <= 1.5 * em);
        QVERIFY(std::abs(surface.lineHeight() - screen.lineHeight()) < 0.1 * em);
        surface.clear(kWhite);
        surface.setPenColour(kBlue);
        surface.text(x, y, text);
        const QRectF box(x * pxPerCm, y * pxPerCm, surface.textWidth(text) * pxPerCm,
                         surface.lineHeight() * pxPerCm);
        // Antialiasing and the one-pixel rim in the background colour may reach a pixel
        // beyond the box; capitals start near its top, descenders near its end.
        const auto [ink, blue] = inkBounds(surface.image(), rgbOf(kWhite), rgbOf(kBlue));
        QVERIFY(box.toAlignedRect().adjusted(-2, -2, 2, 2).contains(ink));
        QVERIFY(ink.top() - box.top() < 0.3 * box.height());
        QVERIFY(ink.bottom() - box.top() > 0.7 * box.height());
        QVERIFY(ink.width() > 0.8 * box.width());
        // Pen colour blended with the white background only; the stems at full strength.
        bool stems = false;
        for (int py = ink.top(); py <= ink.bottom(); ++py)
            for (int px = ink.left(); px <= ink.right(); ++px) {
                const QRgb c = at(surface.image(), px, py);
                QVERIFY(qBlue(c) == 255 && qRed(c) == qGreen(c));
                stems = stems || near(c, rgbOf(kBlue), 40);
            }
        QVERIFY(stems);
    }

    void systemColoursComeFromThePalette() {
        // A colour of its own in every role, none of them a classic default.
        const QPalette original = QGuiApplication::palette();
        QPalette palette = original;
        for (int r = 0; r < QPalette::NColorRoles; ++r)
            palette.setColor(QPalette::ColorRole(r), QColor(10 + r, 100 + 3 * r, 200 - 5 * r));
        QGuiApplication::setPalette(palette);
        QtSurface surface(QSize(4, 4));
        surface.setSystemColours(desktopSystemColour);
        QList<QRgb> got;
        for (int index : {5, 13, 1}) {  // window, highlight, desktop (no role: the default)
            surface.clear(kSystemColourFlag | Colour(index));
            got << at(surface.image(), 2, 2);
        }
        QGuiApplication::setPalette(original);
        QCOMPARE(got, (QList<QRgb>{palette.color(QPalette::Base).rgb(),
                                   palette.color(QPalette::Highlight).rgb(),
                                   rgbOf(defaultSystemColour(1))}));
    }

    void savedPicturesReadBackEqual() {
        QTemporaryDir dir;
        QtSurface surface(QSize(123, 45), 300.0);
        surface.clear(0x204080);
        surface.setPen(kRed, 3);
        surface.line(0.1, 0.1, 0.9, 0.3);
        for (const char* format : {"PNG", "BMP"}) {
            // A name with a non-ASCII letter checks the UTF-8 path.
            const QString path = dir.filePath(QString::fromUtf8("σχέδιο.") + format);
            QCOMPARE(saveImageFile(surface.image(), path.toStdString(), format), std::nullopt);
            QCOMPARE(QImage(path, format).convertToFormat(QImage::Format_RGB32), surface.image());
        }
    }

    void failedSavesLeaveFilesAlone_data() {
        QTest::addColumn<QString>("target");  // in the test folder
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("reason");  // a part of the message, or empty
        QTest::newRow("missing folder")
            << "no folder/picture.png" << QByteArray("PNG") << qt_error_string(ENOENT);
        QTest::newRow("target is a folder") << "folder" << QByteArray("PNG") << "";
        // Over the existing file itself, failing half-way: the old file stays.
        QTest::newRow("unknown format") << "kept.png" << QByteArray("XYZ") << "";
    }
    void failedSavesLeaveFilesAlone() {
        QFETCH(QString, target);
        QFETCH(QByteArray, format);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString kept = dir.filePath("kept.png");
        QtSurface surface(QSize(20, 20));
        surface.clear(kBlue);
        QCOMPARE(saveImageFile(surface.image(), kept.toStdString(), "PNG"), std::nullopt);
        const QByteArray keptBytes = contents(kept);
        QVERIFY(QDir(dir.path()).mkpath("folder/inside"));
        const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

        surface.clear(kRed);
        const auto error =
            saveImageFile(surface.image(), dir.filePath(target).toStdString(), format.constData());
        QVERIFY(error && !error->empty());
        QVERIFY2(QString::fromStdString(*error).contains(reason), error->c_str());
        QCOMPARE(contents(kept), keptBytes);
        QVERIFY(QFileInfo(dir.filePath("folder/inside")).isDir());
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), entries);
    }
};

QTEST_MAIN(TestQtSurface)
#include "test_qt_surface.moc"
