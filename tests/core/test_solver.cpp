#include <QtTest>

#include "analysis/solver.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

Q_DECLARE_METATYPE(vortak::Model)
Q_DECLARE_METATYPE(vortak::SolveStatus)

namespace {

constexpr double kE = 2.1e8, kA = 0.01, kEA = kE * kA;

// Nodes 1 (0,0) pinned, 2 (8,0) on a roller, 3 (4,3) loaded by (16, -30); elements 1-2,
// 2-3, 1-3. By the method of joints N = 28, -35, -15; reactions (-16, 9) and (0, 21).
Model triangle345() {
    Model m;
    addNode(m, 0, 0, 1, 1);
    addNode(m, 8, 0, 0, 1);
    m.setNode(++m.nodeCount, Node{4, 3, 0, 0, 16, -30, 0, 0});
    addGroup(m, kE, kA);
    for (auto [i, j] : {std::pair{1, 2}, {2, 3}, {1, 3}}) addElement(m, i, j);
    return m;
}

bool near(double a, double e) { return std::fabs(a - e) <= 1e-9 * std::max(1.0, std::fabs(e)); }

using Change = void (*)(Model&);

}  // namespace

Q_DECLARE_METATYPE(Change)

class TestSolver : public QObject {
    Q_OBJECT
private slots:
    void singleBar_data();
    void singleBar();
    void determinateTriangle_data();
    void determinateTriangle();
    void failures_data();
    void failures();
};

void TestSolver::singleBar_data() {
    QTest::addColumn<Model>("m");
    QTest::addColumn<double>("u");  // of the free DOF 3
    QTest::addColumn<double>("N");
    QTest::addColumn<QList<double>>("R");  // Rx, Ry of node 1, then of node 2
    // Node 1 pinned at the origin, node 2 at (4, 0) fixed in y, one bar, Fx = 10 at node 2.
    Model bar;
    addNode(bar, 0, 0, 1, 1);
    addNode(bar, 4, 0, 0, 1);
    addGroup(bar, kE, kA);
    addElement(bar, 1, 2);
    bar.nodes.Fx[2] = 10;

    Model loaded = bar;  // loads on fixed DOFs go straight into the reactions
    loaded.nodes.Fx[1] = 2;
    loaded.nodes.Fy[2] = 7;
    QTest::newRow("loaded") << loaded << 40 / kEA << 10.0 << QList<double>{-12, 0, 0, -7};

    Model spring = bar;  // the spring force is the reaction at node 2
    const double kx = spring.nodes.Kx[2] = 3.0e5f;
    const double u = 10 / (kEA / 4 + kx);
    QTest::newRow("spring") << spring << u << kEA / 4 * u
                            << QList<double>{-kEA / 4 * u, 0, -kx * u, 0};

    Model fixed = bar;
    fixed.nodes.cx[2] = 1;
    QTest::newRow("all DOFs fixed") << fixed << 0.0 << 0.0 << QList<double>{0, 0, -10, 0};
}

void TestSolver::singleBar() {
    QFETCH(Model, m);
    QFETCH(double, u);
    QFETCH(QList<double>, R);
    QVERIFY(SolveTruss(m, m.results).ok());
    for (int d = 1; d <= 4; ++d) QVERIFY(near(m.results.D[d], d == 3 ? u : 0));
    QTEST(m.results.FL[1][2], "N");
    for (int k = 0; k < 4; ++k) QVERIFY(near(m.results.R[1 + k / 2][1 + k % 2], R[k]));
}

void TestSolver::determinateTriangle_data() {
    QTest::addColumn<Model>("m");
    QTest::addColumn<QList<double>>("N");
    QTest::addColumn<int>("pin");
    QTest::newRow("as built") << triangle345() << QList<double>{28, -35, -15} << 1;
    // Nodes and element ends numbered the other way round: any slip in the DOF order or the
    // assembly changes the member forces.
    Model m;
    m.setNode(++m.nodeCount, Node{4, 3, 0, 0, 16, -30, 0, 0});
    addNode(m, 8, 0, 0, 1);
    addNode(m, 0, 0, 1, 1);
    addGroup(m, kE, kA);
    for (auto [i, j] : {std::pair{3, 1}, {1, 2}, {2, 3}}) addElement(m, i, j);
    QTest::newRow("renumbered") << m << QList<double>{-15, -35, 28} << 3;
}

void TestSolver::determinateTriangle() {
    QFETCH(Model, m);
    QFETCH(QList<double>, N);
    QFETCH(int, pin);
    QVERIFY(SolveTruss(m, m.results).ok());
    const AnalysisResults& r = m.results;
    for (int e = 1; e <= 3; ++e) QVERIFY(near(r.FL[e][2], N[e - 1]));
    QVERIFY(near(r.R[pin][1], -16) && near(r.R[pin][2], 9));
    QVERIFY(near(r.R[2][1], 0) && near(r.R[2][2], 21));
}

void TestSolver::failures_data() {
    QTest::addColumn<SolveStatus>("status");
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("node");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<Change>("change");  // made to the triangle
    auto row = [](const char* name, SolveStatus status, int element, int node, const char* quantity,
                  Change change) {
        QTest::newRow(name) << status << element << node << QString(quantity) << change;
    };
    using enum SolveStatus;
    row("unconnected free node", ArithmeticFault, 0, 0, "", [](Model& m) { addNode(m, 10, 10); });
    row("zero length", ZeroLengthElement, 4, 0, "",
        [](Model& m) { addElement(m, 3, addNode(m, 4, 3)); });
    row("E = 0", InvalidSection, 2, 0, "",
        [](Model& m) { m.elements.group[2] = addGroup(m, 0.0, kA); });
    row("E*A overflows", InvalidStiffness, 1, 0, "",
        [](Model& m) { m.groups.E[1] = m.groups.A[1] = 1e300; });
    row("missing node", InvalidReference, 3, 0, "", [](Model& m) { m.elements.j[3] = 7; });
    // Every number a run would show is finite, or the run names the first one that is not.
    row("stress N/A overflows", ElementResultOverflow, 1, 0, "axial stress", [](Model& m) {
        m.setGroup(1, {1e305, 1e-300});
        m.nodes.Fx[3] = 1e10f;
    });
    row("total displacement overflows", NodeResultOverflow, 0, 2, "total displacement",
        [](Model& m) {
            m.setGroup(1, {1e-300, 1});
        });
}

void TestSolver::failures() {
    QFETCH(Change, change);
    Model model = triangle345();
    change(model);
    // A refused model leaves the earlier results as they were, never partly written.
    model.results.D.fill(7);
    model.results.FL[1].fill(7);
    model.results.R[3].fill(7);
    const AnalysisResults before = model.results;
    const SolveOutcome outcome = SolveTruss(model, model.results);
    QTEST(outcome.status, "status");
    QTEST(outcome.element, "element");
    QTEST(outcome.node, "node");
    QTEST(QString(outcome.quantity), "quantity");
    QVERIFY(model.results.D == before.D && model.results.FL == before.FL);
    QVERIFY(model.results.FG == before.FG && model.results.R == before.R);
    QVERIFY(!model.results.valid);
}

QTEST_APPLESS_MAIN(TestSolver)
#include "test_solver.moc"
