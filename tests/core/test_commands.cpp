#include "app/commands.h"
#include "app/file_commands.h"
#include "model/model_file.h"
#include "settings/settings_store.h"
#include "test_support.h"

using namespace vortak::test;

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void askSaveChanges_data() {
        // state: "named": untitled, and a name is chosen
        // answer: -1: nothing asked
        columns<QString, int, bool>("state", "answer", "goOn");
        const int no = int(Answer::No), yes = int(Answer::Yes), cancel = int(Answer::Cancel);
        QTest::newRow("untitled and empty") << "untitled-empty" << -1 << true;
        QTest::newRow("untitled, No") << "untitled" << no << true;
        QTest::newRow("untitled, Cancel") << "untitled" << cancel << false;
        QTest::newRow("untitled, Yes and saved") << "named" << yes << true;
        QTest::newRow("untitled, Yes but no name") << "untitled" << yes << false;
        QTest::newRow("titled, unchanged") << "titled" << -1 << true;
        QTest::newRow("titled, zoomed, Yes saves") << "zoomed" << yes << true;
        QTest::newRow("titled, Yes but save fails") << "unwritable" << yes << false;
    }

    void askSaveChanges() {
        const auto [state, answer, goOn] = fetch<QString, int, bool>("state", "answer", "goOn");
        QTemporaryDir dir;
        std::string path = dir.filePath("m.vok").toStdString();
        Harness h;
        if (state == "untitled" || state == "named") {
            addGroup(h.app.model, 1, 1);
            h.prompter.queueFileName(
                state == "named" ? std::optional(dir.filePath("c").toStdString()) : std::nullopt);
            path = "Untitled.vok";
        } else if (state != "untitled-empty") {
            addBar(h.app.model, 8, 2.0e8, 0.01);
            QVERIFY(WriteModelFile(h.app, path, false) == FileOutcome::Done);
            if (state == "zoomed") h.app.view.scale = 50;
            if (state == "unwritable")
                h.app.model.fileName = path = dir.filePath("no/m.vok").toStdString();
        }
        if (answer >= 0) h.prompter.queueAnswer(Answer(answer));
        QCOMPARE(AskSaveChanges(h.app, false), goOn);
        const auto& q = h.prompter.questions();
        QCOMPARE(q.empty(), answer < 0);
        if (answer < 0) return;
        QCOMPARE(q[0].text, "Do you want to save the changes you made to file: '" + path + "'?");
        if (state == "zoomed") QVERIFY(ModelMatchesFile(h.app));
        if (state == "named") QCOMPARE(h.app.model.fileName, dir.filePath("c.vok").toStdString());
    }

    void startUpThenNewAndOpen() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("m.vok").toStdString();
        Harness writer, h;
        addBar(writer.app.model, 8, 2.0e8, 0.01);
        QVERIFY(WriteModelFile(writer.app, path, false) == FileOutcome::Done);
        MemorySettingsStore store;
        store.setValue(kDisplaySection, "nai_grid", "False");
        startUp(h.app, store, path);
        QCOMPARE(h.app.model.nodeCount, 2);
        h.app.view.scale = 30;  // unsaved
        Button_Xeraki(h.app);
        Button_Zoom(h.app);  // one mode replaces another
        QCOMPARE(h.app.window.mode, InteractionMode::Zoom);
        Button_Zoom(h.app);  // and its own button leaves it
        QCOMPARE(h.app.window.mode, InteractionMode::None);
        Button_Xeraki(h.app);
        h.app.currentView = ViewMode::NDiagram;
        // Cancel leaves the model and the view as they were, for both commands.
        h.prompter.queueAnswer(Answer::Cancel);
        h.prompter.queueAnswer(Answer::Cancel);
        Button_Neo_arxeio(h.app, store);
        Button_Anagnosi_Arxeiou(h.app);
        QCOMPARE(h.app.currentView, ViewMode::NDiagram);
        // No: an empty untitled model with the stored options and the default view.
        h.prompter.queueAnswer(Answer::No);
        Button_Neo_arxeio(h.app, store);
        QVERIFY(h.app.model.nodeCount == 0 && h.app.model.fileName.empty());
        QVERIFY(!h.app.window.gridPanelEnabled && h.app.view.scale == 100.0f);
        QVERIFY(h.app.currentView == ViewMode::Model && h.app.window.mode == InteractionMode::None);
        // The pan pointer stays on the drawing until a mode command or Reset_Pointer.
        QCOMPARE(h.app.window.pointerMode, InteractionMode::Pan);
        Reset_Pointer(h.app);
        QCOMPARE(h.app.window.pointerMode, InteractionMode::None);
    }

    void views_data() {
        QTest::addColumn<int>("view");
        int view = 0;  // in ViewMode order
        for (const char* name :
             {"Model", "[N] Diagram", "Deformation", "Color Diagram", "Animation"})
            QTest::newRow(name) << view++;
    }

    void views() {
        QFETCH(int, view);
        Harness h;
        addBar(h.app.model, 8, 2.0e8, 0.01);
        h.app.settings.Show_FORCE = h.app.settings.Show_STRAIN = true;  // the last true one wins
        Button_CT(h.app);  // shows the legend, which the other views hide
        h.app.model.changed = true;
        h.prompter.queueAnswer(Answer::No);
        void (*commands[])(AppState&) = {Button_Foreas, Button_N, Button_Deform, Button_CT,
                                         Button_animate};
        commands[view](h.app);
        const WindowState& w = h.app.window;
        QCOMPARE(int(h.app.currentView), view);
        QCOMPARE(w.legendShown, view == int(ViewMode::Colour));
        QCOMPARE(w.optionsVisible,
                 view == int(ViewMode::NDiagram) || view == int(ViewMode::Colour));
        QCOMPARE(w.selectedOption, ResultQuantity::Strain);
        // Every result view first offers to reanalyse the changed model.
        QCOMPARE(h.prompter.questions().size(), std::size_t(view == 0 ? 0 : 1));
        QCOMPARE(h.shell.redraws, 2);
        QCOMPARE(h.app.animationRunning, view == int(ViewMode::Animation));
        // Never analysed: each result command says so (the first Colour command did too).
        QCOMPARE(logLines(h.app).count(QString(" ") + kNotAnalysedText), view == 0 ? 1 : 2);
    }

    // Results count only for the model they were computed for: after an edit whose
    // reanalysis was declined, the result commands say that there are none.
    void notAnalysedNotice() {
        Harness h;
        addBar(h.app.model, 8, 2.0e8, 0.01);
        h.app.model.nodes.Fy[2] = -10;
        h.app.model.changed = true;
        const std::string notice = " " + std::string(kNotAnalysedText);
        h.prompter.queueAnswer(Answer::Yes);
        Button_N(h.app);
        QVERIFY(h.app.model.hasCurrentResults() && h.app.log.lastLine() != notice);
        h.app.model.nodes.x[2] = 9;
        h.app.model.changed = true;
        for (auto command : {Button_Deform, Button_CT}) {
            h.prompter.queueAnswer(Answer::No);
            command(h.app);
            QCOMPARE(h.app.log.lastLine(), notice);
        }
        h.prompter.queueAnswer(Answer::No);
        QVERIFY(Button_Apotelesmata(h.app));
        QCOMPARE(h.app.log.lastLine(), notice);
        h.app.model.nodes.x[2] = 8;  // back as analysed: the results are its own again
        QVERIFY(h.app.model.hasCurrentResults());
    }

    void animation_data() {
        // stop: esc, N ([N] diagram), edit (nodes dialog)
        // stopAfter: ticks; -1: never
        // shown: the frames drawn until a tick ends it
        columns<QString, int, QList<int>>("stop", "stopAfter", "shown");
        // Each half-cycle draws 3 frames.
        QTest::newRow("cycles") << "" << -1 << QList<int>{0, 1, 2, 2, 1, 0, 0, 1, 2, 2, 1, 0};
        QTest::newRow("Esc rising completes the half") << "esc" << 1 << QList<int>{0, 1, 2};
        QTest::newRow("Esc falling stops at once") << "esc" << 4 << QList<int>{0, 1, 2, 2, 1};
        QTest::newRow("[N] stops at once") << "N" << 1 << QList<int>{0, 1};
        QTest::newRow("editing stops at once") << "edit" << 1 << QList<int>{0, 1};
    }

    void animation() {
        const auto [stop, stopAfter] = fetch<QString, int>("stop", "stopAfter");
        Harness h;
        addBar(h.app.model, 8, 2.0e8, 0.01);
        h.app.settings.Animation_Frames = 2;
        Button_animate(h.app);
        const int redraws = h.shell.redraws;
        changeScale(h.app, 0.2);  // the next frame picks it up
        QCOMPARE(h.shell.redraws, redraws);
        QList<int> drawn{h.app.animationFrame};
        for (int tick = 0; drawn.size() < 12; ++tick) {
            if (tick == stopAfter && stop == "esc") escapePressed(h.app);
            if (tick == stopAfter && stop == "N") Button_N(h.app);
            if (tick == stopAfter && stop == "edit") QVERIFY(Button_Komboi(h.app));
            if (!animationTick(h.app)) break;
            drawn << h.app.animationFrame;
        }
        QTEST(drawn, "shown");
        // Once ended, the deformed model is shown unless another view was chosen.
        QCOMPARE(h.app.currentView, stopAfter < 0 ? ViewMode::Animation
                                    : stop == "N" ? ViewMode::NDiagram
                                                  : ViewMode::Deformed);
        QCOMPARE(h.app.window.animateEnabled, stopAfter >= 0);
    }

    void modelCommandPreconditions() {
        Harness h;
        Model& m = h.app.model;
        const auto& q = h.prompter.questions();
        QVERIFY(!Button_Stoixeia(h.app) && !Button_Epikombia(h.app));
        addNode(m, 0, 0);
        addGroup(m, 1, 1);
        QVERIFY(!Button_Stoixeia(h.app) && Button_Epikombia(h.app));
        addNode(m, 1, 0);
        QVERIFY(Button_Stoixeia(h.app));
        QCOMPARE(int(q.size()), 3);
        // Each refusal names what is missing, and is logged as shown.
        QVERIFY(q[0].text.find("E,A Element Group must") != std::string::npos);
        QVERIFY(q[2].text.find("at least two nodes") != std::string::npos);
        QCOMPARE(h.app.log.lastLine(), " " + q[2].text);
    }
};

QTEST_APPLESS_MAIN(TestCommands)
#include "test_commands.moc"
