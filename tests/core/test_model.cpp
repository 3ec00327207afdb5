#include <cstring>

#include "log/message_log.h"
#include "model/deletion.h"
#include "model/model.h"
#include "test_support.h"

using namespace vortak::test;

namespace {

// Five nodes whose fields differ from node to node, groups with E = 1e7, 2e7, 3e7
// and elements 1-2 (group 1), 2-3 (2), 3-4 (3), 4-5 (3), 1-5 (1).
Model fiveNodeModel() {
    Model m;
    for (float f = 1; f <= 5; ++f)
        m.setNode(int(f), Node{f, 10 * f, float(f > 3), 1, 100 * f, -100 * f, 1000 * f, 2 * f});
    m.nodeCount = 5;
    for (int g = 1; g <= 3; ++g) addGroup(m, 1e7 * g, 0.01 * g);
    for (auto [i, j, g] : {std::array{1, 2, 1}, {2, 3, 2}, {3, 4, 3}, {4, 5, 3}, {1, 5, 1}})
        addElement(m, i, j, g);
    return m;
}

// The end nodes and the group of every element, in order.
std::vector<int> elementRows(const Model& m) {
    std::vector<int> rows;
    for (int e = 1; e <= m.elementCount; ++e)
        rows.insert(rows.end(), {m.nodeI(e), m.nodeJ(e), m.groupOf(e)});
    return rows;
}

bool sameNode(const Node& a, const Node& b) { return std::memcmp(&a, &b, sizeof(Node)) == 0; }

}  // namespace

class TestModel : public QObject {
    Q_OBJECT
private slots:
    void clearModelEmptiesEverything() {
        Model m = fiveNodeModel();
        m.results.FG[5][4] = 2;
        m.results.extremes[kMinStrain] = -1e-3;
        m.fileName = "/tmp/a.vok";
        m.changed = true;
        ClearModel(m);
        QCOMPARE(m.nodeCount + m.elementCount + m.groupCount, 0);
        QVERIFY(m.nodes.Ky[5] == 0 && m.elements.group[5] == 0 && m.groups.A[3] == 0);
        QVERIFY(m.results.FG[5][4] == 0 && m.results.extremes[kMinStrain] == 0);
        QVERIFY(m.fileName == "/tmp/a.vok" && m.changed);  // the document state is the caller's
    }

    void storedNumbersRoundToIndices() {
        QCOMPARE(toIndex(2.5f), 2);  // halves go to the even neighbour
        QCOMPARE(toIndex(6.9999995f), 7);
        QCOMPARE(toIndex(1e30f), 0);  // no table index: never a wild subscript
    }

    void deleteNodeMovesEveryField() {
        Model m = fiveNodeModel();
        const Node fourth = m.node(4), fifth = m.node(5);
        MessageLog log;
        DeleteElement(m, log, 3);  // node 3's elements go first, as the nodes dialog does
        DeleteElement(m, log, 2);
        m.changed = false;
        DeleteNode(m, log, 3);
        QCOMPARE(log.lastLine(), std::string(" Node deleted: #3. Nodes renumbered: #4 to #5."));
        QVERIFY(m.nodeCount == 4 && m.changed);
        // Load, constraints and springs travel along; the freed row is empty.
        QVERIFY(sameNode(m.node(3), fourth) && sameNode(m.node(4), fifth) &&
                sameNode(m.node(5), {}));
        QCOMPARE(elementRows(m), (std::vector<int>{1, 2, 1, 3, 4, 3, 1, 4, 1}));
    }

    void deleteElement() {
        Model m = fiveNodeModel();
        MessageLog log;
        DeleteElement(m, log, 1);
        QCOMPARE(elementRows(m), (std::vector<int>{2, 3, 2, 3, 4, 3, 4, 5, 3, 1, 5, 1}));
        QVERIFY(m.elements.i[5] == 0 && m.elements.j[5] == 0 && m.elements.group[5] == 0 &&
                m.changed);
    }

    void deletionMessages_data() {
        // node: else an element
        columns<bool, int, int, QString>("node", "count", "deleted", "text");
        for (const bool node : {true, false}) {
            const QString entity = node ? "Node" : "Element";
            const auto row = [&](const char* name, int count, int deleted, const QString& text) {
                QTest::addRow("%s %s", qPrintable(entity), name)
                    << node << count << deleted << text.arg(entity);
            };
            row("last", 5, 5, " %1 deleted: #5.");
            row("second to last", 5, 4, " %1 deleted: #4. %1s renumbered: #5.");
            // The fewest that make a range.
            row("first of three", 3, 1, " %1 deleted: #1. %1s renumbered: #2 to #3.");
        }
    }

    void deletionMessages() {
        const auto [node, count, deleted] = fetch<bool, int, int>("node", "count", "deleted");
        Model m = fiveNodeModel();
        MessageLog log;
        if (node) {
            m.nodeCount = count;
            m.elementCount = 0;  // a node is deleted only once no element uses it
            DeleteNode(m, log, deleted);
        } else {
            m.elementCount = count;
            DeleteElement(m, log, deleted);
        }
        QTEST(QString::fromStdString(log.lastLine()), "text");
        QCOMPARE(log.runs().back().colour, LogColour::Green);
    }

    void deleteGroup() {
        // Only a group no element uses may be deleted: group 2 once element 2 is gone.
        Model m = fiveNodeModel();
        MessageLog log;
        DeleteElement(m, log, 2);
        m.changed = false;
        DeleteGroup(m, log, 2);
        QCOMPARE(log.lastLine(), std::string(" Group deleted: #2. Groups renumbered: #3."));
        QCOMPARE(elementRows(m), (std::vector<int>{1, 2, 1, 3, 4, 2, 4, 5, 2, 1, 5, 1}));
        QVERIFY(m.groupCount == 2 && m.groups.E[2] == 3e7 && m.groups.E[3] == 0 &&
                m.groups.A[3] == 0);
        QVERIFY(!m.changed);  // the groups dialog sets it
    }
};

QTEST_APPLESS_MAIN(TestModel)
#include "test_model.moc"
