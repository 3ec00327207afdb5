#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "dialog_test_support.h"
#include "editing/loads_dialog.h"

using namespace vortak;
using namespace vortak::test;

Q_DECLARE_METATYPE(vortak::NodalLoad)

namespace {

// The list of loaded nodes with its caption, e.g. "Nodes with loads on: 2 [2 3]".
QString listed(const LoadsDialog& d) {
    QStringList list;
    for (int k = 0; k < d.loadedList()->count(); ++k) list << d.loadedList()->item(k)->text();
    return d.listCaption()->text() + " [" + list.join(' ') + "]";
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

// Where a refusal leaves the focus.
enum Focus { OnNode, OnFx, OnFy, OnApply };

}  // namespace

Q_DECLARE_METATYPE(Focus)

class TestLoadsDialog : public QObject {
    Q_OBJECT
private slots:
    void applyLogs_data();
    void applyLogs();
    void keyboardAndList();
    void refusals_data();
    void refusals();
};

void TestLoadsDialog::applyLogs_data() {
    QTest::addColumn<NodalLoad>("before");
    QTest::addColumn<QString>("fx");
    QTest::addColumn<QString>("fy");
    QTest::addColumn<QString>("line");  // empty: nothing logged
    QTest::addColumn<QString>("after");
    // clang-format off
    QTest::newRow("new both")        << NodalLoad{0, 0}   << "10"  << "-25"
        << "New loads on node #2, Fx= 10, Fy= -25" << "10 -25";
    QTest::newRow("logged as typed") << NodalLoad{0, 0}   << "1e1" << "0"
        << "New loads on node #2, Fx= 1e1"         << "10 0";
    QTest::newRow("changed")         << NodalLoad{5, 5}   << ""    << "-5abc"
        << "* Loads on node #2, Fy= -5abc"         << "0 -5";
    QTest::newRow("deleted")         << NodalLoad{5, 0}   << "0"   << ""
        << "Loads deleted on node #2"              << "0 0";
    QTest::newRow("unchanged")       << NodalLoad{5, .5f} << "5"   << "0.5" << "" << "5 0.5";
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
        checkLogged(h, line, line.startsWith("Loads deleted") ? LogColour::Green : LogColour::Navy);
    }
    // Every Apply redraws and marks the results stale, logged or not.
    QVERIFY(h.app.model.changed);
    QCOMPARE(h.shell.redraws, 1);
    QCOMPARE(dialog.nodeBox()->currentText(), QString("3"));
}

void TestLoadsDialog::keyboardAndList() {
    Harness h;
    threeNodes(h.app.model);
    h.app.model.setLoad(2, {0, -2.5f});
    LoadsDialog dialog(h.app);
    QVERIFY(showAndWait(dialog));
    QCOMPARE(shown(dialog), QString("1:  | "));
    QCOMPARE(listed(dialog), QString("Nodes with loads on: 1 [2]"));
    // By keyboard: Enter goes from the node to Fx, Fy and Apply, and there applies.
    dialog.nodeBox()->setFocus();
    dialog.nodeBox()->lineEdit()->clear();
    typeEnter(dialog.nodeBox(), "3");
    QVERIFY(hasFocus(dialog.fxBox()));
    typeEnter(dialog.fxBox(), "7");
    QVERIFY(hasFocus(dialog.fyBox()));
    typeEnter(dialog.fyBox(), "3");
    QVERIFY(hasFocus(dialog.applyButton()));
    QVERIFY(h.app.log.runs().empty());  // Enter moved the focus only
    QTest::keyClick(dialog.applyButton(), Qt::Key_Return);
    QCOMPARE(h.app.log.lastLine(), std::string(" New loads on node #3, Fx= 7, Fy= 3"));
    QCOMPARE(shown(dialog), QString("1:  | "));  // wrapped from the last node to the first
    QVERIFY(hasFocus(dialog.fxBox()));
    QCOMPARE(listed(dialog), QString("Nodes with loads on: 2 [2 3]"));

    // Picking from the list shows that node; Delete removes its load and moves on.
    dialog.loadedList()->setCurrentRow(0);
    QCOMPARE(shown(dialog), QString("2:  | -2.5"));
    dialog.deleteButton()->click();
    checkLogged(h, "Loads deleted on node #2", LogColour::Green);
    QCOMPARE(load(h.app.model, 2), QString("0 0"));
    QCOMPARE(shown(dialog), QString("3: 7 | 3"));
    QCOMPARE(listed(dialog), QString("Nodes with loads on: 1 [3]"));
    QCOMPARE(dialog.loadedList()->currentRow(), 0);  // the node shown is marked in the list
}

void TestLoadsDialog::refusals_data() {
    QTest::addColumn<bool>("remove");  // Delete rather than Apply
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("fx");
    QTest::addColumn<QString>("fy");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Focus>("focus");
    const QString node = unacceptable("node number");
    const QString fx = unacceptable("Fx"), fy = unacceptable("Fy");
    // Delete goes by what the boxes show, even when the node has a stored load.
    const QString noLoad = "There is no load to delete on node #2";
    // clang-format off
    QTest::newRow("node 4 of 3")   << false << "4" << "1"     << "1"    << node   << OnNode;
    QTest::newRow("delete node 9") << true  << "9" << "1"     << "1"    << node   << OnNode;
    QTest::newRow("Fx 1e999")      << false << "2" << "1e999" << "1"    << fx     << OnFx;
    QTest::newRow("Fy 1e39")       << false << "2" << "1"     << "1e39" << fy     << OnFy;
    QTest::newRow("delete zeros")  << true  << "2" << "0"     << "abc"  << noLoad << OnApply;
    // clang-format on
}

void TestLoadsDialog::refusals() {
    QFETCH(bool, remove);
    QFETCH(QString, node);
    QFETCH(QString, fx);
    QFETCH(QString, fy);
    QFETCH(QString, message);
    QFETCH(Focus, focus);
    Harness h;
    threeNodes(h.app.model);
    h.app.model.setLoad(2, {3, 4});
    LoadsDialog dialog(h.app);
    QVERIFY(showAndWait(dialog));
    typeNumber(dialog.nodeBox(), node);
    type(dialog.fxBox(), fx);
    type(dialog.fyBox(), fy);
    (remove ? dialog.deleteButton() : dialog.applyButton())->click();
    for (int n : {1, 2, 3, 4}) QCOMPARE(load(h.app.model, n), QString(n == 2 ? "3 4" : "0 0"));
    QVERIFY(!h.app.model.changed);
    checkRefused(h, message);
    QWidget* const at[] = {dialog.nodeBox(), dialog.fxBox(), dialog.fyBox(), dialog.applyButton()};
    QVERIFY(hasFocusSelected(at[focus]));
}

QTEST_MAIN(TestLoadsDialog)
#include "test_loads_dialog.moc"
