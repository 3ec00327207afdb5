#include "base/file_io.h"
#include "log/message_log.h"
#include "report/report.h"
#include "test_support.h"

using namespace vortak::test;

namespace {

// A table row: the first field `first` characters wide, the others `width`.
QString row(const QStringList& fields, qsizetype first = 8, qsizetype width = 25) {
    QString out;
    for (const QString& f : fields) out += f.leftJustified(out.isEmpty() ? first : width);
    return out;
}

// A table: its title, an empty line, the header, a line of dashes and the rows.
QStringList table(const QString& title, const QString& header, int dashes,
                  const QStringList& rows) {
    return QStringList{title, "", header, QString(dashes, '-')} + rows;
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
        const QStringList general{"Data",
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
                                  ""};
        const auto nodes = [](const QStringList& fields) { return row(fields, 15, 15); };
        QCOMPARE(
            linesOf(ReportSection(analysedModel(), 1)),
            general +
                table("E,A Element Groups",
                      "Group    Youngs Modulus E         Section area A           ", 85,
                      {row({"1", " 200", " 0.5"}), row({"2", " 1000", " 2"}), ""}) +
                table(
                    "Nodes", nodes({"Node", "x", "y", "Constraints", "Kx", "Ky"}), 88,
                    {nodes({"1", " 0", " 0", "xx", "", ""}),
                     nodes({"2", " 8", " 0", "ox", "", "40"}), nodes({"3", " 4", " 3", "", "", ""}),
                     nodes({"4", " 4", "-2.5", "", "0.1", ""}),
                     nodes({"5", "-1.5", " 1", "xo", "", "250"}), ""}) +
                table("Elements", "Element  Node i      Node j       Group   ", 64,
                      {"1        1           3            1       ",
                       "2        2           3            2       ",
                       "3        1           2            1       ", ""}) +
                table("Nodal loads", "Node     Force Fx                 Force Fy                 ",
                      65, {row({"3", " 16", "-30"}), row({"4", "-1E-05", ""}), "", ""}));
    }

    void resultSections() {
        const Model m = analysedModel();
        QCOMPARE(linesOf(ReportSection(m, 2)),
                 (QStringList{
                     "Node displacements", "",
                     "Node   x-Displacement           y-Displacement           Total Displacement",
                     QString(79, '-'), row({"1", " 0", " 0", "0"}),
                     row({"2", " 0.003", " 0", "0.003"}), row({"3", " 0.003", "-0.004", "0.005"}),
                     row({"4", " 10", " 0", "10"}), row({"5", " 0", "-0.02", "0.02"}), "", ""}));
        QCOMPARE(linesOf(ReportSection(m, 3)),
                 (QStringList{"Element forces", "",
                              row({"Element", "Axial force", "Axial stress", "Axial strain"}),
                              QString(79, '-'), row({"1", "-15", "-30", "-0.15"}),
                              row({"2", "-35", "-17.5", "-0.0175"}),
                              row({"3", " 28", " 56", " 0.28"}), ""}));
        // Node 3 (free) is left out; node 2's fixed direction shows its reaction, not the
        // spring that never moves; node 4 has only a spring, whose force on the node -0.1 * 10
        // is formed in double precision from the single-precision constant; node 5 mixes a
        // reaction in x with a spring force in y (250 * 0.02 pushing up).
        QCOMPARE(linesOf(ReportSection(m, 4)),
                 (QStringList{"Constraint-Spring reactions", "",
                              row({"Node", "Force Fx", "Force Fy"}, 9, 24), QString(50, '-'),
                              row({"1", "-16", " 9"}), row({"2", "", " 21"}),
                              row({"4", "-1.00000001490116", ""}), row({"5", "-3.25", " 5"})}));
        // Results of another state of the model are never printed as this one's.
        Model edited = m;
        edited.nodes.x[2] = 9;
        const char* titles[] = {"Node displacements", "Element forces",
                                "Constraint-Spring reactions"};
        for (int k = 0; k < 3; ++k)
            QCOMPARE(linesOf(ReportSection(edited, k + 2)),
                     (QStringList{titles[k], "", kNotAnalysedText} + QStringList(2 - k, "")));
    }

    // Sections by their digits, each once and in ascending order; anything else is ignored.
    void assembly() {
        const Model m = analysedModel();
        QCOMPARE(assembleReport(m, "x3311a5 0"), ReportSection(m, 1) + ReportSection(m, 3));
        QCOMPARE(assembleReport(m, "4321"), assembleReport(m, "1234"));
        for (int k : {-1, 0, 5}) QCOMPARE(ReportSection(m, k), std::string());
    }

    // The proposed name, and the name written for the chosen one (a null choice cancels); a
    // failure is shown and logged, and leaves nothing behind.
    void saveNames_data() {
        // written: empty: nothing written
        columns<QString, QString, QString, QString, QString>("modelFile", "proposed", "chosen",
                                                             "written", "error");
        const auto add = [](const char* name, QString modelFile, QString proposed, QString chosen,
                            QString written, QString error = "") {
            QTest::newRow(name) << modelFile << proposed << chosen << written << error;
        };
        add("untitled, cancelled", "", "Untitled.txt", QString(), "");
        add("empty name is a cancel", "frame.VOK", "frame.txt", "", "");
        add("path kept, .txt added", "/a/roof.vok", "/a/roof.txt", "report", "report.txt");
        add("bare extension, .txt kept", ".vok", ".txt", "report.txt", "report.txt");
        add("too short to cut, .TXT is not .txt", "ab", "ab.txt", "report.TXT", "report.TXT.txt");
        add("inner .txt is no extension", "roof.vok", "roof.txt", "a.txt.bak", "a.txt.bak.txt");
        add("short chosen name", "roof.vok", "roof.txt", "r", "r.txt");
        add("missing folder", "", "Untitled.txt", "missing/report", "",
            "No such file or directory");
        add("folder in the way", "", "Untitled.txt", "sub/taken.txt", "", "Is a directory");
    }
    void saveNames() {
        const auto [modelFile, proposed, chosen, written, error] =
            fetch<QString, QString, QString, QString, QString>("modelFile", "proposed", "chosen",
                                                               "written", "error");
        // Inside the folder, so that a file written under a relative name would show.
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("sub/taken.txt"));
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
        QCOMPARE(prompter.questions()[0].request.proposedName, proposed.toStdString());
        const std::string failure = "There was an error saving the file: " + error.toStdString();
        QCOMPARE(prompter.questions().back().text, error.isEmpty() ? "" : failure);
        QCOMPARE(log.lastLine(), error.isEmpty() ? "" : " " + failure);
        QCOMPARE(entries(dir.path()),
                 (written.isEmpty() ? QStringList() : QStringList{written}) + QStringList{"sub"});
        QCOMPARE(entries(dir.filePath("sub")), QStringList{"taken.txt"});
        // One more line end after the last line.
        if (!written.isEmpty())
            QCOMPARE(contents(dir.filePath(written)).toStdString(), report + "\r\n");
    }
};

QTEST_APPLESS_MAIN(TestReport)
#include "test_report.moc"
