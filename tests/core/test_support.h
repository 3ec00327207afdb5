#pragma once

// Small builders and a recording shell shared by the core tests.

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/shell.h"
#include "base/scripted_prompter.h"
#include "model/model.h"

namespace vortak::test {

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

// Hand-made results count as the model's own, as a successful analysis marks them. Call it
// once the tables are complete.
inline void markAnalysed(Model& m) {
    m.results.valid = true;
    m.results.analysed = m;
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
    double monotonicSeconds() override { return next(clock, clockRead_); }
    std::string timeOfDay() override { return next(times, timeRead_); }

private:
    template <typename T>
    static T next(const std::vector<T>& values, std::size_t& read) {
        const T value = values[read < values.size() ? read : values.size() - 1];
        ++read;
        return value;
    }
    std::size_t clockRead_ = 0;
    std::size_t timeRead_ = 0;
};

struct Harness {
    ScriptedPrompter prompter;
    RecordingShell shell;
    AppState app{prompter, shell};
};

}  // namespace vortak::test
