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

const std::string kSaveQuestion = "Do you want to save the changes you made to file:";

void buildTriangle(Model& m) {
    addNode(m, 0, 0, 1, 1);
    addNode(m, 8, 0, 0, 1);
    addNode(m, 4, 3);
    addGroup(m, 2.0e8, 0.01);
    addElement(m, 1, 2);
    addElement(m, 2, 3);
    addElement(m, 1, 3);
    m.nodes.Fy[3] = -30;
    m.changed = true;
}

}  // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void startUpWithoutFile();
    void startUpWithFile();
    void askSaveChanges_data();
    void askSaveChanges();
    void cancelKeepsEverything();
    void newReloadsStoredOptions();
    void viewStateTable_data();
    void viewStateTable();
    void leavingColourDiagramHidesLegend();
    void optionChosenFromSettings();
    void labelsAndPanels();
    void animationFrames();
    void escapeFinishesRisingHalf();
    void commandStopsAnimationAtOnce();
    void scaleButtons();
    void modelCommandPreconditions_data();
    void modelCommandPreconditions();
    void interactionModes();
    void zoomCommands();
};

void TestCommands::startUpWithoutFile() {
    Harness h;
    MemorySettingsStore store;
    store.setValue(kDisplaySection, "nai_grid", "False");
    startUp(h.app, store, "");
    QCOMPARE(caption(h.app), std::string("Malvero Vortak - Untitled.vok"));
    QCOMPARE(h.app.currentView, ViewMode::Model);
    QCOMPARE(h.app.window.viewName, std::string(" Model"));
    QVERIFY(!h.app.window.optionsVisible && !h.app.window.plusMinusVisible);
    QVERIFY(h.app.window.axesPanelEnabled && !h.app.window.gridPanelEnabled);
    const std::vector<std::string> lines = h.app.log.lines();
    QCOMPARE(int(lines.size()), 4);
    QCOMPARE(lines[0], std::string(" Malvero Vortak v1.0 - Linear analysis of plane trusses program"));
    QCOMPARE(h.app.log.runs()[0].colour, LogColour::Navy);
    QVERIFY(h.app.log.runs()[1].bold);
    QCOMPARE(lines[2], std::string(" "));
    QVERIFY(lines[3].size() > 10);  // weekday, date and time
    QCOMPARE(h.app.view.scale, 100.0f);
    QCOMPARE(h.app.view.historyTop(), 0);
}

void TestCommands::startUpWithFile() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("t.vok").toStdString();
    {
        Harness writer;
        buildTriangle(writer.app.model);
        writer.app.view.scale = 40;
        writer.app.view.offsetX = 1.5;
        QCOMPARE(WriteModelFile(writer.app, path, true), FileOutcome::Done);
    }
    Harness h;
    MemorySettingsStore store;
    startUp(h.app, store, path);
    QCOMPARE(caption(h.app), "Malvero Vortak - " + path);
    QCOMPARE(h.app.view.scale, 40.0f);
    QCOMPARE(h.app.view.offsetX, 1.5);
    QCOMPARE(h.app.view.historyTop(), 0);
    QCOMPARE(h.app.view.historyEntry(0).scale, 40.0);
    QCOMPARE(h.app.model.nodeCount, 3);
    QCOMPARE(h.app.log.lastLine(), " Open file: " + path);
}

void TestCommands::askSaveChanges_data() {
    QTest::addColumn<QString>("state");  // untitled-empty, untitled-group, titled, titled-zoomed
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("fileChosen");
    QTest::addColumn<QString>("asked");  // empty: nothing asked
    QTest::addColumn<bool>("goOn");
    const QString untitled = QString::fromStdString(kSaveQuestion) + " 'Untitled.vok'?";
    QTest::newRow("untitled and empty") << "untitled-empty" << QList<int>{} << false << ""
                                        << true;
    QTest::newRow("untitled group, No") << "untitled-group" << QList<int>{int(Answer::No)}
                                        << false << untitled << true;
    QTest::newRow("untitled group, Cancel") << "untitled-group"
                                            << QList<int>{int(Answer::Cancel)} << false
                                            << untitled << false;
    QTest::newRow("untitled group, Yes and saved") << "untitled-group"
                                                   << QList<int>{int(Answer::Yes)} << true
                                                   << untitled << true;
    QTest::newRow("untitled group, Yes but no name") << "untitled-group"
                                                     << QList<int>{int(Answer::Yes)} << false
                                                     << untitled << false;
    QTest::newRow("titled, unchanged") << "titled" << QList<int>{} << false << "" << true;
    QTest::newRow("titled, zoomed since saving")
        << "titled-zoomed" << QList<int>{int(Answer::No)} << false << "%1" << true;
    QTest::newRow("titled, Yes saves") << "titled-zoomed" << QList<int>{int(Answer::Yes)}
                                       << false << "%1" << true;
}

void TestCommands::askSaveChanges() {
    QFETCH(QString, state);
    QFETCH(QList<int>, answers);
    QFETCH(bool, fileChosen);
    QFETCH(QString, asked);
    QFETCH(bool, goOn);
    QTemporaryDir dir;
    const std::string path = dir.filePath("m.vok").toStdString();
    Harness h;
    if (state == "untitled-group") addGroup(h.app.model, 1, 1);
    if (state.startsWith("titled")) {
        buildTriangle(h.app.model);
        QCOMPARE(WriteModelFile(h.app, path, false), FileOutcome::Done);
        if (state == "titled-zoomed") h.app.view.scale = 50;
    }
    for (int a : answers) h.prompter.queueAnswer(Answer(a));
    if (fileChosen) h.prompter.queueFileName(dir.filePath("chosen").toStdString());
    else if (state == "untitled-group") h.prompter.queueFileName(std::nullopt);

    QCOMPARE(AskSaveChanges(h.app, false), goOn);

    const auto& q = h.prompter.questions();
    if (asked.isEmpty()) {
        QVERIFY(q.empty());
        return;
    }
    QCOMPARE(QString::fromStdString(q.at(0).text),
             asked == "%1" ? QString::fromStdString(kSaveQuestion + " '" + path + "'?") : asked);
    QCOMPARE(q[0].icon, MessageIcon::None);
    QCOMPARE(q[0].buttons, MessageButtons::YesNoCancel);
    if (state == "titled-zoomed" && answers == QList<int>{int(Answer::Yes)}) {
        QVERIFY(ModelMatchesFile(h.app));  // the zoom went into the file
    }
    if (fileChosen) QCOMPARE(h.app.model.fileName, dir.filePath("chosen.vok").toStdString());
}

void TestCommands::cancelKeepsEverything() {
    QTemporaryDir dir;
    Harness h;
    MemorySettingsStore store;
    buildTriangle(h.app.model);
    const std::string path = dir.filePath("m.vok").toStdString();
    QCOMPARE(WriteModelFile(h.app, path, false), FileOutcome::Done);
    h.app.view.offsetX = 7;  // unsaved
    h.app.currentView = ViewMode::NDiagram;
    const std::string log = h.app.log.plainText();
    h.prompter.queueAnswer(Answer::Cancel);
    h.prompter.queueAnswer(Answer::Cancel);
    Button_Neo_arxeio(h.app, store);
    Button_Anagnosi_Arxeiou(h.app);
    QCOMPARE(h.app.model.nodeCount, 3);
    QCOMPARE(h.app.model.fileName, path);
    QCOMPARE(caption(h.app), "Malvero Vortak - " + path);
    QCOMPARE(h.app.view.offsetX, 7.0);
    QCOMPARE(h.app.currentView, ViewMode::NDiagram);
    QCOMPARE(h.app.log.plainText(), log);
    QCOMPARE(int(h.prompter.questions().size()), 2);  // no file dialog after Cancel
}

void TestCommands::newReloadsStoredOptions() {
    Harness h;
    MemorySettingsStore store;
    store.setValue(kDisplaySection, "nai_miki", "True");
    addNode(h.app.model, 1, 1);
    h.app.model.fileName.clear();
    h.app.settings.nai_grid = false;  // brought by a file
    h.app.view.scale = 30;
    h.app.window.mode = InteractionMode::Pan;
    h.app.currentView = ViewMode::Colour;
    h.app.window.legendShown = true;
    h.prompter.queueAnswer(Answer::No);
    Button_Neo_arxeio(h.app, store);
    QCOMPARE(h.app.model.nodeCount, 0);
    QVERIFY(h.app.model.changed);
    QVERIFY(h.app.settings.nai_grid && h.app.settings.nai_miki);
    QCOMPARE(h.app.view.scale, 100.0f);
    QCOMPARE(h.app.view.historyTop(), 0);
    QCOMPARE(h.app.currentView, ViewMode::Model);
    QCOMPARE(h.app.window.mode, InteractionMode::None);
    QVERIFY(!h.app.window.legendShown);
    QCOMPARE(h.app.log.lastLine(), std::string(" New file"));
    QVERIFY(h.app.log.runs().back().bold);
    QCOMPARE(h.shell.redraws, 1);
}

void TestCommands::viewStateTable_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("plusMinus");
    QTest::addColumn<double>("top");
    QTest::addColumn<bool>("options");
    QTest::addColumn<bool>("asks");
    QTest::newRow("Model") << 0 << 0 << " Model" << false << 0.0 << false << false;
    QTest::newRow("[N] Diagram") << 1 << 1 << " Axial force Diagram [N]" << true << 1.376 << true
                                 << true;
    QTest::newRow("Deformation") << 2 << 2 << " Deformed model" << true << 1.8 << false << true;
    QTest::newRow("Color Diagram") << 3 << 3 << " Color Diagram: Compression / Tension" << false
                                   << 0.0 << true << true;
    QTest::newRow("Deformation Animation")
        << 4 << 4 << " Deformation Animation: Press [ESC] to Cancel" << true << 0.1 << false
        << true;
}

void TestCommands::viewStateTable() {
    QFETCH(int, command);
    QFETCH(int, view);
    QFETCH(QString, name);
    QFETCH(bool, plusMinus);
    QFETCH(double, top);
    QFETCH(bool, options);
    QFETCH(bool, asks);
    Harness h;
    buildTriangle(h.app.model);  // changed since the last analysis
    h.prompter.queueAnswer(Answer::No);
    void (*commands[])(AppState&) = {Button_Foreas, Button_N, Button_Deform, Button_CT,
                                     Button_animate};
    commands[command](h.app);
    const WindowState& w = h.app.window;
    QCOMPARE(int(h.app.currentView), view);
    QCOMPARE(QString::fromStdString(w.viewName), name);
    QCOMPARE(w.plusMinusVisible, plusMinus);
    if (plusMinus) QCOMPARE(w.plusMinusTop, top);
    QCOMPARE(w.optionsVisible, options);
    QCOMPARE(w.legendShown, view == 3);
    QCOMPARE(h.prompter.questions().size(), std::size_t(asks ? 1 : 0));
    if (asks) {
        QCOMPARE(h.prompter.questions()[0].text,
                 std::string("Model has been changed. Do you want to reanalyze before the "
                             "process goes on?"));
    }
    QCOMPARE(h.shell.redraws, 1);
    QCOMPARE(h.app.animationRunning, view == 4);
    QCOMPARE(w.animateEnabled, view != 4);
}

void TestCommands::leavingColourDiagramHidesLegend() {
    for (void (*command)(AppState&) : {Button_Foreas, Button_N, Button_Deform}) {
        Harness h;
        buildTriangle(h.app.model);
        h.app.model.changed = false;
        Button_CT(h.app);
        QVERIFY(h.app.window.legendShown);
        command(h.app);
        QVERIFY(!h.app.window.legendShown);
    }
}

void TestCommands::optionChosenFromSettings() {
    Harness h;
    h.app.settings.Show_FORCE = true;
    h.app.settings.Show_STRESS = false;
    h.app.settings.Show_STRAIN = true;  // the last true one wins
    Button_CT(h.app);
    QCOMPARE(h.app.window.selectedOption, ResultQuantity::Strain);
    chooseQuantity(h.app, ResultQuantity::Stress);
    QVERIFY(!h.app.settings.Show_FORCE && h.app.settings.Show_STRESS &&
            !h.app.settings.Show_STRAIN);
    QCOMPARE(h.shell.redraws, 2);
}

void TestCommands::labelsAndPanels() {
    Harness h;
    chooseLabelPreset(h.app, LabelPreset::Basic);
    const LabelFlag all[] = {LabelFlag::NodeNumbers,    LabelFlag::NodeCoordinates,
                             LabelFlag::ElementNumbers, LabelFlag::ElementGroups,
                             LabelFlag::ElementLengths, LabelFlag::LoadValues,
                             LabelFlag::NValues};
    const bool basic[] = {true, false, true, false, false, true, true};
    for (int k = 0; k < 7; ++k) QCOMPARE(labelShown(h.app, all[k]), basic[k]);
    toggleLabel(h.app, LabelFlag::ElementLengths);
    QVERIFY(h.app.settings.nai_miki);
    toggleLabel(h.app, LabelFlag::NodeNumbers);
    QVERIFY(!h.app.settings.nai_arithmisi_kombon);

    const WindowState before = h.app.window;
    for (int twice = 0; twice < 2; ++twice) {
        toggleCoordinatesPanel(h.app);
        toggleAxesPanel(h.app);
        toggleGridPanel(h.app);
        QCOMPARE(h.app.settings.nai_aksones, h.app.window.axesPanelEnabled);
        QCOMPARE(h.app.settings.nai_grid, h.app.window.gridPanelEnabled);
        QCOMPARE(h.app.window.coordinatesPanelEnabled, twice == 1);
    }
    QVERIFY(h.app.window.axesPanelEnabled == before.axesPanelEnabled &&
            h.app.window.gridPanelEnabled == before.gridPanelEnabled);
    QCOMPARE(h.shell.redraws, 1 + 2 + 4);
}

void TestCommands::animationFrames() {
    Harness h;
    buildTriangle(h.app.model);
    h.app.model.changed = false;
    h.app.settings.Animation_Frames = 2;
    Button_animate(h.app);
    std::vector<int> shown{h.app.animationFrame};
    for (int tick = 0; tick < 11; ++tick) {
        QVERIFY(animationTick(h.app));
        shown.push_back(h.app.animationFrame);
    }
    // Each half-cycle draws F + 1 frames: 0 1 2 | 2 1 0 | 0 1 2 | 2 1 0
    const std::vector<int> expected{0, 1, 2, 2, 1, 0, 0, 1, 2, 2, 1, 0};
    QCOMPARE(shown, expected);
}

void TestCommands::escapeFinishesRisingHalf() {
    Harness h;
    buildTriangle(h.app.model);
    h.app.model.changed = false;
    h.app.settings.Animation_Frames = 4;
    Button_animate(h.app);
    QVERIFY(animationTick(h.app));  // frame 1
    escapePressed(h.app);
    int ticks = 0;
    while (animationTick(h.app)) ++ticks;
    QCOMPARE(ticks, 3);  // frames 2, 3 and 4 complete the rising half
    QCOMPARE(h.app.currentView, ViewMode::Deformed);
    QCOMPARE(h.app.window.viewName, std::string(" Deformed model"));
    QVERIFY(h.app.window.plusMinusVisible);
    QCOMPARE(h.app.window.plusMinusTop, 1.8);
    QVERIFY(h.app.window.animateEnabled);
    // Esc while falling stops before the next frame.
    Button_animate(h.app);
    for (int k = 0; k < 6; ++k) animationTick(h.app);  // into the falling half
    QVERIFY(!h.app.window.animationRising);
    escapePressed(h.app);
    QVERIFY(!animationTick(h.app));
}

void TestCommands::commandStopsAnimationAtOnce() {
    Harness h;
    buildTriangle(h.app.model);
    h.app.model.changed = false;
    Button_animate(h.app);
    animationTick(h.app);
    const int redraws = h.shell.redraws;
    Button_N(h.app);
    QVERIFY(!animationTick(h.app));
    QCOMPARE(h.app.currentView, ViewMode::NDiagram);  // the [N] diagram stays
    QCOMPARE(h.shell.redraws, redraws + 1);
    QVERIFY(h.app.window.animateEnabled);
    // An editing command stops it too and leaves the static deformed model.
    Button_animate(h.app);
    QVERIFY(Button_Komboi(h.app));
    QVERIFY(!animationTick(h.app));
    QCOMPARE(h.app.currentView, ViewMode::Deformed);
}

void TestCommands::scaleButtons() {
    Harness h;
    buildTriangle(h.app.model);
    h.app.model.changed = false;
    Button_Deform(h.app);
    Button_Epilisi(h.app);
    const float before = h.app.settings.Ena_cm_posa_m_epi_1000;
    const int redraws = h.shell.redraws;
    changeScale(h.app, 0.2);
    QVERIFY(h.app.settings.Ena_cm_posa_m_epi_1000 < before);
    QCOMPARE(h.shell.redraws, redraws + 1);
    Button_animate(h.app);
    const int animated = h.shell.redraws;
    changeScale(h.app, -0.2);
    QCOMPARE(h.shell.redraws, animated);  // the next frame picks it up
}

void TestCommands::modelCommandPreconditions_data() {
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("groups");
    QTest::addColumn<bool>("loads");  // Button_Epikombia, else Button_Stoixeia
    QTest::addColumn<QString>("message");
    QTest::newRow("elements without groups or nodes")
        << 0 << 0 << false
        << "Before defining an element, at least one E,A Element Group must have been defined.";
    QTest::newRow("elements with one node")
        << 1 << 1 << false << "Before defining an element, at least two nodes must have been "
                              "defined.";
    QTest::newRow("elements allowed") << 2 << 1 << false << "";
    QTest::newRow("loads without nodes")
        << 0 << 0 << true << "Before defining a nodal load, at least one node must have been "
                             "defined";
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
    if (message.isEmpty()) {
        QVERIFY(h.prompter.questions().empty());
        return;
    }
    QCOMPARE(QString::fromStdString(h.prompter.questions().at(0).text), message);
    QCOMPARE(h.prompter.questions()[0].icon, MessageIcon::Exclamation);
    QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + message);
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Red);
}

void TestCommands::interactionModes() {
    Harness h;
    Button_Xeraki(h.app);
    QCOMPARE(h.app.window.mode, InteractionMode::Pan);
    Button_Zoom(h.app);
    QCOMPARE(h.app.window.mode, InteractionMode::Zoom);
    Button_Zoom(h.app);
    QCOMPARE(h.app.window.mode, InteractionMode::None);
    Button_Zoom_Window(h.app);
    leaveMode(h.app);
    QCOMPARE(h.app.window.mode, InteractionMode::None);
    Button_Xeraki(h.app);
    Reset_Pointer(h.app);
    QCOMPARE(h.app.window.mode, InteractionMode::None);
}

void TestCommands::zoomCommands() {
    Harness h;
    buildTriangle(h.app.model);
    h.app.view.SW = 20;
    h.app.view.SH = 15;
    Button_Zoom_Previous(h.app);  // nothing to go back to
    QCOMPARE(h.shell.redraws, 0);
    Button_Zoom_Best_Fit(h.app);
    Button_Zoom_Best_Fit(h.app);
    QCOMPARE(h.app.view.historyTop(), 1);
    QVERIFY(h.app.view.scale != 100.0f);
    Button_Zoom_Previous(h.app);
    QCOMPARE(h.app.view.scale, 100.0f);
    QCOMPARE(h.shell.redraws, 3);
}

QTEST_APPLESS_MAIN(TestCommands)
#include "test_commands.moc"
