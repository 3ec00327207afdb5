#include "app/analysis_run.h"
#include "base/number_text.h"
#include "report/report.h"
#include "report/results_tables.h"
#include "test_support.h"

using namespace vortak::test;

namespace {

// The texts of table cells or tree items.
template <typename T>
QStringList texts(const std::vector<T>& items) {
    QStringList list;
    for (const T& item : items) list << QString::fromStdString(item.text);
    return list;
}

}  // namespace

class TestResultsTables : public QObject {
    Q_OBJECT
    Harness h;  // the analysed model, shared and left unchanged
    const Model& m = h.app.model;

private slots:
    // Node 1 pinned, node 2 on a roller with a spring in x, node 3 loaded; node 4 hangs on a
    // spring only. Analysed.
    void initTestCase() {
        Model& model = h.app.model;
        model.nodeCount = 4;
        model.setNode(1, {.cx = 1, .cy = 1});
        model.setNode(2, {.x = 8, .cy = 1, .Kx = 1000});
        model.setNode(3, {.x = 4, .y = 3, .Fx = 10});
        model.setNode(4, {.x = 4, .y = -3, .Kx = 500, .Ky = 500});
        addGroup(model, 2.0e5, 0.01);
        for (auto [i, j] : {std::pair{1, 2}, {2, 3}, {1, 3}, {3, 4}}) addElement(model, i, j);
        Button_Epilisi(h.app);
    }

    void modelData() {
        const ResultsTable t = modelDataTable(m);
        QCOMPARE(t.sectionRows, (std::vector<int>{0, 3, 9, 15}));
        QCOMPARE(texts(t.rows[5]), (QStringList{"2", "8", "0", "ox", "1000", ""}));
        QCOMPARE(texts(t.rows.back()), (QStringList{"1", "3", "10", "", "", ""}));  // Fy empty
    }

    // A fixed direction shows nothing, a spring marks its direction; the largest values are
    // marked.
    void displacementMarks() {
        const ResultsTable t = displacementTable(m);
        QCOMPARE(texts(t.rows[1]), (QStringList{"1", "", "", ""}));
        QVERIFY(t.rows[2][1].mark == CellMark::Spring && t.rows[2][2].text.empty());
        QCOMPARE(m.results.D[5], m.results.extremes[kMaxUx]);  // at the loaded node 3
        QVERIFY(t.rows[3][1].mark == CellMark::Largest && t.rows[3][3].mark == CellMark::Largest);
    }

    // Nothing is marked while the extremes are equal; values sharing the largest are all
    // marked.
    void equalExtremes() {
        Model two;
        addNode(two, 0, 0);
        addNode(two, 1, 0);
        markAnalysed(two);
        QCOMPARE(displacementTable(two).rows[1][1].mark, CellMark::Plain);  // all 0
        two.results.D[1] = two.results.D[3] = two.results.extremes[kMaxUx] = 2;
        two.results.extremes[kMinUx] = -1;
        const ResultsTable t = displacementTable(two);
        QVERIFY(t.rows[1][1].mark == CellMark::Largest && t.rows[2][1].mark == CellMark::Largest);
    }

    // Nodes 1, 2 and 4; a spring shows the force it exerts on the node, -K*u, in green:
    // negative for a move in +x, like the reaction of a support there.
    void reactions() {
        const ResultsTable t = reactionsTable(m);
        QCOMPARE(int(t.rows.size()), 1 + 3);
        QCOMPARE(t.rows[1][1].text, general(m.results.R[1][1]));
        QVERIFY(m.results.D[3] > 0);
        QCOMPARE(t.rows[2][1].text, general(-(1000.0 * m.results.D[3])));
        QVERIFY(t.rows[2][1].mark == CellMark::Spring && t.rows[3][2].mark == CellMark::Spring);
        QVERIFY(t.rows[2][2].mark == CellMark::Plain);  // the roller's own reaction
        QVERIFY(t.notice.empty());
        // A spring in a fixed direction (a hand-edited file) never moves: the support's
        // reaction stands, in black.
        Model sprungRoller = m;
        sprungRoller.nodes.Ky[2] = 700;
        markAnalysed(sprungRoller);
        const TableCell cell = reactionsTable(sprungRoller).rows[2][2];
        QVERIFY(cell.text == general(m.results.R[2][2]) && cell.mark == CellMark::Plain);
    }

    // An edited model has no results of its own: the result tables hold only their titles
    // and say why; the model data stays.
    void withoutResults() {
        Model edited = m;
        edited.nodes.Fx[3] = 11;
        for (const ResultsTable& t :
             {displacementTable(edited), forcesTable(edited), reactionsTable(edited)}) {
            QCOMPARE(int(t.rows.size()), 1);
            QCOMPARE(t.notice, std::string(kNotAnalysedText));
        }
        QVERIFY(modelDataTable(edited).notice.empty());
    }

    // Numbers are marked as numbers (right-aligned, numbers in a spreadsheet); titles, codes
    // and values that are not there are not. n number, t text, T title, - empty.
    void numericCells_data() {
        columns<int, int, QString>("table", "row", "kinds");
        QTest::newRow("nodes title") << 0 << 3 << "TTTTTT";
        QTest::newRow("pinned node") << 0 << 4 << "nnnt--";
        QTest::newRow("sprung roller") << 0 << 5 << "nnntn-";
        QTest::newRow("element") << 0 << 10 << "nnnn--";
        QTest::newRow("load without Fy") << 0 << 16 << "nnn---";
        QTest::newRow("pinned node displacements") << 1 << 1 << "n---";
        QTest::newRow("roller displacements") << 1 << 2 << "nn-n";
        QTest::newRow("forces") << 2 << 1 << "nnnn";
        QTest::newRow("spring reactions") << 3 << 3 << "nnn";
    }
    void numericCells() {
        const auto [table, row, kinds] = fetch<int, int, QString>("table", "row", "kinds");
        const ResultsTable tables[] = {modelDataTable(m), displacementTable(m), forcesTable(m),
                                       reactionsTable(m)};
        QString found;
        for (const TableCell& cell : tables[table].rows[std::size_t(row)])
            found += cell.title ? 'T' : cell.numeric ? 'n' : cell.text.empty() ? '-' : 't';
        QCOMPARE(found, kinds);
    }

    void tree() {
        const TreeItem root = modelTree(m);
        QCOMPARE(texts(root.children[1].children[1].children),
                 (QStringList{"x = 8", "y = 0", "Constraints: ox", "Kx = 1000"}));
        QCOMPARE(texts(root.children[3].children[0].children),
                 (QStringList{"On node: #3", "Fx = 10"}));  // no Fy
    }

    void selection() {
        ResultsSelection s;
        s.accept(m, {true, false, true, false});
        QVERIFY(s.report == assembleReport(m, "13") && s.chosen[0] && !s.chosen[1] && s.chosen[2]);
        s.cancel();
        QVERIFY(s.report.empty() && !s.chosen[0] && !s.chosen[2]);
    }
};

QTEST_APPLESS_MAIN(TestResultsTables)
#include "test_results_tables.moc"
