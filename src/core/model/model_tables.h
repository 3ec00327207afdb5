#pragma once

// The model's tables: fixed capacities kept column-wise (one array per field, entity k at
// index k) with their counts.

#include <array>

#include "model/capacities.h"

namespace vortak {

template <typename T, int Capacity>
using Column = std::array<T, Capacity + 1>;

struct NodeTable {
    Column<float, kMaxNodes> x{}, y{}, cx{}, cy{}, Fx{}, Fy{}, Kx{}, Ky{};
    bool operator==(const NodeTable&) const = default;
};

// Node and group numbers are held as floats holding whole numbers, the type they have in
// the model file.
struct ElementTable {
    Column<float, kMaxElements> i{}, j{}, group{};
    bool operator==(const ElementTable&) const = default;
};

struct GroupTable {
    Column<double, kMaxGroups> E{}, A{};
    bool operator==(const GroupTable&) const = default;
};

// Everything that defines the truss, and nothing else: two models with equal tables have
// the same results.
struct ModelTables {
    int nodeCount = 0;
    int elementCount = 0;
    int groupCount = 0;
    NodeTable nodes;
    ElementTable elements;
    GroupTable groups;
    bool operator==(const ModelTables&) const = default;
};

}  // namespace vortak
