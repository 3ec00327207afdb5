#include <QtTest>

#include "base/file_io.h"
#include "log/message_log.h"
#include "report/report.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

namespace {

std::string pad(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), ' ');
}

std::string blanks(std::size_t count) { return std::string(count, ' '); }

std::string dashes(std::size_t count) { return std::string(count, '-'); }

// The lines of a text that must end with CR LF, without their line ends.
QStringList linesOf(const std::string& text) {
    if (!text.ends_with("\r\n")) return {"<text does not end with CR LF>"};
    QStringList lines = QString::fromStdString(text).split("\r\n");
    lines.removeLast();
    return lines;
}

void compareLines(const std::string& text, const std::vector<std::string>& expected) {
    const QStringList actual = linesOf(text);
    for (qsizetype k = 0; k < std::min<qsizetype>(actual.size(), qsizetype(expected.size())); ++k) {
        QCOMPARE(actual[k], QString::fromStdString(expected[k]));
    }
    QCOMPARE(actual.size(), qsizetype(expected.size()));
}

// The rows of the section-1 table with this title: the lines between its dashes and the
// empty line that closes it.
QStringList tableRows(const std::string& section, const QString& title) {
    const QStringList lines = linesOf(section);
    qsizetype k = lines.indexOf(title) + 4;  // title, empty line, header, dashes
    QStringList rows;
    while (k < lines.size() && !lines[k].isEmpty()) rows << lines[k++];
    return rows;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Five nodes (pinned, roller, loaded and free, spring in x only, fixed in x with a spring
// in y), three elements in two groups and hand-made results.
Model analysedModel() {
    Model m;
    addGroup(m, 200, 0.5);
    addGroup(m, 1000, 2);
    addNode(m, 0, 0, 1, 1);
    addNode(m, 8, 0, 0, 1);
    addNode(m, 4, 3);
    addNode(m, 4, -2.5f);
    addNode(m, -1.5f, 1, 1, 0);
    m.nodes.Fx[3] = 16;
    m.nodes.Fy[3] = -30;
    m.nodes.Kx[4] = 0.1f;
    m.nodes.Ky[5] = 250;
    addElement(m, 1, 3, 1);
    addElement(m, 2, 3, 2);
    addElement(m, 1, 2, 1);

    AnalysisResults& r = m.results;
    r.D[3] = 0.003;
    r.D[5] = 0.003;
    r.D[6] = -0.004;
    r.D[7] = 10;
    r.D[10] = -0.02;
    r.FL[1] = {0, 15, -15};
    r.FL[2] = {0, 35, -35};
    r.FL[3] = {0, -28, 28};
    r.R[1] = {0, -16, 9};
    r.R[2] = {0, 5, 21};  // the 5 lies in a free direction and must not be shown
    r.R[5] = {0, -3.25, 7};
    return m;
}

}  // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void modelData() {
        compareLines(
            ReportSection(analysedModel(), 1),
            {
                "Data",
                "",
                "General data",
                "",
                "E,A Element Groups:         2",
                "Nodes:                      5",
                "Elements:                   3",
                "Constrained nodes:          3",
                "Nodes with loads on:        1",
                "Nodes with springs on:      2",
                "DOFs per node:              2",
                "Degrees Of Freedom:         10",
                "",
                "E,A Element Groups",
                "",
                "Group    Youngs Modulus E         Section area A           ",
                dashes(85),
                pad("1", 8) + pad(" 200", 25) + pad(" 0.5", 25),
                pad("2", 8) + pad(" 1000", 25) + pad(" 2", 25),
                "",
                "Nodes",
                "",
                "Node           x              y              Constraints    Kx             Ky"
                "             ",
                dashes(88),
                pad("1", 15) + pad(" 0", 15) + pad(" 0", 15) + pad("xx", 15) + blanks(30),
                pad("2", 15) + pad(" 8", 15) + pad(" 0", 15) + pad("ox", 15) + blanks(30),
                pad("3", 15) + pad(" 4", 15) + pad(" 3", 15) + blanks(45),
                pad("4", 15) + pad(" 4", 15) + pad("-2.5", 15) + blanks(15) + pad("0.1", 15) +
                    blanks(15),
                pad("5", 15) + pad("-1.5", 15) + pad(" 1", 15) + pad("xo", 15) + blanks(15) +
                    pad("250", 15),
                "",
                "Elements",
                "",
                "Element  Node i      Node j       Group   ",
                dashes(64),
                "1        1           3            1       ",
                "2        2           3            2       ",
                "3        1           2            1       ",
                "",
                "Nodal loads",
                "",
                "Node     Force Fx                 Force Fy                 ",
                dashes(65),
                pad("3", 8) + pad(" 16", 25) + pad("-30", 25),
                "",
                "",
            });
    }

    // Number forms in the node and load tables; a load table lists only loaded nodes, and a
    // spring that is not positive leaves its field empty.
    void fieldsAndFiltering() {
        Model m;
        addNode(m, 2.5f, -0.125f);
        addNode(m, 0, 0);
        addNode(m, 0, 0);
        m.nodes.Kx[1] = 1500;
        m.nodes.Ky[1] = 2.5e-3f;
        m.nodes.Kx[2] = -5;
        m.nodes.Ky[2] = 12345678;
        m.setLoad(1, {10, 0});
        m.setLoad(3, {-1e-5f, 0.125f});
        const std::string section = ReportSection(m, 1);
        const auto q = [](const std::string& row) { return QString::fromStdString(row); };
        QCOMPARE(tableRows(section, "Nodes"),
                 (QStringList{q(pad("1", 15) + pad(" 2.5", 15) + pad("-0.125", 15) + blanks(15) +
                                pad("1500", 15) + pad("0.0025", 15)),
                              q(pad("2", 15) + pad(" 0", 15) + pad(" 0", 15) + blanks(30) +
                                pad("1.234568E+07", 15)),
                              q(pad("3", 15) + pad(" 0", 15) + pad(" 0", 15) + blanks(45))}));
        QCOMPARE(tableRows(section, "Nodal loads"),
                 (QStringList{q(pad("1", 8) + pad(" 10", 25) + blanks(25)),
                              q(pad("3", 8) + pad("-1E-05", 25) + pad(" 0.125", 25))}));
        QVERIFY(linesOf(section).contains("Nodes with loads on:        2"));
        QVERIFY(linesOf(section).contains("Nodes with springs on:      2"));
    }

    void resultSections() {
        const Model m = analysedModel();
        compareLines(
            ReportSection(m, 2),
            {
                "Node displacements",
                "",
                "Node   x-Displacement           y-Displacement           Total Displacement",
                dashes(79),
                pad("1", 8) + pad(" 0", 25) + pad(" 0", 25) + pad("0", 25),
                pad("2", 8) + pad(" 0.003", 25) + pad(" 0", 25) + pad("0.003", 25),
                pad("3", 8) + pad(" 0.003", 25) + pad("-0.004", 25) + pad("0.005", 25),
                pad("4", 8) + pad(" 10", 25) + pad(" 0", 25) + pad("10", 25),
                pad("5", 8) + pad(" 0", 25) + pad("-0.02", 25) + pad("0.02", 25),
                "",
                "",
            });
        compareLines(ReportSection(m, 3),
                     {
                         "Element forces",
                         "",
                         "Element Axial force              Axial stress             Axial strain   "
                         "          ",
                         dashes(79),
                         pad("1", 8) + pad("-15", 25) + pad("-30", 25) + pad("-0.15", 25),
                         pad("2", 8) + pad("-35", 25) + pad("-17.5", 25) + pad("-0.0175", 25),
                         pad("3", 8) + pad(" 28", 25) + pad(" 56", 25) + pad(" 0.28", 25),
                         "",
                     });
        // Node 3 (free) is left out; node 4 has only a spring, whose force 0.1 * 10 is formed
        // in double precision from the single-precision constant; node 5 mixes a reaction in
        // x with a spring force in y.
        compareLines(ReportSection(m, 4),
                     {
                         "Constraint-Spring reactions",
                         "",
                         "Node     Force Fx" + blanks(16) + "Force Fy" + blanks(16),
                         dashes(50),
                         pad("1", 8) + pad("-16", 25) + pad(" 9", 25),
                         pad("2", 8) + blanks(25) + pad(" 21", 25),
                         pad("4", 8) + pad(" 1.00000001490116", 25) + blanks(25),
                         pad("5", 8) + pad("-3.25", 25) + pad("-5", 25),
                     });
    }

    // Sections by their digits, each once and in ascending order; anything else is ignored.
    void assembly() {
        const Model m = analysedModel();
        QCOMPARE(assembleReport(m, "x3311a5 0"), ReportSection(m, 1) + ReportSection(m, 3));
        QCOMPARE(assembleReport(m, "4321"), assembleReport(m, "1234"));
        QCOMPARE(assembleReport(m, ""), std::string());
        for (int k : {-1, 0, 5}) QCOMPARE(ReportSection(m, k), std::string());
    }

    // The proposed name, and the name written for the chosen one (a null choice cancels).
    void saveNames_data() {
        QTest::addColumn<QString>("modelFile");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");  // empty: nothing written
        const auto add = [](const char* name, const char* modelFile, const char* proposed,
                            QString chosen, const char* written) {
            QTest::newRow(name) << QString(modelFile) << QString(proposed) << chosen
                                << QString(written);
        };
        add("untitled, cancelled", "", "Untitled.txt", QString(), "");
        add("empty name is a cancel", "frame.VOK", "frame.txt", "", "");
        add("path kept, .txt added", "/home/ana/roof.vok", "/home/ana/roof.txt", "report",
            "report.txt");
        add("bare extension, .txt kept", ".vok", ".txt", "report.txt", "report.txt");
        add("too short to replace, .TXT is not .txt", "ab", "ab.txt", "report.TXT",
            "report.TXT.txt");
        add("inner .txt is no extension", "roof.vok", "roof.txt", "a.txt.bak", "a.txt.bak.txt");
        add("short chosen name", "roof.vok", "roof.txt", "r", "r.txt");
    }
    void saveNames() {
        QFETCH(QString, modelFile);
        QFETCH(QString, proposed);
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        // Inside the folder, so that a file written under a relative name would show.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // A longer file already there must be replaced, not overwritten in place.
        const std::string path = dir.filePath(written).toStdString();
        if (!written.isEmpty()) QVERIFY(!writeFileAtomically(path, std::string(5000, 'x')));
        const std::string report = ReportSection(analysedModel(), 2);
        ScriptedPrompter prompter;
        prompter.queueFileName(chosen.isNull() ? std::nullopt
                               : chosen.isEmpty()
                                   ? std::optional<std::string>("")
                                   : std::optional(dir.filePath(chosen).toStdString()));
        MessageLog log;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const bool saved = SaveReportText(report, modelFile.toStdString(), prompter, log);
        QDir::setCurrent(previous);

        QCOMPARE(saved, !written.isEmpty());
        QCOMPARE(prompter.questions().size(), std::size_t(1));
        const ScriptedPrompter::Question& asked = prompter.questions()[0];
        QCOMPARE(asked.request.proposedName, proposed.toStdString());
        QVERIFY(asked.request.confirmOverwrite);
        QVERIFY(log.runs().empty());
        QCOMPARE(entries(dir.path()), written.isEmpty() ? QStringList() : QStringList{written});
        if (written.isEmpty()) return;
        std::string content;
        QVERIFY(!readWholeFile(path, content));
        QCOMPARE(content, report + "\r\n");  // one more line end after the last line
    }

    void failedSave_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing folder") << "missing/report"
                                        << "No such file or directory";
        QTest::newRow("folder in the way") << "sub/taken.txt"
                                           << "Is a directory";
    }
    void failedSave() {
        QFETCH(QString, chosen);
        QFETCH(QString, error);
        // sub/ holds a report from an earlier save, and a folder where the second row wants
        // to write.
        QTemporaryDir dir;
        QVERIFY(dir.isValid() && QDir(dir.path()).mkpath("sub/taken.txt"));
        const std::string kept = dir.filePath("sub/kept.txt").toStdString();
        const std::string old = "earlier report\r\n";
        QVERIFY(!writeFileAtomically(kept, old));

        ScriptedPrompter prompter;
        prompter.queueFileName(dir.filePath(chosen).toStdString());
        MessageLog log;
        log.LogMessage("Analysis finished");
        QVERIFY(!SaveReportText("new report", "", prompter, log));
        const std::string text = "There was an error saving the file: " + error.toStdString();
        QCOMPARE(prompter.questions().size(), std::size_t(2));
        const ScriptedPrompter::Question& box = prompter.questions()[1];
        QVERIFY(box.kind == ScriptedPrompter::Kind::Message && box.icon == MessageIcon::Critical);
        QCOMPARE(box.text, text);
        QCOMPARE(log.lastLine(), " " + text);
        QVERIFY(log.runs().back().colour == LogColour::Red && log.runs().back().bold);
        std::string content;
        QVERIFY(!readWholeFile(kept, content));
        QCOMPARE(content, old);
        QCOMPARE(entries(dir.filePath("sub")), (QStringList{"kept.txt", "taken.txt"}));
    }
};

QTEST_APPLESS_MAIN(TestReport)
#include "test_report.moc"
