#include <QtTest>

#include <QDir>
#include <QXmlStreamReader>

#include "app/icons.h"

using namespace vortak;

namespace {

const QStringList kKeys{"New",         "Open",          "Save",        "Xeraki",  "Zoom",
                        "Zoom_Window", "Zoom_Previous", "ZoomBestFit", "EA",      "Komboi",
                        "Stoixeia",    "Epikombia",     "Foreas",      "N",       "CT",
                        "Deform",      "Animate",       "Rithmiseis",  "Epilisi", "Apotelesmata"};

QImage picture(const QIcon& icon, int size) {
    return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
}

// How many pixels are at least half opaque.
int inkCount(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) >= 128;
    return count;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString packaged(const QString& name) { return QStringLiteral(VORTAK_PACKAGING_DIR "/") + name; }

}  // namespace

class TestIcons : public QObject {
    Q_OBJECT
private slots:
    void toolbarIconsAreVisibleAndDistinct() {
        QList<QImage> images;
        for (const QString& key : kKeys) {
            const QIcon icon = toolbarIcon(key);
            QVERIFY2(!icon.isNull(), qPrintable(key));
            images << picture(icon, 24);
            QVERIFY2(inkCount(images.last()) >= 24 * 24 / 12, qPrintable(key));
        }
        // No two buttons look alike: a fair number of pixels differ in opacity or shade.
        for (int a = 0; a < images.size(); ++a)
            for (int b = a + 1; b < images.size(); ++b) {
                int differing = 0;
                for (int y = 0; y < 24; ++y)
                    for (int x = 0; x < 24; ++x) {
                        const QRgb p = images[a].pixel(x, y), q = images[b].pixel(x, y);
                        differing += std::abs(qAlpha(p) - qAlpha(q)) > 64 ||
                                     std::abs(qGray(p) - qGray(q)) > 64;
                    }
                QVERIFY2(differing >= 40, qPrintable(kKeys[a] + " and " + kKeys[b]));
            }
    }

    void unknownKeysGiveNullIcons() {
        for (const char* key : {"", "new", "Zoom Window", "Foreas "})
            QVERIFY2(toolbarIcon(key).isNull(), key);
    }

    void modeCursors_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("pan") << 1;
        QTest::newRow("zoom") << 2;
        QTest::newRow("zoom window") << 3;
    }
    void modeCursors() {
        QFETCH(int, mode);
        const QCursor cursor = modeCursor(mode);
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(32, 32));
        QVERIFY(image.rect().contains(cursor.hotSpot()));
        QVERIFY(qAlpha(image.pixel(cursor.hotSpot())) >= 128);
        const QCursor next = modeCursor(mode % 3 + 1);  // not another mode's picture
        QVERIFY(next.pixmap().toImage().convertToFormat(QImage::Format_ARGB32) != image);
    }

    void otherModesGiveTheArrow() {
        for (int mode : {0, 4, -1}) QCOMPARE(modeCursor(mode).shape(), Qt::ArrowCursor);
    }

    void applicationIconIsOpaque() {
        const QImage image = picture(applicationIcon(), 48);
        QVERIFY(inkCount(image) >= 48 * 48 * 3 / 4);
    }

    void desktopEntry() {
        QMap<QString, QString> entry;
        for (const QString& line : QString::fromUtf8(contents(packaged("vortak.desktop")))
                                       .split('\n', Qt::SkipEmptyParts))
            entry.insert(line.section('=', 0, 0), line.section('=', 1));
        QCOMPARE(entry.value("Type"), "Application");
        QCOMPARE(entry.value("Exec"), "vortak %f");
        QCOMPARE(entry.value("Icon"), "vortak");
        QCOMPARE(entry.value("MimeType"), "application/x-vortak-model;");
    }

    // The MIME type of model files, checked against the banner the example models really
    // start with.
    void mimeTypeDeclaration() {
        QXmlStreamReader xml(contents(packaged("vortak-mime.xml")));
        QString type, glob, magic;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            const auto attributes = xml.attributes();
            if (xml.name() == u"mime-type") type = attributes.value("type").toString();
            if (xml.name() == u"glob") glob = attributes.value("pattern").toString();
            if (xml.name() == u"match") magic = attributes.value("value").toString();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(type, "application/x-vortak-model");
        QCOMPARE(glob, "*.vok");
        const QStringList models = QDir(VORTAK_EXAMPLES_DIR).entryList({"*.vok"});
        QVERIFY(!models.isEmpty());
        // The magic is the whole first line: a line end follows it in every example.
        for (const QString& model : models) {
            const QByteArray start =
                contents(QString(VORTAK_EXAMPLES_DIR "/") + model).left(magic.size() + 1);
            QVERIFY2(start.startsWith(magic.toLatin1()) &&
                         (start.endsWith('\r') || start.endsWith('\n')),
                     qPrintable(model));
        }
    }

    void svgIconParses() {
        QXmlStreamReader xml(contents(packaged("vortak.svg")));
        QVERIFY(xml.readNextStartElement());
        QCOMPARE(xml.name(), u"svg");
        while (!xml.atEnd()) xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    }
};

QTEST_MAIN(TestIcons)
#include "test_icons.moc"
