#pragma once

// Quantities derived from the stored results wherever they are shown, and the extreme
// values kept with the results. Each comes in two forms: on a given set of results (the
// solver checks a run's results before it keeps them) and on the model's own results.

#include <optional>

namespace vortak {

struct Model;
struct AnalysisResults;

// Axial force, positive in tension; N/A; N/A/E.
double axialForce(const AnalysisResults& r, int e);
double axialStress(const Model& model, const AnalysisResults& r, int e);
double axialStrain(const Model& model, const AnalysisResults& r, int e);
// The square root of ux^2 + uy^2.
double totalDisplacement(const AnalysisResults& r, int n);

double axialForce(const Model& model, int e);
double axialStress(const Model& model, int e);
double axialStrain(const Model& model, int e);
double totalDisplacement(const Model& model, int n);

// What the supports exert on node n in one direction (axis 1 = x, 2 = y): the reaction R
// where the direction is fixed; the spring's force -K*u (the 32-bit constant times the
// 64-bit displacement) where it is free and sprung, so that with the loads these are in
// equilibrium; nothing where it is free without a spring. A direction fixed and sprung at
// once (only a hand-edited file can say so) is fixed: the spring there never moves.
struct SupportForce {
    double value = 0;
    bool fromSpring = false;
};
std::optional<SupportForce> supportForce(const Model& model, const AnalysisResults& r, int n,
                                         int axis);
std::optional<SupportForce> supportForce(const Model& model, int n, int axis);

// Fills the 17 extremes of model.results from nodes 1..N and elements 1..M. Each starts
// from node or element 1 and is replaced only by a strictly larger (or smaller) value.
void computeExtremes(Model& model);
// Where extreme `x` (an `Extreme`) is found: the first node (extremes 1 to 8) or element
// (9 to 17) whose value is the stored one; 0 when none is.
int extremeLocation(const Model& model, int x);

// The largest absolute displacement of the model's results and its DOF (the first where
// it occurs; DOF 0 and value 0 when every displacement is 0). Beyond
// kMechanismDisplacement (strictly) the structure is probably a mechanism.
struct LargestDisplacement {
    int dof = 0;
    double value = 0;
};
LargestDisplacement largestDisplacement(const Model& model);
inline constexpr double kMechanismDisplacement = 1.0e7;

}  // namespace vortak
