#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "../core/test_support.h"
#include "dialog_test_support.h"
#include "editing/nodes_dialog.h"

using namespace vortak;
using namespace vortak::test;

namespace {

// Nodes 1 (0, 0) pinned and 2 (4, 0) with Ky, elements 1-2 and 2-1... see each test.
void twoNodes(Model& m) {
    addNode(m, 0, 0, 1, 1);
    addNode(m, 4, 0, 0, 0);
    m.nodes.Ky[2] = 50;
    m.nodes.Fy[2] = -3;
}

}  // namespace

class TestNodesDialog : public QObject {
    Q_OBJECT
private slots:
    void opening();
    void refusals_data();
    void refusals();
    void newNodesLogged_data();
    void newNodesLogged();
    void changeMovesOn();
    void constraintsAndSprings();
    void deleteWithElements();
    void deleteRefusals_data();
    void deleteRefusals();
    void keyboardOnly();
};

void TestNodesDialog::opening() {
    Harness h;
    {
        NodesDialog dialog(h.app);
        QCOMPARE(dialog.windowTitle(), QString("Nodes"));
        QCOMPARE(dialog.numberBox()->currentText(), QString("1"));
        QCOMPARE(dialog.stateLabel()->text(), QString("(New)"));
        QCOMPARE(dialog.pictureIndex(), 1);
    }
    twoNodes(h.app.model);
    NodesDialog onNode(h.app, nullptr, 2);
    QCOMPARE(onNode.numberBox()->currentText(), QString("2"));
    QCOMPARE(onNode.stateLabel()->text(), QString("(Existing)"));
    QCOMPARE(onNode.xBox()->text(), QString("4"));
    QCOMPARE(onNode.kyBox()->text(), QString("50"));
    QVERIFY(onNode.kxBox()->text().isEmpty());  // 0 shows as empty
    QCOMPARE(onNode.numberBox()->count(), 3);
}

void TestNodesDialog::refusals_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("kx");
    QTest::addColumn<QString>("ky");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("maximum") << "101"
                             << "9"
                             << "9"
                             << ""
                             << ""
                             << "The maximum number of nodes that can be defined is 100."
                             << "";
    QTest::newRow("coincident") << "3"
                                << "0"
                                << "0"
                                << ""
                                << ""
                                << "At (0, 0) there is already node #1. "
                                << "x";
    QTest::newRow("zero") << "0"
                          << "9"
                          << "9"
                          << ""
                          << ""
                          << "The value given for node number is unacceptable."
                          << "number";
    QTest::newRow("negative") << "-1"
                              << "9"
                              << "9"
                              << ""
                              << ""
                              << "The value given for node number is unacceptable."
                              << "number";
    QTest::newRow("not whole") << "2.5"
                               << "9"
                               << "9"
                               << ""
                               << ""
                               << "The value given for node number is unacceptable."
                               << "number";
    QTest::newRow("negative Kx") << "3"
                                 << "9"
                                 << "9"
                                 << "-1"
                                 << ""
                                 << "The elastic constants cannot have negative values."
                                 << "kx";
    QTest::newRow("negative Ky") << "3"
                                 << "9"
                                 << "9"
                                 << ""
                                 << "-0.5"
                                 << "The elastic constants cannot have negative values."
                                 << "ky";
    QTest::newRow("x overflows") << "3"
                                 << "1e999"
                                 << "9"
                                 << ""
                                 << ""
                                 << "The value given for coordinate x is unacceptable."
                                 << "x";
    QTest::newRow("y beyond single precision") << "3"
                                               << "1"
                                               << "1e39"
                                               << ""
                                               << ""
                                               << "The value given for coordinate y is "
                                                  "unacceptable."
                                               << "y";
    QTest::newRow("Kx overflows") << "3"
                                  << "9"
                                  << "9"
                                  << "1e40"
                                  << ""
                                  << "The value given for elastic constant Kx is unacceptable."
                                  << "kx";
}

void TestNodesDialog::refusals() {
    QFETCH(QString, number);
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, kx);
    QFETCH(QString, ky);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Harness h;
    twoNodes(h.app.model);
    const Model before = h.app.model;
    NodesDialog dialog(h.app);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    typeNumber(dialog.numberBox(), number);
    type(dialog.xBox(), x);
    type(dialog.yBox(), y);
    type(dialog.kxBox(), kx);
    type(dialog.kyBox(), ky);
    dialog.applyButton()->setFocus();
    dialog.applyButton()->click();
    QCOMPARE(QString::fromStdString(h.prompter.questions().at(0).text), message);
    QCOMPARE(h.prompter.questions()[0].icon, MessageIcon::Exclamation);
    QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + message);
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Red);
    QCOMPARE(h.app.model.nodeCount, 2);
    QVERIFY(h.app.model.nodes.x == before.nodes.x && h.app.model.nodes.Ky == before.nodes.Ky);
    QWidget* now = QApplication::focusWidget();
    if (focus == "number") {
        QVERIFY(now == dialog.numberBox() || now == dialog.numberBox()->lineEdit());
    } else if (focus.isEmpty()) {
        QCOMPARE(now, dialog.applyButton());  // the focus is not moved
    } else {
        QLineEdit* box = focus == "x"    ? dialog.xBox()
                         : focus == "y"  ? dialog.yBox()
                         : focus == "kx" ? dialog.kxBox()
                                         : dialog.kyBox();
        QCOMPARE(now, box);
        if (focus != "x" || message.contains("unacceptable")) {
            QCOMPARE(box->selectedText(), box->text());
        }
    }
}

void TestNodesDialog::newNodesLogged_data() {
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<bool>("fixX");
    QTest::addColumn<bool>("fixY");
    QTest::addColumn<QString>("kx");
    QTest::addColumn<QString>("ky");
    QTest::addColumn<QString>("line");
    QTest::newRow("pinned") << "2.5"
                            << "0" << true << true << ""
                            << ""
                            << "New node #3, x= 2.5, y= 0, Constraints: xx";
    QTest::newRow("free with a spring") << "-1"
                                        << "4" << false << false << "100"
                                        << ""
                                        << "New node #3, x=-1, y= 4, Free, Kx= 100";
    QTest::newRow("roller and spring") << "0"
                                       << "3" << false << true << "50"
                                       << ""
                                       << "New node #3, x= 0, y= 3, Constraints: ox, Kx= 50";
    QTest::newRow("two springs") << "1e-5"
                                 << "7" << false << false << "3"
                                 << "4.5"
                                 << "New node #3, x= 1E-05, y= 7, Free, Kx= 3, Ky= 4.5";
}

void TestNodesDialog::newNodesLogged() {
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(bool, fixX);
    QFETCH(bool, fixY);
    QFETCH(QString, kx);
    QFETCH(QString, ky);
    QFETCH(QString, line);
    Harness h;
    twoNodes(h.app.model);
    NodesDialog dialog(h.app);
    type(dialog.xBox(), x);
    type(dialog.yBox(), y);
    if (fixX) dialog.fixXBox()->click();
    if (fixY) dialog.fixYBox()->click();
    type(dialog.kxBox(), kx);
    type(dialog.kyBox(), ky);
    dialog.applyButton()->click();
    QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + line);
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Navy);
    QCOMPARE(h.app.model.nodeCount, 3);
    QCOMPARE(h.app.model.nodes.Fx[3], 0.0f);  // loads are not this dialog's
    QVERIFY(h.app.model.changed);
    QCOMPARE(h.shell.redraws, 1);
    // Ready for the next node.
    QCOMPARE(dialog.numberBox()->currentText(), QString("4"));
    QCOMPARE(dialog.stateLabel()->text(), QString("(New)"));
    QVERIFY(dialog.xBox()->text().isEmpty() && !dialog.fixXBox()->isChecked());
}

void TestNodesDialog::changeMovesOn() {
    Harness h;
    twoNodes(h.app.model);
    NodesDialog dialog(h.app);
    pick(dialog.numberBox(), "1");
    QCOMPARE(dialog.stateLabel()->text(), QString("(Existing)"));
    QVERIFY(dialog.fixXBox()->isChecked() && dialog.fixYBox()->isChecked());
    type(dialog.yBox(), "3");
    dialog.fixXBox()->click();  // now fixed in y only
    type(dialog.kxBox(), "50");
    dialog.applyButton()->click();
    QCOMPARE(h.app.log.lastLine(), std::string(" * Node #1, x= 0, y= 3, Constraints: ox, Kx= 50"));
    QCOMPARE(h.app.model.nodes.cx[1], 0.0f);
    QCOMPARE(h.app.model.nodes.Kx[1], 50.0f);
    // On to node 2, shown, then to the new-node number after the last.
    QCOMPARE(dialog.numberBox()->currentText(), QString("2"));
    QCOMPARE(dialog.xBox()->text(), QString("4"));
    dialog.applyButton()->click();
    QCOMPARE(h.app.log.lastLine(), std::string(" * Node #2, x= 4, y= 0, Free, Ky= 50"));
    QCOMPARE(h.app.model.nodes.Fy[2], -3.0f);  // the load stays
    QCOMPARE(dialog.numberBox()->currentText(), QString("3"));
    QCOMPARE(dialog.stateLabel()->text(), QString("(New)"));
}

void TestNodesDialog::constraintsAndSprings() {
    Harness h;
    NodesDialog dialog(h.app);
    type(dialog.kxBox(), "50");
    dialog.fixXBox()->click();  // fixing x empties its spring
    QVERIFY(dialog.kxBox()->text().isEmpty());
    QCOMPARE(dialog.pictureIndex(), 2);
    QTest::keyClicks(dialog.kxBox(), "7");  // a spring frees the direction
    QVERIFY(!dialog.fixXBox()->isChecked());
    dialog.fixYBox()->click();
    QCOMPARE(dialog.pictureIndex(), 3);
    QTest::mouseClick(dialog.picture(), Qt::LeftButton);
    QCOMPARE(dialog.pictureIndex(), 4);
    QVERIFY(dialog.kxBox()->text().isEmpty());  // x is fixed now
    QTest::mouseClick(dialog.picture(), Qt::LeftButton);
    QCOMPARE(dialog.pictureIndex(), 1);
    QTest::mouseClick(dialog.picture(), Qt::LeftButton);
    QCOMPARE(dialog.pictureIndex(), 2);
    QVERIFY(dialog.fixXBox()->isChecked() && !dialog.fixYBox()->isChecked());
}

void TestNodesDialog::deleteWithElements() {
    Harness h;
    Model& m = h.app.model;
    twoNodes(m);
    addNode(m, 2, 3);
    addNode(m, 6, 3);
    addGroup(m, 1, 1);
    addElement(m, 1, 2);
    addElement(m, 2, 3);
    addElement(m, 3, 4);
    addElement(m, 4, 2);
    h.app.currentView = ViewMode::NDiagram;
    {
        h.prompter.queueAnswer(Answer::Cancel);
        NodesDialog dialog(h.app, nullptr, 2);
        dialog.deleteButton()->click();
        QCOMPARE(m.nodeCount, 4);
        QCOMPARE(m.elementCount, 4);
        QCOMPARE(h.app.log.lastLine(),
                 std::string(" There are elements connected to the node, that must also be "
                             "deleted."));
    }
    h.prompter.queueAnswer(Answer::Ok);
    NodesDialog dialog(h.app, nullptr, 2);
    dialog.deleteButton()->click();
    const auto& q = h.prompter.questions();
    QCOMPARE(int(q.size()), 2);  // asked once each time
    QCOMPARE(q[1].text, std::string("There are elements connected to the node, that must also "
                                    "be deleted.\r\nDo you want the deletion process to proceed?"));
    QCOMPARE(q[1].buttons, MessageButtons::OkCancel);
    const std::vector<std::string> lines = h.app.log.lines();
    const std::vector<std::string> tail(lines.end() - 5, lines.end());
    const std::vector<std::string> expected{
        " There are elements connected to the node, that must also be deleted.",
        " Element deleted: #1. Elements renumbered: #2 to #4.",
        " Element deleted: #1. Elements renumbered: #2 to #3.", " Element deleted: #2.",
        " Node deleted: #2. Nodes renumbered: #3 to #4."};
    QCOMPARE(tail, expected);
    QCOMPARE(m.nodeCount, 3);
    QCOMPARE(m.elementCount, 1);
    QCOMPARE(m.nodeI(1), 2);  // the old element 3-4
    QCOMPARE(m.nodeJ(1), 3);
    QCOMPARE(h.app.currentView, ViewMode::Model);
    // The dialog now shows number 2, the former node 3.
    QCOMPARE(dialog.numberBox()->currentText(), QString("2"));
    QCOMPARE(dialog.yBox()->text(), QString("3"));
}

void TestNodesDialog::deleteRefusals_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message");
    QTest::newRow("new number") << "3"
                                << "There is no node to be deleted #3.";
    QTest::newRow("typed beyond") << "8"
                                  << "The value given for node number is unacceptable.";
    QTest::newRow("typed zero") << "0"
                                << "The value given for node number is unacceptable.";
}

void TestNodesDialog::deleteRefusals() {
    QFETCH(QString, number);
    QFETCH(QString, message);
    Harness h;
    twoNodes(h.app.model);
    NodesDialog dialog(h.app);
    typeNumber(dialog.numberBox(), number);
    dialog.deleteButton()->click();
    QCOMPARE(QString::fromStdString(h.prompter.questions().at(0).text), message);
    QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + message);
    QCOMPARE(h.app.model.nodeCount, 2);
}

void TestNodesDialog::keyboardOnly() {
    Harness h;
    twoNodes(h.app.model);
    NodesDialog dialog(h.app);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit* number = dialog.numberBox()->lineEdit();
    number->setFocus();
    number->selectAll();
    QTest::keyClicks(number, "3");
    QTest::keyClick(number, Qt::Key_Return);  // the new-node number: on to x
    QCOMPARE(QApplication::focusWidget(), dialog.xBox());
    QTest::keyClicks(dialog.xBox(), "8");
    QTest::keyClick(dialog.xBox(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog.yBox());
    QTest::keyClicks(dialog.yBox(), "-1.5");
    QTest::keyClick(dialog.yBox(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog.applyButton());
    QTest::keyClick(dialog.applyButton(), Qt::Key_Return);
    QCOMPARE(h.app.model.nodeCount, 3);
    QCOMPARE(h.app.model.nodes.y[3], -1.5f);
    QCOMPARE(h.app.log.lastLine(), std::string(" New node #3, x= 8, y=-1.5, Free"));
    QCOMPARE(QApplication::focusWidget(), dialog.xBox());
}

QTEST_MAIN(TestNodesDialog)
#include "test_nodes_dialog.moc"
