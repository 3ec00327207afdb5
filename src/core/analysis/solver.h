#pragma once

// Linear static analysis of the plane truss by the direct stiffness method: bar elements
// with axial stiffness, springs on the diagonal, constrained DOFs moved behind the free
// ones, and Gauss elimination without pivoting on the upper triangle of the free block.

#include <memory>
#include <vector>

#include "model/analysis_results.h"

namespace vortak {

struct Model;

enum class SolveStatus {
    Ok,
    // An element whose two end nodes lie at the same position (it has no direction).
    ZeroLengthElement,
    // An element whose group has E or A not positive and finite: its stress or strain
    // would be a division by zero.
    InvalidSection,
    // An element referring to a node or group that does not exist.
    InvalidReference,
    // An element whose axial stiffness E*A/L overflows or underflows to zero.
    InvalidStiffness,
    // A zero pivot, an overflow or an invalid operation while solving.
    ArithmeticFault,
    // A value the program would show for an element or a node (a force, a stress, a
    // displacement...) lies beyond the range of numbers.
    ElementResultOverflow,
    NodeResultOverflow,
};

struct SolveOutcome {
    SolveStatus status = SolveStatus::Ok;
    int element = 0;  // the offending element for the element statuses
    int node = 0;     // the offending node for NodeResultOverflow
    // The quantity that overflowed, e.g. "axial stress", for the overflow statuses.
    const char* quantity = "";
    bool ok() const { return status == SolveStatus::Ok; }
};

// The free-free block of the stiffness matrix (F x F, row-major), allocated once for the
// largest model and zero between solves. It comes zeroed from the system, so the pages a
// solve never touches (all beyond the band of a banded model) cost nothing.
struct SolverWorkspace {
    SolverWorkspace();
    std::unique_ptr<double[], void (*)(void*)> Kff;
};

// Solves the model. On success `results` receives D, FL, FG and R, all finite together with
// every quantity derived from them for display (the extremes are left alone), and is
// marked as the results of the model's present tables; on failure `results` is not touched.
SolveOutcome SolveTruss(const Model& model, AnalysisResults& results, SolverWorkspace& workspace);
// The same with a workspace of its own, for one-off solves.
SolveOutcome SolveTruss(const Model& model, AnalysisResults& results);

// Element geometry as the solver uses it: coordinate differences formed in single
// precision, everything else in double.
struct BarGeometry {
    double length = 0, c = 0, s = 0;
};
BarGeometry barGeometry(const Model& model, int e);

}  // namespace vortak
