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
    void refusals_data() {
        refusalColumns();  // typed: number, x, y, Kx, Ky; focus 5: the button
        const QString max = "The maximum number of nodes that can be defined is 100.";
        const QString taken = "At (4, 0) there is already node #2. ";
        const QString neg = "The elastic constants cannot have negative values.";
        const QString none = "There is no node to be deleted #3.";
        const QString num = unacceptable("node number"), x = unacceptable("coordinate x");
        const QString y = unacceptable("coordinate y"), kx = unacceptable("elastic constant Kx");
        // Overflowing values are refused before the other checks; a place taken before a
        // number that cannot be used.
        // clang-format off
        QTest::newRow("101")     << false << QStringList{"101"}                     << 5 << max;
        QTest::newRow("x 1e999") << false << QStringList{"3", "1e999"}              << 1 << x;
        QTest::newRow("y 1e39")  << false << QStringList{"3", "9", "1e39"}          << 2 << y;
        QTest::newRow("y -2e38") << false << QStringList{"3", "9", "-2e38"}         << 2 << y;
        QTest::newRow("Kx 1e-40") << false << QStringList{"3", "9", "", "1e-40"}    << 3 << kx;
        QTest::newRow("taken")   << false << QStringList{"2.5", "4"}                << 1 << taken;
        QTest::newRow("2.5")     << false << QStringList{"2.5", "9"}                << 0 << num;
        QTest::newRow("Ky < 0")  << false << QStringList{"3", "9", "", "", "-.5"}   << 4 << neg;
        QTest::newRow("Kx 1e40") << false << QStringList{"3", "9", "", "1e40"}      << 3 << kx;
        QTest::newRow("del 3")   << true  << QStringList{"3"}                       << 5 << none;
        QTest::newRow("del 8")   << true  << QStringList{"8"}                       << 0 << num;
        // clang-format on
    }

    void refusals() {
        const auto [remove, typed, focus, message] = fetchRefusal();
        Harness h;
        twoNodes(h.app.model);
        NodesDialog d(h.app);
        QVERIFY(showAndWait(d));
        fill({d.numberBox(), d.xBox(), d.yBox(), d.kxBox(), d.kyBox()}, typed);
        QPushButton* button = press(remove ? d.deleteButton() : d.applyButton());
        checkRefused(h, message);
        QVERIFY(h.app.model.nodeCount == 2 && !h.app.model.changed);
        QWidget* const at[] = {d.numberBox(), d.xBox(), d.yBox(), d.kxBox(), d.kyBox(), button};
        QVERIFY(hasFocus(at[focus]));
    }

    void changeCreateAndConstrain() {
        Harness h;
        twoNodes(h.app.model);
        NodesDialog d(h.app, nullptr, 2);
        QVERIFY(showAndWait(d));
        QCOMPARE(shown(d), QString("2 (Existing) 4 0  50 oo1"));  // a 0 spring shows empty
        pick(d.numberBox(), "1");
        QCOMPARE(shown(d), QString("1 (Existing) 0 0   xx4"));
        type(d.yBox(), "3");
        d.fixXBox()->click();
        type(d.kxBox(), "50");
        d.applyButton()->click();
        checkLogged(h, "* Node #1, x= 0, y= 3, Constraints: ox, Kx= 50", LogColour::Navy);
        d.applyButton()->click();  // on to node 2, then past the last to the new number
        QCOMPARE(h.app.log.lastLine(), std::string(" * Node #2, x= 4, y= 0, Free, Ky= 50"));
        QCOMPARE(h.app.model.nodes.Fy[2], -3.0f);  // the load stays
        QCOMPARE(shown(d), QString("3 (New)     oo1"));
        // By keyboard: Enter goes from the number to x, y and Apply, and there applies.
        QVERIFY(enterThrough({d.numberBox(), d.xBox(), d.yBox(), d.applyButton()},
                             {"3", "1e-5", "-7"}));
        fill({d.kxBox(), d.kyBox()}, {"3", "4.5"});
        QCOMPARE(h.app.model.nodeCount, 2);  // Enter moved the focus only
        QTest::keyClick(d.applyButton(), Qt::Key_Return);
        checkLogged(h, "New node #3, x= 1E-05, y=-7, Free, Kx= 3, Ky= 4.5", LogColour::Navy);
        QVERIFY(hasFocus(d.xBox()));  // ready for the next node
        QCOMPARE(h.shell.redraws, 3);
        QCOMPARE(shown(d), QString("4 (New)     oo1"));
        type(d.kxBox(), "50");
        d.fixXBox()->click();  // fixing x empties its spring
        QCOMPARE(shown(d), QString("4 (New)     xo2"));
        QTest::keyClicks(d.kxBox(), "7");  // a spring frees the direction
        d.fixYBox()->click();
        QCOMPARE(shown(d), QString("4 (New)   7  ox3"));
        // Clicking the picture goes round: y -> both -> free -> x.
        for (const QString after : {"xx4", "oo1", "xo2"}) {
            QTest::mouseClick(d.picture(), Qt::LeftButton);
            QCOMPARE(shown(d).right(3), after);
        }
    }

    void deleteWithElements() {
        Harness h;
        Model& m = h.app.model;
        twoNodes(m);
        for (float x : {2, 6}) addNode(m, x, 3);
        addGroup(m, 1, 1);
        for (auto [i, j] : {std::pair{1, 2}, {2, 3}, {3, 4}, {4, 2}}) addElement(m, i, j);
        h.app.currentView = ViewMode::NDiagram;
        const std::string warning =
            "There are elements connected to the node, that must also be deleted.";
        NodesDialog d(h.app, nullptr, 2);
        h.prompter.queueAnswer(Answer::Cancel);
        d.deleteButton()->click();
        QCOMPARE(h.app.log.lastLine(), " " + warning);
        QCOMPARE(m.nodeCount + m.elementCount, 8);  // nothing deleted
        h.prompter.queueAnswer(Answer::Ok);
        d.deleteButton()->click();
        const auto& q = h.prompter.questions();
        QVERIFY(q.size() == 2 && q[1].buttons == MessageButtons::OkCancel);  // once each time
        QCOMPARE(q[1].text, warning + "\r\nDo you want the deletion process to proceed?");
        checkLogged(h, "Node deleted: #2. Nodes renumbered: #3 to #4.", LogColour::Green);
        QCOMPARE(m.elementCount, 1);
        QCOMPARE(m.nodeI(1) * 10 + m.nodeJ(1), 23);  // the old element 3-4
        QCOMPARE(h.app.currentView, ViewMode::Model);
        QCOMPARE(shown(d), QString("2 (Existing) 2 3   oo1"));  // the former node 3
    }
};

QTEST_MAIN(TestNodesDialog)
#include "test_nodes_dialog.moc"
