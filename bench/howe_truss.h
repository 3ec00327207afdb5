#pragma once

// A 49-panel Howe truss with 100 nodes and 197 elements (the largest model the node table
// holds): pin and roller at the ends, a load of 10 on every top node. Two numberings:
// chord by chord (bottom nodes 1..50, then top nodes 51..100), which gives the stiffness
// matrix a half-bandwidth of about 100 DOFs, and along the span (bottom and top node of each
// panel point in turn), which keeps it narrow.

#include "model/model.h"

namespace vortak::bench {

constexpr int kPanels = 49;

inline Model howeTruss(bool alongSpan) {
    constexpr float panel = 2.0f;
    constexpr float height = 3.0f;
    Model m;
    m.nodeCount = 2 * (kPanels + 1);
    // Node numbers of the bottom and top node at panel point k = 0..kPanels.
    auto bottom = [&](int k) { return alongSpan ? 2 * k + 1 : k + 1; };
    auto top = [&](int k) { return alongSpan ? 2 * k + 2 : kPanels + 2 + k; };
    for (int k = 0; k <= kPanels; ++k) {
        m.nodes.x[bottom(k)] = k * panel;
        m.nodes.x[top(k)] = k * panel;
        m.nodes.y[top(k)] = height;
        m.nodes.Fy[top(k)] = -10.0f;
    }
    m.nodes.cx[bottom(0)] = m.nodes.cy[bottom(0)] = 1.0f;  // pin
    m.nodes.cy[bottom(kPanels)] = 1.0f;                    // roller
    m.groupCount = 1;
    m.groups.E[1] = 2.1e8;
    m.groups.A[1] = 0.005;
    auto bar = [&m](int i, int j) {
        const int e = ++m.elementCount;
        m.elements.i[e] = float(i);
        m.elements.j[e] = float(j);
        m.elements.group[e] = 1.0f;
    };
    for (int k = 0; k < kPanels; ++k) bar(bottom(k), bottom(k + 1));  // 49
    for (int k = 0; k < kPanels; ++k) bar(top(k), top(k + 1));        // 49
    for (int k = 0; k <= kPanels; ++k) bar(bottom(k), top(k));        // 50
    // Diagonals falling towards mid-span: 49.
    for (int k = 0; k < kPanels; ++k) {
        if (k < kPanels / 2) {
            bar(bottom(k + 1), top(k));
        } else {
            bar(bottom(k), top(k + 1));
        }
    }
    return m;
}

}  // namespace vortak::bench
