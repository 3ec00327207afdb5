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

// The unit bar pulled by P: the free end moves by exactly P; unpinned, it is a mechanism.
// A loose node is held by springs only and joined to nothing.
std::string unitBarFile(float P, bool pinnedY, bool looseNode = false) {
    Harness h;
    Model& m = h.app.model;
    addNode(m, 0, 0, 1, 1);
    addNode(m, 1, 0, 0, pinnedY ? 1 : 0);
    addGroup(m, 1, 1);
    addElement(m, 1, 2);
    m.nodes.Fx[2] = P;
    if (looseNode) {
        addNode(m, 5, 5);
        m.nodes.Kx[3] = m.nodes.Ky[3] = 10;
        m.nodes.Fy[3] = -1;
    }
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
    void initTestCase();
    void reportsLikeTheProgram();
    void outcomes_data();
    void outcomes();
    void usage_data();
    void usage();
    void renderFormats_data();
    void renderFormats();

private:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

void TestCli::initTestCase() {
    QVERIFY(dir_.isValid());
    // The first 18 lines of a good file: the header, one group and the start of node 1.
    const std::string good = unitBarFile(1, true);
    std::size_t cut = 0;
    for (int line = 0; line < 18; ++line) cut = good.find("\r\n", cut) + 2;
    const std::pair<const char*, std::string> files[] = {{"bar.vok", unitBarFile(2, true)},
                                                         {"mechanism.vok", unitBarFile(1, false)},
                                                         {"soft.vok", unitBarFile(2e7f, true)},
                                                         {"loose.vok", unitBarFile(1, true, true)},
                                                         {"notes.vok", "hello\r\n"},
                                                         {"short.vok", good.substr(0, cut)}};
    for (const auto& [name, text] : files)
        std::ofstream(path(name).toStdString(), std::ios::binary) << text;
}

void TestCli::reportsLikeTheProgram() {
    const QString model = QStringLiteral(VORTAK_EXAMPLES_DIR "/pratt-bridge.vok");
    Run run = runCli({"report", model});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out.toStdString(), expectedReport(model.toStdString(), "1234"));
    QVERIFY(run.err.startsWith("Open file: " + model + "\n"));
    QVERIFY(run.err.contains("\nANALYSIS\nStart:  ") && run.err.contains("\nFinish:  "));
    QVERIFY(run.err.contains("\nTotal time:  ") && run.err.endsWith(" sec\n"));

    // Chosen sections, in the report's own order, to a file.
    run = runCli({"report", "--sections", "31", path("bar.vok"), "--output", path("bar.txt")});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.isEmpty());
    QFile file(path("bar.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toStdString(), expectedReport(path("bar.vok").toStdString(), "13"));
}

void TestCli::outcomes_data() {
    QTest::addColumn<QStringList>("args");  // file names in the test folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err");  // how standard error ends; on success, a part of it
    QTest::addColumn<QString>("out");  // a part of standard output
    const QString missing = "There was an error opening the file: No such file or directory\n";
    const QString unsaved = "There was an error saving the file: No such file or directory\n";
    const QString failed =
        "An error occured during the analysis process. Make sure that the structure is well "
        "defined (not a mechanism) and can be analyzed.\n";
    QTest::newRow("missing model") << QStringList{"report", "none.vok"} << 1 << missing << "";
    QTest::newRow("not a model")
        << QStringList{"report", "notes.vok"} << 1
        << "There was an error opening the file. The file could not be read.\n"
        << "";
    QTest::newRow("truncated model")
        << QStringList{"report", "short.vok"} << 1
        << "There was an error opening the file: line 19: the file ends inside the Nodes section\n"
        << "";
    QTest::newRow("mechanism") << QStringList{"report", "mechanism.vok"} << 2 << failed << "";
    QTest::newRow("unwritable report")
        << QStringList{"report", "bar.vok", "--output", "no-folder/out.txt"} << 1 << unsaved << "";
    // The command line answers No to deleting an unconnected node; held by springs it
    // analyses and is reported.
    QTest::newRow("unconnected node kept")
        << QStringList{"report", "--sections", "2", "loose.vok"} << 0
        << "\nNode #3 is not connected to other nodes with elements and could probably cause "
           "problems to the solution process.\n"
        << "\r\n3        0                       -0.1";
    QTest::newRow("mechanism warning")
        << QStringList{"report", "--sections", "2", "soft.vok"} << 0
        << "\nThe analysis has been carried out successfully, yet some of the resultant "
           "displacements have excessive values. The structure is probably a mechanism.\n"
           "max.(u) = u(3) = 20000000\n"
        << "Node displacements";
    QTest::newRow("render, analysis fails")
        << QStringList{"render", "mechanism.vok", "--view", "n", "--output", "n.png"} << 2 << failed
        << "";
    QTest::newRow("render, the model needs no analysis")
        << QStringList{"render", "mechanism.vok", "--output", "model.png"} << 0 << ""
        << "";
    QTest::newRow("render, unwritable")
        << QStringList{"render", "bar.vok", "--output", "no-folder/out.svg"} << 1 << unsaved << "";
}

void TestCli::outcomes() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, err);
    QFETCH(QString, out);
    for (QString& arg : args) {
        if (arg.contains('.')) arg = path(arg);
    }
    const Run run = runCli(args);
    QCOMPARE(run.status, status);
    QVERIFY2(status == 0 ? run.err.contains(err) : run.err.endsWith(err), qPrintable(run.err));
    QVERIFY(QString::fromUtf8(run.out).contains(out));
    if (status == 0) return;
    QVERIFY(run.out.isEmpty());
    const qsizetype output = args.indexOf("--output");
    if (output > 0) QVERIFY(!QFile::exists(args[output + 1]));  // nothing from a failed run
}

void TestCli::usage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");  // 64: the problem named; 0: how the output starts
    QTest::newRow("nothing") << QStringList{} << 64 << "no command given";
    QTest::newRow("unknown command") << QStringList{"draw"} << 64 << "unknown command 'draw'";
    QTest::newRow("no model") << QStringList{"report"} << 64 << "no model file given";
    QTest::newRow("two models") << QStringList{"report", "a.vok", "b.vok"} << 64
                                << "more than one model file given";
    QTest::newRow("bad sections") << QStringList{"report", "a.vok", "--sections", "15"} << 64
                                  << "--sections takes digits from 1234, not '15'";
    QTest::newRow("missing value")
        << QStringList{"report", "a.vok", "--output"} << 64 << "--output needs a value";
    QTest::newRow("report takes no view")
        << QStringList{"report", "a.vok", "--view", "n"} << 64 << "unknown option '--view'";
    QTest::newRow("render without output")
        << QStringList{"render", "a.vok"} << 64 << "render needs --output FILE";
    QTest::newRow("render to text") << QStringList{"render", "a.vok", "--output", "a.txt"} << 64
                                    << "the output file name must end in .svg, .png or .bmp";
    QTest::newRow("render bad view") << QStringList{"render", "a.vok", "--view", "x"} << 64
                                     << "--view takes model, n, colour or deformed, not 'x'";
    QTest::newRow("render bad size")
        << QStringList{"render", "a.vok", "--size", "10x10"} << 64
        << "--size takes WIDTHxHEIGHT in pixels (16 to 16000), not '10x10'";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: vortak-cli report";
    QTest::newRow("report help") << QStringList{"report", "--help"} << 0
                                 << "Usage: vortak-cli report";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "vortak-cli 1.0.0\n";
}

void TestCli::usage() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, text);
    const Run run = runCli(args);
    QCOMPARE(run.status, status);
    const QString out = QString::fromUtf8(run.out);
    if (status == 0)
        QVERIFY(out.startsWith(text) && run.err.isEmpty());
    else
        QCOMPARE(out + run.err,
                 "vortak-cli: " + text + "\nTry 'vortak-cli --help' for more information.\n");
}

void TestCli::renderFormats_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QSize>("size");  // invalid: SVG
    QTest::newRow("diagram as BMP")
        << "n.BMP" << QStringList{"--view", "n", "--size", "640x480"} << QSize(640, 480);
    QTest::newRow("colours as SVG") << "colour.svg" << QStringList{"--view", "colour"} << QSize();
    QTest::newRow("deformed, stored view")
        << "deformed.png" << QStringList{"--view", "deformed", "--keep-view"} << QSize(1600, 1000);
}

void TestCli::renderFormats() {
    QFETCH(QString, file);
    QFETCH(QStringList, options);
    QFETCH(QSize, size);
    const QString model = QStringLiteral(VORTAK_EXAMPLES_DIR "/wall-cantilever.vok");
    const Run run = runCli(QStringList{"render", model, "--output", path(file)} + options);
    QCOMPARE(run.status, 0);
    QFile written(path(file));
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    if (!size.isValid()) {
        QVERIFY(bytes.startsWith("<?xml") && bytes.contains("width=\"42.3333cm\""));
        QVERIFY(bytes.contains(">Tension</text>"));
        return;
    }
    QImage image;
    QVERIFY(image.loadFromData(bytes));
    QCOMPARE(image.size(), size);
    int coloured = 0;  // something drawn on the white background
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) coloured += image.pixel(x, y) != 0xFFFFFFFF;
    }
    QVERIFY(coloured > 500);
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
