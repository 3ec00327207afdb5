#include <QtTest>

#include "settings/settings_store.h"
#include "settings/settings_values.h"

using namespace vortak;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void emptyStoreGivesDefaults();
    void storedTexts_data();
    void storedTexts();
    void keysIgnoreCase();
    void saveAsDefaultRoundTrip();
    void windowPlacement();
};

void TestSettings::emptyStoreGivesDefaults() {
    MemorySettingsStore store;
    ViewSettings s;
    s.nai_grid = false;  // whatever was current is replaced
    loadViewSettings(store, s);
    QVERIFY(s == ViewSettings{});
    QVERIFY(s.nai_aksones && s.nai_grid && s.nai_arithmisi_kombon && s.nai_graf_stir &&
            s.nai_springs && s.nai_arithmisi_stoixeion && s.nai_fortiseis_si &&
            s.nai_times_fortiseon_si && s.Show_FORCE);
    QVERIFY(!s.nai_sint_kombon && !s.nai_omades && !s.nai_miki && !s.Show_STRESS);
    QCOMPARE(s.kannab, 1.0f);
    QCOMPARE(s.xroma_background, Colour(0x8000000Eu));
    QCOMPARE(colourText(s.xroma_background), std::string("-2147483634"));
    QCOMPARE(s.xroma_stoixeion, Colour(0));
    QCOMPARE(s.xroma_grid, Colour(0xE0E0E0));
    QCOMPARE(s.xroma_N, Colour(2852397));
    QCOMPARE(int(s.Animation_Frames), 100);
}

// key, stored text, and the expected value read back as text (colourText for colours,
// general form for numbers, "1"/"0" for flags).
void TestSettings::storedTexts_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("hex colour") << "xroma_kombon"
                                << "&HFF"
                                << "255";
    QTest::newRow("hex lower case") << "xroma_grid"
                                    << "&hE0E0E0"
                                    << "14737632";
    QTest::newRow("colour with letters") << "xroma_N"
                                         << "12abc"
                                         << "12";
    QTest::newRow("colour of letters") << "xroma_N"
                                       << "abc"
                                       << "0";
    QTest::newRow("system colour") << "xroma_background"
                                   << "-2147483643"
                                   << "-2147483643";
    QTest::newRow("colour out of range") << "xroma_N"
                                         << "1e12"
                                         << "2852397";
    QTest::newRow("number hex") << "Ena_cm_posa_FORCE"
                                << "&HFF"
                                << "255";
    QTest::newRow("number with letters") << "Ena_cm_posa_FORCE"
                                         << "12abc"
                                         << "12";
    QTest::newRow("number of letters is 0: refused") << "Ena_cm_posa_FORCE"
                                                     << "abc"
                                                     << "100";
    QTest::newRow("integer rounds half to even") << "Animation_Frames"
                                                 << "50.5"
                                                 << "50";
    QTest::newRow("integer out of range") << "Animation_Frames"
                                          << "40000"
                                          << "100";
    QTest::newRow("too many frames") << "Animation_Frames"
                                     << "1001"
                                     << "100";
    QTest::newRow("decimals") << "dekadika_N"
                              << "13"
                              << "13";
    QTest::newRow("too many decimals") << "dekadika_N"
                                       << "14"
                                       << "3";
    QTest::newRow("grid complete number") << "kannab"
                                          << "0.5"
                                          << "0.5";
    QTest::newRow("grid with letters") << "kannab"
                                       << "0.5m"
                                       << "1";
    QTest::newRow("grid with blanks") << "kannab"
                                      << " 2 "
                                      << "2";
    QTest::newRow("grid zero") << "kannab"
                               << "0"
                               << "1";
    QTest::newRow("flag word") << "nai_miki"
                               << "TRUE"
                               << "1";
    QTest::newRow("flag lower") << "nai_aksones"
                                << "false"
                                << "0";
    QTest::newRow("flag number") << "nai_miki"
                                 << "-1"
                                 << "1";
    QTest::newRow("flag zero") << "nai_aksones"
                               << "0"
                               << "0";
    QTest::newRow("flag nonsense") << "nai_miki"
                                   << "yes"
                                   << "0";
}

void TestSettings::storedTexts() {
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    MemorySettingsStore store;
    store.setValue(kDisplaySection, key.toStdString(), stored.toStdString());
    ViewSettings s;
    loadViewSettings(store, s);
    // Save everything and read the one key back as text.
    MemorySettingsStore out;
    saveViewSettingsAsDefault(out, s, typedNumbersOf(s));
    QString actual = QString::fromStdString(*out.value(kDisplaySection, key.toStdString()));
    if (actual == "True") actual = "1";
    if (actual == "False") actual = "0";
    QCOMPARE(actual, expected);
}

void TestSettings::keysIgnoreCase() {
    MemorySettingsStore store;
    store.setValue("RITHMISEIS", "Ena_cm_posa_Stress", "250");
    store.setValue(kDisplaySection, "ena_cm_posa_strain", "0.002");
    QCOMPARE(*store.value(kDisplaySection, "Ena_cm_posa_STRESS"), std::string("250"));
    ViewSettings s;
    loadViewSettings(store, s);
    QCOMPARE(s.Ena_cm_posa_STRESS, 250.0f);
    QCOMPARE(s.Ena_cm_posa_STRAIN, 0.002f);
    store.setValue(kDisplaySection, "ENA_CM_POSA_STRESS", "300");
    QCOMPARE(store.size(), std::size_t(2));  // one value per key, whatever its spelling
}

void TestSettings::saveAsDefaultRoundTrip() {
    ViewSettings s;
    s.nai_grid = false;
    s.nai_omades = true;
    s.N_sin_Ina = false;
    s.Show_FORCE = false;
    s.Show_STRAIN = true;
    s.xroma_background = packColour(10, 20, 30);
    s.xroma_grid = kSystemColourFlag | 5u;
    TypedSettingNumbers typed = typedNumbersOf(s);
    typed.animationFrames = 50.5;  // stored as typed, read back rounded
    typed.grid = 0.25;
    typed.strain = 2e-5;
    MemorySettingsStore store;
    saveViewSettingsAsDefault(store, s, typed);
    QCOMPARE(*store.value(kDisplaySection, "Animation_Frames"), std::string("50.5"));
    QCOMPARE(*store.value(kDisplaySection, "Ena_cm_posa_STRAIN"), std::string("2E-05"));
    QCOMPARE(*store.value(kDisplaySection, "nai_grid"), std::string("False"));
    QCOMPARE(*store.value(kDisplaySection, "xroma_grid"), std::string("-2147483643"));
    ViewSettings back;
    loadViewSettings(store, back);
    ViewSettings expected = s;
    expected.Animation_Frames = 50;
    expected.kannab = 0.25f;
    expected.Ena_cm_posa_STRAIN = 2e-5f;
    QVERIFY(back == expected);
}

void TestSettings::windowPlacement() {
    MemorySettingsStore store;
    const WindowPlacement fresh = loadWindowPlacement(store, 20000, 12000);
    QCOMPARE(fresh.state, WindowShowState::Maximised);
    QCOMPARE(fresh.width, 10000.0);
    QCOMPARE(fresh.height, 8000.0);
    QCOMPARE(fresh.left, 5000.0);  // centred
    QCOMPARE(fresh.top, 2000.0);

    WindowPlacement p{WindowShowState::Minimised, 9000, 7000, 120, 240};
    saveWindowPlacement(store, p);
    QCOMPARE(*store.value(kStartupSection, "WindowState"), std::string("0"));
    const WindowPlacement back = loadWindowPlacement(store, 20000, 12000);
    QCOMPARE(back.state, WindowShowState::Normal);
    QCOMPARE(back.width, 9000.0);
    QCOMPARE(back.left, 120.0);
    QCOMPARE(back.top, 240.0);

    store.setValue(kStartupSection, "frmM_L", "left");
    QCOMPARE(loadWindowPlacement(store, 20000, 12000).left, 0.0);  // not a number reads as 0
}

QTEST_APPLESS_MAIN(TestSettings)
#include "test_settings.moc"
