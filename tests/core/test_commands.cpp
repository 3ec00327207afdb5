#include <QtTest>

#include <QTemporaryDir>

#include "analysis/analysis_run.h"
#include "app/commands.h"
#include "model/model_file.h"
#include "settings/settings_store.h"
#include "test_support.h"

using namespace vortak;
using namespace vortak::test;

namespace {

// A bar; `changed` makes the result views ask to reanalyse it.
void buildBar(Model& m, bool changed = true) {
    addNode(m, 0, 0, 1, 1);
    addNode(m, 8, 3);
    addGroup(m, 2.0e8, 0.01);
    addElement(m, 1, 2);
    m.changed = changed;
}

bool saveBar(Harness& h, const std::string& path) {
    buildBar(h.app.model);
    return WriteModelFile(h.app, path, false) == FileOutcome::Done;
}

}  // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void startUpWithAndWithoutFile();
    void askSaveChanges_data();
    void askSaveChanges();
    void newAndOpenAfterTheSaveQuestion();
    void views_data();
    void views();
    void animation_data();
    void animation();
    void modelCommandPreconditions_data();
    void modelCommandPreconditions();
    void modesAndZoom();
};

void TestCommands::startUpWithAndWithoutFile() {
    MemorySettingsStore store;
    store.setValue(kDisplaySection, "nai_grid", "False");
    Harness h;
    startUp(h.app, store, "");
    QCOMPARE(caption(h.app), std::string("Malvero Vortak - Untitled.vok"));
    QCOMPARE(h.app.log.lines()[0],
             std::string(" Malvero Vortak v1.0 - Linear analysis of plane trusses program"));
    QVERIFY(!h.app.window.gridPanelEnabled);  // from the stored options

    QTemporaryDir dir;
    const std::string path = dir.filePath("t.vok").toStdString();
    Harness writer, opened;
    QVERIFY(saveBar(writer, path));
    startUp(opened.app, store, path);
    QCOMPARE(caption(opened.app), "Malvero Vortak - " + path);
    QCOMPARE(opened.app.model.nodeCount, 2);
}

void TestCommands::askSaveChanges_data() {
    // untitled-empty, untitled, named (untitled, a name chosen), titled, zoomed, unwritable
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("answer");  // -1: nothing asked
    QTest::addColumn<bool>("goOn");
    const int no = int(Answer::No), yes = int(Answer::Yes), cancel = int(Answer::Cancel);
    QTest::newRow("untitled and empty") << "untitled-empty" << -1 << true;
    QTest::newRow("untitled, No") << "untitled" << no << true;
    QTest::newRow("untitled, Cancel") << "untitled" << cancel << false;
    QTest::newRow("untitled, Yes and saved") << "named" << yes << true;
    QTest::newRow("untitled, Yes but no name") << "untitled" << yes << false;
    QTest::newRow("titled, unchanged") << "titled" << -1 << true;
    QTest::newRow("titled, zoomed, No") << "zoomed" << no << true;
    QTest::newRow("titled, zoomed, Yes saves") << "zoomed" << yes << true;
    QTest::newRow("titled, Yes but save fails") << "unwritable" << yes << false;
}

void TestCommands::askSaveChanges() {
    QFETCH(QString, state);
    QFETCH(int, answer);
    QFETCH(bool, goOn);
    QTemporaryDir dir;
    std::string path = dir.filePath("m.vok").toStdString();
    Harness h;
    if (state == "untitled" || state == "named") {
        addGroup(h.app.model, 1, 1);
        h.prompter.queueFileName(state == "named" ? std::optional(dir.filePath("c").toStdString())
                                                  : std::nullopt);
        path = "Untitled.vok";
    } else if (state != "untitled-empty") {
        QVERIFY(saveBar(h, path));
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
    QCOMPARE(q[0].buttons, MessageButtons::YesNoCancel);
    if (state == "zoomed" && goOn) QVERIFY(ModelMatchesFile(h.app) == (answer == int(Answer::Yes)));
    if (state == "named") QCOMPARE(h.app.model.fileName, dir.filePath("c.vok").toStdString());
}

void TestCommands::newAndOpenAfterTheSaveQuestion() {
    QTemporaryDir dir;
    Harness h;
    MemorySettingsStore store;
    store.setValue(kDisplaySection, "nai_miki", "True");
    const std::string path = dir.filePath("m.vok").toStdString();
    QVERIFY(saveBar(h, path));
    h.app.view.scale = 30;  // unsaved
    h.app.settings.nai_grid = false;
    h.app.window.mode = InteractionMode::Pan;
    h.app.currentView = ViewMode::NDiagram;
    const std::string log = h.app.log.plainText();
    // Cancel keeps everything, with no file dialog after it.
    h.prompter.queueAnswer(Answer::Cancel);
    h.prompter.queueAnswer(Answer::Cancel);
    Button_Neo_arxeio(h.app, store);
    Button_Anagnosi_Arxeiou(h.app);
    QCOMPARE(h.app.model.fileName, path);
    QCOMPARE(h.app.currentView, ViewMode::NDiagram);
    QCOMPARE(h.app.log.plainText(), log);
    QCOMPARE(int(h.prompter.questions().size()), 2);
    // No: an empty untitled model with the stored options and the default view.
    h.prompter.queueAnswer(Answer::No);
    Button_Neo_arxeio(h.app, store);
    QCOMPARE(h.app.model.nodeCount, 0);
    QVERIFY(h.app.model.fileName.empty());
    QVERIFY(h.app.settings.nai_grid && h.app.settings.nai_miki);
    QCOMPARE(h.app.view.scale, 100.0f);
    QCOMPARE(h.app.currentView, ViewMode::Model);
    QCOMPARE(h.app.window.mode, InteractionMode::None);
    QCOMPARE(h.app.log.lastLine(), std::string(" New file"));
}

// The rows are in ViewMode order.
void TestCommands::views_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("name");
    QTest::newRow("Model") << 0 << " Model";
    QTest::newRow("[N] Diagram") << 1 << " Axial force Diagram [N]";
    QTest::newRow("Deformation") << 2 << " Deformed model";
    QTest::newRow("Color Diagram") << 3 << " Color Diagram: Compression / Tension";
    QTest::newRow("Animation") << 4 << " Deformation Animation: Press [ESC] to Cancel";
}

void TestCommands::views() {
    QFETCH(int, view);
    QFETCH(QString, name);
    Harness h;
    buildBar(h.app.model, false);
    h.app.settings.Show_FORCE = h.app.settings.Show_STRAIN = true;  // the last true one wins
    Button_CT(h.app);  // shows the legend, which the other views hide
    h.app.model.changed = true;
    h.prompter.queueAnswer(Answer::No);
    void (*commands[])(AppState&) = {Button_Foreas, Button_N, Button_Deform, Button_CT,
                                     Button_animate};
    commands[view](h.app);
    const WindowState& w = h.app.window;
    QCOMPARE(int(h.app.currentView), view);
    QCOMPARE(QString::fromStdString(w.viewName), name);
    QCOMPARE(w.legendShown, view == int(ViewMode::Colour));
    QCOMPARE(w.optionsVisible, view == int(ViewMode::NDiagram) || view == int(ViewMode::Colour));
    QCOMPARE(w.selectedOption, ResultQuantity::Strain);
    // Every result view first offers to reanalyse the changed model.
    QCOMPARE(h.prompter.questions().size(), std::size_t(view == 0 ? 0 : 1));
    QCOMPARE(h.shell.redraws, 2);
    QCOMPARE(h.app.animationRunning, view == int(ViewMode::Animation));
}

void TestCommands::animation_data() {
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("stop");      // esc, N ([N] diagram), edit (nodes dialog)
    QTest::addColumn<int>("stopAfter");     // ticks; -1: never
    QTest::addColumn<QList<int>>("shown");  // the frames drawn until a tick ends it
    QTest::addColumn<int>("view");          // shown once it has ended
    const int deformed = int(ViewMode::Deformed);
    // Each half-cycle draws F + 1 frames.
    QTest::newRow("cycles") << 2 << "" << -1 << QList<int>{0, 1, 2, 2, 1, 0, 0, 1, 2, 2, 1, 0}
                            << int(ViewMode::Animation);
    QTest::newRow("Esc rising completes the half")
        << 4 << "esc" << 1 << QList<int>{0, 1, 2, 3, 4} << deformed;
    QTest::newRow("Esc falling stops at once")
        << 4 << "esc" << 6 << QList<int>{0, 1, 2, 3, 4, 4, 3} << deformed;
    QTest::newRow("[N] stops at once")
        << 4 << "N" << 1 << QList<int>{0, 1} << int(ViewMode::NDiagram);
    QTest::newRow("editing stops at once") << 4 << "edit" << 1 << QList<int>{0, 1} << deformed;
}

void TestCommands::animation() {
    QFETCH(int, frames);
    QFETCH(QString, stop);
    QFETCH(int, stopAfter);
    QFETCH(QList<int>, shown);
    QFETCH(int, view);
    Harness h;
    buildBar(h.app.model, false);
    h.app.settings.Animation_Frames = frames;
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
    QCOMPARE(drawn, shown);
    QCOMPARE(int(h.app.currentView), view);
    QCOMPARE(h.app.window.animateEnabled, stopAfter >= 0);
}

void TestCommands::modelCommandPreconditions_data() {
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("groups");
    QTest::addColumn<bool>("loads");  // Button_Epikombia, else Button_Stoixeia
    QTest::addColumn<QString>("message");
    QTest::newRow("elements without groups")
        << 0 << 0 << false
        << "Before defining an element, at least one E,A Element Group must have been defined.";
    QTest::newRow("elements with one node")
        << 1 << 1 << false
        << "Before defining an element, at least two nodes must have been defined.";
    QTest::newRow("elements allowed") << 2 << 1 << false << "";
    QTest::newRow("loads without nodes")
        << 0 << 0 << true
        << "Before defining a nodal load, at least one node must have been defined";
    QTest::newRow("loads allowed") << 1 << 0 << true << "";
}

void TestCommands::modelCommandPreconditions() {
    QFETCH(int, nodes);
    QFETCH(int, groups);
    QFETCH(bool, loads);
    QFETCH(QString, message);
    Harness h;
    for (int n = 0; n < nodes; ++n) addNode(h.app.model, float(n), 0);
    for (int g = 0; g < groups; ++g) addGroup(h.app.model, 1, 1);
    const bool opens = loads ? Button_Epikombia(h.app) : Button_Stoixeia(h.app);
    QCOMPARE(opens, message.isEmpty());
    QCOMPARE(h.prompter.questions().empty(), message.isEmpty());
    if (message.isEmpty()) return;
    QCOMPARE(QString::fromStdString(h.prompter.questions()[0].text), message);
    QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + message);
}

void TestCommands::modesAndZoom() {
    Harness h;
    Button_Xeraki(h.app);
    Button_Zoom(h.app);  // one mode replaces another, and its own button leaves it
    QCOMPARE(h.app.window.mode, InteractionMode::Zoom);
    Button_Zoom(h.app);
    QCOMPARE(h.app.window.mode, InteractionMode::None);

    buildBar(h.app.model);
    h.app.view.SW = 20;
    h.app.view.SH = 15;
    Button_Zoom_Previous(h.app);  // nothing to go back to
    QCOMPARE(h.shell.redraws, 0);
    Button_Zoom_Best_Fit(h.app);
    Button_Zoom_Best_Fit(h.app);
    QCOMPARE(h.app.view.historyTop(), 1);
    Button_Zoom_Previous(h.app);
    QCOMPARE(h.app.view.scale, 100.0f);
}

QTEST_APPLESS_MAIN(TestCommands)
#include "test_commands.moc"
