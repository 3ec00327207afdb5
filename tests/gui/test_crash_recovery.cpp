#include "app/app_state.h"
#include "app/commands.h"
#include "app/drawing_area.h"
#include "app/file_commands.h"
#include "app/main_window.h"
#include "app/recovery.h"
#include "dialog_test_support.h"
#include "model/model_file.h"
#include "settings/settings_store.h"

using namespace vortak::test;

namespace {

const QString kExamples = QStringLiteral(VORTAK_EXAMPLES_DIR);

// The program as main() builds it, with a recovery keeper on a test folder and scripted
// answers instead of dialogs.
struct Program {
    explicit Program(const QString& folder, const QString& file = "",
                     const QList<Answer>& startAnswers = {})
        : recoveryFolder(folder.toStdString()) {
        app.recovery = &keeper;
        for (Answer a : startAnswers) prompter.queueAnswer(a);
        startUp(app, store, file.toStdString());
        window.emplace(app, store);
        shell.setWindow(&*window);
        window->show();
    }
    ~Program() { shell.setWindow(nullptr); }
    MainWindow& w() { return *window; }

    QString copyPath() const { return QString::fromStdString(recoveryFolder.copyPath()); }
    bool hasCopy() const { return QFileInfo::exists(copyPath()); }
    std::string copiedText() const {
        const auto copy = parseRecoveryFile(contents(copyPath()).toStdString());
        return copy ? copy->modelText : std::string();
    }
    std::string modelText() const { return modelFileText(app.model, app.settings, app.view); }

    ScriptedPrompter prompter;
    GuiShell shell;
    MemorySettingsStore store;
    RecoveryFolder recoveryFolder;
    RecoveryKeeper keeper{recoveryFolder};
    AppState app{prompter, shell};
    std::optional<MainWindow> window;
};

// A fresh folder with a copy of an example model in it.
struct Workspace {
    Workspace() { QFile::copy(kExamples + "/pratt-bridge.vok", model); }
    QTemporaryDir dir;
    QString folder = dir.filePath("state/Vortak/recovery");
    QString model = dir.filePath("bridge.vok");
};

}  // namespace

class TestCrashRecovery : public QObject {
    Q_OBJECT
private slots:
    // A node placed with the mouse is in the copy within a couple of seconds; a freshly
    // opened model has none.
    void mouseEditIsKept() {
        Workspace ws;
        Program p(ws.folder, ws.model);
        QVERIFY(p.w().recoveryTimerActive());
        QTest::qWait(1300);
        QVERIFY(!p.hasCopy());
        DrawingArea* area = p.w().drawingArea();
        const int nodes = p.app.model.nodeCount;
        const QPoint empty(area->width() - 30, 30);
        QTest::mousePress(area, Qt::LeftButton, {}, empty);
        QTest::mouseRelease(area, Qt::LeftButton, {}, empty);
        QCOMPARE(p.app.model.nodeCount, nodes + 1);
        QTRY_VERIFY_WITH_TIMEOUT(p.hasCopy(), 2500);
        QCOMPARE(p.copiedText(), p.modelText());
    }

    // Changes within the interval wait, an analysis brings them in at once.
    void analysisUpdatesTheCopy() {
        Workspace ws;
        Program p(ws.folder, ws.model);
        p.app.model.nodes.Fx[3] = 15;
        QTRY_VERIFY_WITH_TIMEOUT(p.hasCopy(), 2500);
        p.app.model.nodes.Fx[3] = 25;
        QTest::qWait(1300);
        QVERIFY(p.copiedText() != p.modelText());
        p.w().action("Epilisi")->trigger();
        QVERIFY(p.app.model.hasCurrentResults());
        QTRY_COMPARE_WITH_TIMEOUT(p.copiedText(), p.modelText(), 500);
    }

    // Each document command of the window deletes the copy (whether the next look writes
    // one again is tested with the core); Exit also ends the keeping: the lock goes, and the
    // window closes and stops looking.
    void documentCommandsDeleteTheCopy_data() {
        columns<QString>("command");
        QTest::newRow("Save") << "Save";
        QTest::newRow("Save As") << "SaveAs";
        QTest::newRow("New, No") << "New";
        QTest::newRow("Open, No") << "Open";
        QTest::newRow("Exit, No") << "Exit";
    }
    void documentCommandsDeleteTheCopy() {
        const auto [command] = fetch<QString>("command");
        Workspace ws;
        Program p(ws.folder, ws.model);
        p.app.model.nodes.Fy[4] = -12;
        QTRY_VERIFY_WITH_TIMEOUT(p.hasCopy(), 2500);
        if (command == "SaveAs") p.prompter.queueFileName(ws.dir.filePath("b2").toStdString());
        if (command != "Save" && command != "SaveAs") p.prompter.queueAnswer(Answer::No);
        if (command == "Open")
            p.prompter.queueFileName((kExamples + "/pratt-bridge.vok").toStdString());
        p.w().action(command)->trigger();
        QVERIFY(!p.hasCopy());
        if (command == "Exit") {
            QVERIFY(!p.w().isVisible() && !p.w().recoveryTimerActive());
            QVERIFY(!QFileInfo::exists(QString::fromStdString(p.recoveryFolder.lockPath())));
        }
    }

    // A copy recovered at start-up (what is asked and restored is tested with the core)
    // names the window, starts the view history afresh and is kept by the window's looks.
    void startUpWithStaleCopy() {
        Workspace ws;
        const std::string oldName = ws.dir.filePath("lost.vok").toStdString();
        const RecoveryContent stale{oldName, std::time(nullptr) - 600, 77, detailedModelText()};
        QCOMPARE(RecoveryFolder(ws.folder.toStdString()).write(stale), std::nullopt);
        Program p(ws.folder, ws.model, {Answer::Yes});
        QCOMPARE(p.prompter.questions().size(), std::size_t(1));
        QCOMPARE(p.modelText(), stale.modelText);
        QCOMPARE(p.w().windowTitle().toStdString(), "Malvero Vortak - " + oldName);
        QVERIFY(!p.app.view.zoomPrevious());  // the history starts at the stored view
        QTRY_COMPARE_WITH_TIMEOUT(p.copiedText(), stale.modelText, 2500);
    }
};

QTEST_MAIN(TestCrashRecovery)
#include "test_crash_recovery.moc"
