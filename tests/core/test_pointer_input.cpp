#include <QtTest>

#include "app/pointer_input.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

// The default view on a 20 x 15 cm area draws model (x, y) at (x + 2, 13 - y).
namespace {

constexpr PointerButton kLeft = PointerButton::Left;
constexpr PointerButton kRight = PointerButton::Right;

struct Screen {
    Harness h;
    PointerInput input{h.app};
    Screen() {
        h.app.view.SW = 20;
        h.app.view.SH = 15;
    }
    // Pointer positions given as model points.
    static double X(double x) { return x + 2; }
    static double Y(double y) { return 13 - y; }
    void press(double x, double y, PointerButton b = kLeft) { last = input.press(b, X(x), Y(y)); }
    void move(double x, double y) { input.move(X(x), Y(y)); }
    void release(double x, double y, PointerButton b = kLeft) {
        last = input.release(b, X(x), Y(y));
    }
    void drag(double x1, double y1, double x2, double y2) {
        move(x1, y1);
        press(x1, y1);
        move((x1 + x2) / 2, (y1 + y2) / 2);
        move(x2, y2);
        release(x2, y2);
    }
    std::vector<std::string> log() const {
        std::vector<std::string> lines = h.app.log.lines();
        lines.erase(lines.begin());
        return lines;
    }
    PointerRequest last;
};

}  // namespace

class TestPointerInput : public QObject {
    Q_OBJECT
private slots:
    void clickEntersAPoint_data();
    void clickEntersAPoint();
    void dragDefinesElement();
    void releasesThatCreateNothing();
    void noGroupAsksFirst();
    void fullModelCreatesNothing();
    void nodeHitTest();
    void elementHitTest();
    void objectMenu();
    void bandLabel();
    void doubleClickCyclesConstraints();
    void panAndZoomWindow();
};

void TestPointerInput::clickEntersAPoint_data() {
    QTest::addColumn<bool>("grid");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<float>("nodeX");
    QTest::addColumn<float>("nodeY");
    QTest::addColumn<QString>("readoutX");
    QTest::addColumn<QString>("line");
    QTest::newRow("grid on snaps") << true << 2.4 << 0.6 << 2.0f << 1.0f << "x = 2"
                                   << "New node #1, x= 2, y= 1, Free";
    QTest::newRow("grid off rounds")
        << false << 1.234567 << -0.5 << 1.2346f << -0.5f << "x = 1.23457"
        << "New node #1, x= 1.2346, y=-0.5, Free";
    QTest::newRow("far from the origin")
        << false << 30000.123456 << 0.0 << 30000.12f << 0.0f << "x = 30000.12346"
        << "New node #1, x= 30000.12, y= 0, Free";
}

void TestPointerInput::clickEntersAPoint() {
    QFETCH(bool, grid);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(float, nodeX);
    QFETCH(float, nodeY);
    QFETCH(QString, readoutX);
    QFETCH(QString, line);
    Screen s;
    s.h.app.settings.nai_grid = grid;
    s.move(x, y);
    QCOMPARE(QString::fromStdString(s.input.readoutX), readoutX);
    s.press(x, y);
    s.release(x, y);
    QCOMPARE(s.h.app.model.nodeCount, 1);  // a click makes one node only
    QCOMPARE(s.h.app.model.nodes.x[1], nodeX);
    QCOMPARE(s.h.app.model.nodes.y[1], nodeY);
    QCOMPARE(QString::fromStdString(s.log().back()), " " + line);
    QCOMPARE(s.h.app.log.runs().back().colour, LogColour::Navy);
    QVERIFY(s.h.app.model.changed);
}

void TestPointerInput::dragDefinesElement() {
    Screen s;
    addGroup(s.h.app.model, 1, 1);
    s.drag(0, 0, 4, 0);
    QCOMPARE(s.h.app.model.nodeCount, 2);
    QCOMPARE(s.h.app.model.elementCount, 1);
    QCOMPARE(s.h.app.model.groupOf(1), 1);
    const std::vector<std::string> expected{" New node #1, x= 0, y= 0, Free",
                                            " New node #2, x= 4, y= 0, Free",
                                            " New element #1, Node i: #1, Node j: #2, E,A "
                                            "Group: #1, P2 Type"};
    QCOMPARE(s.log(), expected);
    // From an existing node to a new one, and between two existing nodes.
    s.drag(4, 0, 4, 3);
    s.drag(4, 3, 0, 0);
    QCOMPARE(s.h.app.model.elementCount, 3);
    QCOMPARE(s.h.app.model.nodeI(3), 3);
    QCOMPARE(s.h.app.model.nodeJ(3), 1);
}

void TestPointerInput::releasesThatCreateNothing() {
    Screen s;
    addGroup(s.h.app.model, 1, 1);
    s.drag(0, 0, 4, 0);
    const std::size_t logged = s.h.app.log.runs().size();
    s.drag(0, 0, 0, 0);  // back onto the start node
    s.drag(4, 0, 0, 0);  // the two are joined already, in the other direction
    QCOMPARE(s.h.app.model.elementCount, 1);
    QCOMPARE(s.h.app.model.nodeCount, 2);
    QCOMPARE(s.h.app.log.runs().size(), logged);
    // In another view a press creates nothing.
    s.h.app.currentView = ViewMode::NDiagram;
    s.drag(7, 7, 8, 8);
    QCOMPARE(s.h.app.model.nodeCount, 2);
}

void TestPointerInput::noGroupAsksFirst() {
    Screen s;
    addNode(s.h.app.model, 0, 0);
    addNode(s.h.app.model, 4, 0);
    s.h.prompter.queueAnswer(Answer::Yes);
    s.drag(0, 0, 4, 0);
    const std::string first =
        "Before defining an element, the main E,A Element Group must have been defined (#1).";
    QCOMPARE(s.log().back(), " " + first);
    QCOMPARE(s.h.app.log.runs().back().colour, LogColour::Red);
    QCOMPARE(s.h.prompter.questions().at(0).text,
             first +
                 "\r\nElements defined on screen always belong to the main E,A Element "
                 "Group.\r\n\r\nDo you want to define the main E,A Element Group now?");
    QCOMPARE(s.h.prompter.questions()[0].buttons, MessageButtons::YesNo);
    QCOMPARE(s.last.kind, PointerRequest::Kind::GroupsDialog);
    QCOMPARE(s.h.app.model.elementCount, 0);
    addGroup(s.h.app.model, 1, 1);  // what the groups dialog does
    s.input.finishPendingElement();
    QCOMPARE(s.h.app.model.elementCount, 1);
    // Answering No creates nothing.
    s.h.prompter.queueAnswer(Answer::No);
    s.h.app.model.groupCount = 0;
    s.drag(4, 0, 0, 0);
    QCOMPARE(s.last.kind, PointerRequest::Kind::None);
}

void TestPointerInput::fullModelCreatesNothing() {
    Screen s;
    addGroup(s.h.app.model, 1, 1);
    for (int n = 0; n < kMaxNodes; ++n) addNode(s.h.app.model, float(n % 10), float(n / 10));
    const std::size_t logged = s.h.app.log.runs().size();
    s.drag(12, 12, 3, 0);  // from empty space to node 4
    QCOMPARE(s.h.app.model.nodeCount, kMaxNodes);
    QCOMPARE(s.h.app.model.elementCount, 0);
    QCOMPARE(s.h.app.log.runs().size(), logged);
}

void TestPointerInput::nodeHitTest() {
    Screen s;
    s.h.app.settings.nai_grid = false;
    addNode(s.h.app.model, 1, 1);
    addNode(s.h.app.model, 1.1f, 1.05f);  // within 0.15 cm of the same places
    s.input.move(Screen::X(1.05) + 0.0, Screen::Y(1.02));
    QCOMPARE(s.input.nodeUnderPointer(), 2);  // the higher number wins
    s.input.move(Screen::X(1) - 0.14, Screen::Y(1));
    QCOMPARE(s.input.nodeUnderPointer(), 1);
    QCOMPARE(s.input.overlay().nodeLabel, std::string("1"));
    QVERIFY(s.input.overlay().markerOnNode);
    QCOMPARE(s.input.overlay().markerSize, 0.45);
    s.input.move(Screen::X(1) - 0.16, Screen::Y(1));
    QCOMPARE(s.input.nodeUnderPointer(), 0);
    QVERIFY(!s.input.overlay().markerOnNode && s.input.overlay().nodeLabel.empty());
    // With the grid on, a grid point picks its node, and a node off the grid is still
    // picked near its drawn position rather than getting a new node beside it.
    s.h.app.settings.nai_grid = true;
    s.input.move(Screen::X(1.4), Screen::Y(0.6));
    QCOMPARE(s.input.nodeUnderPointer(), 1);
    s.input.move(Screen::X(1.1) + 0.1, Screen::Y(1.05));
    QCOMPARE(s.input.nodeUnderPointer(), 2);
}

void TestPointerInput::elementHitTest() {
    Screen s;
    Model& m = s.h.app.model;
    addNode(m, 0, 0);
    addNode(m, 4, 0);
    addNode(m, 0, 3);
    addGroup(m, 1, 1);
    addElement(m, 1, 2);  // horizontal
    addElement(m, 1, 3);  // vertical
    s.input.move(Screen::X(2), Screen::Y(0) - 0.14);
    QCOMPARE(s.input.elementUnderPointer(), 1);
    QVERIFY(s.input.overlay().elementShown);
    QCOMPARE(s.input.overlay().elementLabel, std::string("1"));
    QVERIFY(std::fabs(s.input.overlay().elementLabelY - (13 - 0.4)) < 1e-9);
    s.input.move(Screen::X(2), Screen::Y(0) - 0.16);  // outside the grown rectangle
    QCOMPARE(s.input.elementUnderPointer(), 0);
    QVERIFY(!s.input.overlay().elementShown);
    s.input.move(Screen::X(0) + 0.1, Screen::Y(1.5));
    QCOMPARE(s.input.elementUnderPointer(), 2);
    s.input.move(Screen::X(4) + 0.1, Screen::Y(0));  // beyond the end, within 0.15
    QCOMPARE(s.input.elementUnderPointer(), 1);
}

void TestPointerInput::objectMenu() {
    Screen s;
    Model& m = s.h.app.model;
    addNode(m, 0, 0);
    addNode(m, 4, 0);
    addGroup(m, 1, 1);
    addElement(m, 1, 2);
    s.move(0, 0);  // on node 1 and on the element
    s.release(0, 0, kRight);
    QCOMPARE(s.last.kind, PointerRequest::Kind::ObjectMenu);
    QCOMPARE(s.last.node, 1);
    QCOMPARE(s.last.element, 1);
    s.move(2, 0);
    s.release(2, 0, kRight);
    QCOMPARE(s.last.node, 0);
    QCOMPARE(s.last.element, 1);
    s.move(2, 5);
    s.release(2, 5, kRight);
    QCOMPARE(s.last.kind, PointerRequest::Kind::None);
    s.h.app.window.mode = InteractionMode::Zoom;
    s.release(2, 5, kRight);
    QCOMPARE(s.last.kind, PointerRequest::Kind::ModeMenu);
}

void TestPointerInput::bandLabel() {
    Screen s;
    s.h.app.settings.Nai_Apolites_Sint = true;
    addNode(s.h.app.model, 1, 1);
    s.move(1, 1);
    s.press(1, 1);
    s.move(3.4, -0.6);
    const PointerOverlay& o = s.input.overlay();
    QVERIFY(o.bandShown);
    QCOMPARE(o.bandLabel, std::string("3, -1\n@ 2, -2"));
    QVERIFY(std::fabs(o.bandX2 - Screen::X(3)) < 1e-9 &&
            std::fabs(o.bandY2 - Screen::Y(-1)) < 1e-9);
    s.release(3.4, -0.6);
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
    QCOMPARE(s.log().back(), std::string(" * Node #1: spring removed from the fixed direction "
                                         "(Ky= 50)"));
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
    QCOMPARE(view.offsetY, 0.0);
    s.input.release(kLeft, 6, 7);
    QCOMPARE(view.historyTop(), 1);
    QCOMPARE(s.h.app.model.nodeCount, 0);  // no node from a drag in a mode

    s.h.app.window.mode = InteractionMode::ZoomWindow;
    s.input.press(kLeft, 2, 2);
    s.input.move(12, 7);
    QVERIFY(s.input.overlay().rectangleShown);
    QCOMPARE(s.input.overlay().rectangleWidth, 10.0);
    s.input.release(kLeft, 12, 7);
    QVERIFY(!s.input.overlay().rectangleShown);
    QCOMPARE(view.historyTop(), 2);
    QCOMPARE(view.scale, 50.0f);  // 10 cm of picture now fill the 20 cm width
}

QTEST_APPLESS_MAIN(TestPointerInput)
#include "test_pointer_input.moc"
