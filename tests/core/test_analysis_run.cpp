#include "analysis/result_values.h"
#include "app/analysis_run.h"
#include "test_support.h"

using namespace vortak::test;

namespace {

const QString kFailure =
    "An error occured during the analysis process. Make sure that the structure is well "
    "defined (not a mechanism) and can be analyzed.";
const std::vector<std::string> kShellEvents{"disable", "refresh", "busy", "normal", "enable"};

QString unconnected(int n) {
    return "Node #" + QString::number(n) +
           " is not connected to other nodes with elements and could probably cause problems "
           "to the solution process.";
}

QStringList runLog(const QString& total) {
    return {" ANALYSIS", " Start:  10:00:00", " Finish:  10:00:01",
            " Total time:  " + total + " sec"};
}

// The triangle, its element 2-3 in a group of its own.
void buildTriangle(Model& m) {
    addGroup(m, 2.0e8, 0.01);
    addGroup(m, 1.0e8, 0.02);
    addTriangle(m, 2);
    m.changed = true;
}

using Change = void (*)(Model&);
using Values = QList<double>;

}  // namespace

Q_DECLARE_METATYPE(Change)

class TestAnalysisRun : public QObject {
    Q_OBJECT
private slots:
    void nothingToAnalyse() {
        Harness h;
        h.app.animationRunning = true;
        Button_Epilisi(h.app);
        QVERIFY(h.app.log.runs().empty() && !h.app.animationRunning);
        // The only node is unconnected and deleted: no analysis starts.
        addNode(h.app.model, 1, 1);
        h.prompter.queueAnswer(Answer::Yes);
        Button_Epilisi(h.app);
        QCOMPARE(logLines(h.app), (QStringList{" " + unconnected(1), " Node deleted: #1."}));
        QVERIFY(h.shell.events.empty());
    }

    void successfulRun() {
        Harness h;
        buildTriangle(h.app.model);
        // The total time comes from the monotonic clock, not from the times of day, and is
        // rounded to milliseconds with halves to even.
        h.shell.clock = {86399.0, 86401.0625};
        Button_Epilisi(h.app);
        QCOMPARE(logLines(h.app), runLog("2.062"));
        QVERIFY(!h.app.model.changed);
        QCOMPARE(h.shell.events, kShellEvents);
        // The extremes follow, with the stresses and strains of each element's own group:
        // stresses 28 / 0.01, -35 / 0.02, -15 / 0.01; strains with E of 2e8 and 1e8.
        const AnalysisResults& r = h.app.model.results;
        QCOMPARE(r.extremes[kMaxAbsN], 35.0);
        QCOMPARE(r.extremes[kMaxAbsStress], 2800.0);
        QCOMPARE(r.extremes[kMaxAbsStrain], 1750 / 1.0e8);
        QCOMPARE(r.extremes[kMaxTotalDisplacement], std::hypot(r.D[5], r.D[6]));
    }

    void connectivityDialogue_data() {
        columns<QList<int>, QStringList>("answers", "log");
        const QString ask = " " + unconnected(4);
        QTest::newRow("cancel stops") << QList<int>{int(Answer::Cancel)} << QStringList{ask};
        QTest::newRow("no runs without asking again")
            << QList<int>{int(Answer::No)}
            << QStringList{ask, " ANALYSIS", " Start:  10:00:00 , Termination: 10:00:01",
                           " " + kFailure};
        QTest::newRow("yes deletes and asks again")
            << QList<int>{int(Answer::Yes), int(Answer::Yes)}
            << QStringList{ask, " Node deleted: #4. Nodes renumbered: #5.", ask,
                           " Node deleted: #4."} +
                   runLog("0.047");
    }

    void connectivityDialogue() {
        QFETCH(QList<int>, answers);
        // Nodes 4 and 5 are unconnected.
        Harness h;
        Model& m = h.app.model;
        buildTriangle(m);
        addNode(m, -5, -5);
        addNode(m, 20, 20);
        for (int a : answers) h.prompter.queueAnswer(Answer(a));
        Button_Epilisi(h.app);
        QTEST(logLines(h.app), "log");
        QCOMPARE(
            QString::fromStdString(h.prompter.questions()[0].text),
            unconnected(4) + " Do you want that node to be deleted before starting the analysis?");
        const int deleted = int(answers.count(int(Answer::Yes)));
        QVERIFY(h.shell.redraws == deleted && m.nodeCount == 5 - deleted);
        if (deleted) QCOMPARE(m.results.R[1][2] + m.results.R[2][2], 30.0);
    }

    void extremes_data() {
        // ux: of nodes 1 to 4
        // N: of elements 1 to 4
        columns<Values, Values, Values, Values>("ux", "uy", "N", "extremes");
        // One sign per field: a scan starting from 0 rather than from node or element 1 keeps 0
        // as the largest of negative values or the smallest of positive ones. Totals 5, 17, 13,
        // 25; stresses -10, -16, -4, -24; strains -20, -8, -8, -12. The smallest ux and stress
        // are at the last node and element, the largest ux at node 1, the largest uy at node 2
        // with a smaller one after it; the largest absolute ux, N, stress and strain are negative.
        QTest::newRow("ux, N negative")
            << Values{-3, -8, -5, -24} << Values{4, 15, 12, 7} << Values{-40, -8, -16, -12}
            << Values{24, -3, -24, 15, 15, 4, 25, 5, 40, -8, -40, 24, -4, -24, 20, -8, -20};
        // Totals 20, 10, 29, 25; stresses 2, 8, 12, 4; strains 4, 4, 24, 2. The smallest ux, uy,
        // N and strain are at the last node and element.
        QTest::newRow("ux, N positive")
            << Values{12, 8, 20, 7} << Values{-16, -6, -21, -24} << Values{8, 4, 48, 2}
            << Values{20, 20, 7, 24, -6, -24, 29, 10, 48, 48, 2, 12, 12, 2, 24, 24, 2};
    }

    void extremes() {
        const auto [ux, uy, N, extremes] =
            fetch<Values, Values, Values, Values>("ux", "uy", "N", "extremes");
        Model m;
        for (int n = 1; n <= 4; ++n) addNode(m, float(n), 0);
        addGroup(m, 2, 0.5);  // stress 2N, strain N
        addGroup(m, 0.5, 4);  // stress N/4, strain N/2
        for (int g : {2, 1, 2, 1}) addElement(m, 1, 2, g);
        AnalysisResults& r = m.results;
        for (int k = 0; k < 4; ++k) {
            r.D[2 * k + 1] = ux[k];
            r.D[2 * k + 2] = uy[k];
            r.FL[k + 1] = {0, -N[k], N[k]};
        }
        // Values past the last node and element that no scan may reach.
        r.D[9] = 1000;
        r.D[10] = -1000;
        r.FL[5] = {0, -1000, 1000};
        m.setElement(5, {1, 2, 1});
        computeExtremes(m);
        for (int x = kMaxAbsUx; x <= kMinStrain; ++x)
            QVERIFY2(r.extremes[x] == extremes[x - 1],
                     qPrintable(QString("extreme %1 is %2").arg(x).arg(r.extremes[x])));
    }

    void failedRunKeepsPreviousResults_data() {
        // change: made to the analysed triangle
        // cause: the red line before the failure message
        columns<Change, QString>("change", "cause");
        QTest::newRow("zero length") << Change([](Model& m) {
            addElement(m, 3, addNode(m, 4, 3, 1, 1));  // on top of node 3
        }) << "Element #4 has zero length.";
        // The results of the solve are finite, but a value derived from them for display is not;
        // elements are checked in ascending order after the nodes.
        QTest::newRow("stress overflows") << Change([](Model& m) {
            m.setGroup(2, {1e305, 1e-300});
            m.setLoad(3, {1.6e11f, -3e11f});
        }) << "The axial stress of element #2 is too large to be represented.";
        QTest::newRow("total displacement overflows") << Change([](Model& m) {
            m.setGroup(1, {1e-300, 1});
            m.setGroup(2, {1e-300, 1});
        }) << "The total displacement of node #2 is too large to be represented.";
    }

    void failedRunKeepsPreviousResults() {
        const auto [change, cause] = fetch<Change, QString>("change", "cause");
        Harness h;
        Model& m = h.app.model;
        buildTriangle(m);
        Button_Epilisi(h.app);
        const AnalysisResults before = m.results;
        const ModelTables analysed = m;
        change(m);
        m.changed = true;
        h.app.currentView = ViewMode::Deformed;
        h.shell.events.clear();
        Button_Epilisi(h.app);
        const QStringList expected{" ANALYSIS", " Start:  10:00:01 , Termination: 10:00:01",
                                   " " + cause, " " + kFailure};
        QCOMPARE(logLines(h.app).mid(4), expected);
        const std::vector<LogRun>& runs = h.app.log.runs();
        QVERIFY(runs.end()[-2].colour == LogColour::Red && runs.back().colour == LogColour::Red);
        QCOMPARE(h.shell.events, kShellEvents);
        QVERIFY(m.analysisFailed && m.changed && !m.hasCurrentResults());
        QCOMPARE(h.app.currentView, ViewMode::Model);
        QVERIFY(m.results.D == before.D && m.results.FL == before.FL && m.results.R == before.R);
        QVERIFY(m.results.extremes == before.extremes);
        // A later successful run clears the failure flag.
        static_cast<ModelTables&>(m) = analysed;
        Button_Epilisi(h.app);
        QVERIFY(!m.analysisFailed && m.hasCurrentResults());
    }

    void mechanismWarning_data() {
        columns<float, bool>("load", "warned");
        QTest::newRow("exactly ten million") << 1.0e7f << false;
        QTest::newRow("just above, pulled the other way") << -10000001.0f << true;
    }

    void mechanismWarning() {
        const auto [load, warned] = fetch<float, bool>("load", "warned");
        // A unit bar (E = A = L = 1) pulled by the load at its free end moves by the load.
        Harness h;
        Model& m = h.app.model;
        addBar(m, 1);
        m.nodes.Fx[2] = load;
        Button_Epilisi(h.app);
        QCOMPARE(m.results.D[3], double(load));
        QVERIFY(!m.analysisFailed && !m.changed);  // the results remain and count
        const auto& q = h.prompter.questions();
        QCOMPARE(q.size(), std::size_t(warned ? 1 : 0));
        if (!warned) return;
        const std::string warning =
            "The analysis has been carried out successfully, yet some of the resultant "
            "displacements have excessive values. The structure is probably a mechanism.";
        QCOMPARE(q[0].text, warning + "\r\n\r\nmax.(u) = u(3) = 10000001");
        QCOMPARE(h.app.log.lastLine(), " " + warning);
    }

    void springsWithoutElementsKeepChangedFlag() {
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
        QVERIFY(!m.analysisFailed && m.changed);
        QCOMPARE(m.results.D[3], 0.5);
        QCOMPARE(m.results.extremes[kMaxAbsUx], 123.0);
    }

    void confirmReanalysis() {
        Harness h;
        buildTriangle(h.app.model);
        h.prompter.queueAnswer(Answer::No);
        h.prompter.queueAnswer(Answer::Yes);
        ConfirmReanalysis(h.app);
        QVERIFY(h.app.model.changed);
        ConfirmReanalysis(h.app);  // Yes runs the analysis
        QVERIFY(!h.app.model.changed);
        ConfirmReanalysis(h.app);  // nothing to ask about any more
        QCOMPARE(h.prompter.questions().size(), std::size_t(2));
    }
};

QTEST_APPLESS_MAIN(TestAnalysisRun)
#include "test_analysis_run.moc"
