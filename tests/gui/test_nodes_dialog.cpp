#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <map>

#include "dialog_test_support.h"
#include "editing/nodes_dialog.h"

using namespace vortak;
using namespace vortak::test;

namespace {

// Node 1 (0, 0) pinned and node 2 (4, 0) free with Ky = 50 and a load Fy = -3.
void twoNodes(Model& m) {
    addNode(m, 0, 0, 1, 1);
    addNode(m, 4, 0, 0, 0);
    m.nodes.Ky[2] = 50;
    m.nodes.Fy[2] = -3;
}

const QString kBadNumber = unacceptable("node number");

// "number (state) x y Kx Ky" and the constraints (x fixed, o free) with the picture number,
// as the dialog shows them.
QString shown(const NodesDialog& d) {
    const auto fix = [](const QCheckBox* box) { return QString(box->isChecked() ? "x" : "o"); };
    return QString("%1 %2 %3 %4 %5 %6 %7%8%9")
        .arg(d.numberBox()->currentText(), d.stateLabel()->text(), d.xBox()->text(),
             d.yBox()->text(), d.kxBox()->text(), d.kyBox()->text(), fix(d.fixXBox()),
             fix(d.fixYBox()), QString::number(d.pictureIndex()));
}

}  // namespace

class TestNodesDialog : public QObject {
    Q_OBJECT
private slots:
    void refusals_data();
    void refusals();
    void changeThenCreate();  // and by keyboard alone
    void constraintsAndSprings();
    void deleteWithElements();
};

void TestNodesDialog::refusals_data() {
    QTest::addColumn<bool>("remove");  // Delete rather than Apply
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("box");  // x, y, kx or ky; x and y are 9 and 0 unless typed
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString max = "The maximum number of nodes that can be defined is 100.";
    const QString taken = "At (4, 0) there is already node #2. ";
    const QString neg = "The elastic constants cannot have negative values.";
    const QString none = "There is no node to be deleted #3.";
    const QString num = kBadNumber;
    const QString x = unacceptable("coordinate x"), y = unacceptable("coordinate y");
    const QString kx = unacceptable("elastic constant Kx");
    // clang-format off
    QTest::newRow("101")     << false << "101" << ""   << ""      << max;
    QTest::newRow("taken")   << false << "3"   << "x"  << "4"     << taken;
    QTest::newRow("2.5")     << false << "2.5" << ""   << ""      << num;
    QTest::newRow("Ky < 0")  << false << "3"   << "ky" << "-0.5"  << neg;
    QTest::newRow("x 1e999") << false << "3"   << "x"  << "1e999" << x;
    QTest::newRow("y 1e39")  << false << "3"   << "y"  << "1e39"  << y;
    QTest::newRow("Kx 1e40") << false << "3"   << "kx" << "1e40"  << kx;
    QTest::newRow("del 3")   << true  << "3"   << ""   << ""      << none;
    QTest::newRow("del 8")   << true  << "8"   << ""   << ""      << num;
    // clang-format on
}

void TestNodesDialog::refusals() {
    QFETCH(bool, remove);
    QFETCH(QString, number);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    Harness h;
    twoNodes(h.app.model);
    const Model before = h.app.model;
    NodesDialog dialog(h.app);
    QVERIFY(showAndWait(dialog));
    typeNumber(dialog.numberBox(), number);
    type(dialog.xBox(), "9");
    type(dialog.yBox(), "0");
    const std::map<QString, QLineEdit*> boxes{
        {"x", dialog.xBox()}, {"y", dialog.yBox()}, {"kx", dialog.kxBox()}, {"ky", dialog.kyBox()}};
    QLineEdit* typed = box.isEmpty() ? nullptr : boxes.at(box);
    if (typed) type(typed, text);
    QPushButton* button = remove ? dialog.deleteButton() : dialog.applyButton();
    button->setFocus();
    button->click();
    checkRefused(h, message);
    const Model& m = h.app.model;
    QVERIFY(m.nodeCount == 2 && m.nodes.x == before.nodes.x && m.nodes.Ky == before.nodes.Ky);
    QVERIFY(!m.changed);
    // The focus goes to the faulty box, a value that cannot be read selected to be typed over.
    if (message == kBadNumber) {
        QVERIFY(hasFocus(dialog.numberBox()));
    } else if (!typed) {
        QVERIFY(hasFocus(button));
    } else {
        QVERIFY(message.startsWith("At") ? hasFocus(typed) : hasFocusSelected(typed));
    }
}

void TestNodesDialog::changeThenCreate() {
    Harness h;
    twoNodes(h.app.model);
    NodesDialog dialog(h.app, nullptr, 2);
    QVERIFY(showAndWait(dialog));
    QCOMPARE(shown(dialog), QString("2 (Existing) 4 0  50 oo1"));  // a 0 spring shows empty
    QCOMPARE(dialog.numberBox()->count(), 3);
    pick(dialog.numberBox(), "1");
    QCOMPARE(shown(dialog), QString("1 (Existing) 0 0   xx4"));
    type(dialog.yBox(), "3");
    dialog.fixXBox()->click();
    type(dialog.kxBox(), "50");
    dialog.applyButton()->click();
    checkLogged(h, "* Node #1, x= 0, y= 3, Constraints: ox, Kx= 50", LogColour::Navy);
    // On to node 2, then past the last to the new number.
    dialog.applyButton()->click();
    QCOMPARE(h.app.log.lastLine(), std::string(" * Node #2, x= 4, y= 0, Free, Ky= 50"));
    QCOMPARE(h.app.model.nodes.Fy[2], -3.0f);  // the load stays
    QCOMPARE(shown(dialog), QString("3 (New)     oo1"));

    // A new node by keyboard: Enter goes from the number to x, y and Apply, and there applies.
    dialog.numberBox()->lineEdit()->setFocus();
    dialog.numberBox()->lineEdit()->selectAll();
    typeEnter(dialog.numberBox(), "3");
    QVERIFY(hasFocus(dialog.xBox()));
    typeEnter(dialog.xBox(), "1e-5");
    QVERIFY(hasFocus(dialog.yBox()));
    typeEnter(dialog.yBox(), "-7");
    QVERIFY(hasFocus(dialog.applyButton()));
    QCOMPARE(h.app.model.nodeCount, 2);  // Enter moved the focus only
    QTest::keyClick(dialog.applyButton(), Qt::Key_Return);
    checkLogged(h, "New node #3, x= 1E-05, y=-7, Free", LogColour::Navy);
    QVERIFY(hasFocus(dialog.xBox()));  // ready for the next node
    QCOMPARE(shown(dialog), QString("4 (New)     oo1"));
    type(dialog.xBox(), "8");
    type(dialog.kxBox(), "3");
    type(dialog.kyBox(), "4.5");
    dialog.applyButton()->click();
    QCOMPARE(h.app.log.lastLine(), std::string(" New node #4, x= 8, y= 0, Free, Kx= 3, Ky= 4.5"));
    QVERIFY(h.app.model.changed);
    QCOMPARE(h.shell.redraws, 4);
}

void TestNodesDialog::constraintsAndSprings() {
    Harness h;
    NodesDialog dialog(h.app);
    type(dialog.kxBox(), "50");
    dialog.fixXBox()->click();  // fixing x empties its spring
    QCOMPARE(shown(dialog), QString("1 (New)     xo2"));
    QTest::keyClicks(dialog.kxBox(), "7");  // a spring frees the direction
    dialog.fixYBox()->click();
    QCOMPARE(shown(dialog), QString("1 (New)   7  ox3"));
    // Clicking the picture goes round: y -> both -> free -> x.
    QTest::mouseClick(dialog.picture(), Qt::LeftButton);
    QCOMPARE(shown(dialog), QString("1 (New)     xx4"));
    QTest::mouseClick(dialog.picture(), Qt::LeftButton);
    QTest::mouseClick(dialog.picture(), Qt::LeftButton);
    QCOMPARE(shown(dialog), QString("1 (New)     xo2"));
}

void TestNodesDialog::deleteWithElements() {
    Harness h;
    Model& m = h.app.model;
    twoNodes(m);
    addNode(m, 2, 3);
    addNode(m, 6, 3);
    addGroup(m, 1, 1);
    for (auto [i, j] : {std::pair{1, 2}, {2, 3}, {3, 4}, {4, 2}}) addElement(m, i, j);
    h.app.currentView = ViewMode::NDiagram;
    const std::string warning =
        "There are elements connected to the node, that must also be deleted.";
    NodesDialog dialog(h.app, nullptr, 2);
    h.prompter.queueAnswer(Answer::Cancel);
    dialog.deleteButton()->click();
    QCOMPARE(m.nodeCount + m.elementCount, 8);  // nothing deleted
    QCOMPARE(h.app.log.lastLine(), " " + warning);
    h.prompter.queueAnswer(Answer::Ok);
    dialog.deleteButton()->click();
    const auto& q = h.prompter.questions();
    QCOMPARE(int(q.size()), 2);  // asked once each time
    QCOMPARE(q[1].text, warning + "\r\nDo you want the deletion process to proceed?");
    QCOMPARE(q[1].buttons, MessageButtons::OkCancel);
    const std::vector<std::string> lines = h.app.log.lines();
    const std::vector<std::string> expected{
        " " + warning, " Element deleted: #1. Elements renumbered: #2 to #4.",
        " Element deleted: #1. Elements renumbered: #2 to #3.", " Element deleted: #2.",
        " Node deleted: #2. Nodes renumbered: #3 to #4."};
    QCOMPARE(std::vector<std::string>(lines.end() - 5, lines.end()), expected);
    QCOMPARE(m.nodeCount, 3);
    QCOMPARE(m.elementCount, 1);
    QCOMPARE(m.nodeI(1) * 10 + m.nodeJ(1), 23);  // the old element 3-4
    QCOMPARE(h.app.currentView, ViewMode::Model);
    QCOMPARE(shown(dialog), QString("2 (Existing) 2 3   oo1"));  // the former node 3
}

QTEST_MAIN(TestNodesDialog)
#include "test_nodes_dialog.moc"
