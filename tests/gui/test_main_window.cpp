#include <QMenuBar>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/drawing_area.h"
#include "app/main_window.h"
#include "app/picture_export.h"
#include "dialog_test_support.h"
#include "model/model_file.h"
#include "settings/settings_store.h"

using namespace vortak::test;

namespace {

// The program as main() builds it, with scripted answers instead of dialogs.
struct Program {
    explicit Program(const QString& file = "") {
        startUp(app, store, file.toStdString());
        window.emplace(app, store);
        shell.setWindow(&*window);
        window->show();
    }
    MainWindow& w() { return *window; }

    ScriptedPrompter prompter;
    GuiShell shell;
    MemorySettingsStore store;
    AppState app{prompter, shell};
    std::optional<MainWindow> window;
};

const QString kExamples = QStringLiteral(VORTAK_EXAMPLES_DIR);

// Where node n is drawn, in pixels of the drawing area.
QPoint nodeAt(Program& p, int n) {
    const ViewTransform& v = p.app.view;
    const QPointF cm(v.toPictureX(p.app.model.nodes.x[n]), v.toPictureY(p.app.model.nodes.y[n]));
    return (cm * p.w().drawingArea()->pixelsPerCm()).toPoint();
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void resultControlsAndLabelsMenu() {
        Program p(kExamples + "/pratt-bridge.vok");
        p.prompter.queueAnswer(Answer::Yes);  // analyse the freshly opened model
        p.w().action("CT")->trigger();
        QVERIFY(p.w().legendBox()->isVisible() && p.w().plusButton()->isHidden());
        p.app.settings.Animation_Frames = 10;
        p.w().action("Animate")->trigger();
        QVERIFY(p.w().animationTimerActive() && !p.w().action("Animate")->isEnabled());
        QVERIFY(p.w().plusButton()->isVisible() && p.w().legendBox()->isHidden());
        QTest::keyClick(&p.w(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!p.w().animationTimerActive(), 3000);
        QVERIFY(p.w().action("Animate")->isEnabled());

        QStringList checked;
        for (QAction* a : p.w().labelsMenu()->actions())
            if (a->text() == "Basic labels") a->trigger();
        p.w().clickPanel(6);  // the panel opens the menu with the labels shown ticked
        for (QAction* a : p.w().labelsMenu()->actions())
            if (a->isChecked()) checked << a->text();
        p.w().labelsMenu()->hide();
        QCOMPARE(checked, (QStringList{"Nodes numbering", "Elements numbering", "Nodal load values",
                                       "[N] values"}));
    }

    // A drag released over the log, or dropped with Esc, defines nothing.
    void abandonedDrags() {
        Program p(kExamples + "/pratt-bridge.vok");
        DrawingArea* area = p.w().drawingArea();
        const int nodes = p.app.model.nodeCount, elements = p.app.model.elementCount;
        const std::size_t logged = p.app.log.lines().size();
        const QPoint overLog(area->width() / 2, area->height() + 40);
        QTest::mousePress(area, Qt::LeftButton, {}, nodeAt(p, 1));
        QTest::mouseMove(area, area->rect().center());
        QTest::mouseRelease(area, Qt::LeftButton, {}, overLog);
        QTest::mousePress(area, Qt::LeftButton, {}, nodeAt(p, 1));
        QTest::mouseMove(area, nodeAt(p, 4));
        QTest::keyClick(&p.w(), Qt::Key_Escape);
        QTest::mouseRelease(area, Qt::LeftButton, {}, nodeAt(p, 4));
        QVERIFY(p.app.model.nodeCount == nodes && p.app.model.elementCount == elements &&
                p.app.log.lines().size() == logged);
    }

    // A mouse-made element is taken back by Ctrl+Z and made again by Ctrl+Y; the Edit menu's
    // captions name the step.
    void undoAndRedoFromTheKeyboard() {
        Program p(kExamples + "/pratt-bridge.vok");
        DrawingArea* area = p.w().drawingArea();
        QAction* undo = p.w().action("Undo");
        QAction* redo = p.w().action("Redo");
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        QCOMPARE(undo->text(), "Undo");
        p.w().resize(1000, 760);
        QTRY_VERIFY(area->height() > 400);
        // Node 1 and the next node in sight that it is not joined to.
        int other = 2;
        const auto joined = [&](int n) {
            for (int e = 1; e <= p.app.model.elementCount; ++e)
                if (p.app.model.nodeI(e) + p.app.model.nodeJ(e) == 1 + n &&
                    (p.app.model.nodeI(e) == 1 || p.app.model.nodeJ(e) == 1))
                    return true;
            return false;
        };
        while (joined(other) || !area->rect().contains(nodeAt(p, other))) ++other;
        const ModelTables opened = p.app.model;
        const QImage before = area->picture();
        const int elements = p.app.model.elementCount;
        QTest::mousePress(area, Qt::LeftButton, {}, nodeAt(p, 1));
        QTest::mouseMove(area, nodeAt(p, other));
        QTest::mouseRelease(area, Qt::LeftButton, {}, nodeAt(p, other));
        QCOMPARE(p.app.model.elementCount, elements + 1);
        const QString label = "New element #" + QString::number(elements + 1);
        QCOMPARE(undo->text(), "Undo " + label);
        QVERIFY(undo->isEnabled() && !redo->isEnabled());
        QVERIFY(area->picture() != before);

        // Shortcuts reach the active window only.
        QApplication::setActiveWindow(&p.w());
        QVERIFY(QTest::qWaitForWindowActive(&p.w()));
        QTest::keyClick(&p.w(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(p.app.model == opened);
        QCOMPARE(area->picture(), before);  // redrawn without the element
        QCOMPARE(QString::fromStdString(p.app.log.lastLine()), " Undo: " + label);
        QVERIFY(!undo->isEnabled() && redo->isEnabled());
        QCOMPARE(redo->text(), "Redo " + label);
        QTest::keyClick(&p.w(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(p.app.model.elementCount, elements + 1);
        QTest::keyClick(&p.w(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&p.w(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(p.app.model.elementCount, elements + 1);
        QCOMPARE(QString::fromStdString(p.app.log.lastLine()), " Redo: " + label);

        QStringList menus;
        for (QAction* menu : p.w().menuBar()->actions()) menus << menu->text();
        QCOMPARE(menus.mid(0, 3), (QStringList{"File", "Edit", "Model"}));
    }

    // Under a dark desktop scheme the option buttons and the drawing's labels keep the
    // drawing's own colours, so white text of the scheme never lands on a light ground.
    void darkScheme() {
        const QPalette saved = QApplication::palette();
        QPalette dark(QColor(45, 45, 45), QColor(30, 30, 30));  // button and window
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(role, Qt::white);
        QApplication::setPalette(dark);
        Program p(kExamples + "/pratt-bridge.vok");
        p.w().resize(1000, 760);
        DrawingArea* area = p.w().drawingArea();
        QTRY_VERIFY(area->height() > 400);
        const QRgb paper = area->picture().pixel(2, 2);
        // A drag from node 1 shows the coordinates label on the drawing's ground.
        const QPoint start = nodeAt(p, 1);
        QTest::mousePress(area, Qt::LeftButton, {}, start);
        QTest::mouseMove(area, start + QPoint(60, -40));
        const PointerOverlay& o = area->input().overlay();
        const QImage shown = area->grab().toImage();
        const double k = area->pixelsPerCm();
        QCOMPARE(shown.pixel(int(o.bandLabelX * k) + 2, int(o.bandLabelY * k) + 2), paper);
        QTest::keyClick(&p.w(), Qt::Key_Escape);
        QTest::mouseRelease(area, Qt::LeftButton, {}, start + QPoint(60, -40));

        p.prompter.queueAnswer(Answer::Yes);
        p.w().action("N")->trigger();
        const QRadioButton* option = p.w().findChildren<QRadioButton*>().front();
        const QColor ink(Qt::black);  // the default element colour
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            QCOMPARE(option->palette().color(role), ink);
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            QCOMPARE(option->palette().color(role).rgb(), paper);
        // The log's own colours stay on white.
        QVERIFY(p.w().findChild<QTextEdit*>()->palette().color(QPalette::Base) == Qt::white);
        QApplication::setPalette(saved);
    }

    // Panels stay in the status bar while the pointer rests on a toolbar button, and a
    // double click on a greyed panel switches it back on once.
    void statusBarPanels() {
        Program p;
        QWidget* button = p.w().findChild<QToolBar*>()->widgetForAction(p.w().action("N"));
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(button, &enter);
        QVERIFY(p.w().statusBar()->currentMessage().isEmpty());
        QLabel* axes = nullptr;
        for (QLabel* label : p.w().statusBar()->findChildren<QLabel*>())
            if (label->text() == "AXES") axes = label;
        QVERIFY(axes && axes->isVisible());
        QTest::mouseClick(axes, Qt::LeftButton);
        QVERIFY(!p.app.window.axesPanelEnabled && !axes->isEnabled());
        const auto doubleClick = [axes] {  // press, release, then the double click itself
            QTest::mouseClick(axes, Qt::LeftButton);
            QTest::mouseDClick(axes, Qt::LeftButton);
        };
        doubleClick();
        QVERIFY(p.app.window.axesPanelEnabled);
        doubleClick();
        QVERIFY(!p.app.window.axesPanelEnabled);
    }

    void pictureFiles_data() {
        // written: empty: the save fails
        columns<QString, QString>("typed", "written");
        QTest::addRow("no extension") << QString("bridge") << QString("bridge.bmp");
        QTest::addRow("extension") << QString("bridge.bmp") << QString("bridge.bmp");
        QTest::addRow("upper case") << QString("X.BMP") << QString("X.BMP.bmp");
        QTest::addRow("folder in the way") << QString("shot") << QString();
    }
    void pictureFiles() {
        const auto [typed, written] = fetch<QString, QString>("typed", "written");
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("shot.bmp"));
        Program p;
        p.prompter.queueFileName(dir.filePath(typed).toStdString());
        savePictureAsBitmap(p.app, p.w().drawingArea()->picture());
        const auto& asked = p.prompter.questions();
        QCOMPARE(asked.front().request.filter, std::string("Bitmap Files (*.bmp)|*.bmp"));
        if (!written.isEmpty())
            QCOMPARE(QImage(dir.filePath(written)).size(), p.w().drawingArea()->picture().size());
        else
            QVERIFY(asked.back().icon == MessageIcon::Critical &&
                    p.app.log.lastLine() == " " + asked.back().text &&
                    asked.back().text.starts_with(
                        "An error occured while trying to save the bitmap file: "));
    }

    void realProgramStartsAndQuits() {
        QTemporaryDir home;
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        env.insert("XDG_STATE_HOME", home.filePath("state"));  // no recovery copies of others
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(VORTAK_PROGRAM), {kExamples + "/pratt-bridge.vok"});
        QVERIFY(program.waitForStarted(10000) && !program.waitForFinished(1500));  // runs on
        program.terminate();  // as a desktop session ends: the window closes normally
        QVERIFY(program.waitForFinished(10000));
        QVERIFY(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0);
        QVERIFY(QFileInfo::exists(home.filePath("config/Vortak/Vortak.conf")));  // placement
    }

    void analysedSavedReopenedAndClosed() {
        Program p(kExamples + "/wall-cantilever.vok");
        p.w().action("Epilisi")->trigger();
        QVERIFY(p.app.model.hasCurrentResults());

        QTemporaryDir dir;
        p.prompter.queueFileName(dir.filePath("bar").toStdString());
        p.w().action("SaveAs")->trigger();
        const QString path = dir.filePath("bar.vok");
        QCOMPARE(p.w().windowTitle(), "Malvero Vortak - " + path);
        Program reopened(path);
        QCOMPARE(modelFileText(reopened.app.model, reopened.app.settings, reopened.app.view),
                 modelFileText(p.app.model, p.app.settings, p.app.view));
        QVERIFY(reopened.w().close() && reopened.prompter.questions().empty());

        // With unsaved changes closing asks first, and Cancel keeps the window open.
        p.app.model.nodes.Fx[2] = 20;
        p.prompter.queueAnswer(Answer::Cancel);
        QVERIFY(!p.w().close() && p.w().isVisible());
        QCOMPARE(p.prompter.questions().back().text,
                 "Do you want to save the changes you made to file: '" + path.toStdString() + "'?");
        p.prompter.queueAnswer(Answer::No);
        QVERIFY(p.w().close());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
