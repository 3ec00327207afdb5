#include <QApplication>
#include <QSocketNotifier>
#include <QStringList>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstring>

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

constexpr const char* kUsage =
    "Usage: vortak [FILE]\n"
    "       vortak --help | --version\n"
    "\n"
    "Opens the plane truss model FILE (a .vok file) in the Vortak window, or an empty model.\n"
    "Every word after the program's name is part of the file name: a path with spaces\n"
    "needs no quotes. For reports and pictures without a window, see vortak-cli(1).\n";

// --help and --version are answered before any window-system connection is made, so that
// they work in a terminal without a display.
bool answeredWithoutWindow(int argc, char** argv, int& status) {
    if (argc != 2) return false;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("vortak %s\n", VORTAK_VERSION);
    } else if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, stdout);
    } else {
        return false;
    }
    status = std::fflush(stdout) == 0 ? 0 : 1;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (int status = 0; answeredWithoutWindow(argc, argv, status)) return status;
    QApplication application(argc, argv);
    QApplication::setApplicationName("Vortak");
    QApplication::setOrganizationName("Vortak");
    QApplication::setApplicationVersion(VORTAK_VERSION);
    // Ties the windows to the installed desktop entry (its icon and name in docks).
    QGuiApplication::setDesktopFileName(VORTAK_APP_ID);

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
