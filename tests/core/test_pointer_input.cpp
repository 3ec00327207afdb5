#include "app/pointer_input.h"
#include "model/deletion.h"
#include "test_support.h"

using namespace vortak::test;

namespace {

constexpr PointerButton kLeft = PointerButton::Left;

// Pointer positions are given as model points: the default view draws model (x, y) at
// (x + 2, 13 - y) on its 20 x 15 cm area.
struct Screen {
    Harness h;
    Model& m = h.app.model;
    PointerInput input{h.app};
    void move(double x, double y) { input.move(x + 2, 13 - y); }
    void press(double x, double y) { input.press(kLeft, x + 2, 13 - y); }
    PointerRequest release(double x, double y) { return input.release(kLeft, x + 2, 13 - y); }
    PointerRequest drag(double x1, double y1, double x2, double y2) {
        press(x1, y1);
        move(x2, y2);
        return release(x2, y2);
    }
};

}  // namespace

class TestPointerInput : public QObject {
    Q_OBJECT
private slots:
    void clickEntersAPoint_data() {
        columns<QPointF, QString, QString>("point", "readoutX", "line");
        QTest::newRow("rounded") << QPointF(1.234567, -0.5) << "x = 1.23457"
                                 << "New node #1, x= 1.2346, y=-0.5, Free";
        // Far from the origin the read-out keeps its decimals: it is rounded in doubles.
        QTest::newRow("far from the origin") << QPointF(30000.123456, 0) << "x = 30000.12346"
                                             << "New node #1, x= 30000.12, y= 0, Free";
    }

    void clickEntersAPoint() {
        const auto [point, line] = fetch<QPointF, QString>("point", "line");
        Screen s;
        s.h.app.settings.nai_grid = false;
        s.move(point.x(), point.y());
        s.press(point.x(), point.y());
        s.release(point.x(), point.y());
        QTEST(QString::fromStdString(s.input.readoutX), "readoutX");
        QCOMPARE(s.h.app.model.nodeCount, 1);  // a click makes one node only
        QCOMPARE(QString::fromStdString(s.h.app.log.lastLine()), " " + line);
    }

    void dragsDefineElements() {
        Screen s;
        s.h.app.settings.Nai_Apolites_Sint = true;
        // Without a group the main one is asked for first; the element follows the dialog.
        s.h.prompter.queueAnswer(Answer::Yes);
        QCOMPARE(s.drag(0, 0, 4, 0).kind, PointerRequest::Kind::GroupsDialog);
        addGroup(s.m, 1, 1);  // what the groups dialog does
        s.input.finishPendingElement();
        QCOMPARE(s.h.app.log.lastLine(),
                 std::string(" New element #1, Node i: #1, Node j: #2, E,A Group: #1, P2 Type"));
        const std::vector<std::string> lines = s.h.app.log.lines();
        s.drag(0, 0, 0, 0);  // back onto the start node
        s.drag(4, 0, 0, 0);  // the two are joined already, in the other direction
        s.h.app.currentView = ViewMode::NDiagram;
        s.drag(7, 7, 8, 8);                    // in another view
        QCOMPARE(s.h.app.log.lines(), lines);  // none of these defined anything
        // From an existing node to a new one, whose snapped point the rubber band shows; then
        // between two existing nodes.
        s.h.app.currentView = ViewMode::Model;
        s.press(4, 0);
        s.move(4.4, 2.6);
        QCOMPARE(s.input.overlay().bandLabel, std::string("4, 3\n@ 0, 3"));
        s.release(4.4, 2.6);
        s.drag(4, 3, 0, 0);
        QVERIFY(s.m.elementCount == 3 && s.m.nodeI(3) == 3 && s.m.nodeJ(3) == 1);
        // With no room for a node, a drag from empty space to a node defines nothing.
        while (s.m.nodeCount < kMaxNodes)
            addNode(s.m, float(s.m.nodeCount % 10), float(s.m.nodeCount / 10));
        s.drag(12, 12, 3, 0);
        QVERIFY(s.m.nodeCount == kMaxNodes && s.m.elementCount == 3);
    }

    // The pointer 0.14 or 0.16 cm from a node or an element, which 0.15 cm reach.
    void hitTestAndObjectMenu_data() {
        columns<bool, QPointF, int, int>("grid", "point", "node", "element");
        QTest::newRow("higher node number wins") << false << QPointF(6.05, 5.02) << 4 << 0;
        QTest::newRow("node out of reach") << false << QPointF(5.84, 5.0) << 0 << 0;
        QTest::newRow("grid point picks its node") << true << QPointF(6.4, 4.6) << 3 << 0;
        // A node off the grid is still picked near where it is drawn, not given a neighbour.
        QTest::newRow("off-grid node, grid on") << true << QPointF(6.2, 5.05) << 4 << 0;
        QTest::newRow("element within reach") << false << QPointF(2.0, 0.14) << 0 << 1;
        QTest::newRow("element out of reach") << false << QPointF(2.0, 0.16) << 0 << 0;
        QTest::newRow("beyond an element's end") << false << QPointF(4.1, 0.0) << 2 << 1;
    }

    void hitTestAndObjectMenu() {
        const auto [grid, point] = fetch<bool, QPointF>("grid", "point");
        Screen s;
        s.h.app.settings.nai_grid = grid;
        for (auto [nx, ny] : {std::pair{0.f, 0.f}, {4.f, 0.f}, {6.f, 5.f}, {6.1f, 5.05f}})
            addNode(s.h.app.model, nx, ny);
        addGroup(s.h.app.model, 1, 1);
        addElement(s.h.app.model, 1, 2);
        s.move(point.x(), point.y());
        const PointerRequest menu =
            s.input.release(PointerButton::Right, point.x() + 2, 13 - point.y());
        QCOMPARE(menu.kind == PointerRequest::Kind::ObjectMenu, menu.node || menu.element);
        QTEST(menu.node, "node");
        QTEST(menu.element, "element");
    }

    void doubleClickCyclesConstraints() {
        Screen s;
        addNode(s.m, 0, 0);
        s.m.nodes.Ky[1] = 50;
        s.move(0.3, 0.2);
        QList<float> cycle;  // cx, cy after each double click
        for (int k = 0; k < 4; ++k) {
            s.input.doubleClick();
            cycle << s.m.nodes.cx[1] << s.m.nodes.cy[1];
        }
        QCOMPARE(cycle, (QList<float>{1, 0, 0, 1, 1, 1, 0, 0}));
        // Fixing y took its spring away, which the log says.
        QCOMPARE(s.m.nodes.Ky[1], 0.0f);
        QCOMPARE(s.h.app.log.lastLine(),
                 std::string(" * Node #1: spring removed from the fixed direction (Ky= 50)"));
    }

    void panMode() {
        Screen s;
        const ViewTransform& view = s.h.app.view;
        s.h.app.window.mode = InteractionMode::Pan;
        s.drag(3, 8, 4, 6);            // from (5, 5) to (6, 7) on the picture
        QCOMPARE(view.offsetX, -3.0);  // the picture followed the pointer
        QCOMPARE(view.historyTop(), 1);
        QCOMPARE(s.h.app.model.nodeCount, 0);  // no node from a drag in a mode
        QCOMPARE(s.input.release(PointerButton::Right, 6, 7).kind, PointerRequest::Kind::ModeMenu);
    }

    // Esc during a drag, or a release off the drawing area, makes nothing of the release: no
    // end node, no element, no log line. A pan goes back to where it started on Esc.
    void abandonedDrags() {
        Screen s;
        addNode(s.m, 0, 0);
        addNode(s.m, 4, 0);
        addGroup(s.m, 1, 1);
        const std::vector<std::string> lines = s.h.app.log.lines();
        s.press(0, 0);
        s.move(2, 3);
        s.input.abandon();
        QVERIFY(!s.input.overlay().bandShown);
        s.release(4, 0);  // onto node 2, yet joins nothing
        s.press(0, 0);
        s.move(6, 6);
        s.input.release(kLeft, 8, 7, false);  // over the log: would be a new node and a bar
        QVERIFY(s.m.nodeCount == 2 && s.m.elementCount == 0 && s.h.app.log.lines() == lines);
        // The node a press on empty space made stays, as after a click; the release adds nothing.
        s.press(8, 8);
        s.move(9, 9);
        s.input.release(kLeft, 9, 9, false);
        QVERIFY(s.m.nodeCount == 3 && s.m.elementCount == 0);
        QCOMPARE(s.h.app.log.lines().size(), lines.size() + 1);

        s.h.app.window.mode = InteractionMode::Pan;
        const ViewTransform& view = s.h.app.view;
        s.press(3, 8);
        s.move(4, 6);
        QCOMPARE(view.offsetX, -3.0);
        s.input.abandon();
        s.release(4, 6);
        QVERIFY(view.offsetX == -2.0 && view.historyTop() == 0);
    }

    // The markers and the object menu follow the model as it is: a node deleted under the
    // pointer, and the node renumbered into its number elsewhere, are not offered.
    void hoverFollowsTheModel() {
        Screen s;
        s.h.app.settings.nai_grid = false;
        for (auto [x, y] : {std::pair{0.f, 0.f}, {4.f, 0.f}, {6.f, 5.f}}) addNode(s.m, x, y);
        addGroup(s.m, 1, 1);
        addElement(s.m, 1, 2);
        addElement(s.m, 2, 3);
        s.move(4, 0);
        QCOMPARE(s.input.overlay().nodeLabel, std::string("2"));
        QCOMPARE(s.input.overlay().elementLabel, std::string("1"));
        DeleteElement(s.m, s.h.app.log, 1);  // element 2 (4,0)-(6,5) becomes number 1
        DeleteNode(s.m, s.h.app.log, 1);     // node 2 becomes number 1, node 3 number 2
        s.input.refresh();
        QCOMPARE(s.input.overlay().nodeLabel, std::string("1"));
        QCOMPARE(s.input.overlay().elementX1, 6.0);  // the highlight moved with the renumbering
        const PointerRequest menu = s.input.release(PointerButton::Right, 2, 13);
        QVERIFY(menu.node == 0 && menu.element == 0);  // at (0, 0) nothing remains
    }

    // The rubber band runs from the start node, also one off the grid, to the node a release
    // would join it to, and its label gives that element's end.
    void bandShowsTheElement() {
        Screen s;
        s.h.app.settings.Nai_Apolites_Sint = true;
        addNode(s.m, 4.3f, 0.2f);
        addNode(s.m, 10.3f, 1.1f);
        s.press(4.3, 0.2);
        s.move(8.4, -0.3);
        const PointerOverlay& o = s.input.overlay();
        QVERIFY(std::fabs(o.bandX1 - 6.3) < 1e-6 && std::fabs(o.bandY1 - 12.8) < 1e-6);
        QCOMPARE(o.bandLabel, std::string("8, 0\n@ 3.7, -0.2"));
        s.move(10.3, 1.1);
        QCOMPARE(o.bandLabel, std::string("10.3, 1.1\n@ 6, 0.9"));
    }
};

QTEST_APPLESS_MAIN(TestPointerInput)
#include "test_pointer_input.moc"
