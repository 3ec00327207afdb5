#include <QDir>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QToolBar>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "dialog_test_support.h"
#include "settings/settings_store.h"

using namespace vortak::test;

namespace {

const QString kHelp = QStringLiteral(VORTAK_SOURCE_DIR "/docs/help");

QString readPage(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Every command reachable from the menu bar, as "File > Export... > Drawing as SVG file".
void collect(const QMenu* menu, const QString& path, QStringList& out) {
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        const QString here = path.isEmpty() ? a->text() : path + " > " + a->text();
        if (a->menu() != nullptr)
            collect(a->menu(), here, out);
        else
            out << here;
    }
}

struct Program {
    Program() {
        startUp(app, store, "");
        window.emplace(app, store);
        window->show();
    }
    ScriptedPrompter prompter;
    GuiShell shell;
    MemorySettingsStore store;
    AppState app{prompter, shell};
    std::optional<MainWindow> window;
};

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    // The reference page names every command of the menus and every toolbar button by its
    // exact caption, so a command added or renamed without its help is caught here.
    void everyCommandIsInTheReference() {
        Program p;
        QStringList commands;
        for (QAction* top : p.window->menuBar()->actions()) collect(top->menu(), "", commands);
        QVERIFY2(commands.size() > 20, qPrintable(commands.join("; ")));
        const QString reference = readPage(kHelp + "/menus.html");
        QStringList missing;
        for (const QString& command : commands) {
            // The last step of the path is what the table shows in bold.
            const QString caption = command.section(" > ", -1).toHtmlEscaped();
            if (!reference.contains(caption + "</b>")) missing << command;
        }
        for (QAction* a : p.window->findChild<QToolBar*>()->actions()) {
            if (a->isSeparator() || a->toolTip().isEmpty()) continue;
            if (!reference.contains("<b>" + a->toolTip().toHtmlEscaped() + "</b>"))
                missing << "toolbar: " + a->toolTip();
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join("; ")));
    }

    // Help > Contents shows the contents page, in a window named after it.
    void contentsShowsTheFirstPage() {
        Program p;
        p.window->action("Contents")->trigger();
        QTextBrowser* help = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = qobject_cast<QTextBrowser*>(w); b && b->isVisible()) help = b;
        QVERIFY(help != nullptr);
        QCOMPARE(help->source(), QUrl::fromLocalFile(kHelp + "/index.html"));
        QCOMPARE(help->windowTitle(), QString("Vortak Help: Contents"));
        QVERIFY(help->toPlainText().contains("Your first truss in five minutes"));
        QCOMPARE(p.window->action("Contents")->shortcut(),
                 QKeySequence(QKeySequence::HelpContents));
        help->close();
    }

    // Every link and picture of every page leads somewhere: the file exists and, for a link
    // to a place in a page, that page has the anchor.
    void linksAndPicturesResolve_data() {
        QTest::addColumn<QString>("page");
        for (const QString& name : QDir(kHelp).entryList({"*.html"}, QDir::Files))
            QTest::newRow(qPrintable(name)) << name;
    }
    void linksAndPicturesResolve() {
        QFETCH(QString, page);
        const QString text = readPage(kHelp + "/" + page);
        QVERIFY(text.contains("<title>Vortak Help"));
        static const QRegularExpression reference("(?:href|src)=\"([^\"]+)\"");
        QStringList broken;
        for (const auto& match : reference.globalMatch(text)) {
            const QString target = match.captured(1);
            if (target.startsWith("http") || target.startsWith("mailto:")) continue;
            const QString file = target.section('#', 0, 0);
            const QString anchor = target.section('#', 1);
            const QString path = file.isEmpty() ? kHelp + "/" + page : kHelp + "/" + file;
            if (!QFileInfo::exists(path)) {
                broken << target;
            } else if (!anchor.isEmpty()) {
                const QString targetText = readPage(path);
                if (!targetText.contains("id=\"" + anchor + "\"") &&
                    !targetText.contains("name=\"" + anchor + "\""))
                    broken << target;
            }
        }
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(", ")));
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
