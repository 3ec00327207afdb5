#include <QtTest>

#include "log/message_log.h"
#include "model/deletion.h"
#include "model/model.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

Q_DECLARE_METATYPE(std::vector<int>)

class TestModel : public QObject {
    Q_OBJECT
private slots:
    void clearModelEmptiesEverything();
    void fillsToCapacity();
    void storedNumbersRoundToIndices();
    void deleteNode_data();
    void deleteNode();
    void deleteNodeMovesEveryField();
    void deleteElement_data();
    void deleteElement();
    void deleteGroup_data();
    void deleteGroup();
};

// Five nodes, each carrying distinct values, and elements 1-2, 2-3, 3-4, 4-5, 1-5.
static Model fiveNodeModel() {
    Model m;
    for (int n = 1; n <= 5; ++n) {
        const float f = float(n);
        m.setNode(n, Node{f, 10 * f, float(n % 2), 0, 100 * f, -100 * f, 1000 * f, 0});
    }
    m.nodeCount = 5;
    addGroup(m, 2.1e8, 0.01);
    addGroup(m, 7.0e7, 0.02);
    addGroup(m, 1.0e7, 0.03);
    addElement(m, 1, 2, 1);
    addElement(m, 2, 3, 2);
    addElement(m, 3, 4, 3);
    addElement(m, 4, 5, 3);
    addElement(m, 1, 5, 1);
    return m;
}

static std::vector<int> elementNodes(const Model& m) {
    std::vector<int> ends;
    for (int e = 1; e <= m.elementCount; ++e) {
        ends.push_back(m.nodeI(e));
        ends.push_back(m.nodeJ(e));
    }
    return ends;
}

static std::vector<int> elementGroups(const Model& m) {
    std::vector<int> groups;
    for (int e = 1; e <= m.elementCount; ++e) groups.push_back(m.groupOf(e));
    return groups;
}

void TestModel::clearModelEmptiesEverything() {
    Model m = fiveNodeModel();
    m.results.D[3] = 1.5;
    m.results.FL[2][2] = -4;
    m.results.FG[5][4] = 2;
    m.results.R[1][1] = 9;
    m.results.extremes[kMinStrain] = -1e-3;
    m.fileName = "/tmp/a.vok";
    m.changed = true;
    ClearModel(m);
    QCOMPARE(m.nodeCount, 0);
    QCOMPARE(m.elementCount, 0);
    QCOMPARE(m.groupCount, 0);
    const Model empty;
    QVERIFY(m.nodes.x == empty.nodes.x && m.nodes.Kx == empty.nodes.Kx &&
            m.nodes.Fy == empty.nodes.Fy);
    QVERIFY(m.elements.i == empty.elements.i && m.elements.group == empty.elements.group);
    QVERIFY(m.groups.E == empty.groups.E && m.groups.A == empty.groups.A);
    QCOMPARE(m.results.D[3], 0.0);
    QCOMPARE(m.results.FL[2][2], 0.0);
    QCOMPARE(m.results.FG[5][4], 0.0);
    QCOMPARE(m.results.R[1][1], 0.0);
    QCOMPARE(m.results.extremes[kMinStrain], 0.0);
    // The document state is the caller's.
    QCOMPARE(m.fileName, std::string("/tmp/a.vok"));
    QVERIFY(m.changed);
}

void TestModel::fillsToCapacity() {
    Model m;
    for (int n = 1; n <= kMaxNodes; ++n) addNode(m, float(n), 0);
    for (int g = 1; g <= kMaxGroups; ++g) addGroup(m, g, g);
    for (int e = 1; e <= kMaxElements; ++e) addElement(m, 1 + e % kMaxNodes, 1, 1 + e % 50);
    QCOMPARE(m.nodeCount, 100);
    QCOMPARE(m.elementCount, 200);
    QCOMPARE(m.groupCount, 50);
    QCOMPARE(m.nodes.x[100], 100.0f);
    QCOMPARE(m.groupOf(200), 1);
    QCOMPARE(m.groups.E[50], 50.0);
}

void TestModel::storedNumbersRoundToIndices() {
    QCOMPARE(toIndex(7.0f), 7);
    QCOMPARE(toIndex(100.0f), 100);
    QCOMPARE(toIndex(2.5f), 2);  // halves go to the even neighbour
    QCOMPARE(toIndex(3.5f), 4);
    QCOMPARE(toIndex(6.9999995f), 7);
    QCOMPARE(toIndex(1e30f), 0);  // no table index: never a wild subscript
}

void TestModel::deleteNode_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QString>("message");
    QTest::newRow("last of three") << 3 << 3 << "Node deleted: #3.";
    QTest::newRow("second of three") << 3 << 2 << "Node deleted: #2. Nodes renumbered: #3.";
    QTest::newRow("first of five") << 5 << 1 << "Node deleted: #1. Nodes renumbered: #2 to #5.";
    QTest::newRow("only node") << 1 << 1 << "Node deleted: #1.";
}

void TestModel::deleteNode() {
    QFETCH(int, count);
    QFETCH(int, deleted);
    QFETCH(QString, message);
    Model m;
    for (int n = 1; n <= count; ++n) addNode(m, float(n), 0);
    addGroup(m, 1, 1);
    // Elements between the nodes that stay, so that the precondition holds.
    std::vector<int> survivors;
    for (int n = 1; n <= count; ++n) {
        if (n != deleted) survivors.push_back(n);
    }
    for (std::size_t k = 1; k < survivors.size(); ++k) {
        addElement(m, survivors[k - 1], survivors[k]);
    }
    MessageLog log;
    DeleteNode(m, log, deleted);
    QCOMPARE(QString::fromStdString(log.lastLine()), " " + message);
    QCOMPARE(log.runs().back().colour, LogColour::Green);
    QCOMPARE(m.nodeCount, count - 1);
    QVERIFY(m.changed);
    for (int e = 1; e <= m.elementCount; ++e) {
        const int oldI = survivors[e - 1];
        const int oldJ = survivors[e];
        QCOMPARE(m.nodeI(e), oldI > deleted ? oldI - 1 : oldI);
        QCOMPARE(m.nodeJ(e), oldJ > deleted ? oldJ - 1 : oldJ);
        // Each node keeps its own position, so the ends still point at the same places.
        QCOMPARE(m.nodes.x[m.nodeI(e)], float(oldI));
        QCOMPARE(m.nodes.x[m.nodeJ(e)], float(oldJ));
    }
    QCOMPARE(m.node(count).x, 0.0f);  // the freed slot reads as zeros
}

void TestModel::deleteNodeMovesEveryField() {
    // Node 3 is used by elements 2 and 3; those go first, as the nodes dialog does.
    Model m = fiveNodeModel();
    const Node fourth = m.node(4);
    const Node fifth = m.node(5);
    MessageLog log;
    DeleteElement(m, log, 3);
    DeleteElement(m, log, 2);
    DeleteNode(m, log, 3);
    QCOMPARE(log.lastLine(), std::string(" Node deleted: #3. Nodes renumbered: #4 to #5."));
    QCOMPARE(m.nodeCount, 4);
    const auto same = [](const Node& a, const Node& b) {
        return a.x == b.x && a.y == b.y && a.cx == b.cx && a.cy == b.cy && a.Fx == b.Fx &&
               a.Fy == b.Fy && a.Kx == b.Kx && a.Ky == b.Ky;
    };
    QVERIFY(same(m.node(3), fourth));  // load, constraints and springs travel along
    QVERIFY(same(m.node(4), fifth));
    QVERIFY(same(m.node(5), Node{}));
    QCOMPARE(elementNodes(m), (std::vector<int>{1, 2, 3, 4, 1, 4}));
    QCOMPARE(elementGroups(m), (std::vector<int>{1, 3, 1}));
}

void TestModel::deleteElement_data() {
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QString>("message");
    QTest::addColumn<std::vector<int>>("ends");
    QTest::newRow("last") << 5 << "Element deleted: #5."
                          << std::vector<int>{1, 2, 2, 3, 3, 4, 4, 5};
    QTest::newRow("next to last") << 4 << "Element deleted: #4. Elements renumbered: #5."
                                  << std::vector<int>{1, 2, 2, 3, 3, 4, 1, 5};
    QTest::newRow("first") << 1 << "Element deleted: #1. Elements renumbered: #2 to #5."
                           << std::vector<int>{2, 3, 3, 4, 4, 5, 1, 5};
}

void TestModel::deleteElement() {
    QFETCH(int, deleted);
    QFETCH(QString, message);
    QFETCH(std::vector<int>, ends);
    Model m = fiveNodeModel();
    std::vector<int> groups = elementGroups(m);
    groups.erase(groups.begin() + (deleted - 1));
    MessageLog log;
    DeleteElement(m, log, deleted);
    QCOMPARE(QString::fromStdString(log.lastLine()), " " + message);
    QCOMPARE(log.runs().back().colour, LogColour::Green);
    QCOMPARE(m.elementCount, 4);
    QCOMPARE(elementNodes(m), ends);
    QCOMPARE(elementGroups(m), groups);
    QCOMPARE(m.elements.i[5], 0.0f);
    QCOMPARE(m.elements.j[5], 0.0f);
    QCOMPARE(m.elements.group[5], 0.0f);
    QCOMPARE(m.nodeCount, 5);
    QVERIFY(m.changed);
}

void TestModel::deleteGroup_data() {
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QString>("message");
    QTest::addColumn<std::vector<int>>("groups");
    QTest::addColumn<double>("secondE");
    // Only groups that no element uses may be deleted: the model below has elements of
    // groups 1 and 3, and a group 2 and 4 nobody uses.
    QTest::newRow("second of four") << 2 << "Group deleted: #2. Groups renumbered: #3 to #4."
                                    << std::vector<int>{1, 2, 2, 1} << 1.0e7;
    QTest::newRow("last") << 4 << "Group deleted: #4." << std::vector<int>{1, 3, 3, 1} << 7.0e7;
}

void TestModel::deleteGroup() {
    QFETCH(int, deleted);
    QFETCH(QString, message);
    QFETCH(std::vector<int>, groups);
    QFETCH(double, secondE);
    Model m;
    for (int n = 1; n <= 3; ++n) addNode(m, float(n), 0);
    addGroup(m, 2.1e8, 0.01);
    addGroup(m, 7.0e7, 0.02);
    addGroup(m, 1.0e7, 0.03);
    addGroup(m, 5.0e6, 0.04);
    addElement(m, 1, 2, 1);
    addElement(m, 2, 3, 3);
    addElement(m, 1, 3, 3);
    addElement(m, 3, 1, 1);
    MessageLog log;
    DeleteGroup(m, log, deleted);
    QCOMPARE(QString::fromStdString(log.lastLine()), " " + message);
    QCOMPARE(log.runs().back().colour, LogColour::Green);
    QCOMPARE(m.groupCount, 3);
    QCOMPARE(elementGroups(m), groups);
    QCOMPARE(m.groups.E[2], secondE);
    QCOMPARE(m.groups.E[4], 0.0);
    QCOMPARE(m.groups.A[4], 0.0);
    QVERIFY(!m.changed);  // the groups dialog sets it
}

QTEST_APPLESS_MAIN(TestModel)
#include "test_model.moc"
