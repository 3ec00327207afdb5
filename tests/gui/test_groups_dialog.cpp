#include "dialog_test_support.h"
#include "editing/groups_dialog.h"

using namespace vortak::test;

namespace {

// "number (state) E A" as the dialog shows them.
QString shown(const GroupsDialog& d) {
    return QString("%1 %2 %3 %4")
        .arg(d.numberBox()->currentText(), d.stateLabel()->text(), d.eBox()->text(),
             d.aBox()->text());
}

// "E A" of every group.
QString groups(const Model& m) {
    QStringList list;
    for (int g = 1; g <= m.groupCount; ++g)
        list << QString("%1 %2").arg(m.groups.E[g]).arg(m.groups.A[g]);
    return list.join(", ");
}

}  // namespace

class TestGroupsDialog : public QObject {
    Q_OBJECT
private slots:
    void refusals_data() {
        refusalColumns();  // typed: number, E, A; focus 3: Apply, 4: the button pressed
        const QString max = "The maximum number of Groups that can be defined is 50.";
        const QString num = unacceptable("Group number"), e = unacceptable("Youngs Modulus E");
        const QString a = unacceptable("Section area A");
        const QString none = "There is no Group #3 to delete.";
        const QString used = "Group #2 cannot be deleted since there are elements belonging to it.";
        // Leaving a typed existing number chooses it, and the focus goes on to Apply.
        // clang-format off
        QTest::newRow("51")          << false << QStringList{"51", "1", "1"}    << 4 << max;
        QTest::newRow("1.5")         << false << QStringList{"1.5", "1", "1"}   << 0 << num;
        QTest::newRow("E 1e999")     << false << QStringList{"3", "1e999", "1"} << 1 << e;
        QTest::newRow("A letters")   << false << QStringList{"3", "2e8", "abc"} << 2 << a;
        QTest::newRow("A 5E-324")    << false << QStringList{"3", "2e8", "5E-324"} << 2 << a;
        QTest::newRow("4 of 2")      << false << QStringList{"4", "3", "3"}     << 4 << "";
        QTest::newRow("delete new")  << true  << QStringList{"3"}               << 4 << none;
        QTest::newRow("delete used") << true  << QStringList{"2"}               << 3 << used;
        QTest::newRow("delete 7")    << true  << QStringList{"7"}               << 0 << num;
        // clang-format on
    }

    void refusals() {
        Harness h;
        Model& m = h.app.model;
        for (float x : {0, 1}) addNode(m, x, 0);
        for (double v : {1, 2}) addGroup(m, v, v);
        addElement(m, 1, 2, 2);
        GroupsDialog d(h.app);
        QVERIFY(showAndWait(d));
        checkRefusal(h, {d.numberBox(), d.eBox(), d.aBox()}, d.applyButton(), d.deleteButton());
        QCOMPARE(groups(m), QString("1 1, 2 2"));
    }

    void createChangeDelete() {
        Harness h;
        GroupsDialog d(h.app);
        QVERIFY(showAndWait(d));
        // By keyboard: Tab goes from the number through New to E, Enter on to A, Apply, apply.
        d.numberBox()->setFocus();
        for (int k = 0; k < 2; ++k) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(hasFocus(d.eBox()));
        QVERIFY(enterThrough({d.eBox(), d.aBox(), d.applyButton()}, {"1.1e7", "0.0025"}));
        QCOMPARE(h.app.model.groupCount, 0);  // Enter moved the focus only
        QTest::keyClick(d.applyButton(), Qt::Key_Return);
        checkLogged(h, "New group #1, E= 11000000, A= 0.0025", LogColour::Navy);
        QVERIFY(hasFocus(d.eBox()));  // ready for the next group
        fill({d.eBox(), d.aBox()}, {"7e7", "1"});
        d.applyButton()->click();
        QCOMPARE(shown(d), QString("3 (New)  "));
        QVERIFY(h.app.model.changed && h.shell.redraws == 2);

        // Change group 1: the dialog moves on to group 2 and shows it.
        pick(d.numberBox(), "1");
        QCOMPARE(shown(d), QString("1 (Existing) 11000000 0.0025"));
        type(d.aBox(), "0.003");
        d.applyButton()->click();
        checkLogged(h, "* Group #1, E= 11000000, A= 0.003", LogColour::Navy);
        QCOMPARE(shown(d), QString("2 (Existing) 70000000 1"));

        // Delete group 1 (no element uses it): the list now shows the former group 2.
        pick(d.numberBox(), "1");
        d.deleteButton()->click();
        checkLogged(h, "Group deleted: #1. Groups renumbered: #2.", LogColour::Green);
        QCOMPARE(groups(h.app.model), QString("7e+07 1"));
        QCOMPARE(shown(d), QString("1 (Existing) 70000000 1"));
    }
};

QTEST_MAIN(TestGroupsDialog)
#include "test_groups_dialog.moc"
