#include "dialog_test_support.h"
#include "settings/options_dialog.h"
#include "settings/settings_store.h"

using namespace vortak::test;

using Field = OptionsEditor::Field;
Q_DECLARE_METATYPE(OptionsEditor::Field)

class TestOptionsDialog : public QObject {
    Q_OBJECT
private slots:
    void refusals_data() {
        // message: empty: accepted
        columns<Field, QString, QString, int>("field", "text", "message", "tab");
        const QString force = unacceptable("the equivalence cm - Force units");
        const QString frames = unacceptable("the Animation Frames");
        const QString most = "The maximum number for decimal places is 13 (N Diagram).";
        // clang-format off
        QTest::newRow("force 1e39")  << Field::Force     << "1e39" << force                << 2;
        QTest::newRow("1001 frames") << Field::Frames    << "1001" << frames               << 1;
        QTest::newRow("0.3 frames")  << Field::Frames    << "0.3"  << frames               << 1;
        QTest::newRow("1000 frames") << Field::Frames    << "1000" << ""                   << 0;
        QTest::newRow("decimals 14") << Field::DecimalsN << "14"   << most                 << 2;
        QTest::newRow("grid 0")      << Field::Grid      << "0"    << unacceptable("grid") << 0;
        QTest::newRow("grid 1e-40")  << Field::Grid      << "1e-40" << unacceptable("grid") << 0;
        QTest::newRow("hex grid")    << Field::Grid      << "&H2"  << ""                   << 0;
        // clang-format on
    }

    void refusals() {
        const auto [field, text, message] =
            fetch<Field, QString, QString>("field", "text", "message");
        Harness h;
        MemorySettingsStore store;
        OptionsDialog d(h.app, store);
        QVERIFY(showAndWait(d));
        d.box(field)->setText(text);
        d.button("OK")->click();
        QCOMPARE(d.isVisible(), !message.isEmpty());  // closed unless refused
        if (message.isEmpty()) return;
        checkRefused(h, message);
        QTEST(d.tabs()->currentIndex(), "tab");
        QVERIFY(hasFocusSelected(d.box(field)));
        QVERIFY(h.app.settings == ViewSettings{} && h.shell.redraws == 0);
    }

    void applyChangesTheCurrentOptions() {
        Harness h;
        MemorySettingsStore store;
        h.app.currentView = ViewMode::Animation;
        int asked = 0;  // the colour picker chooses a colour the first time, then is cancelled
        OptionsDialog d(h.app, store, nullptr, [&asked](Colour) -> std::optional<Colour> {
            return ++asked == 1 ? std::optional<Colour>(packColour(9, 8, 7)) : std::nullopt;
        });
        d.check("Check2")->click();  // grid off: its spacing cannot be edited
        QVERIFY(!d.box(Field::Grid)->isEnabled());
        d.check("Check12")->click();  // lengths on
        d.box(Field::Frames)->setText("50.5");
        d.clickSwatch(&ViewSettings::xroma_N);
        d.clickSwatch(&ViewSettings::xroma_grid);  // cancelled: unchanged
        d.button("Apply")->click();
        const ViewSettings& v = h.app.settings;
        QVERIFY(!v.nai_grid && v.nai_miki && !h.app.window.gridPanelEnabled);
        QCOMPARE(int(v.Animation_Frames), 50);  // 50.5 rounds to even
        QCOMPARE(v.xroma_N, packColour(9, 8, 7));
        QCOMPARE(v.xroma_grid, ViewSettings{}.xroma_grid);
        QCOMPARE(h.app.currentView, ViewMode::Deformed);
        QVERIFY(h.shell.redraws == 1 && store.size() == 0);  // redrawn; only Default stores
    }

    void defaultThenRestore() {
        Harness h;
        MemorySettingsStore store;
        h.app.settings.Xroma_Thlipsis = packColour(10, 20, 30);
        h.app.settings.xroma_kombon = packColour(1, 2, 3);
        const ViewSettings before = h.app.settings;
        OptionsDialog d(h.app, store);
        d.box(Field::Grid)->setText("0");
        d.check("Check2")->click();  // a grid spacing is checked even while the grid is off
        d.button("Default")->click();
        checkRefused(h, unacceptable("grid"));
        QCOMPARE(store.size(), std::size_t(0));
        d.box(Field::Grid)->setText("0.5");
        d.box(Field::Frames)->setText("50.5");
        d.button("Default")->click();
        QCOMPARE(*store.value(kDisplaySection, "Animation_Frames"), std::string("50.5"));
        // Restore shows the initial options, but for the colour-diagram colours.
        d.button("Restore")->click();
        QVERIFY(d.check("Check2")->isChecked());
        QCOMPARE(d.box(Field::Grid)->text(), QString("1"));
        // Each value in its field's own precision, and stored as shown.
        QCOMPARE(d.box(Field::Strain)->text(), QString("0.0001"));
        d.button("Default")->click();
        QCOMPARE(*store.value(kDisplaySection, "Ena_cm_posa_STRAIN"), std::string("0.0001"));
        QCOMPARE(d.editor().values.xroma_kombon, ViewSettings{}.xroma_kombon);
        QCOMPARE(d.editor().values.Xroma_Thlipsis, packColour(10, 20, 30));
        d.button("Cancel")->click();
        QVERIFY(h.app.settings == before);  // neither Default nor Restore changed them
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "test_options_dialog.moc"
