#include <QtTest>

#include "editing/node_tools.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

class TestNodeTools : public QObject {
    Q_OBJECT
private slots:
    void mergeAsksAboutJoiningElements();
    void mergeRefusalsAndOptions();
    void moveRange_data();
    void moveRange();
    void coincidentNodes_data();
    void coincidentNodes();
    void coincidentElements();
};

void TestNodeTools::mergeAsksAboutJoiningElements() {
    Harness h;
    Model& m = h.app.model;
    for (int n = 0; n < 5; ++n) addNode(m, float(n), 0);
    addGroup(m, 1, 1);
    for (auto [i, j] : {std::pair{1, 4}, {4, 3}, {2, 3}, {3, 5}, {2, 4}, {4, 2}})
        addElement(m, i, j);
    MergeEditor merge(h.app);
    QVERIFY(merge.open());
    merge.nodeB = "4";
    merge.nodeA = "2";
    h.prompter.queueAnswer(Answer::Ok);
    h.prompter.queueAnswer(Answer::Ok);
    merge.apply();
    const auto& asked = h.prompter.questions();
    QCOMPARE(int(asked.size()), 2);
    // The second joining element moved into number 5 and is asked about as #5 too.
    for (const auto& q : asked) {
        QCOMPARE(q.text, std::string("Between nodes to be merged there is element #5.\r\nDo you "
                                     "want this element to be deleted in order for the nodes to "
                                     "be merged?"));
    }
    QCOMPARE(m.elementCount, 4);
    QCOMPARE(m.nodeJ(1), 2);  // 1-4 became 1-2
    QCOMPARE(m.nodeI(2), 2);  // 4-3 became 2-3
    QCOMPARE(h.app.log.lastLine(), std::string(" Node #4 merged in node #2."));

    // Cancel at a question stops the merge.
    addElement(m, 5, 1);
    merge.nodeB = "5";
    merge.nodeA = "1";
    h.prompter.queueAnswer(Answer::Cancel);
    merge.apply();
    QCOMPARE(m.nodeJ(4), 5);  // 3-5 not reattached
    QCOMPARE(m.elementCount, 5);
}

void TestNodeTools::mergeRefusalsAndOptions() {
    Harness h;
    Model& m = h.app.model;
    MergeEditor merge(h.app);
    QVERIFY(!merge.open());
    QCOMPARE(h.app.log.lastLine(), std::string(" No nodes have been defined yet."));
    for (auto [x, y] : {std::pair{0.f, 0.f}, {4.f, 2.f}, {0.f, 2.f}, {0.f, 3.f}, {0.f, 0.f}})
        addNode(m, x, y);
    addGroup(m, 1, 1);
    addElement(m, 2, 3);
    QVERIFY(merge.open());
    const std::size_t logged = h.app.log.runs().size();
    merge.apply();  // 1 into 1: nothing
    QCOMPARE(h.app.log.runs().size(), logged);
    merge.nodeB = "7";  // outside the model
    merge.apply();
    QCOMPARE(h.app.log.lastLine(),
             std::string(" The value given for node number is unacceptable."));
    QCOMPARE(m.nodeCount, 5);

    merge.nodeB = "2";
    merge.nodeA = "5";
    merge.deleteB = true;
    merge.moveToMiddle = true;
    merge.apply();
    const std::vector<std::string> lines = h.app.log.lines();
    const std::vector<std::string> expected{" Node #2 merged in node #5.",
                                            " Node #5 moved to the middle of segment A\xCE\x92.",
                                            " Node deleted: #2. Nodes renumbered: #3 to #5."};
    QCOMPARE(std::vector(lines.end() - 3, lines.end()), expected);
    QCOMPARE(m.nodeCount, 4);
    QCOMPARE(m.nodes.x[4], 2.0f);  // the old node 5, now half-way to the old node 2
    QCOMPARE(m.nodes.y[4], 1.0f);
    QCOMPARE(m.nodeI(1), 4);
    QCOMPARE(m.nodeJ(1), 2);
}

void TestNodeTools::moveRange_data() {
    QTest::addColumn<int>("from");  // 0: as the box opens (1 to 4)
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("offset");  // dx, dy
    QTest::addColumn<QString>("line");        // empty: nothing logged
    QTest::addColumn<QList<float>>("x");
    const QList<float> unmoved{0, 1, 2, 3};
    QTest::newRow("all") << 0 << 0 << QStringList{"1", ""} << "Moved nodes: #1 to #4, dx=1, dy=0"
                         << QList<float>{1, 2, 3, 4};
    QTest::newRow("one node") << 2 << 2 << QStringList{"-0.5", "2.5"}
                              << "Moved nodes: #2 to #2, dx=-0.5, dy=2.5"
                              << QList<float>{0, 0.5f, 2, 3};
    QTest::newRow("no offset") << 0 << 0 << QStringList{"", "0"} << "" << unmoved;
    QTest::newRow("offset overflows") << 0 << 0 << QStringList{"1e39", ""}
                                      << "The value given for dx is unacceptable." << unmoved;
    QTest::newRow("node outside the model")
        << 1 << 9 << QStringList{"1", ""} << "The value given for node number is unacceptable."
        << unmoved;
}

void TestNodeTools::moveRange() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, offset);
    QFETCH(QString, line);
    QFETCH(QList<float>, x);
    Harness h;
    for (int n = 0; n < 4; ++n) addNode(h.app.model, float(n), 0);
    MoveEditor move(h.app);
    QVERIFY(move.open());
    if (from) move.from = std::to_string(from);
    if (to) move.to = std::to_string(to);
    move.dx = offset[0].toStdString();
    move.dy = offset[1].toStdString();
    move.apply();
    for (int n = 1; n <= 4; ++n) QCOMPARE(h.app.model.nodes.x[n], x[n - 1]);
    QCOMPARE(h.app.model.changed, line.startsWith("Moved"));
    QCOMPARE(QString::fromStdString(h.app.log.lastLine()), line.isEmpty() ? line : " " + line);
}

void TestNodeTools::coincidentNodes_data() {
    QTest::addColumn<QString>("answer");  // "<cancel>" for a cancelled box
    QTest::addColumn<QList<float>>("x");  // nodes on the x axis
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("found");
    QTest::addColumn<QString>("tolerance");
    const QString byDefault = "Tolerance = 10E-5 (Default value).";
    QTest::newRow("default, at the tolerance")
        << "<cancel>" << QList<float>{0, 0.00001f, 5} << byDefault << 1 << "1E-05";
    QTest::newRow("default, beyond it")
        << "" << QList<float>{0, 0.00002f} << byDefault << 0 << "1E-05";
    QTest::newRow("too large") << "5" << QList<float>{0, 0.0005f}
                               << "Tolerance = 0.001 (Maximum value)." << 1 << "0.001";
    QTest::newRow("negative") << "-1" << QList<float>{0, 0} << "Tolerance = 0 (Minimum value)." << 1
                              << "0";
    QTest::newRow("letters read as 0") << "abc" << QList<float>{2, 2, 2} << "" << 3 << "0";
}

void TestNodeTools::coincidentNodes() {
    QFETCH(QString, answer);
    QFETCH(QList<float>, x);
    QFETCH(QString, note);
    QFETCH(int, found);
    QFETCH(QString, tolerance);
    Harness h;
    for (float v : x) addNode(h.app.model, v, 0);
    h.prompter.queueInput(answer == "<cancel>" ? std::nullopt
                                               : std::optional(answer.toStdString()));
    checkCoincidentNodes(h.app);
    const auto& q = h.prompter.questions();
    QCOMPARE(q[0].text, std::string("Give the value for tolerance (Max. distance for which two "
                                    "nodes are considered to coincide).\r\n\r\n(Value between "
                                    "[0 , 0.001], Default=10E-5)"));
    const int notes = note.isEmpty() ? 0 : 1;
    QCOMPARE(int(q.size()), 1 + notes + found + 1);
    if (notes) QCOMPARE(QString::fromStdString(q[1].text), note);
    if (found) QVERIFY(q[1 + notes].text.find("theoretically coincide.") != std::string::npos);
    const QString completed = QString(
                                  "The search for coincident nodes is completed. %1 "
                                  "incidences of coincident nodes were found. (Tolerance = %2).")
                                  .arg(found)
                                  .arg(tolerance);
    QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + completed);
    QCOMPARE(QString::fromStdString(q.back().text), completed);
}

void TestNodeTools::coincidentElements() {
    Harness h;
    checkCoincidentElements(h.app);
    QCOMPARE(h.app.log.lastLine(), std::string(" No elements have been defined yet."));
    Model& m = h.app.model;
    for (int n = 0; n < 5; ++n) addNode(m, float(n), 0);
    addGroup(m, 1, 1);
    addGroup(m, 2, 2);
    addElement(m, 1, 2, 1);
    addElement(m, 4, 5, 1);
    addElement(m, 2, 1, 2);  // the same pair, another group
    addElement(m, 5, 4, 1);
    h.prompter.queueAnswer(Answer::Yes);
    h.prompter.queueAnswer(Answer::Yes);
    checkCoincidentElements(h.app);
    const std::string first =
        "The elements #1 and #3 between nodes #1 and #2 coincide. One of them must be deleted.";
    QCOMPARE(h.prompter.questions()[1].text,
             first + "\r\nShall the search for coincident elements continue?");
    QCOMPARE(h.app.log.lastLine(), std::string(" The search for coincident elements is completed. "
                                               "2 incidences of coincident elements were found."));
    // No at the first finding ends the search without the completion line.
    h.prompter.clear();
    h.prompter.queueAnswer(Answer::No);
    checkCoincidentElements(h.app);
    QCOMPARE(h.app.log.lastLine(), " " + first);
    QCOMPARE(int(h.prompter.questions().size()), 1);
}

QTEST_APPLESS_MAIN(TestNodeTools)
#include "test_node_tools.moc"
