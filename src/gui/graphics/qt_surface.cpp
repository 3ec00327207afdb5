#include "graphics/qt_surface.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace vortak {

namespace {

constexpr double kCmPerInch = 2.54;
constexpr double kMetresPerInch = 0.0254;
// Positions that should name a pixel boundary exactly often arrive a rounding error short
// of it (0.57 cm at 254 dpi comes out as 56.99999999999999 px); this nudge keeps them on
// the pixel they mean.
constexpr double kSnapTolerance = 1e-6;
// Laid-out labels kept per font; a model's drawing has well under a thousand.
constexpr std::size_t kMaxCachedTexts = 4096;
// Rectangles up to this many pixels wide are filled row by row here; wider ones by the
// raster engine, whose long-row fill is much faster than a plain loop.
constexpr int kNarrowFill = 8;

QColor qtColour(Colour rgb) { return QColor(redOf(rgb), greenOf(rgb), blueOf(rgb)); }

Colour fromQt(const QColor& c) { return packColour(c.red(), c.green(), c.blue()); }

// Qt keeps the resolution in whole dots per metre and hands fonts whole dots per inch.
void setDpi(QImage& image, double dpi) {
    const int dotsPerMetre = qRound(dpi / kMetresPerInch);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
}

bool finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

// Pixel alignment of lines. Pixel (i, j) covers the square [i, i+1) x [j, j+1) of the
// painter's coordinates, so a pen of odd width centred on a pixel centre, or of even width
// centred on a pixel corner, has its long edges on pixel boundaries and paints whole
// pixels. Each end of a line is moved to the nearest such place: for odd widths the centre
// of the pixel containing the point, for even widths the nearest pixel corner. A 1 px line
// through a point therefore colours exactly the pixel row or column containing it, a 3 px
// line that one and one either side, a 4 px line two either side of the nearest boundary,
// all at full strength instead of as a half-tone smear over one more row. Both ends of
// every line are snapped by the same rule, so lines meeting at a node still meet.
double snapLineEnd(double px, int widthPx) {
    if (widthPx % 2 != 0) return std::floor(px + kSnapTolerance) + 0.5;
    return std::floor(px + 0.5 + kSnapTolerance);
}

}  // namespace

Colour desktopSystemColour(int index) {
    struct Entry {
        int index;
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    };
    static constexpr Entry kRoles[] = {
        {4, QPalette::Active, QPalette::Window},            // menu
        {5, QPalette::Active, QPalette::Base},              // window
        {7, QPalette::Active, QPalette::WindowText},        // menu text
        {8, QPalette::Active, QPalette::Text},              // window text
        {13, QPalette::Active, QPalette::Highlight},        // highlight
        {14, QPalette::Active, QPalette::HighlightedText},  // highlighted text
        {15, QPalette::Active, QPalette::Button},           // button face
        {16, QPalette::Active, QPalette::Dark},             // button shadow
        {17, QPalette::Disabled, QPalette::Text},           // grey text
        {18, QPalette::Active, QPalette::ButtonText},       // button text
        {20, QPalette::Active, QPalette::Light},            // button highlight
        {21, QPalette::Active, QPalette::Shadow},           // 3-D dark shadow
        {22, QPalette::Active, QPalette::Midlight},         // 3-D light
        {23, QPalette::Active, QPalette::ToolTipText},      // tooltip text
        {24, QPalette::Active, QPalette::ToolTipBase},      // tooltip background
    };
    if (qGuiApp) {
        for (const Entry& e : kRoles) {
            if (e.index == index) return fromQt(QGuiApplication::palette().color(e.group, e.role));
        }
    }
    return defaultSystemColour(index);
}

QtSurface::QtSurface(QSize pixels, double dotsPerInch)
    : dpi_(std::isfinite(dotsPerInch) && dotsPerInch > 0 ? dotsPerInch : 96.0),
      pxPerCm_(dpi_ / kCmPerInch),
      metricsDevice_(1, 1, QImage::Format_RGB32) {
    setDpi(metricsDevice_, dpi_);
    resize(pixels);
}

QtSurface::~QtSurface() {
    if (painter_.isActive()) painter_.end();
}

double QtSurface::widthCm() const { return image_.width() / pxPerCm_; }
double QtSurface::heightCm() const { return image_.height() / pxPerCm_; }

void QtSurface::resize(QSize pixels) {
    if (painter_.isActive()) painter_.end();
    image_ = QImage(pixels.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    // A window shrunk to nothing has no picture; painting is then skipped.
    if (image_.isNull()) return;
    setDpi(image_, dpi_);
    image_.fill(Qt::white);
    beginPainting();
}

void QtSurface::beginPainting() {
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    penWidth_ = 0;
    brushSet_ = false;
    painterFont_ = -1;
}

void QtSurface::usePen(Colour rgb, int widthPx) {
    if (widthPx == penWidth_ && rgb == penRgb_) return;
    // Square caps: a line covers its ends by half its width, so with the ends snapped as
    // above a horizontal or vertical line of any width covers whole pixels up to and
    // including its end pixels (a 1 px line from pixel a to pixel b colours a..b). Bars
    // meeting at a joint at different angles overlap there instead of leaving the notch of
    // flat caps, and their corners stay within w/sqrt(2) of the joint, under the node
    // circle. Round caps would look the same at these widths but cost about eight times as
    // much to rasterize.
    painter_.setPen(QPen(qtColour(rgb), widthPx, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    penRgb_ = rgb;
    penWidth_ = widthPx;
}

void QtSurface::useBrush(std::optional<Colour> fillRgb) {
    if (brushSet_ && fillRgb == brushRgb_) return;
    if (fillRgb)
        painter_.setBrush(qtColour(*fillRgb));
    else
        painter_.setBrush(Qt::NoBrush);
    brushRgb_ = fillRgb;
    brushSet_ = true;
}

void QtSurface::fillPixels(int left, int top, int right, int bottom, Colour rgb) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image_.width());
    bottom = std::min(bottom, image_.height());
    if (right <= left || bottom <= top) return;
    const QRgb value = qRgb(redOf(rgb), greenOf(rgb), blueOf(rgb));
    if (right - left > kNarrowFill) {
        painter_.fillRect(QRect(left, top, right - left, bottom - top), QColor::fromRgb(value));
        return;
    }
    // Narrow rectangles (vertical lines) are written straight into the image: the raster
    // engine fills them span by span at about ten times the cost. The painter draws into
    // these same pixels (it holds no buffer of its own, and copies of the image are deep
    // while it is active), so the result is exactly that of its opaque fill.
    uchar* const bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    for (int y = top; y < bottom; ++y) {
        QRgb* const row = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(row + left, row + right, value);
    }
}

void QtSurface::paintRect(double x, double y, double width, double height, Colour rgb) {
    if (!painter_.isActive() || !finite(x, y) || !finite(width, height)) return;
    // Whole pixels only: the nearest pixel boundaries of each edge, so that rectangles
    // sharing an edge neither overlap nor leave a half-tone seam, and the background of
    // the whole area covers its last row and column.
    auto edge = [this](double cm, int limit) {
        const double px = std::clamp(toPx(cm), -1.0, double(limit) + 1.0);
        return int(std::floor(px + 0.5 + kSnapTolerance));
    };
    fillPixels(edge(x, image_.width()), edge(y, image_.height()), edge(x + width, image_.width()),
               edge(y + height, image_.height()), rgb);
}

void QtSurface::paintLine(double x1, double y1, double x2, double y2, Colour rgb, int widthPx) {
    if (!painter_.isActive() || !finite(x1, y1) || !finite(x2, y2)) return;
    widthPx = std::max(widthPx, 1);
    const QPointF p(snapLineEnd(toPx(x1), widthPx), snapLineEnd(toPx(y1), widthPx));
    const QPointF q(snapLineEnd(toPx(x2), widthPx), snapLineEnd(toPx(y2), widthPx));
    if (p.x() == q.x() || p.y() == q.y()) {
        // Horizontal and vertical lines (chords, verticals, grid lines) cover whole pixels,
        // square caps included: the rectangle is exact and filling it is far cheaper
        // than stroking.
        const double half = widthPx / 2.0;
        auto pixel = [](double px, int limit) {
            return int(std::lround(std::clamp(px, -1.0, double(limit) + 1.0)));
        };
        fillPixels(pixel(std::min(p.x(), q.x()) - half, image_.width()),
                   pixel(std::min(p.y(), q.y()) - half, image_.height()),
                   pixel(std::max(p.x(), q.x()) + half, image_.width()),
                   pixel(std::max(p.y(), q.y()) + half, image_.height()), rgb);
        return;
    }
    usePen(rgb, widthPx);
    painter_.drawLine(p, q);
}

void QtSurface::paintCircle(double cx, double cy, double r, Colour outlineRgb, int widthPx,
                            std::optional<Colour> fillRgb) {
    if (!painter_.isActive() || !finite(cx, cy) || !std::isfinite(r)) return;
    widthPx = std::max(widthPx, 1);
    // Centred like the end of a 1 px line, so a node circle sits evenly on the thin lines
    // that meet at the node.
    const QPointF centre(snapLineEnd(toPx(cx), 1), snapLineEnd(toPx(cy), 1));
    const double radius = std::abs(toPx(r));
    const double reach = radius + widthPx;
    if (centre.x() + reach < 0 || centre.y() + reach < 0 || centre.x() - reach > image_.width() ||
        centre.y() - reach > image_.height()) {
        return;
    }
    usePen(outlineRgb, widthPx);
    useBrush(fillRgb);
    painter_.drawEllipse(centre, radius, radius);
}

int QtSurface::fontIndex(double points, bool bold) const {
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i].points == points && fonts_[i].bold == bold) return int(i);
    }
    QFont font(QGuiApplication::font().family());
    font.setPointSizeF(std::max(points, 1.0));
    font.setBold(bold);
    // Metrics for this image's DPI, not the screen's: the picture may be a 300 dpi file.
    fonts_.push_back(FontEntry{points, bold, font, QFontMetricsF(font, &metricsDevice_), {}});
    return int(fonts_.size() - 1);
}

void QtSurface::paintText(double x, double y, std::string_view text, Colour rgb, double points,
                          bool bold) {
    if (!painter_.isActive() || !finite(x, y)) return;
    const int index = fontIndex(points, bold);
    FontEntry& entry = fonts_[std::size_t(index)];
    // (x, y) is the top of the line box; the baseline lies one ascent lower. Both are put
    // on whole pixels so that every label's glyphs are rendered alike and sharp.
    const double left = std::round(toPx(x));
    const double baseline = std::round(toPx(y) + entry.metrics.ascent());
    const double top = baseline - entry.metrics.ascent();
    if (left > image_.width() || top > image_.height() || baseline + entry.metrics.descent() < 0) {
        return;
    }
    if (painterFont_ != index) {
        painter_.setFont(entry.font);
        painterFont_ = index;
    }
    auto found = entry.texts.find(text);
    if (found == entry.texts.end()) {
        // Bounded: labels that change on every frame (an animation) must not pile up.
        if (entry.texts.size() >= kMaxCachedTexts) entry.texts.clear();
        QStaticText laidOut(QString::fromUtf8(text.data(), qsizetype(text.size())));
        laidOut.setTextFormat(Qt::PlainText);
        found = entry.texts.emplace(std::string(text), std::move(laidOut)).first;
    }
    // drawStaticText takes the top of the font's ascent, not the baseline. A one-pixel rim
    // in the background colour keeps labels legible where they cross members and symbols.
    const int width = penWidth_ > 0 ? penWidth_ : 1;
    if (backgroundRgb() != rgb) {
        usePen(backgroundRgb(), width);
        for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
            painter_.drawStaticText(QPointF(left + dx, top + dy), found->second);
        }
    }
    usePen(rgb, width);
    painter_.drawStaticText(QPointF(left, top), found->second);
}

double QtSurface::lineHeightCm(double points, bool bold) const {
    return fonts_[std::size_t(fontIndex(points, bold))].metrics.lineSpacing() / pxPerCm_;
}

double QtSurface::textWidthCm(std::string_view text, double points, bool bold) const {
    const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return fonts_[std::size_t(fontIndex(points, bold))].metrics.horizontalAdvance(s) / pxPerCm_;
}

}  // namespace vortak
