#include "graphics/surface.h"

namespace vortak {

Colour defaultSystemColour(int index) {
    // The classic desktop palette, by index.
    static constexpr Colour kPalette[] = {
        packColour(200, 200, 200),  //  0 scroll bar
        packColour(0, 128, 128),    //  1 desktop
        packColour(0, 0, 128),      //  2 active caption
        packColour(128, 128, 128),  //  3 inactive caption
        packColour(192, 192, 192),  //  4 menu
        packColour(255, 255, 255),  //  5 window
        packColour(0, 0, 0),        //  6 window frame
        packColour(0, 0, 0),        //  7 menu text
        packColour(0, 0, 0),        //  8 window text
        packColour(255, 255, 255),  //  9 caption text
        packColour(192, 192, 192),  // 10 active border
        packColour(192, 192, 192),  // 11 inactive border
        packColour(128, 128, 128),  // 12 application workspace
        packColour(0, 0, 128),      // 13 highlight
        packColour(255, 255, 255),  // 14 highlighted text
        packColour(192, 192, 192),  // 15 button face
        packColour(128, 128, 128),  // 16 button shadow
        packColour(128, 128, 128),  // 17 grey text
        packColour(0, 0, 0),        // 18 button text
        packColour(192, 192, 192),  // 19 inactive caption text
        packColour(255, 255, 255),  // 20 button highlight
        packColour(0, 0, 0),        // 21 3-D dark shadow
        packColour(223, 223, 223),  // 22 3-D light
        packColour(0, 0, 0),        // 23 tooltip text
        packColour(255, 255, 225),  // 24 tooltip background
    };
    if (index < 0 || index >= int(std::size(kPalette))) return packColour(255, 255, 255);
    return kPalette[index];
}

Colour Surface::rgb(Colour colour) const {
    if (!isSystemColour(colour)) return colour & 0xFFFFFFu;
    const int index = systemColourIndex(colour);
    return systemColours_ ? systemColours_(index) : defaultSystemColour(index);
}

void Surface::clear(Colour background) {
    backgroundRgb_ = rgb(background);
    paintRect(0, 0, widthCm(), heightCm(), backgroundRgb_);
    currentX_ = currentY_ = 0;
    textX_ = textY_ = 0;
}

void Surface::line(double x1, double y1, double x2, double y2) {
    paintLine(x1, y1, x2, y2, rgb(penColour_), penWidth_);
    currentX_ = x2;
    currentY_ = y2;
}

void Surface::lineBy(double dx, double dy) {
    line(currentX_, currentY_, currentX_ + dx, currentY_ + dy);
}

void Surface::circle(double cx, double cy, double r) {
    paintCircle(cx, cy, r, rgb(penColour_), penWidth_,
                fillOn_ ? std::optional<Colour>(rgb(fillColour_)) : std::nullopt);
}

void Surface::text(double x, double y, std::string_view text) {
    if (!text.empty()) paintText(x, y, text, rgb(penColour_), fontPoints_, fontBold_);
    textX_ = x;
    textY_ = y + lineHeight();
}

void Surface::textNextLine(std::string_view text) { this->text(textX_, textY_, text); }

double Surface::lineHeightCm(double points, bool /*bold*/) const {
    // A sans-serif face is about 1.16 em from line to line.
    return points * 1.16 / 72.0 * 2.54;
}

double Surface::textWidthCm(std::string_view text, double points, bool bold) const {
    // About 0.55 em per character (0.6 em bold): an estimate for surfaces without fonts.
    return double(text.size()) * points * (bold ? 0.6 : 0.55) / 72.0 * 2.54;
}

void OffsetSurface::paintRect(double x, double y, double width, double height, Colour rgb) {
    target_.paintRect(x + dx_, y + dy_, width, height, rgb);
}

void OffsetSurface::paintLine(double x1, double y1, double x2, double y2, Colour rgb,
                              int widthPx) {
    target_.paintLine(x1 + dx_, y1 + dy_, x2 + dx_, y2 + dy_, rgb, widthPx);
}

void OffsetSurface::paintCircle(double cx, double cy, double r, Colour outlineRgb, int widthPx,
                                std::optional<Colour> fillRgb) {
    target_.paintCircle(cx + dx_, cy + dy_, r, outlineRgb, widthPx, fillRgb);
}

void OffsetSurface::paintText(double x, double y, std::string_view text, Colour rgb,
                              double points, bool bold) {
    target_.backgroundRgb_ = backgroundRgb();
    target_.paintText(x + dx_, y + dy_, text, rgb, points, bold);
}

double OffsetSurface::lineHeightCm(double points, bool bold) const {
    return target_.lineHeightCm(points, bold);
}

double OffsetSurface::textWidthCm(std::string_view text, double points, bool bold) const {
    return target_.textWidthCm(text, points, bold);
}

}  // namespace vortak
