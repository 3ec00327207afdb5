#pragma once

// The drawing primitives every picture of the program is made of. Positions and lengths
// are centimetres of the drawing area, X to the right and Y down from the top-left corner;
// pen widths are pixels. Model and result drawings are written once against this
// interface; the screen, bitmap files, SVG files and tests each provide a Surface.
//
// The drawing state (pen, fill, font, the current point of relative lines and the next
// text position) lives here; a concrete surface only paints resolved RGB colours.

#include <functional>
#include <iterator>
#include <optional>
#include <string_view>

#include "base/colour.h"

namespace vortak {

// The RGB colour of a desktop palette entry, for colour values with the high bit set.
// Without a desktop the classic defaults are used (index 14, highlighted text, is white).
Colour defaultSystemColour(int index);

class Surface {
public:
    virtual ~Surface() = default;

    // The size of the drawing area in centimetres.
    virtual double widthCm() const = 0;
    virtual double heightCm() const = 0;

    // --- State ---------------------------------------------------------------------------
    void setPenColour(Colour colour) { penColour_ = colour; }
    void setPenWidth(int pixels) { penWidth_ = pixels < 1 ? 1 : pixels; }
    void setPen(Colour colour, int pixels) {
        setPenColour(colour);
        setPenWidth(pixels);
    }
    void setFillColour(Colour colour) { fillColour_ = colour; }
    void setFillOn(bool on) { fillOn_ = on; }
    void setFont(double points, bool bold = false) {
        fontPoints_ = points;
        fontBold_ = bold;
    }
    int penWidth() const { return penWidth_; }

    // How system colours (high bit set) turn into RGB; the desktop program passes its
    // palette.
    void setSystemColours(std::function<Colour(int)> resolve) { systemColours_ = std::move(resolve); }
    Colour rgb(Colour colour) const;

    // --- Drawing -------------------------------------------------------------------------
    // Fills the whole area with `background`.
    void clear(Colour background);
    // A straight line in the pen colour and width; its end becomes the current point.
    void line(double x1, double y1, double x2, double y2);
    // A line from the current point by (dx, dy).
    void lineBy(double dx, double dy);
    void moveTo(double x, double y) {
        currentX_ = x;
        currentY_ = y;
    }
    // A circle outlined in the pen colour, filled with the fill colour when fill is on.
    void circle(double cx, double cy, double r);
    // Text in the pen colour with its top-left corner at (x, y); the next text position
    // becomes the start of the following line (same x, one line height lower).
    void text(double x, double y, std::string_view text);
    // Text at the next text position.
    void textNextLine(std::string_view text);
    // The line height of the current font, in centimetres.
    double lineHeight() const { return lineHeightCm(fontPoints_, fontBold_); }
    double textWidth(std::string_view text) const {
        return textWidthCm(text, fontPoints_, fontBold_);
    }

protected:
    friend class OffsetSurface;

    // The colour of the last clear: labels are drawn with a thin rim of it so that they
    // stay legible where they cross lines of the drawing.
    Colour backgroundRgb() const { return backgroundRgb_; }

    // A filled rectangle without outline (the background of the area or a part of it).
    virtual void paintRect(double x, double y, double width, double height, Colour rgb) = 0;
    virtual void paintLine(double x1, double y1, double x2, double y2, Colour rgb,
                           int widthPx) = 0;
    virtual void paintCircle(double cx, double cy, double r, Colour outlineRgb, int widthPx,
                             std::optional<Colour> fillRgb) = 0;
    virtual void paintText(double x, double y, std::string_view text, Colour rgb,
                           double points, bool bold) = 0;
    // Font metrics in centimetres. The defaults suit a plain sans-serif face; surfaces with
    // real fonts measure them.
    virtual double lineHeightCm(double points, bool bold) const;
    virtual double textWidthCm(std::string_view text, double points, bool bold) const;

private:
    Colour penColour_ = 0;
    int penWidth_ = 1;
    Colour fillColour_ = 0xFFFFFF;
    bool fillOn_ = false;
    double fontPoints_ = 8;
    bool fontBold_ = false;
    double currentX_ = 0, currentY_ = 0;
    double textX_ = 0, textY_ = 0;
    Colour backgroundRgb_ = 0xFFFFFF;
    std::function<Colour(int)> systemColours_;
};

// Draws onto another surface with all positions shifted by (dx, dy): a picture placed
// inside a larger one, such as the colour legend inside an exported drawing.
class OffsetSurface : public Surface {
public:
    OffsetSurface(Surface& target, double dx, double dy, double width, double height)
        : target_(target), dx_(dx), dy_(dy), width_(width), height_(height) {}
    double widthCm() const override { return width_; }
    double heightCm() const override { return height_; }

protected:
    void paintRect(double x, double y, double width, double height, Colour rgb) override;
    void paintLine(double x1, double y1, double x2, double y2, Colour rgb,
                   int widthPx) override;
    void paintCircle(double cx, double cy, double r, Colour outlineRgb, int widthPx,
                     std::optional<Colour> fillRgb) override;
    void paintText(double x, double y, std::string_view text, Colour rgb, double points,
                   bool bold) override;
    double lineHeightCm(double points, bool bold) const override;
    double textWidthCm(std::string_view text, double points, bool bold) const override;

private:
    Surface& target_;
    double dx_, dy_, width_, height_;
};

}  // namespace vortak
