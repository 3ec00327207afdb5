#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <csignal>
#include <limits>
#include <random>
#include <thread>

#include "app/file_commands.h"
#include "base/file_io.h"
#include "base/number_text.h"
#include "model/field_limits.h"
#include "model/model_file.h"
#include "settings/settings_values.h"
#include "test_support.h"

using namespace vortak::test;

namespace {

const std::string kOpenError = "There was an error opening the file: ";
const std::string kNotAModel = "There was an error opening the file. The file could not be read.";

std::string joinLines(const QStringList& lines, const char* end = "\r\n") {
    return lines.join(end).toStdString();
}

QStringList fileLines(const AppState& a) {
    return QString::fromStdString(fileText(a)).split("\r\n");
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
    for (auto [i, j, g] : {std::array{1, 2, 1}, {2, 3, 2}, {1, 3, 1}, {3, 4, 2}})
        addElement(m, i, j, g);
    app.settings.kannab = 0.25f;
    app.settings.xroma_grid = kSystemColourFlag | 5u;
    app.view.scale = 37.5f;
    app.view.offsetY = 3.0 / 7.0;
}

struct TempFiles {
    QTemporaryDir dir;
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
};

// A fresh application holding the sample, and a folder for files.
struct Sample : TempFiles {
    Harness h;
    Sample() { buildSample(h.app); }
};

QStringList sampleLines() { return fileLines(Sample().h.app); }

// Replaces `from` by `to` in the file the model was saved to.
void editSaved(const AppState& app, const std::string& from, const std::string& to) {
    std::string text = contents(QString::fromStdString(app.model.fileName)).toStdString();
    writeFileAtomically(app.model.fileName, text.replace(text.find(from), from.size(), to));
}

using Change = void (*)(AppState&);

// Edge values first, then random values of the same kind over every magnitude (random bit
// patterns) that `keep` accepts.
template <typename T, typename Bits>
std::vector<T> pool(std::vector<T> values, std::mt19937_64& random, auto keep) {
    for (const std::size_t edges = values.size(); values.size() < edges + 2000;) {
        const T value = std::bit_cast<T>(static_cast<Bits>(random()));
        if (keep(value)) values.push_back(value);
    }
    return values;
}

template <typename T>
std::vector<T> withNegatives(std::vector<T> values) {
    for (std::size_t k = 0, n = values.size(); k < n; ++k) values.push_back(-values[k]);
    return values;
}

}  // namespace

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(Change)

class TestModelFile : public QObject {
    Q_OBJECT
private slots:
    void layout() {
        Harness h;
        Model& m = h.app.model;
        addGroup(m, 200, 0.01);
        addNode(m, 0, 0, 1, 1);
        addNode(m, 1, 0);
        addElement(m, 2, 1);
        m.nodes.Ky[1] = 5;   // written as 1, 0, 5
        m.nodes.Kx[2] = -1;  // not positive: no spring record
        const QString expected =
            "***********************************|*        Vortak Input file        *|"
            "***********************************|*        Do NOT Modify !!!        *|"
            "***********************************||Groups|1||1|200|0.01||Nodes|2||1|0|0|1|1|0|0||"
            "2|1|0|0|0|0|0||Elements|1||1|2|1|1||Springs|1|1|0|5|Settings|1|1|1|1|1|0|1|1|0|0|1|1|"
            "1|1|1|0|1|1|1|0|0|3|7|100|10000|0.0001|100|-2|2|1|100|100|-2147483634|8388608|"
            "14737632|0|16711680|41984|2852397|16711680|16711680|255|16777215|END of Vortak Input "
            "File|";
        QCOMPARE(fileLines(h.app), expected.split('|'));
    }

    void roundTrip() {
        Sample writer;
        const std::string path = writer.path("sample.vok");
        QCOMPARE(WriteModelFile(writer.h.app, path, false), FileOutcome::Done);
        QCOMPARE(writer.h.app.log.lastLine(), " Save file: " + path);
        // Read back in a lenient form: LF line ends, a quoted text field, a number written
        // differently, a record number out of place, and flags that are true only for the
        // number 1.
        QStringList lines = fileLines(writer.h.app);
        lines[6] = "\"Groups\"";
        lines[9] = "7";          // record number of group 1
        lines[10] = "  2.1e+8";  // E of group 1
        const qsizetype settings = lines.indexOf("Settings");
        lines[settings + 1] = "1.0";   // nai_aksones, on
        lines[settings + 6] = "-1";    // nai_sint_kombon, off
        lines[settings + 9] = "True";  // nai_omades, off
        writeFileAtomically(path, joinLines(lines, "\n"));

        Harness reader;
        reader.app.view.pushView();
        QCOMPARE(ReadModelFile(reader.app, path), FileOutcome::Done);
        // Numbers are written exactly, so equal texts mean every field was read back.
        QCOMPARE(fileText(reader.app), fileText(writer.h.app));
        QCOMPARE(reader.app.view.historyTop(), 0);  // an opened file starts a new zoom history
        QVERIFY(reader.app.model.changed);
        QCOMPARE(reader.app.log.lastLine(), " Open file: " + path);
    }

    void everyStorableValueRoundTrips() {
        std::mt19937_64 random(20261206);
        const auto floats = [&](std::vector<float> edges, auto keep) {
            return pool<float, std::uint32_t>(std::move(edges), random, keep);
        };
        const float belowLimit = std::nextafter(kMaxCoordinate, 0.0f);
        const float belowMax = std::nextafter(FLT_MAX, 0.0f);
        const auto coordinates = floats(
            withNegatives<float>({kMaxCoordinate, belowLimit, FLT_MIN, 0}), isStorableCoordinate);
        const auto loads =
            floats(withNegatives<float>({FLT_MAX, belowMax, FLT_MIN, 0}), fitsInFloat);
        const auto springs = floats({FLT_MAX, belowMax, FLT_MIN, 0}, isValidSpringConstant);
        const auto scales =
            floats({FLT_MAX, belowMax, FLT_MIN}, [](float v) { return fitsInFloat(v) && v > 0; });
        const auto viewScales = floats({FLT_MAX, belowMax, 1, std::nextafter(1.0f, 2.0f)},
                                       [](float v) { return fitsInFloat(v) && v >= 1; });
        const auto sections = pool<double, std::uint64_t>(
            {DBL_MAX, std::nextafter(DBL_MAX, 0.0), DBL_MIN}, random, isValidSectionValue);
        // View offsets come from pan and zoom arithmetic: any double up to the bound,
        // subnormal ones too.
        const auto offsets = pool<double, std::uint64_t>(
            withNegatives<double>(
                {kMaxViewOffset, DBL_MIN, std::numeric_limits<double>::denorm_min(), 0}),
            random, [](double v) { return std::fabs(v) <= kMaxViewOffset; });

        // Each model puts different values of the pools into every field of a full model.
        std::size_t next = 0;
        const auto take = [&next](const auto& pool) { return pool[next++ % pool.size()]; };
        for (int trial = 0; trial < 12; ++trial) {
            Harness h;
            Model& m = h.app.model;
            m.groupCount = kMaxGroups;
            for (int g = 1; g <= kMaxGroups; ++g) m.setGroup(g, {take(sections), take(sections)});
            m.nodeCount = kMaxNodes;
            for (int n = 1; n <= kMaxNodes; ++n)
                m.setNode(
                    n, Node{take(coordinates), take(coordinates), float(n % 2), float(n % 3 == 0),
                            take(loads), take(loads), take(springs), take(springs)});
            for (int e = 1; e <= kMaxElements; ++e)
                addElement(m, e % kMaxNodes + 1, (e * 7) % kMaxNodes + 1, e % kMaxGroups + 1);
            ViewSettings& v = h.app.settings;
            for (float ViewSettings::*f :
                 {&ViewSettings::Ena_cm_posa_FORCE, &ViewSettings::Ena_cm_posa_STRESS,
                  &ViewSettings::Ena_cm_posa_STRAIN, &ViewSettings::kannab,
                  &ViewSettings::Ena_cm_posa_m_epi_1000})
                v.*f = take(scales);
            h.app.view.scale = take(viewScales);
            h.app.view.offsetX = take(offsets);
            h.app.view.offsetY = take(offsets);

            const std::string text = fileText(h.app);
            const ParsedModelFile parsed = parseModelFile(text);
            QVERIFY2(parsed.content, parsed.error.description.c_str());
            const ModelFileContent& c = *parsed.content;
            QVERIFY(static_cast<const ModelTables&>(c.model) == static_cast<const ModelTables&>(m));
            QVERIFY(c.settings == v);
            QVERIFY(c.view.scale == h.app.view.scale && c.view.offsetX == h.app.view.offsetX &&
                    c.view.offsetY == h.app.view.offsetY);
            QCOMPARE(modelFileText(c.model, c.settings, c.view), text);
        }
    }

    // A number a dialog refuses for a field is refused in a file too, and one a dialog takes
    // is read: the coordinate, load, spring and section fields of a file, tried with texts
    // around every limit and at random magnitudes.
    void readerAndDialogsShareLimits() {
        const QStringList lines = sampleLines();
        std::vector<std::string> texts{"1e-400", "-1e-400", "1e400", "0", "-0", "abc"};
        const auto add = [&texts](double v) {
            texts.push_back(QString::number(v, 'G', 17).toStdString());
        };
        for (double v : withNegatives<double>(
                 {1e38, double(kMaxCoordinate), std::nextafter(double(kMaxCoordinate), 1e39),
                  1.5e38, double(FLT_MAX), 3.4028235e38, 0x1.ffffffp127,
                  std::nextafter(0x1.ffffffp127, 0.0), 3.5e38, double(FLT_MIN), 1.1754942e-38,
                  1e-45, 1e-50, DBL_MAX, DBL_MIN, 1e-310, 5e-324, 1, 0.1})) {
            add(v);
        }
        std::mt19937_64 random(7);
        std::uniform_real_distribution<double> exponent(-330, 330);
        for (int k = 0; k < 300; ++k) add((k % 2 ? -1 : 1) * std::pow(10.0, exponent(random)));

        // In the sample: x of node 1, Fx of node 1, Kx of node 2, E of group 1.
        const int fieldLines[] = {22, 26, 79, 11};
        bool (*const accepted[])(double) = {isStorableCoordinate, fitsInFloat,
                                            isValidSpringConstant, isValidSectionValue};
        for (int f = 0; f < 4; ++f) {
            for (const std::string& value : texts) {
                QStringList changed = lines;
                changed[fieldLines[f] - 1] = QString::fromStdString(value);
                const bool read = parseModelFile(joinLines(changed)).content.has_value();
                const bool numeric = leadingNumber(value).length == value.size();
                QVERIFY2(read == (numeric && accepted[f](readNumber(value))),
                         qPrintable(QString("line %1: %2").arg(fieldLines[f]).arg(value.c_str())));
            }
        }
    }

    void matchesFile_data() {
        columns<bool, Change>("matches", "change");
        auto row = [](const char* name, bool matches, Change change) {
            QTest::newRow(name) << matches << change;
        };
        row("unchanged", true, [](AppState&) {});
        row("E, last digit", false, [](AppState& a) { a.model.groups.E[2] *= 1.0000001; });
        row("untitled", false, [](AppState& a) { a.model.fileName.clear(); });
        row("file gone", false, [](AppState& a) { a.model.fileName += ".gone"; });
        row("no end line", false,
            [](AppState& a) { editSaved(a, "END of Vortak Input File", ""); });
        row("same value, other form", true,
            [](AppState& a) { editSaved(a, "\n4.25\r", "\n+4.25\r"); });
    }

    void matchesFile() {
        QFETCH(Change, change);
        Sample s;
        QCOMPARE(WriteModelFile(s.h.app, s.path("a.vok"), false), FileOutcome::Done);
        change(s.h.app);
        QTEST(ModelMatchesFile(s.h.app), "matches");
    }

    void readFailures_data() {
        // message: after the common opening; empty: not a model
        columns<std::string, std::string>("text", "message");
        // Sample lines: group count 8, E of group 1 at 11, node count 19, node 1 at 21..28,
        // element count 54, element 1 at 56..60, first spring record at 78.
        const QStringList lines = sampleLines();
        // `at`: the line the message names, when not the changed one.
        auto row = [&](int line, const char* value, const std::string& message, int at = 0) {
            QStringList changed = lines;
            changed[line - 1] = value;
            const std::string located = "line " + std::to_string(at ? at : line) + ": " + message;
            QTest::newRow(message.empty() ? value : located.c_str())
                << joinLines(changed) << (message.empty() ? message : located);
        };
        row(2, "*        Vortak Input File        *", "");
        row(31, "abc", "'abc' is not a number");
        row(22, "", "a number was expected but the line is empty");
        row(19, "-1", "the number of nodes cannot be -1");
        row(8, "51", "the number of E,A groups 51 is above the limit of 50");
        row(54, "2.5", "'2.5' is not a whole number");
        row(58, "5", "element #1 refers to node '5', which is not in the model (4 defined)");
        row(59, "3", "element #1 refers to group '3', which is not in the model (2 defined)");
        row(78, "7", "a spring record names node '7', which is not in the model (4 defined)");
        row(24, "0.5",
            "node #1 has the x constraint '0.5'; only 0 (free) and 1 (fixed) are possible");
        row(22, "1e39", "'1e39' is too large for a single-precision value");
        row(22, "3E+38",
            "the x coordinate of node #1, '3E+38', is outside the range -1E+38 to 1E+38");
        row(26, "1E-50", "'1E-50' is too small a non-zero value for a single-precision value");
        row(11, "0", "group #1 has E '0'; E and A must be positive");
        row(12, "5E-324", "'5E-324' is too small a non-zero number");
        row(79, "-1.9",
            "node #2 has the spring constant Kx '-1.9'; spring constants cannot be negative");
        row(11, "1e999", "'1e999' is too large a number");
        // The settings section: heading at line `st`, its values at st + 1 .. st + 43.
        const int st = int(lines.indexOf("Settings")) + 1;
        row(st + 27, "0.5", "'0.5' is not a valid view scale (1 up to 3.4E+38)");
        row(st + 28, "-1E+308",
            "'-1E+308' is not a valid horizontal view offset (-1E+38 to 1E+38)");
        row(st + 29, "1.0000001E+38",
            "'1.0000001E+38' is not a valid vertical view offset (-1E+38 to 1E+38)");
        row(st + 22, "2.5", "'2.5' is not a valid number of decimals for forces (0 to 13)");
        row(st + 3, "1,0",
            "the line holds more than one value ('0' follows a comma); every line holds one");
        row(st + 44, "END of Vortak Input File,", "the end line holds more than one value");
        row(st + 44, "0",
            "the Settings section has more than its 43 lines: the end line 'END of Vortak Input "
            "File' was expected here, but the line holds '0'");
        row(st, "Setting",
            "the line 'Settings' was expected here, but the line holds 'Setting'; the file does "
            "not follow its counts");
        row(13, "x",
            "an empty line was expected here, but the line holds 'x'; the file does not "
            "follow its counts");
        // A count one too small leaves a record where the next heading should be.
        row(8, "1",
            "the line 'Nodes' was expected here, but the line holds '2'; the file does not follow "
            "its counts",
            14);
        // A settings line too few, which used to shift every later value, and files cut short
        // (inside the header too: cut short, not another kind of file).
        QStringList missing = lines;
        missing.removeAt(st + 5);
        QTest::newRow("settings line missing")
            << joinLines(missing)
            << "line " + std::to_string(st + 43) +
                   ": the Settings section ends after 42 of its 43 lines";
        for (const auto& [kept, section] : {std::pair<int, const char*>{0, "header"},
                                            {3, "header"},
                                            {40, "Nodes"},
                                            {st + 43, "Settings"}}) {
            QTest::addRow("cut after %d lines", kept)
                << (kept ? joinLines(lines.mid(0, kept)) + "\r\n" : std::string())
                << "line " + std::to_string(kept + 1) + ": the file ends inside the " + section +
                       " section";
        }
    }

    void readFailures() {
        auto [text, message] = fetch<std::string, std::string>("text", "message");
        message = message.empty() ? kNotAModel : kOpenError + message;
        Sample files;
        Harness& h = files.h;
        h.app.model.fileName = "/somewhere/old.vok";
        const ViewSettings before = h.app.settings;
        writeFileAtomically(files.path("m.vok"), text);
        QCOMPARE(ReadModelFile(h.app, files.path("m.vok")), FileOutcome::Failed);
        QCOMPARE(h.prompter.questions().at(0).text, message);
        QCOMPARE(h.app.log.lastLine(), " " + message);
        const Model& m = h.app.model;
        QVERIFY(m.nodeCount + m.elementCount + m.groupCount == 0 && m.fileName.empty() &&
                m.changed);
        QVERIFY(h.app.settings == before);  // a refused file brings no display options
    }

    void saveDialogNames_data() {
        columns<std::string, std::string>("current", "proposed");
        QTest::newRow("untitled") << std::string() << std::string("Untitled");
        QTest::newRow("titled") << std::string("/x/old.vok") << std::string("/x/old");
        QTest::newRow("too short to strip") << std::string(".vo") << std::string(".vo");
    }

    void saveDialogNames() {
        QFETCH(std::string, current);
        TempFiles files;
        Harness h;
        h.app.model.fileName = current;
        h.prompter.queueFileName(files.path("bridge"));
        QCOMPARE(WriteModelFile(h.app, "", false), FileOutcome::Done);
        QTEST(h.prompter.questions().at(0).request.proposedName, "proposed");
        QCOMPARE(h.app.model.fileName, files.path("bridge.vok"));  // the extension is added
    }

    void failuresKeepTheDocument() {
        Sample files;
        Harness& h = files.h;
        h.app.model.fileName = files.path("kept.vok");
        // The file dialogs are cancelled: the prompter has no name to give.
        QCOMPARE(ReadModelFile(h.app, ""), FileOutcome::Cancelled);
        QCOMPARE(WriteModelFile(h.app, "", false), FileOutcome::Cancelled);
        QCOMPARE(WriteModelFile(h.app, files.path("quiet.vok"), true), FileOutcome::Done);
        QCOMPARE(h.app.model.nodeCount, 4);
        QVERIFY(h.app.log.runs().empty());  // a quiet write changes neither the log nor the name
        QCOMPARE(WriteModelFile(h.app, files.path("missing-folder/model.vok"), false),
                 FileOutcome::Failed);
        QCOMPARE(h.app.log.lastLine(),
                 " There was an error saving the file: No such file or directory");
        QCOMPARE(h.app.model.fileName, files.path("kept.vok"));
    }

    // Messages quote a short prefix of a field, every byte of it printable.
    void quotedFields_data() {
        columns<std::string, std::string>("field", "quoted");
        const std::string forty(40, '7');
        QTest::newRow("plain") << std::string("abc") << std::string("'abc'");
        QTest::newRow("40 characters") << forty << "'" + forty + "'";
        QTest::newRow("41 characters") << forty + "8"
                                       << "'" + forty + "...'";
        QTest::newRow("escape sequence") << std::string("\x1B[2J1") << std::string("'\\x1B[2J1'");
        QTest::newRow("NUL") << std::string("1\0002", 3) << std::string("'1\\x002'");
        QTest::newRow("tab, backslash") << std::string("a\tb\\c") << std::string("'a\\tb\\\\c'");
        QTest::newRow("DEL, C1, UTF-8")
            << std::string("\x7F\x9B\xCE\x9A") << std::string("'\\x7F\\x9B\\xCE\\x9A'");
        // Escapes do not count against the 40 characters of the field.
        QTest::newRow("long with controls")
            << std::string(39, '\x01') + "xy"
            << "'" + QString("\\x01").repeated(39).toStdString() + "x...'";
    }

    void quotedFields() {
        const auto [field, quoted] = fetch<std::string, std::string>("field", "quoted");
        QCOMPARE(quotedFieldText(field), quoted);
        // The reader quotes that way: a field of a megabyte gives a one-line message.
        QStringList lines = sampleLines();
        lines[21] = "#";  // x of node 1
        std::string text = joinLines(lines);
        const std::string big = field + std::string(1 << 20, 'x');
        text.replace(text.find("\r\n#\r\n") + 2, 1, big);
        QCOMPARE(parseModelFile(text).error.description,
                 "line 22: " + quotedFieldText(big) + " is not a number");
    }

    // The largest file the program writes is far below the size bound, which refuses an
    // endless input (a device, a pipe) after reading one byte past it.
    void sizeBound() {
        Harness full;
        Model& m = full.app.model;
        const float longFloat = -1.17549449e-38f;  // the longest float texts
        const double longDouble = 2.2250738585072014e-308;
        m.groupCount = kMaxGroups;
        for (int g = 1; g <= kMaxGroups; ++g) m.setGroup(g, {longDouble, longDouble});
        m.nodeCount = kMaxNodes;
        for (int n = 1; n <= kMaxNodes; ++n)
            m.setNode(n, Node{longFloat, longFloat, 1, 1, longFloat, longFloat, 3.40282347e38f,
                              3.40282347e38f});
        for (int e = 1; e <= kMaxElements; ++e) addElement(m, 100, 99, 50);
        full.app.view.offsetX = full.app.view.offsetY = -1.2345678901234567e-300;
        const std::string largest = fileText(full.app);
        QVERIFY(parseModelFile(largest).content.has_value());
        qInfo("largest model file: %zu bytes", largest.size());
        QVERIFY(largest.size() * 32 < kMaxModelFileBytes);

        // A file of exactly the bound reads (what follows the end line is not read); one byte
        // more is refused by its size, and an endless device as it comes.
        TempFiles files;
        const std::string atBound = largest + std::string(kMaxModelFileBytes - largest.size(), ' ');
        const std::string tooLarge =
            kOpenError + "the file is larger than 4 MiB, too large for a model file";
        for (const bool overBound : {false, true}) {
            Harness h;
            writeFileAtomically(files.path("big.vok"), atBound + (overBound ? "\r\n" : ""));
            QCOMPARE(ReadModelFile(h.app, files.path("big.vok")),
                     overBound ? FileOutcome::Failed : FileOutcome::Done);
            if (overBound) QCOMPARE(h.app.log.lastLine(), " " + tooLarge);
        }
        // A pipe gives only what has been written so far: a short read is not its end. The
        // writer pauses after a first small piece.
        const std::string fifo = files.path("pipe.vok");
        QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
        std::signal(SIGPIPE, SIG_IGN);
        std::thread writer([&fifo, &atBound] {
            const int fd = ::open(fifo.c_str(), O_WRONLY);
            std::string_view rest = atBound;
            for (std::size_t piece = 100; !rest.empty(); piece = rest.size()) {
                const ssize_t n = ::write(fd, rest.data(), std::min(piece, rest.size()));
                if (n <= 0) break;  // the reader has gone
                rest.remove_prefix(std::size_t(n));
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            ::close(fd);
        });
        Harness piped;
        QCOMPARE(ReadModelFile(piped.app, fifo), FileOutcome::Done);
        writer.join();
        Harness zero;
        QCOMPARE(ReadModelFile(zero.app, "/dev/zero"), FileOutcome::Failed);
        QCOMPARE(zero.prompter.questions().at(0).text, tooLarge);
        std::string held = "old";
        QCOMPARE(readWholeFile("/dev/zero", held, 1000),
                 std::optional<std::string>("the file is larger than 1000 bytes"));
        QVERIFY(held.empty());
    }

    void examplesAreWriterOutput() {
        // The shipped examples read cleanly and are exactly what the program would write.
        const QDir examples(QStringLiteral(VORTAK_EXAMPLES_DIR));
        const QStringList names = examples.entryList({"*.vok"});
        QVERIFY(names.size() >= 3);
        for (const QString& name : names) {
            const std::string path = examples.filePath(name).toStdString();
            Harness h;
            QVERIFY2(ReadModelFile(h.app, path) == FileOutcome::Done, qPrintable(name));
            QCOMPARE(fileText(h.app), contents(examples.filePath(name)).toStdString());
        }
    }
};

QTEST_APPLESS_MAIN(TestModelFile)
#include "test_model_file.moc"
