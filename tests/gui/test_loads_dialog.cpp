#include "dialog_test_support.h"
#include "editing/loads_dialog.h"

using namespace vortak::test;

Q_DECLARE_METATYPE(vortak::NodalLoad)

namespace {

// "node: Fx | Fy / caption [loaded nodes]", the one marked in the list starred, e.g.
// "3: 7 | 3 / Nodes with loads on: 2 [2 *3]".
QString shown(const LoadsDialog& d) {
    QStringList list;
    for (const QListWidgetItem* item : d.loadedList()->findItems("*", Qt::MatchWildcard))
        list << (item->isSelected() ? "*" : "") + item->text();
    return d.nodeBox()->currentText() + ": " + d.fxBox()->text() + " | " + d.fyBox()->text() +
           " / " + d.listCaption()->text() + " [" + list.join(' ') + "]";
}

// Three nodes, node 2 carrying `load`.
void threeNodes(Model& m, NodalLoad load) {
    for (int k = 0; k < 3; ++k) addNode(m, float(k), 0);
    m.setLoad(2, load);
}

// "Fx Fy" of node n.
QString load(const Model& m, int n) {
    return QString("%1 %2").arg(m.nodes.Fx[n]).arg(m.nodes.Fy[n]);
}

}  // namespace

class TestLoadsDialog : public QObject {
    Q_OBJECT
private slots:
    void applyLogs_data() {
        // typed: Fx, Fy
        // line: empty: nothing logged
        columns<NodalLoad, QStringList, QString, QString>("before", "typed", "line", "after");
        // A zero component is left out of the line, the others are logged as typed.
        // clang-format off
        QTest::newRow("new")       << NodalLoad{0, 0}   << QStringList{"10", "-25"}
                                   << "New loads on node #2, Fx= 10, Fy= -25" << "10 -25";
        QTest::newRow("changed")   << NodalLoad{5, 5}   << QStringList{"", "-5abc"}
                                   << "* Loads on node #2, Fy= -5abc"         << "0 -5";
        QTest::newRow("unchanged") << NodalLoad{5, .5f} << QStringList{"5", "0.5"} << "" << "5 0.5";
        // clang-format on
    }

    void applyLogs() {
        const auto [before, typed, line] =
            fetch<NodalLoad, QStringList, QString>("before", "typed", "line");
        Harness h;
        threeNodes(h.app.model, before);
        LoadsDialog d(h.app, nullptr, 2);
        fill({d.fxBox(), d.fyBox()}, typed);
        d.applyButton()->click();
        QTEST(load(h.app.model, 2), "after");
        QCOMPARE(h.app.log.runs().empty(), line.isEmpty());
        if (!line.isEmpty()) checkLogged(h, line, LogColour::Navy);
        // Every Apply, logged or not, redraws, marks the results stale and moves on a node.
        QVERIFY(h.app.model.changed && h.shell.redraws == 1 && d.nodeBox()->currentText() == "3");
    }

    void keyboardAndList() {
        Harness h;
        threeNodes(h.app.model, {0, -2.5f});
        LoadsDialog d(h.app);
        QVERIFY(showAndWait(d));
        // By keyboard: Enter goes from the node to Fx, Fy and Apply, and there applies.
        QVERIFY(
            enterThrough({d.nodeBox(), d.fxBox(), d.fyBox(), d.applyButton()}, {"3", "7", "3"}));
        QVERIFY(h.app.log.runs().empty());  // Enter moved the focus only
        QTest::keyClick(d.applyButton(), Qt::Key_Return);
        QCOMPARE(h.app.log.lastLine(), std::string(" New loads on node #3, Fx= 7, Fy= 3"));
        // Wrapped from the last node to the first, ready to be typed.
        QCOMPARE(shown(d), QString("1:  |  / Nodes with loads on: 2 [2 3]"));
        QVERIFY(hasFocus(d.fxBox()));
        // Picking from the list shows that node; Delete removes its load and moves on.
        d.loadedList()->setCurrentRow(0);
        QCOMPARE(shown(d), QString("2:  | -2.5 / Nodes with loads on: 2 [*2 3]"));
        d.deleteButton()->click();
        checkLogged(h, "Loads deleted on node #2", LogColour::Green);
        QCOMPARE(shown(d), QString("3: 7 | 3 / Nodes with loads on: 1 [*3]"));
        QVERIFY(typingReplaces(d.fxBox()));  // the next load, ready to be typed over
    }

    void refusals_data() {
        refusalColumns();  // typed: node, Fx, Fy; focus 3: Apply
        const QString node = unacceptable("node number"), fx = unacceptable("Fx");
        // Delete goes by what the boxes show, even when the node has a stored load.
        const QString noLoad = "There is no load to delete on node #2";
        // clang-format off
        QTest::newRow("node 4 of 3")   << false << QStringList{"4", "1", "1"}     << 0 << node;
        QTest::newRow("delete node 9") << true  << QStringList{"9", "1", "1"}     << 0 << node;
        QTest::newRow("Fx 1e999")      << false << QStringList{"2", "1e999", "1"} << 1 << fx;
        // Not zero, yet zero in single precision: it would be logged but not stored.
        QTest::newRow("Fx 1E-50")      << false << QStringList{"2", "1E-50", "1"} << 1 << fx;
        QTest::newRow("delete zeros")  << true  << QStringList{"2", "0", "abc"}   << 3 << noLoad;
        // clang-format on
    }

    void refusals() {
        Harness h;
        threeNodes(h.app.model, {3, 4});
        LoadsDialog d(h.app);
        QVERIFY(showAndWait(d));
        // Clicked without leaving the node box, which would choose the node typed there.
        checkRefusal(h, {d.nodeBox(), d.fxBox(), d.fyBox()}, d.applyButton(), d.deleteButton(),
                     false);
        for (int n : {1, 2, 3, 4}) QCOMPARE(load(h.app.model, n), QString(n == 2 ? "3 4" : "0 0"));
        QVERIFY(!h.app.model.changed);
    }
};

QTEST_MAIN(TestLoadsDialog)
#include "test_loads_dialog.moc"
