#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include "dialog_test_support.h"
#include "settings/options_dialog.h"
#include "settings/settings_store.h"

using namespace vortak;
using namespace vortak::test;

using Field = OptionsEditor::Field;
Q_DECLARE_METATYPE(OptionsEditor::Field)

class TestOptionsDialog : public QObject {
    Q_OBJECT
private slots:
    void refusals_data();
    void refusals();
    void applyChangesTheCurrentOptions();
    void defaultStoresOnlyValidValues();
    void restoreThenCancelChangesNothing();
};

void TestOptionsDialog::refusals_data() {
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");  // empty: accepted
    QTest::addColumn<int>("tab");
    const auto cm = [](const char* what) {
        return unacceptable(QString("the equivalence cm - %1 units").arg(what));
    };
    const QString frames = unacceptable("the Animation Frames");
    const QString placesN = unacceptable("the decimal places (N Diagram)");
    const QString placesStrain = unacceptable("the decimal places (Strain)");
    const QString most = "The maximum number for decimal places is 13 (N Diagram).";
    const QString grid = unacceptable("grid");
    // clang-format off
    QTest::newRow("force 1e39")      << Field::Force          << "1e39" << cm("Force")   << 2;
    QTest::newRow("stress 0")        << Field::Stress         << "0"    << cm("Stress")  << 2;
    QTest::newRow("strain -1")       << Field::Strain         << "-1"   << cm("Strain")  << 2;
    QTest::newRow("deformation 0")   << Field::Deformation    << "0"    << cm("D")       << 1;
    QTest::newRow("1001 frames")     << Field::Frames         << "1001" << frames        << 1;
    QTest::newRow("0.3 frames")      << Field::Frames         << "0.3"  << frames        << 1;
    QTest::newRow("1000 frames")     << Field::Frames         << "1000" << ""            << 0;
    QTest::newRow("decimals 2.5")    << Field::DecimalsN      << "2.5"  << placesN       << 2;
    QTest::newRow("decimals 14")     << Field::DecimalsN      << "14"   << most          << 2;
    QTest::newRow("strain decimals") << Field::DecimalsStrain << "-1"   << placesStrain  << 2;
    QTest::newRow("grid 0")          << Field::Grid           << "0"    << grid          << 0;
    QTest::newRow("grid 0.5")        << Field::Grid           << "0.5"  << ""            << 0;
    QTest::newRow("hex grid")        << Field::Grid           << "&H2"  << ""            << 0;
    // clang-format on
}

void TestOptionsDialog::refusals() {
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(int, tab);
    Harness h;
    MemorySettingsStore store;
    const ViewSettings before = h.app.settings;
    OptionsDialog dialog(h.app, store);
    QVERIFY(showAndWait(dialog));
    dialog.box(field)->setText(text);
    dialog.button("Apply")->click();
    if (message.isEmpty()) {
        QVERIFY(h.prompter.questions().empty());
        QCOMPARE(h.shell.redraws, 1);
        return;
    }
    checkRefused(h, message);
    QCOMPARE(dialog.tabs()->currentIndex(), tab);
    QVERIFY(hasFocusSelected(dialog.box(field)));
    QVERIFY(h.app.settings == before);
    // OK keeps the dialog open on a refusal.
    dialog.button("OK")->click();
    QVERIFY(dialog.isVisible());
}

void TestOptionsDialog::applyChangesTheCurrentOptions() {
    Harness h;
    MemorySettingsStore store;
    h.app.currentView = ViewMode::Animation;
    std::vector<Colour> asked;
    OptionsDialog dialog(h.app, store, nullptr, [&asked](Colour c) -> std::optional<Colour> {
        asked.push_back(c);
        return asked.size() == 1 ? std::optional<Colour>(packColour(9, 8, 7)) : std::nullopt;
    });
    dialog.check("Check2")->click();  // grid off: its spacing cannot be edited
    QVERIFY(!dialog.box(Field::Grid)->isEnabled());
    dialog.check("Check12")->click();                     // lengths on
    dialog.findChild<QToolButton*>("Command2")->click();  // the other drawing side
    dialog.box(Field::Frames)->setText("50.5");
    dialog.box(Field::Force)->setText("250");
    dialog.clickSwatch(&ViewSettings::xroma_N);
    dialog.clickSwatch(&ViewSettings::xroma_grid);  // cancelled: unchanged
    dialog.button("OK")->click();
    const ViewSettings& v = h.app.settings;
    QVERIFY(!v.nai_grid && v.nai_miki && !v.N_sin_Ina);
    QCOMPARE(int(v.Animation_Frames), 50);  // 50.5 rounds to even
    QCOMPARE(v.Ena_cm_posa_FORCE, 250.0f);
    QCOMPARE(asked.front(), ViewSettings{}.xroma_N);
    QCOMPARE(v.xroma_N, packColour(9, 8, 7));
    QCOMPARE(v.xroma_grid, ViewSettings{}.xroma_grid);
    QVERIFY(!h.app.window.gridPanelEnabled);
    QCOMPARE(h.app.currentView, ViewMode::Deformed);
    QCOMPARE(store.size(), std::size_t(0));  // Apply stores nothing
}

void TestOptionsDialog::defaultStoresOnlyValidValues() {
    Harness h;
    MemorySettingsStore store;
    OptionsDialog dialog(h.app, store);
    // A grid spacing is checked even while the grid is off.
    dialog.box(Field::Grid)->setText("0");
    dialog.check("Check2")->click();
    dialog.button("Default")->click();
    QCOMPARE(store.size(), std::size_t(0));
    checkRefused(h, unacceptable("grid"));
    dialog.box(Field::Grid)->setText("0.5");
    dialog.box(Field::Frames)->setText("50.5");
    dialog.check("Check1")->click();
    dialog.button("Default")->click();
    QCOMPARE(*store.value(kDisplaySection, "kannab"), std::string("0.5"));
    QCOMPARE(*store.value(kDisplaySection, "Animation_Frames"), std::string("50.5"));
    QCOMPARE(*store.value(kDisplaySection, "nai_aksones"), std::string("False"));
    QVERIFY(h.app.settings.nai_aksones);  // the current options are not changed
    QCOMPARE(h.shell.redraws, 0);
}

void TestOptionsDialog::restoreThenCancelChangesNothing() {
    Harness h;
    MemorySettingsStore store;
    h.app.settings.nai_grid = false;
    h.app.settings.kannab = 0.25f;
    h.app.settings.Xroma_Thlipsis = packColour(10, 20, 30);
    h.app.settings.xroma_kombon = packColour(1, 2, 3);
    const ViewSettings before = h.app.settings;
    OptionsDialog dialog(h.app, store);
    dialog.button("Restore")->click();
    QVERIFY(dialog.check("Check2")->isChecked());
    QCOMPARE(dialog.box(Field::Grid)->text(), QString("1"));
    QCOMPARE(dialog.editor().values.xroma_kombon, ViewSettings{}.xroma_kombon);
    QCOMPARE(dialog.editor().values.Xroma_Thlipsis, packColour(10, 20, 30));  // kept
    dialog.button("Cancel")->click();
    QVERIFY(h.app.settings == before);
}

QTEST_MAIN(TestOptionsDialog)
#include "test_options_dialog.moc"
