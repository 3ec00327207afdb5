#include <QtTest>

#include <QApplication>
#include <QDir>
#include <QMimeDatabase>
#include <QPalette>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "app/icons.h"

using namespace vortak;

namespace {

const QStringList kKeys{"New",         "Open",          "Save",        "Xeraki",  "Zoom",
                        "Zoom_Window", "Zoom_Previous", "ZoomBestFit", "EA",      "Komboi",
                        "Stoixeia",    "Epikombia",     "Foreas",      "N",       "CT",
                        "Deform",      "Animate",       "Rithmiseis",  "Epilisi", "Apotelesmata"};
const QString kModelType = "application/x-vortak-model";

QImage picture(const QIcon& icon, int size) {
    return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The pixels that are at least half opaque: how many, the box they fill, their mean lightness.
struct Ink {
    int count = 0;
    QRect box;
    double lightness = 0;
};

Ink inkOf(const QImage& image) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) >= 128) {
                ++ink.count;
                ink.box |= QRect(x, y, 1, 1);
                ink.lightness += QColor(image.pixel(x, y)).lightness();
            }
    if (ink.count) ink.lightness /= ink.count;
    return ink;
}

bool cornersClear(const QImage& image) {
    const int last = image.width() - 1;
    for (QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        if (qAlpha(image.pixel(corner)) != 0) return false;
    return true;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString packaged(const QString& name) { return QStringLiteral(VORTAK_PACKAGING_DIR "/") + name; }

// The [Desktop Entry] group of a desktop file as key and value; a repeated key is an error.
QMap<QString, QString> readDesktopEntry(const QString& path) {
    QMap<QString, QString> entry;
    bool inGroup = false;
    for (const QString& line : QString::fromUtf8(contents(path)).split('\n')) {
        if (line.isEmpty() || line.startsWith('#')) continue;
        if (line.startsWith('[')) {
            inGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inGroup || equals < 1 || entry.contains(line.left(equals))) return {};
        entry.insert(line.left(equals), line.mid(equals + 1));
    }
    return entry;
}

}  // namespace

class TestIcons : public QObject {
    Q_OBJECT
private slots:
    void toolbarIconsFillEverySize_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("size");
        for (const QString& key : kKeys)
            for (int size : {16, 24, 32, 48})
                QTest::addRow("%s@%d", qPrintable(key), size) << key << size;
    }
    void toolbarIconsFillEverySize() {
        QFETCH(QString, key);
        QFETCH(int, size);
        const QIcon icon = toolbarIcon(key);
        QVERIFY(!icon.isNull());
        QVERIFY(icon.availableSizes().contains(QSize(size, size)));
        const QImage image = picture(icon, size);
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY(cornersClear(image));
        // Drawn to the size asked for: a good share of ink, spread over most of the square.
        const Ink ink = inkOf(image);
        QVERIFY2(ink.count >= size * size / 12, qPrintable(QString::number(ink.count)));
        QVERIFY(std::max(ink.box.width(), ink.box.height()) >= size * 3 / 4);
    }

    void toolbarIconsAreDistinct() {
        QList<QImage> images;
        for (const QString& key : kKeys) images << picture(toolbarIcon(key), 24);
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

    void unknownKeysGiveNullIcons_data() {
        QTest::addColumn<QString>("key");
        for (const char* key : {"", "new", "Zoom Window", "Foreas ", "Nodes", "Results"})
            QTest::newRow(key) << QString(key);
    }
    void unknownKeysGiveNullIcons() {
        QFETCH(QString, key);
        QVERIFY(toolbarIcon(key).isNull());
    }

    // Line drawings turn light on a dark toolbar; a page keeps its dark outline.
    void iconsFollowTheToolbarShade_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("lighter");
        QTest::newRow("zoom extents") << "ZoomBestFit" << true;
        QTest::newRow("E,A groups") << "EA" << true;
        QTest::newRow("model") << "Foreas" << true;
        QTest::newRow("new file") << "New" << false;
        QTest::newRow("results table") << "Apotelesmata" << false;
    }
    void iconsFollowTheToolbarShade() {
        QFETCH(QString, key);
        QFETCH(bool, lighter);
        const QPalette original = QApplication::palette();
        const QImage light = picture(toolbarIcon(key), 24);
        QApplication::setPalette(QPalette(QColor(0x30, 0x32, 0x36)));
        const QImage dark = picture(toolbarIcon(key), 24);
        QApplication::setPalette(original);
        if (lighter)
            QVERIFY(inkOf(dark).lightness > inkOf(light).lightness + 40);
        else
            QCOMPARE(dark, light);
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
        const QPoint hot = cursor.hotSpot();
        QVERIFY(image.rect().adjusted(2, 2, -2, -2).contains(hot));
        bool nearHot = false;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                nearHot |= qAlpha(image.pixel(hot + QPoint(dx, dy))) >= 128;
        QVERIFY(nearHot);
        // Black with a white rim: no black pixel touches a transparent one.
        int black = 0, white = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QRgb p = image.pixel(x, y);
                if (qAlpha(p) < 200) continue;
                white += qGray(p) > 220;
                if (qGray(p) > 40) continue;
                ++black;
                for (QPoint n :
                     {QPoint(x - 1, y), QPoint(x + 1, y), QPoint(x, y - 1), QPoint(x, y + 1)})
                    QVERIFY2(!image.rect().contains(n) || qAlpha(image.pixel(n)) >= 64,
                             qPrintable(QString("black at %1,%2 without rim").arg(x).arg(y)));
            }
        QVERIFY(black >= 30);
        QVERIFY(white >= 30);
    }

    void otherModesGiveTheArrow() {
        for (int mode : {0, 4, -1}) QCOMPARE(modeCursor(mode).shape(), Qt::ArrowCursor);
    }

    void applicationIconSizes_data() {
        QTest::addColumn<int>("size");
        for (int size : {16, 24, 32, 48, 64, 128, 256}) QTest::addRow("%d", size) << size;
    }
    void applicationIconSizes() {
        QFETCH(int, size);
        const QImage image = picture(applicationIcon(), size);
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY(cornersClear(image));
        // An opaque square almost to the edges, with the dark truss on it.
        const Ink ink = inkOf(image);
        QVERIFY(ink.count >= size * size * 3 / 4);
        QVERIFY(ink.lightness < 220);
    }

    void desktopEntry_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        for (const auto& [key, value] : {std::pair<const char*, QString>{"Type", "Application"},
                                         {"Name", "Vortak"},
                                         {"GenericName", "Plane truss analysis"},
                                         {"Exec", "vortak %f"},
                                         {"Icon", "vortak"},
                                         {"Terminal", "false"},
                                         {"Categories", "Education;Science;Engineering;"},
                                         {"MimeType", kModelType + ';'}})
            QTest::newRow(key) << QString(key) << value;
    }
    void desktopEntry() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        const auto entry = readDesktopEntry(packaged("vortak.desktop"));
        QVERIFY(entry.contains("Comment"));
        QCOMPARE(entry.value(key), value);
    }

    // The MIME type of model files, read with the XML reader and checked against the
    // banner the example models really start with.
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
        QCOMPARE(type, kModelType);
        QCOMPARE(glob, "*.vok");
        QCOMPARE(magic, QString(35, '*'));
        const QStringList models = QDir(VORTAK_EXAMPLES_DIR).entryList({"*.vok"});
        QVERIFY(!models.isEmpty());
        for (const QString& model : models) {
            const QByteArray start = contents(QString(VORTAK_EXAMPLES_DIR "/") + model).left(36);
            QVERIFY2(start.startsWith(magic.toLatin1()) &&
                         (start.endsWith('\r') || start.endsWith('\n')),
                     qPrintable(model));
        }
    }

    // Qt's own MIME database, pointed at the package alone, knows model files by name and
    // by their first bytes.
    void mimeDatabaseKnowsModels_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("model");
        const QByteArray banner =
            contents(QString(VORTAK_EXAMPLES_DIR "/pratt-bridge.vok")).left(200);
        QTest::newRow("by name") << "bridge.vok" << QByteArray() << true;
        QTest::newRow("by content") << "" << banner << true;
        QTest::newRow("other text") << "" << QByteArray("** a note\r\n") << false;
        QTest::newRow("other name") << "bridge.txt" << QByteArray() << false;
    }
    void mimeDatabaseKnowsModels() {
        QFETCH(QString, name);
        QFETCH(QByteArray, data);
        QFETCH(bool, model);
        QTemporaryDir share;
        QVERIFY(QDir(share.path()).mkpath("mime/packages"));
        QVERIFY(QFile::copy(packaged("vortak-mime.xml"),
                            share.filePath("mime/packages/vortak-mime.xml")));
        qputenv("XDG_DATA_DIRS", share.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", share.filePath("home").toLocal8Bit());
        const QMimeDatabase database;
        const QMimeType found = name.isEmpty()
                                    ? database.mimeTypeForData(data)
                                    : database.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
        qunsetenv("XDG_DATA_DIRS");  // nothing else here looks them up
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(found.name() == kModelType, model);
        if (model) QCOMPARE(found.comment(), "Vortak truss model");
    }

    void svgIcon() {
        QXmlStreamReader xml(contents(packaged("vortak.svg")));
        QStringList ids, references;
        QVERIFY(xml.readNextStartElement());
        QCOMPARE(xml.name(), u"svg");
        QCOMPARE(xml.namespaceUri(), u"http://www.w3.org/2000/svg");
        QCOMPARE(xml.attributes().value("viewBox"), u"0 0 48 48");
        static const QRegularExpression url(R"(url\(#([^)]+)\))");
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            for (const auto& attribute : xml.attributes()) {
                if (attribute.name() == u"id") ids << attribute.value().toString();
                const auto match = url.match(attribute.value());
                if (match.hasMatch()) references << match.captured(1);
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        for (const QString& reference : references)
            QVERIFY2(ids.contains(reference), qPrintable(reference));
    }
};

QTEST_MAIN(TestIcons)
#include "test_icons.moc"
