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

// Nodes 1 (0,0) pinned, 2 (8,0) on a roller (y fixed), 3 (4,3) loaded by (16, -30).
// Elements 1: 1-2, 2: 2-3, 3: 1-3. By the method of joints:
//   N1 = 28, N2 = -35, N3 = -15; reactions (-16, 9) at node 1 and (0, 21) at node 2.
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

bool near(double actual, double expected, double relative = 1e-9) {
    return std::fabs(actual - expected) <= relative * std::max(1.0, std::fabs(expected));
}

void checkEndForcesBalance(const Model& m) {
    for (int e = 1; e <= m.elementCount; ++e) {
        QCOMPARE(m.results.FL[e][1], -m.results.FL[e][2]);
    }
}

}  // namespace

class TestSolver : public QObject {
    Q_OBJECT
private slots:
    void horizontalBar();
    void horizontalBarWithSpring();
    void verticalBarSingleFreeDof();
    void allDofsFixed();
    void loadsOnFixedDofsAppearInReactions();
    void determinateTriangle();
    void rotatedTriangleKeepsMemberForces();
    void failures_data();
    void failures();
    void failureLeavesResultsUntouched();
};

void TestSolver::horizontalBar() {
    Model m = ::horizontalBar();
    const SolveOutcome outcome = SolveTruss(m, m.results);
    QVERIFY(outcome.ok());
    const AnalysisResults& r = m.results;
    QVERIFY(near(r.D[3], kP * kL / (kE * kA)));
    QCOMPARE(r.D[1], 0.0);
    QCOMPARE(r.D[2], 0.0);
    QCOMPARE(r.D[4], 0.0);
    QVERIFY(near(r.FL[1][2], kP));  // tension
    QVERIFY(near(r.R[1][1], -kP));
    QVERIFY(near(r.R[1][2], 0));
    QVERIFY(near(r.R[2][1], 0));
    QVERIFY(near(r.FG[1][3], kP));
    QVERIFY(near(r.FG[1][1], -kP));
    checkEndForcesBalance(m);
}

void TestSolver::horizontalBarWithSpring() {
    Model m = ::horizontalBar();
    const float kx = 3.0e5f;
    m.nodes.Kx[2] = kx;
    QVERIFY(SolveTruss(m, m.results).ok());
    const double u = kP / (kE * kA / kL + kx);
    QVERIFY(near(m.results.D[3], u));
    QVERIFY(near(m.results.FL[1][2], kE * kA / kL * u));
    // The spring carries the rest of the load; the reaction at node 2 is its force.
    QVERIFY(near(m.results.R[2][1], -kx * u));
    QVERIFY(near(m.results.R[1][1] + m.results.R[2][1], -kP));
}

void TestSolver::verticalBarSingleFreeDof() {
    Model m;
    addNode(m, 0, 0, 1, 1);
    addNode(m, 0, 3, 1, 0);
    addGroup(m, kE, kA);
    addElement(m, 1, 2);
    m.nodes.Fy[2] = -5;
    QVERIFY(SolveTruss(m, m.results).ok());
    QVERIFY(near(m.results.D[4], -5.0 * 3.0 / (kE * kA)));
    QVERIFY(near(m.results.FL[1][2], -5));  // compression
    QVERIFY(near(m.results.R[1][2], 5));
    QVERIFY(near(m.results.FG[1][4], -5));
    checkEndForcesBalance(m);
}

void TestSolver::allDofsFixed() {
    Model m = ::horizontalBar();
    m.nodes.cx[2] = 1;
    m.nodes.Fy[2] = -4;
    m.nodes.Fx[1] = 1.5f;
    m.nodes.Fy[1] = 2;
    QVERIFY(SolveTruss(m, m.results).ok());
    for (int d = 1; d <= 4; ++d) QCOMPARE(m.results.D[d], 0.0);
    QCOMPARE(m.results.FL[1][1], 0.0);
    QCOMPARE(m.results.FL[1][2], 0.0);
    for (int a = 1; a <= 4; ++a) QCOMPARE(m.results.FG[1][a], 0.0);
    QCOMPARE(m.results.R[1][1], -1.5);
    QCOMPARE(m.results.R[1][2], -2.0);
    QCOMPARE(m.results.R[2][1], double(-kP));
    QCOMPARE(m.results.R[2][2], 4.0);
}

void TestSolver::loadsOnFixedDofsAppearInReactions() {
    Model m = ::horizontalBar();
    m.nodes.Fy[2] = 7;  // on the fixed y DOF of node 2
    m.nodes.Fx[1] = 2;  // on the pin
    QVERIFY(SolveTruss(m, m.results).ok());
    QVERIFY(near(m.results.D[3], kP * kL / (kE * kA)));  // the structure does not notice
    QVERIFY(near(m.results.R[2][2], -7));
    QVERIFY(near(m.results.R[1][1], -kP - 2));
}

void TestSolver::determinateTriangle() {
    Model m = triangle345();
    QVERIFY(SolveTruss(m, m.results).ok());
    const AnalysisResults& r = m.results;
    QVERIFY(near(r.FL[1][2], 28));
    QVERIFY(near(r.FL[2][2], -35));
    QVERIFY(near(r.FL[3][2], -15));
    QVERIFY(near(r.R[1][1], -16));
    QVERIFY(near(r.R[1][2], 9));
    QVERIFY(std::fabs(r.R[2][1]) < 1e-9);
    QVERIFY(near(r.R[2][2], 21));
    // Global end forces of element 3 (1 -> 3, direction (0.8, 0.6)) at node 3.
    QVERIFY(near(r.FG[3][3], -15 * 0.8));
    QVERIFY(near(r.FG[3][4], -15 * 0.6));
    // Elongation of element 1 is N L / (E A) and shows as the x displacement of node 2.
    QVERIFY(near(r.D[3], 28.0 * 8 / (kE * kA)));
    QCOMPARE(r.D[4], 0.0);
    checkEndForcesBalance(m);
}

void TestSolver::rotatedTriangleKeepsMemberForces() {
    // The same truss with the numbering of nodes and element ends reversed: the member
    // forces are the same, which catches any slip in the DOF order or the assembly.
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
    QVERIFY(near(m.results.FL[1][2], -15));
    QVERIFY(near(m.results.FL[2][2], -35));
    QVERIFY(near(m.results.FL[3][2], 28));
    QVERIFY(near(m.results.R[3][1], -16));
    QVERIFY(near(m.results.R[2][2], 21));
    checkEndForcesBalance(m);
}

void TestSolver::failures_data() {
    QTest::addColumn<Model>("model");
    QTest::addColumn<SolveStatus>("status");
    QTest::addColumn<int>("element");

    Model unconnected = triangle345();
    addNode(unconnected, 10, 10);
    QTest::newRow("unconnected free node") << unconnected << SolveStatus::ArithmeticFault << 0;

    Model mechanism = ::horizontalBar();
    mechanism.nodes.cy[2] = 0;  // node 2 has no stiffness across the bar
    QTest::newRow("exact mechanism") << mechanism << SolveStatus::ArithmeticFault << 0;

    Model zeroLength = triangle345();
    addNode(zeroLength, 4, 3);  // on top of node 3
    addElement(zeroLength, 3, 4);
    zeroLength.nodes.cx[4] = zeroLength.nodes.cy[4] = 1;
    QTest::newRow("zero length") << zeroLength << SolveStatus::ZeroLengthElement << 4;

    Model noModulus = triangle345();
    addGroup(noModulus, 0.0, kA);
    noModulus.elements.group[2] = 2;
    QTest::newRow("E = 0") << noModulus << SolveStatus::InvalidSection << 2;

    Model noArea = triangle345();
    noArea.groups.A[1] = 0;
    QTest::newRow("A = 0") << noArea << SolveStatus::InvalidSection << 1;

    Model overflow = triangle345();
    overflow.groups.E[1] = 1e300;
    overflow.groups.A[1] = 1e300;
    QTest::newRow("stiffness overflows") << overflow << SolveStatus::ArithmeticFault << 0;

    Model badReference = triangle345();
    badReference.elements.j[3] = 7;
    QTest::newRow("missing node") << badReference << SolveStatus::InvalidReference << 3;
}

void TestSolver::failures() {
    QFETCH(Model, model);
    QFETCH(SolveStatus, status);
    QFETCH(int, element);
    const SolveOutcome outcome = SolveTruss(model, model.results);
    QCOMPARE(outcome.status, status);
    QCOMPARE(outcome.element, element);
}

void TestSolver::failureLeavesResultsUntouched() {
    Model m = triangle345();
    QVERIFY(SolveTruss(m, m.results).ok());
    const AnalysisResults before = m.results;
    addNode(m, 20, 20);  // unconnected: singular
    QVERIFY(!SolveTruss(m, m.results).ok());
    QVERIFY(m.results.D == before.D);
    QVERIFY(m.results.FL == before.FL);
    QVERIFY(m.results.FG == before.FG);
    QVERIFY(m.results.R == before.R);
}

QTEST_APPLESS_MAIN(TestSolver)
#include "test_solver.moc"
