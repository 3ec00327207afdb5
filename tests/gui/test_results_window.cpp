#include <QPrinter>
#include <QtWidgets>

#include <zlib.h>

#include <map>

#include "../core/test_support.h"
#include "app/analysis_run.h"
#include "base/number_text.h"
#include "report/report.h"
#include "report/results_tables.h"
#include "report/results_window.h"
#include "report/table_export.h"

using namespace vortak::test;

namespace {

using Sections = std::optional<std::array<bool, 4>>;

// A bar pulled along its axis, analysed.
struct Solved : Harness {
    Solved() {
        addBar(app.model, 4, 2.0e5, 0.01);
        app.model.nodes.Fx[2] = 30;
        Button_Epilisi(app);
    }
    ResultsSelection selection;
    QStringList opened;   // the workbooks handed to the spreadsheet program
    int failingOpen = 0;  // the one of them (from 1) that it fails to open

    // A window whose section dialog ticks `ticked` and whose printer cannot start.
    std::unique_ptr<ResultsWindow> window(std::array<bool, 4> ticked) {
        return std::make_unique<ResultsWindow>(
            app, selection, nullptr, [ticked](const QString&) { return Sections(ticked); },
            [this](const QString& path) { return (opened << path).size() != failingOpen; },
            [](QPrinter& printer) {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName("/nonexistent/report.pdf");
                return true;
            });
    }
};

// An entry of a zip archive (an .xlsx workbook is one), found through its central directory
// and inflated, as workbooks deflate every entry; empty when there is none.
QByteArray unzipped(const QByteArray& zip, const QByteArray& name) {
    const auto at = [&zip](qsizetype offset, int bytes) -> quint32 {
        if (offset < 0 || offset + bytes > zip.size()) return 0;
        const char* p = zip.constData() + offset;
        return bytes == 2 ? qFromLittleEndian<quint16>(p) : qFromLittleEndian<quint32>(p);
    };
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0) return {};
    qsizetype entry = at(end + 16, 4);
    for (quint32 k = 0, count = at(end + 10, 2); k < count; ++k) {
        const quint32 nameLength = at(entry + 28, 2), local = at(entry + 42, 4);
        if (zip.mid(entry + 46, nameLength) == name) {
            const qsizetype data = local + 30 + at(local + 26, 2) + at(local + 28, 2);
            QByteArray content(qsizetype(at(entry + 24, 4)), '\0');
            z_stream z{};
            inflateInit2(&z, -MAX_WBITS);  // raw deflate, as zip stores it
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.constData() + data));
            z.avail_in = uInt(std::min<qsizetype>(at(entry + 20, 4), zip.size() - data));
            z.next_out = reinterpret_cast<Bytef*>(content.data());
            z.avail_out = uInt(content.size());
            const bool inflated = inflate(&z, Z_FINISH) == Z_STREAM_END;
            inflateEnd(&z);
            return inflated ? content : QByteArray();
        }
        entry += 46 + nameLength + at(entry + 30, 2) + at(entry + 32, 2);
    }
    return {};
}

using Cells = std::map<std::pair<int, int>, QString>;  // (row, column) from 0 -> text

// The filled cells of a workbook's first sheet (columns A to F); numbers in the general form,
// as the window writes them.
Cells sheetCells(const QString& path) {
    const QByteArray zip = contents(path);
    static const QRegularExpression text("<si><t[^>]*>([^<]*)</t></si>");
    static const QRegularExpression cell("<c r=\"([A-F])(\\d+)\"([^>]*)><v>([^<]*)</v></c>");
    QStringList shared;
    for (const auto& m : text.globalMatch(unzipped(zip, "xl/sharedStrings.xml")))
        shared << m.captured(1);
    Cells cells;
    for (const auto& m : cell.globalMatch(unzipped(zip, "xl/worksheets/sheet1.xml"))) {
        cells[{m.captured(2).toInt() - 1, m.captured(1)[0].unicode() - 'A'}] =
            m.captured(3).contains("t=\"s\"")
                ? shared.value(m.captured(4).toInt())
                : QString::fromStdString(general(m.captured(4).toDouble()));
    }
    return cells;
}

// The filled cells of a grid of the window, its column titles as the first row.
Cells windowCells(const QTableWidget* table) {
    Cells cells;
    const int first = table->horizontalHeader()->isHidden() ? 0 : 1;
    for (int c = 0; first == 1 && c < table->columnCount(); ++c)
        cells[{0, c}] = table->horizontalHeaderItem(c)->text();
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < table->columnCount(); ++c)
            if (!table->item(r, c)->text().isEmpty())
                cells[{r + first, c}] = table->item(r, c)->text();
    return cells;
}

// How many lines of the log read `text` in `colour`.
int logged(const MessageLog& log, const std::string& text, LogColour colour) {
    return int(std::count_if(log.runs().begin(), log.runs().end(), [&](const LogRun& run) {
        return run.text == "\r\n " + text && run.colour == colour;
    }));
}

}  // namespace

class TestResultsWindow : public QObject {
    Q_OBJECT
    QTemporaryDir home_;  // the user's cache folder while testing

    static QString exportFolder() {
        return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/export";
    }

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("XDG_CACHE_HOME", home_.filePath("cache").toUtf8());
    }

    // The actions take the model as it was when the window opened.
    void copyAndSaveTheChosenSections() {
        Solved s;
        Sections answer = std::array<bool, 4>{false, true, true, false};
        ResultsWindow window(s.app, s.selection, nullptr, [&](const QString&) { return answer; });
        const std::string report = assembleReport(s.app.model, "23");
        ClearModel(s.app.model);
        window.copy();
        QCOMPARE(QApplication::clipboard()->text().toStdString(), report);
        QTemporaryDir dir;
        s.prompter.queueFileName(dir.filePath("results").toStdString());
        window.save();
        QCOMPARE(contents(dir.filePath("results.txt")).toStdString(), report + "\r\n");

        // Nothing ticked, or Cancel: the action does nothing.
        answer = std::array<bool, 4>{};
        QApplication::clipboard()->setText("before");
        window.copy();
        answer = std::nullopt;
        window.save();
        QCOMPARE(QApplication::clipboard()->text(), QString("before"));
        QCOMPARE(s.prompter.questions().size(), std::size_t(1));  // only the first save asked
    }

    // The workbooks hold what the window shows, cell by cell, after the model was edited or
    // emptied since the window opened.
    void exportWritesTheWindowsTables() {
        Solved s;
        const auto window = s.window({1, 1, 1, 1});
        for (const auto& change : std::initializer_list<std::function<void(Model&)>>{
                 [](Model& m) { m.nodes.Fx[2] = 31; }, [](Model& m) { ClearModel(m); }}) {
            change(s.app.model);
            s.opened.clear();
            window->exportTables();
            QCOMPARE(s.opened.size(), 4);
            for (int k = 0; k < 4; ++k) {
                const Cells cells = windowCells(window->table(k));
                QVERIFY(cells.size() > 3);
                QCOMPARE(sheetCells(s.opened[k]), cells);
            }
        }
        QVERIFY(s.prompter.questions().empty());
    }

    // A workbook goes to the user's cache folder, the log says where; workbooks older than a
    // day are removed, newer ones and other files stay.
    void exportLogsWhereAndRemovesOldWorkbooks() {
        QDir(exportFolder()).removeRecursively();
        QVERIFY(QDir().mkpath(exportFolder()));
        const QDateTime now = QDateTime::currentDateTime();
        for (const auto& [name, age] :
             {std::pair{"old.xlsx", 25}, {"recent.xlsx", 23}, {"old.txt", 25}}) {
            QFile file(exportFolder() + "/" + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setFileTime(now.addSecs(-3600 * age), QFileDevice::FileModificationTime));
        }
        Solved s;
        s.window({0, 0, 1, 0})->exportTables();
        const QString opened = s.opened.value(0);
        QCOMPARE(QFileInfo(opened).absolutePath(), exportFolder());
        QVERIFY(QFileInfo(opened).fileName().startsWith("Element forces"));
        const std::string where = "Element forces exported to " + opened.toStdString();
        QCOMPARE(logged(s.app.log, where, LogColour::Navy), 1);
        QStringList left = QDir(exportFolder()).entryList(QDir::Files);
        left.removeOne(QFileInfo(opened).fileName());
        QCOMPARE(left, (QStringList{"old.txt", "recent.xlsx"}));
    }

    // A failure shows a box and writes the same words in red in the log; after a failed
    // opening the next table is still exported.
    void failuresAreReported_data() {
        columns<QString, std::string>("action", "text");
        const std::string error = "An error occured while trying to ";
        const std::string exportFailed = error + "export file. The operation cannot be completed.";
        QTest::newRow("opening") << "open" << exportFailed;
        QTest::newRow("writing") << "write" << exportFailed;
        QTest::newRow("printing") << "print" << error + "print. The printing cannot be completed";
    }
    void failuresAreReported() {
        const auto [action, text] = fetch<QString, std::string>("action", "text");
        Solved s;
        s.failingOpen = action == "open" ? 1 : 0;
        const auto window = s.window({1, 0, 0, 1});
        if (action == "write") {  // a cache folder that cannot be made: its parent is a file
            QFile blocker(home_.filePath("blocker"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            qputenv("XDG_CACHE_HOME", blocker.fileName().toUtf8() + "/cache");
        }
        if (action == "print")
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        action == "print" ? window->print() : window->exportTables();
        qputenv("XDG_CACHE_HOME", home_.filePath("cache").toUtf8());
        const int failures = action == "write" ? 2 : 1;  // both tables
        QCOMPARE(int(s.prompter.questions().size()), failures);
        QVERIFY(s.prompter.questions()[0].text == text &&
                s.prompter.questions()[0].icon == MessageIcon::Critical);
        QCOMPARE(logged(s.app.log, text, LogColour::Red), failures);
        QCOMPARE(s.opened.size(), action == "open" ? 2 : 0);
    }

    // Numbers right-aligned in the model data grid, whose other cells are centred, and in the
    // result grids; titles and codes stay centred.
    void alignment_data() {
        columns<int, int, int, int>("table", "row", "column", "alignment");
        const int right = Qt::AlignRight | Qt::AlignVCenter, centre = Qt::AlignCenter;
        QTest::newRow("section title") << 0 << 0 << 0 << centre;
        QTest::newRow("E") << 0 << 1 << 1 << right;
        QTest::newRow("constraint code") << 0 << 4 << 3 << centre;
        QTest::newRow("force") << 2 << 0 << 1 << right;
    }
    void alignment() {
        const auto [table, row, column] = fetch<int, int, int>("table", "row", "column");
        Solved s;
        ResultsWindow window(s.app, s.selection);
        QTEST(window.table(table)->item(row, column)->textAlignment(), "alignment");
    }

    // Section titles in regular weight; the value columns of the model data table equally
    // wide, none narrower than its texts or a 15-digit number; a printer on Print.
    void dataTableLayout() {
        Solved s;
        // The second E is wider than the 15-digit number the columns allow for.
        for (double E : {2.0e5, -1.23456789012345e-300}) {
            s.app.model.groups.E[1] = E;
            ResultsWindow window(s.app, s.selection);
            const QTableWidget* data = window.table(0);
            QCOMPARE(data->item(3, 0)->text(), QString("Nodes"));
            QCOMPARE(data->item(3, 0)->font().weight(), QFont::Normal);
            const int width = data->columnWidth(1);
            QVERIFY(width >= data->fontMetrics().horizontalAdvance("-1.23456789012345E-05"));
            for (int c = 1; c <= 5; ++c) {
                QCOMPARE(data->columnWidth(c), width);
                QVERIFY(width >= static_cast<const QAbstractItemView*>(data)->sizeHintForColumn(c));
            }
        }
        ResultsWindow window(s.app, s.selection);
        QIcon print;
        for (const QAction* a : window.findChild<QToolBar*>()->actions())
            if (a->text() == "Print") print = a->icon();
        const QIcon apply = window.style()->standardIcon(QStyle::SP_DialogApplyButton);
        QVERIFY(!print.isNull() && print.pixmap(24).toImage() != apply.pixmap(24).toImage());
    }

    // Opened on an edited model, the result tabs say there are no results instead of
    // showing the old ones; analysed, they show their rows and no notice.
    void notAnalysedTabs() {
        Solved s;
        const auto notices = [&s] {
            ResultsWindow window(s.app, s.selection);
            QStringList texts;
            for (const QLabel* label : window.findChildren<QLabel*>("notice"))
                texts << label->text();
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
        const QByteArray pdf = contents(dir.filePath("report.pdf"));
        QVERIFY(pdf.startsWith("%PDF") && pdf.size() > 1000);
    }
};

QTEST_MAIN(TestResultsWindow)
#include "test_results_window.moc"
