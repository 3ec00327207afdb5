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
    explicit Program(const QString& file = "") {
        startUp(app, store, file.toStdString());
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
    QString viewName() { return window->panelText(7); }
    int cm(double top) { return int(top * window->drawingArea()->pixelsPerCm()); }
    void savePicture() { savePictureAsBitmap(app, window->drawingArea()->picture()); }

    ScriptedPrompter prompter;
    GuiShell shell;
    MemorySettingsStore store;
    AppState app{prompter, shell};
    std::optional<MainWindow> window;
};

const QString kExamples = QStringLiteral(VORTAK_EXAMPLES_DIR);

void type(QLineEdit* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void viewCommandsAndAnimation() {
        const QString file = kExamples + "/pratt-bridge.vok";
        Program p(file);
        QVERIFY(p.w().logView()->toPlainText().endsWith("Open file: " + file));
        QVERIFY(ModelMatchesFile(p.app));     // showing the file's view changes nothing to save
        p.prompter.queueAnswer(Answer::Yes);  // analyse the freshly opened model
        p.w().action("N")->trigger();
        QCOMPARE(p.viewName(), QString(" Axial force Diagram [N]"));
        QCOMPARE(p.w().plusButton()->y(), p.cm(1.376));
        QVERIFY(p.w().plusButton()->isVisible() && p.w().optionButton(0)->isChecked());

        p.app.settings.Show_STRESS = true;
        p.w().action("CT")->trigger();
        QVERIFY(p.w().legendBox()->isVisible() && p.w().plusButton()->isHidden());
        QVERIFY(p.w().optionButton(1)->isChecked());
        p.w().optionButton(2)->click();
        QVERIFY(p.app.settings.Show_STRAIN && !p.app.settings.Show_STRESS);

        p.w().action("Deform")->trigger();
        QCOMPARE(p.viewName(), QString(" Deformed model"));
        QVERIFY(p.w().legendBox()->isHidden() && p.w().optionButton(0)->isHidden());

        p.app.settings.Animation_Frames = 10;
        p.w().action("Animate")->trigger();
        QVERIFY(p.w().animationTimerActive() && !p.w().action("Animate")->isEnabled());
        QCOMPARE(p.viewName(), QString(" Deformation Animation: Press [ESC] to Cancel"));
        QTest::qWait(50);  // a few frames of the rising half
        QTest::keyClick(&p.w(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!p.w().animationTimerActive(), 3000);
        QCOMPARE(p.viewName(), QString(" Deformed model"));
        QVERIFY(p.w().action("Animate")->isEnabled());
    }

    void labelsMenuAndPanels() {
        Program p;
        QMenu* menu = p.w().labelsMenu();
        for (QAction* a : menu->actions())
            if (a->text() == "Basic labels") a->trigger();
        p.w().clickPanel(6);  // the panel opens the same menu
        QStringList checked;
        for (QAction* a : menu->actions())
            if (a->isChecked()) checked << a->text();
        menu->hide();
        QCOMPARE(checked, (QStringList{"Nodes numbering", "Elements numbering", "Nodal load values",
                                       "[N] values"}));
        for (const bool on : {false, true}) {
            for (int panel : {3, 4, 5}) p.w().clickPanel(panel);
            QCOMPARE(
                (QList<bool>{p.w().panelEnabled(3), p.w().panelVisible(1), p.w().panelVisible(2),
                             p.w().panelEnabled(4), p.app.settings.nai_aksones,
                             p.w().panelEnabled(5), p.app.settings.nai_grid}),
                QList<bool>(7, on));
        }
    }

    void pictureFiles_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");  // empty: the save fails
        QTest::addRow("no extension") << QString("bridge") << QString("bridge.bmp");
        QTest::addRow("extension") << QString("bridge.bmp") << QString("bridge.bmp");
        QTest::addRow("upper case") << QString("X.BMP") << QString("X.BMP.bmp");
        QTest::addRow("folder in the way") << QString("shot") << QString();
    }
    void pictureFiles() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("shot.bmp"));  // a picture cannot replace it
        Program p;
        p.prompter.queueFileName(dir.filePath(typed).toStdString());
        p.savePicture();
        const auto& asked = p.prompter.questions();
        QCOMPARE(asked.front().request.filter, std::string("Bitmap Files (*.bmp)|*.bmp"));
        if (written.isEmpty()) {
            const std::string message = asked.back().text;
            QVERIFY(message.rfind("An error occured while trying to save the bitmap file: ", 0) ==
                    0);
            QCOMPARE(asked.back().icon, MessageIcon::Critical);
            QCOMPARE(p.app.log.lastLine(), " " + message);
            QVERIFY(QFileInfo(dir.filePath("shot.bmp")).isDir());
            return;
        }
        QCOMPARE(QImage(dir.filePath(written)).size(), p.w().drawingArea()->picture().size());
        // Cancelling writes nothing and says nothing.
        const std::size_t logged = p.app.log.runs().size();
        p.prompter.queueFileName(std::nullopt);
        p.savePicture();
        QCOMPARE(p.app.log.runs().size(), logged);
    }

    void realProgramStartsAndQuits() {
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
        QVERIFY(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0);
        // Closing stored the window placement.
        QVERIFY(QFileInfo::exists(home.filePath("config/Vortak/Vortak.conf")));
    }

    void trussBuiltThroughTheDialogs() {
        // 6 m span, 4 m high, 10 down at the top: by the method of joints N = 3.75 in the tie
        // and -6.25 in the rafters.
        Program p;
        GroupsDialog groups(p.app);
        type(groups.eBox(), "210000000");
        type(groups.aBox(), "0.001");
        groups.applyButton()->click();
        NodesDialog nodes(p.app);
        for (const auto& [x, y, fixX, fixY] : {std::tuple{"0", "0", true, true},
                                               {"6", "0", false, true},
                                               {"3", "4", false, false}}) {
            type(nodes.xBox(), x);
            type(nodes.yBox(), y);
            if (fixX) nodes.fixXBox()->click();
            if (fixY) nodes.fixYBox()->click();
            nodes.applyButton()->click();
        }
        ElementsDialog elements(p.app);
        for (const auto& [i, j] : {std::pair{"1", "2"}, {"1", "3"}, {"2", "3"}}) {
            emit elements.nodeIBox()->activated(elements.nodeIBox()->findText(i));
            emit elements.nodeJBox()->activated(elements.nodeJBox()->findText(j));
            elements.applyButton()->click();
        }
        LoadsDialog loads(p.app, nullptr, 3);
        type(loads.fyBox(), "-10");
        loads.applyButton()->click();
        QVERIFY(p.prompter.questions().empty());  // nothing was refused
        Button_Epilisi(p.app);
        const Model& m = p.app.model;
        QVERIFY(!m.analysisFailed);
        for (const auto& [element, force] : {std::pair{1, 3.75}, {2, -6.25}, {3, -6.25}})
            QVERIFY(std::fabs(m.results.FL[element][2] - force) < 1e-9);

        QTemporaryDir dir;
        p.prompter.queueFileName(dir.filePath("three-bar").toStdString());
        p.w().action("SaveAs")->trigger();
        const QString path = dir.filePath("three-bar.vok");
        QCOMPARE(p.w().windowTitle(), "Malvero Vortak - " + path);
        QVERIFY(ModelMatchesFile(p.app));
        Program reopened(path);
        QCOMPARE(modelFileText(reopened.app.model, reopened.app.settings, reopened.app.view),
                 modelFileText(m, p.app.settings, p.app.view));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
