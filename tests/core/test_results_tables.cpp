#include <QtTest>

#include "analysis/analysis_run.h"
#include "base/number_text.h"
#include "report/report.h"
#include "report/results_tables.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

namespace {

QStringList texts(const std::vector<TableCell>& row) {
    QStringList list;
    for (const TableCell& cell : row) list << QString::fromStdString(cell.text);
    return list;
}

// Node 1 pinned, node 2 on a roller with a spring in x, node 3 loaded; node 4 hangs on a
// spring only. Analysed.
void analysedModel(Harness& h) {
    Model& m = h.app.model;
    addNode(m, 0, 0, 1, 1);
    addNode(m, 8, 0, 0, 1);
    addNode(m, 4, 3);
    addNode(m, 4, -3);
    m.nodes.Kx[2] = 1000;
    m.nodes.Kx[4] = 500;
    m.nodes.Ky[4] = 500;
    m.nodes.Fx[3] = 10;
    addGroup(m, 2.0e5, 0.01);
    addElement(m, 1, 2);
    addElement(m, 2, 3);
    addElement(m, 1, 3);
    addElement(m, 3, 4);
    Button_Epilisi(h.app);
}

}  // namespace

class TestResultsTables : public QObject {
    Q_OBJECT
private slots:
    void emptyModel();
    void modelData();
    void displacementMarks();
    void equalExtremesMarkNothing();
    void reactions();
    void tree();
    void selection();
};

void TestResultsTables::emptyModel() {
    const Model m;
    const ResultsTable data = modelDataTable(m);
    QCOMPARE(int(data.rows.size()), 7);
    QCOMPARE(data.sectionRows, (std::vector<int>{0, 2, 4, 6}));
    QCOMPARE(int(displacementTable(m).rows.size()), 1);
    QCOMPARE(int(forcesTable(m).rows.size()), 1);
    QCOMPARE(texts(reactionsTable(m).rows[0]), (QStringList{"Node", "Force Fx", "Force Fy"}));
    const TreeItem root = modelTree(m);
    QCOMPARE(int(root.children.size()), 4);
    for (const TreeItem& branch : root.children) QVERIFY(branch.children.empty());
    const auto counts = generalData(m);
    QCOMPARE(counts[6].second, std::string("2"));
    QCOMPARE(counts[7], (std::pair<std::string, std::string>{"Degrees of freedom:", "0"}));
}

void TestResultsTables::modelData() {
    Harness h;
    analysedModel(h);
    const ResultsTable t = modelDataTable(h.app.model);
    QCOMPARE(int(t.rows.size()), 1 + 4 + 4 + 1 + 7);  // G + N + M + L + 7
    QCOMPARE(texts(t.rows[0]), (QStringList{"Groups", "E", "A", "", "", ""}));
    QCOMPARE(texts(t.rows[1]), (QStringList{"1", "200000", "0.01", "", "", ""}));
    QCOMPARE(texts(t.rows[4]), (QStringList{"1", "0", "0", "xx", "", ""}));
    QCOMPARE(texts(t.rows[5]), (QStringList{"2", "8", "0", "ox", "1000", ""}));
    QCOMPARE(texts(t.rows[7]), (QStringList{"4", "4", "-3", "", "500", "500"}));
    QCOMPARE(texts(t.rows.back()), (QStringList{"1", "3", "10", "", "", ""}));  // Fy empty
    QVERIFY(t.rows[0][4].title);
}

void TestResultsTables::displacementMarks() {
    Harness h;
    analysedModel(h);
    const Model& m = h.app.model;
    const ResultsTable t = displacementTable(m);
    // Node 1 is fixed in both directions: nothing shown.
    QCOMPARE(texts(t.rows[1]), (QStringList{"1", "", "", ""}));
    // Node 2: x on a spring (green), y fixed (empty).
    QCOMPARE(t.rows[2][1].mark, CellMark::Spring);
    QVERIFY(t.rows[2][2].text.empty() && !t.rows[2][3].text.empty());
    // The largest ux is the loaded node 3; the largest total is there too.
    QCOMPARE(t.rows[3][1].mark, CellMark::Largest);
    QCOMPARE(t.rows[3][3].mark, CellMark::Largest);
    QCOMPARE(m.results.D[5], m.results.extremes[kMaxUx]);
}

void TestResultsTables::equalExtremesMarkNothing() {
    Harness h;
    addNode(h.app.model, 0, 0);
    addNode(h.app.model, 1, 0);
    const ResultsTable t = displacementTable(h.app.model);  // before any analysis: all 0
    for (std::size_t r = 1; r < t.rows.size(); ++r) {
        for (const TableCell& cell : t.rows[r]) QCOMPARE(cell.mark, CellMark::Plain);
    }
    // Two nodes sharing the largest value are both marked.
    Model& m = h.app.model;
    m.results.D[1] = m.results.D[3] = 2;
    m.results.extremes[kMaxUx] = 2;
    m.results.extremes[kMinUx] = -1;
    const ResultsTable marked = displacementTable(m);
    QCOMPARE(marked.rows[1][1].mark, CellMark::Largest);
    QCOMPARE(marked.rows[2][1].mark, CellMark::Largest);
}

void TestResultsTables::reactions() {
    Harness h;
    analysedModel(h);
    const Model& m = h.app.model;
    const ResultsTable t = reactionsTable(m);
    QCOMPARE(int(t.rows.size()), 1 + 3);  // nodes 1, 2 and 4
    QCOMPARE(t.rows[1][1].text, general(m.results.R[1][1]));
    QCOMPARE(t.rows[1][1].mark, CellMark::Plain);
    // A spring shows its force K*u in green, positive for a move in +x.
    QCOMPARE(t.rows[2][1].text, general(1000.0 * m.results.D[3]));
    QCOMPARE(t.rows[2][1].mark, CellMark::Spring);
    QVERIFY(m.results.D[3] > 0);
    QCOMPARE(t.rows[3][0].text, std::string("4"));
    QCOMPARE(t.rows[3][2].mark, CellMark::Spring);
}

void TestResultsTables::tree() {
    Harness h;
    analysedModel(h);
    const TreeItem root = modelTree(h.app.model);
    QCOMPARE(root.text, std::string("Model"));
    const TreeItem& nodes = root.children[1];
    QCOMPARE(nodes.key, std::string("komb"));
    QVERIFY(nodes.expanded && !root.children[0].expanded);
    const TreeItem& node2 = nodes.children[1];
    QCOMPARE(node2.text, std::string("#2 Node"));
    std::vector<std::string> leaves;
    for (const TreeItem& leaf : node2.children) leaves.push_back(leaf.text);
    QCOMPARE(leaves, (std::vector<std::string>{"x = 8", "y = 0", "Constraints: ox", "Kx = 1000"}));
    const TreeItem& load = root.children[3].children[0];
    QCOMPARE(load.text, std::string("#1 Nodal load"));
    QCOMPARE(int(load.children.size()), 2);  // Fy = 0 has no leaf
    QCOMPARE(load.children[0].text, std::string("On node: #3"));
    QCOMPARE(root.children[2].children[0].children[2].text, std::string("Belongs to E,A group: 1"));
}

void TestResultsTables::selection() {
    Harness h;
    analysedModel(h);
    ResultsSelection s;
    s.accept(h.app.model, {false, false, false, false});
    QVERIFY(s.report.empty());
    s.accept(h.app.model, {true, false, true, false});
    QCOMPARE(s.report, assembleReport(h.app.model, "13"));
    QVERIFY(s.chosen[0] && !s.chosen[1] && s.chosen[2]);
    s.cancel();
    QVERIFY(s.report.empty() && !s.chosen[0] && !s.chosen[2]);
}

QTEST_APPLESS_MAIN(TestResultsTables)
#include "test_results_tables.moc"
