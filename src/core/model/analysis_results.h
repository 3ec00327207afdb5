#pragma once

// The record of the last successful analysis. Arrays are 1-based like the model tables:
// D[d] for DOF d, FL[e][1..2], FG[e][1..4], R[n][1..2], extremes[1..17].

#include <array>

#include "model/capacities.h"
#include "model/model_tables.h"

namespace vortak {

// The extreme values, in the order in which they are stored and referred to.
enum Extreme : int {
    kMaxAbsUx = 1,
    kMaxUx,
    kMinUx,
    kMaxAbsUy,
    kMaxUy,
    kMinUy,
    kMaxTotalDisplacement,
    kMinTotalDisplacement,
    kMaxAbsN,
    kMaxN,
    kMinN,
    kMaxAbsStress,
    kMaxStress,
    kMinStress,
    kMaxAbsStrain,
    kMaxStrain,
    kMinStrain,
};
inline constexpr int kExtremeCount = 17;

struct AnalysisResults {
    std::array<double, kMaxDofs + 1> D{};                      // global displacements
    std::array<std::array<double, 3>, kMaxElements + 1> FL{};  // axial end forces
    std::array<std::array<double, 5>, kMaxElements + 1> FG{};  // end forces, global axes
    std::array<std::array<double, 3>, kMaxNodes + 1> R{};      // reactions Rx, Ry
    std::array<double, kExtremeCount + 1> extremes{};

    // Set by a successful analysis, with the tables it analysed.
    bool valid = false;
    ModelTables analysed;
};

}  // namespace vortak
