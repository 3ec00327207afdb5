#pragma once

// The pixel surface of the desktop program: the drawing area's picture, painted with
// QPainter on a QImage this surface owns. Centimetres become pixels through the image's
// DPI (px = cm * dpi / 2.54) and fonts are sized for that same DPI, so a picture made for
// a 300 dpi file has the proportions of the one on a 96 dpi screen. Lines and circles are
// antialiased, with line ends snapped so that horizontal and vertical lines cover whole
// pixels (the rule is beside snapLineEnd in qt_surface.cpp). Text needs a QGuiApplication
// (the font database comes with it).

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <QStaticText>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "graphics/surface.h"

namespace vortak {

// The colour of the desktop palette entry `index` (the classic palette numbering) in the
// application's current QPalette where the palette has a matching role, otherwise the
// classic default. Pass it to Surface::setSystemColours.
Colour desktopSystemColour(int index);

class QtSurface : public Surface {
public:
    explicit QtSurface(QSize pixels, double dotsPerInch = 96.0);
    ~QtSurface() override;
    // The painter points at the image member, so the surface stays where it was made.
    QtSurface(const QtSurface&) = delete;
    QtSurface& operator=(const QtSurface&) = delete;

    double widthCm() const override;
    double heightCm() const override;
    double dotsPerInch() const { return dpi_; }

    // Starts a fresh (white) picture of the new size at the same DPI.
    void resize(QSize pixels);

    // The picture painted so far. One painter stays active on the image for the surface's
    // lifetime; the raster engine writes straight into the image's pixels, so the
    // reference is always up to date. A copy of it is a snapshot (QImage copies the
    // pixels while a painter is active), unaffected by later painting. Draw it with
    // QPainter::drawImage or save it as it is; do not open a second painter on it.
    const QImage& image() const { return image_; }

protected:
    void paintRect(double x, double y, double width, double height, Colour rgb) override;
    void paintLine(double x1, double y1, double x2, double y2, Colour rgb, int widthPx) override;
    void paintCircle(double cx, double cy, double r, Colour outlineRgb, int widthPx,
                     std::optional<Colour> fillRgb) override;
    void paintText(double x, double y, std::string_view text, Colour rgb, double points,
                   bool bold) override;
    double lineHeightCm(double points, bool bold) const override;
    double textWidthCm(std::string_view text, double points, bool bold) const override;

private:
    // Lets the text cache be searched with a string_view without making a string.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    struct FontEntry {
        double points;
        bool bold;
        QFont font;
        QFontMetricsF metrics;
        // Laid-out labels in this font. A redraw repeats nearly all labels of the last
        // one, and drawing a laid-out text costs less than half of laying it out again.
        std::unordered_map<std::string, QStaticText, TextHash, std::equal_to<>> texts;
    };

    void beginPainting();
    double toPx(double cm) const { return cm * pxPerCm_; }
    int fontIndex(double points, bool bold) const;
    void usePen(Colour rgb, int widthPx);
    void useBrush(std::optional<Colour> fillRgb);
    // Sets columns left..right-1 of rows top..bottom-1 (clipped to the image) to `rgb`.
    void fillPixels(int left, int top, int right, int bottom, Colour rgb);

    double dpi_;
    double pxPerCm_;
    QImage image_;
    // Declared after the image: it is destroyed (and ends painting) first.
    QPainter painter_;

    // The painter's current pen, brush and font, so that unchanged state is not set again.
    Colour penRgb_ = 0;
    int penWidth_ = 0;  // 0: no pen set yet
    std::optional<Colour> brushRgb_;
    bool brushSet_ = false;
    int painterFont_ = -1;  // index into fonts_

    // A one-pixel image of the same DPI that fonts are measured on, so that metrics do not
    // depend on the picture (which is empty while the window has no size).
    QImage metricsDevice_;
    // Fonts and their metrics by (points, bold). A drawing uses a handful of sizes, so a
    // short list searched from the front beats hashing.
    mutable std::vector<FontEntry> fonts_;
};

}  // namespace vortak
