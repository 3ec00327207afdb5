#include <QtTest>

#include <QSettings>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include "base/file_writer.h"
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

    // A batch of values is one write of the whole file; nothing is written when nothing
    // changed; what another copy of the program saved meanwhile is kept.
    void savesOnceAndKeepsOtherSaves() {
        QTemporaryDir dir;
        const QString file = dir.filePath("Vortak/Vortak.conf");  // the folder is made too
        QSettingsStore first(file);
        ViewSettings s;
        saveViewSettingsAsDefault(first, s, typedNumbersOf(s));
        {
            FileFault count(FileStep::Truncate, 0, 1000);  // counts the calls, fails none
            QCOMPARE(first.save(), std::nullopt);
            QCOMPARE(count.calls(FileStep::CreateTemp), 1);
            QCOMPARE(count.calls(FileStep::Rename), 1);
            saveViewSettingsAsDefault(first, s, typedNumbersOf(s));  // the same values again
            QCOMPARE(first.save(), std::nullopt);
            QCOMPARE(count.calls(FileStep::CreateTemp), 1);
        }
        {
            QSettingsStore second(file);
            second.setValue("Startup", "frmM_W", "9000");
        }
        first.setValue("Rithmiseis", "kannab", "3");
        QCOMPARE(first.save(), std::nullopt);
        QSettingsStore reopened(file);
        QVERIFY(reopened.value("startup", "FRMM_W") == "9000");
        QVERIFY(reopened.value("rithmiseis", "KANNAB") == "3");
    }

    // A failed save says where and why, leaves the file as it was and keeps the values for
    // the next save.
    void failedSaveKeepsTheValues() {
        QTemporaryDir dir;
        const QString file = dir.filePath("Vortak.conf");
        QSettingsStore store(file);
        store.setValue("Startup", "frmM_W", "9000");
        QCOMPARE(store.save(), std::nullopt);
        store.setValue("Startup", "frmM_W", "9500");
        {
            FileFault fault(FileStep::Rename, EROFS);
            QCOMPARE(store.save(), file.toStdString() + ": " + std::strerror(EROFS));
        }
        QVERIFY(QSettingsStore(file).value("Startup", "frmM_W") == "9000");
        QVERIFY(store.hasUnsavedChanges());
        QCOMPARE(store.save(), std::nullopt);
        QVERIFY(QSettingsStore(file).value("Startup", "frmM_W") == "9500");
    }

    // The per-user file is where the program has always kept it.
    void perUserFileLocation() {
        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        QCOMPARE(QSettingsStore::defaultPath(), dir.filePath("Vortak/Vortak.conf"));
    }
};

QTEST_APPLESS_MAIN(TestQSettingsStore)
#include "test_qsettings_store.moc"
