#include <QtTest>

#include "base/file_io.h"
#include "log/message_log.h"
#include "report/report.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

namespace {

// A table row: the first field `first` characters wide, the others `width`.
QString row(const QStringList& fields, qsizetype first = 8, qsizetype width = 25) {
    QString out;
    for (const QString& f : fields) out += f.leftJustified(out.isEmpty() ? first : width);
    return out;
}

// The lines of a text that must end with CR LF, without their line ends.
QStringList linesOf(const std::string& text) {
    if (!text.ends_with("\r\n")) return {"<text does not end with CR LF>"};
    QStringList lines = QString::fromStdString(text).split("\r\n");
    lines.removeLast();
    return lines;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Five nodes (pinned, roller that a hand-edited file also gave a spring in its fixed
// direction, loaded and free with a negative spring, spring in x only and a tiny load, fixed
// in x with a spring in y), three elements in two groups and hand-made results.
Model analysedModel() {
    Model m;
    addGroup(m, 200, 0.5);
    addGroup(m, 1000, 2);
    m.nodeCount = 5;
    m.setNode(1, {.cx = 1, .cy = 1});
    m.setNode(2, {.x = 8, .cy = 1, .Ky = 40});
    m.setNode(3, {.x = 4, .y = 3, .Fx = 16, .Fy = -30, .Kx = -5});  // a negative K is no spring
    m.setNode(4, {.x = 4, .y = -2.5f, .Fx = -1e-5f, .Kx = 0.1f});
    m.setNode(5, {.x = -1.5f, .y = 1, .cx = 1, .Ky = 250});
    addElement(m, 1, 3, 1);
    addElement(m, 2, 3, 2);
    addElement(m, 1, 2, 1);

    AnalysisResults& r = m.results;
    r.D[3] = r.D[5] = 0.003;
    r.D[6] = -0.004;
    r.D[7] = 10;
    r.D[10] = -0.02;
    r.FL[1] = {0, 15, -15};
    r.FL[2] = {0, 35, -35};
    r.FL[3] = {0, -28, 28};
    r.R[1] = {0, -16, 9};
    r.R[2] = {0, 5, 21};  // the 5 lies in a free direction and must not be shown
    r.R[5] = {0, -3.25, 7};
    markAnalysed(m);
    return m;
}

}  // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void modelData() {
        QCOMPARE(linesOf(ReportSection(analysedModel(), 1)),
                 (QStringList{
                     "Data",
                     "",
                     "General data",
                     "",
                     "E,A Element Groups:         2",
                     "Nodes:                      5",
                     "Elements:                   3",
                     "Constrained nodes:          3",
                     "Nodes with loads on:        2",
                     "Nodes with springs on:      3",
                     "DOFs per node:              2",
                     "Degrees Of Freedom:         10",
                     "",
                     "E,A Element Groups",
                     "",
                     "Group    Youngs Modulus E         Section area A           ",
                     QString(85, '-'),
                     row({"1", " 200", " 0.5"}),
                     row({"2", " 1000", " 2"}),
                     "",
                     "Nodes",
                     "",
                     row({"Node", "x", "y", "Constraints", "Kx", "Ky"}, 15, 15),
                     QString(88, '-'),
                     row({"1", " 0", " 0", "xx", "", ""}, 15, 15),
                     row({"2", " 8", " 0", "ox", "", "40"}, 15, 15),
                     row({"3", " 4", " 3", "", "", ""}, 15, 15),
                     row({"4", " 4", "-2.5", "", "0.1", ""}, 15, 15),
                     row({"5", "-1.5", " 1", "xo", "", "250"}, 15, 15),
                     "",
                     "Elements",
                     "",
                     "Element  Node i      Node j       Group   ",
                     QString(64, '-'),
                     "1        1           3            1       ",
                     "2        2           3            2       ",
                     "3        1           2            1       ",
                     "",
                     "Nodal loads",
                     "",
                     "Node     Force Fx                 Force Fy                 ",
                     QString(65, '-'),
                     row({"3", " 16", "-30"}),
                     row({"4", "-1E-05", ""}),
                     "",
                     "",
                 }));
    }

    void resultSections() {
        const Model m = analysedModel();
        QCOMPARE(linesOf(ReportSection(m, 2)),
                 (QStringList{
                     "Node displacements",
                     "",
                     "Node   x-Displacement           y-Displacement           Total Displacement",
                     QString(79, '-'),
                     row({"1", " 0", " 0", "0"}),
                     row({"2", " 0.003", " 0", "0.003"}),
                     row({"3", " 0.003", "-0.004", "0.005"}),
                     row({"4", " 10", " 0", "10"}),
                     row({"5", " 0", "-0.02", "0.02"}),
                     "",
                     "",
                 }));
        QCOMPARE(linesOf(ReportSection(m, 3)),
                 (QStringList{
                     "Element forces",
                     "",
                     row({"Element", "Axial force", "Axial stress", "Axial strain"}),
                     QString(79, '-'),
                     row({"1", "-15", "-30", "-0.15"}),
                     row({"2", "-35", "-17.5", "-0.0175"}),
                     row({"3", " 28", " 56", " 0.28"}),
                     "",
                 }));
        // Node 3 (free) is left out; node 2's fixed direction shows its reaction, not the
        // spring that never moves; node 4 has only a spring, whose force on the node -0.1 * 10
        // is formed in double precision from the single-precision constant; node 5 mixes a
        // reaction in x with a spring force in y (250 * 0.02 pushing up).
        QCOMPARE(linesOf(ReportSection(m, 4)), (QStringList{
                                                   "Constraint-Spring reactions",
                                                   "",
                                                   row({"Node", "Force Fx", "Force Fy"}, 9, 24),
                                                   QString(50, '-'),
                                                   row({"1", "-16", " 9"}),
                                                   row({"2", "", " 21"}),
                                                   row({"4", "-1.00000001490116", ""}),
                                                   row({"5", "-3.25", " 5"}),
                                               }));
        // Results of another state of the model are never printed as this one's.
        Model edited = m;
        edited.nodes.x[2] = 9;
        const QStringList notice{kNotAnalysedText};
        QCOMPARE(linesOf(ReportSection(edited, 2)),
                 (QStringList{"Node displacements", ""} + notice + QStringList{"", ""}));
        QCOMPARE(linesOf(ReportSection(edited, 3)),
                 (QStringList{"Element forces", ""} + notice + QStringList{""}));
        QCOMPARE(linesOf(ReportSection(edited, 4)),
                 (QStringList{"Constraint-Spring reactions", ""} + notice));
    }

    // Sections by their digits, each once and in ascending order; anything else is ignored.
    void assembly() {
        const Model m = analysedModel();
        QCOMPARE(assembleReport(m, "x3311a5 0"), ReportSection(m, 1) + ReportSection(m, 3));
        QCOMPARE(assembleReport(m, "4321"), assembleReport(m, "1234"));
        for (int k : {-1, 0, 5}) QCOMPARE(ReportSection(m, k), std::string());
    }

    // The proposed name, and the name written for the chosen one (a null choice cancels).
    void saveNames_data() {
        QTest::addColumn<QString>("modelFile");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");  // empty: nothing written
        const auto add = [](const char* name, QString modelFile, QString proposed, QString chosen,
                            QString written) {
            QTest::newRow(name) << modelFile << proposed << chosen << written;
        };
        add("untitled, cancelled", "", "Untitled.txt", QString(), "");
        add("empty name is a cancel", "frame.VOK", "frame.txt", "", "");
        add("path kept, .txt added", "/a/roof.vok", "/a/roof.txt", "report", "report.txt");
        add("bare extension, .txt kept", ".vok", ".txt", "report.txt", "report.txt");
        add("too short to cut, .TXT is not .txt", "ab", "ab.txt", "report.TXT", "report.TXT.txt");
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
        // A longer file already there must be replaced, not overwritten in place.
        const std::string path = dir.filePath(written).toStdString();
        if (!written.isEmpty()) QVERIFY(!writeFileAtomically(path, std::string(5000, 'x')));
        const std::string report = ReportSection(analysedModel(), 2);
        ScriptedPrompter prompter;
        prompter.queueFileName(
            chosen.isNull() ? std::nullopt
                            : std::optional(chosen.isEmpty() ? std::string()
                                                             : dir.filePath(chosen).toStdString()));
        MessageLog log;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const bool saved = SaveReportText(report, modelFile.toStdString(), prompter, log);
        QDir::setCurrent(previous);

        QCOMPARE(saved, !written.isEmpty());
        QCOMPARE(prompter.questions().size(), std::size_t(1));
        QCOMPARE(prompter.questions()[0].request.proposedName, proposed.toStdString());
        QVERIFY(log.runs().empty());
        QCOMPARE(entries(dir.path()), written.isEmpty() ? QStringList() : QStringList{written});
        if (written.isEmpty()) return;
        std::string content;
        QVERIFY(!readWholeFile(path, content));
        QCOMPARE(content, report + "\r\n");  // one more line end after the last line
    }

    // The error is shown and logged, and nothing is left behind.
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
        QTemporaryDir dir;
        QVERIFY(dir.isValid() && QDir(dir.path()).mkpath("sub/taken.txt"));
        ScriptedPrompter prompter;
        prompter.queueFileName(dir.filePath(chosen).toStdString());
        MessageLog log;
        QVERIFY(!SaveReportText("new report", "", prompter, log));
        const std::string text = "There was an error saving the file: " + error.toStdString();
        QCOMPARE(prompter.questions().back().text, text);
        QCOMPARE(log.lastLine(), " " + text);
        QCOMPARE(entries(dir.filePath("sub")), QStringList{"taken.txt"});
    }
};

QTEST_APPLESS_MAIN(TestReport)
#include "test_report.moc"
