#include <QtTest>

#include "app/pointer_input.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

// The default view on a 20 x 15 cm area draws model (x, y) at (x + 2, 13 - y).
namespace {

constexpr PointerButton kLeft = PointerButton::Left;

struct Screen {
    Harness h;
    PointerInput input{h.app};
    PointerRequest last;
    Screen() {
        h.app.view.SW = 20;
        h.app.view.SH = 15;
    }
    // Pointer positions given as model points.
    static double X(double x) { return x + 2; }
    static double Y(double y) { return 13 - y; }
    void move(double x, double y) { input.move(X(x), Y(y)); }
    void drag(double x1, double y1, double x2, double y2) {
        move(x1, y1);
        input.press(kLeft, X(x1), Y(y1));
        move((x1 + x2) / 2, (y1 + y2) / 2);
        move(x2, y2);
        last = input.release(kLeft, X(x2), Y(y2));
    }
};

}  // namespace

class TestPointerInput : public QObject {
    Q_OBJECT
private slots:
    void clickEntersAPoint_data();
    void clickEntersAPoint();
    void dragsDefineElements();
    void hitTestAndObjectMenu_data();
    void hitTestAndObjectMenu();
    void bandLabel();
    void doubleClickCyclesConstraints();
    void panAndZoomWindow();
};

void TestPointerInput::clickEntersAPoint_data() {
    QTest::addColumn<bool>("grid");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("readoutX");
    QTest::addColumn<QString>("line");
    QTest::newRow("grid on snaps") << true << 2.4 << 0.6 << "x = 2"
                                   << "New node #1, x= 2, y= 1, Free";
    QTest::newRow("grid off rounds") << false << 1.234567 << -0.5 << "x = 1.23457"
                                     << "New node #1, x= 1.2346, y=-0.5, Free";
    // Far from the origin the read-out keeps its decimals: it is rounded in doubles.
    QTest::newRow("far from the origin") << false << 30000.123456 << 0.0 << "x = 30000.12346"
                                         << "New node #1, x= 30000.12, y= 0, Free";
}

void TestPointerInput::clickEntersAPoint() {
    QFETCH(bool, grid);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QString, readoutX);
    QFETCH(QString, line);
    Screen s;
    s.h.app.settings.nai_grid = grid;
    s.move(x, y);
    QCOMPARE(QString::fromStdString(s.input.readoutX), readoutX);
    s.input.press(kLeft, Screen::X(x), Screen::Y(y));
    s.input.release(kLeft, Screen::X(x), Screen::Y(y));
    QCOMPARE(s.h.app.model.nodeCount, 1);  // a click makes one node only
    QCOMPARE(QString::fromStdString(s.h.app.log.lastLine()), " " + line);
}

void TestPointerInput::dragsDefineElements() {
    Screen s;
    Model& m = s.h.app.model;
    // Without a group the main one is asked for first; the element follows the dialog.
    s.h.prompter.queueAnswer(Answer::Yes);
    s.drag(0, 0, 4, 0);
    const std::string noGroup =
        "Before defining an element, the main E,A Element Group must have been defined (#1).";
    QCOMPARE(s.h.prompter.questions().at(0).text,
             noGroup +
                 "\r\nElements defined on screen always belong to the main E,A Element "
                 "Group.\r\n\r\nDo you want to define the main E,A Element Group now?");
    QCOMPARE(s.last.kind, PointerRequest::Kind::GroupsDialog);
    QCOMPARE(m.elementCount, 0);
    addGroup(m, 1, 1);  // what the groups dialog does
    s.input.finishPendingElement();
    const std::vector<std::string> expected{
        " New node #1, x= 0, y= 0, Free", " New node #2, x= 4, y= 0, Free", " " + noGroup,
        " New element #1, Node i: #1, Node j: #2, E,A Group: #1, P2 Type"};
    const std::vector<std::string> lines = s.h.app.log.lines();
    QCOMPARE(std::vector(lines.end() - 4, lines.end()), expected);
    // Drags that define nothing.
    s.drag(0, 0, 0, 0);  // back onto the start node
    s.drag(4, 0, 0, 0);  // the two are joined already, in the other direction
    s.h.app.currentView = ViewMode::NDiagram;
    s.drag(7, 7, 8, 8);  // in another view
    QCOMPARE(s.h.app.log.lines(), lines);
    // From an existing node to a new one, and between two existing nodes.
    s.h.app.currentView = ViewMode::Model;
    s.drag(4, 0, 4, 3);
    s.drag(4, 3, 0, 0);
    QCOMPARE(m.nodeCount, 3);
    QCOMPARE(m.elementCount, 3);
    QCOMPARE(m.nodeI(3), 3);
    QCOMPARE(m.nodeJ(3), 1);
    // With no room for a node, a drag from empty space to a node defines nothing.
    while (m.nodeCount < kMaxNodes) addNode(m, float(m.nodeCount % 10), float(m.nodeCount / 10));
    s.drag(12, 12, 3, 0);
    QCOMPARE(m.nodeCount, kMaxNodes);
    QCOMPARE(m.elementCount, 3);
}

// The pointer 0.14 or 0.16 cm from a node or an element, which 0.15 cm reach.
void TestPointerInput::hitTestAndObjectMenu_data() {
    QTest::addColumn<bool>("grid");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("node");
    QTest::addColumn<int>("element");
    QTest::newRow("higher node number wins") << false << 6.05 << 5.02 << 5 << 0;
    QTest::newRow("node within reach") << false << 5.86 << 5.0 << 4 << 0;
    QTest::newRow("node out of reach") << false << 5.84 << 5.0 << 0 << 0;
    QTest::newRow("grid point picks its node") << true << 6.4 << 4.6 << 4 << 0;
    // A node off the grid is still picked near where it is drawn, not given a neighbour.
    QTest::newRow("off-grid node, grid on") << true << 6.2 << 5.05 << 5 << 0;
    QTest::newRow("element within reach") << false << 2.0 << 0.14 << 0 << 1;
    QTest::newRow("element out of reach") << false << 2.0 << 0.16 << 0 << 0;
    QTest::newRow("vertical element") << false << 0.1 << 1.5 << 0 << 2;
    QTest::newRow("beyond an element's end") << false << 4.1 << 0.0 << 2 << 1;
}

void TestPointerInput::hitTestAndObjectMenu() {
    QFETCH(bool, grid);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, node);
    QFETCH(int, element);
    Screen s;
    Model& m = s.h.app.model;
    s.h.app.settings.nai_grid = grid;
    for (auto [nx, ny] : {std::pair{0.f, 0.f}, {4.f, 0.f}, {0.f, 3.f}, {6.f, 5.f}, {6.1f, 5.05f}})
        addNode(m, nx, ny);
    addGroup(m, 1, 1);
    addElement(m, 1, 2);
    addElement(m, 1, 3);
    s.move(x, y);
    QCOMPARE(s.input.nodeUnderPointer(), node);
    QCOMPARE(s.input.elementUnderPointer(), element);
    QCOMPARE(s.input.overlay().nodeLabel, node ? std::to_string(node) : std::string());
    QCOMPARE(s.input.overlay().elementLabel, element ? std::to_string(element) : std::string());
    const PointerRequest menu = s.input.release(PointerButton::Right, 0, 0);
    QCOMPARE(menu.kind,
             node || element ? PointerRequest::Kind::ObjectMenu : PointerRequest::Kind::None);
    QCOMPARE(menu.node, node);
    QCOMPARE(menu.element, element);
}

void TestPointerInput::bandLabel() {
    Screen s;
    s.h.app.settings.Nai_Apolites_Sint = true;
    addNode(s.h.app.model, 1, 1);
    s.move(1, 1);
    s.input.press(kLeft, Screen::X(1), Screen::Y(1));
    s.move(3.4, -0.6);
    QVERIFY(s.input.overlay().bandShown);
    QCOMPARE(s.input.overlay().bandLabel, std::string("3, -1\n@ 2, -2"));
    QCOMPARE(s.input.overlay().bandX2, Screen::X(3));  // the snapped end
    s.input.release(kLeft, Screen::X(3.4), Screen::Y(-0.6));
    QVERIFY(!s.input.overlay().bandShown);
}

void TestPointerInput::doubleClickCyclesConstraints() {
    Screen s;
    Model& m = s.h.app.model;
    addNode(m, 0, 0);
    m.nodes.Ky[1] = 50;
    s.move(0.3, 0.2);
    const std::pair<float, float> cycle[] = {{1, 0}, {0, 1}, {1, 1}, {0, 0}};
    for (const auto& [cx, cy] : cycle) {
        s.input.doubleClick();
        QCOMPARE(m.nodes.cx[1], cx);
        QCOMPARE(m.nodes.cy[1], cy);
    }
    // Fixing y took its spring away, which the log says.
    QCOMPARE(m.nodes.Ky[1], 0.0f);
    QCOMPARE(s.h.app.log.lastLine(),
             std::string(" * Node #1: spring removed from the fixed direction (Ky= 50)"));
    s.move(5, 5);  // more than 2 cm from every node
    s.input.doubleClick();
    QCOMPARE(m.nodes.cx[1], 0.0f);
}

void TestPointerInput::panAndZoomWindow() {
    Screen s;
    ViewTransform& view = s.h.app.view;
    s.h.app.window.mode = InteractionMode::Pan;
    s.input.press(kLeft, 5, 5);
    s.input.move(6, 7);
    QCOMPARE(view.offsetX, -3.0);  // the picture follows the pointer
    s.input.release(kLeft, 6, 7);
    QCOMPARE(view.historyTop(), 1);
    QCOMPARE(s.h.app.model.nodeCount, 0);  // no node from a drag in a mode
    QCOMPARE(s.input.release(PointerButton::Right, 6, 7).kind, PointerRequest::Kind::ModeMenu);

    s.h.app.window.mode = InteractionMode::ZoomWindow;
    s.input.press(kLeft, 2, 2);
    s.input.move(12, 7);
    QCOMPARE(s.input.overlay().rectangleWidth, 10.0);
    s.input.release(kLeft, 12, 7);
    QVERIFY(!s.input.overlay().rectangleShown);
    QCOMPARE(view.historyTop(), 2);
    QCOMPARE(view.scale, 50.0f);  // 10 cm of picture now fill the 20 cm width
}

QTEST_APPLESS_MAIN(TestPointerInput)
#include "test_pointer_input.moc"
