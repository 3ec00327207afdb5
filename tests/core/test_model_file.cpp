#include <QtTest>

#include <QTemporaryDir>

#include <fstream>

#include "base/file_io.h"
#include "model/model_file.h"
#include "settings/settings_values.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

namespace {

const std::string kOpenError = "There was an error opening the file: ";
const std::string kNotAModel = "There was an error opening the file. The file could not be read.";

QStringList splitLines(const std::string& text) {
    return QString::fromStdString(text).split("\r\n");
}

std::string joinLines(const QStringList& lines, const char* end = "\r\n") {
    return lines.join(end).toStdString();
}

std::string fileText(const AppState& app) {
    return modelFileText(app.model, app.settings, app.view);
}

// Two groups, four nodes with loads, constraints and springs, four elements, and display
// options and a view that differ from the defaults.
void buildSample(AppState& app) {
    Model& m = app.model;
    addGroup(m, 2.1e8, 0.0065);
    addGroup(m, 7.0e7, 1.0 / 3.0);
    m.nodeCount = 4;
    m.setNode(1, Node{0, 0, 1, 1, 0, 0, 0, 0});
    m.setNode(2, Node{4.25f, 0, 0, 1, 0, 0, 0, 2.5e4f});
    m.setNode(3, Node{2, 3.5f, 0, 0, 16, -30.5f, 0, 0});
    m.setNode(4, Node{-1.5e-5f, 12345678.0f, 0, 0, 0, 0, 1500, 0});
    addElement(m, 1, 2, 1);
    addElement(m, 2, 3, 2);
    addElement(m, 1, 3, 1);
    addElement(m, 3, 4, 2);
    app.settings.nai_grid = false;
    app.settings.kannab = 0.25f;
    app.settings.xroma_grid = kSystemColourFlag | 5u;
    app.view.scale = 37.5f;
    app.view.offsetX = -1.25;
    app.view.offsetY = 3.0 / 7.0;
}

QStringList sampleLines() {
    Harness h;
    buildSample(h.app);
    return splitLines(fileText(h.app));
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

FileOutcome openText(AppState& app, const std::string& text) {
    TempFiles files;
    writeText(files.path("m.vok"), text);
    return ReadModelFile(app, files.path("m.vok"));
}

// Replaces `from` by `to` in the file the model was saved to.
void editSaved(const AppState& app, const std::string& from, const std::string& to) {
    std::string text = readText(app.model.fileName);
    text.replace(text.find(from), from.size(), to);
    writeText(app.model.fileName, text);
}

using Change = void (*)(AppState&);

}  // namespace

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(Change)

class TestModelFile : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void roundTrip();
    void matchesFile_data();
    void matchesFile();
    void readFailures_data();
    void readFailures();
    void lenientForms();
    void saveDialogNames_data();
    void saveDialogNames();
    void cancelledDialogsChangeNothing();
    void systemErrorsAreReported();
    void examplesAreWriterOutput();
};

void TestModelFile::layout() {
    Harness h;
    const QStringList expected{
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
        "16711680", "255", "16777215", "END of Vortak Input File", ""};
    QCOMPARE(splitLines(fileText(h.app)), expected);

    Model& m = h.app.model;
    addGroup(m, 200, 0.01);
    addNode(m, 0, 0, 1, 1);
    addNode(m, 1, 0);
    m.nodes.Ky[1] = 5;   // written as 1, 0, 5
    m.nodes.Kx[2] = -1;  // not positive: no spring record
    const std::string text = fileText(h.app);
    const std::string records =
        "Groups\r\n1\r\n\r\n1\r\n200\r\n0.01\r\n\r\n"
        "Nodes\r\n2\r\n\r\n1\r\n0\r\n0\r\n1\r\n1\r\n0\r\n0\r\n\r\n2\r\n1\r\n";
    QCOMPARE(text.substr(text.find("Groups"), records.size()), records);
    const std::string springs = "Springs\r\n1\r\n1\r\n0\r\n5\r\nSettings\r\n";
    QCOMPARE(text.substr(text.find("Springs"), springs.size()), springs);
}

void TestModelFile::roundTrip() {
    TempFiles files;
    const std::string path = files.path("sample.vok");
    Harness writer;
    buildSample(writer.app);
    QCOMPARE(WriteModelFile(writer.app, path, false), FileOutcome::Done);
    QCOMPARE(writer.app.model.fileName, path);
    QCOMPARE(writer.app.log.lastLine(), " Save file: " + path);
    QVERIFY(ModelMatchesFile(writer.app));

    Harness reader;
    reader.app.view.pushView();
    QCOMPARE(ReadModelFile(reader.app, path), FileOutcome::Done);
    // Numbers are written exactly, so equal texts mean every field was read back.
    QCOMPARE(fileText(reader.app), fileText(writer.app));
    QCOMPARE(reader.app.view.historyTop(), 0);  // an opened file starts a new zoom history
    QVERIFY(reader.app.model.changed);
    QCOMPARE(windowCaption(reader.app.model), "Malvero Vortak - " + path);
    QCOMPARE(reader.app.log.lastLine(), " Open file: " + path);
    QVERIFY(ModelMatchesFile(reader.app));
}

void TestModelFile::matchesFile_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("matches");
    auto row = [](const char* name, Change change, bool matches = false) {
        QTest::newRow(name) << change << matches;
    };
    row("node x", [](AppState& a) { a.model.nodes.x[2] += 0.001f; });
    row("E, last digit", [](AppState& a) { a.model.groups.E[2] *= 1.0000001; });
    row("spring removed", [](AppState& a) { a.model.nodes.Ky[2] = 0; });
    row("a colour", [](AppState& a) { a.settings.Xroma_Thlipsis = 254; });
    row("view offset", [](AppState& a) { a.view.offsetX += 1e-12; });
    row("one more node", [](AppState& a) { addNode(a.model, 9, 9); });
    row("untitled", [](AppState& a) { a.model.fileName.clear(); });
    row("file gone", [](AppState& a) { a.model.fileName += ".gone"; });
    row("no end line", [](AppState& a) { editSaved(a, "END of Vortak Input File\r\n", ""); });
    row(
        "same values written differently",
        [](AppState& a) {
            editSaved(a, "\r\n4.25\r\n", "\r\n+4.25\r\n");
            editSaved(a, "\r\n10000\r\n", "\r\n1E4\r\n");
        },
        true);
}

void TestModelFile::matchesFile() {
    QFETCH(Change, change);
    QFETCH(bool, matches);
    TempFiles files;
    Harness h;
    buildSample(h.app);
    QCOMPARE(WriteModelFile(h.app, files.path("a.vok"), false), FileOutcome::Done);
    change(h.app);
    QCOMPARE(ModelMatchesFile(h.app), matches);
}

void TestModelFile::readFailures_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<std::string>("message");  // after the common opening; empty: not a model
    // Sample lines: group count 8, E of group 1 at 11, node count 19, node 1 at 21..28,
    // element count 54, element 1 at 56..60, first spring record at 78.
    const QStringList lines = sampleLines();
    auto with = [&](int lineNumber, const char* value) {
        QStringList changed = lines;
        changed[lineNumber - 1] = value;
        return joinLines(changed);
    };
    auto row = [](const char* name, const std::string& text, const std::string& message) {
        QTest::newRow(name) << text << message;
    };
    const int scale = int(lines.size()) - 18;
    row("header wording", with(2, "*        Vortak Input File        *"), "");
    row("empty file", "", "");
    row("ends inside nodes", joinLines(lines.mid(0, 40)) + "\r\n",
        "line 41: the file ends inside the Nodes section");
    row("not a number", with(31, "abc"), "line 31: 'abc' is not a number");
    row("empty number", with(22, ""), "line 22: a number was expected but the line is empty");
    row("negative count", with(19, "-1"), "line 19: the number of nodes cannot be -1");
    row("too many groups", with(8, "51"),
        "line 8: the number of E,A groups 51 is above the limit of 50");
    row("fractional count", with(54, "2.5"), "line 54: '2.5' is not a whole number");
    row("element node outside", with(58, "5"),
        "line 58: element #1 refers to node '5', which is not in the model (4 defined)");
    row("element group outside", with(59, "3"),
        "line 59: element #1 refers to group '3', which is not in the model (2 defined)");
    row("spring node outside", with(78, "7"),
        "line 78: a spring record names node '7', which is not in the model (4 defined)");
    row("constraint neither 0 nor 1", with(24, "0.5"),
        "line 24: node #1 has the x constraint '0.5'; only 0 (free) and 1 (fixed) are possible");
    row("float overflow", with(22, "1e39"),
        "line 22: '1e39' is too large for a single-precision value");
    row("double overflow", with(11, "1e999"), "line 11: '1e999' is too large a number");
    row("zero view scale", with(scale, "0"),
        "line " + std::to_string(scale) + ": '0' is not a valid view scale (must be positive)");
}

void TestModelFile::readFailures() {
    QFETCH(std::string, text);
    QFETCH(std::string, message);
    message = message.empty() ? kNotAModel : kOpenError + message;
    Harness h;
    buildSample(h.app);
    h.app.model.fileName = "/somewhere/old.vok";
    const ViewSettings before = h.app.settings;
    QCOMPARE(openText(h.app, text), FileOutcome::Failed);
    QCOMPARE(h.prompter.questions().size(), std::size_t(1));
    QCOMPARE(h.prompter.questions()[0].text, message);
    QCOMPARE(h.prompter.questions()[0].icon, MessageIcon::Critical);
    QCOMPARE(h.app.log.lastLine(), " " + message);
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Red);
    const Model& m = h.app.model;
    QCOMPARE(m.nodeCount + m.elementCount + m.groupCount, 0);
    QVERIFY(m.fileName.empty());
    QVERIFY(m.changed);
    QVERIFY(h.app.settings == before);  // a refused file brings no display options
}

void TestModelFile::lenientForms() {
    // LF line ends, quoted text fields, numbers written differently and record numbers that
    // do not match their position are all read; a flag is true only for the number 1.
    QStringList lines = sampleLines();
    lines[1] = "\"*        Vortak Input file        *\"";
    lines[6] = "\"Groups\"";
    lines[9] = "7";          // record number of group 1
    lines[10] = "  2.1e+8";  // E of group 1
    const qsizetype settings = lines.indexOf("Settings");
    lines[settings + 1] = "-1";    // nai_aksones, on in the sample
    lines[settings + 4] = "True";  // nai_arithmisi_kombon, on in the sample
    lines[settings + 6] = "1.0";   // nai_sint_kombon, off in the sample
    Harness h;
    QCOMPARE(openText(h.app, joinLines(lines, "\n")), FileOutcome::Done);
    QCOMPARE(h.app.model.groups.E[1], 2.1e8);
    QCOMPARE(h.app.model.nodes.Kx[4], 1500.0f);
    QVERIFY(!h.app.settings.nai_aksones);
    QVERIFY(!h.app.settings.nai_arithmisi_kombon);
    QVERIFY(h.app.settings.nai_sint_kombon);
}

void TestModelFile::saveDialogNames_data() {
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    auto row = [](const char* name, QString current, QString proposed, QString chosen,
                  QString written) {
        QTest::newRow(name) << current << proposed << chosen << written;
    };
    row("untitled, no extension", "", "Untitled", "bridge", "bridge.vok");
    row("extension kept", "", "Untitled", "bridge.vok", "bridge.vok");
    row("upper-case extension", "", "Untitled", "bridge.VOK", "bridge.VOK.vok");
    row("titled", "%1/old.vok", "%1/old", "new", "new.vok");
}

void TestModelFile::saveDialogNames() {
    QFETCH(QString, current);
    QFETCH(QString, proposed);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    TempFiles files;
    const QString dir = files.dir.path();
    Harness h;
    h.app.model.fileName = current.replace("%1", dir).toStdString();
    h.prompter.queueFileName((dir + "/" + chosen).toStdString());
    QCOMPARE(WriteModelFile(h.app, "", false), FileOutcome::Done);
    const auto& q = h.prompter.questions().at(0);
    QCOMPARE(QString::fromStdString(q.request.proposedName), proposed.replace("%1", dir));
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

void TestModelFile::systemErrorsAreReported() {
    TempFiles files;
    Harness missing;
    QCOMPARE(ReadModelFile(missing.app, files.path("nothing.vok")), FileOutcome::Failed);
    QCOMPARE(missing.prompter.questions().at(0).text, kOpenError + "No such file or directory");

    // A failed save keeps the name the model had.
    Harness h;
    buildSample(h.app);
    h.app.model.fileName = files.path("kept.vok");
    QCOMPARE(WriteModelFile(h.app, files.path("missing-folder/model.vok"), false),
             FileOutcome::Failed);
    const std::string message = "There was an error saving the file: No such file or directory";
    QCOMPARE(h.prompter.questions().at(0).text, message);
    QCOMPARE(h.prompter.questions().at(0).icon, MessageIcon::Critical);
    QCOMPARE(h.app.log.lastLine(), " " + message);
    QCOMPARE(h.app.model.fileName, files.path("kept.vok"));
    // A quiet write changes neither the name nor the log.
    const std::size_t logged = h.app.log.runs().size();
    QCOMPARE(WriteModelFile(h.app, files.path("quiet.vok"), true), FileOutcome::Done);
    QCOMPARE(h.app.model.fileName, files.path("kept.vok"));
    QCOMPARE(h.app.log.runs().size(), logged);
    QCOMPARE(readText(files.path("quiet.vok")), fileText(h.app));
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
        QCOMPARE(fileText(h.app), readText(path));
    }
}

QTEST_APPLESS_MAIN(TestModelFile)
#include "test_model_file.moc"
