#include "analysis/result_values.h"
#include "analysis/solver.h"
#include "test_support.h"

using namespace vortak::test;

Q_DECLARE_METATYPE(vortak::Model)
Q_DECLARE_METATYPE(vortak::SolveStatus)

namespace {

constexpr double kE = 2.1e8, kA = 0.01, kEA = kE * kA;

// The triangle with its elements in one group.
Model triangle345() {
    Model m;
    addGroup(m, kE, kA);
    addTriangle(m);
    return m;
}

bool near(double a, double e) { return std::fabs(a - e) <= 1e-9 * std::max(1.0, std::fabs(e)); }

// A truss of `panels` panels 3 wide and 4 high: bottom nodes b0..bn, top nodes t0..tn,
// chords, verticals and diagonals falling towards midspan; pinned at b0, on rollers at the
// middle and the far bottom node, springs at b1, the middle top node and tn, a load on every
// top node and on b1. Horizontal chords and verticals leave exact zeros in many rows.
// Numbered panel by panel (b0, t0, b1, t1...) the free block is a narrow band; numbered
// chord by chord (all bottom nodes, then all top ones) every row reaches a whole chord
// ahead, and eliminating the bottom nodes one by one fills the row of top node 0 out along
// the top chord, far beyond its last non-zero as assembled.
Model panelTruss(int panels, bool chordByChord) {
    Model m;
    m.nodeCount = 2 * (panels + 1);
    const auto b = [&](int p) { return chordByChord ? p + 1 : 2 * p + 1; };
    const auto t = [&](int p) { return chordByChord ? panels + 2 + p : 2 * p + 2; };
    const int mid = panels / 2;
    for (int p = 0; p <= panels; ++p) {
        m.setNode(b(p), Node{3.0f * p, 0, 0, float(p == mid || p == panels), 0, 0, 0, 0});
        m.setNode(t(p), Node{3.0f * p, 4, 0, 0, 2.5f * p - 6, -20.0f - p, 0, 0});
    }
    m.nodes.cx[b(0)] = m.nodes.cy[b(0)] = 1;
    m.nodes.Fy[b(1)] = -35;
    m.nodes.Ky[b(1)] = 3e5f;
    m.nodes.Ky[t(mid)] = 2e5f;
    m.nodes.Kx[t(panels)] = 1e5f;
    addGroup(m, kE, kA);        // chords
    addGroup(m, kE, 0.4 * kA);  // web
    for (int p = 0; p < panels; ++p) {
        addElement(m, b(p), b(p + 1), 1);
        addElement(m, t(p), t(p + 1), 1);
        addElement(m, b(p), t(p), 2);
        addElement(m, p < mid ? t(p) : b(p), p < mid ? b(p + 1) : t(p + 1), 2);
    }
    addElement(m, b(panels), t(panels), 2);
    return m;
}

// D formed without the solver: the full stiffness from plain 4 x 4 element matrices and the
// springs, the free DOFs in ascending order, Gauss elimination over the whole free block
// (every row, every column, no zero left out) and back substitution.
std::vector<double> denseDisplacements(const Model& m) {
    const int dofs = 2 * m.nodeCount;
    std::vector<std::vector<double>> K(dofs + 1, std::vector<double>(dofs + 1, 0.0));
    for (int e = 1; e <= m.elementCount; ++e) {
        const BarGeometry g = barGeometry(m, e);
        const double kappa = m.groups.E[m.groupOf(e)] * m.groups.A[m.groupOf(e)] / g.length;
        const double v[4] = {-g.c, -g.s, g.c, g.s};
        const int i = m.nodeI(e), j = m.nodeJ(e);
        const int d[4] = {2 * i - 1, 2 * i, 2 * j - 1, 2 * j};
        for (int a = 0; a < 4; ++a)
            for (int c = 0; c < 4; ++c) K[d[a]][d[c]] += kappa * v[a] * v[c];
    }
    std::vector<int> freeDofs;
    std::vector<double> b;
    for (int n = 1; n <= m.nodeCount; ++n) {
        K[2 * n - 1][2 * n - 1] += m.nodes.Kx[n];
        K[2 * n][2 * n] += m.nodes.Ky[n];
        if (m.nodes.cx[n] != 1) freeDofs.push_back(2 * n - 1), b.push_back(m.nodes.Fx[n]);
        if (m.nodes.cy[n] != 1) freeDofs.push_back(2 * n), b.push_back(m.nodes.Fy[n]);
    }
    const int F = int(freeDofs.size());
    std::vector<std::vector<double>> A(F, std::vector<double>(F));
    for (int r = 0; r < F; ++r)
        for (int c = 0; c < F; ++c) A[r][c] = K[freeDofs[r]][freeDofs[c]];
    for (int k = 0; k < F; ++k) {
        for (int r = k + 1; r < F; ++r) {
            const double factor = A[r][k] / A[k][k];
            for (int c = k; c < F; ++c) A[r][c] -= factor * A[k][c];
            b[r] -= factor * b[k];
        }
    }
    std::vector<double> D(dofs + 1, 0.0);
    for (int r = F - 1; r >= 0; --r) {
        double sum = b[r];
        for (int c = r + 1; c < F; ++c) sum -= A[r][c] * D[freeDofs[c]];
        D[freeDofs[r]] = sum / A[r][r];
    }
    return D;
}

using Change = void (*)(Model&);
using Values = QList<double>;

}  // namespace

Q_DECLARE_METATYPE(Change)

class TestSolver : public QObject {
    Q_OBJECT
private slots:
    // A bar, and a triangle as built and numbered the other way round: any slip in the DOF
    // order or the assembly changes the member forces.
    void solutions_data() {
        // N: of each element
        // R: Rx, Ry of each node
        // D: of each DOF; none given: not checked
        columns<Model, Values, Values, Values>("m", "N", "R", "D");
        // Node 1 pinned at the origin, node 2 at (4, 0) fixed in y, one bar, Fx = 10 at node 2.
        Model bar;
        addBar(bar, 4, kE, kA);
        bar.nodes.Fx[2] = 10;

        Model loaded = bar;  // loads on fixed DOFs go straight into the reactions
        loaded.nodes.Fx[1] = 2;
        loaded.nodes.Fy[2] = 7;
        QTest::newRow("loaded bar")
            << loaded << Values{10} << Values{-12, 0, 0, -7} << Values{0, 0, 40 / kEA, 0};

        Model spring = bar;  // the spring force is the reaction at node 2
        const double kx = spring.nodes.Kx[2] = 3.0e5f;
        const double u = 10 / (kEA / 4 + kx);
        QTest::newRow("sprung bar") << spring << Values{kEA / 4 * u}
                                    << Values{-kEA / 4 * u, 0, -kx * u, 0} << Values{0, 0, u, 0};

        Model fixed = bar;
        fixed.nodes.cx[2] = 1;
        QTest::newRow("bar, all DOFs fixed")
            << fixed << Values{0} << Values{0, 0, -10, 0} << Values{0, 0, 0, 0};

        QTest::newRow("triangle") << triangle345() << Values{28, -35, -15}
                                  << Values{-16, 9, 0, 21, 0, 0} << Values{};
        Model m;
        m.setNode(++m.nodeCount, Node{4, 3, 0, 0, 16, -30, 0, 0});
        addNode(m, 8, 0, 0, 1);
        addNode(m, 0, 0, 1, 1);
        addGroup(m, kE, kA);
        for (auto [i, j] : {std::pair{3, 1}, {1, 2}, {2, 3}}) addElement(m, i, j);
        QTest::newRow("triangle renumbered")
            << m << Values{-15, -35, 28} << Values{0, 0, 0, 21, -16, 9} << Values{};
    }

    void solutions() {
        auto [m, N, R, D] = fetch<Model, Values, Values, Values>("m", "N", "R", "D");
        QVERIFY(SolveTruss(m, m.results).ok());
        for (int e = 1; e <= m.elementCount; ++e) QVERIFY(near(m.results.FL[e][2], N[e - 1]));
        for (int k = 0; k < R.size(); ++k) QVERIFY(near(m.results.R[1 + k / 2][1 + k % 2], R[k]));
        for (int k = 0; k < D.size(); ++k) QVERIFY(near(m.results.D[k + 1], D[k]));
    }

    void failures_data() {
        // change: made to the triangle
        columns<SolveStatus, int, int, QString, Change>("status", "element", "node", "quantity",
                                                        "change");
        auto row = [](const char* name, SolveStatus status, int element, int node,
                      const char* quantity, Change change) {
            QTest::newRow(name) << status << element << node << QString(quantity) << change;
        };
        using enum SolveStatus;
        row("unconnected free node", ArithmeticFault, 0, 0, "",
            [](Model& m) { addNode(m, 10, 10); });
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

    void failures() {
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
        QVERIFY(model.results.D == before.D && model.results.FL == before.FL &&
                model.results.FG == before.FG && model.results.R == before.R &&
                !model.results.valid);
    }

    void eliminationMatchesDenseSolve_data() {
        QTest::addColumn<Model>("m");
        QTest::newRow("panel by panel") << panelTruss(10, false);
        QTest::newRow("chord by chord") << panelTruss(10, true);
    }

    // The solver leaves out updates it knows to be exact zeros (a zero multiplier, columns beyond
    // a row's last non-zero); leaving out anything else, or missing the fill-in that moves a
    // row's last non-zero to the right, shows as a displacement far off the plain solution.
    void eliminationMatchesDenseSolve() {
        QFETCH(Model, m);
        QVERIFY(SolveTruss(m, m.results).ok());
        const std::vector<double> D = denseDisplacements(m);
        double largest = 0;
        for (double v : D) largest = std::max(largest, std::fabs(v));
        for (int d = 1; d <= 2 * m.nodeCount; ++d)
            QVERIFY2(
                std::fabs(m.results.D[d] - D[d]) <= 1e-12 * largest,
                qPrintable(QString("D[%1] = %2, not %3").arg(d).arg(m.results.D[d]).arg(D[d])));
    }

    void supportsBalanceLoads_data() {
        QTest::addColumn<Model>("m");
        // The roller at node 2 becomes springs both ways; node 3 is sprung in x, and nodes 1 and 2
        // carry loads of their own (at node 1 straight into the reactions).
        Model sprung = triangle345();
        sprung.nodes.cy[2] = 0;
        sprung.nodes.Kx[2] = 4e5f;
        sprung.nodes.Ky[2] = 9e5f;
        sprung.nodes.Kx[3] = 2e5f;
        sprung.nodes.Fy[1] = 3;
        sprung.setLoad(2, {-5, 12});
        QTest::newRow("springs in x and y") << sprung;
        // Node 1 fixed in x and sprung in y, node 2 the other way round; node 2 has a spring on
        // its fixed direction too, which carries nothing: the reaction takes it all.
        Model mixed = triangle345();
        mixed.nodes.cy[1] = 0;
        mixed.nodes.Ky[1] = 5e5f;
        mixed.nodes.Kx[2] = 3e5f;
        mixed.nodes.Ky[2] = 7e5f;
        mixed.setLoad(1, {4, -9});
        QTest::newRow("fixed one way, sprung the other") << mixed;
    }

    // What the supports exert (reactions at fixed directions, -K*u from springs at free ones)
    // balances the loads in x, in y and in moment about the origin.
    void supportsBalanceLoads() {
        QFETCH(Model, m);
        QVERIFY(SolveTruss(m, m.results).ok());
        double Fx = 0, Fy = 0, moment = 0, largestLoad = 0, extent = 0;
        for (int n = 1; n <= m.nodeCount; ++n) {
            double f[3] = {0, m.nodes.Fx[n], m.nodes.Fy[n]};
            largestLoad = std::max({largestLoad, std::fabs(f[1]), std::fabs(f[2])});
            for (int axis = 1; axis <= 2; ++axis)
                if (const auto support = supportForce(m, n, axis)) f[axis] += support->value;
            const double x = m.nodes.x[n], y = m.nodes.y[n];
            extent = std::max({extent, std::fabs(x), std::fabs(y)});
            Fx += f[1];
            Fy += f[2];
            moment += x * f[2] - y * f[1];
        }
        const QString sums = QString("%1, %2, %3").arg(Fx).arg(Fy).arg(moment);
        QVERIFY2(std::fabs(Fx) <= 1e-9 * largestLoad && std::fabs(Fy) <= 1e-9 * largestLoad &&
                     std::fabs(moment) <= 1e-9 * largestLoad * extent,
                 qPrintable(sums));
    }
};

QTEST_APPLESS_MAIN(TestSolver)
#include "test_solver.moc"
