#include <QtTest>

#include "analysis/analysis_run.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

Q_DECLARE_METATYPE(std::string)

namespace {

const std::string kFailure =
    "An error occured during the analysis process. Make sure that the structure is well "
    "defined (not a mechanism) and can be analyzed.";
const std::string kMechanism =
    "The analysis has been carried out successfully, yet some of the resultant "
    "displacements have excessive values. The structure is probably a mechanism.";
const std::vector<std::string> kShellEvents{"disable", "refresh", "busy", "normal", "enable"};

std::string unconnected(int n) {
    return "Node #" + std::to_string(n) +
           " is not connected to other nodes with elements and could probably cause "
           "problems to the solution process.";
}

// Nodes 1 (0,0) pinned, 2 (8,0) roller, 3 (4,3) loaded by (16, -30); N = 28, -35, -15.
void buildTriangle(Model& m) {
    addNode(m, 0, 0, 1, 1);
    addNode(m, 8, 0, 0, 1);
    addNode(m, 4, 3);
    addGroup(m, 2.0e8, 0.01);
    addGroup(m, 1.0e8, 0.02);
    addElement(m, 1, 2, 1);
    addElement(m, 2, 3, 2);
    addElement(m, 1, 3, 1);
    m.nodes.Fx[3] = 16;
    m.nodes.Fy[3] = -30;
    m.changed = true;
}

std::vector<std::string> logLines(const AppState& app) {
    std::vector<std::string> lines = app.log.lines();
    lines.erase(lines.begin());  // the empty text before the first break
    return lines;
}

}  // namespace

class TestAnalysisRun : public QObject {
    Q_OBJECT
private slots:
    void nothingToAnalyse();
    void successfulRun_data();
    void successfulRun();
    void connectivityDialogue_data();
    void connectivityDialogue();
    void failedRunKeepsPreviousResults();
    void mechanismWarning_data();
    void mechanismWarning();
    void springsWithoutElementsKeepChangedFlag();
    void confirmReanalysis();
};

void TestAnalysisRun::nothingToAnalyse() {
    Harness h;
    h.app.animationRunning = true;
    Button_Epilisi(h.app);
    QVERIFY(h.app.log.runs().empty());
    QVERIFY(h.prompter.questions().empty());
    QVERIFY(!h.app.animationRunning);
    // The only node is unconnected and deleted: no analysis starts.
    addNode(h.app.model, 1, 1);
    h.prompter.queueAnswer(Answer::Yes);
    Button_Epilisi(h.app);
    const std::vector<std::string> expected{" " + unconnected(1), " Node deleted: #1."};
    QCOMPARE(logLines(h.app), expected);
    QVERIFY(h.shell.events.empty());
}

void TestAnalysisRun::successfulRun_data() {
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("finish");
    QTest::addColumn<std::string>("total");
    QTest::newRow("ordinary") << 5.0 << 5.047 << std::string("0.047");
    QTest::newRow("half to even") << 0.0 << 0.0625 << std::string("0.062");
    // From the monotonic clock, not from the times of day.
    QTest::newRow("two seconds") << 86399.0 << 86401.0 << std::string("2");
}

void TestAnalysisRun::successfulRun() {
    QFETCH(double, start);
    QFETCH(double, finish);
    QFETCH(std::string, total);
    Harness h;
    buildTriangle(h.app.model);
    h.app.currentView = ViewMode::NDiagram;
    h.shell.clock = {start, finish};
    Button_Epilisi(h.app);
    const std::vector<std::string> log{" ANALYSIS", " Start:  10:00:00", " Finish:  10:00:01",
                                       " Total time:  " + total + " sec"};
    QCOMPARE(logLines(h.app), log);
    QVERIFY(h.app.log.runs()[0].bold);
    QVERIFY(h.prompter.questions().empty());
    QVERIFY(!h.app.model.changed);
    QCOMPARE(h.app.currentView, ViewMode::NDiagram);  // the run does not change the view
    QCOMPARE(h.shell.events, kShellEvents);
    const AnalysisResults& r = h.app.model.results;
    QVERIFY(std::fabs(r.FL[1][2] - 28) < 1e-9);
    // The extremes. Stresses 28 / 0.01, -35 / 0.02, -15 / 0.01; strains with E of 2e8 and 1e8.
    const std::pair<int, double> expected[] = {{kMaxAbsN, 35},
                                               {kMaxN, 28},
                                               {kMinN, -35},
                                               {kMaxAbsStress, 2800},
                                               {kMinStress, -1750},
                                               {kMaxAbsStrain, 1750 / 1.0e8},
                                               {kMinTotalDisplacement, 0},  // the pinned node
                                               {kMaxUx, std::max({r.D[1], r.D[3], r.D[5]})},
                                               {kMaxTotalDisplacement, std::hypot(r.D[5], r.D[6])}};
    for (const auto& [which, value] : expected) {
        QVERIFY2(std::fabs(r.extremes[which] - value) <= 1e-9 * std::max(1.0, std::fabs(value)),
                 qPrintable(QString("extreme %1: %2").arg(which).arg(r.extremes[which])));
    }
}

void TestAnalysisRun::connectivityDialogue_data() {
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<int>("nodesLeft");
    const QString ask1 = " " + QString::fromStdString(unconnected(1));
    const QString ask2 = " " + QString::fromStdString(unconnected(2));
    QTest::newRow("cancel stops") << QList<int>{int(Answer::Cancel)} << QStringList{ask1} << 5;
    QTest::newRow("no runs without asking again")
        << QList<int>{int(Answer::No)}
        << QStringList{ask1, " ANALYSIS", " Start:  10:00:00 , Termination: 10:00:01",
                       " " + QString::fromStdString(kFailure)}
        << 5;
    QTest::newRow("yes deletes and asks again")
        << QList<int>{int(Answer::Yes), int(Answer::Yes)}
        << QStringList{ask1,
                       " Node deleted: #1. Nodes renumbered: #2 to #5.",
                       ask2,
                       " Node deleted: #2. Nodes renumbered: #3 to #4.",
                       " ANALYSIS",
                       " Start:  10:00:00",
                       " Finish:  10:00:01",
                       " Total time:  0.047 sec"}
        << 3;
}

void TestAnalysisRun::connectivityDialogue() {
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, log);
    QFETCH(int, nodesLeft);
    // Nodes 1 and 3 are unconnected; the truss is nodes 2, 4, 5.
    Harness h;
    Model& m = h.app.model;
    addNode(m, -5, -5);
    addNode(m, 0, 0, 1, 1);
    addNode(m, 20, 20);
    addNode(m, 8, 0, 0, 1);
    addNode(m, 4, 3);
    addGroup(m, 2.0e8, 0.01);
    addElement(m, 2, 4);
    addElement(m, 4, 5);
    addElement(m, 2, 5);
    m.nodes.Fy[5] = -30;
    m.changed = true;
    for (int a : answers) h.prompter.queueAnswer(Answer(a));

    Button_Epilisi(h.app);

    QStringList actual;
    for (const std::string& line : logLines(h.app)) actual << QString::fromStdString(line);
    QCOMPARE(actual, log);
    QCOMPARE(m.nodeCount, nodesLeft);
    const auto& q = h.prompter.questions();
    QCOMPARE(q[0].text,
             unconnected(1) + " Do you want that node to be deleted before starting the analysis?");
    QCOMPARE(q[0].icon, MessageIcon::Question);
    QCOMPARE(q[0].buttons, MessageButtons::YesNoCancel);
    QCOMPARE(h.app.log.runs()[0].colour, LogColour::Red);
    QCOMPARE(h.shell.redraws, int(answers.count(int(Answer::Yes))));
    if (nodesLeft == 3) {
        // Renumbered to nodes 1, 2, 3 and analysed.
        QVERIFY(!m.changed);
        QVERIFY(std::fabs(m.results.R[1][2] + m.results.R[2][2] - 30) < 1e-9);
    }
}

void TestAnalysisRun::failedRunKeepsPreviousResults() {
    Harness h;
    Model& m = h.app.model;
    buildTriangle(m);
    Button_Epilisi(h.app);
    const AnalysisResults before = m.results;
    addNode(m, 4, 3, 1, 1);  // on top of node 3
    addElement(m, 3, 4);
    m.changed = true;
    h.app.currentView = ViewMode::Deformed;
    h.shell.events.clear();
    Button_Epilisi(h.app);
    const std::vector<std::string> lines = logLines(h.app);
    const std::vector<std::string> expected{" ANALYSIS",
                                            " Start:  10:00:01 , Termination: 10:00:01",
                                            " Element #4 has zero length.", " " + kFailure};
    QCOMPARE(std::vector<std::string>(lines.end() - 4, lines.end()), expected);
    QCOMPARE(h.app.log.runs().end()[-2].colour, LogColour::Red);
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Red);
    QCOMPARE(h.prompter.questions().size(), std::size_t(1));
    QCOMPARE(h.prompter.questions()[0].text, kFailure);
    QCOMPARE(h.prompter.questions()[0].icon, MessageIcon::Critical);
    QCOMPARE(h.shell.events, kShellEvents);
    QVERIFY(m.analysisFailed);
    QVERIFY(m.changed);
    QCOMPARE(h.app.currentView, ViewMode::Model);
    QVERIFY(m.results.D == before.D && m.results.FL == before.FL && m.results.R == before.R);
    QVERIFY(m.results.extremes == before.extremes);
    // A later successful run clears the failure flag.
    m.nodeCount = m.elementCount = 3;
    Button_Epilisi(h.app);
    QVERIFY(!m.analysisFailed);
}

void TestAnalysisRun::mechanismWarning_data() {
    QTest::addColumn<float>("load");
    QTest::addColumn<bool>("warned");
    QTest::newRow("exactly ten million") << 1.0e7f << false;
    QTest::newRow("just above, pulled the other way") << -10000001.0f << true;
}

void TestAnalysisRun::mechanismWarning() {
    QFETCH(float, load);
    QFETCH(bool, warned);
    // A unit bar (E = A = L = 1) pulled by the load at its free end moves by the load.
    Harness h;
    Model& m = h.app.model;
    addNode(m, 0, 0, 1, 1);
    addNode(m, 1, 0, 0, 1);
    addGroup(m, 1, 1);
    addElement(m, 1, 2);
    m.nodes.Fx[2] = load;
    Button_Epilisi(h.app);
    QCOMPARE(m.results.D[3], double(load));
    QVERIFY(!m.analysisFailed);
    QVERIFY(!m.changed);  // the results remain and count
    const auto& q = h.prompter.questions();
    QCOMPARE(q.size(), std::size_t(warned ? 1 : 0));
    if (warned) {
        QCOMPARE(q[0].text, kMechanism + "\r\n\r\nmax.(u) = u(3) = 10000001");
        QCOMPARE(q[0].icon, MessageIcon::Critical);
        QCOMPARE(h.app.log.lastLine(), " " + kMechanism);
        QCOMPARE(h.app.log.runs().back().colour, LogColour::Red);
    }
}

void TestAnalysisRun::springsWithoutElementsKeepChangedFlag() {
    Harness h;
    Model& m = h.app.model;
    addNode(m, 0, 0);
    addNode(m, 5, 0);
    m.nodes.Kx[1] = m.nodes.Ky[1] = m.nodes.Kx[2] = m.nodes.Ky[2] = 100;
    m.nodes.Fx[2] = 50;
    m.changed = true;
    m.results.extremes[kMaxAbsUx] = 123;  // left from an earlier analysis
    h.prompter.queueAnswer(Answer::No);
    Button_Epilisi(h.app);
    QCOMPARE(h.prompter.questions().size(), std::size_t(1));  // only node 1 is asked about
    QVERIFY(!m.analysisFailed);
    QCOMPARE(m.results.D[3], 0.5);
    QVERIFY(m.changed);
    QCOMPARE(m.results.extremes[kMaxAbsUx], 123.0);
}

void TestAnalysisRun::confirmReanalysis() {
    Harness h;
    buildTriangle(h.app.model);
    h.prompter.queueAnswer(Answer::No);
    h.prompter.queueAnswer(Answer::Yes);
    ConfirmReanalysis(h.app);
    QVERIFY(h.app.model.changed);
    ConfirmReanalysis(h.app);  // Yes runs the analysis
    QVERIFY(!h.app.model.changed);
    ConfirmReanalysis(h.app);  // nothing to ask about any more
    const auto& q = h.prompter.questions();
    QCOMPARE(q.size(), std::size_t(2));
    QCOMPARE(q[1].text,
             std::string("Model has been changed. Do you want to reanalyze before the process "
                         "goes on?"));
    QCOMPARE(q[1].icon, MessageIcon::Exclamation);
    QCOMPARE(q[1].buttons, MessageButtons::YesNo);
}

QTEST_APPLESS_MAIN(TestAnalysisRun)
#include "test_analysis_run.moc"
