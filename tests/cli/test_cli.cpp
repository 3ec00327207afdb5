#include <QtTest>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <fstream>

#include "../core/test_support.h"
#include "analysis/analysis_run.h"
#include "model/model_file.h"
#include "report/report.h"

using namespace vortak;
using namespace vortak::test;

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QString err;
};

Run runCli(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(VORTAK_CLI), args);
    if (!process.waitForFinished(60000)) return {};
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

// The unit bar pulled by P: the free end moves by exactly P.
std::string unitBarFile(float P, bool pinnedY) {
    Harness h;
    Model& m = h.app.model;
    addNode(m, 0, 0, 1, 1);
    addNode(m, 1, 0, 0, pinnedY ? 1 : 0);
    addGroup(m, 1, 1);
    addElement(m, 1, 2);
    m.nodes.Fx[2] = P;
    return modelFileText(m, h.app.settings, h.app.view);
}

// What the program itself reports for a model file.
std::string expectedReport(const std::string& path, std::string_view sections) {
    Harness h;
    ReadModelFile(h.app, path);
    Button_Epilisi(h.app);
    return assembleReport(h.app.model, sections) + "\r\n";
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(dir_.isValid()); }
    void reportsExampleLikeTheProgram();
    void chosenSectionsToFile();
    void unreadableModels_data();
    void unreadableModels();
    void failedAnalysis();
    void unconnectedNodeIsKept();
    void mechanismWarnsButSucceeds();
    void unwritableOutput();
    void usage_data();
    void usage();
    void renderFormats_data();
    void renderFormats();
    void renderFailures();

private:
    std::string write(const char* name, const std::string& text) {
        const std::string path = dir_.filePath(name).toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    QTemporaryDir dir_;
};

void TestCli::reportsExampleLikeTheProgram() {
    const QString model = QStringLiteral(VORTAK_EXAMPLES_DIR "/pratt-bridge.vok");
    const Run run = runCli({"report", model});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out.toStdString(), expectedReport(model.toStdString(), "1234"));
    const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0], "Open file: " + model);
    QCOMPARE(lines[1], QString("ANALYSIS"));
    QVERIFY(lines[2].startsWith("Start:  "));
    QVERIFY(lines[3].startsWith("Finish:  "));
    QVERIFY(lines[4].startsWith("Total time:  ") && lines[4].endsWith(" sec"));
}

void TestCli::chosenSectionsToFile() {
    const std::string model = write("bar.vok", unitBarFile(2, true));
    const QString output = dir_.filePath("bar.txt");
    const Run run =
        runCli({"report", "--sections", "31", QString::fromStdString(model), "--output", output});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.isEmpty());
    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::string written = file.readAll().toStdString();
    QCOMPARE(written, expectedReport(model, "13"));
    QVERIFY(written.rfind("Data\r\n", 0) == 0);
    QVERIFY(written.find("Element forces") != std::string::npos);
    QVERIFY(written.find("Node displacements") == std::string::npos);
}

void TestCli::unreadableModels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "missing.vok" << QByteArray()
                             << "There was an error opening the file: No such file or directory";
    QTest::newRow("not a model") << "notes.vok" << QByteArray("hello\r\n")
                                 << "There was an error opening the file. The file could not "
                                    "be read.";
    // The first 18 lines: the header, one group and the start of node 1.
    const std::string good = unitBarFile(1, true);
    std::size_t cut = 0;
    for (int line = 0; line < 18; ++line) cut = good.find("\r\n", cut) + 2;
    QTest::newRow("truncated") << "short.vok" << QByteArray::fromStdString(good.substr(0, cut))
                               << "There was an error opening the file: line 19: the file ends "
                                  "inside the Nodes section";
}

void TestCli::unreadableModels() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QString path = dir_.filePath(name);
    if (!content.isEmpty()) write(name.toUtf8().constData(), content.toStdString());
    const Run run = runCli({"report", path});
    QCOMPARE(run.status, 1);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.err, message + "\n");
}

void TestCli::failedAnalysis() {
    // Node 2 is free across the bar: an exact mechanism.
    std::string text = unitBarFile(1, false);
    const std::string model = write("mechanism.vok", text);
    const Run run = runCli({"report", QString::fromStdString(model)});
    QCOMPARE(run.status, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.contains(", Termination: "));
    QVERIFY(
        run.err.endsWith("An error occured during the analysis process. Make sure that the "
                         "structure is well defined (not a mechanism) and can be "
                         "analyzed.\n"));
}

void TestCli::unconnectedNodeIsKept() {
    // The command line answers No to deleting an unconnected node; held by springs it
    // analyses and is reported.
    Harness h;
    Model& m = h.app.model;
    addNode(m, 0, 0, 1, 1);
    addNode(m, 1, 0, 0, 1);
    addNode(m, 5, 5);
    m.nodes.Kx[3] = m.nodes.Ky[3] = 10;
    m.nodes.Fy[3] = -1;
    addGroup(m, 1, 1);
    addElement(m, 1, 2);
    const std::string model = write("loose.vok", modelFileText(m, h.app.settings, h.app.view));
    const Run run = runCli({"report", "--sections", "2", QString::fromStdString(model)});
    QCOMPARE(run.status, 0);
    QVERIFY(
        run.err.contains("\nNode #3 is not connected to other nodes with elements and "
                         "could probably cause problems to the solution process.\n"));
    QVERIFY(run.out.contains("\r\n3        0                       -0.1"));
}

void TestCli::mechanismWarnsButSucceeds() {
    const std::string model = write("soft.vok", unitBarFile(2e7f, true));
    const Run run = runCli({"report", "--sections", "2", QString::fromStdString(model)});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.startsWith("Node displacements"));
    QVERIFY(
        run.err.contains("\nThe analysis has been carried out successfully, yet some of the "
                         "resultant displacements have excessive values. The structure is "
                         "probably a mechanism.\nmax.(u) = u(3) = 20000000\n"));
}

void TestCli::unwritableOutput() {
    const std::string model = write("bar.vok", unitBarFile(2, true));
    const QString output = dir_.filePath("no-folder/out.txt");
    const Run run = runCli({"report", QString::fromStdString(model), "--output", output});
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.endsWith("There was an error saving the file: No such file or directory\n"));
}

void TestCli::usage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("stdoutStart");
    QTest::newRow("nothing") << QStringList{} << 64 << "";
    QTest::newRow("unknown command") << QStringList{"draw"} << 64 << "";
    QTest::newRow("no model") << QStringList{"report"} << 64 << "";
    QTest::newRow("two models") << QStringList{"report", "a.vok", "b.vok"} << 64 << "";
    QTest::newRow("bad sections") << QStringList{"report", "a.vok", "--sections", "15"} << 64 << "";
    QTest::newRow("missing value") << QStringList{"report", "a.vok", "--output"} << 64 << "";
    QTest::newRow("unknown option") << QStringList{"report", "a.vok", "--fast"} << 64 << "";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: vortak-cli report";
    QTest::newRow("report help") << QStringList{"report", "--help"} << 0
                                 << "Usage: vortak-cli report";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "vortak-cli 1.0.0\n";
    QTest::newRow("render without output") << QStringList{"render", "a.vok"} << 64 << "";
    QTest::newRow("render to text") << QStringList{"render", "a.vok", "--output", "a.txt"} << 64
                                    << "";
    QTest::newRow("render bad view") << QStringList{"render", "a.vok", "--view", "x"} << 64 << "";
    QTest::newRow("render bad size") << QStringList{"render", "a.vok", "--size", "10x10"} << 64
                                     << "";
    QTest::newRow("report takes no view") << QStringList{"report", "a.vok", "--view", "n"} << 64
                                          << "";
}

void TestCli::usage() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, stdoutStart);
    const Run run = runCli(args);
    QCOMPARE(run.status, status);
    if (status == 64) {
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith("vortak-cli: "));
        QVERIFY(run.err.contains("Try 'vortak-cli --help'"));
    } else {
        QVERIFY(QString::fromUtf8(run.out).startsWith(stdoutStart));
        QVERIFY(run.err.isEmpty());
    }
}

void TestCli::renderFormats_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QSize>("size");
    QTest::newRow("model as PNG") << "model.png" << QStringList{} << QSize(1600, 1000);
    QTest::newRow("diagram as BMP") << "n.BMP" << QStringList{"--view", "n", "--size", "640x480"}
                                    << QSize(640, 480);
    QTest::newRow("colours as SVG") << "colour.svg" << QStringList{"--view", "colour"} << QSize();
    QTest::newRow("deformed, stored view") << "deformed.png"
                                           << QStringList{"--view", "deformed", "--keep-view"}
                                           << QSize(1600, 1000);
}

void TestCli::renderFormats() {
    QFETCH(QString, file);
    QFETCH(QStringList, options);
    QFETCH(QSize, size);
    const QString output = dir_.filePath(file);
    const QString model = QStringLiteral(VORTAK_EXAMPLES_DIR "/wall-cantilever.vok");
    const Run run = runCli(QStringList{"render", model, "--output", output} + options);
    QCOMPARE(run.status, 0);
    QFile written(output);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    if (size.isValid()) {
        QImage image;
        QVERIFY(image.loadFromData(bytes));
        QCOMPARE(image.size(), size);
        // Something was drawn on the white background.
        int coloured = 0;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2) coloured += image.pixel(x, y) != 0xFFFFFFFF;
        }
        QVERIFY(coloured > 500);
    } else {
        QVERIFY(bytes.startsWith("<?xml"));
        QVERIFY(bytes.contains("width=\"42.3333cm\""));
        QVERIFY(bytes.contains(">Tension</text>"));
    }
}

void TestCli::renderFailures() {
    const std::string mechanism = write("mech.vok", unitBarFile(1, false));
    const QString output = dir_.filePath("out.png");
    Run run = runCli({"render", QString::fromStdString(mechanism), "--view", "n", "--output",
                      output});
    QCOMPARE(run.status, 2);
    QVERIFY(!QFile::exists(output));
    // The model view needs no analysis.
    run = runCli({"render", QString::fromStdString(mechanism), "--output", output});
    QCOMPARE(run.status, 0);
    run = runCli({"render", dir_.filePath("none.vok"), "--output", output});
    QCOMPARE(run.status, 1);
    run = runCli({"render", QString::fromStdString(mechanism), "--output",
                  dir_.filePath("no-folder/out.svg")});
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.endsWith("There was an error saving the file: No such file or directory\n"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
