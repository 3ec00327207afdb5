#include <QtTest>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <fstream>

#include "../core/test_support.h"
#include "app/analysis_run.h"
#include "app/file_commands.h"
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
std::string unitBarFile(float P, bool pinnedY, bool looseNode = false, double E = 1, double A = 1) {
    Harness h;
    Model& m = h.app.model;
    addNode(m, 0, 0, 1, 1);
    addNode(m, 1, 0, 0, pinnedY ? 1 : 0);
    addGroup(m, E, A);
    addElement(m, 1, 2);
    m.nodes.Fx[2] = P;
    if (looseNode) {
        addNode(m, 5, 5);
        m.nodes.Kx[3] = m.nodes.Ky[3] = 10;
        m.nodes.Fy[3] = -1;
    }
    return modelFileText(m, h.app.settings, h.app.view);
}

// A bar from x = -1E+38 to 1E+38: no scale a view can hold shows it whole.
std::string hugeBarFile() {
    Harness h;
    Model& m = h.app.model;
    addNode(m, -1e38f, 0, 1, 1);
    addNode(m, 1e38f, 0, 0, 1);
    addGroup(m, 1, 1);
    addElement(m, 1, 2);
    return modelFileText(m, h.app.settings, h.app.view);
}

// The unit bar's file with a hand edit: the text `from` replaced by `to`.
std::string editedBarFile(const std::string& from, const std::string& to) {
    std::string text = unitBarFile(2, true);
    text.replace(text.find(from), from.size(), to);
    return text;
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
    void reportedReactionsBalanceTheLoads();
    void outcomes_data();
    void outcomes();
    void renderFormats_data();
    void renderFormats();

private:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

void TestCli::initTestCase() {
    const std::pair<const char*, std::string> files[] = {
        {"bar.vok", unitBarFile(2, true)},
        {"mechanism.vok", unitBarFile(1, false)},
        {"soft.vok", unitBarFile(2e7f, true)},
        {"loose.vok", unitBarFile(1, true, true)},
        {"stress.vok", unitBarFile(1e10f, true, false, 1e305, 1e-300)},
        {"limp.vok", unitBarFile(2, true, false, 1e-300)},
        {"subnormal.vok", unitBarFile(2, true, false, 1, 5e-324)},
        {"far.vok",
         editedBarFile("Nodes\r\n2\r\n\r\n1\r\n0\r\n", "Nodes\r\n2\r\n\r\n1\r\n-3E+38\r\n")},
        {"huge.vok", hugeBarFile()},
        {"spring.vok", editedBarFile("Springs\r\n0\r\n", "Springs\r\n1\r\n2\r\n-1.9\r\n0\r\n")}};
    for (const auto& [name, text] : files)
        std::ofstream(path(name).toStdString(), std::ios::binary) << text;
}

void TestCli::reportsLikeTheProgram() {
    const QString model = QStringLiteral(VORTAK_EXAMPLES_DIR "/pratt-bridge.vok");
    Run run = runCli({"report", model});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out.toStdString(), expectedReport(model.toStdString(), "1234"));
    // The message log goes to standard error, a line for each line of the log.
    QVERIFY(run.err.startsWith("Open file: " + model + "\n") && run.err.endsWith(" sec\n"));
    // Chosen sections, in the report's own order, to a file.
    run = runCli({"report", "--sections", "31", path("bar.vok"), "--output", path("bar.txt")});
    QVERIFY(run.status == 0 && run.out.isEmpty());  // the report went to the file only
    QFile file(path("bar.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toStdString(), expectedReport(path("bar.vok").toStdString(), "13"));
}

// The reactions of the report, springs included, and the loads it lists are in
// equilibrium: on the roof truss that rests on a pin and a spring bearing both push up.
void TestCli::reportedReactionsBalanceTheLoads() {
    const Run run =
        runCli({"report", "--sections", "14", VORTAK_EXAMPLES_DIR "/fink-roof-on-spring.vok"});
    QCOMPARE(run.status, 0);
    const QStringList lines = QString::fromUtf8(run.out).split("\r\n");
    double sum[2] = {0, 0};
    int rows = 0;
    for (const char* table : {"Nodal loads", "Constraint-Spring reactions"}) {
        // The rows follow the table's title, an empty line, the header and the dashes.
        for (qsizetype k = lines.indexOf(table) + 4; k < lines.size() && !lines[k].isEmpty(); ++k) {
            for (int axis : {0, 1}) sum[axis] += lines[k].mid(8 + 25 * axis, 25).toDouble();
            ++rows;
        }
    }
    QCOMPARE(rows, 5 + 2);
    QVERIFY2(std::fabs(sum[0]) < 1e-9 && std::fabs(sum[1]) < 1e-9,
             qPrintable(QString("%1 %2").arg(sum[0]).arg(sum[1])));
}

void TestCli::outcomes_data() {
    QTest::addColumn<QStringList>("args");  // file names in the test folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");  // a part of standard output
    QTest::addColumn<QString>("err");  // how standard error ends; on success, a part of it
    const QString none, unsaved = "error saving the file: No such file or directory\n";
    QTest::newRow("wrong usage")
        << QStringList{"draw"} << 64 << none
        << "vortak-cli: unknown command 'draw'\nTry 'vortak-cli --help' for more information.\n";
    QTest::newRow("missing model") << QStringList{"report", "none.vok"} << 1 << none
                                   << "error opening the file: No such file or directory\n";
    QTest::newRow("analysis fails")
        << QStringList{"report", "mechanism.vok"} << 2 << none << "and can be analyzed.\n";
    QTest::newRow("report unwritable")
        << QStringList{"report", "bar.vok", "--output", "no/r.txt"} << 1 << none << unsaved;
    QTest::newRow("picture unwritable")
        << QStringList{"render", "bar.vok", "--output", "no/p.svg"} << 1 << none << unsaved;
    // The command line answers No to deleting an unconnected node; held by springs it
    // analyses and is reported.
    QTest::newRow("unconnected node kept")
        << QStringList{"report", "--sections", "2", "loose.vok"} << 0 << "-0.1"
        << "\nNode #3 is not connected";
    // The largest displacement is only in the warning box, and is printed after the log.
    QTest::newRow("mechanism warning") << QStringList{"report", "soft.vok"} << 0 << none
                                       << "mechanism.\nmax.(u) = u(3) = 20000000\n";
    // Results that would be infinite fail the analysis, naming where; values no field can
    // hold are refused when the file is read.
    const QString failed =
        "An error occured during the analysis process. Make sure that the structure is well "
        "defined (not a mechanism) and can be analyzed.\n";
    QTest::newRow("stress overflows")
        << QStringList{"report", "stress.vok"} << 2 << none
        << "The axial stress of element #1 is too large to be represented.\n" + failed;
    QTest::newRow("displacement overflows")
        << QStringList{"report", "limp.vok"} << 2 << none
        << "The total displacement of node #2 is too large to be represented.\n" + failed;
    QTest::newRow("subnormal area") << QStringList{"report", "subnormal.vok"} << 1 << none
                                    << "'4.94065645841247E-324' is too small a non-zero number\n";
    QTest::newRow("node beyond the coordinate range")
        << QStringList{"report", "far.vok"} << 1 << none
        << "line 18: the x coordinate of node #1, '-3E+38', is outside the range -1E+38 to "
           "1E+38\n";
    QTest::newRow("negative spring")
        << QStringList{"report", "spring.vok"} << 1 << none
        << "line 44: node #2 has the spring constant Kx '-1.9'; spring constants cannot be "
           "negative\n";
    QTest::newRow("truss too large to fit")
        << QStringList{"render", "huge.vok", "--output", "huge.svg"} << 1 << none
        << "vortak-cli: the truss is too large to be shown whole in a picture of 1600x1000 "
           "pixels\n";
    QTest::newRow("the model view needs no analysis")
        << QStringList{"render", "mechanism.vok", "--output", "model.png"} << 0 << none << none;
}

void TestCli::outcomes() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    for (QString& arg : args)
        if (arg.contains('.')) arg = path(arg);
    const Run run = runCli(args);
    QCOMPARE(run.status, status);
    QVERIFY2(status == 0 ? run.err.contains(err) : run.err.endsWith(err), qPrintable(run.err));
    QVERIFY(QString::fromUtf8(run.out).contains(out));
    if (status != 0) QVERIFY(run.out.isEmpty());
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
        QVERIFY(bytes.contains("width=\"42.3333cm\"") && bytes.contains(">Tension</text>"));
        return;
    }
    const QImage image = QImage::fromData(bytes);
    QCOMPARE(image.size(), size);
    int coloured = 0;  // something drawn on the white background
    for (int k = 0; k < image.width() * image.height(); k += 4)
        coloured += image.pixel(k % image.width(), k / image.width()) != 0xFFFFFFFF;
    QVERIFY(coloured > 500);
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
