#include "picture.h"

#include <cctype>
#include <charconv>

#include "app/app_state.h"
#include "app/redraw.h"
#include "graphics/result_drawing.h"
#include "graphics/surface.h"

namespace vortak {

namespace {

constexpr double kLegendMargin = 0.3;  // cm between the colour legend and the edges

std::string lowerCase(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

double centimetres(int pixels) { return pixels / kPictureDotsPerInch * 2.54; }

}  // namespace

PictureFormat pictureFormat(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || dot == 0 || (slash != std::string::npos && dot < slash + 2)) {
        return PictureFormat::Unknown;
    }
    return pictureFormatNamed(path.substr(dot + 1));
}

PictureFormat pictureFormatNamed(const std::string& name) {
    const std::string lower = lowerCase(name);
    if (lower == "svg") return PictureFormat::Svg;
    if (lower == "png") return PictureFormat::Png;
    if (lower == "bmp") return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

const char* pictureExtension(PictureFormat format) {
    switch (format) {
        case PictureFormat::Png:
            return ".png";
        case PictureFormat::Bmp:
            return ".bmp";
        case PictureFormat::Svg:
        case PictureFormat::Unknown:
            break;
    }
    return ".svg";
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

bool fitPicture(AppState& app, int width, int height, bool keepView) {
    const double widthCm = centimetres(width);
    app.view.SW = widthCm;
    app.view.SH = centimetres(height);
    if (keepView) return true;
    const double legend =
        app.currentView == ViewMode::Colour ? kColourLegendWidth + kLegendMargin : 0.0;
    app.view.SW = widthCm - legend;
    const bool fitted = app.view.zoomExtents(app.model);
    app.view.SW = widthCm;
    app.view.pushView();
    return fitted;
}

void drawPicture(AppState& app, Surface& surface) {
    redraw(app, surface);
    if (app.currentView == ViewMode::Colour) {
        const DrawingInput in{app.model, app.settings, app.view};
        drawColourLegendWithLabels(
            in, surface, surface.widthCm() - kColourLegendWidth - kLegendMargin, kLegendMargin);
    }
}

}  // namespace vortak
