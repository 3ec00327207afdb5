// The raster picture module of the command-line tool: the program's own Qt drawing, loaded
// on demand. It rebuilds the state from the model text it is given (analysing again for a
// result view, which costs microseconds) and paints it exactly as the tool's SVG path does.

#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

#include "app/analysis_run.h"
#include "app/app_state.h"
#include "app/file_commands.h"
#include "app/shell.h"
#include "cli_session.h"
#include "graphics/image_file.h"
#include "graphics/qt_surface.h"
#include "picture.h"
#include "raster.h"

namespace {

using namespace vortak;

void fail(char* error, std::size_t size, const std::string& text) {
    if (size == 0) return;
    std::snprintf(error, size, "%s", text.c_str());
}

// Pictures need fonts, which come with a GUI application; no window is shown.
void ensureApplication() {
    if (QGuiApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The toolkit's own notes about the session (no runtime folder and the like) are no
    // business of a command-line user; real failures are reported by the caller.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        }
    });
    static int argc = 1;
    static char name[] = "vortak-cli";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int vortak_raster_picture(
    const char* modelText, std::size_t length, int view, int width, int height, const char* format,
    const char* output, char* error, std::size_t errorSize) {
    ensureApplication();
    CliPrompter prompter;  // keeps the model as it is, as the tool did before
    Shell shell;
    auto app = std::make_unique<AppState>(prompter, shell);
    if (ReadModelText(*app, "", std::string_view(modelText, length)) != FileOutcome::Done) {
        fail(error, errorSize, "the model could not be passed to the picture module");
        return 1;
    }
    app->currentView = static_cast<ViewMode>(view);
    if (app->currentView != ViewMode::Model) Button_Epilisi(*app);
    if (app->model.analysisFailed) {
        fail(error, errorSize, "the analysis failed in the picture module");
        return 2;
    }
    app->currentView = static_cast<ViewMode>(view);
    QtSurface surface(QSize(width, height), kPictureDotsPerInch);
    drawPicture(*app, surface);
    // Like the tool's other outputs: never half written, but not flushed to disk each time.
    if (const auto problem = saveImageFile(surface.image(), output, format, false)) {
        fail(error, errorSize, "There was an error saving the file: " + *problem);
        return 1;
    }
    return 0;
}
