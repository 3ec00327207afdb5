#include <random>

#include "app/history.h"
#include "test_support.h"

using namespace vortak::test;

namespace {

// A model told apart from others by its node count and first coordinate.
ModelTables state(int k) {
    ModelTables t;
    t.nodeCount = k % 100;
    t.nodes.x[1] = float(k);
    return t;
}

}  // namespace

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    // Random sequences of records, undos, redos and clears, checked against the plainest
    // possible history: a list of states and a position in it.
    void followsAPlainListOfStates_data() {
        columns<int>("capacity");
        for (int capacity : {1, 3, 100, 200}) QTest::addRow("%d steps", capacity) << capacity;
    }

    void followsAPlainListOfStates() {
        const auto [capacity] = fetch<int>("capacity");
        ModelHistory history{std::size_t(capacity)};
        std::vector<ModelTables> states{state(0)};
        std::vector<std::string> labels{""};
        std::size_t at = 0;
        ModelTables current = state(0);
        std::mt19937 random(7);
        int next = 1;
        for (int round = 0; round < 5000; ++round) {
            const int what = int(random() % 10);
            if (what < 4) {
                // An edit, sometimes one that changes nothing.
                const ModelTables after = random() % 5 == 0 ? current : state(next++);
                const std::string label = "Step " + std::to_string(next);
                QCOMPARE(history.record(label, current, after), !(after == current));
                if (!(after == current)) {
                    states.resize(at + 1);
                    labels.resize(at + 1);
                    states.push_back(after);
                    labels.push_back(label);
                    ++at;
                    if (states.size() > std::size_t(capacity) + 1) {
                        states.erase(states.begin());
                        labels.erase(labels.begin());
                        --at;
                    }
                    current = after;
                }
            } else if (what < 7) {
                const ModelTables* back = history.undo();
                QCOMPARE(back != nullptr, at > 0);
                if (back) current = *back, --at;
            } else if (what < 9) {
                const ModelTables* again = history.redo();
                QCOMPARE(again != nullptr, at + 1 < states.size());
                if (again) current = *again, ++at;
            } else if (random() % 20 == 0) {
                history.clear();
                states = {current};
                labels = {""};
                at = 0;
            }
            QVERIFY(current == states[at]);
            QCOMPARE(history.undoCount(), at);
            QCOMPARE(history.redoCount(), states.size() - 1 - at);
            QCOMPARE(history.undoLabel(), at > 0 ? labels[at] : std::string());
            QCOMPARE(history.redoLabel(), at + 1 < states.size() ? labels[at + 1] : std::string());
        }
        QVERIFY(next > capacity + 10);
    }

    // A full model's every entry survives a round trip, and the oldest steps go first.
    void keepsWholeModelsAndDropsTheOldest() {
        ModelHistory history;
        ModelTables full;
        full.nodeCount = kMaxNodes;
        full.elementCount = kMaxElements;
        full.groupCount = kMaxGroups;
        for (int k = 0; k <= kMaxElements; ++k) full.elements.j[k] = float(k);
        for (int k = 0; k <= kMaxNodes; ++k) full.nodes.Ky[k] = float(k) / 3;
        full.groups.A[kMaxGroups] = 1e-300;
        ModelTables edited = full;
        edited.groups.A[kMaxGroups] = 2e-300;
        QVERIFY(history.record("Edit group #50", full, edited));
        QVERIFY(*history.undo() == full);
        QVERIFY(*history.redo() == edited);

        ModelTables previous = edited;
        for (int k = 1; k <= int(kUndoSteps) + 5; ++k) {
            ModelTables next = previous;
            next.nodes.x[1] = float(k);
            QVERIFY(history.record("Move #" + std::to_string(k), previous, next));
            previous = next;
        }
        QCOMPARE(history.undoCount(), kUndoSteps);
        for (std::size_t k = 0; k < kUndoSteps; ++k) QVERIFY(history.undo());
        QVERIFY(!history.canUndo());
        QCOMPARE(history.redoLabel(), std::string("Move #6"));
    }
};

QTEST_APPLESS_MAIN(TestHistory)
#include "test_history.moc"
