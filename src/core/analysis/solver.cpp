#include "analysis/solver.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <optional>
#include <vector>

#include "analysis/result_values.h"
#include "model/model.h"

namespace vortak {

namespace {

bool finite(double v) { return std::isfinite(v); }

// The upper triangle of the free block stored row by row, each row from its diagonal to the
// last column that can ever hold a non-zero (its envelope), one after the other: a banded
// stiffness matrix takes only its band, so a solve touches a few pages of memory, not the
// whole square. 1-based indices.
class EnvelopeMatrix {
public:
    // `envelope[r]`: the last column row r may need, before and during the elimination.
    EnvelopeMatrix(double* data, const std::vector<int>& envelope, int n)
        : data_(data), start_(static_cast<std::size_t>(n) + 2, 0) {
        for (int r = 1; r <= n; ++r) {
            start_[r + 1] = start_[r] + static_cast<std::size_t>(envelope[r] - r + 1);
        }
        size_ = start_[static_cast<std::size_t>(n) + 1];
    }
    double& operator()(int r, int c) { return data_[start_[r] + static_cast<std::size_t>(c - r)]; }
    std::size_t size() const { return size_; }
    double* data() { return data_; }

private:
    double* data_;
    std::vector<std::size_t> start_;  // where row r begins
    std::size_t size_ = 0;
};

// Leaves the free block zero again however the solve ends.
class ZeroOnExit {
public:
    explicit ZeroOnExit(EnvelopeMatrix& matrix) : matrix_(matrix) {}
    ~ZeroOnExit() { std::fill_n(matrix_.data(), matrix_.size(), 0.0); }
    ZeroOnExit(const ZeroOnExit&) = delete;
    ZeroOnExit& operator=(const ZeroOnExit&) = delete;

private:
    EnvelopeMatrix& matrix_;
};

// The transformation T (2 x 4) and local stiffness k (2 x 2) of one element.
struct ElementMatrices {
    double T[3][5] = {};
    double k[3][3] = {};
};

ElementMatrices elementMatrices(const BarGeometry& g, double E, double A) {
    ElementMatrices m;
    m.T[1][1] = g.c;
    m.T[1][2] = g.s;
    m.T[2][3] = g.c;
    m.T[2][4] = g.s;
    const double kappa = (E * A) / g.length;
    m.k[1][1] = kappa;
    m.k[1][2] = -kappa;
    m.k[2][1] = -kappa;
    m.k[2][2] = kappa;
    return m;
}

// ke = Tt * k * T, formed as W = Tt * k and then W * T on and above the diagonal.
void globalStiffness(const ElementMatrices& m, double ke[5][5]) {
    double W[5][3] = {};
    for (int a = 1; a <= 4; ++a) {
        for (int b = 1; b <= 2; ++b) {
            double sum = 0.0;
            for (int inner = 1; inner <= 2; ++inner) sum += m.T[inner][a] * m.k[inner][b];
            W[a][b] = sum;
        }
    }
    for (int a = 1; a <= 4; ++a) {
        for (int b = a; b <= 4; ++b) {
            ke[a][b] = W[a][1] * m.T[1][b] + W[a][2] * m.T[2][b];
            ke[b][a] = ke[a][b];
        }
    }
}

SolveOutcome checkElements(const Model& model) {
    for (int e = 1; e <= model.elementCount; ++e) {
        const int i = model.nodeI(e);
        const int j = model.nodeJ(e);
        const int g = model.groupOf(e);
        if (i < 1 || i > model.nodeCount || j < 1 || j > model.nodeCount || g < 1 ||
            g > model.groupCount) {
            return {SolveStatus::InvalidReference, e};
        }
        const double E = model.groups.E[g];
        const double A = model.groups.A[g];
        if (!(E > 0.0 && A > 0.0 && finite(E) && finite(A))) {
            return {SolveStatus::InvalidSection, e};
        }
        const double length = barGeometry(model, e).length;
        if (length == 0.0) return {SolveStatus::ZeroLengthElement, e};
        const double kappa = (E * A) / length;
        if (!(kappa > 0.0 && finite(kappa))) return {SolveStatus::InvalidStiffness, e};
    }
    return {};
}

SolveOutcome elementOverflow(int e, const char* quantity) {
    return {SolveStatus::ElementResultOverflow, e, 0, quantity};
}

SolveOutcome nodeOverflow(int n, const char* quantity) {
    return {SolveStatus::NodeResultOverflow, 0, n, quantity};
}

// Everything shown from a run's results, beyond D, FL, FG and R themselves: a value that
// overflows is named rather than shown as an infinity.
SolveOutcome checkDerivedValues(const Model& model, const AnalysisResults& r) {
    for (int n = 1; n <= model.nodeCount; ++n) {
        if (!finite(totalDisplacement(r, n))) return nodeOverflow(n, "total displacement");
        for (int axis = 1; axis <= 2; ++axis) {
            const std::optional<SupportForce> force = supportForce(model, r, n, axis);
            if (force && !finite(force->value)) {
                return nodeOverflow(n, force->fromSpring ? "spring force" : "reaction");
            }
        }
    }
    for (int e = 1; e <= model.elementCount; ++e) {
        if (!finite(axialStress(model, r, e))) return elementOverflow(e, "axial stress");
        if (!finite(axialStrain(model, r, e))) return elementOverflow(e, "axial strain");
    }
    return {};
}

bool fixedDof(const Model& model, int dof) {
    const int n = (dof - 1) / 2 + 1;
    const float constraint = (dof % 2 == 1) ? model.nodes.cx[n] : model.nodes.cy[n];
    return constraint == 1.0f;
}

}  // namespace

BarGeometry barGeometry(const Model& model, int e) {
    const int i = model.nodeI(e);
    const int j = model.nodeJ(e);
    const float dx = model.nodes.x[j] - model.nodes.x[i];
    const float dy = model.nodes.y[j] - model.nodes.y[i];
    const double dxd = dx;
    const double dyd = dy;
    BarGeometry g;
    g.length = std::sqrt(dxd * dxd + dyd * dyd);
    if (g.length > 0.0) {
        g.c = dxd / g.length;
        g.s = dyd / g.length;
    }
    return g;
}

SolverWorkspace::SolverWorkspace()
    : Kff(static_cast<double*>(std::calloc(std::size_t(kMaxDofs) * kMaxDofs, sizeof(double))),
          &std::free) {
    if (!Kff) throw std::bad_alloc();
}

SolveOutcome SolveTruss(const Model& model, AnalysisResults& results) {
    SolverWorkspace workspace;
    return SolveTruss(model, results, workspace);
}

SolveOutcome SolveTruss(const Model& model, AnalysisResults& results, SolverWorkspace& workspace) {
    if (SolveOutcome check = checkElements(model); !check.ok()) return check;

    const int N = model.nodeCount;
    const int M = model.elementCount;
    const int dofs = 2 * N;
    const SolveOutcome fault{SolveStatus::ArithmeticFault, 0};

    // DOF order: free DOFs first, then fixed ones, each ascending. A DOF counts as fixed
    // only when its constraint is exactly 1, so the two walks always cover every DOF.
    std::vector<int> P(static_cast<std::size_t>(dofs) + 1, 0);
    int F = 0;
    for (int d = 1; d <= dofs; ++d) {
        if (!fixedDof(model, d)) P[++F] = d;
    }
    for (int d = 1, r = F; d <= dofs; ++d) {
        if (fixedDof(model, d)) P[++r] = d;
    }
    std::vector<int> position(static_cast<std::size_t>(dofs) + 1, 0);  // the inverse of P
    for (int r = 1; r <= dofs; ++r) position[P[r]] = r;

    // Assembly straight into the upper triangle of the free block. Every entry receives the
    // contributions the full stiffness matrix K would (the elements in ascending order, then
    // the springs), in the same order, so Kff(r, s) = K(P(r), P(s)) exactly; the rows and
    // columns of fixed DOFs are never needed. rowEnd[r] is the last column of row r that
    // may hold a non-zero: entries beyond it are exact zeros, so leaving them out of an
    // update changes no value (x - 0*m is x). It only keeps banded stiffness patterns cheap,
    // as does skipping rows whose multiplier is exactly zero.
    const auto freePair = [&](int dofA, int dofB, int& r, int& c) {
        r = position[dofA];
        c = position[dofB];
        return r <= F && c <= F && r <= c;
    };
    std::vector<int> rowEnd(static_cast<std::size_t>(F) + 1, 0);
    for (int r = 1; r <= F; ++r) rowEnd[r] = r;
    for (int e = 1; e <= M; ++e) {
        const int d[4] = {2 * model.nodeI(e) - 1, 2 * model.nodeI(e), 2 * model.nodeJ(e) - 1,
                          2 * model.nodeJ(e)};
        for (int a : d) {
            for (int b : d) {
                if (int r, c; freePair(a, b, r, c) && rowEnd[r] < c) rowEnd[r] = c;
            }
        }
    }
    // How far each row can grow in the elimination: row k's reach passes to every row i
    // within it (the envelope of the factor).
    std::vector<int> envelope = rowEnd;
    for (int k = 1; k <= F; ++k) {
        for (int i = k + 1; i <= envelope[k]; ++i) envelope[i] = std::max(envelope[i], envelope[k]);
    }
    EnvelopeMatrix Kff(workspace.Kff.get(), envelope, F);
    // The workspace is zero between solves: what a solve writes, it clears.
    const ZeroOnExit clearKff(Kff);
    const auto add = [&](int dofA, int dofB, double value) {
        if (int r, c; freePair(dofA, dofB, r, c)) Kff(r, c) += value;
    };
    for (int e = 1; e <= M; ++e) {
        const int i = model.nodeI(e);
        const int j = model.nodeJ(e);
        const int g = model.groupOf(e);
        const ElementMatrices m =
            elementMatrices(barGeometry(model, e), model.groups.E[g], model.groups.A[g]);
        double ke[5][5] = {};
        globalStiffness(m, ke);
        const int d[5] = {0, 2 * i - 1, 2 * i, 2 * j - 1, 2 * j};
        for (int a = 1; a <= 4; ++a) {
            for (int b = 1; b <= 4; ++b) add(d[a], d[b], ke[a][b]);
        }
    }
    for (int n = 1; n <= N; ++n) {
        add(2 * n - 1, 2 * n - 1, model.nodes.Kx[n]);
        add(2 * n, 2 * n, model.nodes.Ky[n]);
    }

    // The loads of the free DOFs.
    std::vector<double> Q(static_cast<std::size_t>(F) + 1, 0.0);
    std::vector<double> u(static_cast<std::size_t>(F) + 1, 0.0);
    for (int r = 1; r <= F; ++r) {
        for (int c = r; c <= rowEnd[r]; ++c) {
            if (!finite(Kff(r, c))) return fault;
        }
        const int n = (P[r] - 1) / 2 + 1;
        Q[r] = (P[r] % 2 == 1) ? model.nodes.Fx[n] : model.nodes.Fy[n];
        if (!finite(Q[r])) return fault;
    }

    if (F > 0) {
        // Forward elimination on the upper triangle, without pivoting.
        for (int k = 1; k <= F - 1; ++k) {
            const double pivot = Kff(k, k);
            const int end = rowEnd[k];
            for (int i = k + 1; i <= end; ++i) {
                if (Kff(k, i) == 0.0) continue;
                if (pivot == 0.0 || !finite(pivot)) return fault;
                const double m = Kff(k, i) / pivot;
                if (!finite(m)) return fault;
                double* __restrict rowI = &Kff(i, i);
                const double* __restrict rowK = &Kff(k, i);
                for (int j = 0; j <= end - i; ++j) rowI[j] = rowI[j] - rowK[j] * m;
                Q[i] = Q[i] - m * Q[k];
                if (rowEnd[i] < end) rowEnd[i] = end;
            }
        }
        // Back substitution. A non-finite value anywhere in the reduced block reaches
        // some u here, except through an infinite pivot, which is refused explicitly.
        for (int i = F; i >= 1; --i) {
            double sum = 0.0;
            for (int j = i + 1; j <= rowEnd[i]; ++j) sum += Kff(i, j) * u[j];
            const double pivot = Kff(i, i);
            if (pivot == 0.0 || !finite(pivot)) return fault;
            u[i] = (Q[i] - sum) / pivot;
            if (!finite(u[i])) return fault;
        }
    }

    AnalysisResults out = results;
    out.D.fill(0.0);
    for (auto& row : out.FL) row.fill(0.0);
    for (auto& row : out.FG) row.fill(0.0);
    for (auto& row : out.R) row.fill(0.0);

    for (int r = 1; r <= dofs; ++r) out.D[P[r]] = r <= F ? u[r] : 0.0;

    for (int e = 1; e <= M; ++e) {
        const int i = model.nodeI(e);
        const int j = model.nodeJ(e);
        const int g = model.groupOf(e);
        const ElementMatrices m =
            elementMatrices(barGeometry(model, e), model.groups.E[g], model.groups.A[g]);
        const double De[5] = {0, out.D[2 * i - 1], out.D[2 * i], out.D[2 * j - 1], out.D[2 * j]};
        double dl[3] = {};
        for (int a = 1; a <= 2; ++a) {
            double sum = 0.0;
            for (int b = 1; b <= 4; ++b) sum += m.T[a][b] * De[b];
            dl[a] = sum;
        }
        for (int a = 1; a <= 2; ++a) {
            double sum = 0.0;
            for (int b = 1; b <= 2; ++b) sum += m.k[a][b] * dl[b];
            out.FL[e][a] = sum;
        }
        for (int a = 1; a <= 4; ++a) {
            double sum = 0.0;
            for (int b = 1; b <= 2; ++b) sum += m.T[b][a] * out.FL[e][b];
            out.FG[e][a] = sum;
        }
        bool allFinite = finite(out.FL[e][1]) && finite(out.FL[e][2]);
        for (int a = 1; a <= 4; ++a) allFinite = allFinite && finite(out.FG[e][a]);
        if (!allFinite) return elementOverflow(e, "axial force");
    }

    // Reactions: at a node with any constraint every element meeting it is summed.
    const auto constrained = [&](int n) {
        return model.nodes.cx[n] == 1.0f || model.nodes.cy[n] == 1.0f;
    };
    for (int e = 1; e <= M; ++e) {
        const int i = model.nodeI(e);
        const int j = model.nodeJ(e);
        if (constrained(i) || constrained(j)) {
            out.R[i][1] += out.FG[e][1];
            out.R[i][2] += out.FG[e][2];
            out.R[j][1] += out.FG[e][3];
            out.R[j][2] += out.FG[e][4];
        }
    }
    for (int n = 1; n <= N; ++n) {
        out.R[n][1] -= model.nodes.Fx[n];
        out.R[n][2] -= model.nodes.Fy[n];
        if (!finite(out.R[n][1]) || !finite(out.R[n][2])) return nodeOverflow(n, "reaction");
    }
    if (SolveOutcome check = checkDerivedValues(model, out); !check.ok()) return check;

    out.valid = true;
    out.analysed = model;
    results = out;
    return {};
}

}  // namespace vortak
