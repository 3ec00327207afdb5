#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <ctime>

#include "app/commands.h"
#include "app/file_commands.h"
#include "app/recovery.h"
#include "model/model_file.h"
#include "settings/settings_store.h"
#include "test_support.h"

using namespace vortak::test;

namespace {

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A program that writes a copy into `folder` and ends, as a crashed one does; nothing is
// written when `content` is empty.
void deadProgram(const QString& folder, std::optional<RecoveryContent> content) {
    const pid_t child = ::fork();
    if (child == 0) {
        RecoveryFolder mine(folder.toStdString());
        bool ok = mine.active();
        if (ok && content) ok = !mine.write(*content);
        ::_exit(ok ? 0 : 1);  // the lock goes with the process; the files stay
    }
    int status = 0;
    QVERIFY(child > 0 && ::waitpid(child, &status, 0) == child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

RecoveryContent sampleContent(std::time_t at, const std::string& fileName) {
    Model m;
    addBar(m, 8, 2.0e8, 0.01);
    ViewSettings settings;
    ViewTransform view;
    return {fileName, at, 4242, modelFileText(m, settings, view)};
}

// 2026-12-06 18:52:30 UTC.
constexpr std::time_t kEvening = 1796583150;

// A program state with a recovery keeper on a temporary folder.
struct Recovering {
    QTemporaryDir dir;
    QString folder = dir.filePath("state/Vortak/recovery");
    Harness h;
    RecoveryFolder recoveryFolder{folder.toStdString()};
    RecoveryKeeper keeper{recoveryFolder};
    AppState& app = h.app;
    Recovering() { app.recovery = &keeper; }

    QString copyPath() const { return QString::fromStdString(recoveryFolder.copyPath()); }
    bool hasCopy() const { return QFileInfo::exists(copyPath()); }
    std::optional<RecoveryContent> copy() const {
        return parseRecoveryFile(contents(copyPath()).toStdString());
    }
    std::string modelText() const { return modelFileText(app.model, app.settings, app.view); }
};

}  // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Two hours east of UTC: the times the user is shown must be local ones.
        qputenv("TZ", "XST-2");
        ::tzset();
    }

    void folder_data() {
        columns<QString, QString, QString>("stateHome", "home", "folder");
        const auto row = [](const char* name, QString stateHome, QString home, QString folder) {
            QTest::newRow(name) << stateHome << home << folder;
        };
        row("state home", "/s", "/h", "/s/Vortak/recovery");
        row("no state home", QString(), "/h", "/h/.local/state/Vortak/recovery");
        row("relative state home", "s", "/h", "/h/.local/state/Vortak/recovery");
        row("nothing usable", "", "h", "");
    }
    void folder() {
        const auto [stateHome, home, folder] =
            fetch<QString, QString, QString>("stateHome", "home", "folder");
        const std::string s = stateHome.toStdString(), h = home.toStdString();
        QCOMPARE(recoveryFolder(stateHome.isNull() ? nullptr : s.c_str(), h.c_str()),
                 folder.toStdString());
    }

    void writeTime_data() {
        // last: -1 for no write yet
        columns<double, double, double>("changed", "last", "due");
        QTest::newRow("first change ever") << 5.0 << -1.0 << 5.0;
        QTest::newRow("after a quiet spell") << 100.0 << 40.0 << 100.0;
        QTest::newRow("just at the interval") << 70.0 << 40.0 << 70.0;
        QTest::newRow("soon after a write") << 45.0 << 40.0 << 70.0;
        QTest::newRow("same second as the write") << 40.0 << 40.0 << 70.0;
    }
    void writeTime() {
        const auto [changed, last, due] = fetch<double, double, double>("changed", "last", "due");
        QCOMPARE(recoveryWriteTime(changed, last < 0 ? std::nullopt : std::optional(last), 30),
                 due);
    }

    void fileRoundTrip_data() {
        columns<QString>("fileName");
        QTest::newRow("untitled") << QString();
        QTest::newRow("plain") << "/home/ana/bridge.vok";
        QTest::newRow("blanks and unicode") << "/home/ana/My Models/γέφυρα 2.vok";
        QTest::newRow("line breaks and backslashes") << "/tmp/a\\nb\n\r\\.vok";
    }
    void fileRoundTrip() {
        const auto [fileName] = fetch<QString>("fileName");
        RecoveryContent content = sampleContent(kEvening, fileName.toStdString());
        const auto back = parseRecoveryFile(recoveryFileText(content));
        QVERIFY(back);
        QCOMPARE(back->fileName, content.fileName);
        QCOMPARE(back->savedAt, content.savedAt);
        QCOMPARE(back->pid, content.pid);
        QCOMPARE(back->modelText, content.modelText);  // byte for byte, CR LF kept
        QVERIFY(parseModelFile(back->modelText).content);
    }

    void notRecoveryCopies_data() {
        columns<QByteArray>("text");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("a model file") << QByteArray::fromStdString(sampleContent(0, "").modelText);
        QTest::newRow("cut in the header") << QByteArray("Vortak recovery copy\nfile x\ntime 5");
        QTest::newRow("no time") << QByteArray("Vortak recovery copy\nfile x\n\nmodel");
        QTest::newRow("no file") << QByteArray("Vortak recovery copy\ntime 5\n\nmodel");
        QTest::newRow("bad time") << QByteArray("Vortak recovery copy\nfile x\ntime 5s\n\nm");
        QTest::newRow("bad escape") << QByteArray("Vortak recovery copy\nfile x\\t\ntime 5\n\nm");
    }
    void notRecoveryCopies() {
        const auto [text] = fetch<QByteArray>("text");
        QVERIFY(!parseRecoveryFile(text.toStdString()));
    }

    // A running program's copy is never offered, whether that program is another process or
    // another owner in this one; once the process has ended its copy is.
    void onlyEndedProgramsCopies() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("recovery");
        int ready[2];
        QVERIFY(::pipe(ready) == 0);
        pid_t child = ::fork();
        if (child == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // ends with the test, however that ends
            RecoveryFolder mine(folder.toStdString());
            const char ok = mine.active() && !mine.write(sampleContent(kEvening, "/m/a.vok"));
            [[maybe_unused]] ssize_t n = ::write(ready[1], &ok, 1);
            ::pause();  // runs until it is killed
        }
        const auto end = qScopeGuard([&] {
            if (child > 0 && ::kill(child, SIGKILL) == 0) ::waitpid(child, nullptr, 0);
            ::close(ready[0]);
            ::close(ready[1]);
        });
        char ok = 0;
        QVERIFY(child > 0 && ::read(ready[0], &ok, 1) == 1 && ok == 1);

        RecoveryFolder self(folder.toStdString()), sibling(folder.toStdString());
        QVERIFY(self.active() && sibling.active() && self.copyPath() != sibling.copyPath());
        QVERIFY(!sibling.write(sampleContent(kEvening + 60, "")));
        QVERIFY(self.claimStaleCopies().empty());

        const pid_t ended = std::exchange(child, 0);
        QVERIFY(::kill(ended, SIGKILL) == 0 && ::waitpid(ended, nullptr, 0) == ended);
        auto stale = self.claimStaleCopies();
        QCOMPARE(stale.size(), std::size_t(1));
        QCOMPARE(stale[0].content().fileName, std::string("/m/a.vok"));
        QVERIFY(
            QString::fromStdString(stale[0].path()).contains("/" + QString::number(ended) + "-"));
        // Claimed: another program starting now does not offer it too.
        RecoveryFolder other(folder.toStdString());
        QVERIFY(other.claimStaleCopies().empty());
        // Given up without an answer, it is there for the next start.
        stale.clear();
        auto again = other.claimStaleCopies();
        QCOMPARE(again.size(), std::size_t(1));
        const QString copy = QString::fromStdString(again[0].path());
        again[0].remove();
        QVERIFY(!QFileInfo::exists(copy) && !QFileInfo::exists(copy.chopped(9) + ".lock"));
        QVERIFY(self.claimStaleCopies().empty());
    }

    // Several ended programs: newest first; a lock file left without a copy is cleared away,
    // and a copy whose lock file is gone is still found.
    void endedProgramsNewestFirst() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("recovery");
        deadProgram(folder, sampleContent(kEvening - 3600, "/m/older.vok"));
        deadProgram(folder, sampleContent(kEvening, "/m/newest.vok"));
        deadProgram(folder, std::nullopt);  // ended with nothing unsaved
        deadProgram(folder, sampleContent(kEvening - 60, "/m/middle.vok"));
        for (const QString& name : filesIn(folder))
            if (name.endsWith(".recovery") && contents(folder + "/" + name).contains("middle"))
                QVERIFY(QFile::remove(folder + "/" + name.chopped(9) + ".lock"));
        QCOMPARE(filesIn(folder).size(), 6);  // three copies, two with their locks, an orphan

        RecoveryFolder self(folder.toStdString());
        const auto stale = self.claimStaleCopies();
        QStringList order;
        for (const ClaimedCopy& c : stale) order << QString::fromStdString(c.content().fileName);
        QCOMPARE(order, (QStringList{"/m/newest.vok", "/m/middle.vok", "/m/older.vok"}));
        // Three copies, their three lock files, and this program's own lock.
        QCOMPARE(filesIn(folder).size(), 7);
    }

    // The first change is kept at once, later ones gathered for the interval, an analysis
    // brings the copy up to date at once, and a model that matches its file has none.
    void keeperTiming() {
        using Change = void (*)(Recovering&);
        const Change node = [](Recovering& r) { addNode(r.app.model, r.app.model.nodeCount, 1); };
        // The view is saved with the model, so it counts as a change.
        const Change view40 = [](Recovering& r) { r.app.view.scale = 40; };
        const Change view41 = [](Recovering& r) { r.app.view.scale = 41; };
        const Change analysis = [](Recovering&) {};  // the look is an analysis's writeNow
        // Saved by other means than the Save command (the close question's Yes, say).
        const Change saved = [](Recovering& r) {
            QVERIFY(WriteModelFile(r.app, r.dir.filePath("m.vok").toStdString(), false) ==
                    FileOutcome::Done);
        };
        // At monotonic second t (the wall clock shows kEvening + t) the change is made, the
        // keeper looks, and the copy is then from savedAt (-1: none). Nothing to lose at 0,
        // the first change at once, later ones after the interval; no write without a change
        // (200); the analysis at once (203); at 300 the text is what it was at the last look;
        // at 340 the model is back as saved.
        const struct {
            double t;
            Change change;
            int savedAt;
        } steps[] = {{0, nullptr, -1},     {1, node, 1},       {2, node, 1},
                     {10, nullptr, 1},     {30.9, nullptr, 1}, {31, nullptr, 31},
                     {200, nullptr, 31},   {201, node, 201},   {202, view40, 201},
                     {203, analysis, 203}, {300, saved, 203},  {301, view41, 301},
                     {340, view40, -1}};
        Recovering r;
        QVERIFY(r.recoveryFolder.active());
        for (const auto& s : steps) {
            if (s.change != nullptr) s.change(r);
            if (s.change == analysis) {
                r.keeper.writeNow(r.app, s.t, kEvening + std::time_t(s.t));
            } else {
                r.keeper.tick(r.app, s.t, kEvening + std::time_t(s.t));
            }
            const auto copy = r.copy();
            const int at = !r.hasCopy() ? -1 : copy ? int(copy->savedAt - kEvening) : -2;
            QVERIFY2(at == s.savedAt, qPrintable(QString("at %1 s: %2").arg(s.t).arg(at)));
            if (at == int(s.t)) {  // written just now: what saving would write, by whom
                QCOMPARE(copy->modelText, r.modelText());
                QCOMPARE(copy->fileName, r.app.model.fileName);
                QCOMPARE(copy->pid, long(::getpid()));
            }
        }
    }

    // A command that saves the work or gives it up deletes the copy, and the next look
    // writes none; unsaved work that stays in memory keeps its copy: a Cancel of the
    // question, a save that failed, an Open whose file dialog was cancelled after No.
    void documentCommands_data() {
        // answer: to the save question, -1 for none; file: the model's file name for Save,
        // else the one chosen in the file dialog ("" for none).
        columns<QString, int, QString, bool>("command", "answer", "file", "kept");
        const int no = int(Answer::No), cancel = int(Answer::Cancel);
        QTest::newRow("Save") << "Save" << -1 << "m.vok" << false;
        QTest::newRow("failed Save") << "Save" << -1 << "missing/m.vok" << true;
        QTest::newRow("Save As") << "SaveAs" << -1 << "b2.vok" << false;
        QTest::newRow("New, No") << "New" << no << "" << false;
        QTest::newRow("New, Cancel") << "New" << cancel << "" << true;
        QTest::newRow("Open, No") << "Open" << no << "open.vok" << false;
        QTest::newRow("Open, No, no file chosen") << "Open" << no << "" << true;
    }
    void documentCommands() {
        const auto [command, answer, file, kept] =
            fetch<QString, int, QString, bool>("command", "answer", "file", "kept");
        Recovering r;
        addBar(r.app.model, 8, 2.0e8, 0.01);
        put(r.dir.filePath("open.vok"), QByteArray::fromStdString(r.modelText()));
        r.keeper.tick(r.app, 0, kEvening);
        QVERIFY(r.hasCopy());
        const std::string path = file.isEmpty() ? "" : r.dir.filePath(file).toStdString();
        if (answer >= 0) r.h.prompter.queueAnswer(Answer(answer));
        if (command == "Save") r.app.model.fileName = path;
        r.h.prompter.queueFileName(path.empty() ? std::nullopt : std::optional(path));
        MemorySettingsStore store;
        if (command == "Save") Button_Apothikefsi_Arxeiou(r.app);
        if (command == "SaveAs") SaveAs(r.app);
        if (command == "New") Button_Neo_arxeio(r.app, store);
        if (command == "Open") Button_Anagnosi_Arxeiou(r.app);
        r.keeper.tick(r.app, 1, kEvening + 1);  // within the interval of the first write
        QCOMPARE(r.hasCopy(), kept);
        if (kept) QCOMPARE(r.copy()->modelText, r.modelText());
    }

    // A folder that cannot be made leaves recovery off: nothing is written or found. A copy
    // that cannot be written costs one quiet log line, once, and no question.
    void failedWrites() {
        Recovering r;
        QVERIFY(QDir(r.folder).removeRecursively());
        QFile blocker(r.folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        RecoveryFolder blocked((r.folder + "/recovery").toStdString());
        QVERIFY(!blocked.active() && blocked.claimStaleCopies().empty());
        QVERIFY(blocked.write(sampleContent(kEvening, "")));
        addNode(r.app.model, 1, 1);
        const std::size_t logged = r.app.log.runs().size();
        r.keeper.tick(r.app, 0, kEvening);
        addNode(r.app.model, 2, 2);
        r.keeper.tick(r.app, 40, kEvening + 40);
        r.keeper.writeNow(r.app, 41, kEvening + 41);
        QVERIFY(r.h.prompter.questions().empty());
        QCOMPARE(r.app.log.runs().size(), logged + 1);
        QVERIFY(r.app.log.lastLine().starts_with(" The recovery copy could not be written: "));
        QCOMPARE(r.app.log.runs().back().colour, LogColour::Grey);
    }

    // Start-up offers the copies newest first; No deletes one, Yes restores it exactly as
    // unsaved work under its old name, and older ones stay for the next start. A recovered
    // model takes the place of the file named on the command line.
    void startUpOffers_data() {
        columns<QList<int>, QString, int>("answers", "opened", "left");
        const int yes = int(Answer::Yes), no = int(Answer::No);
        QTest::newRow("Yes to the newest") << QList<int>{yes} << "/m/newest.vok" << 1;
        QTest::newRow("No, then Yes") << QList<int>{no, yes} << "" << 0;
        QTest::newRow("No to both") << QList<int>{no, no} << "command line" << 0;
    }
    void startUpOffers() {
        const auto [answers, opened, left] =
            fetch<QList<int>, QString, int>("answers", "opened", "left");
        Recovering r;
        const RecoveryContent newest = sampleContent(kEvening, "/m/newest.vok");
        const RecoveryContent older{"", kEvening - 86400, 4242, detailedModelText()};
        deadProgram(r.folder, older);
        deadProgram(r.folder, newest);

        Harness writer;  // the file named on the command line
        addBar(writer.app.model, 3);
        const std::string named = r.dir.filePath("named.vok").toStdString();
        QVERIFY(WriteModelFile(writer.app, named, false) == FileOutcome::Done);

        for (int a : answers) r.h.prompter.queueAnswer(Answer(a));
        MemorySettingsStore store;
        startUp(r.app, store, named);
        const auto& q = r.h.prompter.questions();
        QCOMPARE(q.size(), std::size_t(answers.size()));
        QCOMPARE(q[0].text, std::string("Recover the unsaved model from 2026-12-06 20:52?"));
        QVERIFY(q[0].icon == MessageIcon::Question && q[0].buttons == MessageButtons::YesNo);
        if (q.size() > 1)
            QCOMPARE(q[1].text, std::string("Recover the unsaved model from 2026-12-05 20:52?"));

        if (opened == "command line") {
            QCOMPARE(r.app.model.fileName, named);
            QVERIFY(ModelMatchesFile(r.app));
        } else {
            const RecoveryContent& chosen = opened.isEmpty() ? older : newest;
            const std::string shown = opened.isEmpty() ? "Untitled.vok" : chosen.fileName;
            QCOMPARE(r.modelText(), chosen.modelText);
            QCOMPARE(r.app.model.fileName, chosen.fileName);
            QCOMPARE(caption(r.app), "Malvero Vortak - " + shown);
            QVERIFY(r.app.model.changed && !r.app.model.results.valid);
            QCOMPARE(r.app.view.historyTop(), 0);
            QCOMPARE(r.app.view.historyEntry(0).scale, double(r.app.view.scale));
            QCOMPARE(logLines(r.app, 1).front(),
                     " Recovered unsaved model from " +
                         QString(opened.isEmpty() ? "2026-12-05 20:52: " : "2026-12-06 20:52: ") +
                         QString::fromStdString(shown));
            // Closing asks to save the recovered work.
            r.h.prompter.queueAnswer(Answer::Cancel);
            QVERIFY(!confirmShutdown(r.app));
            QCOMPARE(q.back().text,
                     "Do you want to save the changes you made to file: '" + shown + "'?");
            // The recovered work is this program's own unsaved work from now on.
            r.keeper.tick(r.app, 0, kEvening + 100);
            QCOMPARE(r.copy()->modelText, chosen.modelText);
        }
        RecoveryFolder next(r.dir.filePath("state/Vortak/recovery").toStdString());
        QCOMPARE(int(next.claimStaleCopies().size()), left);
    }
};

QTEST_APPLESS_MAIN(TestRecovery)
#include "test_recovery.moc"
