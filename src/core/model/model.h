#pragma once

// The one truss model the program edits: its tables, the document state that travels with
// it, and the results of its last analysis.

#include <array>
#include <string>

#include "model/analysis_results.h"
#include "model/capacities.h"
#include "model/model_tables.h"

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

struct Element {
    float i = 0, j = 0, group = 0;
};

struct EAGroup {
    double E = 0, A = 0;
};

// What the result views, tables and report sections say in place of results when the model
// has none of its own.
inline constexpr const char* kNotAnalysedText = "The model has not been analysed.";

// Converts a stored node or group number to an index (nearest, halves to even).
int toIndex(float storedNumber);

struct Model : ModelTables {
    std::string fileName;  // empty for an untitled model
    // True while the stored results may not belong to the model.
    bool changed = false;
    bool analysisFailed = false;

    AnalysisResults results;

    // True when the results are those of a successful analysis of the model as it is now.
    // Any change of the tables since (an edit, a file read, a failed run after an edit)
    // makes them the results of another model, which are never shown as this one's.
    bool hasCurrentResults() const;

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
