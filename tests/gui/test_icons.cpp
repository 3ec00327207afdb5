#include <QtTest>

#include <QDir>

#include "app/icons.h"

using namespace vortak;

class TestIcons : public QObject {
    Q_OBJECT
private slots:
    void iconsAndCursorsAreVisibleAndDistinct() {
        const QString keys =
            "New Open Save Undo Redo Xeraki Zoom Zoom_Window Zoom_Previous ZoomBestFit EA Komboi "
            "Stoixeia "
            "Epikombia Foreas N CT Deform Animate Rithmiseis Epilisi Apotelesmata";
        QStringList names = keys.split(' ');
        QList<QImage> images;
        for (const QString& key : names) images << toolbarIcon(key).pixmap(32).toImage();
        images << applicationIcon().pixmap(32).toImage();
        for (int mode : {1, 2, 3}) {
            images << modeCursor(mode).pixmap().toImage();
            QVERIFY(qAlpha(images.last().pixel(modeCursor(mode).hotSpot())) >= 128);  // inked
        }
        names += QStringList{"application", "pan cursor", "zoom cursor", "zoom window cursor"};
        // Each picture has a twelfth of its pixels at least half opaque (a == b); no two
        // look alike: 40 pixels or more differ clearly in opacity or shade.
        for (int a = 0; a < images.size(); ++a)
            for (int b = a; b < images.size(); ++b) {
                int count = 0;
                for (int y = 0; y < 32; ++y)
                    for (int x = 0; x < 32; ++x) {
                        const QRgb p = images[a].pixel(x, y), q = images[b].pixel(x, y);
                        count += a == b ? qAlpha(p) >= 128
                                        : std::abs(qAlpha(p) - qAlpha(q)) > 64 ||
                                              std::abs(qGray(p) - qGray(q)) > 64;
                    }
                QVERIFY2(count >= (a == b ? 32 * 32 / 12 : 40),
                         qPrintable(names[a] + " and " + names[b]));
            }
    }

    void mimeMagicIsTheFirstLineOfEveryExample() {
        QFile mime(VORTAK_PACKAGING_DIR "/vortak-mime.xml");
        QVERIFY(mime.open(QIODevice::ReadOnly));
        const QByteArray xml = mime.readAll();
        const QDir examples(VORTAK_EXAMPLES_DIR);
        QVERIFY(!examples.entryList({"*.vok"}).isEmpty());
        for (const QString& model : examples.entryList({"*.vok"})) {
            QFile file(examples.filePath(model));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray line = file.readLine().trimmed();
            QVERIFY2(xml.contains("offset=\"0\" value=\"" + line + "\""), qPrintable(model));
        }
    }
};

QTEST_MAIN(TestIcons)
#include "test_icons.moc"
