#include <QtTest>

#include <QDir>
#include <QXmlStreamReader>

#include "app/icons.h"

using namespace vortak;

namespace {

QImage picture(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// How many pixels are at least half opaque.
int inkCount(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) >= 128;
    return count;
}

// No two pictures look alike: a fair number of pixels differ in opacity or shade.
void checkDistinct(const QList<QImage>& images, const QStringList& names) {
    for (int a = 0; a < images.size(); ++a)
        for (int b = a + 1; b < images.size(); ++b) {
            int differing = 0;
            for (int y = 0; y < images[a].height(); ++y)
                for (int x = 0; x < images[a].width(); ++x) {
                    const QRgb p = images[a].pixel(x, y), q = images[b].pixel(x, y);
                    differing +=
                        std::abs(qAlpha(p) - qAlpha(q)) > 64 || std::abs(qGray(p) - qGray(q)) > 64;
                }
            QVERIFY2(differing >= 40, qPrintable(names[a] + " and " + names[b]));
        }
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestIcons : public QObject {
    Q_OBJECT
private slots:
    void toolbarIconsAreVisibleAndDistinct() {
        const QStringList keys{
            "New",         "Open",          "Save",        "Xeraki",  "Zoom",
            "Zoom_Window", "Zoom_Previous", "ZoomBestFit", "EA",      "Komboi",
            "Stoixeia",    "Epikombia",     "Foreas",      "N",       "CT",
            "Deform",      "Animate",       "Rithmiseis",  "Epilisi", "Apotelesmata"};
        QList<QImage> images;
        for (const QString& key : keys) {
            images << picture(toolbarIcon(key).pixmap(24));
            QVERIFY2(inkCount(images.last()) >= 24 * 24 / 12, qPrintable(key));
        }
        checkDistinct(images, keys);
        QVERIFY(inkCount(picture(applicationIcon().pixmap(48))) >= 48 * 48 * 3 / 4);
    }

    void modeCursorsPointWithTheirInk() {
        QList<QImage> images;
        for (int mode : {1, 2, 3}) {
            const QCursor cursor = modeCursor(mode);
            images << picture(cursor.pixmap());
            QCOMPARE(images.last().size(), QSize(32, 32));
            QVERIFY(qAlpha(images.last().pixel(cursor.hotSpot())) >= 128);
        }
        checkDistinct(images, {"pan", "zoom", "zoom window"});
    }

    void packagingFilesFitTheModels() {
        const QString packaging = QStringLiteral(VORTAK_PACKAGING_DIR "/");
        for (const QString name : {"vortak-mime.xml", "vortak.svg"}) {
            QXmlStreamReader xml(contents(packaging + name));
            while (!xml.atEnd()) xml.readNext();
            QVERIFY2(!xml.hasError(), qPrintable(name + ": " + xml.errorString()));
        }
        // The magic of model files is the whole first line of every example model.
        const QString magic = QRegularExpression("<match [^>]*value=\"([^\"]+)\"")
                                  .match(contents(packaging + "vortak-mime.xml"))
                                  .captured(1);
        const QDir examples(VORTAK_EXAMPLES_DIR);
        QVERIFY(!magic.isEmpty() && !examples.entryList({"*.vok"}).isEmpty());
        for (const QString& model : examples.entryList({"*.vok"})) {
            const QByteArray start = contents(examples.filePath(model)).left(magic.size() + 1);
            QVERIFY2(start.startsWith(magic.toLatin1()) &&
                         (start.endsWith('\r') || start.endsWith('\n')),
                     qPrintable(model));
        }
    }
};

QTEST_MAIN(TestIcons)
#include "test_icons.moc"
