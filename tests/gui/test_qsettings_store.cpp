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
        s.nai_grid = false;
        s.kannab = 0.5f;
        s.xroma_background = kSystemColourFlag | 5u;
        {
            QSettingsStore store(file);
            saveViewSettingsAsDefault(store, s, typedNumbersOf(s));
            store.setValue(kDisplaySection, "Ena_cm_posa_STRESS", "250");
            store.setValue("rithmiseis", "Ena_cm_posa_Stress", "300");  // the same key
            store.setValue(kStartupSection, "WindowState", "0");
            store.sync();
        }
        QSettingsStore reopened(file);
        QCOMPARE(*reopened.value(kDisplaySection, "ENA_CM_POSA_STRESS"), std::string("300"));
        QCOMPARE(*reopened.value("STARTUP", "windowstate"), std::string("0"));
        ViewSettings back;
        loadViewSettings(reopened, back);
        s.Ena_cm_posa_STRESS = 300;
        QVERIFY(back == s);  // every display option comes back from the file
        QSettings raw(file, QSettings::IniFormat);
        raw.beginGroup("Rithmiseis");
        QCOMPARE(raw.childKeys().filter("ena_cm_posa_stress", Qt::CaseInsensitive),
                 QStringList{"Ena_cm_posa_STRESS"});
    }
};

QTEST_APPLESS_MAIN(TestQSettingsStore)
#include "test_qsettings_store.moc"
