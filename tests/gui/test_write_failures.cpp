#include <QtWidgets>

#include <cerrno>
#include <cstring>
#include <functional>
#include <map>

#include "../core/test_support.h"
#include "app/analysis_run.h"
#include "app/commands.h"
#include "app/picture_export.h"
#include "base/file_writer.h"
#include "editing/options_editor.h"
#include "report/report.h"
#include "report/results_window.h"
#include "report/table_export.h"
#include "settings/qsettings_store.h"

using namespace vortak::test;

namespace {

// Every file in a folder (hidden ones too) with its bytes: a changed old file or a temporary
// file left behind shows as a difference.
std::map<QString, QByteArray> snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path] = contents(path);
    }
    return files;
}

// One way the program saves a file, as the user starts it.
struct SavePath {
    QString oldFile;  // in the test folder: the file the save replaces, offered in the dialog
    // Runs the save into `folder`; the message the user gets on failure is `expected`
    // followed by the reason.
    std::function<void(Harness&, const QString& folder)> save;
    std::string expected = "There was an error saving the file: ";
};

std::map<QString, SavePath> savePaths() {
    std::map<QString, SavePath> paths;
    paths["model"] = {"model.vok", [](Harness& h, const QString&) { SaveAs(h.app); }};
    paths["report"] = {"report.txt", [](Harness& h, const QString&) {
                           SaveReportText(assembleReport(h.app.model, "1234"), h.app.model.fileName,
                                          h.prompter, h.app.log);
                       }};
    paths["SVG"] = {"drawing.svg",
                    [](Harness& h, const QString&) { saveDrawingAsSvg(h.app, 12, 9, 96); }};
    paths["BMP"] = {"picture.bmp",
                    [](Harness& h, const QString&) {
                        QImage picture(120, 80, QImage::Format_RGB32);
                        picture.fill(Qt::white);
                        savePictureAsBitmap(h.app, picture);
                    },
                    "An error occured while trying to save the bitmap file: "};
    // A new workbook goes beside the earlier ones in the export folder, which stay as they
    // were; the box has fixed words and the log adds the reason.
    paths["spreadsheet"] = {
        "",  // an earlier workbook in the export folder under the user's cache folder
        [](Harness& h, const QString& folder) {
            qputenv("XDG_CACHE_HOME", folder.toUtf8());
            ResultsSelection selection;
            ResultsWindow window(
                h.app, selection, nullptr,
                [](const QString&) {
                    return std::optional<std::array<bool, 4>>({0, 0, 1, 0});
                },
                [](const QString&) { return true; });
            window.exportTables();
        },
        "An error occured while trying to export file. The operation cannot be completed."};
    paths["settings"] = {"Vortak.conf",
                         [](Harness& h, const QString& folder) {
                             QSettingsStore store(folder + "/Vortak.conf");
                             OptionsEditor editor(h.app, store);
                             editor.open();
                             editor.grid = "2.5";
                             QVERIFY(!editor.saveDefault());
                         },
                         "There was an error saving the default options: "};
    return paths;
}

// Answers the file dialog with the path's old file in `folder` and runs the save.
void save(const SavePath& path, Harness& h, const QString& folder) {
    h.prompter.queueFileName((folder + "/" + path.oldFile).toStdString());
    path.save(h, folder);
}

// The message boxes shown, without the file-name questions.
std::vector<ScriptedPrompter::Question> boxes(const Harness& h) {
    std::vector<ScriptedPrompter::Question> shown;
    for (const auto& q : h.prompter.questions()) {
        if (q.kind == ScriptedPrompter::Kind::Message) shown.push_back(q);
    }
    return shown;
}

const char* kOldSettings = "[Rithmiseis]\nkannab=1\n\n[Startup]\nfrmM_W=9000\n";

}  // namespace

class TestWriteFailures : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName("Vortak");
        QCoreApplication::setApplicationName("Vortak");
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
    }

    // Every way the program saves a file, with the write failing before any content is
    // written, half-way through it and at its very end, and on a file system with no room
    // left: the old file keeps every byte, no temporary file is left, the user is told why in
    // a box and in red in the log, and a model keeps its file name and changed flag. (How
    // the writer meets a failure of each of its steps is the core's; a save only gets the
    // reason.)
    void failedSaveKeepsTheOldFile_data() {
        columns<QString, int, int>("path", "step", "error");
        for (const auto& [path, _] : savePaths()) {
            QTest::addRow("%s, temporary file", qPrintable(path))
                << path << int(FileStep::CreateTemp) << EIO;
            QTest::addRow("%s, write", qPrintable(path)) << path << int(FileStep::Write) << EIO;
            QTest::addRow("%s, rename", qPrintable(path)) << path << int(FileStep::Rename) << EIO;
            QTest::addRow("%s, full disk", qPrintable(path)) << path << -1 << ENOSPC;
        }
    }
    void failedSaveKeepsTheOldFile() {
        const auto [pathName, step, error] = fetch<QString, int, int>("path", "step", "error");
        const SavePath path = savePaths().at(pathName);
        QTemporaryDir dir;
        SmallDisk disk(dir.filePath("disk"));
        if (step < 0 && !disk.mounted) QSKIP("mounting a small file system needs the superuser");
        const QString folder = step < 0 ? disk.path : dir.path();
        QString oldFile = folder + "/" + path.oldFile;
        if (pathName == "spreadsheet") {
            qputenv("XDG_CACHE_HOME", folder.toUtf8());
            oldFile = workbookFolder() + "/Element forces-old.xlsx";
        }
        put(oldFile, pathName == "settings" ? QByteArray(kOldSettings) : QByteArray(3000, 'o'));

        Harness h;
        addBar(h.app.model, 4, 2.0e5, 0.01);
        h.app.model.nodes.Fx[2] = 30;
        Button_Epilisi(h.app);
        h.app.model.fileName = (folder + "/model.vok").toStdString();
        h.app.model.changed = true;
        h.prompter.clear();
        if (step < 0) disk.fill();
        const auto before = snapshot(folder);
        const std::string reason = std::strerror(error);
        const QString settingsFile = folder + "/Vortak.conf";
        if (pathName == "settings") {
            // The store tries once more as it goes away, as it does at the program's end.
            QTest::ignoreMessage(QtWarningMsg,
                                 qPrintable("Vortak: the settings could not be saved: " +
                                            settingsFile + ": " + reason.c_str()));
        }
        {
            // A failing disk stays failing: every later call of the step fails too.
            std::optional<FileFault> fault;
            if (step >= 0) fault.emplace(FileStep(step), error, 0, true);
            save(path, h, folder);
            if (fault) QVERIFY(fault->calls(FileStep(step)) > 0);
        }
        qputenv("XDG_CACHE_HOME", home_.filePath("cache").toUtf8());

        QCOMPARE(snapshot(folder), before);
        std::string message = path.expected;
        if (pathName == "settings") message += (settingsFile + ": ").toStdString();
        if (pathName != "spreadsheet") message += reason;
        const auto shown = boxes(h);
        QCOMPARE(shown.size(), std::size_t(1));
        QCOMPARE(shown[0].text, message);
        QCOMPARE(shown[0].icon, MessageIcon::Critical);
        const QStringList log = logLines(h.app);
        QVERIFY(log.filter(QString::fromStdString(message)).size() == 1);
        QCOMPARE(h.app.log.runs().back().colour, LogColour::Red);
        if (pathName == "spreadsheet") {
            QVERIFY(log.last().endsWith(QString("Element forces: ") + reason.c_str()));
        }
        if (pathName == "model") {
            QCOMPARE(h.app.model.fileName, (folder + "/model.vok").toStdString());
            QVERIFY(h.app.model.changed);
        }
    }

    // Saving a picture, a drawing, a report or a model through a link writes the link's
    // target and leaves the link.
    void savesThroughLinks_data() {
        columns<QString>("path");
        for (const auto& [path, _] : savePaths()) {
            if (path != "spreadsheet" && path != "settings")
                QTest::newRow(qPrintable(path)) << path;
        }
    }
    void savesThroughLinks() {
        const auto [pathName] = fetch<QString>("path");
        const SavePath path = savePaths().at(pathName);
        QTemporaryDir dir, elsewhere;
        const QString target = elsewhere.filePath("real");
        put(target, "old");
        const QString link = dir.filePath(path.oldFile);
        QVERIFY(QFile::link(target, link));
        Harness h;
        addBar(h.app.model, 4);
        save(path, h, dir.path());
        QCOMPARE(boxes(h).size(), std::size_t(0));
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(contents(target).size() > 3);
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"real"});
    }

    // The settings file is the one the program has always kept: what QSettings wrote is read,
    // and what the store writes reads back through QSettings, odd characters included.
    void settingsFileReadsBothWays_data() {
        columns<QString, QString>("key", "value");
        const auto row = [](const char* name, const char* key, const char* value) {
            QTest::newRow(name) << QString::fromUtf8(key) << QString::fromUtf8(value);
        };
        row("number", "Ena_cm_posa_FORCE", "100");
        row("negative colour", "xroma_background", "-2147483634");
        row("blanks around", "text", "  two blanks  ");
        row("comma and semicolon", "text", "a, b; c = d");
        row("quotes and backslash", "text", "say \"C:\\x\"");
        row("control characters", "text",
            "tab\there\nnew line\x1b"
            "1");
        row("at sign", "text", "@Variant(not one)");
        row("non-ASCII", "text", "Ράβδος ü");
        row("odd key", "key with/slash é", "1");
        row("empty", "text", "");
    }
    void settingsFileReadsBothWays() {
        const auto [key, value] = fetch<QString, QString>("key", "value");
        QTemporaryDir dir;
        const QString theirs = dir.filePath("theirs.conf"), ours = dir.filePath("ours.conf");
        {
            QSettings settings(theirs, QSettings::IniFormat);
            settings.setValue("Rithmiseis/" + key, value);
        }
        QCOMPARE(QSettingsStore(theirs).value("rithmiseis", key.toLower().toStdString()),
                 value.toStdString());
        {
            QSettingsStore store(ours);
            store.setValue("Rithmiseis", key.toStdString(), value.toStdString());
            QCOMPARE(store.save(), std::nullopt);
        }
        QCOMPARE(QSettings(ours, QSettings::IniFormat).value("Rithmiseis/" + key).toString(),
                 value);
    }
};

QTEST_MAIN(TestWriteFailures)
#include "test_write_failures.moc"
