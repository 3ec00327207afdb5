#pragma once

// Small builders, data-table helpers and a recording shell shared by the tests.

#include <QtTest>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_state.h"
#include "app/shell.h"
#include "base/scripted_prompter.h"
#include "model/model.h"
#include "model/model_file.h"

namespace vortak::test {

// A test file's `using namespace vortak::test` brings in the program's names too.
using namespace vortak;

// A data table's columns, each type with its name in turn: columns<int, QString>("n", "text").
template <typename... T, typename... Names>
void columns(Names... names) {
    (QTest::addColumn<T>(names), ...);
}

// The current row's values, as QFETCH reads them:
// const auto [n, text] = fetch<int, QString>("n", "text").
template <typename... T, typename... Names>
std::tuple<T...> fetch(Names... names) {
    return {*static_cast<T*>(QTest::qData(names, qMetaTypeId<T>()))...};
}

inline int addNode(Model& m, float x, float y, float cx = 0, float cy = 0) {
    const int n = ++m.nodeCount;
    m.setNode(n, Node{x, y, cx, cy, 0, 0, 0, 0});
    return n;
}

inline int addGroup(Model& m, double E, double A) {
    const int g = ++m.groupCount;
    m.setGroup(g, EAGroup{E, A});
    return g;
}

inline int addElement(Model& m, int i, int j, int g = 1) {
    const int e = ++m.elementCount;
    m.setElement(e, Element{float(i), float(j), float(g)});
    return e;
}

// Node 1 at the origin, pinned, and node 2 at (length, 0) on a roller, joined by an element
// of a new group E, A.
inline void addBar(Model& m, float length, double E = 1, double A = 1) {
    addNode(m, 0, 0, 1, 1);
    addNode(m, length, 0, 0, 1);
    addElement(m, 1, 2, addGroup(m, E, A));
}

// Nodes 1 (0,0) pinned, 2 (8,0) on a roller and 3 (4,3) loaded by (16, -30); elements 1-2,
// 2-3 (of group `g23`) and 1-3 (of group 1), groups the caller adds. By the method of joints
// N = 28, -35, -15; reactions (-16, 9) and (0, 21).
inline void addTriangle(Model& m, int g23 = 1) {
    addNode(m, 0, 0, 1, 1);
    addNode(m, 8, 0, 0, 1);
    m.setNode(++m.nodeCount, Node{4, 3, 0, 0, 16, -30, 0, 0});
    for (auto [i, j, g] : {std::array{1, 2, 1}, {2, 3, g23}, {1, 3, 1}}) addElement(m, i, j, g);
}

// Hand-made results count as the model's own, as a successful analysis marks them. Call it
// once the tables are complete.
inline void markAnalysed(Model& m) {
    m.results.valid = true;
    m.results.analysed = m;
}

// A small memory file system mounted at `at` for a disk-full test; `mounted` is false when
// the test may not mount (not root, no privilege). fill() takes its last free byte.
struct SmallDisk {
    explicit SmallDisk(const QString& at, const char* size = "size=256k") : path(at) {
        QDir().mkpath(path);
        mounted = ::mount("tmpfs", path.toLocal8Bit().constData(), "tmpfs", 0, size) == 0;
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    ~SmallDisk() {
        if (mounted) ::umount(path.toLocal8Bit().constData());
    }
    void fill() const {
        const int fd =
            ::open((path + "/filler").toLocal8Bit().constData(), O_WRONLY | O_CREAT, 0600);
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        while (::write(fd, block.data(), 1) > 0) {
        }
        ::close(fd);
    }
    QString path;
    bool mounted = false;
};

// The whole content of a file; empty when it cannot be read.
inline QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `content` to a new or emptied file, making its folder first.
inline void put(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

// The file text of a loaded triangle with a second group, a display option turned over and a
// zoomed, shifted view: a recovered copy must bring all of it back.
inline std::string detailedModelText() {
    Model m;
    addTriangle(m);
    addGroup(m, 2.1e8, 0.004);
    ViewSettings settings;
    settings.nai_miki = !settings.nai_miki;
    ViewTransform view;
    view.scale = 250;
    view.offsetX = -3.5;
    return modelFileText(m, settings, view);
}

// The model file text of the application's model, options and view.
inline std::string fileText(const AppState& app) {
    return modelFileText(app.model, app.settings, app.view);
}

// The log's lines, without the empty text before the first break; the last `count` of them
// when given.
inline QStringList logLines(const AppState& app, qsizetype count = -1) {
    QStringList lines;
    for (const std::string& line : app.log.lines()) lines << QString::fromStdString(line);
    return count < 0 ? lines.mid(1) : lines.mid(lines.size() - count);
}

// A shell with scripted clocks that records what the command asked of the window.
class RecordingShell : public Shell {
public:
    std::vector<std::string> events;
    std::vector<double> clock{5.0, 5.047};
    std::vector<std::string> times{"10:00:00", "10:00:01"};
    int redraws = 0;

    void setBusyPointer(bool busy) override { events.push_back(busy ? "busy" : "normal"); }
    void setAnalyzeEnabled(bool on) override { events.push_back(on ? "enable" : "disable"); }
    void redraw() override { ++redraws; }
    void refreshLog() override { events.push_back("refresh"); }
    // Each reading takes the next value; the last one repeats.
    double monotonicSeconds() override { return clock[std::min(clockRead_++, clock.size() - 1)]; }
    std::string timeOfDay() override { return times[std::min(timeRead_++, times.size() - 1)]; }

private:
    std::size_t clockRead_ = 0;
    std::size_t timeRead_ = 0;
};

struct Harness {
    ScriptedPrompter prompter;
    RecordingShell shell;
    AppState app{prompter, shell};
};

}  // namespace vortak::test
