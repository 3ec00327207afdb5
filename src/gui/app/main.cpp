#include <QApplication>
#include <QSocketNotifier>
#include <QStringList>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/gui_prompter.h"
#include "app/main_window.h"
#include "app/recovery.h"
#include "settings/qsettings_store.h"

namespace {

// A termination request (the desktop session ending, kill) closes the window the normal
// way: unsaved work is asked about and the window placement is stored.
int terminationPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(terminationPipe[0], &byte, 1);
}

void closeOnTermination(QMainWindow& window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, terminationPipe) != 0) return;
    auto* notifier = new QSocketNotifier(terminationPipe[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(terminationPipe[1], &byte, 1);
        window.close();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Vortak");
    QApplication::setOrganizationName("Vortak");
    QApplication::setApplicationVersion(VORTAK_VERSION);

    vortak::QSettingsStore store;
    vortak::GuiPrompter prompter;
    vortak::GuiShell shell;
    vortak::AppState app(prompter, shell);
    // Unsaved work is kept in the user's state folder while the program runs; start-up
    // offers what a crashed run left there.
    vortak::RecoveryFolder recoveryFiles(vortak::recoveryFolder());
    vortak::RecoveryKeeper recovery(recoveryFiles);
    app.recovery = &recovery;

    // The whole command line is the path of a model to open.
    QStringList words = QApplication::arguments();
    words.removeFirst();
    vortak::startUp(app, store, words.join(' ').toStdString());

    vortak::MainWindow window(app, store);
    prompter.setParent(&window);
    shell.setWindow(&window);
    closeOnTermination(window);
    window.restorePlacement();
    window.show();
    window.redrawView();
    const int status = QApplication::exec();
    shell.setWindow(nullptr);
    return status;
}
