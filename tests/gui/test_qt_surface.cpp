#include <QtTest>

#include <QGuiApplication>
#include <QPalette>
#include <QTemporaryDir>

#include <cerrno>

#include "graphics/image_file.h"
#include "graphics/qt_surface.h"

using namespace vortak;

namespace {

constexpr Colour kWhite = 0xFFFFFF, kBlack = 0, kRed = 0x0000FF, kGreen = 0x00FF00,
                 kBlue = 0xFF0000;

QRgb rgbOf(Colour c) { return qRgb(redOf(c), greenOf(c), blueOf(c)); }
QRgb at(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }
bool near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The smallest rectangle holding every pixel that is not the background.
QRect inkBounds(const QImage& image, QRgb background) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (at(image, x, y) != background) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
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
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<double>("at");  // cm across, then from and to along the line
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<QPoint>("across");  // first and last pixel filled across the line
        QTest::addColumn<QPoint>("along");   // and along it, caps included
        auto row = [](const char* name, double dpi, int width, bool vertical, double at,
                      double from, double to, QPoint across, QPoint along) {
            QTest::newRow(name) << dpi << width << vertical << at << from << to << across << along;
        };
        // 1 cm is 37.80 px at 96 dpi, 118.11 px at 300 dpi.
        row("96 dpi 1 px", 96, 1, false, 1.0, 0.5, 5.0, {37, 37}, {18, 188});
        row("96 dpi 1 px upwards", 96, 1, true, 0.5, 5.0, 0.5, {18, 18}, {18, 188});
        row("96 dpi 1 px first row", 96, 1, false, 0.0, 0.5, 5.0, {0, 0}, {18, 188});
        row("96 dpi 3 px", 96, 3, false, 1.0, 0.5, 5.0, {36, 38}, {17, 189});
        row("96 dpi 2 px", 96, 2, true, 1.0, 0.5, 5.0, {37, 38}, {18, 189});
        row("96 dpi 4 px", 96, 4, false, 1.0, 0.5, 5.0, {36, 39}, {17, 190});
        row("300 dpi 1 px", 300, 1, false, 1.0, 0.5, 1.9, {118, 118}, {59, 224});
        row("300 dpi 4 px", 300, 4, true, 0.3, 0.5, 1.9, {33, 36}, {57, 225});
        // 0.57 and 1.13 cm at 254 dpi are pixel boundaries 57 and 113, computed a hair short.
        row("254 dpi 1 px on a boundary", 254, 1, false, 0.57, 0.5, 2.0, {57, 57}, {50, 200});
        row("254 dpi 4 px on a boundary", 254, 4, true, 1.13, 0.5, 2.0, {111, 114}, {48, 201});
        // Far beyond the picture on both sides (a strong zoom).
        row("huge", 96, 1, false, 1.0, -1e7, 1e7, {37, 37}, {0, 239});
    }
    void straightLinesCoverWholePixels() {
        QFETCH(double, dpi);
        QFETCH(int, width);
        QFETCH(bool, vertical);
        QFETCH(double, at);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(QPoint, across);
        QFETCH(QPoint, along);
        QtSurface surface(QSize(240, 240), dpi);
        surface.clear(kWhite);
        surface.setPen(kRed, width);
        if (vertical)
            surface.line(at, from, at, to);
        else
            surface.line(from, at, to, at);
        auto pixel = [&](int a, int b) {  // a across, b along
            if (std::min(a, b) < 0 || std::max(a, b) >= 240) return rgbOf(kWhite);
            return vertical ? ::at(surface.image(), a, b) : ::at(surface.image(), b, a);
        };
        // Full strength inside, untouched outside: no half-tone row or column on any side.
        for (int b : {along.x(), (along.x() + along.y()) / 2, along.y()}) {
            for (int a = across.x(); a <= across.y(); ++a) QCOMPARE(pixel(a, b), rgbOf(kRed));
            QCOMPARE(pixel(across.x() - 1, b), rgbOf(kWhite));
            QCOMPARE(pixel(across.y() + 1, b), rgbOf(kWhite));
        }
        QCOMPARE(pixel(across.x(), along.x() - 1), rgbOf(kWhite));
        QCOMPARE(pixel(across.x(), along.y() + 1), rgbOf(kWhite));
    }

    void slantedLineEndsSnapLikeStraightOnes_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<double>("offset");  // pixels from the place the ends snap to
        QTest::addColumn<bool>("farAway");   // the line reaches far beyond the picture
        QTest::newRow("1 px") << 1 << -0.4 << false;
        QTest::newRow("3 px") << 3 << 0.45 << false;
        QTest::newRow("4 px") << 4 << -0.45 << false;
        QTest::newRow("1 px, far away") << 1 << 0.4 << true;
        QTest::newRow("4 px, far away") << 4 << 0.4 << true;
    }
    void slantedLineEndsSnapLikeStraightOnes() {
        QFETCH(int, width);
        QFETCH(double, offset);
        QFETCH(bool, farAway);
        // Odd widths snap to the centre of the pixel holding the point, even widths to the
        // nearest pixel corner; points anywhere around there give the same picture.
        const double snap = width % 2 ? 0.5 : 0.0, reach = farAway ? 1e9 : 50.0;
        auto picture = [&](double shift) {
            QtSurface surface(QSize(100, 100));
            surface.clear(kWhite);
            surface.setPen(kBlack, width);
            const double cm = 2.54 / 96.0;
            surface.line((20 + snap + shift) * cm, (30 + snap - shift) * cm,
                         (20 + snap + reach + shift) * cm, (30 + snap + reach - shift) * cm);
            return surface.image();
        };
        const QImage snapped = picture(0.0);
        QCOMPARE(picture(offset), snapped);
        // Dark on the slope (a thin slanted line shares its ink between two pixels of a
        // row), white beside it and beyond its end.
        QVERIFY(qRed(at(snapped, 40, 50)) < 160);
        QCOMPARE(at(snapped, 50, 40), rgbOf(kWhite));
        QCOMPARE(qRed(at(snapped, 85, 95)) < 160, farAway);
    }

    void clearPaintsEveryPixel_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<uint>("colour");
        QTest::newRow("odd size, 120 dpi") << QSize(333, 217) << 120.0 << uint(0x336699);
        QTest::newRow("one row, 72 dpi") << QSize(641, 1) << 72.0 << uint(kBlack);
        QTest::newRow("one pixel") << QSize(1, 1) << 96.0 << uint(0x00FFFF);
    }
    void clearPaintsEveryPixel() {
        QFETCH(QSize, size);
        QFETCH(double, dpi);
        QFETCH(uint, colour);
        QtSurface surface(size, dpi);
        surface.setPen(kRed, 4);
        surface.line(0, 0, surface.widthCm(), surface.heightCm());
        surface.text(0, 0, "covered");
        surface.clear(colour);
        QVERIFY(inkBounds(surface.image(), rgbOf(colour)).isEmpty());
    }

    void filledCircleHidesWhatIsUnderIt_data() {
        QTest::addColumn<bool>("filled");
        QTest::newRow("filled") << true;
        QTest::newRow("outline only") << false;
    }
    void filledCircleHidesWhatIsUnderIt() {
        QFETCH(bool, filled);
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
        for (const QPoint rim : {QPoint(48, 37), QPoint(26, 37), QPoint(37, 48), QPoint(37, 26)})
            QVERIFY(near(at(image, rim.x(), rim.y()), rgbOf(kBlue), 24));
        QCOMPARE(at(image, 60, 37), rgbOf(kRed));  // the line goes on outside
        QCOMPARE(at(image, 37, 60), rgbOf(kWhite));
    }

    void textStaysInItsLineBox_data() {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::newRow("7 pt") << 96.0 << 7.0 << false;
        QTest::newRow("12 pt bold") << 96.0 << 12.0 << true;
        QTest::newRow("9 pt at 300 dpi") << 300.0 << 9.0 << false;
    }
    void textStaysInItsLineBox() {
        QFETCH(double, dpi);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QtSurface surface(QSize(600, 300), dpi);
        const std::string text = "Hg|j0";
        const double x = 0.5, y = 0.4, pxPerCm = dpi / 2.54;
        surface.setFont(points, bold);
        // Drawn once elsewhere in another colour first: labels are kept laid out between
        // redraws, and nothing of that may stick.
        surface.setPenColour(kRed);
        surface.text(x + 1, y + 1, text);
        surface.clear(kWhite);
        surface.setPenColour(kBlue);
        surface.text(x, y, text);
        const QRectF box(x * pxPerCm, y * pxPerCm, surface.textWidth(text) * pxPerCm,
                         surface.lineHeight() * pxPerCm);
        const QRect ink = inkBounds(surface.image(), rgbOf(kWhite));
        QVERIFY(!ink.isEmpty());
        QVERIFY2(ink.top() >= std::floor(box.top()), "ink above the text's top");
        QVERIFY2(ink.left() >= std::floor(box.left()) - 1, "ink left of the text's start");
        QVERIFY2(ink.bottom() <= std::ceil(box.bottom()), "ink below the line box");
        QVERIFY2(ink.right() <= std::ceil(box.right()) + 1, "ink beyond the text width");
        // The glyphs fill the box: capitals start near its top, descenders near its end.
        QVERIFY(ink.top() - box.top() < 0.3 * box.height());
        QVERIFY(ink.bottom() - box.top() > 0.7 * box.height());
        QVERIFY(ink.width() > 0.8 * box.width());
        // In the pen colour (the stems have fully covered pixels), none of the first one.
        bool inPenColour = false;
        for (int py = ink.top(); py <= ink.bottom(); ++py) {
            for (int px = ink.left(); px <= ink.right(); ++px) {
                const QRgb c = at(surface.image(), px, py);
                QVERIFY(qBlue(c) == 255 && qRed(c) == qGreen(c));
                inPenColour = inPenColour || near(c, rgbOf(kBlue), 40);
            }
        }
        QVERIFY(inPenColour);
    }

    void boldTextIsWider() {
        QtSurface surface(QSize(400, 100));
        auto inkWidth = [&](bool bold, double& measured) {
            surface.clear(kWhite);
            surface.setFont(9, bold);
            measured = surface.textWidth("Element 123");
            surface.text(0.2, 0.2, "Element 123");
            return inkBounds(surface.image(), rgbOf(kWhite)).width();
        };
        double regular = 0, bold = 0;
        const int regularInk = inkWidth(false, regular), boldInk = inkWidth(true, bold);
        QVERIFY(bold > regular * 1.03);
        QVERIFY(boldInk > regularInk);
    }

    void lineHeightFollowsPointsNotDpi_data() {
        QTest::addColumn<double>("dpi");
        QTest::newRow("72 dpi") << 72.0;
        QTest::newRow("96 dpi") << 96.0;
        QTest::newRow("300 dpi") << 300.0;
    }
    void lineHeightFollowsPointsNotDpi() {
        QFETCH(double, dpi);
        QtSurface surface(QSize(10, 10), dpi), screen(QSize(10, 10), 96.0);
        double previous = 0;
        for (double points : {7.0, 9.0, 12.0, 24.0}) {
            surface.setFont(points);
            screen.setFont(points);
            const double em = points / 72.0 * 2.54, height = surface.lineHeight();
            QVERIFY(height > previous);
            QVERIFY(height >= em && height <= 1.5 * em);  // N points are N/72 inch
            QVERIFY(std::abs(height - screen.lineHeight()) < 0.1 * height);
            previous = height;
        }
    }

    void systemColoursComeFromThePalette_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("role");  // -1: no role, the classic default
        QTest::newRow("window") << 5 << int(QPalette::Base);
        QTest::newRow("window text") << 8 << int(QPalette::Text);
        QTest::newRow("highlight") << 13 << int(QPalette::Highlight);
        QTest::newRow("highlighted text") << 14 << int(QPalette::HighlightedText);
        QTest::newRow("button face") << 15 << int(QPalette::Button);
        QTest::newRow("button text") << 18 << int(QPalette::ButtonText);
        QTest::newRow("tooltip text") << 23 << int(QPalette::ToolTipText);
        QTest::newRow("tooltip") << 24 << int(QPalette::ToolTipBase);
        QTest::newRow("desktop") << 1 << -1;
    }
    void systemColoursComeFromThePalette() {
        QFETCH(int, index);
        QFETCH(int, role);
        // A colour of its own in every role, none of them a classic default.
        const QPalette original = QGuiApplication::palette();
        QPalette palette = original;
        for (int r = 0; r < QPalette::NColorRoles; ++r)
            palette.setColor(QPalette::ColorRole(r), QColor(10 + r, 100 + 3 * r, 200 - 5 * r));
        QGuiApplication::setPalette(palette);
        QtSurface surface(QSize(4, 4));
        surface.setSystemColours(desktopSystemColour);
        surface.clear(kSystemColourFlag | Colour(index));
        const QRgb got = at(surface.image(), 2, 2);
        QGuiApplication::setPalette(original);
        QCOMPARE(got, role < 0 ? rgbOf(defaultSystemColour(index))
                               : palette.color(QPalette::ColorRole(role)).rgb());
    }

    void pictureFollowsPaintingAndResizing() {
        QtSurface surface(QSize(50, 50), 150.0);
        surface.clear(kWhite);
        const QImage before = surface.image();  // a snapshot, not a view
        surface.setPen(kRed, 1);
        surface.line(0.0, 0.2, 0.5, 0.2);  // row 11
        QCOMPARE(at(surface.image(), 10, 11), rgbOf(kRed));
        QCOMPARE(at(before, 10, 11), rgbOf(kWhite));
        surface.setFont(10);
        const double lineHeight = surface.lineHeight();
        surface.resize(QSize(400, 60));
        QCOMPARE(surface.image().size(), QSize(400, 60));
        QCOMPARE(surface.widthCm(), 400 * 2.54 / 150.0);
        QCOMPARE(surface.lineHeight(), lineHeight);
        surface.clear(kWhite);
        surface.line(6.0, 0.0, 6.0, 1.0);  // column 354, beyond the old width
        QCOMPARE(at(surface.image(), 354, 30), rgbOf(kRed));
        QCOMPARE(at(surface.image(), 353, 30), rgbOf(kWhite));
    }

    void savedPicturesReadBackEqual_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("PNG") << QByteArray("PNG");
        QTest::newRow("BMP") << QByteArray("BMP");
        QTest::newRow("png") << QByteArray("png");
    }
    void savedPicturesReadBackEqual() {
        QFETCH(QByteArray, format);
        QTemporaryDir dir;
        QtSurface surface(QSize(123, 45), 300.0);
        surface.clear(0x204080);
        surface.setPen(kRed, 3);
        surface.line(0.1, 0.1, 0.9, 0.3);
        surface.text(0.1, 0.1, "P1");
        // A name with a non-ASCII letter checks the UTF-8 path.
        const QString path = dir.filePath(QString::fromUtf8("σχέδιο.") + format.toLower());
        QCOMPARE(saveImageFile(surface.image(), path.toStdString(), format.constData()),
                 std::nullopt);
        const QImage back(path, format.constData());
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), surface.image());
        QCOMPARE(back.dotsPerMeterX(), surface.image().dotsPerMeterX());
    }

    void failedSavesLeaveFilesAlone_data() {
        QTest::addColumn<QString>("target");  // in the test folder
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("reason");  // a part of the message, or empty
        QTest::newRow("missing folder")
            << "no folder/picture.png" << QByteArray("PNG") << qt_error_string(ENOENT);
        QTest::newRow("target is a folder") << "folder" << QByteArray("PNG") << "";
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
