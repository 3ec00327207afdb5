#include <QtTest>

#include <QClipboard>
#include <QPrinter>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "../core/test_support.h"
#include "analysis/analysis_run.h"
#include "report/report.h"
#include "report/results_tables.h"
#include "report/results_window.h"
#include "report/table_export.h"

using namespace vortak;
using namespace vortak::test;

namespace {

using Sections = std::optional<std::array<bool, 4>>;

// A pinned triangle, analysed.
struct Solved : Harness {
    Solved() {
        Model& m = app.model;
        addNode(m, 0, 0, 1, 1);
        addNode(m, 8, 0, 0, 1);
        addNode(m, 4, 3);
        m.nodes.Fy[3] = -30;
        addGroup(m, 2.0e5, 0.01);
        addElement(m, 1, 2);
        addElement(m, 2, 3);
        addElement(m, 1, 3);
        Button_Epilisi(app);
    }
    ResultsSelection selection;
};

}  // namespace

class TestResultsWindow : public QObject {
    Q_OBJECT
private slots:
    void treeAndTables() {
        Solved s;
        ResultsWindow window(s.app, s.selection);
        QCOMPARE(window.windowTitle(), QString("Malvero Vortak - Data & Results"));
        QCOMPARE(window.tabs()->tabText(3), QString("Constraint-Spring reactions"));
        QVERIFY(!window.tree()->isHidden() && window.table(0)->isHidden());
        window.tableView()->click();
        QVERIFY(window.tree()->isHidden() && !window.table(0)->isHidden());
        QCOMPARE(window.countText(1), QString("3"));
        QCOMPARE(window.countText(7), QString("6"));
        QCOMPARE(window.table(1)->rowCount(), 3);
        QCOMPARE(window.table(2)->horizontalHeaderItem(1)->text(), QString("Axial force F"));
        QCOMPARE(window.table(2)->item(0, 1)->text(),
                 QString::fromStdString(forcesTable(s.app.model).rows[1][1].text));
    }

    void copyAndSaveUseTheChosenSections() {
        Solved s;
        std::vector<QString> captions;
        Sections answer = std::array<bool, 4>{false, true, true, false};
        ResultsWindow window(s.app, s.selection, nullptr, [&](const QString& caption) {
            captions.push_back(caption);
            return answer;
        });
        const std::string report = assembleReport(s.app.model, "23");
        window.copy();
        QCOMPARE(QApplication::clipboard()->text().toStdString(), report);
        QVERIFY(s.selection.report.empty());  // empty between actions
        QTemporaryDir dir;
        s.prompter.queueFileName(dir.filePath("results").toStdString());
        window.save();
        QFile saved(dir.filePath("results.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().toStdString(), report + "\r\n");

        // Nothing ticked, or Cancel: no action does anything.
        answer = std::array<bool, 4>{};
        QApplication::clipboard()->setText("before");
        window.copy();
        answer = std::nullopt;
        window.save();
        QCOMPARE(QApplication::clipboard()->text(), QString("before"));
        QCOMPARE(s.prompter.questions().size(), std::size_t(1));  // only the first save asked
        QCOMPARE(captions, (std::vector<QString>{"Copy to Clipboard", "Save to file",
                                                 "Copy to Clipboard", "Save to file"}));
    }

    void exportWritesWorkbooks() {
        Solved s;
        QStringList opened;
        ResultsWindow window(
            s.app, s.selection, nullptr,
            [](const QString&) {
                return Sections({true, false, false, true});
            },
            [&opened](const QString& path) {
                opened << path;
                return opened.size() == 1;  // the second spreadsheet program fails to start
            });
        window.exportTables();
        QCOMPARE(opened.size(), 2);
        QVERIFY(opened[0].contains("Model data") && opened[1].contains("Constraint-Spring"));
        for (const QString& path : opened) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly) && file.read(2) == "PK");  // a zip, as xlsx
        }
        QCOMPARE(s.prompter.questions().size(), std::size_t(1));
        QCOMPARE(s.prompter.questions()[0].text,
                 std::string("An error occured while trying to export file. The operation cannot "
                             "be completed."));
        // A folder that cannot take the workbook is an error too.
        QVERIFY(writeWorkbook(forcesTable(s.app.model), "Element forces", "/nonexistent/x.xlsx"));
    }

    void printsToAFile() {
        Solved s;
        QTemporaryDir dir;
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("report.pdf"));
        QVERIFY(printReport(printer, assembleReport(s.app.model, "1234")));
        QFile pdf(dir.filePath("report.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(4) == "%PDF" && pdf.size() > 1000);
    }
};

QTEST_MAIN(TestResultsWindow)
#include "test_results_window.moc"
