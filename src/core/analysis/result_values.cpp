#include "analysis/result_values.h"

#include <cmath>

#include "model/model.h"

namespace vortak {

namespace {

// Tracks a largest and a smallest value with strict replacement.
struct Range {
    double largest = 0, smallest = 0;
    void start(double v) { largest = smallest = v; }
    void add(double v) {
        if (v > largest) largest = v;
        if (v < smallest) smallest = v;
    }
};

struct AbsRange {
    Range signedRange;
    double largestAbs = 0;
    void start(double v) {
        signedRange.start(v);
        largestAbs = std::fabs(v);
    }
    void add(double v) {
        signedRange.add(v);
        if (std::fabs(v) > largestAbs) largestAbs = std::fabs(v);
    }
};

template <typename Tracker, typename Value>
Tracker scan(int count, Value value) {
    Tracker t;
    t.start(value(1));
    for (int k = 2; k <= count; ++k) t.add(value(k));
    return t;
}

void store(AnalysisResults& r, int first, const AbsRange& t) {
    r.extremes[first] = t.largestAbs;
    r.extremes[first + 1] = t.signedRange.largest;
    r.extremes[first + 2] = t.signedRange.smallest;
}

}  // namespace

double axialForce(const AnalysisResults& r, int e) { return r.FL[e][2]; }

double axialStress(const Model& model, const AnalysisResults& r, int e) {
    return axialForce(r, e) / model.groups.A[model.groupOf(e)];
}

double axialStrain(const Model& model, const AnalysisResults& r, int e) {
    return axialStress(model, r, e) / model.groups.E[model.groupOf(e)];
}

double totalDisplacement(const AnalysisResults& r, int n) {
    const double ux = r.D[2 * n - 1];
    const double uy = r.D[2 * n];
    return std::sqrt(ux * ux + uy * uy);
}

double axialForce(const Model& model, int e) { return axialForce(model.results, e); }
double axialStress(const Model& model, int e) { return axialStress(model, model.results, e); }
double axialStrain(const Model& model, int e) { return axialStrain(model, model.results, e); }
double totalDisplacement(const Model& model, int n) { return totalDisplacement(model.results, n); }

std::optional<SupportForce> supportForce(const Model& model, const AnalysisResults& r, int n,
                                         int axis) {
    const bool x = axis == 1;
    const float constraint = x ? model.nodes.cx[n] : model.nodes.cy[n];
    const float spring = x ? model.nodes.Kx[n] : model.nodes.Ky[n];
    if (constraint == 1.0f) return SupportForce{r.R[n][axis], false};
    if (spring > 0)
        return SupportForce{-(static_cast<double>(spring) * r.D[2 * n - (x ? 1 : 0)]), true};
    return std::nullopt;
}

std::optional<SupportForce> supportForce(const Model& model, int n, int axis) {
    return supportForce(model, model.results, n, axis);
}

void computeExtremes(Model& model) {
    AnalysisResults& r = model.results;
    const int N = model.nodeCount;
    const int M = model.elementCount;
    store(r, kMaxAbsUx, scan<AbsRange>(N, [&](int n) { return r.D[2 * n - 1]; }));
    store(r, kMaxAbsUy, scan<AbsRange>(N, [&](int n) { return r.D[2 * n]; }));
    const Range total = scan<Range>(N, [&](int n) { return totalDisplacement(model, n); });
    r.extremes[kMaxTotalDisplacement] = total.largest;
    r.extremes[kMinTotalDisplacement] = total.smallest;
    store(r, kMaxAbsN, scan<AbsRange>(M, [&](int e) { return axialForce(model, e); }));
    store(r, kMaxAbsStress, scan<AbsRange>(M, [&](int e) { return axialStress(model, e); }));
    store(r, kMaxAbsStrain, scan<AbsRange>(M, [&](int e) { return axialStrain(model, e); }));
}

int extremeLocation(const Model& model, int x) {
    const AnalysisResults& r = model.results;
    const double target = r.extremes[x];
    // Extremes come in threes (largest |v|, largest v, smallest v) for ux, uy, N, stress and
    // strain; the total displacement has its largest and smallest only.
    const auto find = [&](int count, auto value) {
        for (int k = 1; k <= count; ++k) {
            const double v = value(k);
            const bool absolute = x == kMaxAbsUx || x == kMaxAbsUy || x == kMaxAbsN ||
                                  x == kMaxAbsStress || x == kMaxAbsStrain;
            if ((absolute ? std::fabs(v) : v) == target) return k;
        }
        return 0;
    };
    const int N = model.nodeCount;
    const int M = model.elementCount;
    if (x <= kMinUx) return find(N, [&](int n) { return r.D[2 * n - 1]; });
    if (x <= kMinUy) return find(N, [&](int n) { return r.D[2 * n]; });
    if (x <= kMinTotalDisplacement) return find(N, [&](int n) { return totalDisplacement(r, n); });
    if (x <= kMinN) return find(M, [&](int e) { return axialForce(r, e); });
    if (x <= kMinStress) return find(M, [&](int e) { return axialStress(model, r, e); });
    return find(M, [&](int e) { return axialStrain(model, r, e); });
}

LargestDisplacement largestDisplacement(const Model& model) {
    LargestDisplacement largest;
    for (int d = 1; d <= 2 * model.nodeCount; ++d) {
        if (std::fabs(model.results.D[d]) > largest.value) {
            largest.value = std::fabs(model.results.D[d]);
            largest.dof = d;
        }
    }
    return largest;
}

}  // namespace vortak
