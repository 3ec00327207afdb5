#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "analysis/analysis_run.h"
#include "app/app_state.h"
#include "app/commands.h"
#include "app/drawing_area.h"
#include "app/log_view.h"
#include "app/main_window.h"
#include "app/picture_export.h"
#include "base/file_io.h"
#include "base/scripted_prompter.h"
#include "editing/elements_dialog.h"
#include "editing/groups_dialog.h"
#include "editing/loads_dialog.h"
#include "editing/nodes_dialog.h"
#include "model/model_file.h"
#include "settings/settings_store.h"

using namespace vortak;

namespace {

// The program as main() builds it, with scripted answers instead of dialogs.
struct Program {
    explicit Program(const std::string& file = "") {
        startUp(app, store, file);
        window.emplace(app, store);
        shell.setWindow(&*window);
        window->resize(900, 700);
        window->show();
        window->redrawView();
    }
    ~Program() {
        shell.setWindow(nullptr);
        prompter.queueAnswer(Answer::No);  // whatever the close asks
    }
    MainWindow& w() { return *window; }

    ScriptedPrompter prompter;
    GuiShell shell;
    MemorySettingsStore store;
    AppState app{prompter, shell};
    std::optional<MainWindow> window;
};

const QString kExamples = QStringLiteral(VORTAK_EXAMPLES_DIR);

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startUpWithoutFile();
    void startUpWithFile();
    void viewCommandsShowTheirControls();
    void labelsMenuAndPanels();
    void animationUnderTheTimer();
    void pictureNames_data();
    void pictureNames();
    void failedPictureSaveKeepsFile();
    void realProgramStartsAndQuits();
    void trussBuiltThroughTheDialogs();
};

void TestMainWindow::startUpWithoutFile() {
    Program p;
    QCOMPARE(p.w().windowTitle(), QString("Malvero Vortak - Untitled.vok"));
    QCOMPARE(p.app.currentView, ViewMode::Model);
    QCOMPARE(p.w().panelText(7), QString(" Model"));
    QVERIFY(p.w().plusButton()->isHidden() && p.w().minusButton()->isHidden());
    for (int k = 0; k < 3; ++k) QVERIFY(p.w().optionButton(k)->isHidden());
    QVERIFY(p.w().legendBox()->isHidden());
    const QStringList lines = p.w().logView()->toPlainText().split('\n');
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[0].startsWith(" Malvero Vortak v1.0"));
    QVERIFY(p.w().action("Epilisi")->isEnabled());
}

void TestMainWindow::startUpWithFile() {
    const QString path = kExamples + "/fink-roof-on-spring.vok";
    Program p(path.toStdString());
    QCOMPARE(p.w().windowTitle(), "Malvero Vortak - " + path);
    std::string text;
    QVERIFY(!readWholeFile(path.toStdString(), text));
    const ParsedModelFile stored = parseModelFile(text);
    QCOMPARE(p.app.view.scale, stored.content->scale);  // the view of the file
    QCOMPARE(p.app.view.offsetY, stored.content->offsetY);
    QVERIFY(p.w().logView()->toPlainText().endsWith("Open file: " + path));
    QVERIFY(ModelMatchesFile(p.app));  // opening changes nothing worth saving
}

void TestMainWindow::viewCommandsShowTheirControls() {
    Program p((kExamples + "/pratt-bridge.vok").toStdString());
    p.prompter.queueAnswer(Answer::Yes);  // analyse the freshly opened model
    p.w().action("N")->trigger();
    QCOMPARE(p.w().panelText(7), QString(" Axial force Diagram [N]"));
    QVERIFY(!p.w().plusButton()->isHidden());
    QCOMPARE(p.w().plusButton()->y(), int(1.376 * p.w().drawingArea()->pixelsPerCm()));
    QVERIFY(!p.w().optionButton(0)->isHidden());
    QVERIFY(p.w().optionButton(0)->isChecked());
    QVERIFY(!p.app.model.changed);

    p.app.settings.Show_STRESS = true;  // the last true option is chosen
    p.w().action("CT")->trigger();
    QVERIFY(!p.w().legendBox()->isHidden());
    QVERIFY(p.w().optionButton(1)->isChecked());
    QVERIFY(p.w().plusButton()->isHidden());
    p.w().optionButton(2)->click();
    QVERIFY(p.app.settings.Show_STRAIN && !p.app.settings.Show_STRESS);

    p.w().action("Deform")->trigger();
    QVERIFY(p.w().legendBox()->isHidden());
    QCOMPARE(p.w().panelText(7), QString(" Deformed model"));
    QVERIFY(p.w().optionButton(0)->isHidden());
    p.w().action("Foreas")->trigger();
    QVERIFY(p.w().plusButton()->isHidden());
    QCOMPARE(p.w().panelText(7), QString(" Model"));
}

void TestMainWindow::labelsMenuAndPanels() {
    Program p;
    QMenu* menu = p.w().labelsMenu();
    const auto trigger = [menu](const QString& text) {
        for (QAction* a : menu->actions()) {
            if (a->text() == text) a->trigger();
        }
    };
    trigger("Basic labels");
    p.w().clickPanel(6);
    QStringList checked;
    for (QAction* a : menu->actions()) {
        if (a->isChecked()) checked << a->text();
    }
    menu->hide();
    QCOMPARE(checked, (QStringList{"Nodes numbering", "Elements numbering", "Nodal load values",
                                   "[N] values"}));
    trigger("Element lengths");
    QVERIFY(p.app.settings.nai_miki);

    for (int twice = 0; twice < 2; ++twice) {
        p.w().clickPanel(3);
        p.w().clickPanel(4);
        p.w().clickPanel(5);
        const bool off = twice == 0;
        QCOMPARE(p.w().panelEnabled(3), !off);
        QCOMPARE(p.w().panelVisible(1), !off);
        QCOMPARE(p.w().panelVisible(2), !off);
        QCOMPARE(p.w().panelEnabled(4), !off);
        QCOMPARE(p.app.settings.nai_aksones, !off);
        QCOMPARE(p.w().panelEnabled(5), !off);
        QCOMPARE(p.app.settings.nai_grid, !off);
    }
}

void TestMainWindow::animationUnderTheTimer() {
    Program p((kExamples + "/wall-cantilever.vok").toStdString());
    p.prompter.queueAnswer(Answer::Yes);
    p.app.settings.Animation_Frames = 10;
    p.w().action("Animate")->trigger();
    QVERIFY(p.w().animationTimerActive());
    QVERIFY(!p.w().action("Animate")->isEnabled());
    QCOMPARE(p.w().panelText(7), QString(" Deformation Animation: Press [ESC] to Cancel"));
    QTest::qWait(50);  // a few frames of the rising half
    QVERIFY(p.app.window.animationRising);
    QTest::keyClick(&p.w(), Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!p.w().animationTimerActive(), 3000);
    QCOMPARE(p.app.currentView, ViewMode::Deformed);
    QCOMPARE(p.w().panelText(7), QString(" Deformed model"));
    QVERIFY(p.w().action("Animate")->isEnabled());
    QCOMPARE(p.w().plusButton()->y(), int(1.8 * p.w().drawingArea()->pixelsPerCm()));

    // A drawing command during the animation shows its own drawing.
    p.w().action("Animate")->trigger();
    QTest::qWait(30);
    p.w().action("N")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!p.w().animationTimerActive(), 1000);
    QCOMPARE(p.app.currentView, ViewMode::NDiagram);
    QCOMPARE(p.w().panelText(7), QString(" Axial force Diagram [N]"));
}

void TestMainWindow::pictureNames_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "bridge"
                                  << "bridge.bmp";
    QTest::newRow("extension") << "bridge.bmp"
                               << "bridge.bmp";
    QTest::newRow("upper case") << "X.BMP"
                                << "X.BMP.bmp";
}

void TestMainWindow::pictureNames() {
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QTemporaryDir dir;
    Program p;
    p.prompter.queueFileName(dir.filePath(typed).toStdString());
    savePictureAsBitmap(p.app, p.w().drawingArea()->picture());
    const auto& q = p.prompter.questions().back();
    QCOMPARE(q.request.filter, std::string("Bitmap Files (*.bmp)|*.bmp"));
    QCOMPARE(q.request.proposedName, std::string("Picture"));
    QImage saved(dir.filePath(written));
    QCOMPARE(saved.size(), p.w().drawingArea()->picture().size());
    // Cancelling writes nothing and says nothing.
    const std::size_t logged = p.app.log.runs().size();
    p.prompter.queueFileName(std::nullopt);
    savePictureAsBitmap(p.app, p.w().drawingArea()->picture());
    QCOMPARE(p.app.log.runs().size(), logged);
}

void TestMainWindow::failedPictureSaveKeepsFile() {
    QTemporaryDir dir;
    Program p;
    // A folder named like the picture cannot be replaced by it.
    QVERIFY(QDir(dir.path()).mkdir("shot.bmp"));
    p.prompter.queueFileName(dir.filePath("shot.bmp").toStdString());
    savePictureAsBitmap(p.app, p.w().drawingArea()->picture());
    const std::string message = p.prompter.questions().back().text;
    QVERIFY(message.rfind("An error occured while trying to save the bitmap file: ", 0) == 0);
    QCOMPARE(p.prompter.questions().back().icon, MessageIcon::Critical);
    QCOMPARE(p.app.log.lastLine(), " " + message);
    QVERIFY(p.app.log.runs().back().bold);
    QVERIFY(QFileInfo(dir.filePath("shot.bmp")).isDir());
}

void TestMainWindow::realProgramStartsAndQuits() {
    QTemporaryDir home;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(VORTAK_PROGRAM), {kExamples + "/pratt-bridge.vok"});
    QVERIFY(program.waitForStarted(10000));
    QTest::qWait(1500);
    QCOMPARE(program.state(), QProcess::Running);
    program.terminate();  // as a desktop session ends: the window closes normally
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    // Closing stored the window placement.
    QVERIFY(QFileInfo::exists(home.filePath("config/Vortak/Vortak.conf")));
}

void TestMainWindow::trussBuiltThroughTheDialogs() {
    // A three-bar truss from nothing, through the dialogs only: 6 m span, 4 m high, 10 down
    // at the top. By the method of joints N = 3.75 in the tie and -6.25 in the rafters.
    Program p;
    const auto type = [](QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    };
    {
        GroupsDialog groups(p.app);
        type(groups.eBox(), "210000000");
        type(groups.aBox(), "0.001");
        groups.applyButton()->click();
    }
    {
        NodesDialog nodes(p.app);
        const auto node = [&](const char* x, const char* y, bool fixX, bool fixY) {
            type(nodes.xBox(), x);
            type(nodes.yBox(), y);
            if (fixX) nodes.fixXBox()->click();
            if (fixY) nodes.fixYBox()->click();
            nodes.applyButton()->click();
        };
        node("0", "0", true, true);
        node("6", "0", false, true);
        node("3", "4", false, false);
    }
    {
        ElementsDialog elements(p.app);
        const auto element = [&](const char* i, const char* j) {
            emit elements.nodeIBox()->activated(elements.nodeIBox()->findText(i));
            emit elements.nodeJBox()->activated(elements.nodeJBox()->findText(j));
            elements.applyButton()->click();
        };
        element("1", "2");
        element("1", "3");
        element("2", "3");
    }
    {
        LoadsDialog loads(p.app, nullptr, 3);
        type(loads.fyBox(), "-10");
        loads.applyButton()->click();
    }
    QVERIFY(p.prompter.questions().empty());  // nothing was refused
    Button_Epilisi(p.app);
    const Model& m = p.app.model;
    QVERIFY(!m.analysisFailed);
    QVERIFY(std::fabs(m.results.FL[1][2] - 3.75) < 1e-9);
    QVERIFY(std::fabs(m.results.FL[2][2] + 6.25) < 1e-9);
    QVERIFY(std::fabs(m.results.FL[3][2] + 6.25) < 1e-9);

    QTemporaryDir dir;
    p.prompter.queueFileName(dir.filePath("three-bar").toStdString());
    p.w().action("SaveAs")->trigger();
    const std::string path = dir.filePath("three-bar.vok").toStdString();
    QCOMPARE(m.fileName, path);
    QCOMPARE(p.w().windowTitle(), QString::fromStdString("Malvero Vortak - " + path));

    Program reopened(path);
    QCOMPARE(modelFileText(reopened.app.model, reopened.app.settings, reopened.app.view),
             modelFileText(m, p.app.settings, p.app.view));
    QVERIFY(ModelMatchesFile(p.app));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
