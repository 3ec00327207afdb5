#include <QtTest>

#include "analysis/analysis_run.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

namespace {

const std::string kFailure =
    "An error occured during the analysis process. Make sure that the structure is well "
    "defined (not a mechanism) and can be analyzed.";
const std::string kMechanism =
    "The analysis has been carried out successfully, yet some of the resultant "
    "displacements have excessive values. The structure is probably a mechanism.";

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

// A unit bar (E = A = L = 1) pulled by P at its free end: the end moves by exactly P.
void buildUnitBar(Model& m, float P) {
    addNode(m, 0, 0, 1, 1);
    addNode(m, 1, 0, 0, 1);
    addGroup(m, 1, 1);
    addElement(m, 1, 2);
    m.nodes.Fx[2] = P;
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
    void emptyModelDoesNothing();
    void successfulRunLogsTimesAndClearsChanged();
    void elapsedTimeRoundsHalfToEven();
    void elapsedTimeAcrossMidnight();
    void extremesFollowStrictReplacement();
    void connectivityDialogue_data();
    void connectivityDialogue();
    void onlyNodeDeletedLeavesNothingToAnalyse();
    void failedRunKeepsPreviousResults();
    void zeroLengthElementNamedBeforeFailure();
    void mechanismWarning_data();
    void mechanismWarning();
    void springsWithoutElementsKeepChangedFlag();
    void confirmReanalysis();
};

void TestAnalysisRun::emptyModelDoesNothing() {
    Harness h;
    h.app.animationRunning = true;
    Button_Epilisi(h.app);
    QVERIFY(h.app.log.runs().empty());
    QVERIFY(h.prompter.questions().empty());
    QVERIFY(!h.app.animationRunning);
}

void TestAnalysisRun::successfulRunLogsTimesAndClearsChanged() {
    Harness h;
    buildTriangle(h.app.model);
    h.app.currentView = ViewMode::NDiagram;
    Button_Epilisi(h.app);
    const std::vector<std::string> expected{" ANALYSIS", " Start:  10:00:00", " Finish:  10:00:01",
                                            " Total time:  0.047 sec"};
    QCOMPARE(logLines(h.app), expected);
    QVERIFY(h.app.log.runs()[0].bold);
    QVERIFY(!h.app.log.runs()[1].bold);
    QVERIFY(h.prompter.questions().empty());
    QVERIFY(!h.app.model.changed);
    QVERIFY(!h.app.model.analysisFailed);
    QCOMPARE(h.app.currentView, ViewMode::NDiagram);  // the run does not change the view
    const std::vector<std::string> events{"disable", "refresh", "busy", "normal", "enable"};
    QCOMPARE(h.shell.events, events);
    QVERIFY(std::fabs(h.app.model.results.FL[1][2] - 28) < 1e-9);
}

void TestAnalysisRun::elapsedTimeRoundsHalfToEven() {
    Harness h;
    buildTriangle(h.app.model);
    h.shell.clock = {0.0, 0.0625};  // 62.5 ms, exact in binary
    Button_Epilisi(h.app);
    QCOMPARE(h.app.log.lastLine(), std::string(" Total time:  0.062 sec"));
}

void TestAnalysisRun::elapsedTimeAcrossMidnight() {
    Harness h;
    buildTriangle(h.app.model);
    h.shell.times = {"23:59:59", "00:00:01"};
    h.shell.clock = {86399.0, 86401.0};
    Button_Epilisi(h.app);
    QCOMPARE(h.app.log.lastLine(), std::string(" Total time:  2 sec"));
}

void TestAnalysisRun::extremesFollowStrictReplacement() {
    Harness h;
    Model& m = h.app.model;
    buildTriangle(m);
    Button_Epilisi(h.app);
    const AnalysisResults& r = m.results;
    const auto check = [&](int which, double expected) {
        const double actual = r.extremes[which];
        if (std::fabs(actual - expected) > 1e-9 * std::max(1.0, std::fabs(expected))) {
            QFAIL(qPrintable(QString("extreme %1: %2, expected %3")
                                 .arg(which)
                                 .arg(actual, 0, 'g', 17)
                                 .arg(expected, 0, 'g', 17)));
        }
    };
    check(kMaxAbsN, 35);
    check(kMaxN, 28);
    check(kMinN, -35);
    // Stress: 28 / 0.01, -35 / 0.02, -15 / 0.01.
    check(kMaxAbsStress, 2800);
    check(kMaxStress, 2800);
    check(kMinStress, -1750);
    check(kMaxAbsStrain, 1750 / 1.0e8);
    check(kMaxStrain, 2800 / 2.0e8);
    check(kMinStrain, -1750 / 1.0e8);
    // Node 1 is pinned: its zero displacement is the smallest total and starts every scan.
    check(kMinTotalDisplacement, 0);
    check(kMaxUx, std::max({r.D[1], r.D[3], r.D[5]}));
    check(kMinUy, std::min({r.D[2], r.D[4], r.D[6]}));
    check(kMaxAbsUy, std::fabs(r.D[6]));
    check(kMaxTotalDisplacement, std::hypot(r.D[5], r.D[6]));
}

void TestAnalysisRun::connectivityDialogue_data() {
    QTest::addColumn<QList<int>>("answers");  // Answer values in order
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<int>("nodesLeft");
    QTest::addColumn<bool>("analysed");

    const QString ask1 = " " + QString::fromStdString(unconnected(1));
    const QString ask2 = " " + QString::fromStdString(unconnected(2));
    // Model: node 1 unconnected, nodes 2 and 3 unconnected after... see test body.
    QTest::newRow("cancel stops") << QList<int>{int(Answer::Cancel)} << QStringList{ask1} << 5
                                  << false;
    QTest::newRow("no runs without asking again")
        << QList<int>{int(Answer::No)}
        << QStringList{ask1, " ANALYSIS", " Start:  10:00:00 , Termination: 10:00:01",
                       " " + QString::fromStdString(kFailure)}
        << 5 << false;
    QTest::newRow("yes deletes and restarts")
        << QList<int>{int(Answer::Yes), int(Answer::Yes)}
        << QStringList{ask1,
                       " Node deleted: #1. Nodes renumbered: #2 to #5.",
                       ask2,
                       " Node deleted: #2. Nodes renumbered: #3 to #4.",
                       " ANALYSIS",
                       " Start:  10:00:00",
                       " Finish:  10:00:01",
                       " Total time:  0.047 sec"}
        << 3 << true;
    QTest::newRow("yes then cancel")
        << QList<int>{int(Answer::Yes), int(Answer::Cancel)}
        << QStringList{ask1, " Node deleted: #1. Nodes renumbered: #2 to #5.", ask2} << 4 << false;
}

void TestAnalysisRun::connectivityDialogue() {
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, log);
    QFETCH(int, nodesLeft);
    QFETCH(bool, analysed);
    // Node 1 and node 3 are unconnected; the truss is nodes 2, 4, 5.
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
    QCOMPARE(m.changed, !analysed);
    QVERIFY(h.prompter.allAnswersUsed());
    const auto& q = h.prompter.questions();
    QCOMPARE(int(q.size()),
             int(answers.size()) + (log.contains(" " + QString::fromStdString(kFailure)) ? 1 : 0));
    QCOMPARE(q[0].text,
             unconnected(1) + " Do you want that node to be deleted before starting the analysis?");
    QCOMPARE(q[0].icon, MessageIcon::Question);
    QCOMPARE(q[0].buttons, MessageButtons::YesNoCancel);
    // The unconnected line is red; the deletion green.
    QCOMPARE(h.app.log.runs()[0].colour, LogColour::Red);
    if (answers.size() > 1) QCOMPARE(h.app.log.runs()[1].colour, LogColour::Green);
    QCOMPARE(h.shell.redraws, int(std::count(answers.begin(), answers.end(), int(Answer::Yes))));
    if (analysed) {
        // After renumbering the truss is nodes 1, 2, 3.
        QCOMPARE(m.nodeI(1), 1);
        QCOMPARE(m.nodeJ(1), 2);
        QVERIFY(std::fabs(m.results.R[1][2] + m.results.R[2][2] - 30) < 1e-9);
    }
}

void TestAnalysisRun::onlyNodeDeletedLeavesNothingToAnalyse() {
    Harness h;
    addNode(h.app.model, 1, 1);
    h.prompter.queueAnswer(Answer::Yes);
    Button_Epilisi(h.app);
    const std::vector<std::string> expected{" " + unconnected(1), " Node deleted: #1."};
    QCOMPARE(logLines(h.app), expected);
    QCOMPARE(h.app.model.nodeCount, 0);
    QVERIFY(h.shell.events.empty());  // no analysis started
}

void TestAnalysisRun::failedRunKeepsPreviousResults() {
    Harness h;
    Model& m = h.app.model;
    buildTriangle(m);
    Button_Epilisi(h.app);
    const AnalysisResults before = m.results;
    m.nodes.cx[1] = 0;  // now free to slide: an exact mechanism
    m.changed = true;
    h.app.currentView = ViewMode::Deformed;
    h.shell.events.clear();
    Button_Epilisi(h.app);
    QVERIFY(m.analysisFailed);
    QVERIFY(m.changed);
    QCOMPARE(h.app.currentView, ViewMode::Model);
    QVERIFY(m.results.D == before.D && m.results.FL == before.FL && m.results.R == before.R);
    QVERIFY(m.results.extremes == before.extremes);
    const auto& q = h.prompter.questions();
    QCOMPARE(int(q.size()), 1);
    QCOMPARE(q[0].text, kFailure);
    QCOMPARE(q[0].icon, MessageIcon::Critical);
    QCOMPARE(h.app.log.lastLine(), " " + kFailure);
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Red);
    const std::vector<std::string> events{"disable", "refresh", "busy", "normal", "enable"};
    QCOMPARE(h.shell.events, events);
    // A later successful run clears the failure flag.
    m.nodes.cx[1] = 1;
    Button_Epilisi(h.app);
    QVERIFY(!m.analysisFailed);
}

void TestAnalysisRun::zeroLengthElementNamedBeforeFailure() {
    Harness h;
    Model& m = h.app.model;
    buildTriangle(m);
    addNode(m, 4, 3, 1, 1);  // node 4 moved onto node 3
    addElement(m, 3, 4);
    Button_Epilisi(h.app);
    const std::vector<std::string> expected{" ANALYSIS",
                                            " Start:  10:00:00 , Termination: 10:00:01",
                                            " Element #4 has zero length.", " " + kFailure};
    QCOMPARE(logLines(h.app), expected);
    QCOMPARE(h.app.log.runs()[3].colour, LogColour::Red);
    QVERIFY(m.analysisFailed);
    for (double d : m.results.D) QCOMPARE(d, 0.0);
}

void TestAnalysisRun::mechanismWarning_data() {
    QTest::addColumn<float>("load");
    QTest::addColumn<bool>("warned");
    QTest::newRow("exactly ten million") << 1.0e7f << false;
    QTest::newRow("just above") << 10000001.0f << true;
    QTest::newRow("pulled the other way") << -10000001.0f << true;
}

void TestAnalysisRun::mechanismWarning() {
    QFETCH(float, load);
    QFETCH(bool, warned);
    Harness h;
    buildUnitBar(h.app.model, load);
    Button_Epilisi(h.app);
    QCOMPARE(h.app.model.results.D[3], double(load));
    QVERIFY(!h.app.model.analysisFailed);
    QVERIFY(!h.app.model.changed);  // the results remain and count
    if (!warned) {
        QVERIFY(h.prompter.questions().empty());
        QCOMPARE(h.app.log.lastLine(), std::string(" Total time:  0.047 sec"));
        return;
    }
    const auto& q = h.prompter.questions();
    QCOMPARE(int(q.size()), 1);
    QCOMPARE(q[0].text, kMechanism + "\r\n\r\nmax.(u) = u(3) = 10000001");
    QCOMPARE(q[0].icon, MessageIcon::Critical);
    QCOMPARE(h.app.log.lastLine(), " " + kMechanism);
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Red);
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
    QCOMPARE(int(h.prompter.questions().size()), 1);  // only node 1 is asked about
    QVERIFY(!m.analysisFailed);
    QCOMPARE(m.results.D[3], 0.5);
    QVERIFY(m.changed);
    QCOMPARE(m.results.extremes[kMaxAbsUx], 123.0);
}

void TestAnalysisRun::confirmReanalysis() {
    const std::string question =
        "Model has been changed. Do you want to reanalyze before the process goes on?";
    {
        Harness h;
        buildTriangle(h.app.model);
        h.app.model.changed = false;
        ConfirmReanalysis(h.app);
        QVERIFY(h.prompter.questions().empty());
    }
    {
        Harness h;
        buildTriangle(h.app.model);
        h.prompter.queueAnswer(Answer::No);
        ConfirmReanalysis(h.app);
        QCOMPARE(h.prompter.questions().at(0).text, question);
        QCOMPARE(h.prompter.questions().at(0).icon, MessageIcon::Exclamation);
        QCOMPARE(h.prompter.questions().at(0).buttons, MessageButtons::YesNo);
        QVERIFY(h.app.log.runs().empty());
        QVERIFY(h.app.model.changed);
    }
    {
        Harness h;
        buildTriangle(h.app.model);
        h.prompter.queueAnswer(Answer::Yes);
        ConfirmReanalysis(h.app);
        QVERIFY(!h.app.model.changed);
        QCOMPARE(logLines(h.app).front(), std::string(" ANALYSIS"));
    }
}

QTEST_APPLESS_MAIN(TestAnalysisRun)
#include "test_analysis_run.moc"
