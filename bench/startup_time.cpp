// Time from the start of main() (toolkit start-up included) to the first paint of the
// drawing area with an example model, as the program starts: settings, log lines, model
// file, main window, first full redraw. Prints milliseconds; run it several times.
//   build/bench/startup_time examples/pratt-bridge.vok

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <cstdio>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/drawing_area.h"
#include "app/gui_prompter.h"
#include "app/main_window.h"
#include "settings/qsettings_store.h"

namespace {

class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QElapsedTimer& clock) : clock_(clock) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            std::printf("first paint after %.1f ms\n", clock_.nsecsElapsed() / 1e6);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }

private:
    const QElapsedTimer& clock_;
    bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    vortak::QSettingsStore store;
    vortak::GuiPrompter prompter;
    vortak::GuiShell shell;
    vortak::AppState app(prompter, shell);
    vortak::startUp(app, store, argc > 1 ? argv[1] : "");
    vortak::MainWindow window(app, store);
    shell.setWindow(&window);
    FirstPaint probe(clock);
    window.drawingArea()->installEventFilter(&probe);
    window.resize(1280, 800);
    window.show();
    window.redrawView();
    return QApplication::exec();
}
