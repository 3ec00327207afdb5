#include <functional>

#include "app/analysis_run.h"
#include "app/commands.h"
#include "app/file_commands.h"
#include "app/pointer_input.h"
#include "app/undo.h"
#include "editing/elements_editor.h"
#include "editing/groups_editor.h"
#include "editing/loads_editor.h"
#include "editing/node_tools.h"
#include "editing/nodes_editor.h"
#include "model/model_file.h"
#include "settings/settings_store.h"
#include "test_support.h"

using namespace vortak::test;

namespace {

struct Snapshot {
    ModelTables tables;
    std::string text;
    std::string label;
};

// Every kind of edit the program makes, in turn, each through the code the window calls.
struct EditSession {
    Harness h;
    AppState& app = h.app;
    PointerInput pointer{app};
    std::vector<Snapshot> states;  // the model after each recorded step; [0] is the start

    EditSession() {
        app.settings.nai_grid = false;  // clicks land where they are, not on grid points
        states.push_back({app.model, fileText(app), ""});
    }

    // Runs an edit and checks that it recorded exactly `label` (or nothing when empty).
    void edit(const std::string& label, const std::function<void()>& change) {
        const std::size_t steps = app.history.undoCount();
        change();
        if (label.empty()) {
            QCOMPARE(app.history.undoCount(), steps);
            QVERIFY(states.back().tables == app.model);
            return;
        }
        QCOMPARE(app.history.undoCount(), steps + 1);
        QCOMPARE(app.history.undoLabel(), label);
        states.push_back({app.model, fileText(app), label});
    }

    void group(const char* number, const char* E, const char* A) {
        GroupsEditor g(app);
        g.open();
        g.choose(number);
        g.e = E;
        g.a = A;
        g.apply();
    }

    void node(const char* number, const char* x, const char* y, bool fixX, bool fixY,
              const char* ky = "") {
        NodesEditor n(app);
        n.open();
        n.choose(number);
        n.x = x;
        n.y = y;
        n.setFixX(fixX);
        n.setFixY(fixY);
        n.setKy(ky);
        n.apply();
    }

    void element(const char* number, const char* i, const char* j, const char* g) {
        ElementsEditor e(app);
        e.open();
        e.choose(number);
        e.chooseNodeI(i);
        e.chooseNodeJ(j);
        e.chooseGroup(g);
        e.apply();
    }

    // Loads (fx, fy) on node `number`, or none when `fx` is null.
    void loads(int number, const char* fx, const char* fy = "") {
        LoadsEditor l(app);
        l.open(number);
        if (fx == nullptr) return l.remove();
        l.fx = fx;
        l.fy = fy;
        l.apply();
    }

    // Pointer positions as model points: the default view draws (x, y) at (x + 2, 13 - y).
    void click(double x, double y) {
        pointer.move(x + 2, 13 - y);
        pointer.press(PointerButton::Left, x + 2, 13 - y);
        pointer.release(PointerButton::Left, x + 2, 13 - y);
    }
    void drag(double x1, double y1, double x2, double y2) {
        pointer.press(PointerButton::Left, x1 + 2, 13 - y1);
        pointer.move(x2 + 2, 13 - y2);
        pointer.release(PointerButton::Left, x2 + 2, 13 - y2);
    }
};

}  // namespace

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    // A session with every kind of edit, undone step by step to the start and redone to the
    // end: the whole model and its file text match what was recorded at every step.
    void everyEditUndoesAndRedoes() {
        EditSession s;
        AppState& app = s.app;
        s.edit("New group #1", [&] { s.group("1", "2E+08", "0.01"); });
        s.edit("New group #2", [&] { s.group("2", "7E+07", "0.002"); });
        s.edit("Edit group #2", [&] { s.group("2", "7E+07", "0.003"); });
        s.edit("", [&] { s.group("2", "7E+07", "0.003"); });  // the same values again
        s.edit("New node #1", [&] { s.node("1", "0", "0", true, true); });
        s.edit("New node #2", [&] { s.node("2", "4", "0", false, true); });
        s.edit("New node #3", [&] { s.node("3", "2", "3", false, false, "150"); });
        s.edit("Edit node #3", [&] { s.node("3", "2", "2.5", false, false, "150"); });
        s.edit("New element #1", [&] { s.element("1", "1", "2", "1"); });
        s.edit("New element #2", [&] { s.element("2", "2", "3", "2"); });
        s.edit("New element #3", [&] { s.element("3", "1", "3", "1"); });
        s.edit("Edit element #3", [&] { s.element("3", "3", "1", "2"); });
        s.edit("New node #4", [&] { s.click(8, 0); });
        s.edit("New element #4", [&] { s.drag(8, 0, 4, 0); });
        s.edit("New node #5", [&] { s.click(6, 3); });
        s.edit("Supports of node #4", [&] {
            s.pointer.move(8 + 2, 13);
            s.pointer.doubleClick();
        });
        s.edit("Loads on node #3", [&] { s.loads(3, "10", "-25"); });
        s.edit("Delete loads on node #3", [&] { s.loads(3, nullptr); });
        s.edit("Loads on node #5", [&] { s.loads(5, "", "-7"); });
        s.edit("New element #5", [&] { s.element("5", "3", "5", "1"); });
        s.edit("Move nodes #4 to #5", [&] {
            MoveEditor m(app);
            QVERIFY(m.open());
            m.from = "4";
            m.to = "5";
            m.dx = "0.5";
            m.dy = "-0.25";
            m.apply();
        });
        // Merging node 4 into node 2 deletes the element between them and renumbers node 5.
        s.edit("Merge nodes #2 and #4", [&] {
            MergeEditor m(app);
            QVERIFY(m.open());
            m.nodeA = "2";
            m.nodeB = "4";
            m.deleteB = true;
            s.h.prompter.queueAnswer(Answer::Ok);
            m.apply();
        });
        s.edit("Delete element #1", [&] {
            ElementsEditor e(app);
            e.open(1);
            e.remove();
        });
        s.edit("New node #5", [&] { s.node("5", "9", "9", false, false); });
        // The connectivity question before an analysis deletes the loose node.
        s.edit("Delete node #5", [&] {
            s.h.prompter.queueAnswer(Answer::Yes);
            Button_Epilisi(app);
        });
        // Deleting node 1 deletes its element and renumbers everything after it.
        s.edit("Delete node #1", [&] {
            NodesEditor n(app);
            n.open(1);
            s.h.prompter.queueAnswer(Answer::Ok);
            n.remove();
        });
        s.edit("", [&] {
            GroupsEditor g(app);
            g.open();
            g.choose("1");
            g.remove();  // refused: elements belong to it
        });

        for (std::size_t k = s.states.size() - 1; k > 0; --k) {
            QVERIFY(Undo(app));
            QCOMPARE(app.log.lastLine(), " Undo: " + s.states[k].label);
            QVERIFY(s.states[k - 1].tables == app.model);
            QCOMPARE(fileText(app), s.states[k - 1].text);
            QVERIFY(app.model.changed);
        }
        QVERIFY(!Undo(app));
        QCOMPARE(undoCaption(app), std::string("Undo"));
        for (std::size_t k = 1; k < s.states.size(); ++k) {
            QCOMPARE(redoCaption(app), "Redo " + s.states[k].label);
            QVERIFY(Redo(app));
            QCOMPARE(app.log.lastLine(), " Redo: " + s.states[k].label);
            QCOMPARE(fileText(app), s.states[k].text);
        }
        QVERIFY(!Redo(app));
        QCOMPARE(undoCaption(app), std::string("Undo Delete node #1"));
    }

    // Undoing back to the saved model needs no save; a new edit after an undo drops the redo
    // steps; results are stale after an undo as after an edit. Save keeps the history; New
    // and Open start it afresh.
    void savedStateAndFileCommands() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("t.vok").toStdString();
        Harness h;
        AppState& app = h.app;
        MemorySettingsStore store;
        addTriangle(app.model);
        addGroup(app.model, 2e8, 0.01);
        QVERIFY(WriteModelFile(app, path, false) == FileOutcome::Done);
        RunAnalysis(app);
        QVERIFY(app.model.hasCurrentResults());

        const ModelTables saved = app.model;
        app.model.nodes.x[3] = 5;
        QVERIFY(recordModelChange(app, "Edit node #3", saved));
        QVERIFY(Undo(app));
        QVERIFY(ModelMatchesFile(app));
        QVERIFY(AskSaveChanges(app, false));
        QVERIFY(h.prompter.questions().empty());

        QVERIFY(Redo(app));
        QVERIFY(!app.model.hasCurrentResults());
        QVERIFY(Undo(app));
        QVERIFY(app.history.canRedo());
        const ModelTables before = app.model;
        app.model.nodes.y[3] = 4;
        QVERIFY(recordModelChange(app, "Edit node #3", before));
        QVERIFY(!app.history.canRedo());
        QVERIFY(WriteModelFile(app, path, false) == FileOutcome::Done);
        QVERIFY(app.history.canUndo());

        Button_Neo_arxeio(app, store);
        QVERIFY(!app.history.canUndo());
        // An undone step leaves a redo step, which Open drops too.
        for (int count : {1, 2}) {
            const ModelTables previous = app.model;
            app.model.nodeCount = count;
            QVERIFY(recordModelChange(app, "New node", previous));
        }
        QVERIFY(Undo(app));
        h.prompter.queueAnswer(Answer::No);
        h.prompter.queueFileName(path);
        Button_Anagnosi_Arxeiou(app);
        QCOMPARE(app.model.fileName, path);
        QVERIFY(!app.history.canUndo());
        QVERIFY(!app.history.canRedo());
    }
};

QTEST_APPLESS_MAIN(TestUndo)
#include "test_undo.moc"
