#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_test_support.h"
#include "editing/elements_dialog.h"

using namespace vortak;
using namespace vortak::test;

namespace {

// Four nodes, two groups and, unless `bare`, the elements 1-2, 2-3 and 3-4.
void buildModel(Model& m, bool bare = false) {
    for (int k = 0; k < 4; ++k) addNode(m, float(k), 0);
    addGroup(m, 2e8, 0.01);
    addGroup(m, 7e7, 0.02);
    if (bare) return;
    addElement(m, 1, 2, 1);
    addElement(m, 2, 3, 2);
    addElement(m, 3, 4, 1);
}

// "number state i-j gGroup" as the dialog shows it.
QString shown(const ElementsDialog& d) {
    return d.numberBox()->currentText() + " " + d.stateLabel()->text() + " " +
           d.nodeIBox()->currentText() + "-" + d.nodeJBox()->currentText() + " g" +
           d.groupBox()->currentText();
}

QString elements(const Model& m) {
    QStringList list;
    for (int e = 1; e <= m.elementCount; ++e) {
        list << QString("%1-%2 g%3").arg(m.nodeI(e)).arg(m.nodeJ(e)).arg(m.groupOf(e));
    }
    return list.join(", ");
}

// Where a refusal leaves the focus.
enum Focus { Stays, Number, Group, NodeI, NodeJ };

}  // namespace

Q_DECLARE_METATYPE(Focus)

class TestElementsDialog : public QObject {
    Q_OBJECT
private slots:
    void refusals_data();
    void refusals();
    void createChangeDelete();
};

void TestElementsDialog::refusals_data() {
    QTest::addColumn<bool>("remove");  // Delete rather than Apply
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("i");
    QTest::addColumn<QString>("j");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Focus>("focus");
    const QString max = "The maximum number of elements that can be defined is 200.";
    const QString number = unacceptable("element number");
    const QString group = unacceptable("E,A Group number");
    const QString nodeI = unacceptable("node i number");
    const QString nodeJ = unacceptable("node j number");
    const QString same = "Given nodes i and j coincide.";
    const QString none = "Element does not exist to be deleted #4.";
    // Several rows hold more than one fault: the first in the checking order is reported.
    // clang-format off
    QTest::newRow("201")          << false << "201" << ""  << ""  << "0" << max    << Stays;
    QTest::newRow("number 2.5")   << false << "2.5" << "1" << "2" << "1" << number << Number;
    QTest::newRow("group 3 of 2") << false << "4"   << "1" << "2" << "3" << group  << Group;
    QTest::newRow("i 5 of 4")     << false << "4"   << "5" << "2" << "1" << nodeI  << NodeI;
    QTest::newRow("j 7 of 4")     << false << "4"   << "1" << "7" << "1" << nodeJ  << NodeJ;
    QTest::newRow("i equal to j") << false << "4"   << "3" << "3" << "2" << same   << NodeI;
    QTest::newRow("delete new")   << true  << "4"   << ""  << ""  << "1" << none   << Stays;
    QTest::newRow("delete 9")     << true  << "9"   << "1" << "2" << "1" << number << Number;
    // clang-format on
}

void TestElementsDialog::refusals() {
    QFETCH(bool, remove);
    QFETCH(QString, number);
    QFETCH(QString, i);
    QFETCH(QString, j);
    QFETCH(QString, group);
    QFETCH(QString, message);
    QFETCH(Focus, focus);
    Harness h;
    buildModel(h.app.model);
    ElementsDialog dialog(h.app);
    QVERIFY(showAndWait(dialog));
    typeNumber(dialog.numberBox(), number);
    typeNumber(dialog.nodeIBox(), i);
    typeNumber(dialog.nodeJBox(), j);
    typeNumber(dialog.groupBox(), group);
    QPushButton* button = remove ? dialog.deleteButton() : dialog.applyButton();
    button->setFocus();
    button->click();
    QCOMPARE(elements(h.app.model), QString("1-2 g1, 2-3 g2, 3-4 g1"));
    QVERIFY(!h.app.model.changed);
    checkRefused(h, message);
    QWidget* const at[] = {button, dialog.numberBox(), dialog.groupBox(), dialog.nodeIBox(),
                           dialog.nodeJBox()};
    QVERIFY(hasFocus(at[focus]));
}

void TestElementsDialog::createChangeDelete() {
    Harness h;
    Model& m = h.app.model;
    buildModel(m, true);
    ElementsDialog dialog(h.app);
    QVERIFY(showAndWait(dialog));
    QCOMPARE(shown(dialog), QString("1 (New) - g1"));

    // A choice or Enter hands the focus on: group -> node i -> node j -> Apply.
    pick(dialog.groupBox(), "2");
    QVERIFY(hasFocus(dialog.nodeIBox()));
    pick(dialog.nodeIBox(), "1");
    QVERIFY(hasFocus(dialog.nodeJBox()));
    typeEnter(dialog.nodeJBox(), "4");
    QVERIFY(hasFocus(dialog.applyButton()));
    QCOMPARE(m.elementCount, 0);  // Enter moved the focus only
    QTest::keyClick(dialog.applyButton(), Qt::Key_Return);
    checkLogged(h, "New element #1, Node i: #1, Node j: #4, E,A Group: #2", LogColour::Navy);
    QCOMPARE(shown(dialog), QString("2 (New) - g1"));
    QVERIFY(hasFocus(dialog.nodeIBox()));

    // The same pair in either order is accepted.
    for (const QString pair : {"2 3", "3 2"}) {
        pick(dialog.nodeIBox(), pair.section(' ', 0, 0));
        pick(dialog.nodeJBox(), pair.section(' ', 1, 1));
        dialog.applyButton()->click();
    }
    QCOMPARE(elements(m), QString("1-4 g2, 2-3 g1, 3-2 g1"));
    QVERIFY(m.changed);
    QCOMPARE(h.shell.redraws, 3);

    // Change element 2: the dialog moves on to element 3, then past the last to "(New)".
    pick(dialog.numberBox(), "2");
    QCOMPARE(shown(dialog), QString("2 (Existing) 2-3 g1"));
    QVERIFY(hasFocus(dialog.applyButton()));
    pick(dialog.nodeJBox(), "4");
    pick(dialog.groupBox(), "2");
    dialog.applyButton()->click();
    QCOMPARE(h.app.log.lastLine(),
             std::string(" * Element #2, Node i: #2, Node j: #4, E,A Group: #2"));
    QCOMPARE(shown(dialog), QString("3 (Existing) 3-2 g1"));
    dialog.applyButton()->click();
    QCOMPARE(shown(dialog), QString("4 (New) - g1"));

    // Delete element 1: the others move down and number 1 shows the former element 2.
    m.changed = false;
    h.app.currentView = ViewMode::NDiagram;
    pick(dialog.numberBox(), "1");
    dialog.deleteButton()->click();
    checkLogged(h, "Element deleted: #1. Elements renumbered: #2 to #3.", LogColour::Green);
    QCOMPARE(elements(m), QString("2-4 g2, 3-2 g1"));
    QCOMPARE(dialog.numberBox()->count(), 3);
    QCOMPARE(shown(dialog), QString("1 (Existing) 2-4 g2"));
    QCOMPARE(h.app.currentView, ViewMode::Model);
    QVERIFY(m.changed);
    QVERIFY(h.prompter.questions().empty());

    // Opened on an element, changed and cancelled: nothing reaches the model.
    ElementsDialog onElement(h.app, nullptr, 2);
    QCOMPARE(shown(onElement), QString("2 (Existing) 3-2 g1"));
    pick(onElement.nodeIBox(), "4");
    onElement.cancelButton()->click();
    QCOMPARE(onElement.result(), int(QDialog::Rejected));
    QCOMPARE(elements(m), QString("2-4 g2, 3-2 g1"));
}

QTEST_MAIN(TestElementsDialog)
#include "test_elements_dialog.moc"
