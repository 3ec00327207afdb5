#include <QtTest>

#include <QTemporaryDir>

#include "settings/qsettings_store.h"
#include "settings/settings_values.h"

using namespace vortak;

class TestQSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void keysIgnoreCaseAndValuesSurviveReopening() {
        QTemporaryDir dir;
        const QString file = dir.filePath("vortak.ini");
        ViewSettings s;
        s.xroma_background = kSystemColourFlag | 5u;
        {
            QSettingsStore store(file);
            saveViewSettingsAsDefault(store, s, typedNumbersOf(s));
            store.setValue("rithmiseis", "Ena_cm_posa_Stress", "300");  // a key saved just now
        }
        QSettingsStore reopened(file);
        QVERIFY(reopened.value("RITHMISEIS", "ena_cm_posa_stress") == "300");
        ViewSettings back;
        loadViewSettings(reopened, back);
        s.Ena_cm_posa_STRESS = 300;
        QVERIFY(back == s);  // every display option comes back from the file
        const QStringList keys = QSettings(file, QSettings::IniFormat).allKeys();
        QCOMPARE(keys.filter("posa_stress", Qt::CaseInsensitive).size(), 1);  // no second spelling
    }
};

QTEST_APPLESS_MAIN(TestQSettingsStore)
#include "test_qsettings_store.moc"
