#include "report/results_tables.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "analysis/result_values.h"
#include "base/number_text.h"
#include "model/model.h"
#include "report/report.h"

namespace vortak {

namespace {

bool fixed(float constraint) { return constraint == 1.0f; }
bool loaded(const Model& m, int n) { return m.nodes.Fx[n] != 0 || m.nodes.Fy[n] != 0; }
bool sprung(const Model& m, int n) { return m.nodes.Kx[n] > 0 || m.nodes.Ky[n] > 0; }

std::string constraintCode(const Model& m, int n) {
    const bool x = fixed(m.nodes.cx[n]);
    const bool y = fixed(m.nodes.cy[n]);
    if (x && y) return "xx";
    if (x) return "xo";
    if (y) return "ox";
    return {};
}

// A cell holding a number; an empty text (a value that is not there) is no number.
TableCell number(std::string text, CellMark mark = CellMark::Plain) {
    const bool present = !text.empty();
    return {std::move(text), mark, false, present};
}

std::vector<TableCell> row(int columns) { return std::vector<TableCell>(std::size_t(columns)); }

std::vector<TableCell> titleRow(std::initializer_list<const char*> titles, int columns) {
    std::vector<TableCell> cells = row(columns);
    int c = 0;
    for (const char* title : titles) cells[std::size_t(c++)] = {title, CellMark::Plain, true};
    for (; c < columns; ++c) cells[std::size_t(c)].title = true;
    return cells;
}

// Blue for the largest value, red for the smallest, when the two differ (exact matches).
CellMark extremeMark(double value, double largest, double smallest) {
    if (largest == smallest) return CellMark::Plain;
    if (value == largest) return CellMark::Largest;
    if (value == smallest) return CellMark::Smallest;
    return CellMark::Plain;
}

// A result table of a model without results of its own holds only its titles, and says why.
bool withoutResults(const Model& m, ResultsTable& t) {
    if (m.hasCurrentResults()) return false;
    t.notice = kNotAnalysedText;
    return true;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> generalData(const Model& m) {
    int constrained = 0, withLoads = 0, withSprings = 0;
    for (int n = 1; n <= m.nodeCount; ++n) {
        constrained += fixed(m.nodes.cx[n]) || fixed(m.nodes.cy[n]);
        withLoads += loaded(m, n);
        withSprings += sprung(m, n);
    }
    return {{"E,A groups:", whole(m.groupCount)},
            {"Nodes:", whole(m.nodeCount)},
            {"Elements:", whole(m.elementCount)},
            {"Constrained nodes:", whole(constrained)},
            {"Nodes with loads on:", whole(withLoads)},
            {"Nodes with springs on:", whole(withSprings)},
            {"DOFs per node:", "2"},
            {"Degrees of freedom:", whole(2 * m.nodeCount)}};
}

ResultsTable modelDataTable(const Model& m) {
    ResultsTable t;
    t.columns = 6;
    const auto section = [&t](std::initializer_list<const char*> titles) {
        t.sectionRows.push_back(int(t.rows.size()));
        t.rows.push_back(titleRow(titles, t.columns));
    };
    const auto data = [&t](std::initializer_list<TableCell> cells) {
        std::vector<TableCell> full = row(t.columns);
        std::copy(cells.begin(), cells.end(), full.begin());
        t.rows.push_back(full);
    };
    const auto ifPresent = [](bool present, float value) {
        return number(present ? general(value) : std::string());
    };
    section({"Groups", "E", "A"});
    for (int g = 1; g <= m.groupCount; ++g) {
        data({number(whole(g)), number(general(m.groups.E[g])), number(general(m.groups.A[g]))});
    }
    t.rows.push_back(row(t.columns));
    section({"Nodes", "x", "y", "Constraints", "Kx", "Ky"});
    for (int n = 1; n <= m.nodeCount; ++n) {
        data({number(whole(n)),
              number(general(m.nodes.x[n])),
              number(general(m.nodes.y[n])),
              {constraintCode(m, n)},
              ifPresent(m.nodes.Kx[n] > 0, m.nodes.Kx[n]),
              ifPresent(m.nodes.Ky[n] > 0, m.nodes.Ky[n])});
    }
    t.rows.push_back(row(t.columns));
    section({"Elements", "Start node i", "End node j", "E,A Group"});
    for (int e = 1; e <= m.elementCount; ++e) {
        data({number(whole(e)), number(general(m.elements.i[e])), number(general(m.elements.j[e])),
              number(general(m.elements.group[e]))});
    }
    t.rows.push_back(row(t.columns));
    section({"Nodal L.", "Node", "Fx", "Fy"});
    int k = 0;
    for (int n = 1; n <= m.nodeCount; ++n) {
        if (!loaded(m, n)) continue;
        data({number(whole(++k)), number(whole(n)), ifPresent(m.nodes.Fx[n] != 0, m.nodes.Fx[n]),
              ifPresent(m.nodes.Fy[n] != 0, m.nodes.Fy[n])});
    }
    return t;
}

ResultsTable displacementTable(const Model& m) {
    ResultsTable t;
    t.columns = 4;
    t.rows.push_back(titleRow(
        {"Node", "x - Displacement", "y - Displacement", "Total Displacement"}, t.columns));
    if (withoutResults(m, t)) return t;
    const auto& ex = m.results.extremes;
    for (int n = 1; n <= m.nodeCount; ++n) {
        std::vector<TableCell> cells = row(t.columns);
        cells[0] = number(whole(n));
        const double ux = m.results.D[2 * n - 1];
        const double uy = m.results.D[2 * n];
        const auto component = [&](TableCell& cell, double u, float constraint, float spring,
                                   int largest) {
            if (fixed(constraint)) return;
            cell = number(general(u), spring > 0 ? CellMark::Spring
                                                 : extremeMark(u, ex[largest], ex[largest + 1]));
        };
        component(cells[1], ux, m.nodes.cx[n], m.nodes.Kx[n], kMaxUx);
        component(cells[2], uy, m.nodes.cy[n], m.nodes.Ky[n], kMaxUy);
        if (!(fixed(m.nodes.cx[n]) && fixed(m.nodes.cy[n]))) {
            const double total = totalDisplacement(m, n);
            cells[3] = number(general(total), extremeMark(total, ex[kMaxTotalDisplacement],
                                                          ex[kMinTotalDisplacement]));
        }
        t.rows.push_back(cells);
    }
    return t;
}

ResultsTable forcesTable(const Model& m) {
    ResultsTable t;
    t.columns = 4;
    t.rows.push_back(titleRow(
        {"Element", "Axial force F", "Axial stress s=F/A", "Axial strain e=s/E"}, t.columns));
    if (withoutResults(m, t)) return t;
    for (int e = 1; e <= m.elementCount; ++e) {
        std::vector<TableCell> cells = row(t.columns);
        cells[0] = number(whole(e));
        cells[1] = number(general(axialForce(m, e)));
        cells[2] = number(general(axialStress(m, e)));
        cells[3] = number(general(axialStrain(m, e)));
        t.rows.push_back(cells);
    }
    return t;
}

ResultsTable reactionsTable(const Model& m) {
    ResultsTable t;
    t.columns = 3;
    t.rows.push_back(titleRow({"Node", "Force Fx", "Force Fy"}, t.columns));
    if (withoutResults(m, t)) return t;
    for (int n = 1; n <= m.nodeCount; ++n) {
        if (!fixed(m.nodes.cx[n]) && !fixed(m.nodes.cy[n]) && !sprung(m, n)) continue;
        std::vector<TableCell> cells = row(t.columns);
        cells[0] = number(whole(n));
        for (int axis = 1; axis <= 2; ++axis) {
            if (const std::optional<SupportForce> force = supportForce(m, n, axis)) {
                cells[std::size_t(axis)] = number(
                    general(force->value), force->fromSpring ? CellMark::Spring : CellMark::Plain);
            }
        }
        t.rows.push_back(cells);
    }
    return t;
}

TreeItem modelTree(const Model& m) {
    const auto item = [](std::string key, std::string text, bool bold = false,
                         bool expanded = false) {
        TreeItem t;
        t.key = std::move(key);
        t.text = std::move(text);
        t.bold = bold;
        t.expanded = expanded;
        return t;
    };
    const auto leaf = [&item](std::string text) { return item("", std::move(text)); };

    TreeItem groups = item("omad", "E,A Element Groups", true);
    for (int g = 1; g <= m.groupCount; ++g) {
        TreeItem group = item("omad" + whole(g), "#" + whole(g) + " E,A Group");
        group.children = {leaf("E = " + general(m.groups.E[g])),
                          leaf("A = " + general(m.groups.A[g]))};
        groups.children.push_back(group);
    }
    // The nodes branch is the one shown open.
    TreeItem nodes = item("komb", "Nodes", true, true);
    for (int n = 1; n <= m.nodeCount; ++n) {
        TreeItem node = item("komb" + whole(n), "#" + whole(n) + " Node");
        node.children.push_back(leaf("x = " + general(m.nodes.x[n])));
        node.children.push_back(leaf("y = " + general(m.nodes.y[n])));
        const std::string code = constraintCode(m, n);
        node.children.push_back(leaf(code.empty() ? "Free" : "Constraints: " + code));
        if (m.nodes.Kx[n] > 0) node.children.push_back(leaf("Kx = " + general(m.nodes.Kx[n])));
        if (m.nodes.Ky[n] > 0) node.children.push_back(leaf("Ky = " + general(m.nodes.Ky[n])));
        nodes.children.push_back(node);
    }
    TreeItem elements = item("stoi", "Elements", true);
    for (int e = 1; e <= m.elementCount; ++e) {
        TreeItem element = item("stoi" + whole(e), "#" + whole(e) + " Element");
        element.children = {leaf("Start node i: " + general(m.elements.i[e])),
                            leaf("End node j: " + general(m.elements.j[e])),
                            leaf("Belongs to E,A group: " + general(m.elements.group[e]))};
        elements.children.push_back(element);
    }
    TreeItem loads = item("sigk", "Nodal loads", true);
    int k = 0;
    for (int n = 1; n <= m.nodeCount; ++n) {
        if (!loaded(m, n)) continue;
        ++k;
        TreeItem load = item("sigk" + whole(k), "#" + whole(k) + " Nodal load");
        load.children.push_back(leaf("On node: #" + whole(n)));
        if (m.nodes.Fx[n] != 0) load.children.push_back(leaf("Fx = " + general(m.nodes.Fx[n])));
        if (m.nodes.Fy[n] != 0) load.children.push_back(leaf("Fy = " + general(m.nodes.Fy[n])));
        loads.children.push_back(load);
    }
    TreeItem root = item("", "Model", true, true);
    root.children = {groups, nodes, elements, loads};
    return root;
}

void ResultsSelection::accept(const Model& model, const std::array<bool, 4>& ticked) {
    report.clear();
    for (int k = 1; k <= 4; ++k) {
        chosen[std::size_t(k - 1)] = ticked[std::size_t(k - 1)];
        if (chosen[std::size_t(k - 1)]) report += ReportSection(model, k);
    }
}

void ResultsSelection::cancel() {
    chosen.fill(false);
    report.clear();
}

}  // namespace vortak
