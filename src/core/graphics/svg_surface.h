#pragma once

// A surface that writes a standalone SVG document measured in centimetres: vector pictures
// of the drawings for reports.

#include <string>

#include "graphics/surface.h"

namespace vortak {

class SvgSurface : public Surface {
public:
    // `pixelsPerInch` converts pen widths (pixels) to centimetres.
    SvgSurface(double widthCm, double heightCm, double pixelsPerInch = 96.0);
    double widthCm() const override { return width_; }
    double heightCm() const override { return height_; }

    // The complete document.
    std::string document() const;

protected:
    void paintRect(double x, double y, double w, double h, Colour rgb) override;
    void paintLine(double x1, double y1, double x2, double y2, Colour rgb, int widthPx) override;
    void paintCircle(double cx, double cy, double r, Colour outlineRgb, int widthPx,
                     std::optional<Colour> fillRgb) override;
    void paintText(double x, double y, std::string_view text, Colour rgb, double points,
                   bool bold) override;

private:
    double strokeWidth(int widthPx) const { return widthPx * 2.54 / pixelsPerInch_; }

    double width_, height_, pixelsPerInch_;
    std::string body_;
};

}  // namespace vortak
