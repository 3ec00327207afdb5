#pragma once

// The one truss model the program edits: fixed-capacity tables kept column-wise (one array
// per field, entity k at index k), the document state that travels with it, and the
// results of its last analysis.

#include <array>
#include <string>

#include "model/analysis_results.h"
#include "model/capacities.h"

namespace vortak {

struct Node {
    float x = 0, y = 0;    // position (y up)
    float cx = 0, cy = 0;  // constraints: 1 = displacement fixed, 0 = free
    float Fx = 0, Fy = 0;  // nodal load
    float Kx = 0, Ky = 0;  // spring support constants; 0 = no spring
};

struct NodalLoad {
    float Fx = 0, Fy = 0;
};

// Node and group numbers are held as floats holding whole numbers, the type they have in
// the model file.
struct Element {
    float i = 0, j = 0, group = 0;
};

struct EAGroup {
    double E = 0, A = 0;
};

template <typename T, int Capacity>
using Column = std::array<T, Capacity + 1>;

struct NodeTable {
    Column<float, kMaxNodes> x{}, y{}, cx{}, cy{}, Fx{}, Fy{}, Kx{}, Ky{};
};

struct ElementTable {
    Column<float, kMaxElements> i{}, j{}, group{};
};

struct GroupTable {
    Column<double, kMaxGroups> E{}, A{};
};

// Converts a stored node or group number to an index (nearest, halves to even).
int toIndex(float storedNumber);

struct Model {
    int nodeCount = 0;
    int elementCount = 0;
    int groupCount = 0;
    NodeTable nodes;
    ElementTable elements;
    GroupTable groups;

    std::string fileName;  // empty for an untitled model
    // True while the stored results may not belong to the model.
    bool changed = false;
    bool analysisFailed = false;

    AnalysisResults results;

    Node node(int n) const;
    void setNode(int n, const Node& node);
    NodalLoad load(int n) const { return {nodes.Fx[n], nodes.Fy[n]}; }
    void setLoad(int n, NodalLoad load) {
        nodes.Fx[n] = load.Fx;
        nodes.Fy[n] = load.Fy;
    }
    Element element(int e) const { return {elements.i[e], elements.j[e], elements.group[e]}; }
    void setElement(int e, const Element& element);
    EAGroup group(int g) const { return {groups.E[g], groups.A[g]}; }
    void setGroup(int g, const EAGroup& group) {
        groups.E[g] = group.E;
        groups.A[g] = group.A;
    }

    int nodeI(int e) const { return toIndex(elements.i[e]); }
    int nodeJ(int e) const { return toIndex(elements.j[e]); }
    int groupOf(int e) const { return toIndex(elements.group[e]); }
};

// Empties the model: counts, every table row and the analysis results become zero. The
// file name and the flags are the caller's to set.
void ClearModel(Model& model);

}  // namespace vortak
