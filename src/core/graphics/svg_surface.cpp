#include "graphics/svg_surface.h"

#include <cstdio>

namespace vortak {

namespace {

// Coordinates in centimetres with 4 decimals (a micrometre) are plenty.
std::string num(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4f", v);
    std::string text(buffer);
    for (char& c : text) {
        if (c == ',') c = '.';  // whatever the numeric locale
    }
    while (text.find('.') != std::string::npos && (text.back() == '0' || text.back() == '.')) {
        const bool point = text.back() == '.';
        text.pop_back();
        if (point) break;
    }
    if (text == "-0") text = "0";
    return text;
}

std::string hex(Colour rgb) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", redOf(rgb), greenOf(rgb), blueOf(rgb));
    return buffer;
}

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

SvgSurface::SvgSurface(double widthCm, double heightCm, double pixelsPerInch)
    : width_(widthCm), height_(heightCm), pixelsPerInch_(pixelsPerInch) {}

void SvgSurface::paintRect(double x, double y, double w, double h, Colour rgb) {
    body_ += "<rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" + num(w) +
             "\" height=\"" + num(h) + "\" fill=\"" + hex(rgb) + "\"/>\n";
}

void SvgSurface::paintLine(double x1, double y1, double x2, double y2, Colour rgb, int widthPx) {
    body_ += "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" +
             num(y2) + "\" stroke=\"" + hex(rgb) + "\" stroke-width=\"" +
             num(strokeWidth(widthPx)) + "\"/>\n";
}

void SvgSurface::paintCircle(double cx, double cy, double r, Colour outlineRgb, int widthPx,
                             std::optional<Colour> fillRgb) {
    body_ += "<circle cx=\"" + num(cx) + "\" cy=\"" + num(cy) + "\" r=\"" + num(r) +
             "\" stroke=\"" + hex(outlineRgb) + "\" stroke-width=\"" +
             num(strokeWidth(widthPx)) + "\" fill=\"" + (fillRgb ? hex(*fillRgb) : "none") +
             "\"/>\n";
}

void SvgSurface::paintText(double x, double y, std::string_view text, Colour rgb, double points,
                           bool bold) {
    // The position is the top-left corner of the text's line; SVG places the baseline.
    const double size = points / 72.0 * 2.54;
    const double baseline = y + 0.93 * size;
    body_ += "<text x=\"" + num(x) + "\" y=\"" + num(baseline) + "\" font-size=\"" + num(size) +
             "\"" + (bold ? " font-weight=\"bold\"" : "") + " fill=\"" + hex(rgb) +
             "\" stroke=\"" + hex(backgroundRgb()) + "\" stroke-width=\"" + num(strokeWidth(2)) +
             "\" paint-order=\"stroke\" xml:space=\"preserve\">" + escaped(text) + "</text>\n";
}

std::string SvgSurface::document() const {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           num(width_) + "cm\" height=\"" + num(height_) + "cm\" viewBox=\"0 0 " + num(width_) +
           " " + num(height_) +
           "\" font-family=\"DejaVu Sans, Verdana, sans-serif\" stroke-linecap=\"round\">\n" +
           body_ + "</svg>\n";
}

}  // namespace vortak
