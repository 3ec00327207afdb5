#include "editing/node_tools.h"
#include "test_support.h"

using namespace vortak::test;

class TestNodeTools : public QObject {
    Q_OBJECT
private slots:
    void merge() {
        Harness h;
        Model& m = h.app.model;
        MergeEditor merge(h.app);
        for (int n = 0; n < 5; ++n) addNode(m, float(n), 0);
        addGroup(m, 1, 1);
        for (auto [i, j] : {std::pair{1, 4}, {4, 3}, {2, 3}, {3, 5}, {2, 4}, {4, 2}})
            addElement(m, i, j);
        QVERIFY(merge.open());
        merge.nodeB = "7";  // outside the model: refused
        merge.apply();
        merge.nodeB = "4";
        merge.nodeA = "2";
        h.prompter.queueAnswer(Answer::Ok);
        h.prompter.queueAnswer(Answer::Ok);
        merge.apply();
        // The second joining element moved into number 5 and is asked about as #5 too.
        const auto& asked = h.prompter.questions();
        QCOMPARE(int(asked.size()), 3);  // the refusal of node 7, then the two elements
        QVERIFY(asked[2].text.starts_with("Between nodes to be merged there is element #5.\r\n"));
        QCOMPARE(m.elementCount, 4);
        QVERIFY(m.nodeJ(1) == 2 && m.nodeI(2) == 2);  // 1-4 became 1-2, 4-3 became 2-3
        // 4-3 now doubles the bar 2-3: said in red, and the model stays as merged.
        QCOMPARE(logLines(h.app, 2), (QStringList{" Node #4 merged in node #2.",
                                                  " Elements #2 and #3 now join the same nodes."}));
        QCOMPARE(h.app.log.runs().back().colour, LogColour::Red);
        // Cancel at a question stops the merge: 3-5 stays.
        merge.nodeB = "5";
        merge.nodeA = "3";
        h.prompter.queueAnswer(Answer::Cancel);
        merge.apply();
        QVERIFY(m.elementCount == 4 && m.nodeJ(4) == 5);
        // Node 4, joined to nothing now, into node 5 (x = 4), which moves half-way and is then
        // renumbered 4, as 4 is deleted.
        merge.nodeB = "4";
        merge.nodeA = "5";
        merge.deleteB = merge.moveToMiddle = true;
        merge.apply();
        QCOMPARE(logLines(h.app, 3),
                 (QStringList{" Node #4 merged in node #5.",
                              " Node #5 moved to the middle of segment A\xCE\x92.",
                              " Node deleted: #4. Nodes renumbered: #5."}));
        QVERIFY(m.nodeCount == 4 && m.nodes.x[4] == 3.5f && m.nodeI(4) == 3 && m.nodeJ(4) == 4);
    }

    void moveRange_data() {
        // boxes: from, to, dx, dy; empty range: as the box opens
        // line: empty: nothing logged
        columns<QStringList, QString, QList<float>>("boxes", "line", "x");
        const QList<float> unmoved{0, 1, 2, 3};
        const auto refused = [&](const char* name, const QStringList& boxes, const char* field) {
            QTest::newRow(name) << boxes
                                << "The value given for " + QString(field) + " is unacceptable."
                                << unmoved;
        };
        QTest::newRow("all") << QStringList{"", "", "1", ""} << "Moved nodes: #1 to #4, dx=1, dy=0"
                             << QList<float>{1, 2, 3, 4};
        QTest::newRow("one node") << QStringList{"2", "2", "-0.5", "2.5"}
                                  << "Moved nodes: #2 to #2, dx=-0.5, dy=2.5"
                                  << QList<float>{0, 0.5f, 2, 3};
        QTest::newRow("no offset") << QStringList{"", "", "", "0"} << "" << unmoved;
        // An empty range moves nothing: nothing is said and the model is not changed.
        QTest::newRow("from after to") << QStringList{"3", "2", "1", ""} << "" << unmoved;
        refused("offset overflows", {"", "", "1e39", ""}, "dx");
        refused("node outside the model", {"1", "9", "1", ""}, "node number");
        // Node 4 lies at y = 9E+37: another 2E+37 leaves the coordinate range.
        refused("y + dy leaves the range", {"", "", "1", "2e37"}, "dy");
        refused("offset that would be stored as 0", {"", "", "1e-50", ""}, "dx");
    }

    void moveRange() {
        const auto [boxes, line, x] =
            fetch<QStringList, QString, QList<float>>("boxes", "line", "x");
        Harness h;
        for (int n = 0; n < 4; ++n) addNode(h.app.model, float(n), float(n) * 3e37f);
        MoveEditor move(h.app);
        QVERIFY(move.open());
        if (!boxes[0].isEmpty()) move.from = boxes[0].toStdString();
        if (!boxes[1].isEmpty()) move.to = boxes[1].toStdString();
        move.dx = boxes[2].toStdString();
        move.dy = boxes[3].toStdString();
        move.apply();
        for (int n = 1; n <= 4; ++n) QCOMPARE(h.app.model.nodes.x[n], x[n - 1]);
        QCOMPARE(h.app.model.changed, line.startsWith("Moved"));
        QCOMPARE(QString::fromStdString(h.app.log.lastLine()), line.isEmpty() ? line : " " + line);
    }

    void coincidentNodes_data() {
        // x: nodes on the x axis
        columns<QString, QList<float>, int, QString>("answer", "x", "found", "tolerance");
        QTest::newRow("default, at the tolerance")
            << "" << QList<float>{0, 0.00001f, 5} << 1 << "1E-05";
        QTest::newRow("default, beyond it") << "" << QList<float>{0, 0.00002f} << 0 << "1E-05";
        QTest::newRow("too large") << "5" << QList<float>{0, 0.0005f} << 1 << "0.001";
        QTest::newRow("negative") << "-1" << QList<float>{0, 0} << 1 << "0";
        QTest::newRow("letters read as 0") << "abc" << QList<float>{2, 2, 2} << 3 << "0";
    }

    void coincidentNodes() {
        const auto [answer, x, found, tolerance] =
            fetch<QString, QList<float>, int, QString>("answer", "x", "found", "tolerance");
        Harness h;
        for (float v : x) addNode(h.app.model, v, 0);
        h.prompter.queueInput(answer.toStdString());
        checkCoincidentNodes(h.app);
        // The tolerance box, a note when the tolerance was replaced, each finding, the summary.
        const auto& q = h.prompter.questions();
        QCOMPARE(int(q.size()), (answer == "abc" ? 1 : 2) + found + 1);
        const QString completed =
            "The search for coincident nodes is completed. " + QString::number(found) +
            " incidences of coincident nodes were found. (Tolerance = " + tolerance + ").";
        QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + completed);
    }

    void coincidentElements() {
        Harness h;
        Model& m = h.app.model;
        for (int n = 0; n < 5; ++n) addNode(m, float(n), 0);
        addGroup(m, 1, 1);
        for (auto [i, j] : {std::pair{1, 2}, {4, 5}, {2, 1}, {5, 4}}) addElement(m, i, j);
        m.elements.group[3] = 2;  // the same pair in another group coincides too
        h.prompter.queueAnswer(Answer::Yes);
        h.prompter.queueAnswer(Answer::Yes);
        checkCoincidentElements(h.app);
        const std::string first =
            "The elements #1 and #3 between nodes #1 and #2 coincide. One of them must be deleted.";
        QCOMPARE(h.prompter.questions()[0].text,
                 first + "\r\nShall the search for coincident elements continue?");
        QCOMPARE(h.app.log.lastLine(),
                 std::string(" The search for coincident elements is completed. "
                             "2 incidences of coincident elements were found."));
        // No at the first finding ends the search without the completion line.
        h.prompter.clear();
        h.prompter.queueAnswer(Answer::No);
        checkCoincidentElements(h.app);
        QCOMPARE(h.app.log.lastLine(), " " + first);
        QCOMPARE(int(h.prompter.questions().size()), 1);
    }
};

QTEST_APPLESS_MAIN(TestNodeTools)
#include "test_node_tools.moc"
