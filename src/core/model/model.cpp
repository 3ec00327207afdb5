#include "model/model.h"

#include <cmath>

namespace vortak {

int toIndex(float storedNumber) {
    // nearbyint rounds halves to the even neighbour in the default rounding mode. A value
    // that no table could hold maps to 0, which no entity has.
    const float rounded = std::nearbyint(storedNumber);
    if (!(std::fabs(rounded) <= 1.0e6f)) return 0;
    return static_cast<int>(rounded);
}

Node Model::node(int n) const {
    return {nodes.x[n],  nodes.y[n],  nodes.cx[n], nodes.cy[n],
            nodes.Fx[n], nodes.Fy[n], nodes.Kx[n], nodes.Ky[n]};
}

void Model::setNode(int n, const Node& node) {
    nodes.x[n] = node.x;
    nodes.y[n] = node.y;
    nodes.cx[n] = node.cx;
    nodes.cy[n] = node.cy;
    nodes.Fx[n] = node.Fx;
    nodes.Fy[n] = node.Fy;
    nodes.Kx[n] = node.Kx;
    nodes.Ky[n] = node.Ky;
}

void Model::setElement(int e, const Element& element) {
    elements.i[e] = element.i;
    elements.j[e] = element.j;
    elements.group[e] = element.group;
}

bool Model::hasCurrentResults() const {
    return results.valid && results.analysed == static_cast<const ModelTables&>(*this);
}

void ClearModel(Model& model) {
    static_cast<ModelTables&>(model) = ModelTables{};
    model.results = AnalysisResults{};
}

}  // namespace vortak
