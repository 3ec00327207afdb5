#include "render.h"

#include <QGuiApplication>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <memory>
#include <ostream>

#include "app/redraw.h"
#include "base/file_io.h"
#include "cli.h"
#include "cli_session.h"
#include "graphics/drawing.h"
#include "graphics/image_file.h"
#include "graphics/qt_surface.h"
#include "graphics/result_drawing.h"
#include "graphics/svg_surface.h"

namespace vortak {

namespace {

constexpr double kDotsPerInch = 96.0;
constexpr double kLegendMargin = 0.3;  // cm between the colour legend and the edges

std::string lowerCase(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The picture of the chosen view on `surface`, with the colour legend at the top right
// of the colour diagram (on screen it is a box of its own beside the drawing).
void draw(AppState& app, Surface& surface) {
    redraw(app, surface);
    if (app.currentView == ViewMode::Colour) {
        const DrawingInput in{app.model, app.settings, app.view};
        drawColourLegendWithLabels(
            in, surface, surface.widthCm() - kColourLegendWidth - kLegendMargin, kLegendMargin);
    }
}

// Fits the whole truss into the picture, leaving the legend's strip free in the colour
// diagram; false when no scale shows it whole.
bool fitView(AppState& app, double widthCm, double heightCm) {
    const double legend =
        app.currentView == ViewMode::Colour ? kColourLegendWidth + kLegendMargin : 0.0;
    app.view.SW = widthCm - legend;
    app.view.SH = heightCm;
    const bool fitted = app.view.zoomExtents(app.model);
    app.view.SW = widthCm;
    app.view.pushView();
    return fitted;
}

}  // namespace

PictureFormat pictureFormat(const std::string& path) {
    const std::string lower = lowerCase(path);
    const auto endsWith = [&lower](const char* suffix) {
        const std::string s(suffix);
        return lower.size() > s.size() && lower.compare(lower.size() - s.size(), s.size(), s) == 0;
    };
    if (endsWith(".svg")) return PictureFormat::Svg;
    if (endsWith(".png")) return PictureFormat::Png;
    if (endsWith(".bmp")) return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

bool parseView(const std::string& text, ViewMode& view) {
    const std::string lower = lowerCase(text);
    if (lower == "model") {
        view = ViewMode::Model;
    } else if (lower == "n") {
        view = ViewMode::NDiagram;
    } else if (lower == "colour" || lower == "color") {
        view = ViewMode::Colour;
    } else if (lower == "deformed") {
        view = ViewMode::Deformed;
    } else {
        return false;
    }
    return true;
}

bool parseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    int w = 0, h = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    const auto first = std::from_chars(begin, begin + x, w);
    const auto second = std::from_chars(begin + x + 1, end, h);
    if (first.ec != std::errc() || first.ptr != begin + x || second.ec != std::errc() ||
        second.ptr != end) {
        return false;
    }
    if (w < 16 || h < 16 || w > 16000 || h > 16000) return false;
    width = w;
    height = h;
    return true;
}

int runRender(const RenderOptions& options, std::ostream& errStream) {
    CliSession session(errStream);
    AppState& app = session.app();
    const bool results = options.view != ViewMode::Model;
    if (const int status = session.load(options.model, results); status != kExitOk) {
        return status;
    }
    app.currentView = options.view;
    const double widthCm = options.width / kDotsPerInch * 2.54;
    const double heightCm = options.height / kDotsPerInch * 2.54;
    if (!options.keepView && !fitView(app, widthCm, heightCm)) {
        // A picture of part of the truss would pass for the whole of it.
        session.err() << "vortak-cli: the truss is too large to be shown whole in a picture of "
                      << options.width << "x" << options.height << " pixels\n";
        return kExitFileError;
    }

    std::optional<std::string> error;
    if (pictureFormat(options.output) == PictureFormat::Svg) {
        SvgSurface svg(widthCm, heightCm, kDotsPerInch);
        draw(app, svg);
        error = writeFileAtomically(options.output, svg.document());
    } else {
        // Pictures need fonts, which come with a GUI application; no window is shown.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // The toolkit's own notes about the session (no runtime folder and the like) are
        // no business of a command-line user; real failures are reported below.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
            }
        });
        static int argc = 1;
        static char name[] = "vortak-cli";
        static char* argv[] = {name, nullptr};
        std::unique_ptr<QGuiApplication> gui;
        if (QGuiApplication::instance() == nullptr) {
            gui = std::make_unique<QGuiApplication>(argc, argv);
        }
        QtSurface surface(QSize(options.width, options.height), kDotsPerInch);
        draw(app, surface);
        const bool png = pictureFormat(options.output) == PictureFormat::Png;
        error = saveImageFile(surface.image(), options.output, png ? "PNG" : "BMP");
    }
    if (error) {
        session.err() << "There was an error saving the file: " << *error << '\n';
        return kExitFileError;
    }
    return kExitOk;
}

}  // namespace vortak
