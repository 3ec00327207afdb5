#pragma once

// A surface that remembers every primitive painted on it, for checking drawings exactly.

#include <string>
#include <vector>

#include "graphics/surface.h"

namespace vortak {

class RecordingSurface : public Surface {
public:
    enum class Kind { Rect, Line, Circle, Text };
    struct Op {
        Kind kind;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // rect: x, y, width, height; circle: x, y, r
        Colour colour = 0;                       // line, text, rect and circle outline
        int width = 1;
        bool filled = false;
        Colour fill = 0;
        std::string text;
        double points = 0;
        bool bold = false;
    };

    RecordingSurface(double widthCm, double heightCm) : width_(widthCm), height_(heightCm) {}
    double widthCm() const override { return width_; }
    double heightCm() const override { return height_; }

    std::vector<Op> ops;

    std::vector<Op> of(Kind kind) const {
        std::vector<Op> found;
        for (const Op& op : ops) {
            if (op.kind == kind) found.push_back(op);
        }
        return found;
    }
    // The first text op with exactly this text, or nullptr.
    const Op* findText(const std::string& text) const {
        for (const Op& op : ops) {
            if (op.kind == Kind::Text && op.text == text) return &op;
        }
        return nullptr;
    }

protected:
    void paintRect(double x, double y, double w, double h, Colour rgb) override {
        ops.push_back({Kind::Rect, x, y, w, h, rgb, 1, true, rgb, {}, 0, false});
    }
    void paintLine(double x1, double y1, double x2, double y2, Colour rgb, int w) override {
        ops.push_back({Kind::Line, x1, y1, x2, y2, rgb, w, false, 0, {}, 0, false});
    }
    void paintCircle(double cx, double cy, double r, Colour rgb, int w,
                     std::optional<Colour> fill) override {
        ops.push_back({Kind::Circle, cx, cy, r, 0, rgb, w, fill.has_value(), fill.value_or(0),
                       {}, 0, false});
    }
    void paintText(double x, double y, std::string_view text, Colour rgb, double points,
                   bool bold) override {
        ops.push_back({Kind::Text, x, y, 0, 0, rgb, 1, false, 0, std::string(text), points, bold});
    }

private:
    double width_, height_;
};

}  // namespace vortak
