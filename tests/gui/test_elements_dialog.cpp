#include "dialog_test_support.h"
#include "editing/elements_dialog.h"

using namespace vortak::test;

namespace {

// Four nodes, two groups and the elements 1-2, 2-3 and 3-4.
void buildModel(Model& m) {
    for (int k = 0; k < 4; ++k) addNode(m, float(k), 0);
    for (double E : {2e8, 7e7}) addGroup(m, E, 0.01);
    for (auto [i, j, g] : {std::tuple{1, 2, 1}, {2, 3, 2}, {3, 4, 1}}) addElement(m, i, j, g);
}

// "number state i-j gGroup" as the dialog shows it.
QString shown(const ElementsDialog& d) {
    return d.numberBox()->currentText() + " " + d.stateLabel()->text() + " " +
           d.nodeIBox()->currentText() + "-" + d.nodeJBox()->currentText() + " g" +
           d.groupBox()->currentText();
}

QString elements(const Model& m) {
    QStringList list;
    for (int e = 1; e <= m.elementCount; ++e)
        list << QString("%1-%2 g%3").arg(m.nodeI(e)).arg(m.nodeJ(e)).arg(m.groupOf(e));
    return list.join(", ");
}

}  // namespace

class TestElementsDialog : public QObject {
    Q_OBJECT
private slots:
    void refusals_data() {
        refusalColumns();  // typed: number, node i, node j, group; focus 4: Apply, 5: Delete
        const QString max = "The maximum number of elements that can be defined is 200.";
        const QString none = "Element does not exist to be deleted #4.";
        const QString num = unacceptable("element number"), grp = unacceptable("E,A Group number");
        const QString nodeI = unacceptable("node i number"), nodeJ = unacceptable("node j number");
        const QString same = "Given nodes i and j coincide.";
        // Several rows hold more than one fault: the first in the checking order is reported.
        // clang-format off
        QTest::newRow("201")          << false << QStringList{"201", "", "", "0"}  << 4 << max;
        QTest::newRow("number 2.5")   << false << QStringList{"2.5", "1", "2", "1"} << 0 << num;
        QTest::newRow("group 3 of 2") << false << QStringList{"4", "5", "2", "3"}   << 3 << grp;
        QTest::newRow("i 5 of 4")     << false << QStringList{"4", "5", "7", "1"}   << 1 << nodeI;
        QTest::newRow("j 7 of 4")     << false << QStringList{"4", "1", "7", "1"}   << 2 << nodeJ;
        QTest::newRow("i equal to j") << false << QStringList{"4", "3", "3", "2"}   << 1 << same;
        QTest::newRow("delete new")   << true  << QStringList{"4", "", "", "1"}    << 5 << none;
        QTest::newRow("delete 9")     << true  << QStringList{"9", "1", "2", "1"}   << 0 << num;
        // clang-format on
    }

    void refusals() {
        Harness h;
        buildModel(h.app.model);
        ElementsDialog d(h.app);
        QVERIFY(showAndWait(d));
        checkRefusal(h, {d.numberBox(), d.nodeIBox(), d.nodeJBox(), d.groupBox()}, d.applyButton(),
                     d.deleteButton());
        QCOMPARE(elements(h.app.model), QString("1-2 g1, 2-3 g2, 3-4 g1"));
        QVERIFY(!h.app.model.changed);
    }

    void createChangeDelete() {
        Harness h;
        Model& m = h.app.model;
        buildModel(m);
        ElementsDialog d(h.app);
        QVERIFY(showAndWait(d));
        // A choice or Enter hands the focus on: group -> node i -> node j -> Apply.
        pick(d.groupBox(), "2");
        QVERIFY(hasFocus(d.nodeIBox()));
        pick(d.nodeIBox(), "3");
        QVERIFY(enterThrough({d.nodeJBox(), d.applyButton()}, {"2"}));
        QCOMPARE(m.elementCount, 3);  // Enter moved the focus only
        QTest::keyClick(d.applyButton(), Qt::Key_Return);
        // The same pair as element 2, the other way round, is accepted.
        checkLogged(h, "New element #4, Node i: #3, Node j: #2, E,A Group: #2", LogColour::Navy);
        QCOMPARE(shown(d), QString("5 (New) - g1"));
        QVERIFY(hasFocus(d.nodeIBox()));

        // Change element 2: the dialog moves on to element 3.
        pick(d.numberBox(), "2");
        QCOMPARE(shown(d), QString("2 (Existing) 2-3 g2"));
        QVERIFY(hasFocus(d.applyButton()));
        pick(d.nodeJBox(), "4");
        pick(d.groupBox(), "1");
        d.applyButton()->click();
        checkLogged(h, "* Element #2, Node i: #2, Node j: #4, E,A Group: #1", LogColour::Navy);
        QCOMPARE(shown(d), QString("3 (Existing) 3-4 g1"));

        // Delete element 1: the others move down and number 1 shows the former element 2.
        m.changed = false;
        h.app.currentView = ViewMode::NDiagram;
        pick(d.numberBox(), "1");
        d.deleteButton()->click();
        checkLogged(h, "Element deleted: #1. Elements renumbered: #2 to #4.", LogColour::Green);
        QCOMPARE(elements(m), QString("2-4 g1, 3-4 g1, 3-2 g2"));
        QCOMPARE(shown(d), QString("1 (Existing) 2-4 g1"));
        QVERIFY(m.changed && h.app.currentView == ViewMode::Model &&
                h.prompter.questions().empty());
        ElementsDialog onElement(h.app, nullptr, 2);  // opened on an element
        QCOMPARE(shown(onElement), QString("2 (Existing) 3-4 g1"));
    }
};

QTEST_MAIN(TestElementsDialog)
#include "test_elements_dialog.moc"
