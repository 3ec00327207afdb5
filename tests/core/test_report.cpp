#include <QtTest>

#include <unistd.h>

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
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) {
        return {"<text does not end with CR LF>"};
    }
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
    while (k < lines.size() && !lines[k].isEmpty()) {
        rows << lines[k++];
    }
    return rows;
}

class CurrentFolder {
public:
    explicit CurrentFolder(const QString& path) : previous_(QDir::currentPath()) {
        QDir::setCurrent(path);
    }
    ~CurrentFolder() { QDir::setCurrent(previous_); }

private:
    QString previous_;
};

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
    void emptyModelData();
    void modelData();
    void nodeRows_data();
    void nodeRows();
    void loadRows_data();
    void loadRows();
    void displacements();
    void elementForces();
    void supportReactions();
    void assembly_data();
    void assembly();
    void proposedNameAndCancel_data();
    void proposedNameAndCancel();
    void savedFileName_data();
    void savedFileName();
    void failedSave_data();
    void failedSave();
};

void TestReport::emptyModelData() {
    const std::string expected =
        "Data\r\n\r\nGeneral data\r\n\r\n"
        "E,A Element Groups:         0\r\n"
        "Nodes:                      0\r\n"
        "Elements:                   0\r\n"
        "Constrained nodes:          0\r\n"
        "Nodes with loads on:        0\r\n"
        "Nodes with springs on:      0\r\n"
        "DOFs per node:              2\r\n"
        "Degrees Of Freedom:         0\r\n"
        "\r\n"
        "E,A Element Groups\r\n\r\n"
        "Group    Youngs Modulus E         Section area A           \r\n" +
        dashes(85) +
        "\r\n\r\n"
        "Nodes\r\n\r\n"
        "Node           x              y              Constraints    Kx             Ky"
        "             \r\n" +
        dashes(88) +
        "\r\n\r\n"
        "Elements\r\n\r\n"
        "Element  Node i      Node j       Group   \r\n" +
        dashes(64) +
        "\r\n\r\n"
        "Nodal loads\r\n\r\n"
        "Node     Force Fx                 Force Fy                 \r\n" +
        dashes(65) + "\r\n\r\n\r\n";
    QCOMPARE(ReportSection(Model{}, 1), expected);
}

void TestReport::modelData() {
    const std::vector<std::string> expected{
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
        pad("4", 15) + pad(" 4", 15) + pad("-2.5", 15) + blanks(15) + pad("0.1", 15) + blanks(15),
        pad("5", 15) + pad("-1.5", 15) + pad(" 1", 15) + pad("xo", 15) + blanks(15) +
            pad("250", 15),
        "",
        "Elements",
        "",
        "Element  Node i      Node j       Group   ",
        dashes(64),
        "1        1           3            1       ",
        "2        2           3            2       ",
        // Element 3 from node 1 to node 2 in group 1: a row of 42 characters.
        "3        1           2            1       ",
        "",
        "Nodal loads",
        "",
        "Node     Force Fx                 Force Fy                 ",
        dashes(65),
        pad("3", 8) + pad(" 16", 25) + pad("-30", 25),
        "",
        "",
    };
    const std::string section = ReportSection(analysedModel(), 1);
    compareLines(section, expected);
    QCOMPARE(tableRows(section, "Elements").at(2).size(), qsizetype(42));
}

void TestReport::nodeRows_data() {
    QTest::addColumn<float>("cx");
    QTest::addColumn<float>("cy");
    QTest::addColumn<float>("Kx");
    QTest::addColumn<float>("Ky");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("springs");
    QTest::addColumn<int>("constrained");

    const QString none = QString(30, ' ');
    QTest::newRow("x fixed") << 1.f << 0.f << 0.f << 0.f << "xo" << none << 1;
    QTest::newRow("y fixed") << 0.f << 1.f << 0.f << 0.f << "ox" << none << 1;
    QTest::newRow("both fixed") << 1.f << 1.f << 0.f << 0.f << "xx" << none << 1;
    QTest::newRow("free") << 0.f << 0.f << 0.f << 0.f << "" << none << 0;
    QTest::newRow("springs") << 0.f << 0.f << 1500.f << 2.5e-3f << ""
                             << QString("1500").leftJustified(15) +
                                    QString("0.0025").leftJustified(15)
                             << 0;
    // A negative spring constant is no spring: its field stays empty.
    QTest::newRow("negative spring")
        << 0.f << 0.f << -5.f << 12345678.f << "" << QString(15, ' ') + "1.234568E+07   " << 0;
}

void TestReport::nodeRows() {
    QFETCH(float, cx);
    QFETCH(float, cy);
    QFETCH(float, Kx);
    QFETCH(float, Ky);
    QFETCH(QString, code);
    QFETCH(QString, springs);
    QFETCH(int, constrained);

    Model m;
    addNode(m, 2.5f, -0.125f, cx, cy);
    m.nodes.Kx[1] = Kx;
    m.nodes.Ky[1] = Ky;
    const std::string section = ReportSection(m, 1);
    const QStringList rows = tableRows(section, "Nodes");
    QCOMPARE(rows.size(), qsizetype(1));
    QCOMPARE(rows[0], QString::fromStdString(pad("1", 15) + pad(" 2.5", 15) + pad("-0.125", 15)) +
                          code.leftJustified(15) + springs);
    QVERIFY(
        linesOf(section).contains("Constrained nodes:          " + QString::number(constrained)));
}

void TestReport::loadRows_data() {
    QTest::addColumn<float>("Fx");
    QTest::addColumn<float>("Fy");
    QTest::addColumn<QString>("row");  // empty: the node is not listed

    QTest::newRow("Fx only") << 10.f << 0.f
                             << QString("2       ") + " 10" + QString(22, ' ') + QString(25, ' ');
    QTest::newRow("Fy only") << 0.f << -2.5f
                             << QString("2       ") + QString(25, ' ') + "-2.5" + QString(21, ' ');
    QTest::newRow("both") << -1e-5f << 0.125f
                          << QString("2       ") + "-1E-05" + QString(19, ' ') + " 0.125" +
                                 QString(19, ' ');
    QTest::newRow("none") << 0.f << 0.f << QString();
}

void TestReport::loadRows() {
    QFETCH(float, Fx);
    QFETCH(float, Fy);
    QFETCH(QString, row);

    // Node 1 is unloaded and node 3 always loaded, so the order and filtering both show.
    Model m;
    addNode(m, 0, 0);
    addNode(m, 1, 0);
    addNode(m, 2, 0);
    m.setLoad(2, {Fx, Fy});
    m.setLoad(3, {0, 7});
    QStringList expected;
    if (!row.isEmpty()) {
        expected << row;
    }
    expected << "3       " + QString(25, ' ') + " 7" + QString(23, ' ');

    const std::string section = ReportSection(m, 1);
    QCOMPARE(tableRows(section, "Nodal loads"), expected);
    QVERIFY(linesOf(section).contains("Nodes with loads on:        " +
                                      QString::number(expected.size())));
}

void TestReport::displacements() {
    compareLines(ReportSection(analysedModel(), 2),
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
}

void TestReport::elementForces() {
    compareLines(
        ReportSection(analysedModel(), 3),
        {
            "Element forces",
            "",
            "Element Axial force              Axial stress             Axial strain             ",
            dashes(79),
            pad("1", 8) + pad("-15", 25) + pad("-30", 25) + pad("-0.15", 25),
            pad("2", 8) + pad("-35", 25) + pad("-17.5", 25) + pad("-0.0175", 25),
            pad("3", 8) + pad(" 28", 25) + pad(" 56", 25) + pad(" 0.28", 25),
            "",
        });
}

void TestReport::supportReactions() {
    // Node 3 (free) is left out; node 4 has only a spring, whose force 0.1 * 10 is formed
    // in double precision from the single-precision constant; node 5 mixes a reaction in x
    // with a spring force in y.
    const std::string section = ReportSection(analysedModel(), 4);
    compareLines(section, {
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

void TestReport::assembly_data() {
    QTest::addColumn<QString>("sections");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("all") << "1234" << QList<int>{1, 2, 3, 4};
    QTest::newRow("reversed") << "4321" << QList<int>{1, 2, 3, 4};
    QTest::newRow("unordered") << "31" << QList<int>{1, 3};
    QTest::newRow("duplicates") << "3311" << QList<int>{1, 3};
    QTest::newRow("noise") << "x50a2 " << QList<int>{2};
    QTest::newRow("none") << "" << QList<int>{};
}

void TestReport::assembly() {
    QFETCH(QString, sections);
    QFETCH(QList<int>, expected);

    const Model m = analysedModel();
    std::string report;
    for (int k : expected) {
        report += ReportSection(m, k);
    }
    QCOMPARE(assembleReport(m, sections.toStdString()), report);
    for (int k : {-1, 0, 5}) {
        QCOMPARE(ReportSection(m, k), std::string());
    }
}

void TestReport::proposedNameAndCancel_data() {
    QTest::addColumn<QString>("modelFile");
    QTest::addColumn<QString>("proposed");

    const std::pair<const char*, const char*> names[] = {
        {"", "Untitled.txt"},       {"/home/ana/bridges/roof.vok", "/home/ana/bridges/roof.txt"},
        {"frame.VOK", "frame.txt"}, {".vok", ".txt"},
        {"ab", "ab.txt"},  // too short to carry an extension
    };
    for (const auto& [modelFile, proposed] : names) {
        QTest::newRow(proposed) << QString(modelFile) << QString(proposed);
    }
}

void TestReport::proposedNameAndCancel() {
    QFETCH(QString, modelFile);
    QFETCH(QString, proposed);

    // Run in an empty folder so that a file written under the proposed (relative) name
    // would show.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const CurrentFolder inside(dir.path());
    ScriptedPrompter prompter;
    prompter.queueFileName(std::nullopt);
    MessageLog log;

    QVERIFY(!SaveReportText("Data\r\n", modelFile.toStdString(), prompter, log));

    QCOMPARE(prompter.questions().size(), std::size_t(1));
    const ScriptedPrompter::Question& asked = prompter.questions()[0];
    QCOMPARE(asked.kind, ScriptedPrompter::Kind::SaveFile);
    QCOMPARE(asked.request.proposedName, proposed.toStdString());
    QCOMPARE(asked.request.filter, std::string("Text files (*.txt)|*.txt|All files (*.*)|*.*"));
    QVERIFY(asked.request.confirmOverwrite);
    QCOMPARE(asked.request.initialDirectory, std::string());
    QVERIFY(log.runs().empty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

void TestReport::savedFileName_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");

    const std::pair<const char*, const char*> names[] = {
        {"report", "report.txt"},         {"report.txt", "report.txt"},
        {"report.TXT", "report.TXT.txt"}, {"report.doc", "report.doc.txt"},
        {"a.txt.bak", "a.txt.bak.txt"},   {"r", "r.txt"},
    };
    for (const auto& [chosen, written] : names) {
        QTest::newRow(chosen) << QString(chosen) << QString(written);
    }
}

void TestReport::savedFileName() {
    QFETCH(QString, chosen);
    QFETCH(QString, written);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A longer file already there must be replaced, not overwritten in place.
    const std::string path = dir.filePath(written).toStdString();
    QVERIFY(!writeFileAtomically(path, std::string(5000, 'x')));
    const std::string report = ReportSection(analysedModel(), 2);
    ScriptedPrompter prompter;
    prompter.queueFileName(dir.filePath(chosen).toStdString());
    MessageLog log;

    QVERIFY(SaveReportText(report, "roof.vok", prompter, log));

    QCOMPARE(prompter.questions().size(), std::size_t(1));
    QVERIFY(log.runs().empty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{written});
    std::string content;
    QVERIFY(!readWholeFile(path, content));
    // The last line of the report is followed by exactly one more line end.
    QCOMPARE(content, report + "\r\n");
    QVERIFY(content.ends_with("\r\n\r\n\r\n"));
}

void TestReport::failedSave_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("readOnlyFolder");

    QTest::newRow("missing folder") << "missing/report"
                                    << "No such file or directory" << false;
    QTest::newRow("folder in the way") << "sub/taken.txt"
                                       << "Is a directory" << false;
    QTest::newRow("read-only folder") << "sub/kept"
                                      << "Permission denied" << true;
}

void TestReport::failedSave() {
    QFETCH(QString, chosen);
    QFETCH(QString, error);
    QFETCH(bool, readOnlyFolder);
    if (readOnlyFolder && ::geteuid() == 0) {
        QSKIP("permission checks do not apply to root");
    }

    // sub/ holds a report from an earlier save, and a folder where the second row wants
    // to write.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir root(dir.path());
    QVERIFY(root.mkpath("sub/taken.txt"));
    const std::string kept = dir.filePath("sub/kept.txt").toStdString();
    const std::string old = "earlier report\r\n";
    QVERIFY(!writeFileAtomically(kept, old));
    QFile sub(dir.filePath("sub"));
    const QFile::Permissions permissions = sub.permissions();
    if (readOnlyFolder) {
        QVERIFY(sub.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    }

    ScriptedPrompter prompter;
    prompter.queueFileName(dir.filePath(chosen).toStdString());
    MessageLog log;
    log.LogMessage("Analysis finished");
    const bool saved = SaveReportText("new report", "", prompter, log);
    sub.setPermissions(permissions);

    QVERIFY(!saved);
    const std::string text = "There was an error saving the file: " + error.toStdString();
    QCOMPARE(prompter.questions().size(), std::size_t(2));
    const ScriptedPrompter::Question& box = prompter.questions()[1];
    QCOMPARE(box.kind, ScriptedPrompter::Kind::Message);
    QCOMPARE(box.text, text);
    QCOMPARE(box.icon, MessageIcon::Critical);
    QCOMPARE(box.buttons, MessageButtons::Ok);

    QCOMPARE(log.runs().size(), std::size_t(2));
    QCOMPARE(log.lastLine(), " " + text);
    QCOMPARE(log.runs().back().colour, LogColour::Red);
    QVERIFY(log.runs().back().bold);

    std::string content;
    QVERIFY(!readWholeFile(kept, content));
    QCOMPARE(content, old);
    QCOMPARE(
        QDir(dir.filePath("sub")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        (QStringList{"kept.txt", "taken.txt"}));
}

QTEST_APPLESS_MAIN(TestReport)
#include "test_report.moc"
