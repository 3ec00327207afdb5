#include <QtTest>

#include <QClipboard>
#include <QLabel>
#include <QPrinter>
#include <QTableWidget>
#include <QTemporaryDir>

#include "../core/test_support.h"
#include "app/analysis_run.h"
#include "report/report.h"
#include "report/results_tables.h"
#include "report/results_window.h"
#include "report/table_export.h"

using namespace vortak;
using namespace vortak::test;

namespace {

using Sections = std::optional<std::array<bool, 4>>;

// A bar pulled along its axis, analysed.
struct Solved : Harness {
    Solved() {
        addNode(app.model, 0, 0, 1, 1);
        addNode(app.model, 4, 0, 0, 1);
        app.model.nodes.Fx[2] = 30;
        addGroup(app.model, 2.0e5, 0.01);
        addElement(app.model, 1, 2);
        Button_Epilisi(app);
    }
    ResultsSelection selection;
};

}  // namespace

class TestResultsWindow : public QObject {
    Q_OBJECT
private slots:
    void copyAndSaveTheChosenSections() {
        Solved s;
        Sections answer = std::array<bool, 4>{false, true, true, false};
        ResultsWindow window(s.app, s.selection, nullptr, [&](const QString&) { return answer; });
        const std::string report = assembleReport(s.app.model, "23");
        window.copy();
        QCOMPARE(QApplication::clipboard()->text().toStdString(), report);
        QTemporaryDir dir;
        s.prompter.queueFileName(dir.filePath("results").toStdString());
        window.save();
        QFile saved(dir.filePath("results.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().toStdString(), report + "\r\n");

        // Nothing ticked, or Cancel: the action does nothing.
        answer = std::array<bool, 4>{};
        QApplication::clipboard()->setText("before");
        window.copy();
        answer = std::nullopt;
        window.save();
        QCOMPARE(QApplication::clipboard()->text(), QString("before"));
        QCOMPARE(s.prompter.questions().size(), std::size_t(1));  // only the first save asked
    }

    void exportWritesWorkbooks() {
        Solved s;
        QStringList opened;
        ResultsWindow window(
            s.app, s.selection, nullptr,
            [](const QString&) {
                return Sections({1, 0, 0, 1});
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
        QVERIFY(writeWorkbook(forcesTable(s.app.model), "Element forces", "/nonexistent/x.xlsx"));
    }

    // Opened on an edited model, the result tabs say there are no results instead of
    // showing the old ones; analysed, they show their rows and no notice.
    void notAnalysedTabs() {
        Solved s;
        const auto notices = [&s] {
            ResultsWindow window(s.app, s.selection);
            QStringList texts;
            for (const QLabel* label : window.findChildren<QLabel*>("notice")) {
                texts << label->text();
            }
            return std::pair{texts, window.table(1)->rowCount()};
        };
        QCOMPARE(notices(), (std::pair{QStringList{}, 2}));
        s.app.model.nodes.Fx[2] = 31;
        QCOMPARE(notices(), (std::pair{QStringList(3, kNotAnalysedText), 0}));
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
