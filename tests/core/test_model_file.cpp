#include <QtTest>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

#include "base/file_io.h"
#include "model/model_file.h"
#include "settings/settings_values.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

namespace {

const std::string kOpenError = "There was an error opening the file: ";
const std::string kNotAModel = "There was an error opening the file. The file could not be read.";

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// Two groups, four nodes with loads, constraints and springs, four elements, and display
// options and a view that differ from the defaults.
void buildSample(AppState& app) {
    Model& m = app.model;
    addGroup(m, 2.1e8, 0.0065);
    addGroup(m, 7.0e7, 1.0 / 3.0);
    addNode(m, 0, 0, 1, 1);
    addNode(m, 4.25f, 0, 0, 1);
    addNode(m, 2, 3.5f);
    addNode(m, -1.5e-5f, 12345678.0f);
    m.nodes.Fx[3] = 16;
    m.nodes.Fy[3] = -30.5f;
    m.nodes.Kx[4] = 1500;
    m.nodes.Ky[2] = 2.5e4f;
    addElement(m, 1, 2, 1);
    addElement(m, 2, 3, 2);
    addElement(m, 1, 3, 1);
    addElement(m, 3, 4, 2);
    app.settings.nai_grid = false;
    app.settings.nai_miki = true;
    app.settings.kannab = 0.25f;
    app.settings.Animation_Frames = 40;
    app.settings.dekadika_strain = 9;
    app.settings.Ena_cm_posa_STRAIN = 2.5e-5f;
    app.settings.xroma_N = packColour(1, 2, 3);
    app.settings.xroma_grid = kSystemColourFlag | 5u;
    app.view.scale = 37.5f;
    app.view.offsetX = -1.25;
    app.view.offsetY = 3.0 / 7.0;
}

struct TempFiles {
    QTemporaryDir dir;
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
};

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const std::string& path) {
    std::string text;
    readWholeFile(path, text);
    return text;
}

}  // namespace

Q_DECLARE_METATYPE(std::string)

class TestModelFile : public QObject {
    Q_OBJECT
private slots:
    void emptyModelLayout();
    void startOfSmallModel();
    void springsOnlyForPositiveConstants();
    void roundTrip();
    void anyChangeIsNoticed_data();
    void anyChangeIsNoticed();
    void comparisonUsesFieldValues();
    void noFileNeverMatches();
    void readFailures_data();
    void readFailures();
    void missingFile();
    void lenientForms();
    void flagsAreTrueOnlyForOne();
    void saveDialogNames_data();
    void saveDialogNames();
    void cancelledDialogsChangeNothing();
    void failedSaveReportsAndKeepsName();
    void examplesAreWriterOutput();
};

void TestModelFile::emptyModelLayout() {
    Harness h;
    const std::vector<std::string> lines =
        splitLines(modelFileText(h.app.model, h.app.settings, h.app.view));
    const std::vector<std::string> expected{
        "***********************************", "*        Vortak Input file        *",
        "***********************************", "*        Do NOT Modify !!!        *",
        "***********************************", "", "Groups", "0", "", "Nodes", "0", "", "Elements",
        "0", "", "Springs", "0", "Settings",
        // flags, in file order
        "1", "1", "1", "1", "1", "0", "1", "1", "0", "0", "1", "1", "1", "1", "1", "0", "1", "1",
        "1", "0", "0",
        // decimals, scales, view, grid, deformation, frames
        "3", "7", "100", "10000", "0.0001", "100", "-2", "2", "1", "100", "100",
        // colours
        "-2147483634", "8388608", "14737632", "0", "16711680", "41984", "2852397", "16711680",
        "16711680", "255", "16777215", "END of Vortak Input File"};
    QCOMPARE(lines, expected);
    const std::string text = modelFileText(h.app.model, h.app.settings, h.app.view);
    QVERIFY(text.size() > 2 && text.substr(text.size() - 2) == "\r\n");
}

void TestModelFile::startOfSmallModel() {
    Harness h;
    addGroup(h.app.model, 200, 0.01);
    addNode(h.app.model, 0, 0, 1, 1);
    const std::vector<std::string> lines =
        splitLines(modelFileText(h.app.model, h.app.settings, h.app.view));
    const std::vector<std::string> lines6to24(lines.begin() + 5, lines.begin() + 24);
    const std::vector<std::string> expected{"",  "Groups", "1", "",  "1", "200", "0.01",
                                            "",  "Nodes",  "1", "",  "1", "0",   "0",
                                            "1", "1",      "0", "0", ""};
    QCOMPARE(lines6to24, expected);
}

void TestModelFile::springsOnlyForPositiveConstants() {
    Harness h;
    Model& m = h.app.model;
    for (int n = 1; n <= 4; ++n) addNode(m, float(n), 0);
    m.nodes.Ky[2] = 5;   // written: 2, 0, 5
    m.nodes.Kx[3] = -1;  // not positive: not written
    m.nodes.Kx[4] = 0.5f;
    m.nodes.Ky[4] = 7;
    const std::vector<std::string> lines = splitLines(modelFileText(m, h.app.settings, h.app.view));
    const auto springs = std::find(lines.begin(), lines.end(), "Springs");
    QVERIFY(springs != lines.end());
    const std::vector<std::string> section(springs, springs + 9);
    const std::vector<std::string> expected{"Springs", "2",   "2", "0",       "5",
                                            "4",       "0.5", "7", "Settings"};
    QCOMPARE(section, expected);
}

void TestModelFile::roundTrip() {
    TempFiles files;
    const std::string path = files.path("sample.vok");
    Harness writer;
    buildSample(writer.app);
    QCOMPARE(WriteModelFile(writer.app, path, false), FileOutcome::Done);
    QCOMPARE(writer.app.model.fileName, path);
    QCOMPARE(writer.app.log.lastLine(), " Save file: " + path);
    QVERIFY(writer.app.log.runs().back().bold);
    QVERIFY(ModelMatchesFile(writer.app));

    Harness reader;
    reader.app.view.pushView();
    QCOMPARE(ReadModelFile(reader.app, path), FileOutcome::Done);
    const Model& a = writer.app.model;
    const Model& b = reader.app.model;
    QCOMPARE(b.nodeCount, a.nodeCount);
    QCOMPARE(b.elementCount, a.elementCount);
    QCOMPARE(b.groupCount, a.groupCount);
    QVERIFY(b.nodes.x == a.nodes.x && b.nodes.y == a.nodes.y && b.nodes.cx == a.nodes.cx &&
            b.nodes.cy == a.nodes.cy && b.nodes.Fx == a.nodes.Fx && b.nodes.Fy == a.nodes.Fy &&
            b.nodes.Kx == a.nodes.Kx && b.nodes.Ky == a.nodes.Ky);
    QVERIFY(b.elements.i == a.elements.i && b.elements.j == a.elements.j &&
            b.elements.group == a.elements.group);
    QVERIFY(b.groups.E == a.groups.E && b.groups.A == a.groups.A);
    QVERIFY(reader.app.settings == writer.app.settings);
    QCOMPARE(reader.app.view.scale, writer.app.view.scale);
    QCOMPARE(reader.app.view.offsetX, writer.app.view.offsetX);
    QCOMPARE(reader.app.view.offsetY, writer.app.view.offsetY);
    QCOMPARE(reader.app.view.historyTop(), 0);
    QCOMPARE(reader.app.view.historyEntry(0).scale, 37.5);
    QCOMPARE(b.fileName, path);
    QVERIFY(b.changed);
    QCOMPARE(windowCaption(b), "Malvero Vortak - " + path);
    QCOMPARE(reader.app.log.lastLine(), " Open file: " + path);
    QVERIFY(reader.app.log.runs().back().bold);
    QVERIFY(ModelMatchesFile(reader.app));
}

void TestModelFile::anyChangeIsNoticed_data() {
    QTest::addColumn<int>("change");
    const char* names[] = {"node x",        "E of a group", "element group", "spring Ky",
                           "load Fy",       "a flag",       "a colour",      "view scale",
                           "view offset X", "grid spacing", "one more node"};
    for (int k = 0; k < int(std::size(names)); ++k) QTest::newRow(names[k]) << k;
}

void TestModelFile::anyChangeIsNoticed() {
    QFETCH(int, change);
    TempFiles files;
    Harness h;
    buildSample(h.app);
    QCOMPARE(WriteModelFile(h.app, files.path("a.vok"), false), FileOutcome::Done);
    Model& m = h.app.model;
    switch (change) {
        case 0:
            m.nodes.x[2] += 0.001f;
            break;
        case 1:
            m.groups.E[2] *= 1.0000001;
            break;
        case 2:
            m.elements.group[4] = 1;
            break;
        case 3:
            m.nodes.Ky[2] = 0;
            break;
        case 4:
            m.nodes.Fy[1] = -1;
            break;
        case 5:
            h.app.settings.nai_springs = false;
            break;
        case 6:
            h.app.settings.Xroma_Thlipsis = 254;
            break;
        case 7:
            h.app.view.scale = 37.25f;
            break;
        case 8:
            h.app.view.offsetX += 1e-12;
            break;
        case 9:
            h.app.settings.kannab = 0.5f;
            break;
        case 10:
            addNode(m, 9, 9);
            break;
    }
    QVERIFY(!ModelMatchesFile(h.app));
}

void TestModelFile::comparisonUsesFieldValues() {
    // A file with the same values written differently ("1.0", "+4.25", "1E2") still matches.
    TempFiles files;
    const std::string path = files.path("b.vok");
    Harness h;
    buildSample(h.app);
    h.app.model.fileName = path;
    std::string text = modelFileText(h.app.model, h.app.settings, h.app.view);
    text.replace(text.find("\r\n4.25\r\n"), 8, "\r\n+4.25\r\n");
    text.replace(text.find("\r\n10000\r\n"), 9, "\r\n1E4\r\n");
    writeText(path, text);
    QVERIFY(ModelMatchesFile(h.app));
    // A file without its end line never matches.
    writeText(path, text.substr(0, text.find("END of")));
    QVERIFY(!ModelMatchesFile(h.app));
}

void TestModelFile::noFileNeverMatches() {
    TempFiles files;
    Harness h;
    QVERIFY(!ModelMatchesFile(h.app));  // untitled
    h.app.model.fileName = files.path("gone.vok");
    QVERIFY(!ModelMatchesFile(h.app));  // moved or deleted since the last save
}

void TestModelFile::readFailures_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<std::string>("message");

    Harness h;
    buildSample(h.app);
    const std::string good = modelFileText(h.app.model, h.app.settings, h.app.view);
    const std::vector<std::string> lines = splitLines(good);
    // Line numbers of the sample: group 1 at 10..13, node count at 19, node 1 at 21..28,
    // node 2 at 29.., element count at 54, element 1 at 56..60, springs at 76.
    QCOMPARE(lines[18], std::string("4"));
    QCOMPARE(lines[53], std::string("4"));
    QCOMPARE(lines[75], std::string("Springs"));
    auto with = [&](int lineNumber, const std::string& value) {
        std::vector<std::string> changed = lines;
        changed[lineNumber - 1] = value;
        return joinLines(changed);
    };
    auto header = [&](const std::string& line2) { return with(2, line2); };

    QTest::newRow("header wording") << header("*        Vortak Input File        *") << kNotAModel;
    QTest::newRow("header case") << header("*        VORTAK INPUT FILE        *") << kNotAModel;
    QTest::newRow("header spacing") << header("*       Vortak Input file         *") << kNotAModel;
    QTest::newRow("empty file") << std::string() << kNotAModel;
    QTest::newRow("ends inside nodes")
        << joinLines(std::vector<std::string>(lines.begin(), lines.begin() + 40))
        << kOpenError + "line 41: the file ends inside the Nodes section";
    QTest::newRow("not a number") << with(31, "abc")
                                  << kOpenError + "line 31: 'abc' is not a number";
    QTest::newRow("empty number") << with(22, "")
                                  << kOpenError +
                                         "line 22: a number was expected but the line is empty";
    QTest::newRow("negative count")
        << with(19, "-1") << kOpenError + "line 19: the number of nodes cannot be -1";
    QTest::newRow("too many groups")
        << with(8, "51")
        << kOpenError + "line 8: the number of E,A groups 51 is above the limit of 50";
    QTest::newRow("fractional count")
        << with(54, "2.5") << kOpenError + "line 54: '2.5' is not a whole number";
    QTest::newRow("element node outside")
        << with(58, "5")
        << kOpenError +
               "line 58: element #1 refers to node '5', which is not in the model (4 defined)";
    QTest::newRow("element group outside")
        << with(59, "3")
        << kOpenError +
               "line 59: element #1 refers to group '3', which is not in the model (2 defined)";
    QTest::newRow("spring node outside")
        << with(78, "7")
        << kOpenError +
               "line 78: a spring record names node '7', which is not in the model (4 defined)";
    QTest::newRow("constraint neither 0 nor 1")
        << with(24, "0.5")
        << kOpenError +
               "line 24: node #1 has the x constraint '0.5'; only 0 (free) and 1 (fixed) are "
               "possible";
    QTest::newRow("float overflow")
        << with(22, "1e39")
        << kOpenError + "line 22: '1e39' is too large for a single-precision value";
    QTest::newRow("double overflow")
        << with(11, "1e999") << kOpenError + "line 11: '1e999' is too large a number";
    QTest::newRow("zero view scale") << with(int(lines.size()) - 17, "0")
                                     << kOpenError + "line " + std::to_string(lines.size() - 17) +
                                            ": '0' is not a valid view scale (must be positive)";
}

void TestModelFile::readFailures() {
    QFETCH(std::string, text);
    QFETCH(std::string, message);
    TempFiles files;
    const std::string path = files.path("bad.vok");
    writeText(path, text);
    Harness h;
    buildSample(h.app);
    h.app.model.fileName = "/somewhere/old.vok";
    const ViewSettings before = h.app.settings;
    QCOMPARE(ReadModelFile(h.app, path), FileOutcome::Failed);
    QCOMPARE(h.prompter.questions().size(), std::size_t(1));
    QCOMPARE(h.prompter.questions()[0].text, message);
    QCOMPARE(h.prompter.questions()[0].icon, MessageIcon::Critical);
    QCOMPARE(h.app.log.lastLine(), " " + message);
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Red);
    QVERIFY(h.app.log.runs().back().bold);
    const Model& m = h.app.model;
    QCOMPARE(m.nodeCount + m.elementCount + m.groupCount, 0);
    QCOMPARE(m.nodes.x[1], 0.0f);
    QVERIFY(m.fileName.empty());
    QCOMPARE(windowCaption(m), std::string("Malvero Vortak - Untitled.vok"));
    QVERIFY(m.changed);
    QVERIFY(h.app.settings == before);  // a refused file brings no display options
}

void TestModelFile::missingFile() {
    TempFiles files;
    Harness h;
    QCOMPARE(ReadModelFile(h.app, files.path("nothing.vok")), FileOutcome::Failed);
    QCOMPARE(h.prompter.questions().at(0).text, kOpenError + "No such file or directory");
}

void TestModelFile::lenientForms() {
    // LF line ends, quoted text fields, numbers written differently and record numbers that
    // do not match their position are all read.
    Harness source;
    buildSample(source.app);
    std::vector<std::string> lines =
        splitLines(modelFileText(source.app.model, source.app.settings, source.app.view));
    lines[1] = "\"*        Vortak Input file        *\"";
    lines[6] = "\"Groups\"";
    lines[9] = "7";          // record number of group 1
    lines[10] = "  2.1e+8";  // E of group 1
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    TempFiles files;
    const std::string path = files.path("lf.vok");
    writeText(path, text);
    Harness h;
    QCOMPARE(ReadModelFile(h.app, path), FileOutcome::Done);
    QCOMPARE(h.app.model.groups.E[1], 2.1e8);
    QCOMPARE(h.app.model.nodeCount, 4);
    QCOMPARE(h.app.model.nodes.Kx[4], 1500.0f);
    QVERIFY(h.app.settings == source.app.settings);
}

void TestModelFile::flagsAreTrueOnlyForOne() {
    Harness source;
    std::vector<std::string> lines =
        splitLines(modelFileText(source.app.model, source.app.settings, source.app.view));
    const auto settings = std::find(lines.begin(), lines.end(), "Settings") - lines.begin();
    lines[settings + 1] = "-1";    // nai_aksones
    lines[settings + 2] = "True";  // nai_grid
    lines[settings + 6] = "1";     // nai_sint_kombon
    lines[settings + 3] = "1.0";   // nai_komboi: still the number 1
    TempFiles files;
    writeText(files.path("f.vok"), joinLines(lines));
    Harness h;
    QCOMPARE(ReadModelFile(h.app, files.path("f.vok")), FileOutcome::Done);
    QVERIFY(!h.app.settings.nai_aksones);
    QVERIFY(!h.app.settings.nai_grid);
    QVERIFY(h.app.settings.nai_komboi);
    QVERIFY(h.app.settings.nai_sint_kombon);
}

void TestModelFile::saveDialogNames_data() {
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("untitled, no extension") << ""
                                            << "Untitled"
                                            << "bridge"
                                            << "bridge.vok";
    QTest::newRow("extension kept") << ""
                                    << "Untitled"
                                    << "bridge.vok"
                                    << "bridge.vok";
    QTest::newRow("upper-case extension") << ""
                                          << "Untitled"
                                          << "bridge.VOK"
                                          << "bridge.VOK.vok";
    QTest::newRow("titled") << "%1/old.vok"
                            << "%1/old"
                            << "new"
                            << "new.vok";
}

void TestModelFile::saveDialogNames() {
    QFETCH(QString, current);
    QFETCH(QString, proposed);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    TempFiles files;
    const QString dir = files.dir.path();
    Harness h;
    h.app.model.fileName = QString(current).replace("%1", dir).toStdString();
    h.prompter.queueFileName((dir + "/" + chosen).toStdString());
    QCOMPARE(WriteModelFile(h.app, "", false), FileOutcome::Done);
    const auto& q = h.prompter.questions().at(0);
    QCOMPARE(q.kind, ScriptedPrompter::Kind::SaveFile);
    QCOMPARE(QString::fromStdString(q.request.proposedName), QString(proposed).replace("%1", dir));
    QCOMPARE(q.request.filter, std::string("Vortak files (*.vok)|*.vok"));
    QVERIFY(q.request.confirmOverwrite);
    const std::string path = (dir + "/" + written).toStdString();
    QCOMPARE(h.app.model.fileName, path);
    QVERIFY(QFile::exists(QString::fromStdString(path)));
}

void TestModelFile::cancelledDialogsChangeNothing() {
    Harness h;
    buildSample(h.app);
    h.app.model.fileName = "/x/y.vok";
    h.prompter.queueFileName(std::nullopt);
    h.prompter.queueFileName(std::nullopt);
    QCOMPARE(ReadModelFile(h.app, ""), FileOutcome::Cancelled);
    QCOMPARE(WriteModelFile(h.app, "", false), FileOutcome::Cancelled);
    QCOMPARE(h.app.model.nodeCount, 4);
    QCOMPARE(h.app.model.fileName, std::string("/x/y.vok"));
    QVERIFY(h.app.log.runs().empty());
    QCOMPARE(h.prompter.questions().at(0).request.filter,
             std::string("Vortak Input files (*.vok)|*.vok"));
}

void TestModelFile::failedSaveReportsAndKeepsName() {
    TempFiles files;
    Harness h;
    buildSample(h.app);
    h.app.model.fileName = files.path("kept.vok");
    const std::string bad = files.path("missing-folder/model.vok");
    QCOMPARE(WriteModelFile(h.app, bad, false), FileOutcome::Failed);
    const std::string message = "There was an error saving the file: No such file or directory";
    QCOMPARE(h.prompter.questions().at(0).text, message);
    QCOMPARE(h.prompter.questions().at(0).icon, MessageIcon::Critical);
    QCOMPARE(h.app.log.lastLine(), " " + message);
    QVERIFY(h.app.log.runs().back().bold);
    QCOMPARE(h.app.model.fileName, files.path("kept.vok"));
    // A quiet write changes neither the name nor the log.
    const std::size_t logged = h.app.log.runs().size();
    QCOMPARE(WriteModelFile(h.app, files.path("quiet.vok"), true), FileOutcome::Done);
    QCOMPARE(h.app.model.fileName, files.path("kept.vok"));
    QCOMPARE(h.app.log.runs().size(), logged);
    QCOMPARE(readText(files.path("quiet.vok")),
             modelFileText(h.app.model, h.app.settings, h.app.view));
}

void TestModelFile::examplesAreWriterOutput() {
    // The shipped examples read cleanly and are exactly what the program would write.
    const QDir examples(QStringLiteral(VORTAK_EXAMPLES_DIR));
    const QStringList names = examples.entryList({"*.vok"});
    QVERIFY(names.size() >= 3);
    for (const QString& name : names) {
        const std::string path = examples.filePath(name).toStdString();
        Harness h;
        QVERIFY2(ReadModelFile(h.app, path) == FileOutcome::Done, qPrintable(name));
        QCOMPARE(modelFileText(h.app.model, h.app.settings, h.app.view), readText(path));
    }
}

QTEST_APPLESS_MAIN(TestModelFile)
#include "test_model_file.moc"
