#include <QtTest>

#include "editing/node_tools.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

namespace {

std::vector<std::string> texts(const ScriptedPrompter& p) {
    std::vector<std::string> all;
    for (const auto& q : p.questions()) all.push_back(q.text);
    return all;
}

}  // namespace

class TestNodeTools : public QObject {
    Q_OBJECT
private slots:
    void mergeAsksAboutJoiningElements();
    void mergeDeletesAndMoves();
    void mergeRefusals();
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
    addElement(m, 1, 4);
    addElement(m, 4, 3);
    addElement(m, 2, 3);
    addElement(m, 3, 5);
    addElement(m, 2, 4);  // joins A and B
    addElement(m, 4, 2);  // and again
    MergeEditor merge(h.app);
    QVERIFY(merge.open());
    merge.nodeB = "4";
    merge.nodeA = "2";
    h.prompter.queueAnswer(Answer::Ok);
    h.prompter.queueAnswer(Answer::Ok);
    merge.apply();
    const std::vector<std::string> asked = texts(h.prompter);
    QCOMPARE(int(asked.size()), 2);
    QCOMPARE(asked[0], std::string("Between nodes to be merged there is element #5.\r\nDo you "
                                   "want this element to be deleted in order for the nodes to "
                                   "be merged?"));
    // The second joining element moved into number 5 and is asked about as #5 too.
    QVERIFY(asked[1].rfind("Between nodes to be merged there is element #5.\r\n", 0) == 0);
    QCOMPARE(h.prompter.questions()[0].icon, MessageIcon::Question);
    QCOMPARE(m.elementCount, 4);
    QCOMPARE(m.nodeJ(1), 2);  // 1-4 became 1-2
    QCOMPARE(m.nodeI(2), 2);  // 4-3 became 2-3
    QCOMPARE(h.app.log.lastLine(), std::string(" Node #4 merged in node #2."));
    QCOMPARE(m.nodeCount, 5);  // B stays, without elements
    QVERIFY(m.changed);

    // Cancel at a question stops the merge.
    addElement(m, 5, 1);
    merge.nodeB = "5";
    merge.nodeA = "1";
    h.prompter.queueAnswer(Answer::Cancel);
    merge.apply();
    QCOMPARE(m.nodeI(4), 3);
    QCOMPARE(m.nodeJ(4), 5);  // 3-5 not reattached
    QCOMPARE(m.elementCount, 5);
}

void TestNodeTools::mergeDeletesAndMoves() {
    Harness h;
    Model& m = h.app.model;
    for (int n = 0; n < 5; ++n) addNode(m, 0, float(n));
    m.nodes.x[2] = 4;
    m.nodes.y[2] = 2;
    m.nodes.y[5] = 0;
    addGroup(m, 1, 1);
    addElement(m, 2, 3);
    MergeEditor merge(h.app);
    merge.open();
    merge.nodeB = "2";
    merge.nodeA = "5";
    merge.deleteB = true;
    merge.moveToMiddle = true;
    merge.apply();
    const std::vector<std::string> lines = h.app.log.lines();
    const std::vector<std::string> tail(lines.end() - 3, lines.end());
    const std::vector<std::string> expected{" Node #2 merged in node #5.",
                                            " Node #5 moved to the middle of segment A\xCE\x92.",
                                            " Node deleted: #2. Nodes renumbered: #3 to #5."};
    QCOMPARE(tail, expected);
    QCOMPARE(m.nodeCount, 4);
    QCOMPARE(m.nodes.x[4], 2.0f);  // the old node 5, now half-way to the old node 2
    QCOMPARE(m.nodes.y[4], 1.0f);
    QCOMPARE(m.nodeI(1), 4);
    QCOMPARE(m.nodeJ(1), 2);
    QCOMPARE(merge.items.size(), std::size_t(4));
}

void TestNodeTools::mergeRefusals() {
    Harness h;
    MergeEditor merge(h.app);
    QVERIFY(!merge.open());
    QCOMPARE(h.app.log.lastLine(), std::string(" No nodes have been defined yet."));
    addNode(h.app.model, 0, 0);
    addNode(h.app.model, 1, 0);
    QVERIFY(merge.open());
    const std::size_t logged = h.app.log.runs().size();
    merge.apply();  // 1 into 1: nothing
    QCOMPARE(h.app.log.runs().size(), logged);
    merge.nodeB = "7";
    merge.apply();
    QCOMPARE(h.app.log.lastLine(),
             std::string(" The value given for node number is unacceptable."));
    QCOMPARE(h.app.model.nodeCount, 2);
}

void TestNodeTools::moveRange_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("dx");
    QTest::addColumn<QString>("dy");
    QTest::addColumn<QString>("line");  // empty: nothing logged
    QTest::addColumn<QList<float>>("x");
    QTest::newRow("all, preselected")
        << ""
        << ""
        << "1"
        << ""
        << "Moved nodes: #1 to #4, dx=1, dy=0" << QList<float>{1, 2, 3, 4};
    QTest::newRow("one node") << "2"
                              << "2"
                              << "-0.5"
                              << "2.5"
                              << "Moved nodes: #2 to #2, dx=-0.5, dy=2.5"
                              << QList<float>{0, 0.5f, 2, 3};
    QTest::newRow("from above to")
        << "3"
        << "2"
        << "1"
        << "0"
        << "Moved nodes: #3 to #2, dx=1, dy=0" << QList<float>{0, 1, 2, 3};
    QTest::newRow("no offset") << ""
                               << ""
                               << ""
                               << "0"
                               << "" << QList<float>{0, 1, 2, 3};
    QTest::newRow("offset too large") << ""
                                      << ""
                                      << "1e39"
                                      << ""
                                      << "The value given for dx is "
                                         "unacceptable."
                                      << QList<float>{0, 1, 2, 3};
    QTest::newRow("typed beyond") << "1"
                                  << "9"
                                  << "1"
                                  << ""
                                  << "The value given for node "
                                     "number is unacceptable."
                                  << QList<float>{0, 1, 2, 3};
}

void TestNodeTools::moveRange() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, dx);
    QFETCH(QString, dy);
    QFETCH(QString, line);
    QFETCH(QList<float>, x);
    Harness h;
    for (int n = 0; n < 4; ++n) addNode(h.app.model, float(n), 0);
    MoveEditor move(h.app);
    QVERIFY(move.open());
    QCOMPARE(move.to, std::string("4"));
    if (!from.isEmpty()) move.from = from.toStdString();
    if (!to.isEmpty()) move.to = to.toStdString();
    move.dx = dx.toStdString();
    move.dy = dy.toStdString();
    move.apply();
    for (int n = 1; n <= 4; ++n) QCOMPARE(h.app.model.nodes.x[n], x[n - 1]);
    if (line.isEmpty()) {
        QVERIFY(h.app.log.runs().empty());
        QVERIFY(!h.app.model.changed);
    } else {
        QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + line);
    }
}

void TestNodeTools::coincidentNodes_data() {
    QTest::addColumn<QList<float>>("x");  // nodes on the x axis
    QTest::addColumn<QString>("answer");  // "<cancel>" for a cancelled box
    QTest::addColumn<QStringList>("notes");
    QTest::addColumn<int>("found");
    QTest::addColumn<QString>("tolerance");
    QTest::newRow("same place, tolerance 0")
        << QList<float>{1, 1, 3} << "0" << QStringList{} << 1 << "0";
    QTest::newRow("default, at the tolerance")
        << QList<float>{0, 0.00001f, 5} << "<cancel>"
        << QStringList{"Tolerance = 10E-5 (Default value)."} << 1 << "1E-05";
    QTest::newRow("default, beyond it")
        << QList<float>{0, 0.00002f} << "" << QStringList{"Tolerance = 10E-5 (Default value)."} << 0
        << "1E-05";
    QTest::newRow("too large") << QList<float>{0, 0.0005f} << "5"
                               << QStringList{"Tolerance = 0.001 (Maximum value)."} << 1 << "0.001";
    QTest::newRow("negative") << QList<float>{0, 0} << "-1"
                              << QStringList{"Tolerance = 0 (Minimum value)."} << 1 << "0";
    QTest::newRow("letters read as 0")
        << QList<float>{2, 2, 2} << "abc" << QStringList{} << 3 << "0";
}

void TestNodeTools::coincidentNodes() {
    QFETCH(QList<float>, x);
    QFETCH(QString, answer);
    QFETCH(QStringList, notes);
    QFETCH(int, found);
    QFETCH(QString, tolerance);
    Harness h;
    for (float v : x) addNode(h.app.model, v, 0);
    h.prompter.queueInput(answer == "<cancel>" ? std::nullopt
                                               : std::optional<std::string>(answer.toStdString()));
    checkCoincidentNodes(h.app);
    const auto& q = h.prompter.questions();
    QCOMPARE(q[0].kind, ScriptedPrompter::Kind::Input);
    QCOMPARE(q[0].text, std::string("Give the value for tolerance (Max. distance for which two "
                                    "nodes are considered to coincide).\r\n\r\n(Value between "
                                    "[0 , 0.001], Default=10E-5)"));
    QCOMPARE(int(q.size()), 1 + int(notes.size()) + found + 1);
    for (int k = 0; k < notes.size(); ++k) {
        QCOMPARE(QString::fromStdString(q[1 + k].text), notes[k]);
    }
    const QString completed = QString(
                                  "The search for coincident nodes is completed. %1 "
                                  "incidences of coincident nodes were found. (Tolerance = "
                                  "%2).")
                                  .arg(found)
                                  .arg(tolerance);
    QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + completed);
    QCOMPARE(QString::fromStdString(q.back().text), completed);
    if (found > 0) {
        QVERIFY(q[1 + notes.size()].text.find("theoretically coincide.\r\n\r\nDistance between "
                                              "them D= ") != std::string::npos);
    }
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
    h.prompter.clear();
    h.prompter.queueAnswer(Answer::Yes);
    h.prompter.queueAnswer(Answer::Yes);
    checkCoincidentElements(h.app);
    const std::string first =
        "The elements #1 and #3 between nodes #1 and #2 coincide. One of them must be deleted.";
    QCOMPARE(h.prompter.questions()[0].text,
             first + "\r\nShall the search for coincident elements continue?");
    QCOMPARE(h.prompter.questions()[0].buttons, MessageButtons::YesNo);
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
