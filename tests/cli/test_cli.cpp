#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fstream>
#include <functional>

#include "../core/test_support.h"
#include "analysis/result_values.h"
#include "app/analysis_run.h"
#include "app/file_commands.h"
#include "base/number_text.h"
#include "model/model_file.h"
#include "report/report.h"

using namespace vortak::test;

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QString err;
};

// Runs the tool in `folder` on `input`; `whileRunning` sees it started, before its input.
Run runCli(const QStringList& args, const QByteArray& input = {}, const QString& folder = {},
           const std::function<void(QProcess&)>& whileRunning = {}) {
    QProcess process;
    if (!folder.isEmpty()) process.setWorkingDirectory(folder);
    process.start(QStringLiteral(VORTAK_CLI), args);
    if (whileRunning && process.waitForStarted()) whileRunning(process);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) return {};
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

// The unit bar pulled by 2 (its free end moves by exactly that), changed by `change`.
std::string barFile(void (*change)(Model&) = [](Model&) {}) {
    Harness h;
    addBar(h.app.model, 1);
    h.app.model.nodes.Fx[2] = 2;
    change(h.app.model);
    return fileText(h.app);
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
    void initTestCase() {
        // Unpinned, the bar is a mechanism; the loose node is held by springs only and joined
        // to nothing; the far node lies beyond the coordinate range; no scale a view can hold
        // shows a bar from -1E+38 to 1E+38 whole.
        const std::pair<const char*, std::string> files[] = {
            {"bar.vok", barFile()},
            {"mechanism.vok", barFile([](Model& m) { m.nodes.cy[2] = 0; })},
            {"soft.vok", barFile([](Model& m) { m.nodes.Fx[2] = 2e7f; })},
            {"loose.vok", barFile([](Model& m) {
                 addNode(m, 5, 5);
                 m.nodes.Kx[3] = m.nodes.Ky[3] = 10;
                 m.nodes.Fy[3] = -1;
             })},
            {"stress.vok", barFile([](Model& m) {
                 m.setGroup(1, {1e305, 1e-300});
                 m.nodes.Fx[2] = 1e10f;
             })},
            {"far.vok", barFile([](Model& m) { m.nodes.x[1] = -3e38f; })},
            {"huge.vok", barFile([](Model& m) {
                 m.nodes.x[1] = -1e38f;
                 m.nodes.x[2] = 1e38f;
             })}};
        for (const auto& [name, text] : files)
            std::ofstream(path(name).toStdString(), std::ios::binary) << text;
    }

    // The report is the program's own, for a model on standard input or named. The report
    // path maps no toolkit library: read from the tool's own maps while it waits for input.
    void reportsLikeTheProgram() {
        const QString model = QStringLiteral(VORTAK_EXAMPLES_DIR "/pratt-bridge.vok");
        const std::string expected = expectedReport(model.toStdString(), "1234");
        QByteArray mapped;
        Run run = runCli({"report", "-"}, contents(model), {}, [&mapped](QProcess& process) {
            QTest::qWait(200);
            mapped = contents(QString("/proc/%1/maps").arg(process.processId()));
        });
        QVERIFY(mapped.contains("vortak-cli") && !mapped.contains("libQt"));
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.toStdString(), expected);
        // The same model named on the command line.
        run = runCli({"report", model});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.toStdString(), expected);
        // The message log goes to standard error, a line for each line of the log.
        QVERIFY(run.err.startsWith("Open file: " + model + "\n") && run.err.endsWith(" sec\n"));
        // Chosen sections, in the report's own order, to a file.
        run = runCli({"report", "--sections", "31", path("bar.vok"), "--output", path("bar.txt")});
        QVERIFY(run.status == 0 && run.out.isEmpty());  // the report went to the file only
        QCOMPARE(contents(path("bar.txt")).toStdString(),
                 expectedReport(path("bar.vok").toStdString(), "13"));
    }

    // JSON read back by a real parser agrees with the report's numbers to the report's
    // precision; every number reads back as a double the report prints the same. The truss
    // rests on a pin and a spring bearing, which both push up.
    void jsonAgreesWithTheReport() {
        const QString model = QStringLiteral(VORTAK_EXAMPLES_DIR "/fink-roof-on-spring.vok");
        const Run run = runCli({"results", "--format", "json", model});
        QCOMPARE(run.status, 0);
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(run.out, &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
        QVERIFY(o["format"].toInt() == 1 && o["status"].toString() == "ok");
        QVERIFY(!o["mechanism"].toObject()["warning"].toBool());
        Harness h;
        ReadModelFile(h.app, model.toStdString());
        Button_Epilisi(h.app);
        const Model& m = h.app.model;
        const QJsonArray nodes = o["nodes"].toArray(), elements = o["elements"].toArray();
        QCOMPARE(nodes.size(), m.nodeCount);
        QCOMPARE(elements.size(), m.elementCount);
        for (int n = 1; n <= m.nodeCount; ++n) {
            const QJsonObject node = nodes[n - 1].toObject();
            QCOMPARE(node["ux"].toDouble(), m.results.D[2 * n - 1]);  // bit for bit
            QCOMPARE(general(node["total"].toDouble()), general(totalDisplacement(m, n)));
        }
        for (int e = 1; e <= m.elementCount; ++e) {
            const QJsonObject element = elements[e - 1].toObject();
            QCOMPARE(classic(element["N"].toDouble()), classic(axialForce(m, e)));
            QCOMPARE(classic(element["strain"].toDouble()), classic(axialStrain(m, e)));
        }
        // The reactions as the report's section 4: both bearings push the roof up by 18.
        const QJsonArray reactions = o["reactions"].toArray();
        QCOMPARE(reactions.size(), 2);
        QCOMPARE(reactions[1].toObject()["FyFrom"].toString(), QString("spring"));
        QVERIFY(reactions[1].toObject()["Fx"].isNull());
        for (const auto& r : reactions)
            QVERIFY(std::fabs(r.toObject()["Fy"].toDouble() - 18) < 1e-9);
        const QJsonObject minN = o["extremes"].toObject()["minN"].toObject();
        QCOMPARE(minN["value"].toDouble(), m.results.extremes[kMinN]);
        QCOMPARE(axialForce(m, minN["element"].toInt()), m.results.extremes[kMinN]);
        // The report's reactions, the spring's included, balance the loads it lists.
        const Run report = runCli({"report", "--sections", "14", model});
        QCOMPARE(report.status, 0);
        const QStringList lines = QString::fromUtf8(report.out).split("\r\n");
        double sum[2] = {0, 0};
        int rows = 0;
        for (const char* table : {"Nodal loads", "Constraint-Spring reactions"}) {
            // The rows follow the table's title, an empty line, the header and the dashes.
            for (qsizetype k = lines.indexOf(table) + 4; k < lines.size() && !lines[k].isEmpty();
                 ++k) {
                for (int axis : {0, 1}) sum[axis] += lines[k].mid(8 + 25 * axis, 25).toDouble();
                ++rows;
            }
        }
        QCOMPARE(rows, 5 + 2);
        QVERIFY2(std::fabs(sum[0]) < 1e-9 && std::fabs(sum[1]) < 1e-9,
                 qPrintable(QString("%1 %2").arg(sum[0]).arg(sum[1])));
    }

    // A batch goes on past a model that fails: its JSON object has its status and message
    // and no numbers, the CSV none of its rows, and the exit status is the worst of them.
    void batchWithFailures() {
        const QStringList models{path("bar.vok"), path("mechanism.vok"), path("far.vok")};
        Run run = runCli(QStringList{"results", "--format", "json"} + models);
        QCOMPARE(run.status, 2);
        const QJsonArray all = QJsonDocument::fromJson(run.out).array();
        QCOMPARE(all.size(), 3);
        const QStringList statuses{"ok", "analysis-failed", "read-failed"};
        for (int k = 0; k < 3; ++k) {
            const QJsonObject o = all[k].toObject();
            QCOMPARE(o["status"].toString(), statuses[k]);
            QCOMPARE(o.contains("nodes"), k == 0);
            QCOMPARE(o["message"].toString().isEmpty(), k == 0);
        }
        QVERIFY(all[2].toObject()["message"].toString().contains("line 18: the x coordinate"));
        // Each log line names its model.
        for (const QString& line : run.err.split('\n', Qt::SkipEmptyParts))
            QVERIFY2(line.startsWith(dir_.path()), qPrintable(line));
        // CSV from standard input and a file, to a folder: a table per model, a header each.
        run = runCli({"results", "--format", "csv", "--table", "elements", "--output-dir",
                      path("csv"), "-", path("mechanism.vok")},
                     contents(path("bar.vok")));
        QCOMPARE(run.status, 2);
        const QStringList rows = QString(contents(path("csv/stdin.csv"))).split("\r\n");
        QCOMPARE(rows, (QStringList{"model,element,N,stress,strain,length", "-,1,2,2,2,1", ""}));
        QCOMPARE(QString(contents(path("csv/mechanism.csv"))),
                 QString("model,element,N,stress,strain,length\r\n"));
        // Reports of a batch go to a folder, one file each; the failed model writes none.
        run = runCli({"report", "--output-dir", path("reports"), path("bar.vok"), path("far.vok")});
        QCOMPARE(run.status, 1);
        QCOMPARE(contents(path("reports/bar.txt")).toStdString(),
                 expectedReport(path("bar.vok").toStdString(), "1234"));
        QVERIFY(!QFile::exists(path("reports/far.txt")));
        // Pictures of a batch, in the format asked for; "--" lets a name start with a dash.
        QVERIFY(QFile::copy(path("bar.vok"), path("-dash.vok")));
        run = runCli({"render", "--format", "png", "--size", "320x240", "--output-dir", "pictures",
                      "loose.vok", "--", "-dash.vok"},
                     {}, dir_.path());
        QCOMPARE(run.status, 0);
        for (const char* name : {"pictures/loose.png", "pictures/-dash.png"})
            QCOMPARE(QImage(path(name)).size(), QSize(320, 240));
    }

    void outcomes_data() {
        // args: file names in the test folder
        // out: text that standard output holds
        // err: text that standard error holds
        columns<QStringList, int, QString, QString, QByteArray>("args", "status", "out", "err",
                                                                "input");
        const auto row = [](const char* name, const QStringList& args, int status,
                            const QString& err, const QString& out = "",
                            const QByteArray& input = {}) {
            QTest::newRow(name) << args << status << out << err << input;
        };
        const QString unsaved = "error saving the file: No such file or directory (";
        row("wrong usage", {"draw"}, 64,
            "vortak-cli: unknown command 'draw'\nTry 'vortak-cli --help' for more information.\n");
        row("missing model", {"report", "none.vok"}, 1,
            "error opening the file: No such file or directory\n");
        row("analysis fails", {"report", "mechanism.vok"}, 2, "and can be analyzed.\n");
        row("report unwritable", {"report", "bar.vok", "--output", "no/r.txt"}, 1, unsaved);
        row("picture unwritable", {"render", "bar.vok", "--output", "no/p.svg"}, 1, unsaved);
        // The command line answers No to deleting an unconnected node; held by springs it
        // analyses and is reported.
        row("unconnected node kept", {"report", "--sections", "2", "loose.vok"}, 0,
            "\nNode #3 is not connected", "-0.1");
        // The largest displacement is only in the warning box, and is printed after the log.
        row("mechanism warning", {"report", "soft.vok"}, 0,
            "mechanism.\nmax.(u) = u(3) = 20000000\n");
        // Results that would be infinite fail the analysis, naming where; failures name the
        // model first.
        row("stress overflows", {"report", "stress.vok"}, 2,
            "stress.vok: The axial stress of element #1 is too large to be represented.\n");
        row("truss too large to fit", {"render", "huge.vok", "--output", "huge.svg"}, 1,
            "vortak-cli: the truss is too large to be shown whole in a picture of 1600x1000 "
            "pixels\n");
        row("the model view needs no analysis",
            {"render", "mechanism.vok", "--output", "model.png"}, 0, "");
        // Standard input is held to the size bound of a model file: up to it a model reads
        // (what follows the end line is not read), one byte more is refused.
        const std::string bar = barFile();
        const QByteArray input =
            QByteArray::fromStdString(bar + std::string(kMaxModelFileBytes - bar.size(), '\n'));
        row("standard input at the bound", {"report", "-"}, 0, "", "Nodal loads", input);
        row("standard input past the bound", {"report", "-"}, 1,
            "-: There was an error opening the file: the file is larger than 4 MiB, too large "
            "for a model file\n",
            "", input + '\n');
    }

    void outcomes() {
        auto [args, status, out, err, input] =
            fetch<QStringList, int, QString, QString, QByteArray>("args", "status", "out", "err",
                                                                  "input");
        for (QString& arg : args)
            if (arg.contains('.')) arg = path(arg);
        const Run run = runCli(args, input);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        QVERIFY(QString::fromUtf8(run.out).contains(out));
        if (status != 0) QVERIFY(run.out.isEmpty());
    }

    void renderFormats_data() {
        // size: invalid: SVG
        columns<QString, QStringList, QSize>("file", "options", "size");
        QTest::newRow("diagram as BMP")
            << "n.BMP" << QStringList{"--view", "n", "--size", "640x480"} << QSize(640, 480);
        QTest::newRow("colours as SVG")
            << "colour.svg" << QStringList{"--view", "colour"} << QSize();
        QTest::newRow("deformed, stored view")
            << "deformed.png" << QStringList{"--view", "deformed", "--keep-view"}
            << QSize(1600, 1000);
    }

    void renderFormats() {
        const auto [file, options, size] =
            fetch<QString, QStringList, QSize>("file", "options", "size");
        const QString model = QStringLiteral(VORTAK_EXAMPLES_DIR "/wall-cantilever.vok");
        const Run run = runCli(QStringList{"render", model, "--output", path(file)} + options);
        QCOMPARE(run.status, 0);
        const QByteArray bytes = contents(path(file));
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

private:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
