#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "test_support.h"

using namespace vortak::test;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    // A stored text and the value read back, saved again as text.
    void storedTexts_data() {
        columns<QString, QString, QString>("key", "stored", "expected");
        const auto add = [](const char* name, QString key, QString stored, QString expected) {
            QTest::newRow(name) << key << stored << expected;
        };
        add("hex, lower-case marker", "xroma_grid", "&hE0E0E0", "14737632");
        add("leading number", "xroma_N", "12abc", "12");
        add("system colour", "xroma_background", "-2147483643", "-2147483643");
        add("colour out of range", "xroma_N", "1e12", "2852397");
        add("scale of letters is 0: refused", "Ena_cm_posa_FORCE", "abc", "100");
        add("integer rounds half to even", "Animation_Frames", "50.5", "50");
        add("integer out of range", "Animation_Frames", "40000", "100");
        add("too many frames", "Animation_Frames", "1001", "100");
        add("too many decimals", "dekadika_N", "14", "3");
        add("grid with letters", "kannab", "0.5m", "1");
        add("grid with blanks", "kannab", " 2 ", "2");
        add("grid zero", "kannab", "0", "1");
        add("flag word", "nai_miki", "TRUE", "True");
        add("flag word false", "nai_aksones", "false", "False");
        add("flag number", "nai_miki", "-1", "True");
        add("flag nonsense", "nai_miki", "yes", "False");
    }
    void storedTexts() {
        const auto [key, stored] = fetch<QString, QString>("key", "stored");
        MemorySettingsStore store;
        store.setValue(kDisplaySection, key.toStdString(), stored.toStdString());
        ViewSettings s;
        loadViewSettings(store, s);
        MemorySettingsStore out;
        saveViewSettingsAsDefault(out, s, typedNumbersOf(s));
        QTEST(QString::fromStdString(*out.value(kDisplaySection, key.toStdString())), "expected");
    }

    // Keys are found whatever their spelling; keys not stored get their defaults, whatever
    // was current.
    void keysIgnoreCase() {
        MemorySettingsStore store;
        store.setValue("RITHMISEIS", "Ena_cm_posa_Stress", "250");
        store.setValue(kDisplaySection, "ena_cm_posa_strain", "0.002");
        ViewSettings s;
        s.nai_grid = false;
        loadViewSettings(store, s);
        QVERIFY(s.Ena_cm_posa_STRESS == 250.0f && s.Ena_cm_posa_STRAIN == 0.002f && s.nai_grid);
        store.setValue(kDisplaySection, "ENA_CM_POSA_STRESS", "300");
        QCOMPARE(store.size(), std::size_t(2));  // one value per key, whatever its spelling
    }

    // Typed numbers are stored as typed and read back as the settings hold them.
    void saveAsDefaultRoundTrip() {
        ViewSettings s;
        s.nai_grid = false;
        TypedSettingNumbers typed = typedNumbersOf(s);
        typed.animationFrames = 50.5;
        typed.strain = 2e-5;
        MemorySettingsStore store;
        saveViewSettingsAsDefault(store, s, typed);
        QCOMPARE(*store.value(kDisplaySection, "Animation_Frames"), std::string("50.5"));
        QCOMPARE(*store.value(kDisplaySection, "Ena_cm_posa_STRAIN"), std::string("2E-05"));
        ViewSettings back;
        loadViewSettings(store, back);
        s.Animation_Frames = 50;
        s.Ena_cm_posa_STRAIN = 2e-5f;
        QVERIFY(back == s);
    }

    void windowPlacement() {
        MemorySettingsStore store;
        const WindowPlacement fresh = loadWindowPlacement(store, 20000, 12000);  // 10000 x 8000
        QCOMPARE(fresh.state, WindowShowState::Maximised);
        QVERIFY(fresh.left == 5000 && fresh.top == 2000);  // centred
        // A minimised window comes back as a normal one.
        saveWindowPlacement(store, {WindowShowState::Minimised, 9000, 7000, 120, 240});
        const WindowPlacement back = loadWindowPlacement(store, 20000, 12000);
        QCOMPARE(back.state, WindowShowState::Normal);
        QVERIFY(back.width == 9000 && back.height == 7000 && back.left == 120 && back.top == 240);
        // A first start is as wide as the toolbar needs, up to the screen, still centred; a
        // stored width stays as it was.
        MemorySettingsStore first;
        const WindowPlacement wide = loadWindowPlacement(first, 20000, 12000, 11000);
        QVERIFY(wide.width == 11000 && wide.left == 4500);
        QCOMPARE(loadWindowPlacement(first, 10500, 12000, 11000).width, 10500.0);
        QCOMPARE(loadWindowPlacement(store, 20000, 12000, 11000).width, 9000.0);
        store.setValue(kStartupSection, "frmM_L", "left");
        QCOMPARE(loadWindowPlacement(store, 20000, 12000).left, 0.0);  // not a number reads as 0
    }
};

QTEST_APPLESS_MAIN(TestSettings)
#include "test_settings.moc"
