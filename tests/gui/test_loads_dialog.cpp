#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "../core/test_support.h"
#include "dialog_test_support.h"
#include "editing/loads_dialog.h"

using namespace vortak;
using namespace vortak::test;

Q_DECLARE_METATYPE(vortak::NodalLoad)

namespace {

QStringList listed(const LoadsDialog& d) {
    QStringList list;
    for (int k = 0; k < d.loadedList()->count(); ++k) list << d.loadedList()->item(k)->text();
    return list;
}

QString shown(const LoadsDialog& d) {
    return d.nodeBox()->currentText() + ": " + d.fxBox()->text() + " | " + d.fyBox()->text();
}

void threeNodes(Model& m) {
    for (int k = 0; k < 3; ++k) addNode(m, float(k), 0);
}

// "Fx Fy" of node n.
QString load(const Model& m, int n) {
    return QString("%1 %2").arg(m.nodes.Fx[n]).arg(m.nodes.Fy[n]);
}

}  // namespace

class TestLoadsDialog : public QObject {
    Q_OBJECT
private slots:
    void applyLogs_data();
    void applyLogs();
    void movesOnAndListFollows();
    void refusals_data();
    void refusals();
    void keyboard();
};

void TestLoadsDialog::applyLogs_data() {
    QTest::addColumn<NodalLoad>("before");
    QTest::addColumn<QString>("fx");
    QTest::addColumn<QString>("fy");
    QTest::addColumn<QString>("line");  // empty: nothing logged
    QTest::addColumn<QString>("after");
    // clang-format off
    QTest::newRow("new Fx")          << NodalLoad{0, 0}   << "10"  << ""
        << "New loads on node #2, Fx= 10"          << "10 0";
    QTest::newRow("new both")        << NodalLoad{0, 0}   << "10"  << "-25"
        << "New loads on node #2, Fx= 10, Fy= -25" << "10 -25";
    QTest::newRow("logged as typed") << NodalLoad{0, 0}   << "1e1" << "0"
        << "New loads on node #2, Fx= 1e1"         << "10 0";
    QTest::newRow("changed")         << NodalLoad{5, 5}   << ""    << "-5abc"
        << "* Loads on node #2, Fy= -5abc"         << "0 -5";
    QTest::newRow("deleted")         << NodalLoad{5, 0}   << "0"   << ""
        << "Loads deleted on node #2"              << "0 0";
    QTest::newRow("unchanged")       << NodalLoad{5, .5f} << "5"   << "0.5" << "" << "5 0.5";
    QTest::newRow("still none")      << NodalLoad{0, 0}   << ""    << "x"   << "" << "0 0";
    // clang-format on
}

void TestLoadsDialog::applyLogs() {
    QFETCH(NodalLoad, before);
    QFETCH(QString, fx);
    QFETCH(QString, fy);
    QFETCH(QString, line);
    QFETCH(QString, after);
    Harness h;
    threeNodes(h.app.model);
    h.app.model.setLoad(2, before);
    LoadsDialog dialog(h.app, nullptr, 2);
    type(dialog.fxBox(), fx);
    type(dialog.fyBox(), fy);
    dialog.applyButton()->click();
    QCOMPARE(load(h.app.model, 2), after);
    if (line.isEmpty()) {
        QVERIFY(h.app.log.runs().empty());
    } else {
        QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + line);
        const bool removed = line.startsWith("Loads deleted");
        QCOMPARE(h.app.log.runs().back().colour, removed ? LogColour::Green : LogColour::Navy);
    }
    // Every Apply redraws and marks the results stale, logged or not.
    QVERIFY(h.app.model.changed);
    QCOMPARE(h.shell.redraws, 1);
    QCOMPARE(dialog.nodeBox()->currentText(), QString("3"));
}

void TestLoadsDialog::movesOnAndListFollows() {
    Harness h;
    threeNodes(h.app.model);
    h.app.model.setLoad(2, {0, -2.5f});
    LoadsDialog dialog(h.app, nullptr, 3);
    QCOMPARE(dialog.windowTitle(), QString("Nodal loads"));
    QCOMPARE(shown(dialog), QString("3:  | "));
    QCOMPARE(listed(dialog), QStringList{"2"});
    QCOMPARE(dialog.listCaption()->text(), QString("Nodes with loads on: 1"));

    type(dialog.fxBox(), "7");
    dialog.applyButton()->click();
    QCOMPARE(shown(dialog), QString("1:  | "));  // wrapped from the last node to the first
    QCOMPARE(listed(dialog), (QStringList{"2", "3"}));
    QCOMPARE(dialog.listCaption()->text(), QString("Nodes with loads on: 2"));

    // Picking from the list shows that node; Delete removes its load and moves on.
    dialog.loadedList()->setCurrentRow(0);
    QCOMPARE(shown(dialog), QString("2:  | -2.5"));
    dialog.deleteButton()->click();
    QCOMPARE(h.app.log.lastLine(), std::string(" Loads deleted on node #2"));
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Green);
    QCOMPARE(load(h.app.model, 2), QString("0 0"));
    QCOMPARE(shown(dialog), QString("3: 7 | "));
    QCOMPARE(listed(dialog), QStringList{"3"});
    QCOMPARE(dialog.listCaption()->text(), QString("Nodes with loads on: 1"));
    QCOMPARE(dialog.loadedList()->currentRow(), 0);  // the node shown is marked in the list
}

void TestLoadsDialog::refusals_data() {
    QTest::addColumn<bool>("remove");  // Delete rather than Apply
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("fx");
    QTest::addColumn<QString>("fy");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");  // node, fx, fy or apply
    const QString badNode = "The value given for node number is unacceptable.";
    const QString badFx = "The value given for Fx is unacceptable.";
    const QString badFy = "The value given for Fy is unacceptable.";
    const QString noLoad = "There is no load to delete on node #2";
    // clang-format off
    QTest::newRow("node 0")        << false << "0"   << "1"     << "1"    << badNode << "node";
    QTest::newRow("node 4 of 3")   << false << "4"   << "1"     << "1"    << badNode << "node";
    QTest::newRow("node 1.5")      << false << "1.5" << "1"     << "1"    << badNode << "node";
    QTest::newRow("delete node 9") << true  << "9"   << "1"     << "1"    << badNode << "node";
    QTest::newRow("Fx 1e999")      << false << "2"   << "1e999" << "1"    << badFx   << "fx";
    QTest::newRow("Fx -1e39")      << false << "2"   << "-1e39" << "1"    << badFx   << "fx";
    QTest::newRow("Fy 1e39")       << false << "2"   << "1"     << "1e39" << badFy   << "fy";
    // Delete goes by what the boxes show, even when the node has a stored load.
    QTest::newRow("delete empty")  << true  << "2"   << ""      << ""     << noLoad  << "apply";
    QTest::newRow("delete zeros")  << true  << "2"   << "0"     << "abc"  << noLoad  << "apply";
    // clang-format on
}

void TestLoadsDialog::refusals() {
    QFETCH(bool, remove);
    QFETCH(QString, node);
    QFETCH(QString, fx);
    QFETCH(QString, fy);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Harness h;
    threeNodes(h.app.model);
    h.app.model.setLoad(2, {3, 4});
    LoadsDialog dialog(h.app);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    typeNumber(dialog.nodeBox(), node);
    type(dialog.fxBox(), fx);
    type(dialog.fyBox(), fy);
    (remove ? dialog.deleteButton() : dialog.applyButton())->click();
    for (int n : {1, 2, 3, 4}) QCOMPARE(load(h.app.model, n), QString(n == 2 ? "3 4" : "0 0"));
    QVERIFY(!h.app.model.changed);
    QCOMPARE(h.prompter.questions().size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(h.prompter.questions()[0].text), message);
    QCOMPARE(h.prompter.questions()[0].icon, MessageIcon::Exclamation);
    QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + message);
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Red);
    QWidget* expected = focus == "node" ? dialog.nodeBox()
                        : focus == "fx" ? dialog.fxBox()
                        : focus == "fy" ? dialog.fyBox()
                                        : static_cast<QWidget*>(dialog.applyButton());
    QVERIFY(hasFocus(expected));
    if (focus == "fx") QCOMPARE(dialog.fxBox()->selectedText(), fx);
}

void TestLoadsDialog::keyboard() {
    Harness h;
    threeNodes(h.app.model);
    LoadsDialog dialog(h.app);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.nodeBox()->setFocus();
    typeNumber(dialog.nodeBox(), "3");
    QTest::keyClick(dialog.nodeBox()->lineEdit(), Qt::Key_Return);
    QVERIFY(hasFocus(dialog.fxBox()));
    QTest::keyClicks(dialog.fxBox(), "2");
    QTest::keyClick(dialog.fxBox(), Qt::Key_Return);
    QVERIFY(hasFocus(dialog.fyBox()));
    QTest::keyClicks(dialog.fyBox(), "3");
    QTest::keyClick(dialog.fyBox(), Qt::Key_Return);
    QVERIFY(hasFocus(dialog.applyButton()));
    QVERIFY(h.app.log.runs().empty());  // Enter moved the focus only
    QTest::keyClick(dialog.applyButton(), Qt::Key_Return);
    QCOMPARE(h.app.log.lastLine(), std::string(" New loads on node #3, Fx= 2, Fy= 3"));
    QVERIFY(hasFocus(dialog.fxBox()));  // ready for the next node
}

QTEST_MAIN(TestLoadsDialog)
#include "test_loads_dialog.moc"
