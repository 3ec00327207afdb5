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
void analyse(Harness& h) {
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
    Harness h;  // the analysed model, shared and left unchanged
    const Model& m = h.app.model;

private slots:
    void initTestCase() { analyse(h); }

    void modelData() {
        const ResultsTable t = modelDataTable(m);
        QCOMPARE(t.sectionRows, (std::vector<int>{0, 3, 9, 15}));
        QCOMPARE(texts(t.rows[5]), (QStringList{"2", "8", "0", "ox", "1000", ""}));
        QCOMPARE(texts(t.rows[7]), (QStringList{"4", "4", "-3", "", "500", "500"}));
        QCOMPARE(texts(t.rows.back()), (QStringList{"1", "3", "10", "", "", ""}));  // Fy empty
    }

    void displacementMarks() {
        const ResultsTable t = displacementTable(m);
        // Node 1 is fixed in both directions: nothing shown.
        QCOMPARE(texts(t.rows[1]), (QStringList{"1", "", "", ""}));
        // Node 2: x on a spring (green), y fixed (empty).
        QCOMPARE(t.rows[2][1].mark, CellMark::Spring);
        QVERIFY(t.rows[2][2].text.empty() && !t.rows[2][3].text.empty());
        // The largest ux is the loaded node 3; the largest total is there too.
        QCOMPARE(m.results.D[5], m.results.extremes[kMaxUx]);
        QVERIFY(t.rows[3][1].mark == CellMark::Largest && t.rows[3][3].mark == CellMark::Largest);
    }

    void equalExtremesMarkNothing() {
        Model two;
        addNode(two, 0, 0);
        addNode(two, 1, 0);
        const ResultsTable t = displacementTable(two);  // before any analysis: all 0
        for (std::size_t r = 1; r < t.rows.size(); ++r) {
            for (const TableCell& cell : t.rows[r]) QCOMPARE(cell.mark, CellMark::Plain);
        }
        // Two nodes sharing the largest value are both marked.
        two.results.D[1] = two.results.D[3] = two.results.extremes[kMaxUx] = 2;
        two.results.extremes[kMinUx] = -1;
        const ResultsTable marked = displacementTable(two);
        QVERIFY(marked.rows[1][1].mark == CellMark::Largest &&
                marked.rows[2][1].mark == CellMark::Largest);
    }

    void reactions() {
        const ResultsTable t = reactionsTable(m);
        QCOMPARE(int(t.rows.size()), 1 + 3);  // nodes 1, 2 and 4
        QCOMPARE(t.rows[1][1].text, general(m.results.R[1][1]));
        QCOMPARE(t.rows[1][1].mark, CellMark::Plain);
        // A spring shows its force K*u in green, positive for a move in +x.
        QVERIFY(m.results.D[3] > 0);
        QCOMPARE(t.rows[2][1].text, general(1000.0 * m.results.D[3]));
        QCOMPARE(t.rows[2][1].mark, CellMark::Spring);
        QVERIFY(t.rows[3][0].text == "4" && t.rows[3][2].mark == CellMark::Spring);
    }

    void tree() {
        const TreeItem root = modelTree(m);
        const TreeItem& node2 = root.children[1].children[1];
        std::vector<std::string> leaves;
        for (const TreeItem& leaf : node2.children) leaves.push_back(leaf.text);
        QCOMPARE(leaves,
                 (std::vector<std::string>{"x = 8", "y = 0", "Constraints: ox", "Kx = 1000"}));
        const TreeItem& load = root.children[3].children[0];
        QCOMPARE(int(load.children.size()), 2);  // Fy = 0 has no leaf
        QCOMPARE(load.children[0].text, std::string("On node: #3"));
    }

    void selection() {
        ResultsSelection s;
        s.accept(m, {false, false, false, false});
        QVERIFY(s.report.empty());
        s.accept(m, {true, false, true, false});
        QCOMPARE(s.report, assembleReport(m, "13"));
        QVERIFY(s.chosen[0] && !s.chosen[1] && s.chosen[2]);
        s.cancel();
        QVERIFY(s.report.empty() && !s.chosen[0] && !s.chosen[2]);
    }
};

QTEST_APPLESS_MAIN(TestResultsTables)
#include "test_results_tables.moc"
