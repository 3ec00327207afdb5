#include <QtTest>

#include <cmath>

#include "analysis/solver.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

Q_DECLARE_METATYPE(vortak::Model)
Q_DECLARE_METATYPE(vortak::SolveStatus)

namespace {

constexpr double kE = 2.1e8;
constexpr double kA = 0.01;
constexpr float kL = 4.0f;
constexpr float kP = 10.0f;

// Node 1 pinned at the origin, node 2 at (L, 0) fixed in y, one bar, Fx = P at node 2.
Model horizontalBar() {
    Model m;
    addNode(m, 0, 0, 1, 1);
    addNode(m, kL, 0, 0, 1);
    addGroup(m, kE, kA);
    addElement(m, 1, 2);
    m.nodes.Fx[2] = kP;
    return m;
}

// Nodes 1 (0,0) pinned, 2 (8,0) on a roller, 3 (4,3) loaded by (16, -30); elements 1-2,
// 2-3, 1-3. By the method of joints N = 28, -35, -15; reactions (-16, 9) and (0, 21).
Model triangle345() {
    Model m;
    addNode(m, 0, 0, 1, 1);
    addNode(m, 8, 0, 0, 1);
    addNode(m, 4, 3);
    addGroup(m, kE, kA);
    addElement(m, 1, 2);
    addElement(m, 2, 3);
    addElement(m, 1, 3);
    m.nodes.Fx[3] = 16;
    m.nodes.Fy[3] = -30;
    return m;
}

bool near(double actual, double expected) {
    return std::fabs(actual - expected) <= 1e-9 * std::max(1.0, std::fabs(expected));
}

}  // namespace

class TestSolver : public QObject {
    Q_OBJECT
private slots:
    void singleBar_data();
    void singleBar();
    void determinateTriangle();
    void renumberedTriangleKeepsMemberForces();
    void failures_data();
    void failures();
};

void TestSolver::singleBar_data() {
    QTest::addColumn<Model>("m");
    QTest::addColumn<int>("dof");  // the free DOF of node 2
    QTest::addColumn<double>("u");
    QTest::addColumn<double>("N");
    QTest::addColumn<QList<double>>("R");  // Rx, Ry of node 1, then of node 2
    const double EA = kE * kA;

    Model loaded = ::horizontalBar();  // loads on fixed DOFs go straight into the reactions
    loaded.nodes.Fx[1] = 2;
    loaded.nodes.Fy[2] = 7;
    QTest::newRow("horizontal") << loaded << 3 << kP * kL / EA << double(kP)
                                << QList<double>{-kP - 2.0, 0, 0, -7};

    Model spring = ::horizontalBar();  // the spring force is the reaction at node 2
    const float kx = 3.0e5f;
    spring.nodes.Kx[2] = kx;
    const double u = kP / (EA / kL + kx);
    QTest::newRow("spring") << spring << 3 << u << EA / kL * u
                            << QList<double>{-EA / kL * u, 0, -kx * u, 0};

    Model vertical;
    addNode(vertical, 0, 0, 1, 1);
    addNode(vertical, 0, 3, 1, 0);
    addGroup(vertical, kE, kA);
    addElement(vertical, 1, 2);
    vertical.nodes.Fy[2] = -5;
    QTest::newRow("vertical, one free DOF")
        << vertical << 4 << -15 / EA << -5.0 << QList<double>{0, 5, 0, 0};

    Model fixed = ::horizontalBar();
    fixed.nodes.cx[2] = 1;
    QTest::newRow("all DOFs fixed") << fixed << 3 << 0.0 << 0.0 << QList<double>{0, 0, -kP, 0};
}

void TestSolver::singleBar() {
    QFETCH(Model, m);
    QFETCH(int, dof);
    QFETCH(double, u);
    QFETCH(double, N);
    QFETCH(QList<double>, R);
    QVERIFY(SolveTruss(m, m.results).ok());
    for (int d = 1; d <= 4; ++d) QVERIFY(near(m.results.D[d], d == dof ? u : 0));
    QVERIFY(near(m.results.FL[1][2], N));
    for (int k = 0; k < 4; ++k) QVERIFY(near(m.results.R[1 + k / 2][1 + k % 2], R[k]));
}

void TestSolver::determinateTriangle() {
    Model m = triangle345();
    QVERIFY(SolveTruss(m, m.results).ok());
    const AnalysisResults& r = m.results;
    QVERIFY(near(r.FL[1][2], 28) && near(r.FL[2][2], -35) && near(r.FL[3][2], -15));
    QVERIFY(near(r.R[1][1], -16) && near(r.R[1][2], 9));
    QVERIFY(near(r.R[2][1], 0) && near(r.R[2][2], 21));
    // Global end forces of element 3 (1 -> 3, direction (0.8, 0.6)) at node 3.
    QVERIFY(near(r.FG[3][3], -15 * 0.8) && near(r.FG[3][4], -15 * 0.6));
    // Elongation of element 1 is N L / (E A) and shows as the x displacement of node 2.
    QVERIFY(near(r.D[3], 28.0 * 8 / (kE * kA)));
}

void TestSolver::renumberedTriangleKeepsMemberForces() {
    // The same truss with nodes and element ends numbered the other way round: any slip
    // in the DOF order or the assembly changes the member forces.
    Model m;
    addNode(m, 4, 3);
    addNode(m, 8, 0, 0, 1);
    addNode(m, 0, 0, 1, 1);
    addGroup(m, kE, kA);
    addElement(m, 3, 1);  // was 1-3
    addElement(m, 1, 2);  // was 2-3
    addElement(m, 2, 3);  // was 1-2
    m.nodes.Fx[1] = 16;
    m.nodes.Fy[1] = -30;
    QVERIFY(SolveTruss(m, m.results).ok());
    QVERIFY(near(m.results.FL[1][2], -15) && near(m.results.FL[2][2], -35));
    QVERIFY(near(m.results.FL[3][2], 28));
    QVERIFY(near(m.results.R[3][1], -16) && near(m.results.R[2][2], 21));
}

void TestSolver::failures_data() {
    QTest::addColumn<Model>("model");
    QTest::addColumn<SolveStatus>("status");
    QTest::addColumn<int>("element");

    Model unconnected = triangle345();
    addNode(unconnected, 10, 10);
    QTest::newRow("unconnected free node") << unconnected << SolveStatus::ArithmeticFault << 0;

    Model zeroLength = triangle345();
    addNode(zeroLength, 4, 3, 1, 1);  // on top of node 3
    addElement(zeroLength, 3, 4);
    QTest::newRow("zero length") << zeroLength << SolveStatus::ZeroLengthElement << 4;

    Model noModulus = triangle345();
    addGroup(noModulus, 0.0, kA);
    noModulus.elements.group[2] = 2;
    QTest::newRow("E = 0") << noModulus << SolveStatus::InvalidSection << 2;

    Model overflow = triangle345();
    overflow.groups.E[1] = overflow.groups.A[1] = 1e300;
    QTest::newRow("stiffness overflows") << overflow << SolveStatus::ArithmeticFault << 0;

    Model badReference = triangle345();
    badReference.elements.j[3] = 7;
    QTest::newRow("missing node") << badReference << SolveStatus::InvalidReference << 3;
}

void TestSolver::failures() {
    QFETCH(Model, model);
    QFETCH(SolveStatus, status);
    QFETCH(int, element);
    // A refused model leaves the earlier results as they were, never partly written.
    model.results.D.fill(7);
    model.results.FL[1].fill(7);
    model.results.R[3].fill(7);
    const AnalysisResults before = model.results;
    const SolveOutcome outcome = SolveTruss(model, model.results);
    QCOMPARE(outcome.status, status);
    QCOMPARE(outcome.element, element);
    QVERIFY(model.results.D == before.D && model.results.FL == before.FL);
    QVERIFY(model.results.FG == before.FG && model.results.R == before.R);
}

QTEST_APPLESS_MAIN(TestSolver)
#include "test_solver.moc"
